#include "ini_file_port.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kb::test {
namespace {

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool sameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

std::string unquoted(const std::string& value) {
  if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                            (value.front() == '\'' && value.back() == '\'')))
    return value.substr(1, value.size() - 2);
  return value;
}

// The value of section/key in the file, or nothing.
bool findValue(const std::string& file, const std::string& section, const std::string& key,
               std::string& value) {
  std::ifstream in(nativePath(file), std::ios::binary);
  if (!in) return false;
  std::string line;
  bool inSection = false;
  while (std::getline(in, line)) {
    const std::string text = trimmed(line);
    if (!text.empty() && text.front() == '[') {
      const auto close = text.find(']');
      inSection =
          close != std::string::npos && sameName(trimmed(text.substr(1, close - 1)), section);
      continue;
    }
    const auto equals = text.find('=');
    if (!inSection || equals == std::string::npos) continue;
    if (sameName(trimmed(text.substr(0, equals)), key)) {
      value = unquoted(trimmed(text.substr(equals + 1)));
      return true;
    }
  }
  return false;
}

}  // namespace

std::string nativePath(const std::string& windowsPath, LeadByteTest isLeadByte) {
  std::string path;
  for (const std::string_view character : ansiCharacters(windowsPath, isLeadByte))
    path += character == "\\" ? std::string_view("/") : character;
  return path;
}

void IniFilePort::readString(const char* section, const char* key, char* buffer, std::size_t size,
                             const char* file) {
  std::string value;
  if (!findValue(file, section, key, value)) value.clear();
  const std::size_t count = std::min(value.size(), size - 1);
  std::memcpy(buffer, value.data(), count);
  buffer[count] = '\0';
}

std::int32_t IniFilePort::writeString(const char* section, const char* key, const char* value,
                                      const char* file) {
  writes.push_back(std::string(section) + "/" + key);
  std::ofstream out(nativePath(file), std::ios::binary | std::ios::app);
  out << "[" << section << "]\n" << key << "=" << value << "\n";
  return out ? 1 : 0;
}

bool IniFilePort::canOpenForReading(const std::string& path) {
  struct stat info {};
  const std::string native = nativePath(path, isLeadByte);
  if (stat(native.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return std::ifstream(native).good();
}

}  // namespace kb::test
