// Image readers of the Textures module. They see only bytes handed over by the
// platform, and never trust a header: every size is checked against the data
// that actually arrived before any pixel is touched.
#include "renderer/textures.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <utility>

#include "common/image.h"
#include "common/little_endian.h"

namespace kb::renderer {
namespace {

// Largest picture accepted. A header may claim anything; refusing above this
// keeps memory bounded (64 MiB of RGBA) and keeps the size within the 16 bits
// that uploadTexture takes.
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = 4096LL * 4096;
constexpr std::size_t kMaxDataBytes = static_cast<std::size_t>(kMaxPixels) * 4;
// Data is read in pieces so that a claimed size costs memory only for bytes
// that really exist.
constexpr std::size_t kReadChunk = std::size_t{1} << 20;

constexpr std::size_t kBmpHeaderBytes = 14 + 40;
constexpr std::size_t kTgaHeaderBytes = 18;

// Reads exactly `count` bytes into `out`; false when the data ends sooner.
bool readExactly(ByteSource& source, std::size_t count, std::vector<std::uint8_t>& out) {
  out.clear();
  while (out.size() < count) {
    const std::size_t had = out.size();
    const std::size_t want = std::min(kReadChunk, count - had);
    out.resize(had + want);
    const std::size_t got = source.read(out.data() + had, want);
    out.resize(had + got);
    if (got < want) return false;
  }
  return true;
}

// Reads and drops `count` bytes; false when the data ends sooner.
bool skipBytes(ByteSource& source, std::uint64_t count) {
  std::array<std::uint8_t, 4096> sink{};
  while (count > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(count, sink.size()));
    if (source.read(sink.data(), want) < want) return false;
    count -= want;
  }
  return true;
}

// Reads everything up to `limit` bytes; nothing when there is more than that.
std::optional<std::vector<std::uint8_t>> readAll(ByteSource& source, std::size_t limit) {
  std::vector<std::uint8_t> data;
  if (readExactly(source, limit + 1, data)) return std::nullopt;
  return data;
}

bool acceptableSize(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

// GL reads rows padded to 4 bytes (its default unpack alignment).
std::size_t paddedRowBytes(std::size_t width, std::size_t bytesPerPixel) {
  return (width * bytesPerPixel + 3) & ~std::size_t{3};
}

// Blue-green-red to red-green-blue in each row, leaving row padding alone.
void swapRedBlue(std::vector<std::uint8_t>& rows, std::size_t width, std::size_t height,
                 std::size_t rowBytes) {
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* row = rows.data() + y * rowBytes;
    for (std::size_t x = 0; x < width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);
  }
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

// The resource of a file name is named by the part before its first "."; a
// name without one gives an empty resource name.
std::string resourceName(const std::string& fileName) {
  const std::size_t dot = fileName.find('.');
  return dot == std::string::npos ? std::string() : fileName.substr(0, dot);
}

struct Picture {
  std::size_t width = 0;
  std::size_t height = 0;
  std::vector<std::uint8_t> rows;  // bottom row first, padded to 4 bytes
};

void storeTexture(const Picture& picture, int format, unsigned int& slot) {
  slot = uploadTexture(static_cast<std::uint16_t>(picture.width),
                       static_cast<std::uint16_t>(picture.height), format, picture.rows.data());
}

// ---- BMP ----

enum class BmpFault { none, header, palette, data, unsupported };

BmpFault readBmpPicture(ByteSource& source, Picture& picture) {
  std::vector<std::uint8_t> header;
  if (!readExactly(source, kBmpHeaderBytes, header)) return BmpFault::header;
  const std::int32_t width = static_cast<std::int32_t>(readLe32(&header[18]));
  const std::int32_t height = static_cast<std::int32_t>(readLe32(&header[22]));
  const std::uint16_t bitCount = readLe16(&header[28]);
  const std::uint32_t sizeImage = readLe32(&header[34]);
  const std::uint32_t colourCount = readLe32(&header[46]);

  // The colour table has no use for a 24-bit picture; it is only passed over.
  if (!skipBytes(source, std::uint64_t{colourCount} * 4)) return BmpFault::palette;

  if (bitCount != 24 || !acceptableSize(width, height)) return BmpFault::unsupported;
  picture.width = static_cast<std::size_t>(width);
  picture.height = static_cast<std::size_t>(height);
  const std::size_t rowBytes = paddedRowBytes(picture.width, 3);
  // NOTE: a size of 0 means "as the rows need", and rows are padded to 4 bytes.
  const std::size_t dataBytes = sizeImage != 0 ? sizeImage : rowBytes * picture.height;
  const std::size_t neededBytes = rowBytes * (picture.height - 1) + picture.width * 3;
  if (dataBytes < neededBytes) return BmpFault::data;
  // A claim beyond the rows (however large) is read through but not kept,
  // so memory stays bounded by the picture's size.
  const std::size_t keptBytes = std::min(dataBytes, rowBytes * picture.height);
  if (!readExactly(source, keptBytes, picture.rows)) return BmpFault::data;
  if (!skipBytes(source, dataBytes - keptBytes)) return BmpFault::data;

  picture.rows.resize(std::max(picture.rows.size(), rowBytes * picture.height), 0);
  swapRedBlue(picture.rows, picture.width, picture.height, rowBytes);
  return BmpFault::none;
}

void reportBmpFault(BmpFault fault, const std::string& fileName, bool fromResource,
                    TexturePlatform& platform) {
  const std::string caption = "BMP Unit";
  if (fault == BmpFault::unsupported) {
    platform.showMessage("Unsupported bitmap - " + fileName, caption);
  } else if (fromResource) {
    platform.showMessage("Unable to read from resource - " + fileName, caption);
  } else if (fault == BmpFault::header) {
    platform.showMessage("Error reading bitmap header", caption);
  } else if (fault == BmpFault::palette) {
    platform.showMessage("Error reading palette", caption);
  } else {
    platform.showMessage("Error reading bitmap data", caption);
  }
}

// ---- JPEG ----

std::optional<Picture> decodeJpegPicture(const std::vector<std::uint8_t>& data) {
  const std::optional<RgbImage> decoded = decodeJpeg(data.data(), data.size());
  if (!decoded || !acceptableSize(decoded->width, decoded->height)) return std::nullopt;
  const RgbImage& image = *decoded;
  Picture picture;
  picture.width = static_cast<std::size_t>(image.width);
  picture.height = static_cast<std::size_t>(image.height);
  picture.rows.resize(picture.width * picture.height * 4);
  std::uint8_t* out = picture.rows.data();
  for (int y = image.height - 1; y >= 0; --y) {
    const std::uint8_t* in = image.at(0, y);
    for (std::size_t x = 0; x < picture.width; ++x, in += 3, out += 4) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
      out[3] = 255;
    }
  }
  return picture;
}

// ---- TGA ----

enum class TgaFault { none, read, compressed, colourMapped, notTrueColour24, size };

TgaFault readTgaPicture(ByteSource& source, Picture& picture) {
  std::vector<std::uint8_t> header;
  if (!readExactly(source, kTgaHeaderBytes, header)) return TgaFault::read;
  if (header[2] != 2) return TgaFault::compressed;
  if (header[1] != 0) return TgaFault::colourMapped;
  if (header[16] != 24) return TgaFault::notTrueColour24;
  picture.width = readLe16(&header[12]);
  picture.height = readLe16(&header[14]);
  if (!acceptableSize(static_cast<std::int64_t>(picture.width),
                      static_cast<std::int64_t>(picture.height))) {
    return TgaFault::size;
  }
  std::vector<std::uint8_t> packed;
  const std::size_t packedRowBytes = picture.width * 3;
  if (!readExactly(source, packedRowBytes * picture.height, packed)) return TgaFault::read;

  // TGA rows carry no padding; GL expects each row to start on 4 bytes.
  const std::size_t rowBytes = paddedRowBytes(picture.width, 3);
  picture.rows.assign(rowBytes * picture.height, 0);
  for (std::size_t y = 0; y < picture.height; ++y) {
    std::memcpy(&picture.rows[y * rowBytes], &packed[y * packedRowBytes], packedRowBytes);
  }
  swapRedBlue(picture.rows, picture.width, picture.height, rowBytes);
  return TgaFault::none;
}

void reportTgaFault(TgaFault fault, const std::string& fileName, bool fromResource,
                    TexturePlatform& platform) {
  const std::string caption = "TGA File Error";
  const std::string cannotLoad = "Couldn't load " + quoted(fileName);
  switch (fault) {
    case TgaFault::compressed:
      platform.showMessage(cannotLoad + ". Compressed TGA files not supported.", caption);
      break;
    case TgaFault::colourMapped:
      platform.showMessage(cannotLoad + ". Colormapped TGA files not supported.", caption);
      break;
    case TgaFault::notTrueColour24:
      platform.showMessage(cannotLoad + ". Only 24 bit TGA files supported.", caption);
      break;
    case TgaFault::size:
      platform.showMessage(cannotLoad + ". Image size not supported.", caption);
      break;
    case TgaFault::read:
      if (fromResource) {
        platform.showMessage("Unable to read from resource - " + fileName, "BMP Unit");
      } else {
        platform.showMessage("Couldn't read file " + quoted(fileName) + ".", caption);
      }
      break;
    case TgaFault::none:
      break;
  }
}

}  // namespace

