// The Command button as a Win32 child window: the header a form includes.
//
//   kb::controls::CommandSetup setup;
//   setup.id = 101;
//   setup.bounds = {4800, 3000, 1095, 375};          // twips, in the parent's client area
//   setup.caption = "設定";                           // UTF-8
//   setup.font = kb::controls::DialogFont();          // ＭＳ Ｐゴシック 9.75 pt, charset 128
//   kb::controls::Command* ok = kb::controls::Command::Create(parentWindow, setup);
//   ok->Initialize();                                 // once the form has loaded
//
// Click reaches the form in one of two ways: when `CommandSetup::onClick` is
// set it is called; otherwise the parent window receives WM_COMMAND with
// wParam = MAKEWPARAM(id, BN_CLICKED) and lParam = the button's HWND. Click is
// raised on mouse-button releases, and on the release of Space or Enter
// pressed while the button has the focus. Keep ids away from IDOK and
// IDCANCEL (1, 2): IsDialogMessage sends those for Return and Esc.
//
// Create loads the caption and font as a form loads its stored properties, so
// a caption of exactly "Command" (never stored) comes back as "Command1".
// SetEnabled(false) also disables the window: it leaves the tab order.
//
// The window owns the Command object: it is deleted when the window is
// destroyed (also when a Click handler destroys the form). Programs that use it
// link kb_controls and the skin resources (kb_controls_resources).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "controls/command.h"
#include "controls/face_geometry.h"
#include "controls/property_store.h"
#include "controls/win32_accessible.h"

namespace kb::controls {

// The font the settings dialog gives its buttons.
FontSpec DialogFont();

// The ambient font a container offers when it says nothing else.
FontSpec DefaultAmbientFont();

struct CommandSetup {
  int id = 0;
  Rect bounds{0, 0, 1755, 420};  // twips
  std::string caption = "Command";
  FontSpec font = DefaultAmbientFont();
  FontSpec ambientFont = DefaultAmbientFont();
  std::function<void()> onClick;                       // optional, see above
  std::function<void(const char*)> onPropertyChanged;  // optional: persisted key changed
  int dotsPerInch = kScreenDotsPerInch;  // the parent's resolution: bounds, face and caption
};

class Command final : private CommandPort, private AccessibleSource {
 public:
  // Creates the button as a focusable child of `parent`, loaded from the
  // caption and font of `setup` as a form loads its stored properties.
  // nullptr when the window cannot be created.
  static Command* Create(HWND parent, const CommandSetup& setup);
  // Same, loaded from a whole stored property set.
  static Command* Create(HWND parent, const CommandSetup& setup, const PropertyBag& stored);
  // The Command behind a window made by Create, or nullptr.
  static Command* FromWindow(HWND window);

  HWND Window() const { return window_; }

  // The parent moved to a display of another resolution and has moved and
  // sized the window: the face of the present state is drawn again at
  // `dotsPerInch`, and the caption from the next paint.
  void SetDpi(int dotsPerInch);

  // Sets FaceState 1 and starts the 100 ms pointer tracking. Paints nothing.
  void Initialize() { core_.Initialize(); }

  // Reading Enabled repaints the face (and enables a control never stored).
  bool Enabled();
  void SetEnabled(bool enabled);
  std::string Caption() const { return core_.Caption(); }
  void SetCaption(const std::string& utf8);
  FontSpec Font() const { return core_.Font(); }
  void SetFont(const FontSpec& font);
  std::uint32_t FontColour() { return core_.FontColour(); }
  void SetFontColour(std::uint32_t colour) { core_.SetFontColour(colour); }
  // 0: transparent background: only the caption is drawn, over what the
  // parent paints for WM_ERASEBKGND and WM_PRINTCLIENT; 255: opaque face.
  std::uint8_t Visible() { return core_.Visible(); }
  void SetVisible(std::uint8_t visible) { core_.SetVisible(visible); }

  // The form saves the control into, or reloads it from, its stored data.
  void WriteProperties(PropertyBag& bag) { core_.WriteProperties(bag); }
  void ReadProperties(const PropertyBag& bag);

  // For inspection: the state machine and the persistent image of the face.
  const CommandCore& Core() const { return core_; }
  HDC FaceImage() const { return faceDc_; }

  ~Command() override;
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

 private:
  Command(HWND window, const CommandSetup& setup);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  // CommandPort
  void DrawFace(Skin skin, bool gradientReversed) override;
  void LabelChanged() override;
  void StartTracking() override;
  void RaiseClick() override;
  void PropertyChanged(const char* key) override;
  FontSpec AmbientFont() const override { return ambientFont_; }

  // AccessibleSource: a push button named by its caption.
  long AccessibleChildCount() override { return 0; }
  AccessibleElement AccessibleElementOf(long child) override;
  void DoAccessibleAction(long child) override;

  LRESULT OnButtonDown(UINT message);
  LRESULT OnButtonUp(UINT message, WPARAM heldButtons);
  std::optional<PointerPlace> WhereIsPointer() const;
  void ResizeFaceImage();
  void FillGradient(bool reversed, int widthPixels, int heightPixels);
  void DrawFrame(Skin skin);
  void Show(HDC target);
  void ShowParentBackground(HDC target);
  void DrawCaption(HDC target, int widthPixels);
  void SyncWindowEnabled();
  bool FormEnabled() const;
  void AccessiblePress();

  HWND window_;
  int id_;
  FontSpec ambientFont_;
  std::function<void()> onClick_;
  std::function<void(const char*)> onPropertyChanged_;
  CommandCore core_;
  HDC faceDc_ = nullptr;
  HBITMAP faceBitmap_ = nullptr;
  HGDIOBJ oldFaceBitmap_ = nullptr;
  int dpi_;
  HFONT captionFont_ = nullptr;
  FontSpec captionFontSpec_;
  int captionFontDpi_ = 0;
  FramePieces pieces_{};
  double captionTop_ = 0;  // twips
  int dispatchDepth_ = 0;
  bool destroyed_ = false;
  Accessible accessible_{*this};
};

}  // namespace kb::controls
