#pragma once

#include <stdexcept>
#include <string>

// Thrown when the driver cannot do what a test asked (no such control, target
// not answering, process not started), so the test fails with the reason
// instead of comparing against an empty value.
class CDriverError : public std::runtime_error
{
public:
    explicit CDriverError(const std::string& strWhat)
        : std::runtime_error(strWhat)
    {
    }
};
