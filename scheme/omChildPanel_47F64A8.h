// TClassChildPanel_47F64A8: the finish frame, with Done on its bottom edge;
// hosts the finish body.
//   inWork[0]    show (true) / hide (integer 0)
//   inWork[1]    another text for the body
//   outEvent[0]  Done (integer 0)
#pragma once

#include "SchemeParts.h"

class TClassChildPanel_47F64A8 : public TSchemeContainer {
public:
  explicit TClassChildPanel_47F64A8(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_47F64A8>(parent); }

  // In creation order, the host first.
  TOMPanel* const FramePanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMButton* const DoneButton = Make<TOMButton>(FramePanel->Control);
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(FramePanel->Control); // the finish body
};
