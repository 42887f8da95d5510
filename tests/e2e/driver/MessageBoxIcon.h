#pragma once

#include "DriverTimeouts.h"

enum class EMessageBoxIcon
{
    None,
    Stop,
    Question,
    Exclamation,
    Information,
    Unknown,
};

// Which standard icon message box hBox shows. The icon handle belongs to the
// target process and cannot be compared or read from here, so the icon
// control's pixels on screen are compared with the system icons drawn in this
// process, until one matches or dwTimeoutMs has passed (the box may not have
// reached the screen yet): Unknown then. The icon must not be covered.
// Throws CDriverError when the screen cannot be read.
EMessageBoxIcon ReadMessageBoxIcon(HWND hBox, DWORD dwTimeoutMs = kDefaultTimeoutMs);

const char* MessageBoxIconName(EMessageBoxIcon eIcon);
