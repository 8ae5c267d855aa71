// How much memory the test process holds, for tests that watch it grow.
#pragma once

#include <unistd.h>

#include <cstdio>

// Resident set size in bytes, from /proc/self/statm; -1 when unreadable.
inline long ResidentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (!statm) return -1;
  long total = 0, resident = 0;
  const bool ok = std::fscanf(statm, "%ld %ld", &total, &resident) == 2;
  std::fclose(statm);
  return ok ? resident * sysconf(_SC_PAGESIZE) : -1;
}
