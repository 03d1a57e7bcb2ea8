#pragma once
#include "Share.h"

// Cuts Count characters from 1-based Position out of a text.
class TOMCopy : public TOMObject {
public:
  int32_t Position = 0;
  int32_t Count = 0;
  TPointLink getCount;
  TPointLink getPosition;
  TPointLink getString;
  TPointLink outCopy;

  void inCopy(TData& value, uint16_t index);
};
