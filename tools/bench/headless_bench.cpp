// winterhain-bench: frames per second of the real scene off screen (the
// capture path, Mesa's software renderer) against an empty frame (the sky
// quad and the swap only), and heap allocations per frame in steady state.
// Prints "name value unit" lines for tools/bench/bench.sh.
//
//   winterhain-bench [FRAMES [RUNS]]    frame rates and allocations
//   winterhain-bench --callgrind FRAMES under valgrind --tool=callgrind
//                                        --instr-atstart=no: counts only
//                                        FRAMES steady frames
#include <GL/gl.h>
#include <valgrind/callgrind.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "scene/scene_frame.hpp"
#include "scene_capture.hpp"
#include "shell/scene_wnd.hpp"

namespace {
std::atomic<long> g_news{0};
std::atomic<long> g_mallocs{0};
bool g_counting = false;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Off screen a swap draws nothing, so each counted frame is finished:
// llvmpipe would otherwise count frames it has only queued.
template <class Frame>
double FramesPerSecond(int frames, Frame frame) {
  glFinish();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) {
    frame();
    glFinish();
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return frames / elapsed.count();
}

// The floor: what any frame costs here, the backdrop (sky) and the swap.
void EmptyFrame(CSceneWnd& window) {
  scene::DrawBackdrop();
  SwapWindowBuffers(window.m_hWnd);
}
}  // namespace

// Counting allocator hooks: operator new (our C++ code) and malloc (anyone).
void* operator new(std::size_t size) {
  if (g_counting) ++g_news;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

extern "C" void* __libc_malloc(std::size_t);
extern "C" void* malloc(std::size_t size) {
  if (g_counting) ++g_mallocs;
  return __libc_malloc(size);
}

// Instructions of steady frames only: start-up and warm-up are left out.
int CountInstructions(SceneCapture& capture, int frames) {
  const std::vector<double> steady(static_cast<std::size_t>(frames), 16.0);
  glFinish();  // the warm-up frames are drawn before counting starts
  CALLGRIND_START_INSTRUMENTATION;
  CALLGRIND_ZERO_STATS;
  capture.Run(steady, false);
  glFinish();
  CALLGRIND_DUMP_STATS_AT("steady frames");
  CALLGRIND_STOP_INSTRUMENTATION;
  return 0;
}

int main(int argc, char** argv) {
  const bool callgrind = argc > 1 && std::string(argv[1]) == "--callgrind";
  const int frames = argc > 1 + callgrind ? std::atoi(argv[1 + callgrind]) : 300;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  SceneCapture capture(640, 480);
  if (!capture.Ok() || frames <= 0 || runs <= 0) {
    std::fprintf(stderr, "winterhain-bench: cannot render off screen, or bad arguments\n");
    return 1;
  }
  const std::vector<double> warmUp(30, 16.0);
  capture.Run(warmUp, false);
  if (callgrind) return CountInstructions(capture, frames);
  std::vector<double> scene, empty;
  for (int run = 0; run < runs; ++run) {
    scene.push_back(FramesPerSecond(frames, [&] { capture.Run({16.0}, false); }));
    empty.push_back(FramesPerSecond(frames, [&] { EmptyFrame(capture.Window()); }));
  }
  const std::vector<double> steady(static_cast<std::size_t>(frames), 16.0);
  glFinish();
  g_counting = true;
  capture.Run(steady, false);
  g_counting = false;
  std::printf("headless_scene_fps %.0f frames/s\n", Median(scene));
  std::printf("headless_empty_fps %.0f frames/s\n", Median(empty));
  std::printf("headless_ratio %.2f scene/empty\n", Median(scene) / Median(empty));
  std::printf("news_per_frame %.3f allocations/frame\n", static_cast<double>(g_news) / frames);
  std::printf("mallocs_per_frame %.3f allocations/frame\n", static_cast<double>(g_mallocs) / frames);
  return 0;
}
