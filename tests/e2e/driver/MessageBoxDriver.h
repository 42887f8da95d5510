#pragma once

#include "DriverTimeouts.h"

#include <string>
#include <vector>

// A message box is a "#32770" dialog holding its text in static control 0xFFFF
// and otherwise only an icon static and push buttons IDOK..IDCONTINUE; a
// dialog of the program built the same way would be taken for one.
constexpr int kMessageBoxTextId = 0xFFFF;

enum class ETextMatch
{
    Equals,
    Contains,
};

bool IsMessageBox(HWND hWnd);

// Visible message boxes of process dwPid, topmost first.
std::vector<HWND> ListMessageBoxes(DWORD dwPid);

// First message box of dwPid, or nullptr after dwTimeoutMs.
HWND WaitForMessageBox(DWORD dwPid, DWORD dwTimeoutMs = kDefaultTimeoutMs);

// First message box of dwPid whose text matches strText, or nullptr after dwTimeoutMs.
HWND WaitForMessageBoxText(DWORD dwPid, const std::string& strText, ETextMatch eMatch = ETextMatch::Equals,
                           DWORD dwTimeoutMs = kDefaultTimeoutMs);

// Visible message boxes of any process whose title is strCaption: those of a program whose process
// the caller does not know, such as one that hands its work over to a copy of itself.
std::vector<HWND> ListMessageBoxesTitled(const std::string& strCaption);

// The first of them whose text is strText, or nullptr after dwTimeoutMs.
HWND WaitForTitledMessageBox(const std::string& strCaption, const std::string& strText,
                             DWORD dwTimeoutMs = kDefaultTimeoutMs);

// Throws CDriverError if the box is gone or does not answer.
std::string ReadMessageBoxText(HWND hBox, DWORD dwTimeoutMs = kDefaultTimeoutMs);
std::string ReadMessageBoxCaption(HWND hBox);

// Presses button nButtonId (IDOK, IDYES, IDNO, ...) and returns without
// waiting for the box to close. Throws CDriverError if the box has no such
// button, so a test cannot answer with a button the user never saw.
void AnswerMessageBox(HWND hBox, int nButtonId);

// Texts of every message box of dwPid open now.
std::vector<std::string> ListMessageBoxTexts(DWORD dwPid);

// One "unexpected message box: <text>" line per open box, empty when there is
// none: for the failure message of a wait that timed out.
std::string DescribeMessageBoxes(DWORD dwPid);
