#include "omFormatStr.h"

std::string TOMFormatStr::Format(TData& value) {
  std::string s = Mask;
  if (PointCount <= 0) return s;
  int substitutions = 0;
  size_t p = 0; // 0-based: the 1-based rule "while p < length" looks at all but the last character
  while (p + 1 < s.size()) {
    if (s[p] != '%') {
      ++p;
      continue;
    }
    size_t q = p;
    if (s[p + 1] == '%') {
      s.erase(p, 1);
      p = q + 1;
      continue;
    }
    size_t end = p + 1;
    int64_t k = 0;
    while (end < s.size() && s[end] >= '0' && s[end] <= '9') {
      if (k <= PointCount) k = k * 10 + (s[end] - '0'); // beyond N stays beyond N
      ++end;
    }
    p = end;
    if (k == 0 || k > PointCount) continue;
    s.erase(q, end - q);
    std::string t = ReadPointString(value, getStr[size_t(k - 1)], std::string());
    s.insert(q, t);
    ++substitutions;
    bool rescan = !SkipInserted && substitutions < RescanLimit;
    p = rescan ? q : q + t.size();
  }
  return s;
}

void TOMFormatStr::inString(TData& value, uint16_t) {
  std::string s = Format(value);
  FireString(outString, s);
}
