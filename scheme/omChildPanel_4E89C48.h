// TClassChildPanel_4E89C48: the folder body, the title, the explanation, the
// folder group and the required- and free-space lines with the elements that
// compute the free space of the chosen drive.
#pragma once

#include <memory>

#include "Container.h"
#include "omEditMulti.h"
#include "omFormatStr.h"
#include "omHardDisk.h"
#include "omHub.h"
#include "omLabel.h"
#include "omMemory.h"
#include "omMultiElement.h"
#include "omPanel.h"

class TClassChildPanel_4E89C48 : public TSchemeContainer {
public:
  explicit TClassChildPanel_4E89C48(TWindowObject* parent);
  ~TClassChildPanel_4E89C48() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildPanel_4E89C48>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // inWork[0]: refresh the free-space line; varData[0]: the folder field's text.
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMPanel> BodyPanel;          // host window element: created first, freed last
  std::unique_ptr<TOMLabel> TitleLabel;
  std::unique_ptr<TOMMultiElement> GroupHost;   // TClassChildGroupBox_2F7DC8C
  std::unique_ptr<TOMLabel> Explanation;
  std::unique_ptr<TOMLabel> RequiredSpace;
  std::unique_ptr<TOMHardDisk> Disk;
  std::unique_ptr<TOMMemory> DriveMemory;
  std::unique_ptr<TOMHub> DriveHub;
  std::unique_ptr<TOMLabel> FreeSpace;
  std::unique_ptr<TOMFormatStr> FreeSpaceFormat;
};
