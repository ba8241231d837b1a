#include "settings/win32_settings_dialog.h"

#include <array>

#include "common/win32_dpi.h"
#include "common/win32_text.h"
#include "settings/mark_design.h"
#include "settings/settings_resources.h"
#include "settings/win32_dialog_window.h"

namespace kb::settings {

namespace {

constexpr wchar_t kWindowClass[] = L"Q_Tavel_P";
constexpr wchar_t kPanelClass[] = L"Q_Tavel_P.Pic_C";
constexpr wchar_t kOwnerClass[] = L"Q_Tavel_P.Owner";
constexpr COLORREF kWindowBackground = 0x00C0C0C0;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kRepeatListTwips = 3000;      // height of the open drop-down list
constexpr UINT kDpiChanged = 0x02E0;        // WM_DPICHANGED
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

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

}  // namespace

bool SettingsDialog::Create() {
  registerClasses(instance_);
  // NOTE: a top-level window gets a task-bar button unless it is owned; a
  // hidden owner of our own keeps the ordinary caption with its close box.
  owner_ = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                           nullptr);
  // The owner lies on the primary monitor, where the window is placed.
  dpi_ = windowDpi(owner_);
  MakeDpiResources();
  // The focus is drawn from the start where the user asked Windows to
  // always show keyboard cues.
  BOOL cues = FALSE;
  keyboardCues_ = SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues;
  const SIZE outer = OuterSize(dpi_);
  const std::wstring caption = widen(text::kCaption, CP_UTF8);
  window_ = CreateWindowExW(0, kWindowClass, caption.c_str(), kWindowStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, outer.cx, outer.cy, owner_, nullptr, instance_, this);
  if (window_ == nullptr) {
    delete this;
    return false;
  }
  FitClientArea();
  if (CreateControls()) return true;
  DestroyWindow(window_);  // the window owns this object and frees it as it goes
  return false;
}

// Children are made in the focus order, which is also their z-order.
bool SettingsDialog::CreateControls() {
  const RECT panel = pixelRect(layout::kPanel.rect, dpi_);
  panel_ = CreateWindowExW(
      0, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, panel.left,
      panel.top, panel.right - panel.left, panel.bottom - panel.top, window_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdPanel)), instance_, this);
  if (panel_ == nullptr) return false;

  // The drop-down's height includes its open list; the closed box is sized
  // by its selection field below.
  const RECT box = pixelRect(layout::kRepeatBox.rect, dpi_);
  repeatBox_ = CreateWindowExW(
      0, L"COMBOBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, box.left,
      box.top, box.right - box.left, box.bottom - box.top + twipsToPixels(kRepeatListTwips, dpi_),
      panel_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdRepeatBox)), instance_, nullptr);
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
  setup.dotsPerInch = dpi_;
  setup.onClick = [this, onClick] { (this->*onClick)(); };
  return controls::Command::Create(parent, setup);
}

