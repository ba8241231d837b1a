// Shared helpers of the texture tests: an in-memory platform that records
// message boxes, and reading a texture back from GL.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "renderer/textures.h"

namespace kb::test {

struct Message {
  std::string text;
  std::string caption;
  bool operator==(const Message& other) const {
    return text == other.text && caption == other.caption;
  }
  friend std::ostream& operator<<(std::ostream& out, const Message& message) {
    return out << '"' << message.text << "\" / \"" << message.caption << '"';
  }
};

// Files and resources held in memory; every message box is recorded.
class RecordingPlatform : public renderer::TexturePlatform {
 public:
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::map<std::string, std::vector<std::uint8_t>> resources;  // key: type + "/" + name
  std::vector<std::string> unopenableFiles;                    // exist, but opening fails
  std::vector<Message> messages;
  std::vector<std::string> openedResources;

  void showMessage(const std::string& text, const std::string& caption) override {
    messages.push_back({text, caption});
  }
  std::unique_ptr<renderer::ByteSource> openFile(const std::string& fileName) override {
    for (const auto& name : unopenableFiles) {
      if (name == fileName) return nullptr;
    }
    const auto found = files.find(fileName);
    if (found == files.end()) return nullptr;
    return std::make_unique<renderer::MemoryByteSource>(found->second.data(), found->second.size());
  }
  bool fileExists(const std::string& fileName) override {
    for (const auto& name : unopenableFiles) {
      if (name == fileName) return true;
    }
    return files.count(fileName) != 0;
  }
  std::unique_ptr<renderer::ByteSource> openResource(const std::string& name,
                                                     const std::string& type) override {
    openedResources.push_back(type + "/" + name);
    const auto found = resources.find(type + "/" + name);
    if (found == resources.end()) return nullptr;
    return std::make_unique<renderer::MemoryByteSource>(found->second.data(), found->second.size());
  }
};

// The base level of a texture as tightly packed RGBA rows, bottom row first.
struct TextureImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
  const std::uint8_t* at(int x, int y) const {
    return rgba.data() + (static_cast<std::size_t>(y) * width + x) * 4;
  }
};

inline TextureImage readTexture(unsigned int name) {
  TextureImage image;
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &image.width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &image.height);
  image.rgba.assign(static_cast<std::size_t>(image.width) * image.height * 4, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return image;
}

}  // namespace kb::test
