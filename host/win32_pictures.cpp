#include "host/win32_pictures.h"

#include <windows.h>

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

bool writeSlideFile(int index) {
  const auto picture = embeddedPicture(KB_SLIDE_PICTURE + index);
  if (!picture) return false;
  const auto bytes = makeSlideBitmapFile(index, picture->data, picture->size);
  if (!bytes) return false;
  const HANDLE file = CreateFileA(slideFileName(index).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes->size();
}

std::optional<RgbImage> previewPicture() {
  const auto picture = embeddedPicture(KB_PREVIEW_PICTURE);
  if (!picture) return std::nullopt;
  return decodeJpeg(picture->data, picture->size);
}

}  // namespace kb
