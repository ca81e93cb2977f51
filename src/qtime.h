#pragma once
#include <windows.h>
#include <cstdio>
inline void QTime(const char* what) {
    FILETIME created, a, b, c; GetProcessTimes(GetCurrentProcess(), &created, &a, &b, &c);
    FILETIME now; GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER x{{created.dwLowDateTime, created.dwHighDateTime}}, y{{now.dwLowDateTime, now.dwHighDateTime}};
    FILE* f = std::fopen("C:\\qtime.txt", "a"); if (!f) return;
    std::fprintf(f, "%6.1f %s\n", static_cast<double>(y.QuadPart - x.QuadPart) / 10000.0, what); std::fclose(f);
}
