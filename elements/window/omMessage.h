// TOMMessage: a modal message box; reports the pressed button.
#pragma once

#include <cstdint>
#include <string>

#include "Share.h"

class TOMMessage : public TOMObject {
public:
  std::string Text;
  std::string Caption;
  uint8_t Buttons = 0;
  uint8_t IconKind = 0;
  TPointLink getText;
  TPointLink getCaption;
  TPointLink outResult;

  void inMessage(TData& value, uint16_t index);
};

// MessageBox style of a Buttons / IconKind value (values outside the tables: 0).
uint32_t MessageButtonStyle(uint8_t buttons);
uint32_t MessageIconStyle(uint8_t iconKind);
