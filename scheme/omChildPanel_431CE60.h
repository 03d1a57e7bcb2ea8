// TClassChildPanel_431CE60: the welcome frame, a panel over the window's
// client area with Next and Cancel along its bottom edge; hosts the welcome
// body.
//   inWork[0]    show (true) / hide (integer 0)
//   outEvent[0]  Next (integer 0), then the frame hides itself
//   outEvent[1]  Cancel (null)
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_431CE60 : public TPageContainer {
public:
  explicit TClassChildPanel_431CE60(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMButton* const CancelButton = Make<TOMButton>(Host());
  TOMButton* const NextButton = Make<TOMButton>(Host());
  TOMHub* const ShowHub = Make<TOMHub>();
  TOMHub* const NextHub = Make<TOMHub>();
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(Host()); // the welcome body
};
