// The pictures behind the dialog's windowless controls: each window's
// gradient with its labels, marks, heading frame and file name box.
#include <vector>

#include "common/win32_text.h"
#include "settings/win32_dialog_window.h"

namespace kb::settings {

namespace {

constexpr COLORREF kDesignedByColour = 0x00FFFFFF;
constexpr COLORREF kLabelColour = 0x00000000;
constexpr int kTextInsetTwips = 30;  // the file name inside its box

void fillGradient(HDC dc, int width, int height, GradientTone tone, int dotsPerInch) {
  const std::vector<Rgb> rows = gradientRows(height, tone, dotsPerInch);
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
               COLORREF colour, int dotsPerInch) {
  RECT area = pixelRect(where, dotsPerInch);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
            align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
}

}  // namespace

RECT pixelRect(const TwipsRect& twips, int dotsPerInch) {
  const PixelRect p = toPixels(twips, dotsPerInch);
  return {p.left, p.top, p.left + p.width, p.top + p.height};
}

HFONT createFont(const char* faceUtf8, double points, BYTE charset, int dotsPerInch) {
  const std::wstring face = widen(faceUtf8, CP_UTF8);
  return CreateFontW(-pointsToPixels(points, dotsPerInch), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

void SettingsDialog::RenderWindowImage() {
  RECT client{};
  GetClientRect(window_, &client);
  const HDC dc = windowImage_.resize(client.right, client.bottom);
  fillGradient(dc, client.right, client.bottom, GradientTone::Window, dpi_);
  const HGDIOBJ oldFont = SelectObject(dc, labelFont_);
  SetBkMode(dc, TRANSPARENT);
  drawLabel(dc, layout::kDesignedBy.rect, widen(text::kDesignedBy, CP_UTF8), DT_LEFT,
            kDesignedByColour, dpi_);
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
  fillGradient(dc, client.right, client.bottom, GradientTone::Panel, dpi_);

  const RECT frame = pixelRect(layout::kHeadingFrame.rect, dpi_);
  FrameRect(dc, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  const HGDIOBJ oldFont = SelectObject(dc, labelFont_);
  SetBkMode(dc, TRANSPARENT);
  drawLabel(dc, layout::kHeading.rect, widen(text::kHeading, CP_UTF8), DT_CENTER, kLabelColour,
            dpi_);
  drawLabel(dc, layout::kRepeatLabel.rect, widen(text::kRepeatLabel, CP_UTF8), DT_LEFT,
            kLabelColour, dpi_);
  for (std::size_t kind = 0; kind < 3; ++kind)
    drawLabel(dc, layout::kKindLabels[kind].rect, widen(text::kKindLabels[kind], CP_UTF8), DT_LEFT,
              kLabelColour, dpi_);

  // The file name is kept in the ANSI code page, as the profile and file
  // dialog calls give it.
  const RECT nameBox = pixelRect(layout::kFileName.rect, dpi_);
  FrameRect(dc, &nameBox, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  const int inset = twipsToPixels(kTextInsetTwips, dpi_);
  RECT nameText{nameBox.left + inset, nameBox.top + inset, nameBox.right - inset,
                nameBox.bottom - twipsToPixels(kTwipsPerPixel, dpi_)};
  const std::wstring name = widen(shared_.BgmFile, CP_ACP);
  SetTextColor(dc, kLabelColour);
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &nameText,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  SelectObject(dc, oldFont);

  const HDC marks = CreateCompatibleDC(dc);
  for (std::size_t kind = 0; kind < 3; ++kind) {
    const HGDIOBJ old = SelectObject(marks, view_.markFilled[kind] ? markFilled_ : markEmpty_);
    const RECT at = pixelRect(layout::kKindMarks[kind].rect, dpi_);
    BITMAP size{};
    GetObjectW(view_.markFilled[kind] ? markFilled_ : markEmpty_, sizeof size, &size);
    BitBlt(dc, at.left, at.top, size.bmWidth, size.bmHeight, marks, 0, 0, SRCCOPY);
    SelectObject(marks, old);
  }
  DeleteDC(marks);
  if (keyboardCues_ && panelFocused_) {
    // Around the chosen kind's label; with none chosen, the first shown.
    const int kind = shared_.BgmKind >= 0 && shared_.BgmKind <= 2 ? shared_.BgmKind : 1;
    RECT cue = pixelRect(layout::kKindLabels[static_cast<std::size_t>(kind)].rect, dpi_);
    DrawFocusRect(dc, &cue);
  }
  InvalidateRect(panel_, nullptr, FALSE);
}

}  // namespace kb::settings
