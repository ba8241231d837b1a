// An off-screen OpenGL context (OSMesa) for native tests that draw or upload
// textures. It is current from construction to destruction; one at a time.
#pragma once

#include <GL/osmesa.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

// OSMesa keeps a few internal allocations past the last context; they are
// the library's own and are not reported as leaks of the code under test.
extern "C" __attribute__((used)) inline const char* __lsan_default_suppressions() {
  return "leak:libOSMesa.so\n";
}

namespace kb::test {

class OffscreenGlContext {
 public:
  explicit OffscreenGlContext(int width = 64, int height = 64)
      : width_(width),
        height_(height),
        colourBuffer_(static_cast<std::size_t>(width) * height * 4) {
    // RGBA colour buffer with a 16-bit depth buffer, no stencil or accumulation.
    context_ = OSMesaCreateContextExt(OSMESA_RGBA, 16, 0, 0, nullptr);
    if (!context_) throw std::runtime_error("OSMesaCreateContextExt failed");
    if (!OSMesaMakeCurrent(context_, colourBuffer_.data(), GL_UNSIGNED_BYTE, width, height)) {
      OSMesaDestroyContext(context_);
      throw std::runtime_error("OSMesaMakeCurrent failed");
    }
  }
  ~OffscreenGlContext() { OSMesaDestroyContext(context_); }
  OffscreenGlContext(const OffscreenGlContext&) = delete;
  OffscreenGlContext& operator=(const OffscreenGlContext&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  // RGBA bytes, bottom row first; complete after glFinish().
  const std::vector<std::uint8_t>& colourBuffer() const { return colourBuffer_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> colourBuffer_;
  OSMesaContext context_ = nullptr;
};

}  // namespace kb::test
