// The GL library and what the windows' OpenGL drawables share.
//
// Does:
//  - keep the GL library loaded from the first surface opened until
//    Shutdown: SDL would otherwise unload it with the last OpenGL window,
//    while the context (which outlives the window) still needs it, and
//    loading it again is slow
// Does not:
//  - contexts: they belong to their callers
#pragma once

#include <string>

#include "platform/platform.hpp"

namespace platform {

class GLLibrary {
 public:
  GLLibrary() = default;
  ~GLLibrary();
  GLLibrary(const GLLibrary&) = delete;
  GLLibrary& operator=(const GLLibrary&) = delete;

  // False, with `error` filled in, when there is no OpenGL.
  bool Load(std::string& error);

  SurfaceFormat grantedRequest;  // the one format windows have taken

 private:
  bool m_loaded = false;
};

}  // namespace platform
