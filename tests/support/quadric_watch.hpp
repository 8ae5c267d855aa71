// GLU's quadric maker, watched (quadric_watch.cpp beside this header): the test
// binary's own gluNewQuadric comes before libGLU's, calls it, records every
// quadric made and hands out null while failuresLeft says so, as GLU does
// when it runs out of memory.
#pragma once

#include <GL/glu.h>

#include <vector>

namespace quadric_watch {
extern std::vector<GLUquadric*> made;
extern std::vector<GLUquadric*> withoutNormals;  // given gluQuadricNormals(GLU_NONE)
extern int failuresLeft;
void Reset();
}  // namespace quadric_watch
