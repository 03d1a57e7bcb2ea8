#pragma once
#include "Share.h"

// Passes a pulled value through: varData reads getData.
class TOMGetData : public TOMObject {
public:
  int32_t GetterCount = 0; // drawn in the scheme only
  TPointLink getData;

  void varData(TData& buffer, uint16_t index) { (void)index; PullPoint(buffer, getData); }
};
