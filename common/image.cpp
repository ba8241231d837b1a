#include "common/image.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

namespace kb {
namespace {

// Larger pictures are refused before any pixel memory is taken, so a header
// that claims a huge size cannot exhaust memory.
constexpr long long kMaxJpegPixels = 40LL * 1000 * 1000;

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  char message[JMSG_LENGTH_MAX];
};

// NOTE: libjpeg's default error handler calls exit(); this one jumps back to
// the decoder instead, so a damaged file never ends the process.
void onJpegError(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  manager->base.format_message(info, manager->message);
  std::longjmp(manager->escape, 1);
}

void ignoreJpegMessage(j_common_ptr) {}

// Everything the decoder touches after setjmp lives here, on the heap, so
// that a longjmp leaves no local in an indeterminate state.
struct JpegJob {
  jpeg_decompress_struct info{};
  JpegErrorManager errors{};
  RgbImage image;
};

bool runJpegDecode(JpegJob& job, const std::uint8_t* data, std::size_t size) {
  jpeg_decompress_struct& info = job.info;
  if (setjmp(job.errors.escape)) return false;
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const long long pixels = static_cast<long long>(info.output_width) * info.output_height;
  if (info.output_components != 3 || pixels <= 0 || pixels > kMaxJpegPixels) {
    std::snprintf(job.errors.message, sizeof job.errors.message,
                  "unsupported JPEG size or colour layout");
    return false;
  }
  job.image.width = static_cast<int>(info.output_width);
  job.image.height = static_cast<int>(info.output_height);
  const std::size_t stride = static_cast<std::size_t>(job.image.width) * 3;
  job.image.pixels.assign(stride * static_cast<std::size_t>(job.image.height), 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = job.image.pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

void putLe16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  putLe16(out, at, value & 0xFFFF);
  putLe16(out, at + 2, value >> 16);
}

std::optional<RgbImage> decodeJpegWith(const std::uint8_t* data, std::size_t size,
                                       std::string* error, bool refuseWarnings) {
  auto job = std::make_unique<JpegJob>();
  job->info.err = jpeg_std_error(&job->errors.base);
  job->errors.base.error_exit = onJpegError;
  job->errors.base.output_message = ignoreJpegMessage;
  jpeg_create_decompress(&job->info);
  bool ok = data != nullptr && size > 0 && runJpegDecode(*job, data, size);
  if (ok && refuseWarnings && job->errors.base.num_warnings > 0) {
    std::snprintf(job->errors.message, sizeof job->errors.message, "damaged JPEG data");
    ok = false;
  }
  jpeg_destroy_decompress(&job->info);
  if (ok) return std::move(job->image);
  if (error) *error = size == 0 ? "empty JPEG data" : job->errors.message;
  return std::nullopt;
}

}  // namespace

std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size, std::string* error) {
  return decodeJpegWith(data, size, error, false);
}

std::optional<RgbImage> decodeCompleteJpeg(const std::uint8_t* data, std::size_t size,
                                           std::string* error) {
  return decodeJpegWith(data, size, error, true);
}

std::vector<std::uint8_t> encodeBitmap(const RgbImage& image) {
  constexpr std::size_t kHeaderBytes = 14 + 40;
  const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
  const std::size_t pixelBytes = rowBytes * static_cast<std::size_t>(image.height);
  std::vector<std::uint8_t> out(kHeaderBytes + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  putLe32(out, 2, static_cast<std::uint32_t>(out.size()));
  putLe32(out, 10, kHeaderBytes);
  putLe32(out, 14, 40);
  putLe32(out, 18, static_cast<std::uint32_t>(image.width));
  putLe32(out, 22, static_cast<std::uint32_t>(image.height));
  putLe16(out, 26, 1);
  putLe16(out, 28, 24);
  putLe32(out, 34, static_cast<std::uint32_t>(pixelBytes));
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* row = out.data() + kHeaderBytes + rowBytes * (image.height - 1 - y);
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* rgb = image.at(x, y);
      row[x * 3 + 0] = rgb[2];
      row[x * 3 + 1] = rgb[1];
      row[x * 3 + 2] = rgb[0];
    }
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace kb
