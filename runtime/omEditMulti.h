// The bridge of a hosted container: its inputs are the host's outEvent[i], its
// data methods the host's getData[i].
#pragma once

#include <vector>

#include "Container.h"
#include "Share.h"

class TOMMultiElement;

class TOMEditMulti : public TOMObject {
public:
  TOMMultiElement* Host = nullptr;
  TSchemeContainer* Container = nullptr; // freed by the host
  std::vector<TPointLink> WorkLinks;     // where inWork[i] goes inside
  std::vector<TPointLink> VarLinks;      // what varData[i] reads inside

  void SetWorkCount(uint16_t count) { WorkLinks.assign(count, TPointLink()); }
  void SetVarCount(uint16_t count) { VarLinks.assign(count, TPointLink()); }

  void inEvent(TData& value, uint16_t index);   // outEvent[index] seen from inside
  void getData(TData& buffer, uint16_t index);  // getData[index] seen from inside
};

// The create function of a hosted container class: builds it and returns its bridge.
template <class C> TOMEditMulti* CreateContainer(TWindowObject* parent) {
  C* container = new C(parent);
  return container->Bridge();
}
