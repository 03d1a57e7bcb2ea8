// TClassChildPanel_431CE60: the welcome frame, a panel over the window's
// client area with Next and Cancel along its bottom edge; hosts the welcome
// body.
#pragma once

#include <memory>

#include "Container.h"
#include "omButton.h"
#include "omEditMulti.h"
#include "omHub.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_431CE60 : public TSchemeContainer {
public:
  explicit TClassChildPanel_431CE60(TWindowObject* parent);
  ~TClassChildPanel_431CE60() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_431CE60>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // inWork[0]: show (true) / hide (integer 0);
  // outEvent[0]: Next (integer 0), then the frame hides itself;
  // outEvent[1]: Cancel (null).
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMPanel> FramePanel;      // host window element: created first, freed last
  std::unique_ptr<TOMButton> CancelButton;
  std::unique_ptr<TOMButton> NextButton;
  std::unique_ptr<TOMHub> Hub1;              // show/hide
  std::unique_ptr<TOMHub> Hub2;              // Next sequence
  std::unique_ptr<TOMMultiElement> BodyHost; // TClassChildPanel_6C2F9B4
};
