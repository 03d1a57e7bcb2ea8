#pragma once
#include "Share.h"

// Keeps a value; Default is the start value and what inClear restores.
class TOMMemory : public TOMObject {
public:
  TData Current;
  TData Default;
  TPointLink outData;

  void SetDefault(const TData& value) {
    Default = value;
    Current = value;
  }
  void inValue(TData& value, uint16_t index);
  void inClear(TData& value, uint16_t index);
  void varValue(TData& buffer, uint16_t index);
};
