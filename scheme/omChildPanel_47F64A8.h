// TClassChildPanel_47F64A8: the finish frame, with Done on its bottom edge;
// hosts the finish body.
//   inWork[0]    show (true) / hide (integer 0)
//   inWork[1]    another text for the body
//   outEvent[0]  Done (integer 0)
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_47F64A8 : public TPageContainer {
public:
  explicit TClassChildPanel_47F64A8(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMButton* const DoneButton = Make<TOMButton>(Host());
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(Host()); // the finish body
};
