#include "settings/win32_settings_dialog.h"

#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>

#include "common/win32_system_dlls.h"
#include "common/win32_text.h"
#include "controls/win32_command.h"
#include "settings/settings_resources.h"

namespace kb::settings {

namespace {

// One function of a system DLL, bound at its first use; null without it.
// NOTE: comdlg32 and shell32 are not imported: only this dialog needs them,
// and loading them (with the comctl32 they pull in, which sets up theming) at
// every start would delay the show's first pictures.
template <typename Function>
Function systemFunction(const char* dll, const char* name) {
  void* address = nullptr;
  const SystemFunction function{name, &address};
  bindSystemFunctions(dll, &function, 1);
  return reinterpret_cast<Function>(address);
}

constexpr wchar_t kWindowClass[] = L"Q_Tavel_P";
constexpr wchar_t kPanelClass[] = L"Q_Tavel_P.Pic_C";
constexpr wchar_t kOwnerClass[] = L"Q_Tavel_P.Owner";
constexpr COLORREF kWindowBackground = 0x00C0C0C0;
constexpr COLORREF kDesignedByColour = 0x00FFFFFF;
constexpr COLORREF kLabelColour = 0x00000000;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kRepeatListPixels = 200;  // height of the open drop-down list
constexpr DWORD kComApartment = 0x2;    // COINIT_APARTMENTTHREADED
constexpr DWORD kComNoOle1Dde = 0x4;    // COINIT_DISABLE_OLE1DDE

// The open-file request, through the Unicode call so that its texts read
// right on every code page.
constexpr wchar_t kBrowseFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr wchar_t kBrowseTitle[] = L"ﾌｧｲﾙを開く";
constexpr int kBrowseBufferChars = 255;
// The size of the request as the common dialog first knew it, which every
// version accepts: 76 bytes in the 32-bit build.
constexpr DWORD kBrowseRequestSize =
    offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName);
static_assert(sizeof(void*) != 4 || kBrowseRequestSize == 76, "the 76-byte request");

RECT pixelRect(const TwipsRect& twips) {
  const PixelRect p = toPixels(twips);
  return {p.left, p.top, p.left + p.width, p.top + p.height};
}

HFONT createFont(const char* faceUtf8, double points, BYTE charset) {
  const std::wstring face = widen(faceUtf8, CP_UTF8);
  return CreateFontW(-pointsToPixels(points), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

// The closed drop-down's height comes from its selection field, which the
// combo box pads in its own way: correct the field by what it made of it.
void fitClosedHeight(HWND box, int height) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    RECT closed{};
    GetWindowRect(box, &closed);
    const int error = height - (closed.bottom - closed.top);
    const LRESULT field = SendMessageW(box, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (error == 0 || field == CB_ERR || field + error <= 0) return;
    SendMessageW(box, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field + error);
  }
}

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

void fillGradient(HDC dc, int width, int height, GradientTone tone) {
  const std::vector<Rgb> rows = gradientRows(height, tone);
  for (int y = 0; y < height; ++y) {
    const Rgb& c = rows[static_cast<std::size_t>(y)];
    const HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue));
    const RECT line{0, y, width, y + 1};
    FillRect(dc, &line, brush);
    DeleteObject(brush);
  }
}

// A transparent label: text from its top-left corner, never cut at its edges.
void drawLabel(HDC dc, const TwipsRect& where, const std::wstring& text, UINT align,
               COLORREF colour) {
  RECT area = pixelRect(where);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

class SettingsDialog {
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
  void ShowKind(const KindView& view);
  void RenderWindowImage();
  void RenderPanelImage();
  void PressOnPanel(POINT at);

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
};

void registerClasses(HINSTANCE instance) {
  WNDCLASSEXW known{};
  known.cbSize = sizeof known;
  if (GetClassInfoExW(instance, kWindowClass, &known)) return;  // a dialog was made before
  WNDCLASSEXW window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = SettingsDialog::WindowProc;
  window.hInstance = instance;
  window.hIcon = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(KB_SETTINGS_ICON), IMAGE_ICON, 32, 32, 0));
  window.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(KB_SETTINGS_ICON), IMAGE_ICON, 16, 16, 0));
  window.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window.hbrBackground = CreateSolidBrush(kWindowBackground);
  window.lpszClassName = kWindowClass;
  RegisterClassExW(&window);

  WNDCLASSEXW panel{};
  panel.cbSize = sizeof panel;
  panel.lpfnWndProc = SettingsDialog::PanelProc;
  panel.hInstance = instance;
  panel.hCursor = window.hCursor;
  panel.lpszClassName = kPanelClass;
  RegisterClassExW(&panel);

  WNDCLASSEXW owner{};
  owner.cbSize = sizeof owner;
  owner.lpfnWndProc = DefWindowProcW;
  owner.hInstance = instance;
  owner.lpszClassName = kOwnerClass;
  RegisterClassExW(&owner);
}

