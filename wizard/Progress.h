// The progress report of the install loops and the slideshow's schedule during the installation.
#pragma once

#include <windows.h>
#include <setupapi.h>

// Sends the progress report of one file to the dialog and waits until it is shown.
void SendProgress(HWND hDialog, FILE_IN_CABINET_INFO_A& info, DWORD nPercent);

// Whether wParam of a WM_MYSETROGRESS is the record that SendProgress is sending right now from
// this thread: a message of that number from anywhere else carries no record.
bool IsOwnProgressReport(WPARAM wParam);

// The slide that belongs to a percentage: percent × slides / 100, truncated toward zero.
int SlideIndex(int nPercent, int nSlides);

// The status line paints as its text is set, about a fifth of a millisecond each under Wine: a
// name is shown when its file is big enough to take a while, or when the name shown last has
// stood for a frame. Other small files pass too fast to be read.
constexpr unsigned long kNamedFileSize = 64 * 1024;
constexpr unsigned long kStatusFrameMs = 30;
