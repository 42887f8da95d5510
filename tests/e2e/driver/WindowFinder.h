#pragma once

#include "DriverTimeouts.h"

#include <functional>
#include <string>
#include <vector>

using WindowPredicate = std::function<bool(HWND)>;

// Top-level windows of process dwPid in Z order, hidden ones only on request.
std::vector<HWND> ListProcessWindows(DWORD dwPid, bool bIncludeHidden = false);

// First top-level window of dwPid that fnMatch accepts, or nullptr.
HWND FindProcessWindow(DWORD dwPid, const WindowPredicate& fnMatch, bool bIncludeHidden = false);

// As FindProcessWindow, polled until found or dwTimeoutMs has passed (nullptr).
HWND WaitForProcessWindow(DWORD dwPid, const WindowPredicate& fnMatch, DWORD dwTimeoutMs = kDefaultTimeoutMs,
                          bool bIncludeHidden = false);

// Waits for a top-level window whose title is exactly strTitle.
HWND WaitForWindowTitle(DWORD dwPid, const std::string& strTitle, DWORD dwTimeoutMs = kDefaultTimeoutMs,
                        bool bIncludeHidden = false);

// Waits for a dialog (class "#32770") that fnMatch accepts; pass nullptr to take any.
HWND WaitForDialog(DWORD dwPid, const WindowPredicate& fnMatch, DWORD dwTimeoutMs = kDefaultTimeoutMs,
                   bool bIncludeHidden = false);

bool IsDialogWindow(HWND hWnd);

// Returns whether hWnd was destroyed within dwTimeoutMs.
bool WaitForWindowGone(HWND hWnd, DWORD dwTimeoutMs = kDefaultTimeoutMs);
