#include "Win.h"

TOMWin::TOMWin(TWindowObject* parent) : Parent(parent) {
  if (parent) Color = parent->GetColor();
}

TOMWin::~TOMWin() {
  if (Control) {
    // Nothing of this element may be called while its window goes away.
    Control->ClearHandlers();
    TWindowObject* control = Control;
    Control = nullptr;
    FreeWindowObject(control);
  }
}

void TOMWin::AttachBaseHandlers(bool destroyed) {
  SavedMessageHook = Control->OnMessageHook;
  Control->OnMouseDown = MakeHandler<&TOMWin::MouseDown>(this);
  Control->OnMouseMove = MakeHandler<&TOMWin::MouseMove>(this);
  Control->OnMouseUp = MakeHandler<&TOMWin::MouseUp>(this);
  Control->OnDblClick = MakeHandler<&TOMWin::DblClick>(this);
  Control->OnMessageHook = MakeHandler<&TOMWin::MessageHook>(this);
  Control->OnKeyDown = MakeHandler<&TOMWin::KeyDown>(this);
  Control->OnKeyUp = MakeHandler<&TOMWin::KeyUp>(this);
  if (destroyed) Control->OnDestroyed = MakeHandler<&TOMWin::Destroyed>(this);
  Control->OnSize = MakeHandler<&TOMWin::Resized>(this);
}

void TOMWin::ApplyFont() {
  if (ParentFont) {
    Control->AssignFont(Control->GetParentFont());
    return;
  }
  TFontObject& f = Control->Font();
  f.SetColor(Font.Color);
  f.SetStyle(Font.Style);
  f.SetName(Font.Name);
  f.SetHeight(int32_t(Font.Size) + 6); // a positive cell height: size 8 gives 14 pixels
  f.SetCharset(Font.Charset);
  Control->FontChanged();
}

void TOMWin::Init() {
  AttachBaseHandlers(true);
  Control->SetPosition(Left, Top);
  Control->SetSize(Width, Height);
  Control->SetAlign(Align);
  Control->SetColor(Color);
  Control->SetCtl3D(Ctl3D == 0);
  if (Transparent) Control->SetTransparent(true);
  Control->SetEnabled(Enabled);
  Control->SetVisible(Visible);
  Control->SetCursor(Cursor);
  if (Label && Label->Control) Control->SetLabel(Label->Control);
  else if (!AccessibleName.empty()) Control->SetAccessibleName(AccessibleName);
  ApplyFont();
  if (TabOrder > 0) {
    Control->SetStyle(Control->GetStyle() | WS_TABSTOP);
    Control->SetFocusable(true);
    Control->SetTabNavigation(true);
    Control->SetTabOrder(TabOrder);
  } else if (TabOrder < 0) {
    Control->SetFocusable(false);
  }
  if (!Hint.empty()) {
    SetTooltipText(Control, Hint);
    HintTool = true;
  }
}

void TOMWin::KeyDown(TWindowObject*, uint16_t& key, uint32_t) { FireInteger(outKeyDown, key); }

void TOMWin::KeyUp(TWindowObject*, uint16_t& key, uint32_t) { FireInteger(outKeyUp, key); }

void TOMWin::MouseDown(TWindowObject*, const TMouseEvent& event) {
  MouseState = event;
  FireInteger(outMouseDown, event.Button - 1);
  if (MouseCapture && Control) {
    ReleaseCapture();
    SetCapture(Control->GetHandle());
  }
}

void TOMWin::MouseMove(TWindowObject*, const TMouseEvent& event) {
  int32_t button = -1;
  switch (MouseState.Keys) {
    case 1: button = 0; break;
    case 2: button = 1; break;
    case 16: button = 2; break;
    default: break;
  }
  MouseState = event;
  FireInteger(outMouseMove, button);
}

void TOMWin::MouseUp(TWindowObject*, const TMouseEvent& event) {
  MouseState = event;
  FireInteger(outMouseUp, event.Button - 1);
  if (MouseCapture) ReleaseCapture();
}

bool TOMWin::MessageHook(TWindowObject* sender, TMessage& message) {
  if (message.Msg == WM_SETFOCUS) FireNull(outSetFocus);
  else if (message.Msg == WM_KILLFOCUS) FireNull(outKillFocus);
  return CallMessageHook(sender, message);
}

bool TOMWin::CallMessageHook(TWindowObject* sender, TMessage& message) {
  if (SavedMessageHook) return SavedMessageHook(sender, message);
  return false;
}

void TOMWin::DblClick(TWindowObject*, const TMouseEvent&) { FireNull(outDblClick); }

void TOMWin::Resized(TWindowObject*) { FireNull(outResize); }

void TOMWin::Destroyed(TWindowObject*) { Control = nullptr; }

void TOMWin::inVisible(TData& value, uint16_t) {
  Visible = DataIsTrue(value);
  if (Control) Control->SetVisible(Visible);
}

void TOMWin::varHandle(TData& value, uint16_t) {
  HWND handle = Control ? Control->GetHandle() : nullptr;
  // Window handles carry 32 significant bits on both 32- and 64-bit Windows.
  SetIntegerData(value, int32_t(reinterpret_cast<intptr_t>(handle)));
}
