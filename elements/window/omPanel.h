// TOMPanel: a page background with a drawn bevel and an optional caption.
#pragma once

#include "Win.h"

class TOMPanel : public TOMWin {
public:
  using TOMWin::TOMWin;

  std::string Caption;
  uint8_t BevelInner = 0;  // 0 none, 1 lowered, 2 raised
  uint8_t BevelOuter = 0;
  uint16_t BevelWidth = 0;
  uint8_t BorderStyle = 0; // 0 none, 1 border with sunken edge, 2 dialog frame
  uint16_t BorderWidth = 0;
  uint8_t Alignment = 0;   // 0 left, 1 right, 2 centre
  TPointLink outClick;

  bool MessageHook(TWindowObject* sender, TMessage& message) override;
  void Init() override;

private:
  void Paint(TWindowObject* sender, HDC dc);
  void Click(TWindowObject* sender);
};
