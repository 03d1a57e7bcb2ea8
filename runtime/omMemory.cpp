#include "omMemory.h"

void TOMMemory::inValue(TData& value, uint16_t) {
  Current = TakeEventValue(value);
  ForwardValue(value, outData, Current);
}

void TOMMemory::inClear(TData& value, uint16_t) {
  Current = Default;
  ForwardValue(value, outData, Default);
}

void TOMMemory::varValue(TData& buffer, uint16_t) { buffer = Current; }
