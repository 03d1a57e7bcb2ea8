// TClassChildPanel_4FD97A4: the folder frame, with Back, Install and Cancel
// along its bottom edge and the memory of the folder sent at Install; hosts
// the folder body.
#pragma once

#include <memory>

#include "Container.h"
#include "omButton.h"
#include "omDoData.h"
#include "omEditMulti.h"
#include "omHub.h"
#include "omMemory.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_4FD97A4 : public TSchemeContainer {
public:
  explicit TClassChildPanel_4FD97A4(TWindowObject* parent);
  ~TClassChildPanel_4FD97A4() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_4FD97A4>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // inWork[0]: show (true) / hide (integer 0), each also refreshing the body;
  // outEvent[0]: Install, with the folder path, after the frame has hidden itself;
  // outEvent[1]: Back (integer 0), then the frame hides itself;
  // outEvent[2]: Cancel (null);
  // varData[0]: the folder path remembered at the last Install.
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMPanel> FramePanel;      // host window element: created first, freed last
  std::unique_ptr<TOMButton> CancelButton;
  std::unique_ptr<TOMDoData> PathSender;
  std::unique_ptr<TOMHub> Hub1;              // Install sequence
  std::unique_ptr<TOMMemory> PathMemory;
  std::unique_ptr<TOMHub> Hub2;              // show/hide and refresh
  std::unique_ptr<TOMButton> BackButton;
  std::unique_ptr<TOMHub> Hub3;              // Back sequence
  std::unique_ptr<TOMMultiElement> BodyHost; // TClassChildPanel_4E89C48
  std::unique_ptr<TOMButton> InstallButton;
};
