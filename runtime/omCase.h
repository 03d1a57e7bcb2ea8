#pragma once
#include "Share.h"

// Lets an event through outMatch only for Value; anything else goes to outElse.
class TOMCase : public TOMObject {
public:
  TData Value;
  TPointLink outMatch;
  TPointLink outElse;

  void inCase(TData& value, uint16_t index);
};
