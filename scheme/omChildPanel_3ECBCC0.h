// TClassChildPanel_3ECBCC0: the finish body, the side picture beside the
// title and the success text.
//   inWork[0]  another text in place of the success text (a run with failures)
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_3ECBCC0 : public TSidePictureBody {
public:
  explicit TClassChildPanel_3ECBCC0(TWindowObject* parent);
};
