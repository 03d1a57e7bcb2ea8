// TClassChildPanel_431CE60: the welcome frame, a panel over the window's
// client area with Next and Cancel along its bottom edge; hosts the welcome
// body.
//   inWork[0]    show (true) / hide (integer 0)
//   outEvent[0]  Next (integer 0), then the frame hides itself
//   outEvent[1]  Cancel (null)
#pragma once

#include "SchemeParts.h"

class TClassChildPanel_431CE60 : public TSchemeContainer {
public:
  explicit TClassChildPanel_431CE60(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_431CE60>(parent); }

  // In creation order, the host first.
  TOMPanel* const FramePanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMButton* const CancelButton = Make<TOMButton>(FramePanel->Control);
  TOMButton* const NextButton = Make<TOMButton>(FramePanel->Control);
  TOMHub* const ShowHub = Make<TOMHub>();
  TOMHub* const NextHub = Make<TOMHub>();
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(FramePanel->Control); // the welcome body
};