bool SettingsDialog::Create() {
  registerClasses(instance_);
  // NOTE: a top-level window gets a task-bar button unless it is owned; a
  // hidden owner of our own keeps the ordinary caption with its close box.
  owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                           nullptr);
  labelFont_ = createFont(text::kLabelFont, kLabelFontPoints, kShiftJisCharset);
  panelFont_ = createFont(text::kPanelFont, kPanelFontPoints, DEFAULT_CHARSET);
  markEmpty_ = static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(KB_SETTINGS_MARK_EMPTY),
                                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  markFilled_ =
      static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(KB_SETTINGS_MARK_FILLED),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));

  RECT outer{0, 0, twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)};
  AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
  const std::wstring caption = widen(text::kCaption, CP_UTF8);
  window_ = CreateWindowExW(0, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                            owner_, nullptr, instance_, this);
  if (window_ == nullptr) {
    delete this;
    return false;
  }
  if (CreateControls()) return true;
  DestroyWindow(window_);  // the window owns this object and frees it as it goes
  return false;
}

// Children are made in the focus order, which is also their z-order.
bool SettingsDialog::CreateControls() {
  const RECT panel = pixelRect(layout::kPanel.rect);
  panel_ = CreateWindowExW(
      0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, panel.left,
      panel.top, panel.right - panel.left, panel.bottom - panel.top, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPanel)), instance_, this);
  if (panel_ == nullptr) return false;

  // The drop-down's height includes its open list; the closed box is sized
  // by its selection field below.
  const RECT box = pixelRect(layout::kRepeatBox.rect);
  repeatBox_ = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, box.left,
      box.top, box.right - box.left, box.bottom - box.top + kRepeatListPixels, panel_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepeatBox)), instance_, nullptr);
  SendMessageW(repeatBox_, WM_SETFONT, reinterpret_cast<WPARAM>(panelFont_), FALSE);
  fitClosedHeight(repeatBox_, box.bottom - box.top);

  cmdBgm_ =
      CreateButton(panel_, kIdCmdBgm, layout::kCmdBgm, text::kCmdBgm, &SettingsDialog::Browse);
  cmdSet_ =
      CreateButton(window_, kIdCmdSet, layout::kCmdSet, text::kCmdSet, &SettingsDialog::Confirm);
  cmdCan_ =
      CreateButton(window_, kIdCmdCan, layout::kCmdCan, text::kCmdCan, &SettingsDialog::Cancel);
  cmdEtc_ = CreateButton(window_, kIdCmdEtc, layout::kCmdEtc, text::kCmdEtc,
                         &SettingsDialog::OpenWebPage);
  return repeatBox_ != nullptr && cmdBgm_ != nullptr && cmdSet_ != nullptr && cmdCan_ != nullptr &&
         cmdEtc_ != nullptr;
}

controls::Command* SettingsDialog::CreateButton(HWND parent, int id, const ControlLayout& where,
                                                const char* caption,
                                                void (SettingsDialog::*onClick)()) {
  controls::CommandSetup setup;
  setup.id = id;
  setup.bounds = {where.rect.left, where.rect.top, where.rect.width, where.rect.height};
  setup.caption = caption;
  setup.font = controls::DialogFont();
  setup.onClick = [this, onClick] { (this->*onClick)(); };
  return controls::Command::Create(parent, setup);
}

void SettingsDialog::PlaceWindow() {
  RECT outer{};
  GetWindowRect(window_, &outer);
  const ScreenPoint at =
      dialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     outer.right - outer.left, outer.bottom - outer.top);
  SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window's load handler.
void SettingsDialog::Load() {
  PlaceWindow();
  for (controls::Command* button : {cmdEtc_, cmdSet_, cmdCan_, cmdBgm_}) button->Initialize();
  ShowKind(kindView(shared_.BgmKind));

  SetWindowTextW(repeatBox_, widen(formatTrack(shared_.BgmRepeatTrack), CP_UTF8).c_str());
  for (const std::string& entry : repeatTrackEntries())
    SendMessageW(repeatBox_, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(widen(entry, CP_UTF8).c_str()));

  POINT cursor{};
  shared_.ApiResult = GetCursorPos(&cursor);
  shared_.CursorStartX = static_cast<std::int16_t>(shared_.ApiResult != 0 ? cursor.x : 0);
  shared_.CursorStartY = static_cast<std::int16_t>(shared_.ApiResult != 0 ? cursor.y : 0);
  if (host_.animateOpen) host_.animateOpen(window_);
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}

