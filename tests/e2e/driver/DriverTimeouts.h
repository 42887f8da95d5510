#pragma once

#include <windows.h>

// Every wait and every message to the target is bounded, so a hung or
// misbehaving program under test fails the test instead of hanging it.
constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr DWORD kPollIntervalMs = 20;
