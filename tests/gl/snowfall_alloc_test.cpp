// The snowfall obtains its flake block once, in the constructor; Init and
// Draw allocate nothing. Global operator new is replaced in this test binary
// by a version that counts, but only while a test asks it to.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "scene/snowfall.hpp"
#include "scene/texture.hpp"
#include "support/bmp_writer.hpp"
#include "support/gl_window.hpp"
#include "support/temp_data_dir.hpp"

namespace {

std::atomic<bool> g_counting{false};
std::atomic<int> g_allocations{0};
std::atomic<std::size_t> g_lastArraySize{0};

void* Allocate(std::size_t size) {
  if (g_counting.load(std::memory_order_relaxed)) g_allocations.fetch_add(1);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

// Counts the operator new calls made while it is alive.
class AllocationCount {
 public:
  AllocationCount() {
    g_allocations = 0;
    g_counting = true;
  }
  ~AllocationCount() { g_counting = false; }
  int Count() const { return g_allocations.load(); }
};

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) {
  g_lastArraySize = size;
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

void SetUpEyeSpace() {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, 4.0 / 3.0, 0.1, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glBlendFunc(GL_ONE, GL_ONE);
  glEnable(GL_TEXTURE_2D);
}

TEST(SnowfallAllocation, TheConstructorObtainsOneBlockOfFiveHundredFlakes) {
  int count = 0;
  std::size_t size = 0;
  {
    AllocationCount allocations;
    CSnowfall snowfall;
    count = allocations.Count();
    size = g_lastArraySize;
  }
  EXPECT_EQ(count, 1);
  // 500 flakes of seven 4-byte floats each, and nothing else.
  EXPECT_EQ(size, 14000u);
}

TEST(SnowfallAllocation, InitAllocatesNothingBeyondLoadingItsPicture) {
  TempDataDir dir;
  GlWindow window(64, 48);
  SetUpEyeSpace();
  {
    // Without the picture the loader gives up at once.
    CSnowfall snowfall;
    AllocationCount allocations;
    snowfall.Init();
    EXPECT_EQ(allocations.Count(), 0);
  }
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, testbmp::Rgb{9, 9, 9}));
  int loaderCount = 0;
  {
    CTexture picture;
    AllocationCount allocations;
    picture.Load("Data/snowFlake.bmp", GL_LINEAR, GL_LINEAR);
    loaderCount = allocations.Count();
  }
  CSnowfall snowfall;
  AllocationCount allocations;
  snowfall.Init();
  EXPECT_EQ(allocations.Count(), loaderCount);
}

TEST(SnowfallAllocation, DrawAllocatesNothing) {
  TempDataDir dir;
  ASSERT_TRUE(testbmp::WriteSolidBmp(dir.Data("snowFlake.bmp"), 4, 4, testbmp::Rgb{9, 9, 9}));
  GlWindow window(64, 48);
  SetUpEyeSpace();
  // The driver builds its code for this state on first use; let another
  // snowfall meet that cost first.
  CSnowfall warmUp;
  warmUp.Init();
  warmUp.Draw(16.0f);
  glFinish();

  CSnowfall snowfall;
  snowfall.Init();
  AllocationCount allocations;
  // Ordinary frames, one that respawns every flake, a backwards one.
  for (float delta : {16.0f, 0.0f, 1.0e6f, 300.0f, -5.0f}) snowfall.Draw(delta);
  glFinish();
  EXPECT_EQ(allocations.Count(), 0);
}

}  // namespace
