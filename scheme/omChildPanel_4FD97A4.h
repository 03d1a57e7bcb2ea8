// TClassChildPanel_4FD97A4: the folder frame, with Back, Install and Cancel
// along its bottom edge; hosts the folder body and remembers the folder that
// Install sends.
//   inWork[0]    show (true) / hide (integer 0); refreshes the free-space line
//   outEvent[0]  Install, with the folder path as text, after the frame hid itself;
//                when the folder's drive has too little room a box says so instead
//   outEvent[1]  Back (integer 0), then the frame hides itself
//   outEvent[2]  Cancel (null)
//   varData[0]   the folder path sent at the last Install (null before)
#pragma once

#include "SchemeShapes.h"
#include "omDoData.h"
#include "omMemory.h"
#include "omMessage.h"
#include "omSpaceCheck.h"

class TClassChildPanel_4FD97A4 : public TPageContainer {
public:
  explicit TClassChildPanel_4FD97A4(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMButton* const CancelButton = Make<TOMButton>(Host());
  TOMDoData* const PathSender = Make<TOMDoData>();
  TOMHub* const InstallHub = Make<TOMHub>();
  TOMMemory* const PathMemory = Make<TOMMemory>();
  TOMHub* const ShowHub = Make<TOMHub>();
  TOMButton* const BackButton = Make<TOMButton>(Host());
  TOMHub* const BackHub = Make<TOMHub>();
  TOMMultiElement* const BodyHost = Make<TOMMultiElement>(Host()); // the folder body
  TOMButton* const InstallButton = Make<TOMButton>(Host());
  TOMSpaceCheck* const SpaceCheck = Make<TOMSpaceCheck>();
  TOMMessage* const SpaceBox = Make<TOMMessage>();
};
