#pragma once

// Resident memory for the benchmarks, and freed memory handed back to the system so that the next
// run meets fresh pages as the program's first run does. Linux with glibc; elsewhere the figures
// are 0 and nothing is handed back.
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <unistd.h>
#endif

namespace losfix::bench {

inline double ResidentMiB() {
#if defined(__linux__)
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return 0;
    }
    long size = 0;
    long resident = 0;
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) /
                           (1024.0 * 1024.0)
                     : 0;
#else
    return 0;
#endif
}

inline void ReturnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace losfix::bench
