// TClassChildPanel_4E89C48: the folder body, its title and explanation, the
// folder group, and the required-space and free-space lines with the three
// elements that compute the free space of the chosen drive.
//   inWork[0]   recompute the free-space line for the drive remembered
//   varData[0]  the folder field's text
#pragma once

#include "SchemeParts.h"
#include "omHardDisk.h"
#include "omMemory.h"

class TClassChildPanel_4E89C48 : public TSchemeContainer {
public:
  explicit TClassChildPanel_4E89C48(TWindowObject* parent);
  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_4E89C48>(parent); }

  // In creation order, the host first.
  TOMPanel* const BodyPanel;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMLabel* const TitleLabel = Make<TOMLabel>(BodyPanel->Control);
  TOMMultiElement* const GroupHost = Make<TOMMultiElement>(BodyPanel->Control); // the folder group
  TOMLabel* const Explanation = Make<TOMLabel>(BodyPanel->Control);
  TOMLabel* const RequiredSpace = Make<TOMLabel>(BodyPanel->Control);
  TOMHardDisk* const Disk = Make<TOMHardDisk>();
  TOMMemory* const DriveMemory = Make<TOMMemory>();
  TOMHub* const DriveHub = Make<TOMHub>();
  TOMLabel* const FreeSpace = Make<TOMLabel>(BodyPanel->Control);
  TOMFormatStr* const FreeSpaceFormat = Make<TOMFormatStr>();
};
