// libFuzzer target for the BMP path: the input bytes become a file, which
// goes through the program's own loader (header checks, the rows read and
// row layout) and then into OpenGL textures on Mesa's software renderer,
// single-level and mipmapped. Any accepted file must come out exactly as an
// independent reading of its bytes says; anything else aborts.
#include <GL/gl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/bmp_oracle.hpp"
#include "framework/bitmap.hpp"
#include "scene/texture.hpp"
#include "support/gl_window.hpp"

namespace {

GlWindow* g_window = nullptr;  // kept for the whole run
int g_file = -1;               // an in-memory file, rewritten for every input
std::string g_path;            // its name in /proc, as the loader opens it

[[noreturn]] void Fail(const char* what, const bmporacle::Expectation& e) {
  std::fprintf(stderr, "bmp_fuzzer: %s (the file should be %s%s)\n", what,
               e.accepted ? "accepted" : "refused: ", e.reason.c_str());
  std::abort();
}

void WriteInput(const std::uint8_t* data, std::size_t size) {
  if (ftruncate(g_file, 0) != 0) std::abort();
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(g_file, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
}

// The loader alone: refusal or acceptance as expected, and the exact rows.
bool CheckLoader(const bmporacle::Expectation& e) {
  BitmapHandle bitmap = LoadBitmapImage(g_path.c_str());
  if (!bitmap) {
    if (e.accepted) Fail("a file that fits its header was refused", e);
    return false;
  }
  if (!e.accepted) Fail("a file that does not fit its header was accepted", e);
  BitmapInfo info;
  if (!GetBitmapInfo(bitmap, info)) Fail("no description of a loaded picture", e);
  if (info.width < 1 || info.width > kMaxBitmapSide || info.height < 1 ||
      info.height > kMaxBitmapSide)
    Fail("sides outside the limits", e);
  if (info.width != e.width || info.height != e.height) Fail("sides differ from the header", e);
  if (info.widthBytes != ((info.width * 3 + 3) & ~3)) Fail("row stride is not 4-byte padded", e);
  if (info.bitsPerPixel != 24 || info.bits == nullptr) Fail("not 24-bit pixels", e);
  if (std::memcmp(info.bits, e.rows.data(), e.rows.size()) != 0) Fail("rows differ from the file", e);
  DeleteBitmap(bitmap);
  return true;
}

// The texture path: the same verdict, a texture name, the picture in level 0.
void CheckTexture(const bmporacle::Expectation& e, bool loaded, bool mipmapped) {
  while (glGetError() != GL_NO_ERROR) {
  }
  CTexture texture;
  const bool ok = mipmapped ? texture.LoadMipmapped(g_path.c_str(), GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR)
                            : texture.Load(g_path.c_str(), GL_NEAREST, GL_NEAREST);
  if (ok != loaded) Fail("texture and loader disagree", e);
  if (!ok) {
    if (texture.Name() != 0) Fail("a refused file left a texture name", e);
    return;
  }
  GLuint name = texture.Name();
  if (name == 0) Fail("no texture name", e);
  if (glGetError() != GL_NO_ERROR) Fail("the upload raised a GL error", e);
  if (!mipmapped) {
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    if (width != e.width || height != e.height) Fail("texture sides differ", e);
    // Level 0 read back in the file's layout: B-G-R rows padded to 4 bytes.
    std::vector<std::uint8_t> level0(e.rows.size(), 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, level0.data());
    for (std::int64_t r = 0; r < e.height; ++r)
      if (std::memcmp(&level0[r * e.stride], &e.rows[r * e.stride], e.width * 3) != 0)
        Fail("texture level 0 differs from the file", e);
  }
  glDeleteTextures(1, &name);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
  g_window = new GlWindow(16, 16);
  if (glGetString(GL_VERSION) == nullptr) {
    std::fprintf(stderr, "bmp_fuzzer: no OpenGL context\n");
    std::abort();
  }
  g_file = memfd_create("winterhain-bmp-fuzz", MFD_CLOEXEC);
  if (g_file < 0) {
    std::perror("bmp_fuzzer: memfd_create");
    std::abort();
  }
  g_path = "/proc/self/fd/" + std::to_string(g_file);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteInput(data, size);
  const bmporacle::Expectation expected = bmporacle::Expect(data, size);
  const bool loaded = CheckLoader(expected);
  CheckTexture(expected, loaded, false);
  CheckTexture(expected, loaded, true);
  return 0;
}
