// The settings every page panel shares: no caption, a raised 1-pixel inner
// bevel inside a 1-pixel band of the button face, Arial 8. Only the bounds
// differ from panel to panel.
#pragma once

#include "omPanel.h"

inline void SetPagePanel(TOMPanel& panel, int32_t left, int32_t top, int32_t width, int32_t height) {
  panel.Left = left;
  panel.Top = top;
  panel.Width = width;
  panel.Height = height;
  panel.Caption = "";
  panel.BevelOuter = 0;
  panel.BevelInner = 2;
  panel.BevelWidth = 1;
  panel.BorderWidth = 1;
  panel.BorderStyle = 0;
  panel.Alignment = 0;
  panel.Color = int32_t(0xFF00000F);
  panel.Font = MakeFontRec("Arial", 8, 0, 0, 1);
}
