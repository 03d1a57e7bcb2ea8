// TClassChildGroupBox_2F7DC8C: the folder group of the folder page, the
// disabled folder field, Browse with its folder dialog, and the cut of the
// drive letter that the field's changes send out.
//   outEvent[0]  the first character of the field's new text (the drive letter)
//   varData[0]   the field's text
#pragma once

#include "SchemeShapes.h"
#include "omBrowse.h"
#include "omCopy.h"
#include "omEdit.h"
#include "omGroupBox.h"

class TClassChildGroupBox_2F7DC8C : public TSchemeContainer {
public:
  explicit TClassChildGroupBox_2F7DC8C(TWindowObject* parent);

  // In creation order, the host first.
  TOMGroupBox* const GroupBox;
  TOMEditMulti* const EditMulti = MakeBridge();
  TOMButton* const BrowseButton = Make<TOMButton>(GroupBox->Control);
  TOMBrowse* const FolderDialog = Make<TOMBrowse>();
  TOMEdit* const FolderField = Make<TOMEdit>(GroupBox->Control);
  TOMCopy* const DriveCopy = Make<TOMCopy>();

private:
  TOMGroupBox* MakeGroupBox(TWindowObject* parent);
};
