/* Preloaded into the real program by the benchmarks: counts buffer swaps and
 * writes, at exit, to the file named by $WINTERHAIN_SWAP_LOG:
 *   frames first_swap_unix_ns last_swap_unix_ns peak_resident_kib
 * so a script can compute frames per second, the time from its own launch
 * of the program to the first swapped frame, and the peak memory. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Window SDL_Window;

static unsigned long long g_frames;
static long long g_firstNs = -1;
static long long g_lastNs = -1;

static long long NowNs(void) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

void SDL_GL_SwapWindow(SDL_Window* window) {
  static void (*real)(SDL_Window*);
  if (!real) real = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
  real(window);
  g_lastNs = NowNs();
  if (g_frames++ == 0) g_firstNs = g_lastNs;
}

/* VmHWM of /proc/self/status: the peak resident set, in KiB. */
static long PeakResidentKib(void) {
  FILE* status = fopen("/proc/self/status", "r");
  char line[256];
  long kib = -1;
  while (status && fgets(line, sizeof line, status))
    if (sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
  if (status) fclose(status);
  return kib;
}

__attribute__((destructor)) static void WriteLog(void) {
  const char* path = getenv("WINTERHAIN_SWAP_LOG");
  FILE* file = path ? fopen(path, "w") : NULL;
  if (!file) return;
  fprintf(file, "%llu %lld %lld %ld\n", g_frames, g_firstNs, g_lastNs, PeakResidentKib());
  fclose(file);
}
