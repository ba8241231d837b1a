// The Command button's behaviour: its FaceState machine, properties and
// persisted keys, over a port that paints the face and reaches the host.
// The Win32 window (win32_command.*) turns messages into these calls.
#pragma once

#include <cstdint>
#include <string>

#include "controls/property_store.h"

namespace kb::controls {

// The six skin pictures of the face.
enum class Skin { Normal, HighLight, HighLightSelect, Selected, Pressed, Disable };

// Values of FaceState.
namespace face_state {
constexpr std::uint8_t kUninitialized = 0;
constexpr std::uint8_t kNormal = 1;           // no focus, pointer elsewhere
constexpr std::uint8_t kHighLight = 2;        // pointer over, no focus
constexpr std::uint8_t kSelected = 3;         // focus, pointer elsewhere
constexpr std::uint8_t kHighLightSelect = 4;  // focus and pointer over
}  // namespace face_state

enum class MouseButton { Left, Right, Middle };

// What the tracking timer found under the pointer.
enum class PointerPlace { OwnWindow, ParentWindow, Elsewhere };

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

// The caption label LblMsg.
struct CaptionLabel {
  std::string text = "Command";  // UTF-8
  FontSpec font;
  std::uint32_t colour = 0;  // &H00BBGGRR
  bool enabled = true;
};

// What the control asks of the window that shows it and of its host form.
class CommandPort {
 public:
  virtual ~CommandPort() = default;
  // Paints the whole face with `skin` over the gradient (top colour light
  // unless `gradientReversed`) and places the caption.
  virtual void DrawFace(Skin skin, bool gradientReversed) = 0;
  // The caption label or the background style changed: show it.
  virtual void LabelChanged() = 0;
  // Switches the 100 ms pointer tracking timer on.
  virtual void StartTracking() = 0;
  virtual void RaiseClick() = 0;
  // Tells the host that a persisted property changed.
  virtual void PropertyChanged(const char* key) = 0;
  // The container's ambient font.
  virtual FontSpec AmbientFont() const = 0;
};

class CommandCore {
 public:
  explicit CommandCore(CommandPort& port);

  void Initialize();

  // Events from the window.
  void MouseMove();
  void MouseDown(MouseButton button);
  void MouseUp(MouseButton button);
  void FocusGained();
  void FocusLost();
  // Space or Enter on the focused button: down shows the pressed face, as a
  // mouse press does; up raises Click. A key and the mouse pressing together
  // raise one Click.
  void KeyDown();
  void KeyUp();
  void TrackingTick(PointerPlace place);
  void Resized();
  // The face of the present state drawn again (the window's resolution
  // changed): Selected on the focused button, the disabled face when disabled.
  void Repaint();

  // Properties. Reading Enabled, FontColour and Visible repaints the face.
  std::int16_t Enabled();
  void SetEnabled(bool enabled);
  const std::string& Caption() const { return label_.text; }
  void SetCaption(const std::string& text);
  const FontSpec& Font() const { return label_.font; }
  void SetFont(const FontSpec& font);
  std::uint32_t FontColour();
  void SetFontColour(std::uint32_t colour);
  std::uint8_t Visible();
  void SetVisible(std::uint8_t visible);

  // The form loads or saves the control.
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag);

  // State, for the window's painting and for tests.
  std::uint8_t FaceState() const { return faceState_; }
  std::int16_t LeftDown() const { return leftDown_; }
  std::int16_t EnabledValue() const { return enabled_; }
  std::uint8_t FirstRun() const { return firstRun_; }
  bool Opaque() const { return opaque_; }
  const CaptionLabel& Label() const { return label_; }

 private:
  void PaintFace(Skin skin);
  void UpdateEnabledFace();
  void ResetFace();
  void MouseLeave();
  // The face of the current FaceState.
  Skin StateSkin() const;

  CommandPort& port_;
  std::uint8_t faceState_ = face_state::kUninitialized;
  std::int16_t leftDown_ = kFalse;
  bool keyHeld_ = false;
  bool keyClickTaken_ = false;     // the mouse clicked while the key was held
  std::int16_t enabled_ = kFalse;  // a control never stored starts disabled
  std::uint8_t firstRun_ = 0;
  std::int16_t gradientReversed_ = kFalse;
  bool opaque_ = true;
  CaptionLabel label_;
};

}  // namespace kb::controls
