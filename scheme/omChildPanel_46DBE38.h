// TClassChildPanel_46DBE38: the licence body, the header strip, the two hint
// lines and the read-only licence text (resource Str2). No points.
#pragma once

#include "SchemeParts.h"
#include "omMemo.h"

class TClassChildPanel_46DBE38 : public TSchemeContainer {
public:
  explicit TClassChildPanel_46DBE38(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_46DBE38>(parent); }

  // In creation order, the host first.
  TOMPanel* const BodyPanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMLabel* const ScrollHint = Make<TOMLabel>(BodyPanel->Control);
  TOMMultiElement* const HeaderHost = Make<TOMMultiElement>(BodyPanel->Control); // the header strip
  TOMLabel* const AcceptHint = Make<TOMLabel>(BodyPanel->Control);
  TOMMemo* const LicenceText = Make<TOMMemo>(BodyPanel->Control);
};
