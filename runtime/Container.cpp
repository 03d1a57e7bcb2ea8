#include "Container.h"

#include "omEditMulti.h"

TSchemeContainer::~TSchemeContainer() {
  for (size_t i = HasHost ? 1 : 0; i < Elements.size(); ++i) Elements[i].reset();
  if (HasHost) Elements.front().reset();
}

void TSchemeContainer::Own(TOMObject* element) { Elements.emplace_back(element); }

TOMEditMulti* TSchemeContainer::MakeBridge() {
  FBridge = Make<TOMEditMulti>();
  return FBridge;
}

void TSchemeContainer::SetBridge(std::initializer_list<TPointLink> works, std::initializer_list<TPointLink> vars) {
  FBridge->SetWorkCount(uint16_t(works.size()));
  FBridge->SetVarCount(uint16_t(vars.size()));
  FBridge->WorkLinks.assign(works);
  FBridge->VarLinks.assign(vars);
  FBridge->Container = this;
}

namespace {
std::unique_ptr<TInitMan> InitMan; // absent, collecting, running, absent again
}

void DeferInit(TInitCallback callback) {
  if (!InitMan) InitMan = std::make_unique<TInitMan>();
  InitMan->Items.push_back(callback);
  ++InitMan->Count;
}

void RunDeferredInits() {
  if (!InitMan || InitMan->Running) return;
  InitMan->Running = true;
  // Callbacks may register more while this runs: those land after the first n
  // and are dropped with the list. Items may reallocate, so index each time.
  for (int32_t i = InitMan->Count - 1; i >= 0; --i) {
    TInitCallback callback = InitMan->Items[size_t(i)];
    if (callback.Method) callback.Method(callback.Object);
  }
  InitMan.reset();
}

bool DeferredInitsPending() { return InitMan != nullptr; }
