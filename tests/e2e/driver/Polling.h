#pragma once

#include "DriverTimeouts.h"

#include <functional>

// Checks fnCondition every kPollIntervalMs until it holds or dwTimeoutMs has
// passed; it is always checked once more at the deadline. Returns whether it held.
bool WaitUntil(const std::function<bool()>& fnCondition, DWORD dwTimeoutMs = kDefaultTimeoutMs);
