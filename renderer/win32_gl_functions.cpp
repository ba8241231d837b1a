#include "renderer/win32_gl_functions.h"

// clang-format off
#include <windows.h>
#include <GL/gl.h>  // after windows.h, whose types it uses
#include <GL/glu.h>
// clang-format on

#include <iterator>

#include "common/win32_system_dlls.h"

// gl.h and wingdi.h declare the gl and wgl functions as imported, so every
// call to one goes through a pointer named __imp_<name> (__imp__<name>@<bytes
// of arguments> in the 32-bit build), which the program's import table would
// fill. These are those pointers, filled by bindOpenGl instead. A GL function
// called for the first time links ("undefined reference to __imp_...") once
// it is listed here.
// clang-format off
#define KB_OPENGL_FUNCTIONS(X)                                                          \
  X(glBegin, 4) X(glBindTexture, 8) X(glClear, 4) X(glClearColor, 16) X(glClearDepth, 8) \
  X(glDeleteTextures, 8) X(glDepthFunc, 4) X(glEnable, 4) X(glEnd, 0) X(glGenTextures, 8) X(glGetIntegerv, 8)   \
  X(glGetString, 4)                                                                       \
  X(glHint, 8) X(glInitNames, 0) X(glLoadIdentity, 0) X(glLoadName, 4)                    \
  X(glMatrixMode, 4) X(glPopMatrix, 0) X(glPushMatrix, 0) X(glPushName, 4)                \
  X(glRenderMode, 4) X(glRotatef, 16) X(glSelectBuffer, 8) X(glShadeModel, 4)             \
  X(glTexCoord2f, 8) X(glTexEnvi, 12) X(glTexParameteri, 12) X(glTranslatef, 12)          \
  X(glVertex3f, 12) X(glViewport, 16)                                                     \
  X(wglCreateContext, 4) X(wglDeleteContext, 4) X(wglGetCurrentContext, 0)              \
  X(wglGetProcAddress, 4) X(wglMakeCurrent, 8) X(wglShareLists, 8)
// clang-format on

#if defined(__i386__)
#define KB_IMPORT_POINTER(name, bytes) "__imp__" #name "@" #bytes
#else
#define KB_IMPORT_POINTER(name, bytes) "__imp_" #name
#endif

#define KB_DEFINE_IMPORT_POINTER(name, bytes)                        \
  extern "C" {                                                       \
  void* name##Pointer asm(KB_IMPORT_POINTER(name, bytes)) = nullptr; \
  }
KB_OPENGL_FUNCTIONS(KB_DEFINE_IMPORT_POINTER)

// glu.h declares its functions as ordinary ones: these are they, each
// calling on into glu32.dll.
// clang-format off
#define KB_GLU_FUNCTIONS(X)                                                                \
  X(gluBuild2DMipmaps) X(gluCylinder) X(gluNewQuadric) X(gluPerspective) X(gluPickMatrix) \
  X(gluQuadricNormals) X(gluQuadricTexture) X(gluDeleteQuadric)
// clang-format on

namespace {

#define KB_DEFINE_GLU_POINTER(name) void* name##Pointer = nullptr;
KB_GLU_FUNCTIONS(KB_DEFINE_GLU_POINTER)

#define KB_BIND_IMPORT(name, bytes) {#name, &name##Pointer},
#define KB_BIND_GLU(name) {#name, &name##Pointer},
const kb::SystemFunction kOpenGlFunctions[] = {KB_OPENGL_FUNCTIONS(KB_BIND_IMPORT)};
const kb::SystemFunction kGluFunctions[] = {KB_GLU_FUNCTIONS(KB_BIND_GLU)};

}  // namespace

#define KB_SYSTEM_GLU(name) reinterpret_cast<decltype(&name)>(name##Pointer)

extern "C" {

int APIENTRY gluBuild2DMipmaps(GLenum target, GLint components, GLint width, GLint height,
                               GLenum format, GLenum type, const void* data) {
  return KB_SYSTEM_GLU(gluBuild2DMipmaps)(target, components, width, height, format, type, data);
}
void APIENTRY gluCylinder(GLUquadric* quadric, GLdouble baseRadius, GLdouble topRadius,
                          GLdouble height, GLint slices, GLint stacks) {
  KB_SYSTEM_GLU(gluCylinder)(quadric, baseRadius, topRadius, height, slices, stacks);
}
void APIENTRY gluDeleteQuadric(GLUquadric* quadric) {
  KB_SYSTEM_GLU(gluDeleteQuadric)(quadric);
}
GLUquadric* APIENTRY gluNewQuadric(void) {
  return KB_SYSTEM_GLU(gluNewQuadric)();
}
void APIENTRY gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  KB_SYSTEM_GLU(gluPerspective)(fovy, aspect, zNear, zFar);
}
void APIENTRY gluPickMatrix(GLdouble x, GLdouble y, GLdouble width, GLdouble height,
                            GLint viewport[4]) {
  KB_SYSTEM_GLU(gluPickMatrix)(x, y, width, height, viewport);
}
void APIENTRY gluQuadricNormals(GLUquadric* quadric, GLenum normals) {
  KB_SYSTEM_GLU(gluQuadricNormals)(quadric, normals);
}
void APIENTRY gluQuadricTexture(GLUquadric* quadric, GLboolean textureCoords) {
  KB_SYSTEM_GLU(gluQuadricTexture)(quadric, textureCoords);
}

}  // extern "C"

namespace kb::renderer {

bool bindOpenGl() {
  static const bool bound =
      bindSystemFunctions("opengl32.dll", kOpenGlFunctions, std::size(kOpenGlFunctions)) &&
      bindSystemFunctions("glu32.dll", kGluFunctions, std::size(kGluFunctions));
  return bound;
}

}  // namespace kb::renderer
