// TClassChildGroupBox_2F7DC8C: the folder group of the folder page, the
// disabled folder field, Browse with its folder dialog, and the cut of the
// drive letter that the field's changes send out.
#pragma once

#include <memory>

#include "Container.h"
#include "omBrowse.h"
#include "omButton.h"
#include "omCopy.h"
#include "omEdit.h"
#include "omEditMulti.h"
#include "omGroupBox.h"

class TClassChildGroupBox_2F7DC8C : public TSchemeContainer {
public:
  explicit TClassChildGroupBox_2F7DC8C(TWindowObject* parent);
  ~TClassChildGroupBox_2F7DC8C() override;

  static TOMEditMulti* Create(TWindowObject* parent) { return CreateContainer<TClassChildGroupBox_2F7DC8C>(parent); }
  TOMEditMulti* Bridge() { return Bridge_.get(); }

  // outEvent[0]: the drive letter after each change of the field;
  // varData[0]: the field's text.
  std::unique_ptr<TOMEditMulti> Bridge_;
  std::unique_ptr<TOMGroupBox> GroupBox; // host window element: created first, freed last
  std::unique_ptr<TOMButton> BrowseButton;
  std::unique_ptr<TOMBrowse> FolderDialog;
  std::unique_ptr<TOMEdit> FolderField;
  std::unique_ptr<TOMCopy> DriveCopy;
};
