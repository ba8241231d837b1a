#include "controls/win32_command.h"

#include <oleacc.h>

#include <cmath>
#include <string>

#include "common/win32_text.h"
#include "controls/win32_skins.h"

namespace kb::controls {
namespace {

constexpr wchar_t kClassName[] = L"KbCommand";
constexpr UINT_PTR kTrackingTimer = 1;
constexpr UINT kTrackingInterval = 100;  // ms
constexpr LPARAM kKeyWasDown = 1 << 30;  // a key message's previous key state
// A screen reader's press, carried out once its call has returned.
constexpr UINT kAccessiblePress = WM_USER + 1;

// The keys that press a focused push button.
bool IsPressKey(WPARAM key) {
  return key == VK_SPACE || key == VK_RETURN;
}

bool RegisterCommandClass(WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kClassName, &windowClass)) return true;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

// A colour of the form &H800000nn names a system colour, as forms store them.
COLORREF ToColorRef(std::uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFFu));
  return static_cast<COLORREF>(colour & 0x00FFFFFFu);
}

HFONT CreateCaptionFont(const FontSpec& font, int dotsPerInch) {
  const int height = -pointsToPixels(font.points, dotsPerInch);
  return CreateFontW(height, 0, 0, 0, font.weight, font.italic, font.underline, font.strikeout,
                     static_cast<DWORD>(font.charset & 0xFF), OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                     kb::widen(font.face).c_str());
}

}  // namespace

FontSpec DialogFont() {
  return {"ＭＳ Ｐゴシック", 9.75, 128, 400, false, false, false};
}

FontSpec DefaultAmbientFont() {
  return {"ＭＳ Ｐゴシック", 9.0, 128, 400, false, false, false};
}

Command* Command::Create(HWND parent, const CommandSetup& setup) {
  PropertyStore stored;
  stored.Write("Caption", setup.caption, std::string("Command"));
  stored.Write("Font", setup.font, setup.ambientFont);
  return Create(parent, setup, stored);
}

Command* Command::Create(HWND parent, const CommandSetup& setup, const PropertyBag& stored) {
  if (!RegisterCommandClass(&Command::WindowProc)) return nullptr;
  const Rect pixels = TwipsToPixels(setup.bounds, setup.dotsPerInch);
  HWND window =
      CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                      pixels.left, pixels.top, pixels.width, pixels.height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(setup.id)),
                      GetModuleHandleW(nullptr), const_cast<CommandSetup*>(&setup));
  Command* command = FromWindow(window);
  if (command) command->ReadProperties(stored);
  return command;
}

Command* Command::FromWindow(HWND window) {
  wchar_t className[32] = {};
  if (!window || !GetClassNameW(window, className, 32) || std::wstring(className) != kClassName) {
    return nullptr;
  }
  return reinterpret_cast<Command*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

Command::Command(HWND window, const CommandSetup& setup)
    : window_(window),
      id_(setup.id),
      ambientFont_(setup.ambientFont),
      onClick_(setup.onClick),
      onPropertyChanged_(setup.onPropertyChanged),
      core_(*this),
      dpi_(usableDpi(setup.dotsPerInch)) {
  HDC screen = GetDC(nullptr);
  faceDc_ = CreateCompatibleDC(screen);
  if (screen) ReleaseDC(nullptr, screen);
}

Command::~Command() {
  if (faceDc_ && oldFaceBitmap_) SelectObject(faceDc_, oldFaceBitmap_);
  if (faceBitmap_) DeleteObject(faceBitmap_);
  if (faceDc_) DeleteDC(faceDc_);
  if (captionFont_) DeleteObject(captionFont_);
}

bool Command::Enabled() {
  return core_.Enabled() != kFalse;
}

void Command::SetDpi(int dotsPerInch) {
  dpi_ = usableDpi(dotsPerInch);
  core_.Repaint();
}

void Command::SetEnabled(bool enabled) {
  core_.SetEnabled(enabled);
}

void Command::SetCaption(const std::string& utf8) {
  core_.SetCaption(utf8);
}

void Command::SetFont(const FontSpec& font) {
  core_.SetFont(font);
}

void Command::ReadProperties(const PropertyBag& bag) {
  core_.ReadProperties(bag);
}

LRESULT CALLBACK Command::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const auto* setup = static_cast<const CommandSetup*>(create->lpCreateParams);
    if (!setup) return FALSE;
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(new Command(window, *setup)));
  }
  auto* self = reinterpret_cast<Command*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  // NOTE: a Click handler may destroy the window while a message is being
  // handled; the object is deleted only once the outermost handler returns.
  ++self->dispatchDepth_;
  const LRESULT result = self->Handle(message, wParam, lParam);
  --self->dispatchDepth_;
  if (self->destroyed_ && self->dispatchDepth_ == 0) delete self;
  return result;
}

