// TClassChildPanel_46DBE38: the licence body, the header strip, the two hint
// lines and the read-only licence text (resource Str2). No points.
#pragma once

#include "SchemeShapes.h"
#include "omMemo.h"

class TClassChildPanel_46DBE38 : public TPageContainer {
public:
  explicit TClassChildPanel_46DBE38(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMLabel* const ScrollHint = Make<TOMLabel>(Host());
  TOMMultiElement* const HeaderHost = Make<TOMMultiElement>(Host()); // the header strip
  TOMLabel* const AcceptHint = Make<TOMLabel>(Host());
  TOMMemo* const LicenceText = Make<TOMMemo>(Host());
};
