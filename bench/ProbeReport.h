#pragma once
// What a launch probe tells bench_open on its standard output: "painted" once the picture is on
// screen, and at the end "peak_kib" with the kernel's high-water mark of the probe's own memory
// (VmHWM). The rusage a parent gets back also counts the parent's memory when the child was
// started with vfork, as posix_spawn does, so the probe reads its peak itself.

#include <cstdio>
#include <cstdlib>
#include <cstring>

inline void ReportPainted() {
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
}

inline long PeakResidentKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    long peak = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            peak = std::strtol(line + 6, nullptr, 10);
    }
    std::fclose(status);
    return peak;
}

inline void ReportPeak() {
    std::printf("peak_kib %ld\n", PeakResidentKiB());
}
