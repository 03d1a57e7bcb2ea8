// TClassChildPanel_4E89C48: the folder body, its title and explanation, the
// folder group, and the required-space and free-space lines with the three
// elements that compute the free space of the chosen drive.
//   inWork[0]   recompute the free-space line for the drive remembered
//   varData[0]  the folder field's text
#pragma once

#include "SchemeShapes.h"
#include "omHardDisk.h"
#include "omMemory.h"

class TClassChildPanel_4E89C48 : public TPageContainer {
public:
  explicit TClassChildPanel_4E89C48(TWindowObject* parent);

  // In creation order, after the panel and the bridge.
  TOMLabel* const TitleLabel = Make<TOMLabel>(Host());
  TOMMultiElement* const GroupHost = Make<TOMMultiElement>(Host()); // the folder group
  TOMLabel* const Explanation = Make<TOMLabel>(Host());
  TOMLabel* const RequiredSpace = Make<TOMLabel>(Host());
  TOMHardDisk* const Disk = Make<TOMHardDisk>();
  TOMMemory* const DriveMemory = Make<TOMMemory>();
  TOMHub* const DriveHub = Make<TOMHub>();
  TOMLabel* const FreeSpace = Make<TOMLabel>(Host());
  TOMFormatStr* const FreeSpaceFormat = Make<TOMFormatStr>();
};
