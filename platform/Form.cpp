// Forms and the application window: their icon, the controls they hold, the
// focus they give back, and the page a person has just been shown.
#include <utility>

#include "Layer.h"

namespace {

void Collect(const TWindowObject* object, std::vector<TWindowObject*>& out) {
  for (TWindowObject* child : object->Children()) {
    if (!(child->GetStyle() & WS_CHILD)) continue; // a form of its own
    out.push_back(child);
    Collect(child, out);
  }
}

// The shown, enabled push button of the form with the given role, or none.
TWindowObject* FindButton(TFormObject* form, bool (TWindowObject::*role)() const) {
  for (TWindowObject* c : form->Controls())
    if (KindOf(c->Kind()).PushButton && (c->*role)() && Shown(c)) return c;
  return nullptr;
}

} // namespace

TFormObject::TFormObject(TControlKindId kind, TWindowObject* parent) : TWindowObject(kind, parent) {
  OwnerForm = this;
}

TFormObject::~TFormObject() {
  Release();
  if (State.Icon && State.IconOwned) DestroyIcon(State.Icon);
}

void TFormObject::SetIcon(HICON icon, bool owned) {
  HICON old = State.Icon;
  bool oldOwned = State.IconOwned;
  State.Icon = icon;
  State.IconOwned = owned;
  if (PeekHandle()) SendMessageW(PeekHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  if (old && old != icon && oldOwned) DestroyIcon(old);
}

void TFormObject::ShowIcon() {
  const TFormObject* above = Parent() ? Parent()->Form() : nullptr;
  if (!State.Icon && above && above->State.Icon) {
    State.Icon = CopyIcon(above->State.Icon);
    State.IconOwned = true;
  }
  if (State.Icon) SendMessageW(PeekHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(State.Icon));
}

std::vector<TWindowObject*> TFormObject::Controls() {
  std::vector<TWindowObject*> out;
  Collect(this, out);
  return out;
}

std::vector<TWindowObject*> TFormObject::TabSequence() {
  std::vector<TWindowObject*> sequence;
  for (TWindowObject* c : Controls())
    if (c->GetFocusable() && Shown(c)) sequence.push_back(c);
  // Without a tab order of their own, controls come as a person reads the
  // page: top to bottom, then left to right.
  auto before = [](TWindowObject* a, TWindowObject* b) {
    if (a->GetTabOrder() != b->GetTabOrder()) return a->GetTabOrder() < b->GetTabOrder();
    RECT ra{}, rb{};
    GetWindowRect(a->PeekHandle(), &ra);
    GetWindowRect(b->PeekHandle(), &rb);
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  };
  // Sorted by insertion: stable, as few lines of code as the handful of
  // controls on a page needs.
  for (size_t i = 1; i < sequence.size(); ++i)
    for (size_t j = i; j > 0 && before(sequence[j], sequence[j - 1]); --j) std::swap(sequence[j], sequence[j - 1]);
  return sequence;
}

TWindowObject* TFormObject::ShownDefaultButton() { return FindButton(this, &TWindowObject::GetDefaultButton); }

TWindowObject* TFormObject::ShownCancelButton() { return FindButton(this, &TWindowObject::GetCancelButton); }

TWindowObject* TFormObject::FocusTarget() {
  if (TWindowObject* button = ShownDefaultButton())
    if (button->GetFocusable()) return button;
  std::vector<TWindowObject*> sequence = TabSequence();
  return sequence.empty() ? nullptr : sequence.front();
}

void TFormObject::RestoreFocus() {
  TWindowObject* last = State.LastFocused;
  TWindowObject* target = last && last->GetFocusable() && Shown(last) ? last : FocusTarget();
  SetFocus(target ? target->PeekHandle() : PeekHandle());
}

void TFormObject::Forget(TWindowObject* window) {
  if (State.LastFocused == window) State.LastFocused = nullptr;
}

void TFormObject::PageShown() {
  State.PageShown = true;
  State.PageShownAt = GetTickCount();
}

bool TFormObject::PressTooSoon(DWORD messageTime) const {
  // Signed: a press made before the page showed, still queued, counts too.
  return State.PageShown && LONG(messageTime - State.PageShownAt) < LONG(GetDoubleClickTime());
}

// A form shown or hidden is no page of a form: nothing to note, and the focus
// stays where the system puts it.
void TFormObject::Show(bool on) { ShowWindow(PeekHandle(), on ? SW_SHOW : SW_HIDE); }
