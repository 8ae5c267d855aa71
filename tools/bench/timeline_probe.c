/* Preloaded into the real program by the benchmarks. It notes when the
 * program first enters the calls that start each phase of its start-up,
 * and the time of every buffer swap, in the file named by
 * $WINTERHAIN_PROBE_LOG. Times are CLOCK_REALTIME nanoseconds, so a script
 * can set them against its own launch time (bash's $EPOCHREALTIME).
 *
 *   mark NAME NS CPU    first entry into NAME ("shown" and "first_swap" are
 *                       the returns of SDL_ShowWindow and the first swap),
 *                       and the CPU time all the process's threads had
 *                       used by then (ns; a figure a busy machine disturbs
 *                       less); written as it happens, so a script can wait
 *                       for it
 *   spent NAME NS       time spent inside NAME altogether (at exit)
 *   swap NS             one line per swapped frame (at exit)
 *   peak_kib KIB        peak resident memory (at exit, or when it raises a
 *                       signal to end itself)
 *
 * Only the program's own calls pass through here: SDL reaches Xlib and GL
 * through its own dlsym lookups. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef struct SDL_Window SDL_Window;
typedef struct _XDisplay Display;

enum { kMaxSwaps = 1 << 17 };
static long long g_swaps[kMaxSwaps];
static unsigned g_swapCount;
static long long g_mipmapNs;
static FILE* g_log;

static long long NowNs(void) {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

static void* Real(const char* name) {
  void* real = dlsym(RTLD_NEXT, name);
  if (!real) {
    fprintf(stderr, "timeline probe: no %s to forward to\n", name);
    abort();
  }
  return real;
}

static long long CpuNs(void) {
  struct timespec used;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
  return (long long)used.tv_sec * 1000000000LL + used.tv_nsec;
}

static void Mark(const char* name, long long ns) {
  if (!g_log) return;
  fprintf(g_log, "mark %s %lld %lld\n", name, ns, CpuNs());
  fflush(g_log);
}

/* Marks NAME on the first call only. */
#define MARK_ONCE(name, ns)            \
  do {                                 \
    static int seen;                   \
    if (!seen) Mark((name), (ns));     \
    seen = 1;                          \
  } while (0)

__attribute__((constructor)) static void OpenLog(void) {
  const long long now = NowNs();
  const char* path = getenv("WINTERHAIN_PROBE_LOG");
  g_log = path ? fopen(path, "w") : NULL;
  /* The program's own children (its display guard is the program started
   * again) would open the same log afresh and cut what is written so far. */
  unsetenv("WINTERHAIN_PROBE_LOG");
  Mark("libraries_loaded", now);
}

/* Only the display switch grabs the server, and only once. */
int XGrabServer(Display* display) {
  MARK_ONCE("XGrabServer", NowNs());
  return ((int (*)(Display*))Real("XGrabServer"))(display);
}

int SDL_Init(unsigned flags) {
  MARK_ONCE("SDL_Init", NowNs());
  return ((int (*)(unsigned))Real("SDL_Init"))(flags);
}

int SDL_GL_LoadLibrary(const char* path) {
  MARK_ONCE("SDL_GL_LoadLibrary", NowNs());
  return ((int (*)(const char*))Real("SDL_GL_LoadLibrary"))(path);
}

void* SDL_GL_CreateContext(SDL_Window* window) {
  MARK_ONCE("SDL_GL_CreateContext", NowNs());
  return ((void* (*)(SDL_Window*))Real("SDL_GL_CreateContext"))(window);
}

/* The first texture name is asked for once the first picture is read. */
void glGenTextures(int count, unsigned* names) {
  MARK_ONCE("glGenTextures", NowNs());
  ((void (*)(int, unsigned*))Real("glGenTextures"))(count, names);
}

int gluBuild2DMipmaps(unsigned target, int components, int width, int height, unsigned format,
                      unsigned type, const void* data) {
  typedef int (*Build)(unsigned, int, int, int, unsigned, unsigned, const void*);
  static Build real;
  if (!real) real = (Build)Real("gluBuild2DMipmaps");
  const long long start = NowNs();
  const int result = real(target, components, width, height, format, type, data);
  g_mipmapNs += NowNs() - start;
  return result;
}

/* The audio phase starts where the audio subsystem is first asked for. */
int SDL_InitSubSystem(unsigned flags) {
  if (flags & 0x10u) MARK_ONCE("audio", NowNs()); /* SDL_INIT_AUDIO */
  return ((int (*)(unsigned))Real("SDL_InitSubSystem"))(flags);
}

void SDL_ShowWindow(SDL_Window* window) {
  MARK_ONCE("SDL_ShowWindow", NowNs());
  ((void (*)(SDL_Window*))Real("SDL_ShowWindow"))(window);
  MARK_ONCE("shown", NowNs());
}

void SDL_GL_SwapWindow(SDL_Window* window) {
  static void (*real)(SDL_Window*);
  if (!real) real = (void (*)(SDL_Window*))Real("SDL_GL_SwapWindow");
  real(window);
  const long long now = NowNs();
  if (g_swapCount == 0) Mark("first_swap", now);
  if (g_swapCount < kMaxSwaps) g_swaps[g_swapCount++] = now;
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
  if (!g_log) return;
  fprintf(g_log, "spent gluBuild2DMipmaps %lld\n", g_mipmapNs);
  for (unsigned i = 0; i < g_swapCount; ++i) fprintf(g_log, "swap %lld\n", g_swaps[i]);
  fprintf(g_log, "peak_kib %ld\n", PeakResidentKib());
  fclose(g_log);
  g_log = NULL;
}

/* A program that ends by re-raising a termination signal (the screensaver,
 * on SIGTERM) runs no destructors: the log is written first. */
int raise(int signal) {
  static int (*real)(int);
  if (!real) real = (int (*)(int))Real("raise");
  WriteLog();
  return real(signal);
}