std::size_t MemoryByteSource::read(std::uint8_t* buffer, std::size_t count) {
  const std::size_t taken = std::min(count, size_ - position_);
  if (taken > 0) std::memcpy(buffer, data_ + position_, taken);
  position_ += taken;
  return taken;
}

void textureFromFile(const std::string& fileName, unsigned int& slot, bool fromResource,
                     TexturePlatform& platform) {
  if (fileName.size() < 4) return;
  const std::string extension = fileName.substr(fileName.size() - 4);
  if (extension == ".bmp") {
    readBmpTexture(fileName, slot, fromResource, platform);
  } else if (extension == ".jpg") {
    readJpegTexture(fileName, slot, fromResource, platform);
  } else if (extension == ".tga") {
    readTgaTexture(fileName, slot, fromResource, platform);
  }
}

bool readBmpTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                    TexturePlatform& platform) {
  std::unique_ptr<ByteSource> source;
  if (fromResource) {
    source = platform.openResource(resourceName(fileName), "BMP");
    if (!source) {
      platform.showMessage("File not found in resource - " + fileName, "BMP Texture");
      return false;
    }
  } else {
    source = platform.openFile(fileName);
    if (!source) {
      platform.showMessage("Error opening " + fileName, "BMP Unit");
      return false;
    }
  }
  Picture picture;
  const BmpFault fault = readBmpPicture(*source, picture);
  source.reset();
  if (fault != BmpFault::none) {
    reportBmpFault(fault, fileName, fromResource, platform);
    return false;
  }
  storeTexture(picture, GL_RGB, slot);
  return true;
}

