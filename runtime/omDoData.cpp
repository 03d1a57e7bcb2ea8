#include "omDoData.h"

void TOMDoData::inDo(TData& value, uint16_t) {
  ClearData(value);
  TData send = ReadPointData(value, getData, &Data);
  ForwardValue(value, outEventData, send);
}
