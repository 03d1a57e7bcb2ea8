#pragma once
#include "Share.h"

// Replaces the event's value by getData's value, or Data, and sends it on.
class TOMDoData : public TOMObject {
public:
  TData Data;
  TPointLink getData;
  TPointLink outEventData;

  void inDo(TData& value, uint16_t index);
};
