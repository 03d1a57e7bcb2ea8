#pragma once
#include <vector>
#include "Share.h"

// Fills the placeholders %1..%N of Mask from getStr[0..N-1] and fires the text.
class TOMFormatStr : public TOMObject {
public:
  // With SkipInserted off an inserted text is scanned again; a value holding
  // its own placeholder would then grow without end. After this many
  // substitutions in one call the scan goes on after each inserted text.
  static constexpr int RescanLimit = 1024;

  int32_t PointCount = 0;
  std::vector<TPointLink> getStr;
  std::string Mask;
  bool SkipInserted = false;
  TPointLink outString;

  void SetPointCount(int32_t count) {
    PointCount = count;
    getStr.assign(count > 0 ? size_t(count) : 0, TPointLink());
  }
  void inString(TData& value, uint16_t index);
  std::string Format(TData& value); // the text inString fires
};
