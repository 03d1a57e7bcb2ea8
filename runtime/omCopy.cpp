#include "omCopy.h"

#include "Text.h"

void TOMCopy::inCopy(TData& value, uint16_t) {
  std::string s = ReadPointString(value, getString, std::string());
  if (s.empty()) return;
  int32_t p = ReadPointInteger(value, getPosition, Position);
  int32_t n = ReadPointInteger(value, getCount, Count);
  if (p < 1) p = 1;
  // Characters, not bytes: a piece never ends inside one.
  std::string piece;
  const size_t start = TextOffset(s, size_t(p) - 1);
  if (start < s.size() && n > 0) piece = s.substr(start, TextOffset(s, size_t(p) - 1 + size_t(n)) - start);
  FireString(outCopy, piece);
}
