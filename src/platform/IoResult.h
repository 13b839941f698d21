#pragma once

#include <utility>

namespace twinfold
{

// A platform call's result together with the system's error number (0 when it succeeded), so
// that the error travels with the result instead of in a global that the next call overwrites.
// A caller that needs no error takes the value alone: the result converts to it. A call with
// nothing to report but success is an IoResult<bool>, true exactly when error is 0.
template <typename T> struct [[nodiscard]] IoResult {
    T value{};
    int error = 0;

    bool ok() const { return error == 0; }
    operator T() && { return std::move(value); }
};

// The failure of a call that reports success alone.
inline IoResult<bool> failedWith(int error)
{
    return {false, error};
}

inline IoResult<bool> succeeded()
{
    return {true, 0};
}

} // namespace twinfold