LRESULT Command::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = window_;
  switch (message) {
    case WM_NCDESTROY:
      KillTimer(window, kTrackingTimer);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      destroyed_ = true;
      window_ = nullptr;
      break;
    case WM_SIZE:
      ResizeFaceImage();
      core_.Resized();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the face image covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      if (HDC dc = BeginPaint(window, &paint)) {
        Show(dc);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_PRINTCLIENT:
      Show(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT object = accessible_.Answer(window, wParam, lParam)) return object;
      break;
    case WM_MOUSEMOVE: {
      // Moves reported while the mouse is captured but the pointer is outside are not "over".
      RECT client;
      POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (GetClientRect(window, &client) && PtInRect(&client, point)) core_.MouseMove();
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      return OnButtonDown(message);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return OnButtonUp(message, wParam);
    case WM_KEYDOWN:
      if (!IsPressKey(wParam)) break;
      if (!(lParam & kKeyWasDown)) core_.KeyDown();  // not the key's auto-repeat
      return 0;
    case WM_KEYUP:
      if (!IsPressKey(wParam)) break;
      core_.KeyUp();
      return 0;
    case WM_SETFOCUS:
      core_.FocusGained();
      return 0;
    case WM_KILLFOCUS:
      core_.FocusLost();
      return 0;
    case kAccessiblePress:
      AccessiblePress();
      return 0;
    case WM_TIMER:
      if (wParam == kTrackingTimer) {
        if (const auto place = WhereIsPointer()) core_.TrackingTick(*place);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Command::OnButtonDown(UINT message) {
  // Releases come back here even when the pointer has left the button.
  SetCapture(window_);
  if (message == WM_LBUTTONDOWN) {
    if (GetFocus() != window_) SetFocus(window_);
    if (!destroyed_) core_.MouseDown(MouseButton::Left);
  } else {
    core_.MouseDown(message == WM_RBUTTONDOWN ? MouseButton::Right : MouseButton::Middle);
  }
  return 0;
}

LRESULT Command::OnButtonUp(UINT message, WPARAM heldButtons) {
  if (!(heldButtons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window_) {
    ReleaseCapture();
  }
  const MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                             : message == WM_RBUTTONUP ? MouseButton::Right
                                                       : MouseButton::Middle;
  core_.MouseUp(button);
  return 0;
}

std::optional<PointerPlace> Command::WhereIsPointer() const {
  POINT pointer;
  if (!GetCursorPos(&pointer)) return std::nullopt;
  HWND under = WindowFromPoint(pointer);
  if (under == window_) return PointerPlace::OwnWindow;
  if (under != nullptr && under == GetParent(window_)) return PointerPlace::ParentWindow;
  return PointerPlace::Elsewhere;
}

void Command::ResizeFaceImage() {
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right > 0 ? client.right : 1;
  const int height = client.bottom > 0 ? client.bottom : 1;
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  if (screen) ReleaseDC(nullptr, screen);
  if (!bitmap || !faceDc_) {
    if (bitmap) DeleteObject(bitmap);
    return;  // keeps the previous image
  }
  HGDIOBJ previous = SelectObject(faceDc_, bitmap);
  if (!oldFaceBitmap_) oldFaceBitmap_ = previous;
  if (faceBitmap_) DeleteObject(faceBitmap_);
  faceBitmap_ = bitmap;
}

void Command::DrawFace(Skin skin, bool gradientReversed) {
  if (destroyed_ || !faceDc_) return;
  SyncWindowEnabled();
  RECT client{};
  GetClientRect(window_, &client);
  const int heightTwips = pixelsToTwips(client.bottom, dpi_);
  pieces_ = ComputeFramePieces(pixelsToTwips(client.right, dpi_), heightTwips, pieces_);
  FillRect(faceDc_, &client, GetSysColorBrush(COLOR_BTNFACE));
  FillGradient(gradientReversed, client.right, client.bottom);
  DrawFrame(skin);
  captionTop_ = CaptionTop(heightTwips);
  InvalidateRect(window_, nullptr, FALSE);
  UpdateWindow(window_);
}

void Command::FillGradient(bool reversed, int widthPixels, int heightPixels) {
  const auto vertices = GradientVertices(reversed, widthPixels, heightPixels);
  TRIVERTEX points[2] = {};
  for (int i = 0; i < 2; ++i) {
    points[i].x = vertices[i].x;
    points[i].y = vertices[i].y;
    points[i].Red = vertices[i].colour.red;
    points[i].Green = vertices[i].colour.green;
    points[i].Blue = vertices[i].colour.blue;
  }
  GRADIENT_RECT rectangle{0, 1};
  // gdi32's own gradient, which msimg32's GradientFill calls: msimg32 is not
  // a KnownDLL, so importing it would let a planted copy beside the program run.
  GdiGradientFill(faceDc_, points, 2, &rectangle, 1, GRADIENT_FILL_RECT_V);
}

void Command::DrawFrame(Skin skin) {
  HBITMAP picture = SkinBitmap(skin, dpi_);
  HDC source = picture ? CreateCompatibleDC(faceDc_) : nullptr;
  if (!source) return;  // the gradient shows where the frame would be
  HGDIOBJ previous = SelectObject(source, picture);
  SetStretchBltMode(faceDc_, COLORONCOLOR);
  for (const FramePiece& piece : pieces_) {
    const Rect to = TwipsToPixels(piece.destination, dpi_);
    const Rect from = TwipsToPixels(piece.source, dpi_);
    if (to.width <= 0 || to.height <= 0) continue;
    StretchBlt(faceDc_, to.left, to.top, to.width, to.height, source, from.left, from.top,
               from.width, from.height, SRCCOPY);
  }
  SelectObject(source, previous);
  DeleteDC(source);
}

void Command::Show(HDC target) {
  RECT client{};
  GetClientRect(window_, &client);
  if (core_.Opaque()) {
    BitBlt(target, 0, 0, client.right, client.bottom, faceDc_, 0, 0, SRCCOPY);
  } else {
    ShowParentBackground(target);
  }
  DrawCaption(target, client.right);
}

void Command::ShowParentBackground(HDC target) {
  HWND parent = GetParent(window_);
  if (!parent) return;
  POINT origin{0, 0};
  MapWindowPoints(window_, parent, &origin, 1);
  POINT previous{};
  SetViewportOrgEx(target, -origin.x, -origin.y, &previous);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(target), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT);
  SetViewportOrgEx(target, previous.x, previous.y, nullptr);
}

void Command::DrawCaption(HDC target, int widthPixels) {
  const CaptionLabel& label = core_.Label();
  if (!captionFont_ || !(captionFontSpec_ == label.font) || captionFontDpi_ != dpi_) {
    if (captionFont_) DeleteObject(captionFont_);
    captionFont_ = CreateCaptionFont(label.font, dpi_);
    captionFontSpec_ = label.font;
    captionFontDpi_ = dpi_;
  }
  const std::wstring text = kb::widen(label.text);
  const int top = static_cast<int>(std::lround(captionTop_ * dpi_ / kTwipsPerInch));
  RECT box{0, top, widthPixels, top + twipsToPixels(kCaptionHeight, dpi_)};
  const UINT format = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
  HGDIOBJ previousFont = captionFont_ ? SelectObject(target, captionFont_) : nullptr;
  SetBkMode(target, TRANSPARENT);
  if (label.enabled) {
    SetTextColor(target, ToColorRef(label.colour));
  } else {
    // The greyed look of disabled text: a light copy one pixel down and right, grey on top.
    RECT shadow = box;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(target, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(target, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    SetTextColor(target, GetSysColor(COLOR_GRAYTEXT));
  }
  DrawTextW(target, text.c_str(), static_cast<int>(text.size()), &box, format);
  if (previousFont) SelectObject(target, previousFont);
}

void Command::LabelChanged() {
  if (destroyed_) return;
  // The caption is also the window's text, which screen readers and other
  // tools read as the button's name.
  SetWindowTextW(window_, kb::widen(core_.Caption()).c_str());
  SyncWindowEnabled();
  InvalidateRect(window_, nullptr, FALSE);
}

void Command::StartTracking() {
  if (!destroyed_) SetTimer(window_, kTrackingTimer, kTrackingInterval, nullptr);
}

void Command::RaiseClick() {
  if (destroyed_) return;
  if (onClick_) {
    onClick_();
  } else if (HWND parent = GetParent(window_)) {
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED),
                 reinterpret_cast<LPARAM>(window_));
  }
}

AccessibleElement Command::AccessibleElementOf(long) {
  AccessibleElement element;
  element.name = kb::widen(core_.Caption());
  element.role = ROLE_SYSTEM_PUSHBUTTON;
  element.state = STATE_SYSTEM_FOCUSABLE;
  if (GetFocus() == window_) element.state |= STATE_SYSTEM_FOCUSED;
  if (core_.EnabledValue() == kFalse || !FormEnabled()) element.state |= STATE_SYSTEM_UNAVAILABLE;
  if (window_ != nullptr) GetWindowRect(window_, &element.screen);
  element.defaultAction = L"\u62BC\u3059";  // 押す, "press", in the dialog's language
  return element;
}

// A screen reader's press: Click, as Space on the focused button gives.
// NOTE: Click may open a modal dialog or close the form, so it is not raised
// inside the screen reader's call (accDoDefaultAction, Microsoft Learn:
// return at once, act later); each press posts a message of its own.
void Command::DoAccessibleAction(long) {
  if (!destroyed_) PostMessageW(window_, kAccessiblePress, 0, 0);
}

// While the form is disabled (a modal dialog of its own is open) a press
// does nothing, as the mouse and keys do nothing there.
void Command::AccessiblePress() {
  if (!destroyed_ && core_.EnabledValue() == kTrue && FormEnabled()) RaiseClick();
}

bool Command::FormEnabled() const {
  return window_ != nullptr && IsWindowEnabled(GetAncestor(window_, GA_ROOT));
}

void Command::PropertyChanged(const char* key) {
  if (onPropertyChanged_) onPropertyChanged_(key);
}

void Command::SyncWindowEnabled() {
  // A disabled button leaves the tab order and takes no input, as users expect.
  const bool enabled = core_.EnabledValue() != kFalse;
  if ((IsWindowEnabled(window_) != FALSE) != enabled) EnableWindow(window_, enabled);
}

}  // namespace kb::controls
