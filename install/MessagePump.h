// The install loops run inside a click; emptying the queue after each file keeps the window
// painted and its Cancel button working.
#pragma once

#include <windows.h>

// Dispatches every message waiting in the thread's queue, without waiting for more.
void PumpMessages();

// Handles the messages that other threads and programs send to the thread's windows and waits
// for nothing; clicks and keys stay queued. Work that must not be interrupted by the user calls
// it between its parts, so that the window still answers.
void AnswerSentMessages();

// Sleeps for nMilliseconds while answering sent messages as above.
void PauseAnsweringSentMessages(DWORD nMilliseconds);
