#include "host/win32_pictures.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/slide_files.h"
#include "common/slide_set.h"
#include "host/picture_resources.h"

namespace kb {

std::optional<EmbeddedBytes> embeddedPicture(int resourceNumber) {
  const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resourceNumber), RT_RCDATA);
  if (!found) return std::nullopt;
  const HGLOBAL loaded = LoadResource(nullptr, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return std::nullopt;
  return EmbeddedBytes{static_cast<const std::uint8_t*>(data), SizeofResource(nullptr, found)};
}

namespace {

// Writes all of `bytes` as the file `path`, created anew or emptied first.
// `share` must allow what others that hold the file open may do with it.
bool writeWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                    DWORD share = 0) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD count = 0;
  const bool complete =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &count, nullptr) &&
      count == bytes.size();
  const bool closed = CloseHandle(file) != FALSE;
  return complete && closed;
}

// Writes the whole file beside `path` and only then moves it over the old
// one, so that a write that fails (a full disk) leaves the older file for the
// renderer rather than a cut one; what it started is removed.
// NOTE: the move fails whenever another process holds the old file without
// FILE_SHARE_DELETE, as virus scanners do with freshly written files
// (MoveFileEx, Microsoft Learn: replacing needs DELETE access to the
// target). The whole file was written, so there is room: it is then written
// in place, which such a holder allows as long as it shares writing.
bool replaceFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  const std::string written = path + ".new";
  // Left by a show that was cut off between its write and its move.
  DeleteFileA(written.c_str());
  const bool complete = writeWholeFile(written, bytes);
  if (complete && MoveFileExA(written.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
    return true;
  DeleteFileA(written.c_str());
  return complete && writeWholeFile(path, bytes, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

}  // namespace

bool writeSlideFile(int index) {
  const auto picture = embeddedPicture(KB_SLIDE_PICTURE + index);
  if (!picture) return false;
  const auto bytes = makeSlideBitmapFile(index, picture->data, picture->size);
  return bytes && replaceFile(slideFileName(index), *bytes);
}

std::optional<RgbImage> previewPicture() {
  const auto picture = embeddedPicture(KB_PREVIEW_PICTURE);
  if (!picture) return std::nullopt;
  return decodeJpeg(picture->data, picture->size);
}

}  // namespace kb
