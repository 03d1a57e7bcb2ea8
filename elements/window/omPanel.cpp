#include "omPanel.h"

#include "Text.h"

namespace {

// One bevel group of the given width: left/top in a, right/bottom in b, each
// frame one pixel inside the last. r is the exclusive client rectangle; it
// leaves shrunk by the group's width on every side.
void Frame3D(HDC dc, RECT& r, COLORREF a, COLORREF b, int32_t width) {
  --r.right;
  --r.bottom;
  for (int32_t i = 0; i < width; ++i) {
    HPEN penA = CreatePen(PS_SOLID, 1, a);
    HPEN penB = CreatePen(PS_SOLID, 1, b);
    HGDIOBJ old = SelectObject(dc, penA);
    MoveToEx(dc, r.left, r.bottom, nullptr);
    LineTo(dc, r.left, r.top);
    LineTo(dc, r.right, r.top);
    SelectObject(dc, penB);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left - 1, r.bottom);
    SelectObject(dc, old);
    DeleteObject(penA);
    DeleteObject(penB);
    InflateRect(&r, -1, -1);
  }
  ++r.right;
  ++r.bottom;
}

void Bevel(HDC dc, RECT& r, uint8_t kind, int32_t width) {
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  if (kind == 1) Frame3D(dc, r, shadow, highlight, width);
  else Frame3D(dc, r, highlight, shadow, width);
}

} // namespace

void TOMPanel::Init() {
  TPanelData data;
  data.BevelOuter = BevelOuter;
  data.BevelInner = BevelInner;
  data.BevelWidth = BevelWidth;
  data.BorderWidth = BorderWidth;
  data.BorderStyle = BorderStyle;
  Control = CreatePanel(Parent, data);
  DWORD style = Control->GetStyle() & ~DWORD(WS_BORDER | WS_DLGFRAME | SS_SUNKEN);
  DWORD exStyle = Control->GetExStyle() & ~DWORD(WS_EX_STATICEDGE | WS_EX_CLIENTEDGE | WS_EX_TRANSPARENT);
  if (BorderStyle == 1) {
    style |= WS_BORDER;
    exStyle |= WS_EX_CLIENTEDGE;
  } else if (BorderStyle == 2) {
    exStyle |= WS_EX_DLGMODALFRAME;
  }
  Control->SetStyle(style);
  Control->SetExStyle(exStyle);
  Control->SetChildMargin(BevelWidth * (BevelOuter != 0) + BorderWidth + BevelWidth * (BevelInner != 0));
  TOMWin::Init();
  Control->SetText(Caption);
  Control->SetFontHeight(-11); // the caption keeps the panel height whatever Font.Size says
  Control->SetVerticalAlign(0);
  Control->SetTextAlign(Alignment);
  Control->OnClick = MakeHandler<&TOMPanel::Click>(this);
  Control->OnPaint = MakeHandler<&TOMPanel::Paint>(this);
}

bool TOMPanel::MessageHook(TWindowObject* sender, TMessage& message) {
  if ((message.Msg == WM_SIZE || message.Msg == WM_ENABLE) && sender->PeekHandle())
    InvalidateRect(sender->PeekHandle(), nullptr, TRUE);
  return TOMWin::MessageHook(sender, message);
}

void TOMPanel::Paint(TWindowObject* sender, HDC dc) {
  RECT r;
  GetClientRect(sender->GetHandle(), &r);
  const TPanelData& d = static_cast<const TPanelObject*>(sender)->PanelData(); // the panel Init made
  COLORREF color = ResolveColor(sender->GetColor());
  if (d.BevelOuter != 0) Bevel(dc, r, d.BevelOuter, d.BevelWidth);
  Frame3D(dc, r, color, color, d.BorderWidth);
  if (d.BevelInner != 0) Bevel(dc, r, d.BevelInner, d.BevelWidth);
  if (!sender->GetTransparent()) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  const std::string caption = sender->GetText();
  if (caption.empty()) return;
  const TWideText text = WideOf(caption);
  static const UINT horizontal[3] = {0, DT_RIGHT, DT_CENTER};
  static const UINT vertical[3] = {DT_VCENTER, 0, DT_BOTTOM};
  UINT flags = DT_SINGLELINE | DT_EXPANDTABS | horizontal[sender->GetTextAlign() % 3] |
               vertical[sender->GetVerticalAlign() % 3];
  HGDIOBJ oldFont = SelectObject(dc, sender->FontHandle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ResolveColor(sender->Font().GetColor()));
  DrawTextW(dc, text.data(), int(text.size() - 1), &r, flags);
  SelectObject(dc, oldFont);
}

void TOMPanel::Click(TWindowObject*) { FireNull(outClick); }
