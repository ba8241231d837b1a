// What a screen reader learns of an owner-drawn control through Microsoft
// Active Accessibility, the way Microsoft documents for custom controls: the
// control answers WM_GETOBJECT for its client area with an IAccessible made
// here, which asks the control for every answer.
#pragma once

#include <windows.h>

#include <string>

namespace kb::controls {

// The control itself (child 0) or one of its parts (children 1, 2, ...).
struct AccessibleElement {
  std::wstring name;
  long role = 0;               // ROLE_SYSTEM_*
  long state = 0;              // STATE_SYSTEM_*
  RECT screen{};               // where it lies, in screen pixels
  std::wstring defaultAction;  // empty when it has none
};

class AccessibleSource {
 public:
  virtual long AccessibleChildCount() = 0;
  virtual AccessibleElement AccessibleElementOf(long child) = 0;
  virtual void DoAccessibleAction(long child) = 0;

 protected:
  ~AccessibleSource() = default;
};

class AccessibleObject;

// Owned by the control. When it goes, an object a screen reader still holds
// answers with an error instead of reaching a control that is gone.
class Accessible {
 public:
  explicit Accessible(AccessibleSource& source) : source_(source) {}
  ~Accessible();
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  // The reply to WM_GETOBJECT: the IAccessible for OBJID_CLIENT, 0 for any
  // other object (DefWindowProc answers those) or without oleacc.
  LRESULT Answer(HWND window, WPARAM wParam, LPARAM lParam);

 private:
  AccessibleSource& source_;
  AccessibleObject* object_ = nullptr;
};

}  // namespace kb::controls
