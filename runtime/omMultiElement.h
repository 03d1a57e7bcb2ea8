// Hosts one inner container in an outer one; the bridge inside is TOMEditMulti.
#pragma once

#include <vector>

#include "Container.h"
#include "Share.h"

class TOMEditMulti;
using TCreateInner = TOMEditMulti* (*)(TWindowObject* parent);

class TOMMultiElement : public TOMObject {
public:
  TOMEditMulti* Inner = nullptr;
  TCreateInner CreateInner = nullptr;
  TWindowObject* ParentControl = nullptr;
  bool CreateOnFirstUse = false;
  std::vector<TPointLink> EventLinks; // outEvent[i]
  std::vector<TPointLink> DataLinks;  // getData[i]

  TOMMultiElement() = default; // the non-visual variant
  explicit TOMMultiElement(TWindowObject* parentControl) : ParentControl(parentControl) {}
  ~TOMMultiElement() override;

  void SetCreateInner(TCreateInner createInner);
  void SetEventCount(uint16_t count) { EventLinks.assign(count, TPointLink()); }
  void SetDataCount(uint16_t count) { DataLinks.assign(count, TPointLink()); }

  void inWork(TData& value, uint16_t index);
  void varData(TData& buffer, uint16_t index);

private:
  void BuildInner(bool onFirstUse);
};
