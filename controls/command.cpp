#include "controls/command.h"

#include <variant>

namespace kb::controls {
namespace {

using namespace face_state;

const PropertyValue kTrueValue = std::int32_t{kTrue};
const PropertyValue kOneValue = std::int32_t{1};
const PropertyValue kZeroValue = std::int32_t{0};

// Reads an integer key; false when the read failed (the step is skipped).
bool ReadInt(const PropertyBag& bag, const char* key, const PropertyValue& fallback,
             std::int32_t& out) {
  const auto value = bag.Read(key, fallback);
  if (!value || !std::holds_alternative<std::int32_t>(*value)) return false;
  out = std::get<std::int32_t>(*value);
  return true;
}

}  // namespace

CommandCore::CommandCore(CommandPort& port) : port_(port) {
  label_.font = port_.AmbientFont();
}

void CommandCore::Initialize() {
  faceState_ = kNormal;
  port_.StartTracking();
}

void CommandCore::MouseMove() {
  if (enabled_ == kFalse) return;
  if (faceState_ == kNormal) {
    faceState_ = kHighLight;
    PaintFace(Skin::HighLight);
  }
  if (faceState_ == kSelected && leftDown_ == kFalse) {
    faceState_ = kHighLightSelect;
    PaintFace(Skin::HighLightSelect);
  }
}

void CommandCore::MouseDown(MouseButton button) {
  if (enabled_ == kFalse || button != MouseButton::Left) return;
  leftDown_ = kTrue;
  PaintFace(Skin::Pressed);
}

void CommandCore::MouseUp(MouseButton button) {
  if (enabled_ == kFalse) return;
  if (button == MouseButton::Left) {
    leftDown_ = kFalse;
    if (faceState_ == kHighLight) PaintFace(Skin::Normal);
    if (faceState_ == kHighLightSelect) PaintFace(Skin::HighLightSelect);
  }
  // NOTE: last step on purpose: the host may destroy the control in Click.
  if (faceState_ != kSelected && enabled_ == kTrue) {
    keyClickTaken_ = keyHeld_;
    port_.RaiseClick();
  }
}

void CommandCore::KeyDown() {
  if (enabled_ == kFalse || keyHeld_) return;
  keyHeld_ = true;
  keyClickTaken_ = false;
  PaintFace(Skin::Pressed);
}

void CommandCore::KeyUp() {
  if (enabled_ == kFalse || !keyHeld_) return;
  keyHeld_ = false;
  // A mouse still pressing clicks on its own release; one that clicked
  // during the key's press took its Click.
  if (leftDown_ == kTrue || keyClickTaken_) return;
  PaintFace(StateSkin());
  port_.RaiseClick();
}

Skin CommandCore::StateSkin() const {
  switch (faceState_) {
    case kHighLight:
      return Skin::HighLight;
    case kSelected:
      return Skin::Selected;
    case kHighLightSelect:
      return Skin::HighLightSelect;
    default:
      return Skin::Normal;
  }
}

void CommandCore::FocusGained() {
  if (enabled_ == kFalse) return;
  if (faceState_ != kHighLight) {
    faceState_ = kSelected;
    PaintFace(Skin::Selected);
  }
  if (faceState_ == kHighLight) {
    faceState_ = kHighLightSelect;
    PaintFace(Skin::Pressed);
  }
}

void CommandCore::FocusLost() {
  keyHeld_ = false;  // its release goes to the window that has the focus now
  if (enabled_ == kFalse) return;
  if (faceState_ != kNormal) {
    faceState_ = kNormal;
    PaintFace(Skin::Normal);
  }
}

void CommandCore::TrackingTick(PointerPlace place) {
  // The caption has no window of its own, so only the control's window counts as over it.
  if (place != PointerPlace::OwnWindow) MouseLeave();
}

void CommandCore::Resized() {
  UpdateEnabledFace();
}

void CommandCore::Repaint() {
  PaintFace(enabled_ == kFalse ? Skin::Disable : StateSkin());
}

std::int16_t CommandCore::Enabled() {
  if (firstRun_ == 0) {
    ResetFace();
    firstRun_ = 1;
    enabled_ = kTrue;
  }
  const std::int16_t result = enabled_;
  UpdateEnabledFace();
  return result;
}

void CommandCore::SetEnabled(bool enabled) {
  enabled_ = enabled ? kTrue : kFalse;
  port_.PropertyChanged("Enabled");
  UpdateEnabledFace();
}

void CommandCore::SetCaption(const std::string& text) {
  label_.text = text;
  port_.LabelChanged();
  port_.PropertyChanged("Caption");
}

void CommandCore::SetFont(const FontSpec& font) {
  label_.font = font;
  port_.LabelChanged();
  port_.PropertyChanged("Font");
}

std::uint32_t CommandCore::FontColour() {
  const std::uint32_t colour = label_.colour;
  ResetFace();
  return colour;
}

void CommandCore::SetFontColour(std::uint32_t colour) {
  label_.colour = colour;
  port_.LabelChanged();
  ResetFace();
  port_.PropertyChanged("FontColour");
}

std::uint8_t CommandCore::Visible() {
  if (!opaque_) return 0;
  ResetFace();
  return 255;
}

void CommandCore::SetVisible(std::uint8_t visible) {
  opaque_ = visible != 0;
  port_.LabelChanged();
  if (opaque_) ResetFace();
  port_.PropertyChanged("Visible");
}

void CommandCore::ReadProperties(const PropertyBag& bag) {
  std::int32_t number = 0;
  if (ReadInt(bag, "Enabled", kTrueValue, number)) enabled_ = number != 0 ? kTrue : kFalse;
  if (const auto caption = bag.Read("Caption", std::string("Command1"));
      caption && std::holds_alternative<std::string>(*caption)) {
    label_.text = std::get<std::string>(*caption);
  }
  if (const auto font = bag.Read("Font", port_.AmbientFont());
      font && std::holds_alternative<FontSpec>(*font)) {
    label_.font = std::get<FontSpec>(*font);
  }
  // An 8-bit value out of range is a failed read: FirstRun keeps its value.
  if (ReadInt(bag, "FirstRun", kOneValue, number) && number >= 0 && number <= 255) {
    firstRun_ = static_cast<std::uint8_t>(number);
  }
  if (ReadInt(bag, "FontColour", kZeroValue, number)) {
    label_.colour = static_cast<std::uint32_t>(number);
  }
  if (ReadInt(bag, "Visible", kOneValue, number)) opaque_ = number != 0;
  port_.LabelChanged();
  ResetFace();
}

void CommandCore::WriteProperties(PropertyBag& bag) {
  bag.Write("Enabled", std::int32_t{enabled_}, kTrueValue);
  bag.Write("Caption", label_.text, std::string("Command"));
  bag.Write("FirstRun", std::int32_t{firstRun_}, kOneValue);
  bag.Write("Font", label_.font, port_.AmbientFont());
  bag.Write("FontColour", static_cast<std::int32_t>(label_.colour), kZeroValue);
  bag.Write("Visible", std::int32_t{opaque_ ? 1 : 0}, kOneValue);
  ResetFace();
}

void CommandCore::PaintFace(Skin skin) {
  if (faceState_ == kNormal || faceState_ == kSelected) gradientReversed_ = kFalse;
  if (faceState_ == kHighLight) gradientReversed_ = kTrue;
  port_.DrawFace(skin, gradientReversed_ != kFalse);
}

void CommandCore::UpdateEnabledFace() {
  label_.enabled = enabled_ != kFalse;
  PaintFace(enabled_ != kFalse ? Skin::Normal : Skin::Disable);
}

void CommandCore::ResetFace() {
  if (enabled_ == kFalse) return;
  label_.enabled = true;
  if (firstRun_ == 0) label_.colour = 0;
  PaintFace(Skin::Normal);
}

void CommandCore::MouseLeave() {
  if (enabled_ == kFalse) return;
  if (faceState_ == kHighLight) {
    faceState_ = kNormal;
    PaintFace(Skin::Normal);
  }
  if (faceState_ == kHighLightSelect) {
    faceState_ = kSelected;
    PaintFace(Skin::Selected);
  }
}

}  // namespace kb::controls
