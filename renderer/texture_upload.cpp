// Turning pixel rows into a GL texture; kept apart from the readers so that
// they can be exercised without a GL context.
#include <GL/gl.h>
#include <GL/glu.h>

#include "renderer/textures.h"

namespace kb::renderer {

unsigned int uploadTexture(std::uint16_t width, std::uint16_t height, int format,
                           const std::uint8_t* pixels) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // Only the base level is sampled, although mipmaps are built below.
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (format == GL_RGBA) {
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  } else {
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  }
  return name;
}

}  // namespace kb::renderer
