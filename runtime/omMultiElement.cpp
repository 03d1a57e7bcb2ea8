#include "omMultiElement.h"

#include "omEditMulti.h"

TOMMultiElement::~TOMMultiElement() {
  if (Inner) {
    TSchemeContainer* container = Inner->Container;
    Inner = nullptr;
    delete container; // frees the bridge with the inner elements
  }
}

void TOMMultiElement::SetCreateInner(TCreateInner createInner) {
  CreateInner = createInner;
  if (!CreateOnFirstUse) BuildInner(false);
}

void TOMMultiElement::BuildInner(bool onFirstUse) {
  if (Inner || !CreateInner) return;
  Inner = CreateInner(ParentControl);
  Inner->Host = this;
  if (onFirstUse) RunDeferredInits();
}

void TOMMultiElement::inWork(TData& value, uint16_t index) {
  BuildInner(true);
  if (Inner) Fire(LinkAt(Inner->WorkLinks, index), value);
}

void TOMMultiElement::varData(TData& buffer, uint16_t index) {
  BuildInner(true);
  if (Inner) PullPoint(buffer, LinkAt(Inner->VarLinks, index));
  else ClearData(buffer);
}
