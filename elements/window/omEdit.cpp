#include "omEdit.h"

bool EditTextReader(TOMEdit* edit, TData& value) {
  if (!edit->Control) return false;
  SetStringData(value, edit->Control->GetText());
  return true;
}

void TOMEdit::Init() {
  ChangeState = FirstChangeIgnored ? 0 : 1;
  uint16_t options = uint16_t((Password ? eoPassword : 0) | (ReadOnly ? eoReadOnly : 0));
  Control = CreateEdit(Parent, options);
  Control->SetText(Text); // no handler attached yet: reports nothing
  if (Ctl3D == 0) Control->SetStyle(Control->GetStyle() & ~DWORD(WS_BORDER));
  TOMWin::Init();
  Control->OnTextChange = MakeHandler<&TOMEdit::Changed>(this);
}

void TOMEdit::Changed(TWindowObject*) {
  if (ChangeState == 1 && TextReader) {
    TData text;
    if (TextReader(this, text)) Fire(outChange, text);
  }
  ChangeState = 1;
}

void TOMEdit::KeyDown(TWindowObject* sender, uint16_t& key, uint32_t shift) {
  if (key != VK_RETURN || !outEnter.Method) {
    TOMWin::KeyDown(sender, key, shift);
    return;
  }
  TData text;
  if (TextReader) TextReader(this, text);
  EnterPending = true;
  Fire(outEnter, text);
  if (EnterPending && Control) { // nothing set a new text meanwhile: clear the field quietly
    ChangeState = 2;
    Control->SetText(std::string());
  }
  EnterPending = false;
  key = 0; // the control never sees the Enter
}

void TOMEdit::inText(TData& value, uint16_t) {
  ChangeState = 1;
  EnterPending = false;
  std::string text = ReadPointString(value, getText, std::string());
  if (!Control) return;
  Control->GetHandle(); // the change is reported by the native control
  Control->SetText(text);
}

void TOMEdit::varText(TData& value, uint16_t) {
  if (!TextReader || !TextReader(this, value)) ClearData(value);
}
