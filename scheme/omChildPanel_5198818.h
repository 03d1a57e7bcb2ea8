// TClassChildPanel_5198818: the licence header strip, a white title across
// the top of the licence body. No points.
#pragma once

#include "SchemeParts.h"

class TClassChildPanel_5198818 : public TSchemeContainer {
public:
  explicit TClassChildPanel_5198818(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_5198818>(parent); }

  // In creation order, the host first.
  TOMPanel* const HeaderPanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMLabel* const HeaderLabel = Make<TOMLabel>(HeaderPanel->Control);
};
