// TClassChildPanel_5198818: the licence header strip, a white title across
// the top of the licence body. No points.
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_5198818 : public TPageContainer {
public:
  explicit TClassChildPanel_5198818(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMLabel* const HeaderLabel = Make<TOMLabel>(Host());
};
