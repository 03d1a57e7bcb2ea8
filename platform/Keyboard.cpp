// Keyboard navigation of a form: Tab and Shift+Tab in tab order, Enter for
// the default push button, Escape for the cancel button, and where the focus
// goes when the form is activated or the page that held it is hidden.
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

bool Shown(TWindowObject* c) {
  HWND h = c->PeekHandle();
  return h && IsWindowVisible(h) && IsWindowEnabled(h);
}

void Collect(TWindowObject* object, std::vector<TWindowObject*>& out) {
  for (TWindowObject* child : object->Children()) {
    if (child->Kind() == ckForm || child->Kind() == ckApplication) continue;
    out.push_back(child);
    Collect(child, out);
  }
}

// The shown, enabled push button of the form with the given role, or none.
TWindowObject* FindButton(TWindowObject* form, bool (TWindowObject::*role)() const) {
  for (TWindowObject* c : form->Controls())
    if (c->Kind() == ckButton && (c->*role)() && Shown(c)) return c;
  return nullptr;
}

} // namespace

std::vector<TWindowObject*> TWindowObject::Controls() {
  std::vector<TWindowObject*> out;
  Collect(this, out);
  return out;
}

std::vector<TWindowObject*> TWindowObject::TabSequence() {
  std::vector<TWindowObject*> sequence;
  for (TWindowObject* c : Controls())
    if (c->Focusable && Shown(c)) sequence.push_back(c);
  // Without a tab order of their own, controls come as a person reads the
  // page: top to bottom, then left to right.
  auto before = [](TWindowObject* a, TWindowObject* b) {
    if (a->TabOrder != b->TabOrder) return a->TabOrder < b->TabOrder;
    RECT ra{}, rb{};
    GetWindowRect(a->Handle, &ra);
    GetWindowRect(b->Handle, &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  };
  // Sorted by insertion: stable, as few lines of code as the handful of
  // controls on a page needs.
  for (size_t i = 1; i < sequence.size(); ++i)
    for (size_t j = i; j > 0 && before(sequence[j], sequence[j - 1]); --j) std::swap(sequence[j], sequence[j - 1]);
  return sequence;
}

TWindowObject* TWindowObject::FocusTarget() {
  if (TWindowObject* button = FindButton(this, &TWindowObject::GetDefaultButton))
    if (button->Focusable) return button;
  std::vector<TWindowObject*> sequence = TabSequence();
  return sequence.empty() ? nullptr : sequence.front();
}

bool TWindowObject::FocusInside() const {
  HWND focus = GetFocus();
  return focus && Handle && (focus == Handle || IsChild(Handle, focus));
}

// Forms: the focus back to the control that had it last, if a person can
// still reach it, else to the focus target; the form keeps it without one.
void TWindowObject::RestoreFocus() {
  TWindowObject* target = LastFocused && LastFocused->Focusable && Shown(LastFocused) ? LastFocused : FocusTarget();
  SetFocus(target ? target->Handle : Handle);
}

void TWindowObject::SetDefaultButton(bool on) {
  DefaultButton = on;
  SetDefaultLook(on);
}

// As in a dialog: the focused push button is drawn as the default one; while
// the focus is on anything else, the default buttons are.
void TWindowObject::ShowDefaultLook(TWindowObject* focused) {
  const bool onButton = focused && focused->KindId == ckButton;
  for (TWindowObject* c : Controls())
    if (c->KindId == ckButton) c->SetDefaultLook(onButton ? c == focused : c->DefaultButton);
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
  TWindowObject* form = Form();
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
  if ((shift & (ssCtrl | ssAlt)) || KindId == ckApplication) return false;
  if (msg != WM_KEYDOWN && msg != WM_CHAR) return false;
  TWindowObject* form = Form();
  const bool navigation = form && form->KeyboardNavigation;
  const bool down = msg == WM_KEYDOWN;
  // For these three keys the character code equals the key code.
  switch (wParam) {
    case VK_TAB:
      if (!down) return KindId != ckForm && !WantTab;
      if (!navigation || (KindId != ckForm && !TabNavigation)) return false;
      Navigate(shift & ssShift);
      return true;
    case VK_RETURN: {
      if (!navigation || (KindId == ckEdit && (Style & ES_MULTILINE) && (Style & ES_WANTRETURN))) return false;
      TWindowObject* button = KindId == ckButton ? this : FindButton(form, &TWindowObject::GetDefaultButton);
      if (down && button) button->Press();
      return !down || button;
    }
    case VK_ESCAPE: {
      if (!navigation) return false;
      TWindowObject* button = FindButton(form, &TWindowObject::GetCancelButton);
      if (down && button) button->Press();
      return !down || button;
    }
    default:
      return false;
  }
}

void EnableKeyboardNavigation(TWindowObject* window) {
  TWindowObject* form = window ? window->Form() : nullptr;
  if (form) TLayerAccess::SetKeyboardNavigation(form);
}