bool readJpegTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                     TexturePlatform& platform) {
  std::unique_ptr<ByteSource> source;
  if (fromResource) {
    source = platform.openResource(resourceName(fileName), "JPEG");
    if (!source) {
      platform.showMessage("File not found in resource - " + fileName, "JPG Texture");
      return false;
    }
  } else {
    source = platform.openFile(fileName);
  }
  std::optional<Picture> picture;
  if (source) {
    const auto data = readAll(*source, kMaxDataBytes);
    source.reset();
    if (data) picture = decodeJpegPicture(*data);
  }
  if (!picture) {
    platform.showMessage(fromResource ? "Couldn't load JPG Resource - " + quoted(fileName)
                                      : "Couldn't load JPG - " + quoted(fileName),
                         "BMP Unit");
    return false;
  }
  storeTexture(*picture, GL_RGBA, slot);
  return true;
}

bool readTgaTexture(const std::string& fileName, unsigned int& slot, bool fromResource,
                    TexturePlatform& platform) {
  std::unique_ptr<ByteSource> source;
  if (fromResource) {
    source = platform.openResource(resourceName(fileName), "TGA");
    if (!source) {
      platform.showMessage("File not found in resource - " + fileName, "TGA Texture");
      return false;
    }
  } else {
    if (!platform.fileExists(fileName)) {
      platform.showMessage("File not found  - " + fileName, "TGA Texture");
      return false;
    }
    source = platform.openFile(fileName);
  }
  Picture picture;
  const TgaFault fault = source ? readTgaPicture(*source, picture) : TgaFault::read;
  source.reset();
  if (fault != TgaFault::none) {
    reportTgaFault(fault, fileName, fromResource, platform);
    return false;
  }
  storeTexture(picture, GL_RGB, slot);
  return true;
}

}  // namespace kb::renderer