void SettingsDialog::PlaceWindow() {
  RECT outer{};
  GetWindowRect(window_, &outer);
  const ScreenPoint at =
      dialogPosition(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     outer.right - outer.left, outer.bottom - outer.top, dpi_);
  SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE SettingsDialog::OuterSize(int dotsPerInch) const {
  return outerSizeForDpi(twipsToPixels(kClientWidthTwips, dotsPerInch),
                         twipsToPixels(kClientHeightTwips, dotsPerInch), kWindowStyle, 0,
                         dotsPerInch);
}

// NOTE: the frame Windows draws may not be the one asked for at this
// resolution (a per-monitor window of the first kind keeps its 96-DPI
// frame): the client area is made right by what it came out as.
void SettingsDialog::FitClientArea() {
  RECT outer{}, client{};
  GetWindowRect(window_, &outer);
  GetClientRect(window_, &client);
  const int dx = twipsToPixels(kClientWidthTwips, dpi_) - client.right;
  const int dy = twipsToPixels(kClientHeightTwips, dpi_) - client.bottom;
  if (dx != 0 || dy != 0)
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + dx,
                 outer.bottom - outer.top + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fonts and marks at the window's resolution: a 96-DPI mark is the picture
// the program carries, any other is drawn at its size. Gives back the ones
// they replace, to be deleted once no control uses them (WM_SETFONT).
std::array<HGDIOBJ, 4> SettingsDialog::MakeDpiResources() {
  const std::array<HGDIOBJ, 4> replaced{labelFont_, panelFont_, markEmpty_, markFilled_};
  labelFont_ = createFont(text::kLabelFont, kLabelFontPoints, kShiftJisCharset, dpi_);
  panelFont_ = createFont(text::kPanelFont, kPanelFontPoints, DEFAULT_CHARSET, dpi_);
  const auto mark = [this](bool filled, int resource) {
    if (dpi_ != kScreenDotsPerInch) return createBitmap(PaintMark(filled, dpi_));
    return static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  };
  markEmpty_ = mark(false, KB_SETTINGS_MARK_EMPTY);
  markFilled_ = mark(true, KB_SETTINGS_MARK_FILLED);
  return replaced;
}

// The window moved to a monitor of another resolution: everything is laid
// out and drawn again there, with the new fonts and pictures given to every
// control before the old ones go.
void SettingsDialog::ChangeDpi(int dotsPerInch, const RECT* suggested) {
  dpi_ = usableDpi(dotsPerInch);
  const std::array<HGDIOBJ, 4> replaced = MakeDpiResources();
  SendMessageW(repeatBox_, WM_SETFONT, reinterpret_cast<WPARAM>(panelFont_), FALSE);
  PlaceAtNewDpi(dpi_ == dotsPerInch ? suggested : nullptr);
  const auto place = [this](HWND control, const TwipsRect& where, int extraHeight) {
    const RECT at = pixelRect(where, dpi_);
    MoveWindow(control, at.left, at.top, at.right - at.left, at.bottom - at.top + extraHeight,
               TRUE);
  };
  place(panel_, layout::kPanel.rect, 0);
  place(repeatBox_, layout::kRepeatBox.rect, twipsToPixels(kRepeatListTwips, dpi_));
  fitClosedHeight(repeatBox_, pixelRect(layout::kRepeatBox.rect, dpi_).bottom -
                                  pixelRect(layout::kRepeatBox.rect, dpi_).top);
  const std::pair<controls::Command*, const ControlLayout*> buttons[] = {
      {cmdBgm_, &layout::kCmdBgm},
      {cmdSet_, &layout::kCmdSet},
      {cmdCan_, &layout::kCmdCan},
      {cmdEtc_, &layout::kCmdEtc}};
  for (const auto& [button, where] : buttons) {
    place(button->Window(), where->rect, 0);
    button->SetDpi(dpi_);  // after its move, whose repaint shows the Normal face
  }
  RenderWindowImage();
  RenderPanelImage();
  for (HGDIOBJ old : replaced) DeleteObject(old);
}

// Windows' suggested rectangle is taken as it comes (WM_DPICHANGED,
// Microsoft Learn); under the second kind of per-monitor awareness it is
// already our own size (WM_GETDPISCALEDSIZE). Under the first, the client
// area is made right afterwards. A suggestion off every screen, or none,
// is not taken: the window keeps its corner and takes its own size.
void SettingsDialog::PlaceAtNewDpi(const RECT* suggested) {
  if (suggested != nullptr && MonitorFromRect(suggested, MONITOR_DEFAULTTONULL) != nullptr) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (!perMonitorAwareV2()) FitClientArea();
    return;
  }
  const SIZE outer = OuterSize(dpi_);
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitClientArea();
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
  AnnounceKind();
  if (view.repeatBoxEnabled) EnableWindow(repeatBox_, TRUE);
  if (view.browseEnabled) cmdBgm_->SetEnabled(true);
}

void SettingsDialog::Confirm() {
  std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(repeatBox_)) + 1, L'\0');
  typed.resize(static_cast<std::size_t>(
      GetWindowTextW(repeatBox_, typed.data(), static_cast<int>(typed.size()))));
  for (const IniWrite& write : confirmSettings(shared_, narrowUtf8(typed)))
    if (host_.writeSetting) host_.writeSetting(write);
  PostMessageW(window_, WM_CLOSE, 0, 0);
}

// The window's unload: the close animation, never a save.
void SettingsDialog::Unload() {
  if (host_.animateClose) WhileBusy([this] { host_.animateClose(window_); });
  DestroyWindow(window_);
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
    enableNonClientDpiScaling(window);
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
      if (busy_ > 0) {
        closePending_ = true;
      } else {
        Unload();
      }
      return 0;
    case kDpiChanged:
      ChangeDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSize: {
      // Our own size at the new resolution, so that Windows' suggestion fits.
      *reinterpret_cast<SIZE*>(lParam) = OuterSize(usableDpi(static_cast<int>(wParam)));
      return TRUE;
    }
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      PanelFocusChanged(message == WM_SETFOCUS);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      PressOnPanel({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_GETOBJECT:
      if (const LRESULT object = panelAccessible_.Answer(panel_, wParam, lParam)) return object;
      return DefWindowProcW(panel_, message, wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      // The track box is white; its disabled look stays the system's.
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(white_);
    default:
      return DefWindowProcW(panel_, message, wParam, lParam);
  }
}

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
