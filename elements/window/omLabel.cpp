#include "omLabel.h"

#include "Text.h"

TOMLabel::TOMLabel(TWindowObject* parent) : TOMWin(parent) {
  Control = CreateLabel(parent, std::string());
  Control->OnClick = MakeHandler<&TOMLabel::Click>(this);
  Control->OnMouseEnter = MakeHandler<&TOMLabel::HoverOn>(this);
  Control->OnMouseLeave = MakeHandler<&TOMLabel::HoverOff>(this);
  Control->OnDpiChanged = MakeHandler<&TOMLabel::Refit>(this); // a text's extent does not scale exactly
}

void TOMLabel::SetAutoSize(bool on) {
  AutoSize = on;
  FitText();
}

void TOMLabel::SetAlignment(uint8_t alignment) {
  if (Control) Control->SetTextAlign(alignment);
}

void TOMLabel::Init() {
  TOMWin::Init();
  Control->SetText(Caption);
  FitText();
  FitFont();
}

void TOMLabel::inText(TData& value, uint16_t) {
  std::string text = ReadPointString(value, getText, std::string());
  if (!Control) return;
  Control->SetText(text);
  FitText();
  FitFont();
}

// The room the text takes with the window's font, in the screen's pixels:
// on one line each, or wrapped at this width.
RECT TOMLabel::TextExtent(int32_t wrapWidth) {
  const TWideText text = WideOf(Control->GetText());
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Control->FontHandle());
  RECT r{0, 0, wrapWidth, 0};
  DrawTextW(dc, text.data(), int(text.size() - 1), &r,
            DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX | (wrapWidth ? DT_WORDBREAK : 0));
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return r;
}

// Auto-size: the text's extent plus one, per dimension not fixed by docking;
// kept in units rounded up.
void TOMLabel::FitText() {
  if (!AutoSize || !Control) return;
  const RECT r = TextExtent(0);
  uint8_t align = Control->GetAlign();
  int32_t width = (align == 2 || align == 4) ? Control->GetWidth() : Control->UnscaleUp(r.right + 1);
  int32_t height = (align == 1 || align == 3) ? Control->GetHeight() : Control->UnscaleUp(r.bottom + 1);
  Control->SetSize(width, height);
}

// A label of a fixed size on a screen of another resolution: its text's
// extent does not scale exactly with the font, and a wrapped text may need a
// line more than the scaled rectangle has. The font then gives up a pixel of
// height at a time, at most two, rather than the text its end. On a 96-DPI
// screen the label is as laid out.
void TOMLabel::FitFont() {
  if (AutoSize || !Control) return;
  TFontObject& font = Control->Font();
  const int32_t was = font.GetTrim();
  int32_t trim = 0;
  bool remade = false; // the window's font was discarded for a measuring one: it gets the new one
  if (Control->Dpi() != 96) {
    if (was) {
      font.SetTrim(0);
      remade = true;
    }
    while (trim < 2 && !TextShowsWhole()) {
      font.SetTrim(++trim);
      remade = true;
    }
  }
  if (!remade && trim == was) return;
  if (font.GetTrim() != trim) font.SetTrim(trim);
  Control->FontChanged();
}

bool TOMLabel::TextShowsWhole() {
  const bool wraps = (Control->GetStyle() & 0x0F) <= SS_RIGHT;
  const int32_t left = Control->GetLeft(), top = Control->GetTop();
  const int32_t width = Control->Scale(left + Control->GetWidth()) - Control->Scale(left);
  const int32_t height = Control->Scale(top + Control->GetHeight()) - Control->Scale(top);
  const RECT need = TextExtent(wraps ? width : 0);
  return need.right <= width && need.bottom <= height;
}

void TOMLabel::Refit(TWindowObject*) {
  FitText();
  FitFont();
}

void TOMLabel::Click(TWindowObject*) { FireNull(outClick); }

void TOMLabel::HoverOn(TWindowObject* sender) {
  if (HoverColor != 0) sender->SetFontColor(HoverColor);
  if (HoverCursor != 0) sender->SetCursor(HoverCursor);
  if (HoverUnderline) sender->SetFontStyle(uint8_t(sender->Font().GetStyle() | 4));
  sender->Invalidate();
}

void TOMLabel::HoverOff(TWindowObject* sender) {
  if (HoverColor != 0) sender->SetFontColor(Font.Color);
  if (HoverCursor != 0) sender->SetCursor(0);
  if (HoverUnderline) sender->SetFontStyle(uint8_t(sender->Font().GetStyle() & ~4));
  sender->Invalidate();
}
