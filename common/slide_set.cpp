#include "common/slide_set.h"

#include "common/little_endian.h"
#include "common/slide_files.h"

namespace kb {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kMinInfoHeaderBytes = 40;
// Far beyond any picture this program carries; refusing larger sizes keeps a
// lying header from asking for gigabytes.
constexpr long long kMaxBitmapPixels = 40LL * 1000 * 1000;

struct BitmapLayout {
  int width = 0;
  int height = 0;  // always positive here
  bool topDown = false;
  std::size_t pixelOffset = 0;
  std::size_t rowBytes = 0;
};

// Checks the two headers against each other and against the data length.
std::optional<BitmapLayout> readBitmapLayout(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size < kFileHeaderBytes + kMinInfoHeaderBytes) return std::nullopt;
  if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
  const std::uint8_t* info = data + kFileHeaderBytes;
  const std::uint32_t infoBytes = readLe32(info);
  const auto width = static_cast<std::int32_t>(readLe32(info + 4));
  const auto height = static_cast<std::int32_t>(readLe32(info + 8));
  if (infoBytes < kMinInfoHeaderBytes || readLe16(info + 12) != 1 || readLe16(info + 14) != 24 ||
      readLe32(info + 16) != 0)
    return std::nullopt;
  if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  BitmapLayout layout;
  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.topDown = height < 0;
  if (static_cast<long long>(layout.width) * layout.height > kMaxBitmapPixels) return std::nullopt;
  layout.pixelOffset = readLe32(data + 10);
  layout.rowBytes = (static_cast<std::size_t>(layout.width) * 3 + 3) & ~std::size_t{3};
  // Compared without adding to the claimed sizes, so nothing can wrap around.
  if (infoBytes > size - kFileHeaderBytes || layout.pixelOffset > size ||
      layout.pixelOffset < kFileHeaderBytes + infoBytes)
    return std::nullopt;
  if ((size - layout.pixelOffset) / layout.rowBytes < static_cast<std::size_t>(layout.height))
    return std::nullopt;
  return layout;
}

bool hasSlotSize(int index, int width, int height) {
  if (index == 0) return width == kReelWidth && height == kReelHeight;
  return width == kSlideSide && height == kSlideSide;
}

}  // namespace

std::optional<RgbImage> decodeBitmap24(const std::uint8_t* data, std::size_t size) {
  const std::optional<BitmapLayout> layout = readBitmapLayout(data, size);
  if (!layout) return std::nullopt;
  RgbImage image;
  image.width = layout->width;
  image.height = layout->height;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
  for (int y = 0; y < image.height; ++y) {
    const int storedRow = layout->topDown ? y : image.height - 1 - y;
    const std::uint8_t* bgr = data + layout->pixelOffset + layout->rowBytes * storedRow;
    std::uint8_t* rgb = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3;
    for (int x = 0; x < image.width; ++x, bgr += 3, rgb += 3) {
      rgb[0] = bgr[2];
      rgb[1] = bgr[1];
      rgb[2] = bgr[0];
    }
  }
  return image;
}

std::optional<std::vector<std::uint8_t>> makeSlideBitmapFile(int index, const std::uint8_t* data,
                                                             std::size_t size) {
  if (index < 0 || index >= kSlideFileCount) return std::nullopt;
  if (index == 0) {
    const std::optional<RgbImage> reel = decodeBitmap24(data, size);
    if (!reel || !hasSlotSize(0, reel->width, reel->height)) return std::nullopt;
    return encodeBitmap(*reel);
  }
  // A slide is decoded straight into its file's rows.
  auto file = decodeCompleteJpegToBitmap(data, size);
  if (!file) return std::nullopt;
  const auto width = static_cast<int>(readLe32(file->data() + 18));
  const auto height = static_cast<int>(readLe32(file->data() + 22));
  if (!hasSlotSize(index, width, height)) return std::nullopt;
  return file;
}

}  // namespace kb
