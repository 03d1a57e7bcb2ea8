#include "omMemo.h"

#include "Text.h"

void TOMMemo::Init() {
  uint16_t options = eoNoHScroll | eoNoVScroll | eoMultiLine | eoNoHideSel;
  if (ScrollBars & 1) options &= uint16_t(~eoNoHScroll);
  if (ScrollBars & 2) options &= uint16_t(~eoNoVScroll);
  if (ReadOnly == 0) options |= eoReadOnly;
  Control = CreateEdit(Parent, options);
  Control->OnTextChange = MakeHandler<&TOMMemo::Changed>(this);
  if (Ctl3D == 0) Control->SetStyle(Control->GetStyle() & ~DWORD(WS_BORDER));
  TOMWin::Init();
  Control->SetText(Text);
}

void TOMMemo::SetText(const std::string& text) {
  if (Control) Control->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideOf(text).data()));
}

void TOMMemo::AddLine(const std::string& text) {
  if (!Control) return;
  const TWideText line = WideOf(text + "\r\n");
  LRESULT end = Control->Perform(WM_GETTEXTLENGTH, 0, 0);
  Control->Perform(EM_SETSEL, WPARAM(end), LPARAM(end));
  Control->Perform(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.data()));
}

void TOMMemo::Changed(TWindowObject* sender) { FireString(outChange, sender->GetText()); }
