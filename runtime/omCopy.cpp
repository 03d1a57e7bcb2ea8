#include "omCopy.h"

void TOMCopy::inCopy(TData& value, uint16_t) {
  std::string s = ReadPointString(value, getString, std::string());
  if (s.empty()) return;
  int32_t p = ReadPointInteger(value, getPosition, Position);
  int32_t n = ReadPointInteger(value, getCount, Count);
  if (p < 1) p = 1;
  std::string piece;
  if (size_t(p) <= s.size() && n > 0) piece = s.substr(size_t(p) - 1, size_t(n));
  FireString(outCopy, piece);
}
