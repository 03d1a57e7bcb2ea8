#pragma once
#include <vector>
#include "Share.h"

// Fans one event out to outStep[0..n-1], in index order, each with its own copy.
class TOMHub : public TOMObject {
public:
  uint8_t OutputCount = 0;
  uint8_t InputCount = 0; // drawn in the scheme only
  std::vector<TPointLink> outStep;

  void SetOutputCount(uint8_t count) {
    OutputCount = count;
    outStep.assign(count, TPointLink());
  }
  void inDo(TData& value, uint16_t index);
};
