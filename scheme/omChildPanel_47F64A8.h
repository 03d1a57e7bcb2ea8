// TClassChildPanel_47F64A8: the finish frame, with Done on its bottom edge;
// hosts the finish body.
#pragma once

#include <memory>

#include "Container.h"
#include "omButton.h"
#include "omEditMulti.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_47F64A8 : public TSchemeContainer {
public:
  explicit TClassChildPanel_47F64A8(TWindowObject* parent);
  ~TClassChildPanel_47F64A8() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_47F64A8>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // inWork[0]: show (true) / hide (integer 0); inWork[1]: the body's text;
  // outEvent[0]: Done (integer 0); the frame stays, the main scheme closes.
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMPanel> FramePanel;      // host window element: created first, freed last
  std::unique_ptr<TOMButton> DoneButton;
  std::unique_ptr<TOMMultiElement> BodyHost; // TClassChildPanel_3ECBCC0
};
