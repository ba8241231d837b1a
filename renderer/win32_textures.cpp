// Win32 side of the Textures module: files, the program's own resources and
// message boxes, through the ANSI entry points.
#include "renderer/win32_textures.h"

#include <windows.h>

#include <algorithm>

namespace kb::renderer {
namespace {

class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(HANDLE file) : file_(file) {}
  ~FileByteSource() override { CloseHandle(file_); }
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  std::size_t read(std::uint8_t* buffer, std::size_t count) override {
    std::size_t total = 0;
    while (total < count) {
      // ReadFile takes a 32-bit count; large requests go in pieces.
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - total, 1u << 30));
      DWORD got = 0;
      if (!ReadFile(file_, buffer + total, want, &got, nullptr) || got == 0) break;
      total += got;
    }
    return total;
  }

 private:
  HANDLE file_;
};

class Win32TexturePlatform : public TexturePlatform {
 public:
  void showMessage(const std::string& text, const std::string& caption) override {
    // In front of the topmost scene window, and given the foreground.
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
  }

  std::unique_ptr<ByteSource> openFile(const std::string& fileName) override {
    HANDLE file = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<FileByteSource>(file);
  }

  bool fileExists(const std::string& fileName) override {
    const DWORD attributes = GetFileAttributesA(fileName.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::unique_ptr<ByteSource> openResource(const std::string& name,
                                           const std::string& type) override {
    HRSRC resource = FindResourceA(nullptr, name.c_str(), type.c_str());
    if (!resource) return nullptr;
    // NOTE: a resource that is found but cannot be loaded reads as empty, so
    // the reader reports it as unreadable rather than as missing.
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    const std::size_t size = data ? SizeofResource(nullptr, resource) : 0;
    return std::make_unique<MemoryByteSource>(static_cast<const std::uint8_t*>(data), size);
  }
};

}  // namespace

TexturePlatform& win32TexturePlatform() {
  static Win32TexturePlatform platform;
  return platform;
}

}  // namespace kb::renderer
