// Any settings value (and any preview handle text) is read as a number or
// left alone, never a crash; a number read back from its own text is the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/number_text.h"
#include "host/settings_file.h"

namespace {

// A settings file whose every key holds the fuzz input.
class FuzzProfilePort final : public kb::ProfilePort {
 public:
  explicit FuzzProfilePort(const std::string& value) : value_(value) {}
  void readString(const char*, const char*, char* buffer, std::size_t size, const char*) override {
    const std::size_t count = value_.size() < size - 1 ? value_.size() : size - 1;
    std::memcpy(buffer, value_.data(), count);
    buffer[count] = '\0';
  }
  std::int32_t writeString(const char*, const char*, const char*, const char*) override {
    return 0;
  }
  bool canOpenForReading(const std::string&) override { return false; }
  kb::LeadByteTest leadByteTest() override {
    return [](unsigned char) { return false; };
  }

 private:
  std::string value_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (const auto number = kb::settingNumber(text)) {
    if (kb::settingNumber(std::to_string(*number)) != number) std::abort();
  }
  kb::handleNumber(text);

  FuzzProfilePort port(text);
  kb::SharedState shared;
  kb::LoadSettings(port, shared, "C:\\fuzz");
  // No file can be opened here, so a file setting never survives.
  if (!shared.BgmFile.empty() || shared.BgmKind == 2) std::abort();
  return 0;
}
