#pragma once
// Resident memory of this process, from /proc/self/status, in KiB (-1 where it cannot be read).
// Reads with the C library only, so a program that counts operator new sees no allocation here.

#include <cstdio>
#include <cstdlib>
#include <cstring>

inline long ResidentKiB()
{
    std::FILE *Status = std::fopen("/proc/self/status", "r");
    if (!Status)
        return -1;
    char Line[256];
    long KiB = -1;
    while (std::fgets(Line, sizeof Line, Status))
        if (std::strncmp(Line, "VmRSS:", 6) == 0)
            KiB = std::strtol(Line + 6, nullptr, 10);
    std::fclose(Status);
    return KiB;
}
