// The install loops run inside a click; emptying the queue after each file keeps the window
// painted and its Cancel button working.
#pragma once

// Dispatches every message waiting in the thread's queue, without waiting for more.
void PumpMessages();
