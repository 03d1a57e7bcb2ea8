#include "omButton.h"

TOMButton::TOMButton(TWindowObject* parent) : TOMWin(parent) {
  Control = CreateButton(parent, "Push");
  Control->OnClick = MakeHandler<&TOMButton::Click>(this);
  Ctl3D = 1;
}

void TOMButton::SetCaption(const std::string& caption) {
  if (Control) Control->SetText(caption);
}

void TOMButton::Init() {
  TOMWin::Init();
  Control->SetDefaultButton(Default);
  Control->SetCancelButton(Cancel);
}

void TOMButton::Click(TWindowObject*) {
  TData value = Data; // each click sends its own copy
  Fire(outClick, value);
}
