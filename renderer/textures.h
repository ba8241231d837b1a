// The renderer's Textures module: reads a BMP, JPEG or TGA image from a file
// or from the program's resources and turns it into a mipmapped GL texture.
// Failures are reported through the platform's message box and leave the
// caller's texture slot untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kb::renderer {

// A stream of bytes from a file or a resource.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `count` bytes into `buffer` and returns how many arrived;
  // fewer than asked means the data ended or could not be read.
  virtual std::size_t read(std::uint8_t* buffer, std::size_t count) = 0;
};

// Bytes already in memory (a loaded resource, or test data).
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t read(std::uint8_t* buffer, std::size_t count) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// What the readers need from the system.
class TexturePlatform {
 public:
  virtual ~TexturePlatform() = default;
  // A blocking message box with no owner and an OK button.
  virtual void showMessage(const std::string& text, const std::string& caption) = 0;
  // Opens a file for reading; null when it cannot be opened.
  virtual std::unique_ptr<ByteSource> openFile(const std::string& fileName) = 0;
  // True when a file (not a folder) of that name exists.
  virtual bool fileExists(const std::string& fileName) = 0;
  // Opens the running program's resource of that name and type; null when
  // there is none. One that exists but cannot be loaded reads as empty.
  virtual std::unique_ptr<ByteSource> openResource(const std::string& name,
                                                   const std::string& type) = 0;
};

// Chooses the reader by the name's last four characters (".bmp", ".jpg",
// ".tga", case-sensitive); any other name loads nothing and shows nothing.
void textureFromFile(const std::string& fileName, unsigned int& slot, bool fromResource,
                     TexturePlatform& platform);

// Each reader stores the new texture name in `slot` and returns true, or
// shows a message box, leaves `slot` as it was and returns false.
//
// Pictures are limited to 4096 x 4096 pixels and 16384 pixels a side, so a
// header cannot make a reader exhaust memory. Besides the usual messages:
//   BMP: "Error reading bitmap header" (fewer than 54 bytes), "Unsupported
//        bitmap - <name>" (not 24 bits a pixel, a size of 0 or less or over the
//        limit, e.g. a top-down bitmap), and "Error reading bitmap data" also
//        when the image size it states is less than its rows need;
//   TGA: "Couldn't read file "<name>"." also when the file exists but cannot
//        be opened or its header is short, and "Couldn't load "<name>". Image
//        size not supported." for a size of 0 or over the limit;
//   JPEG: the usual load message also when the image data fails to decode
//        after a good header, or the picture or the file (64 MiB) is too large.
bool readBmpTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                    TexturePlatform& platform);
bool readJpegTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                     TexturePlatform& platform);
bool readTgaTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                    TexturePlatform& platform);

// Makes a linearly filtered, mipmapped texture from rows given bottom row
// first, 3 (GL_RGB) or 4 (GL_RGBA) bytes per pixel, each row padded to a
// multiple of 4 bytes. Returns its name; the texture stays bound.
unsigned int uploadTexture(std::uint16_t width, std::uint16_t height, int format,
                           const std::uint8_t* pixels);

}  // namespace kb::renderer