// Disables both kind-specific controls, shows the marks, then enables the
// one control the kind uses. The track box and file name keep their text.
void SettingsDialog::ShowKind(const KindView& view) {
  cmdBgm_->SetEnabled(false);
  EnableWindow(repeatBox_, FALSE);
  view_ = view;
  RenderPanelImage();
  if (view.repeatBoxEnabled) EnableWindow(repeatBox_, TRUE);
  if (view.browseEnabled) cmdBgm_->SetEnabled(true);
}

void SettingsDialog::RenderWindowImage() {
  RECT client{};
  GetClientRect(window_, &client);
  const HDC dc = windowImage_.resize(client.right, client.bottom);
  fillGradient(dc, client.right, client.bottom, GradientTone::Window);
  const HGDIOBJ oldFont = SelectObject(dc, labelFont_);
  SetBkMode(dc, TRANSPARENT);
  drawLabel(dc, layout::kDesignedBy.rect, widen(text::kDesignedBy, CP_UTF8), DT_LEFT,
            kDesignedByColour);
  SelectObject(dc, oldFont);
  InvalidateRect(window_, nullptr, FALSE);
}

// The panel with its windowless controls: heading frame, labels, marks and
// the file name box.
void SettingsDialog::RenderPanelImage() {
  RECT client{};
  GetClientRect(panel_, &client);
  if (panelImage_.width() != client.right || panelImage_.height() != client.bottom)
    panelImage_.resize(client.right, client.bottom);
  const HDC dc = panelImage_.dc();
  fillGradient(dc, client.right, client.bottom, GradientTone::Panel);

  const RECT frame = pixelRect(layout::kHeadingFrame.rect);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const HGDIOBJ oldFont = SelectObject(dc, labelFont_);
  SetBkMode(dc, TRANSPARENT);
  drawLabel(dc, layout::kHeading.rect, widen(text::kHeading, CP_UTF8), DT_CENTER, kLabelColour);
  drawLabel(dc, layout::kRepeatLabel.rect, widen(text::kRepeatLabel, CP_UTF8), DT_LEFT,
            kLabelColour);
  for (std::size_t kind = 0; kind < 3; ++kind)
    drawLabel(dc, layout::kKindLabels[kind].rect, widen(text::kKindLabels[kind], CP_UTF8), DT_LEFT,
              kLabelColour);

  // The file name is kept in the ANSI code page, as the profile and file
  // dialog calls give it.
  const RECT nameBox = pixelRect(layout::kFileName.rect);
  FrameRect(dc, &nameBox, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT nameText{nameBox.left + 2, nameBox.top + 2, nameBox.right - 2, nameBox.bottom - 1};
  const std::wstring name = widen(shared_.BgmFile, CP_ACP);
  SetTextColor(dc, kLabelColour);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &nameText,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  const HDC marks = CreateCompatibleDC(dc);
  for (std::size_t kind = 0; kind < 3; ++kind) {
    const HGDIOBJ old = SelectObject(marks, view_.markFilled[kind] ? markFilled_ : markEmpty_);
    const RECT at = pixelRect(layout::kKindMarks[kind].rect);
    BITMAP size{};
    GetObjectW(view_.markFilled[kind] ? markFilled_ : markEmpty_, sizeof size, &size);
    BitBlt(dc, at.left, at.top, size.bmWidth, size.bmHeight, marks, 0, 0, SRCCOPY);
    SelectObject(marks, old);
  }
  DeleteDC(marks);
  InvalidateRect(panel_, nullptr, FALSE);
}

// A press of any mouse button on a kind's mark or label selects that kind.
void SettingsDialog::PressOnPanel(POINT at) {
  SetFocus(panel_);
  if (const std::optional<int> kind = kindAt(at.x, at.y)) ShowKind(selectKind(shared_, *kind));
}

void SettingsDialog::Browse() {
  std::array<wchar_t, kBrowseBufferChars> file{};
  std::array<wchar_t, kBrowseBufferChars> title{};
  OPENFILENAMEW request{};
  request.lStructSize = kBrowseRequestSize;
  request.hwndOwner = window_;
  request.hInstance = instance_;
  request.lpstrFilter = kBrowseFilter;
  request.lpstrFile = file.data();
  request.nMaxFile = kBrowseBufferChars;
  request.lpstrFileTitle = title.data();
  request.nMaxFileTitle = kBrowseBufferChars;
  request.lpstrTitle = kBrowseTitle;
  static const auto getOpenFileName =
      systemFunction<BOOL(WINAPI*)(OPENFILENAMEW*)>("comdlg32.dll", "GetOpenFileNameW");
  shared_.ApiResult = getOpenFileName != nullptr && getOpenFileName(&request);
  if (shared_.ApiResult <= 0) return;
  // The buffer is always terminated: the dialog fails rather than fill it.
  file.back() = L'\0';
  // The settings file and the music calls take the ANSI code page: a path it
  // cannot spell is kept by its short form, and one with neither is not
  // taken at all, as if the dialog had been cancelled.
  const std::optional<std::string> stored = ansiPath(ansiSpellings(file.data()));
  if (!stored) return;
  shared_.BgmFile = *stored;
  RenderPanelImage();
}

void SettingsDialog::Confirm() {
  std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(repeatBox_)) + 1, L'\0');
  typed.resize(static_cast<std::size_t>(
      GetWindowTextW(repeatBox_, typed.data(), static_cast<int>(typed.size()))));
  for (const IniWrite& write : confirmSettings(shared_, narrowUtf8(typed)))
    if (host_.writeSetting) host_.writeSetting(write);
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

