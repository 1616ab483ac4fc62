#pragma once
// What a launch probe tells bench_open on its standard output: "painted" once the picture is on
// screen (on X11, once the server has taken every request that drew it: the probe reads a pixel
// back, a round trip behind all of them), then "settled_kib" with the probe's resident memory at that moment
// (VmRSS: what the program holds while it shows the picture), and at the end "peak_kib" with the kernel's
// high-water mark of the probe's own memory (VmHWM). The rusage a parent gets back also counts
// the parent's memory when the child was started with vfork, as posix_spawn does, so the probe
// reads its memory itself. A peak above the settled figure is memory held only on the way.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// One "Name:  N kB" line of /proc/self/status, in KiB; -1 where it cannot be read.
inline long StatusKiB(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr)
        return -1;
    const std::size_t length = std::strlen(field);
    long value = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, field, length) == 0)
            value = std::strtol(line + length, nullptr, 10);
    }
    std::fclose(status);
    return value;
}

// The time is taken at the "painted" line; the memory is read after it has gone out.
inline void ReportPainted() {
    if (QGuiApplication::platformName() == QStringLiteral("xcb") &&
        QGuiApplication::primaryScreen() != nullptr)
        QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1, 1);
    std::fputs("painted\n", stdout);
    std::fflush(stdout);
    std::printf("settled_kib %ld\n", StatusKiB("VmRSS:"));
    std::fflush(stdout);
}

inline void ReportPeak() {
    std::printf("peak_kib %ld\n", StatusKiB("VmHWM:"));
}
