// The settings dialog's window object, shared by the files of its Win32 glue:
// win32_settings_dialog.cpp makes the windows, loads them and answers their
// messages; win32_dialog_painting.cpp draws the two pictures behind the
// windowless controls; win32_dialog_keys.cpp handles the keyboard, the focus
// and presses on the panel; win32_dialog_shell.cpp opens the music file's
// dialog and the maker's web page.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "common/shared_state.h"
#include "controls/win32_accessible.h"
#include "controls/win32_command.h"
#include "settings/dialog_model.h"
#include "settings/win32_settings_dialog.h"

namespace kb::settings {

// A twips rectangle in client-area pixels at `dotsPerInch`.
RECT pixelRect(const TwipsRect& twips, int dotsPerInch);

// A font of `points` at `dotsPerInch`.
HFONT createFont(const char* faceUtf8, double points, BYTE charset, int dotsPerInch);

// A persistent off-screen picture of a window's client area: the gradient
// and the windowless controls are drawn into it, and WM_PAINT copies it.
class Canvas {
 public:
  ~Canvas() { release(); }

  HDC resize(int width, int height) {
    release();
    const HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
    ReleaseDC(nullptr, screen);
    oldBitmap_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return dc_;
  }

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void paint(HWND window) const {
    PAINTSTRUCT paint;
    const HDC target = BeginPaint(window, &paint);
    if (dc_ != nullptr) BitBlt(target, 0, 0, width_, height_, dc_, 0, 0, SRCCOPY);
    EndPaint(window, &paint);
  }

 private:
  void release() {
    if (dc_ == nullptr) return;
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
  }

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

class SettingsDialog final : private controls::AccessibleSource {
 public:
  SettingsDialog(HINSTANCE instance, SharedState& shared, const DialogHost& host)
      : instance_(instance), shared_(shared), host_(host) {}

  ~SettingsDialog() {
    DeleteObject(labelFont_);
    DeleteObject(panelFont_);
    DeleteObject(markEmpty_);
    DeleteObject(markFilled_);
    if (owner_ != nullptr) DestroyWindow(owner_);
  }

  // Creates the windows; on failure the object is gone with them.
  bool Create();
  void Load();
  HWND Window() const { return window_; }
  bool PreTranslate(const MSG& message);
  void ShowModal();

  static SettingsDialog* FromWindow(HWND window) {
    return reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT HandleWindow(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePanel(UINT message, WPARAM wParam, LPARAM lParam);

  bool CreateControls();
  controls::Command* CreateButton(HWND parent, int id, const ControlLayout& where,
                                  const char* caption, void (SettingsDialog::*onClick)());
  void PlaceWindow();
  SIZE OuterSize(int dotsPerInch) const;
  void FitClientArea();
  std::array<HGDIOBJ, 4> MakeDpiResources();
  void ChangeDpi(int dotsPerInch, const RECT* suggested);
  void PlaceAtNewDpi(const RECT* suggested);
  void ShowKind(const KindView& view);
  void RenderWindowImage();
  void RenderPanelImage();
  void PressOnPanel(POINT at);
  void MoveFocus(bool backwards);
  void ShowKeyboardCues();
  void PanelFocusChanged(bool focused);

  // AccessibleSource: the panel as a group of three radio buttons, one per
  // music kind in the order it shows them (win32_dialog_accessible.cpp).
  long AccessibleChildCount() override;
  controls::AccessibleElement AccessibleElementOf(long child) override;
  void DoAccessibleAction(long child) override;
  void AnnounceKind();

  // Runs a call that may run a message loop of its own (the music file's
  // modal dialog, the shell, the close animation): a close that arrives
  // meanwhile waits for its end, so the window and this object outlive it.
  template <typename Call>
  void WhileBusy(Call call) {
    ++busy_;
    call();
    if (--busy_ == 0 && closePending_) {
      closePending_ = false;
      PostMessageW(window_, WM_CLOSE, 0, 0);
    }
  }

  void Browse();
  void Confirm();
  void Cancel() { PostMessageW(window_, WM_CLOSE, 0, 0); }
  void OpenWebPage();
  void Unload();

  HINSTANCE instance_;
  SharedState& shared_;
  DialogHost host_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HWND panel_ = nullptr;
  HWND repeatBox_ = nullptr;
  controls::Command* cmdBgm_ = nullptr;
  controls::Command* cmdSet_ = nullptr;
  controls::Command* cmdCan_ = nullptr;
  controls::Command* cmdEtc_ = nullptr;
  HFONT labelFont_ = nullptr;
  HFONT panelFont_ = nullptr;
  HBITMAP markEmpty_ = nullptr;
  HBITMAP markFilled_ = nullptr;
  HBRUSH white_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  Canvas windowImage_;
  Canvas panelImage_;
  KindView view_ = kindView(-1);
  HWND lastFocus_ = nullptr;
  int dpi_ = kScreenDotsPerInch;  // of the monitor the window is on
  bool keyboardCues_ = false;     // the keyboard was used: the focus is drawn
  bool panelFocused_ = false;
  int busy_ = 0;  // calls of WhileBusy under way
  bool closePending_ = false;
  controls::Accessible panelAccessible_{*this};
};

}  // namespace kb::settings
