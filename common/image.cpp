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
  bool toBitmap = false;  // straight into a bitmap file's bottom-up BGR rows
  RgbImage image;         // otherwise
  std::vector<std::uint8_t> bitmap;
};

constexpr std::size_t kBitmapHeaderBytes = 14 + 40;

std::size_t bitmapRowBytes(int width) {
  return (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
}

void putLe16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void putLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  putLe16(out, at, value & 0xFFFF);
  putLe16(out, at + 2, value >> 16);
}

// A bitmap file of the given size with its headers written and its rows
// zero (so row padding stays zero).
std::vector<std::uint8_t> bitmapWithHeader(int width, int height) {
  const std::size_t pixelBytes = bitmapRowBytes(width) * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> out(kBitmapHeaderBytes + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  putLe32(out, 2, static_cast<std::uint32_t>(out.size()));
  putLe32(out, 10, kBitmapHeaderBytes);
  putLe32(out, 14, 40);
  putLe32(out, 18, static_cast<std::uint32_t>(width));
  putLe32(out, 22, static_cast<std::uint32_t>(height));
  putLe16(out, 26, 1);
  putLe16(out, 28, 24);
  putLe32(out, 34, static_cast<std::uint32_t>(pixelBytes));
  return out;
}

bool runJpegDecode(JpegJob& job, const std::uint8_t* data, std::size_t size) {
  jpeg_decompress_struct& info = job.info;
  if (setjmp(job.errors.escape)) return false;
  jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = job.toBitmap ? JCS_EXT_BGR : JCS_RGB;
  jpeg_start_decompress(&info);
  const long long pixels = static_cast<long long>(info.output_width) * info.output_height;
  if (info.output_components != 3 || pixels <= 0 || pixels > kMaxJpegPixels) {
    std::snprintf(job.errors.message, sizeof job.errors.message,
                  "unsupported JPEG size or colour layout");
    return false;
  }
  const int width = static_cast<int>(info.output_width);
  const int height = static_cast<int>(info.output_height);
  // Each scanline lands where it stays: no second pass over the pixels.
  std::uint8_t* first = nullptr;
  std::ptrdiff_t step = 0;
  if (job.toBitmap) {
    job.bitmap = bitmapWithHeader(width, height);
    step = -static_cast<std::ptrdiff_t>(bitmapRowBytes(width));
    first = job.bitmap.data() + kBitmapHeaderBytes - step * (height - 1);
  } else {
    job.image.width = width;
    job.image.height = height;
    step = static_cast<std::ptrdiff_t>(width) * 3;
    job.image.pixels.assign(static_cast<std::size_t>(step) * static_cast<std::size_t>(height), 0);
    first = job.image.pixels.data();
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = first + step * static_cast<std::ptrdiff_t>(info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

std::unique_ptr<JpegJob> decodeJpegWith(const std::uint8_t* data, std::size_t size,
                                        std::string* error, bool refuseWarnings, bool toBitmap) {
  auto job = std::make_unique<JpegJob>();
  job->toBitmap = toBitmap;
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
  if (ok) return job;
  if (error) *error = size == 0 ? "empty JPEG data" : job->errors.message;
  return nullptr;
}

}  // namespace

std::optional<RgbImage> decodeJpeg(const std::uint8_t* data, std::size_t size, std::string* error) {
  auto job = decodeJpegWith(data, size, error, false, false);
  if (!job) return std::nullopt;
  return std::move(job->image);
}

std::optional<RgbImage> decodeCompleteJpeg(const std::uint8_t* data, std::size_t size,
                                           std::string* error) {
  auto job = decodeJpegWith(data, size, error, true, false);
  if (!job) return std::nullopt;
  return std::move(job->image);
}

std::optional<std::vector<std::uint8_t>> decodeCompleteJpegToBitmap(const std::uint8_t* data,
                                                                    std::size_t size,
                                                                    std::string* error) {
  auto job = decodeJpegWith(data, size, error, true, true);
  if (!job) return std::nullopt;
  return std::move(job->bitmap);
}

std::vector<std::uint8_t> encodeBitmap(const RgbImage& image) {
  std::vector<std::uint8_t> out = bitmapWithHeader(image.width, image.height);
  const std::size_t rowBytes = bitmapRowBytes(image.width);
  for (int y = 0; y < image.height; ++y) {
    std::uint8_t* row = out.data() + kBitmapHeaderBytes + rowBytes * (image.height - 1 - y);
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
