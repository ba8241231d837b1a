#include "tools/picture_gen/encoders.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>

namespace kb::gen {
namespace {

void appendLe16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void appendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  appendLe16(out, value & 0xFFFF);
  appendLe16(out, value >> 16);
}

// The generator's own pictures never fail to encode; if libjpeg complains
// anyway, stop loudly rather than write a half picture.
void onCompressError(j_common_ptr info) {
  char message[JMSG_LENGTH_MAX];
  info->err->format_message(info, message);
  std::fprintf(stderr, "kb_picture_gen: libjpeg: %s\n", message);
  std::exit(1);
}

}  // namespace

std::vector<std::uint8_t> encodeBaselineJpeg(const RgbImage& image, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  errors.error_exit = onCompressError;
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long length = 0;
  jpeg_mem_dest(&info, &buffer, &length);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);  // TRUE: baseline quantisation tables
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = FALSE;
  jpeg_start_compress(&info, TRUE);
  const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixels.data() + stride * info.next_scanline);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<std::uint8_t> bytes(buffer, buffer + length);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

std::vector<std::uint8_t> encodeIcon(const IndexedIcon& icon) {
  const auto side = static_cast<std::uint32_t>(icon.side);
  const std::uint32_t colourRowBytes = (side + 3) & ~3u;
  const std::uint32_t maskRowBytes = ((side + 31) / 32) * 4;
  const std::uint32_t imageBytes = 40 + 256 * 4 + (colourRowBytes + maskRowBytes) * side;
  std::vector<std::uint8_t> out;
  // Icon directory with its one entry.
  appendLe16(out, 0);
  appendLe16(out, 1);  // type: icon
  appendLe16(out, 1);  // one image
  out.push_back(static_cast<std::uint8_t>(side));
  out.push_back(static_cast<std::uint8_t>(side));
  out.push_back(0);  // 0 colours in this field means 256
  out.push_back(0);
  appendLe16(out, 1);  // planes
  appendLe16(out, 8);  // bits per pixel
  appendLe32(out, imageBytes);
  appendLe32(out, 6 + 16);
  // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
  appendLe32(out, 40);
  appendLe32(out, side);
  appendLe32(out, side * 2);
  appendLe16(out, 1);
  appendLe16(out, 8);
  appendLe32(out, 0);
  appendLe32(out, (colourRowBytes + maskRowBytes) * side);
  appendLe32(out, 0);
  appendLe32(out, 0);
  appendLe32(out, 256);
  appendLe32(out, 0);
  for (const Rgb& c : icon.palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (std::uint32_t y = side; y-- > 0;) {
    for (std::uint32_t x = 0; x < colourRowBytes; ++x)
      out.push_back(x < side ? icon.indices[y * side + x] : 0);
  }
  for (std::uint32_t y = side; y-- > 0;) {
    std::vector<std::uint8_t> row(maskRowBytes, 0);
    for (std::uint32_t x = 0; x < side; ++x)
      if (icon.transparent[y * side + x]) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace kb::gen
