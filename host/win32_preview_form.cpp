#include "host/win32_preview_form.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "common/twips.h"
#include "common/win32_dpi.h"
#include "host/win32_pictures.h"

namespace kb {
namespace {

constexpr char kClassName[] = "Q_Tavel_R";
constexpr char kCaption[] = "Preview Window";

// The preview picture as a top-down 24-bit DIB, decoded once.
struct PreviewDib {
  BITMAPINFO info{};
  std::vector<std::uint8_t> bits;  // BGR rows padded to 4 bytes
};
// What the form's window keeps in its user data.
struct PreviewForm {
  std::optional<PreviewDib> picture;
};

PreviewForm* formOf(HWND window) {
  return reinterpret_cast<PreviewForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

PreviewDib makeDib(const RgbImage& image) {
  PreviewDib dib;
  dib.info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  dib.info.bmiHeader.biWidth = image.width;
  dib.info.bmiHeader.biHeight = -image.height;
  dib.info.bmiHeader.biPlanes = 1;
  dib.info.bmiHeader.biBitCount = 24;
  dib.info.bmiHeader.biCompression = BI_RGB;
  const std::size_t stride = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
  dib.bits.assign(stride * image.height, 0);
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* rgb = image.at(x, y);
      std::uint8_t* bgr = dib.bits.data() + y * stride + x * 3;
      bgr[0] = rgb[2];
      bgr[1] = rgb[1];
      bgr[2] = rgb[0];
    }
  }
  return dib;
}

// The picture at its own size in 96-DPI units from the top-left corner: at
// 96 dots per inch pixel for pixel, at any other resolution smoothed to that
// size, so that it keeps its share of the preview window. The black class
// background covers the rest.
void paint(HWND window) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  const PreviewForm* form = formOf(window);
  if (form != nullptr && form->picture) {
    const PreviewDib& picture = *form->picture;
    const int width = picture.info.bmiHeader.biWidth;
    const int height = -picture.info.bmiHeader.biHeight;
    const int dpi = windowDpi(window);
    if (dpi == kScreenDotsPerInch) {
      SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                        static_cast<UINT>(height), picture.bits.data(), &picture.info,
                        DIB_RGB_COLORS);
    } else {
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);  // as HALFTONE asks
      StretchDIBits(dc, 0, 0, MulDiv(width, dpi, kScreenDotsPerInch),
                    MulDiv(height, dpi, kScreenDotsPerInch), 0, 0, width, height,
                    picture.bits.data(), &picture.info, DIB_RGB_COLORS, SRCCOPY);
    }
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK previewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_DESTROY:
      // The form is gone (closed, or destroyed with its parent): so is the
      // process, which has nothing else to show.
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      delete formOf(window);
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND createHiddenForm() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = previewWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, kClassName, kCaption, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

}  // namespace

void* runPreviewSetup(SharedState& shared, std::int32_t parentHandle) {
  // NOTE: a window handle has 32 significant bits; sign-extending keeps
  // handles read as negative numbers valid on 64-bit Windows too.
  const HWND parent = reinterpret_cast<HWND>(static_cast<std::intptr_t>(parentHandle));
  const HWND form = createHiddenForm();
  // Owned by its window, which frees it when it goes.
  auto* state = new PreviewForm;
  if (const auto image = previewPicture()) state->picture = makeDib(*image);
  SetWindowLongPtrA(form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  // NOTE: WS_POPUP goes as WS_CHILD comes. Windows treats a window that keeps
  // WS_POPUP as a popup whatever SetParent did: not a child of the preview
  // window, so never drawn inside it (SetParent, Microsoft Learn: "clear the
  // WS_POPUP style and set the WS_CHILD style before calling SetParent").
  const LONG style = GetWindowLongA(form, GWL_STYLE);
  shared.ApiResult = SetWindowLongA(form, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
  shared.ApiResult = SetParent(form, parent) != nullptr;
  // NOTE: the parent's size is read only now: parenting across processes of
  // different DPI awareness can change this thread's (SetParent, Microsoft
  // Learn), and with it the pixels Windows reports sizes in.
  RECT parentRect{0, 0, 0, 0};
  GetWindowRect(parent, &parentRect);
  shared.ApiResult = MoveWindow(form, 0, 0, parentRect.right - parentRect.left,
                                parentRect.bottom - parentRect.top, TRUE);
  ShowWindow(form, SW_SHOW);
  // A form that did not end up inside the parent (no such window, or it was
  // destroyed meanwhile) could never be seen or closed: it goes at once, and
  // the process with it, rather than staying as an invisible process.
  // GetAncestor(GA_PARENT) means the same on Windows and Wine; Wine's IsChild
  // also counts a window that kept WS_POPUP, Windows' does not.
  if (GetAncestor(form, GA_PARENT) != parent) {
    DestroyWindow(form);
    return nullptr;
  }
  DWORD host = 0;
  GetWindowThreadProcessId(parent, &host);
  if (host == 0 || host == GetCurrentProcessId()) return nullptr;
  return OpenProcess(SYNCHRONIZE, FALSE, host);
}

}  // namespace kb
