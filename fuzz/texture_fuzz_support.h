// One fuzz input served as both a file and a resource of the program, so that
// each reader's file and resource paths see the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "renderer/textures.h"

namespace kb::fuzz {

class SingleInputPlatform : public renderer::TexturePlatform {
 public:
  SingleInputPlatform(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  void showMessage(const std::string&, const std::string&) override {}
  std::unique_ptr<renderer::ByteSource> openFile(const std::string&) override {
    return std::make_unique<renderer::MemoryByteSource>(data_, size_);
  }
  bool fileExists(const std::string&) override { return true; }
  std::unique_ptr<renderer::ByteSource> openResource(const std::string&,
                                                     const std::string&) override {
    return std::make_unique<renderer::MemoryByteSource>(data_, size_);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Loads the input through textureFromFile from a file and from a resource.
inline void loadBothWays(const std::string& fileName, const std::uint8_t* data, std::size_t size) {
  SingleInputPlatform platform(data, size);
  unsigned int slot = 0;
  renderer::textureFromFile(fileName, slot, false, platform);
  renderer::textureFromFile(fileName, slot, true, platform);
}

}  // namespace kb::fuzz
