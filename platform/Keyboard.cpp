// Keyboard navigation of a form: Tab and Shift+Tab in tab order, Enter for
// the default push button, Escape for the cancel button; what each kind does
// with them is in its row of the kind table.
#include <algorithm>

#include "Layer.h"

namespace {

uint32_t ShiftState() {
  uint32_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  return shift;
}

} // namespace

bool TWindowObject::FocusInside() const {
  HWND focus = GetFocus();
  return focus && Handle && (focus == Handle || IsChild(Handle, focus));
}

void TWindowObject::SetDefaultButton(bool on) {
  DefaultButton = on;
  SetDefaultLook(on);
}

// This window took the focus. As in a dialog: the focused push button is
// drawn as the default one; while the focus is on anything else, the default
// buttons are.
void TWindowObject::ShowDefaultLook() {
  const bool onButton = KindOf(KindId).PushButton;
  for (TWindowObject* c : OwnerForm->Controls())
    if (KindOf(c->KindId).PushButton) c->SetDefaultLook(onButton ? c == this : c->DefaultButton);
}

void TWindowObject::SetDefaultLook(bool on) {
  const DWORD style = (Style & ~DWORD(BS_TYPEMASK)) | (on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
  if (style == Style) return;
  Style = style;
  if (Handle) SendMessageW(Handle, BM_SETSTYLE, style & 0xFFFF, TRUE);
}

// What a click on the button sends, as a dialog sends it for Enter.
void TWindowObject::Press() {
  if (!Handle || !ParentObject || !ParentObject->Handle) return;
  SendMessageW(ParentObject->Handle, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Handle), BN_CLICKED),
               reinterpret_cast<LPARAM>(Handle));
}

bool TWindowObject::Navigate(bool backwards) {
  TFormObject* form = Form();
  if (!form) return false;
  std::vector<TWindowObject*> sequence = form->TabSequence();
  if (sequence.empty()) return false;
  const size_t n = sequence.size();
  const size_t at = size_t(std::find(sequence.begin(), sequence.end(), this) - sequence.begin());
  size_t next;
  if (at == n) next = backwards ? n - 1 : 0; // from the form itself
  else next = backwards ? (at + n - 1) % n : (at + 1) % n;
  SetFocus(sequence[next]->Handle);
  return true;
}

// The keyboard step after the control's own key handlers. True: swallowed.
bool TWindowObject::HandleKey(UINT msg, WPARAM& wParam) {
  uint32_t shift = ShiftState();
  if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) {
    if (OnKeyDown) {
      uint16_t key = uint16_t(wParam);
      OnKeyDown(this, key, shift);
      if (key == 0) return true;
      wParam = key;
    }
  } else if (msg == WM_KEYUP || msg == WM_SYSKEYUP) {
    if (OnKeyUp) {
      uint16_t key = uint16_t(wParam);
      OnKeyUp(this, key, shift);
      if (key == 0) return true;
      wParam = key;
    }
  }
  if (shift & (ssCtrl | ssAlt)) return false;
  if (msg != WM_KEYDOWN && msg != WM_CHAR) return false;
  TFormObject* form = Form();
  const bool navigation = form && form->GetKeyboardNavigation();
  const bool down = msg == WM_KEYDOWN;
  const TControlKind& kind = KindOf(KindId);
  // For these three keys the character code equals the key code.
  switch (wParam) {
    case VK_TAB:
      if (!down) return !WantTab;
      if (!navigation || !TabNavigation) return false;
      Navigate(shift & ssShift);
      return true;
    case VK_RETURN: {
      if (!navigation || (kind.OwnEnter && (Style & kind.OwnEnter) == kind.OwnEnter)) return false;
      TWindowObject* button = kind.PushButton ? this : form->ShownDefaultButton();
      if (down && button) button->Press();
      return !down || button;
    }
    case VK_ESCAPE: {
      if (!navigation) return false;
      TWindowObject* button = form->ShownCancelButton();
      if (down && button) button->Press();
      return !down || button;
    }
    default:
      return false;
  }
}

void EnableKeyboardNavigation(TWindowObject* window) {
  TFormObject* form = window ? window->Form() : nullptr;
  if (form) form->SetKeyboardNavigation(true);
}
