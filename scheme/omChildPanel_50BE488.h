// TClassChildPanel_50BE488: the licence frame, with Back, Agree and Cancel
// along its bottom edge; hosts the licence body.
//   inWork[0]    show (true) / hide (integer 0)
//   outEvent[0]  Agree (integer 0), then the frame hides itself
//   outEvent[1]  Back (integer 0), after the frame has hidden itself
//   outEvent[2]  Cancel (null)
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_50BE488 : public TPageContainer {
public:
  explicit TClassChildPanel_50BE488(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMButton* const CancelButton = Make<TOMButton>(Host());
  TOMButton* const AgreeButton = Make<TOMButton>(Host());
  TOMHub* const BackHub = Make<TOMHub>();
  TOMHub* const ShowHub = Make<TOMHub>();
  TOMButton* const BackButton = Make<TOMButton>(Host());
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(Host()); // the licence body
  TOMHub* const AgreeHub = Make<TOMHub>();
};
