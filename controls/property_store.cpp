#include "controls/property_store.h"

#include <algorithm>

namespace kb::controls {

void PropertyStore::Write(const std::string& key, const PropertyValue& value,
                          const PropertyValue& defaultValue) {
  auto found = std::find_if(entries_.begin(), entries_.end(),
                            [&](const auto& entry) { return entry.first == key; });
  if (value == defaultValue) {
    if (found != entries_.end()) entries_.erase(found);
    return;
  }
  if (found != entries_.end()) {
    found->second = value;
  } else {
    entries_.emplace_back(key, value);
  }
}

std::optional<PropertyValue> PropertyStore::Read(const std::string& key,
                                                 const PropertyValue& defaultValue) const {
  for (const auto& [storedKey, storedValue] : entries_) {
    if (storedKey != key) continue;
    if (storedValue.index() != defaultValue.index()) return std::nullopt;
    return storedValue;
  }
  return defaultValue;
}

std::vector<std::string> PropertyStore::Keys() const {
  std::vector<std::string> keys;
  for (const auto& entry : entries_) keys.push_back(entry.first);
  return keys;
}

bool PropertyStore::Contains(const std::string& key) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const auto& entry) { return entry.first == key; });
}

}  // namespace kb::controls
