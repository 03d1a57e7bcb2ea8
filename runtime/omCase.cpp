#include "omCase.h"

namespace {
bool Matches(const TData& head, const TData& value) {
  switch (head.Kind) {
  case dkInteger: return DataToInteger(value) == head.IntValue;
  case dkString: return DataToString(value) == head.StrValue;
  case dkReal: return DataToReal(value) == head.RealValue;
  default: return false; // dkNull and dkStream never match
  }
}
} // namespace

void TOMCase::inCase(TData& value, uint16_t) {
  TData arrived = value;
  TData head = TakeEventValue(value);
  if (Matches(head, Value)) FireNull(outMatch);
  else Fire(outElse, arrived);
}
