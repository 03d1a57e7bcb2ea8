// TClassChildPanel_50BE488: the licence frame, with Back, Agree and Cancel
// along its bottom edge; hosts the licence body.
#pragma once

#include <memory>

#include "Container.h"
#include "omButton.h"
#include "omEditMulti.h"
#include "omHub.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_50BE488 : public TSchemeContainer {
public:
  explicit TClassChildPanel_50BE488(TWindowObject* parent);
  ~TClassChildPanel_50BE488() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_50BE488>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // inWork[0]: show (true) / hide (integer 0);
  // outEvent[0]: Agree (integer 0), then the frame hides itself;
  // outEvent[1]: Back (integer 0), after the frame has hidden itself;
  // outEvent[2]: Cancel (null).
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMPanel> FramePanel;      // host window element: created first, freed last
  std::unique_ptr<TOMButton> CancelButton;
  std::unique_ptr<TOMButton> AgreeButton;
  std::unique_ptr<TOMHub> Hub1;              // Back sequence
  std::unique_ptr<TOMHub> Hub2;              // show/hide
  std::unique_ptr<TOMButton> BackButton;
  std::unique_ptr<TOMMultiElement> BodyHost; // TClassChildPanel_46DBE38
  std::unique_ptr<TOMHub> Hub3;              // Agree sequence
};
