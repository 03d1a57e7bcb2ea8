// TClassChildPanel_50BE488: the licence frame, with Back, Agree and Cancel
// along its bottom edge; hosts the licence body.
//   inWork[0]    show (true) / hide (integer 0)
//   outEvent[0]  Agree (integer 0), then the frame hides itself
//   outEvent[1]  Back (integer 0), after the frame has hidden itself
//   outEvent[2]  Cancel (null)
#pragma once

#include "SchemeParts.h"

class TClassChildPanel_50BE488 : public TSchemeContainer {
public:
  explicit TClassChildPanel_50BE488(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_50BE488>(parent); }

  // In creation order, the host first.
  TOMPanel* const FramePanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMButton* const CancelButton = Make<TOMButton>(FramePanel->Control);
  TOMButton* const AgreeButton = Make<TOMButton>(FramePanel->Control);
  TOMHub* const BackHub = Make<TOMHub>();
  TOMHub* const ShowHub = Make<TOMHub>();
  TOMButton* const BackButton = Make<TOMButton>(FramePanel->Control);
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(FramePanel->Control); // the licence body
  TOMHub* const AgreeHub = Make<TOMHub>();
};
