// The dialog's keyboard and focus, and presses of the mouse on its panel.
#include <array>
#include <optional>

#include "settings/win32_dialog_window.h"

namespace kb::settings {

// A press of any mouse button on a kind's mark or label selects that kind.
void SettingsDialog::PressOnPanel(POINT at) {
  SetFocus(panel_);
  if (const std::optional<int> kind = kindAt(at.x, at.y, dpi_))
    ShowKind(selectKind(shared_, *kind));
}

// The keys every dialog answers, before the focused control sees them: Tab
// and Shift+Tab through the focus order, Enter for OK and Esc for Cancel
// (a focused button takes Enter itself, an open track list both), and the
// arrow keys through the music kinds while the panel has the focus.
bool SettingsDialog::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  ShowKeyboardCues();
  const bool listOpen = SendMessageW(repeatBox_, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:
      if (listOpen || controls::Command::FromWindow(GetFocus()) != nullptr) return false;
      Confirm();
      return true;
    case VK_ESCAPE:
      if (listOpen) return false;
      Cancel();
      return true;
    case VK_UP:
    case VK_DOWN:
    case VK_LEFT:
    case VK_RIGHT: {
      if (GetFocus() != panel_) return false;
      const bool forward = message.wParam == VK_DOWN || message.wParam == VK_RIGHT;
      ShowKind(selectKind(shared_, kindAfterArrow(shared_.BgmKind, forward)));
      return true;
    }
    default:
      return false;
  }
}

void SettingsDialog::MoveFocus(bool backwards) {
  // Indexed by FocusStop.
  const std::array<HWND, kFocusStopCount> stops{
      panel_,           repeatBox_, cmdBgm_->Window(), cmdSet_->Window(), cmdCan_->Window(),
      cmdEtc_->Window()};
  const HWND focus = GetFocus();
  std::size_t current = 0;
  std::array<bool, kFocusStopCount> canFocus{};
  for (std::size_t i = 0; i < stops.size(); ++i) {
    if (stops[i] == focus || IsChild(stops[i], focus)) current = i;
    canFocus[i] = IsWindowEnabled(stops[i]) && IsWindowVisible(stops[i]);
  }
  const FocusStop next = nextFocus(static_cast<FocusStop>(current), backwards, canFocus);
  if (next == static_cast<FocusStop>(current)) return;
  SetFocus(stops[static_cast<std::size_t>(next)]);
  if (next == FocusStop::RepeatBox) SendMessageW(repeatBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// NOTE: as in every Windows dialog, the focus is drawn only once the
// keyboard is in use: a mouse user sees the dialog as it always was.
void SettingsDialog::ShowKeyboardCues() {
  if (keyboardCues_) return;
  keyboardCues_ = true;
  RenderPanelImage();
}

void SettingsDialog::PanelFocusChanged(bool focused) {
  panelFocused_ = focused;
  RenderPanelImage();
}

}  // namespace kb::settings
