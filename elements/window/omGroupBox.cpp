#include "omGroupBox.h"

TOMGroupBox::TOMGroupBox(TWindowObject* parent) : TOMWin(parent) {
  Control = CreateGroupBox(parent, "GroupBox");
  Control->SetFontHeight(-11);
  Control->SetExStyle(0);
}

void TOMGroupBox::SetCaption(const std::string& caption) {
  if (Control) Control->SetText(caption);
}
