#include "controls/win32_accessible.h"

#include <oleacc.h>

#include <iterator>

#include "common/win32_system_dlls.h"

namespace kb::controls {
namespace {

// oleacc and oleaut32, bound from the system folder at the first request: a
// program that no screen reader asks never loads them.
struct AccessibilityFunctions {
  LRESULT(WINAPI* lresultFromObject)(REFIID, WPARAM, LPUNKNOWN) = nullptr;
  HRESULT(WINAPI* accessibleObjectFromWindow)(HWND, DWORD, REFIID, void**) = nullptr;
  BSTR(WINAPI* sysAllocString)(const OLECHAR*) = nullptr;
  HRESULT(WINAPI* coInitializeEx)(void*, DWORD) = nullptr;
};

const AccessibilityFunctions* accessibility() {
  static const AccessibilityFunctions* bound = [] {
    static AccessibilityFunctions functions;
    const SystemFunction oleacc[] = {
        {"LresultFromObject", reinterpret_cast<void**>(&functions.lresultFromObject)},
        {"AccessibleObjectFromWindow",
         reinterpret_cast<void**>(&functions.accessibleObjectFromWindow)}};
    const SystemFunction oleaut[] = {
        {"SysAllocString", reinterpret_cast<void**>(&functions.sysAllocString)}};
    const SystemFunction ole[] = {
        {"CoInitializeEx", reinterpret_cast<void**>(&functions.coInitializeEx)}};
    const bool ok = bindSystemFunctions("oleacc.dll", oleacc, std::size(oleacc)) &&
                    bindSystemFunctions("oleaut32.dll", oleaut, std::size(oleaut)) &&
                    bindSystemFunctions("ole32.dll", ole, std::size(ole));
    return ok ? &functions : nullptr;
  }();
  return bound;
}

VARIANT longVariant(long value) {
  VARIANT variant{};
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

}  // namespace

// NOTE: every answer is asked of the control at the time it is asked, so
// nothing here goes stale; after Disconnect every call fails.
class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(HWND window, AccessibleSource& source) : window_(window), source_(&source) {}

  void Disconnect() { source_ = nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (id != __uuidof(IUnknown) && id != __uuidof(IDispatch) && id != __uuidof(IAccessible))
      return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: no type information; screen readers call IAccessible directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (source_ == nullptr) return RPC_E_DISCONNECTED;
    const AccessibilityFunctions* functions = accessibility();
    if (functions == nullptr) return S_FALSE;
    return functions->accessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW),
                                                 __uuidof(IDispatch),
                                                 reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (count == nullptr) return E_POINTER;
    if (source_ == nullptr) return RPC_E_DISCONNECTED;
    *count = source_->AccessibleChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
    if (dispatch == nullptr) return E_POINTER;
    *dispatch = nullptr;
    return Check(child) == S_OK ? S_FALSE : Check(child);  // the parts are simple elements
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [](const AccessibleElement& e) { return e.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override { return Nothing(value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
    return Nothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Number(child, role, [](const AccessibleElement& e) { return e.role; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Number(child, state, [](const AccessibleElement& e) { return e.state; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* text) override { return Nothing(text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override {
    return Nothing(file);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* text) override {
    return Nothing(text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    focus->vt = VT_EMPTY;
    if (source_ == nullptr) return RPC_E_DISCONNECTED;
    if (GetFocus() != window_) return S_FALSE;
    for (long child = 1; child <= source_->AccessibleChildCount(); ++child)
      if (source_->AccessibleElementOf(child).state & STATE_SYSTEM_FOCUSED) {
        *focus = longVariant(child);
        return S_OK;
      }
    *focus = longVariant(CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    selection->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action, [](const AccessibleElement& e) { return e.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
      return E_POINTER;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    const RECT r = source_->AccessibleElementOf(child.lVal).screen;
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
    if (end != nullptr) end->vt = VT_EMPTY;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (hit == nullptr) return E_POINTER;
    hit->vt = VT_EMPTY;
    if (source_ == nullptr) return RPC_E_DISCONNECTED;
    const POINT at{x, y};
    for (long child = source_->AccessibleChildCount(); child >= 0; --child) {
      const RECT r = source_->AccessibleElementOf(child).screen;
      if (PtInRect(&r, at)) {
        *hit = longVariant(child);
        return S_OK;
      }
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    if (source_->AccessibleElementOf(child.lVal).defaultAction.empty())
      return DISP_E_MEMBERNOTFOUND;
    source_->DoAccessibleAction(child.lVal);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleObject() = default;

  HRESULT Check(const VARIANT& child) const {
    if (source_ == nullptr) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > source_->AccessibleChildCount())
      return E_INVALIDARG;
    return S_OK;
  }

  template <typename Field>
  HRESULT Text(const VARIANT& child, BSTR* out, Field field) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    const std::wstring text = field(source_->AccessibleElementOf(child.lVal));
    const AccessibilityFunctions* functions = accessibility();
    if (text.empty() || functions == nullptr) return S_FALSE;
    *out = functions->sysAllocString(text.c_str());
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  template <typename Field>
  HRESULT Number(const VARIANT& child, VARIANT* out, Field field) {
    if (out == nullptr) return E_POINTER;
    out->vt = VT_EMPTY;
    if (const HRESULT checked = Check(child); checked != S_OK) return checked;
    *out = longVariant(field(source_->AccessibleElementOf(child.lVal)));
    return S_OK;
  }

  static HRESULT Nothing(BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }

  HWND window_;
  AccessibleSource* source_;
  LONG references_ = 1;
};

Accessible::~Accessible() {
  if (object_ == nullptr) return;
  object_->Disconnect();
  object_->Release();
}

LRESULT Accessible::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return 0;
  const AccessibilityFunctions* functions = accessibility();
  if (functions == nullptr) return 0;
  if (object_ == nullptr) {
    // NOTE: the object reaches the screen reader through COM marshalling,
    // which needs COM on this thread: initialised once, apartment-threaded,
    // and kept for as long as the thread may be asked.
    functions->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    object_ = new AccessibleObject(window, source_);
  }
  return functions->lresultFromObject(__uuidof(IAccessible), wParam, object_);
}

}  // namespace kb::controls
