// TOMLabel: a static text, word-wrapped inside its rectangle once aligned.
#pragma once

#include "Win.h"

class TOMLabel : public TOMWin {
public:
  explicit TOMLabel(TWindowObject* parent);

  TPointLink outClick;
  int32_t HoverColor = 0;
  uintptr_t HoverCursor = 0;
  bool HoverUnderline = false;
  std::string Caption;
  TPointLink getText;

  void SetAutoSize(bool on);
  void SetAlignment(uint8_t alignment);
  void Init() override;

  void inText(TData& value, uint16_t index);

private:
  void Click(TWindowObject* sender);
  void HoverOn(TWindowObject* sender);
  void HoverOff(TWindowObject* sender);
  void TextChanged(TWindowObject* sender);
  void FitText();
  void FitFont();
  bool TextShowsWhole();
  RECT TextExtent(int32_t wrapWidth); // 0: no wrapping
  void Refit(TWindowObject* sender);
  bool AutoSize = false;
};
