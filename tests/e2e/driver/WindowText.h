#pragma once

#include "DriverTimeouts.h"

#include <optional>
#include <string>

// Text of any window of the target through WM_GETTEXT, bounded by dwTimeoutMs;
// empty when the window is gone or does not answer in time.
std::optional<std::string> TryReadWindowText(HWND hWnd, DWORD dwTimeoutMs);

// As TryReadWindowText, but throws CDriverError when the text cannot be read.
std::string ReadWindowText(HWND hWnd, DWORD dwTimeoutMs = kDefaultTimeoutMs);

// Sets the text through WM_SETTEXT; throws CDriverError when the target does
// not take it in time.
void WriteWindowText(HWND hWnd, const std::string& strText, DWORD dwTimeoutMs = kDefaultTimeoutMs);

// Title of a top-level window as the system keeps it; sends the target no
// message, so it answers even while the target is busy.
std::string ReadWindowCaption(HWND hWnd);

// Window class name, e.g. "#32770", "Button", "Edit"; empty for a gone window.
std::string ReadClassName(HWND hWnd);
