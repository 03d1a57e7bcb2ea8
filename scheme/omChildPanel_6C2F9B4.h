// TClassChildPanel_6C2F9B4: the welcome body, the side picture beside the
// title and the welcome text (resource Str1). No points.
#pragma once

#include "SchemeShapes.h"

class TClassChildPanel_6C2F9B4 : public TSidePictureBody {
public:
  explicit TClassChildPanel_6C2F9B4(TWindowObject* parent);
};
