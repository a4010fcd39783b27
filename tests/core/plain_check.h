#pragma once

// The checks of the tests written in plain C++ (the platform's, which also runs as a Windows
// program, and the threads', built under ThreadSanitizer without Qt): each failure is printed
// and counted, and main returns the count's verdict.
#include <cstdio>

namespace plain_check {

inline int failures = 0;

inline void check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

} // namespace plain_check
