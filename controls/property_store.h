// The persisted property store a form keeps for each Command it carries: an
// ordered list of named values, with the "leave out what equals the default"
// rule applied when writing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kb::controls {

// A whole font object as a form stores it.
struct FontSpec {
  std::string face;  // UTF-8 typeface name
  double points = 9.0;
  std::int32_t charset = 1;  // 1: the system's default character set
  std::int32_t weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;

  friend bool operator==(const FontSpec& a, const FontSpec& b) {
    return a.face == b.face && a.points == b.points && a.charset == b.charset &&
           a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
           a.strikeout == b.strikeout;
  }
  friend bool operator!=(const FontSpec& a, const FontSpec& b) { return !(a == b); }
};

// Integers (booleans as -1/0, colours, flags), texts and fonts.
using PropertyValue = std::variant<std::int32_t, std::string, FontSpec>;

// What a control sees of its form's stored data.
class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // Stores `value` under `key`, or drops the key when `value` equals the
  // default: a reader gets the default back for an absent key.
  virtual void Write(const std::string& key, const PropertyValue& value,
                     const PropertyValue& defaultValue) = 0;
  // The stored value, or `defaultValue` when the key is absent; nullopt for
  // a failed read (a stored value of another type than the default).
  virtual std::optional<PropertyValue> Read(const std::string& key,
                                            const PropertyValue& defaultValue) const = 0;
};

// The store kept in memory for one control instance.
class PropertyStore : public PropertyBag {
 public:
  void Write(const std::string& key, const PropertyValue& value,
             const PropertyValue& defaultValue) override;
  std::optional<PropertyValue> Read(const std::string& key,
                                    const PropertyValue& defaultValue) const override;

  // Keys in the order they were first written.
  std::vector<std::string> Keys() const;

  bool Contains(const std::string& key) const;

 private:
  std::vector<std::pair<std::string, PropertyValue>> entries_;
};

}  // namespace kb::controls