void SettingsDialog::OpenWebPage() {
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
  static const auto shellExecute =
      systemFunction<HINSTANCE(WINAPI*)(HWND, const char*, const char*, const char*, const char*,
                                        INT)>("shell32.dll", "ShellExecuteA");
  // NOTE: the handler of "open" may be a COM extension: the shell asks its
  // callers to initialise COM on the calling thread, apartment-threaded.
  static const auto coInitializeEx =
      systemFunction<HRESULT(WINAPI*)(void*, DWORD)>("ole32.dll", "CoInitializeEx");
  static const auto coUninitialize = systemFunction<void(WINAPI*)()>("ole32.dll", "CoUninitialize");
  const bool com = coInitializeEx != nullptr && coUninitialize != nullptr &&
                   SUCCEEDED(coInitializeEx(nullptr, kComApartment | kComNoOle1Dde));
  if (shellExecute != nullptr) shellExecute(window_, "open", kMakerWebPage, "", "", SW_SHOWNORMAL);
  if (com) coUninitialize();
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
}

// The window's unload: the close animation, never a save.
void SettingsDialog::Unload() {
  if (host_.animateClose) host_.animateClose(window_);
  DestroyWindow(window_);
}

bool SettingsDialog::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
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
  const FocusStop next =
      nextFocus(static_cast<FocusStop>(current), GetKeyState(VK_SHIFT) < 0, canFocus);
  if (next == static_cast<FocusStop>(current)) return true;
  SetFocus(stops[static_cast<std::size_t>(next)]);
  if (next == FocusStop::RepeatBox) SendMessageW(repeatBox_, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
  return true;
}

void SettingsDialog::ShowModal() {
  const HWND window = window_;
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(panel_);
  UpdateWindow(window);
  MSG message;
  while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (PreTranslateSettingsMessage(window, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LRESULT CALLBACK SettingsDialog::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* dialog =
        static_cast<SettingsDialog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    dialog->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
  }
  SettingsDialog* dialog = FromWindow(window);
  if (dialog == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    delete dialog;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return dialog->HandleWindow(message, wParam, lParam);
}

LRESULT SettingsDialog::HandleWindow(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      RenderWindowImage();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the image covers the whole client area
    case WM_PAINT:
      windowImage_.paint(window_);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        lastFocus_ = GetFocus();
      } else {
        SetFocus(lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_ : panel_);
      }
      return 0;
    case WM_CLOSE:
      Unload();
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT CALLBACK SettingsDialog::PanelProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* dialog =
        static_cast<SettingsDialog*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    dialog->panel_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
  }
  SettingsDialog* dialog = FromWindow(window);
  if (dialog == nullptr || message == WM_NCDESTROY)
    return DefWindowProcW(window, message, wParam, lParam);
  return dialog->HandlePanel(message, wParam, lParam);
}

LRESULT SettingsDialog::HandlePanel(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      RenderPanelImage();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      panelImage_.paint(panel_);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      PressOnPanel({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // The track box is white; its disabled look stays the system's.
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(white_);
    default:
      return DefWindowProcW(panel_, message, wParam, lParam);
  }
}

}  // namespace

HWND LoadSettingsDialog(HINSTANCE instance, SharedState& shared, const DialogHost& host) {
  auto* dialog = new SettingsDialog(instance, shared, host);
  if (!dialog->Create()) return nullptr;
  dialog->Load();
  return dialog->Window();
}

bool PreTranslateSettingsMessage(HWND dialog, const MSG& message) {
  SettingsDialog* owner = SettingsDialog::FromWindow(dialog);
  return owner != nullptr && owner->PreTranslate(message);
}

void ShowSettingsDialogModal(HWND dialog) {
  if (SettingsDialog* owner = SettingsDialog::FromWindow(dialog)) owner->ShowModal();
}

void RunSettingsDialog(HINSTANCE instance, SharedState& shared, const DialogHost& host) {
  if (const HWND dialog = LoadSettingsDialog(instance, shared, host))
    ShowSettingsDialogModal(dialog);
}

}  // namespace kb::settings
