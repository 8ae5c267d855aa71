#include "support/quadric_watch.hpp"

#include <dlfcn.h>

// GLU's quadric maker, watched: this binary's definition comes before
// libGLU's, records every quadric made and hands out null when a test asks
// for it, as GLU does when it runs out of memory.
namespace quadric_watch {
std::vector<GLUquadric*> made;
std::vector<GLUquadric*> withoutNormals;  // given gluQuadricNormals(GLU_NONE)
int failuresLeft = 0;

void Reset() {
  made.clear();
  withoutNormals.clear();
  failuresLeft = 0;
}
}  // namespace quadric_watch

extern "C" GLUquadric* gluNewQuadric() {
  using NewQuadric = GLUquadric* (*)();
  static const auto real = reinterpret_cast<NewQuadric>(dlsym(RTLD_NEXT, "gluNewQuadric"));
  if (quadric_watch::failuresLeft > 0) {
    --quadric_watch::failuresLeft;
    return nullptr;
  }
  GLUquadric* quadric = real();
  quadric_watch::made.push_back(quadric);
  return quadric;
}

extern "C" void gluQuadricNormals(GLUquadric* quadric, GLenum normals) {
  using QuadricNormals = void (*)(GLUquadric*, GLenum);
  static const auto real = reinterpret_cast<QuadricNormals>(dlsym(RTLD_NEXT, "gluQuadricNormals"));
  if (normals == GLU_NONE) quadric_watch::withoutNormals.push_back(quadric);
  real(quadric, normals);
}

