// TOMGroupBox: a framed group with a caption; holds other controls.
#pragma once

#include "Win.h"

class TOMGroupBox : public TOMWin {
public:
  explicit TOMGroupBox(TWindowObject* parent);

  void SetCaption(const std::string& caption);
};
