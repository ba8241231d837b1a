// What a screen reader learns of the panel: a group named by its heading,
// holding the three music kinds as radio buttons, the chosen one checked.
#include <oleacc.h>

#include <array>

#include "common/win32_text.h"
#include "settings/win32_dialog_window.h"

namespace kb::settings {
namespace {

// The kinds in the order the panel shows them, as children 1 to 3.
constexpr std::array<int, 3> kShownKinds{1, 0, 2};

// The kind that has the keyboard within the panel: the chosen one, or the
// first shown while none is.
int focusedKind(int chosen) {
  return chosen >= 0 && chosen <= 2 ? chosen : kShownKinds.front();
}

}  // namespace

long SettingsDialog::AccessibleChildCount() {
  return static_cast<long>(kShownKinds.size());
}

controls::AccessibleElement SettingsDialog::AccessibleElementOf(long child) {
  controls::AccessibleElement element;
  RECT area{};
  if (child == CHILDID_SELF) {
    element.name = widen(text::kHeading, CP_UTF8);
    element.role = ROLE_SYSTEM_GROUPING;
    element.state = STATE_SYSTEM_FOCUSABLE | (panelFocused_ ? STATE_SYSTEM_FOCUSED : 0);
    GetWindowRect(panel_, &element.screen);
    return element;
  }
  const int kind = kShownKinds[static_cast<std::size_t>(child - 1)];
  element.name = widen(text::kKindLabels[static_cast<std::size_t>(kind)], CP_UTF8);
  element.role = ROLE_SYSTEM_RADIOBUTTON;
  element.state = STATE_SYSTEM_FOCUSABLE;
  if (shared_.BgmKind == kind) element.state |= STATE_SYSTEM_CHECKED;
  if (!IsWindowEnabled(window_)) element.state |= STATE_SYSTEM_UNAVAILABLE;
  if (panelFocused_ && focusedKind(shared_.BgmKind) == kind) element.state |= STATE_SYSTEM_FOCUSED;
  const RECT mark = pixelRect(layout::kKindMarks[static_cast<std::size_t>(kind)].rect, dpi_);
  const RECT label = pixelRect(layout::kKindLabels[static_cast<std::size_t>(kind)].rect, dpi_);
  UnionRect(&area, &mark, &label);
  MapWindowPoints(panel_, nullptr, reinterpret_cast<POINT*>(&area), 2);
  element.screen = area;
  element.defaultAction = L"\u30C1\u30A7\u30C3\u30AF";  // チェック, "check"
  return element;
}

// A screen reader's check: as a press on the kind's mark, which does
// nothing while a modal dialog of the window's own is open.
void SettingsDialog::DoAccessibleAction(long child) {
  if (child != CHILDID_SELF && IsWindowEnabled(window_))
    ShowKind(selectKind(shared_, kShownKinds[static_cast<std::size_t>(child - 1)]));
}

// Tells screen readers which kind is chosen now, and moves their focus with
// the arrow keys' choice.
void SettingsDialog::AnnounceKind() {
  for (std::size_t index = 0; index < kShownKinds.size(); ++index)
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, panel_, OBJID_CLIENT, static_cast<LONG>(index + 1));
  if (!panelFocused_) return;
  for (std::size_t index = 0; index < kShownKinds.size(); ++index)
    if (kShownKinds[index] == focusedKind(shared_.BgmKind))
      NotifyWinEvent(EVENT_OBJECT_FOCUS, panel_, OBJID_CLIENT, static_cast<LONG>(index + 1));
}

}  // namespace kb::settings
