// Settings the page containers share: their panels, labels, side pictures
// and navigation buttons differ only in bounds, colour, font, caption, bitmap
// and the value a button sends.
#pragma once

#include <memory>
#include <string>

#include "omButton.h"
#include "omImage.h"
#include "omLabel.h"
#include "omPanel.h"

// "Отмена", "<Назад": the same on every page that has them.
inline const char* const CancelCaption = "\xCE\xF2\xEC\xE5\xED\xE0";
inline const char* const BackCaption = "<\xCD\xE0\xE7\xE0\xE4";

// A container's host panel, made and initialised before anything else: the
// container's other elements are children of its window. No caption, a
// raised 1-pixel inner bevel inside a 1-pixel band of the button face,
// Arial 8.
inline std::unique_ptr<TOMPanel> MakePagePanel(TWindowObject* parent, int32_t left, int32_t top, int32_t width,
                                               int32_t height, bool visible = true) {
  auto panel = std::make_unique<TOMPanel>(parent);
  panel->Left = left;
  panel->Top = top;
  panel->Width = width;
  panel->Height = height;
  panel->Caption = "";
  panel->BevelOuter = 0;
  panel->BevelInner = 2;
  panel->BevelWidth = 1;
  panel->BorderWidth = 1;
  panel->BorderStyle = 0;
  panel->Alignment = 0;
  panel->Color = int32_t(0xFF00000F);
  panel->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  panel->Visible = visible;
  panel->Init();
  return panel;
}

// What a navigation button answers besides a click: the forward button of a
// page is its default button (Enter), Cancel its cancel button (Escape).
enum TButtonKey { bkNone, bkEnter, bkEscape };

// Every navigation button: 75 x 25 on the frame's bottom edge, Arial 8.
inline void SetNavigationButton(TOMButton& button, int32_t left, const char* caption, const TData& data,
                                TButtonKey key = bkNone) {
  button.Left = left;
  button.Top = 290;
  button.Width = 75;
  button.Height = 25;
  button.Font = MakeFontRec("Arial", 8, 0, 0, 1);
  button.Data = data;
  button.Default = key == bkEnter;
  button.Cancel = key == bkEscape;
  button.SetCaption(caption);
  button.Init();
}

// A body text: fixed bounds (not sized to the text), aligned left.
inline void SetPageLabel(TOMLabel& label, int32_t left, int32_t top, int32_t width, int32_t height, int32_t color,
                         const TFontRec& font, const std::string& caption) {
  label.Left = left;
  label.Top = top;
  label.Width = width;
  label.Height = height;
  label.Color = color;
  label.Font = font;
  label.SetAutoSize(false);
  label.SetAlignment(0);
  label.Caption = caption;
  label.Init();
}

// The side picture of the welcome and finish bodies: the bitmap fitted into
// 175 x 285 on white, its left 5 pixels under the frame's edge.
inline void SetSidePicture(TOMImage& picture, const char* bitmap) {
  picture.Left = -5;
  picture.Top = 0;
  picture.Width = 175;
  picture.Height = 285;
  picture.Color = 0xFFFFFF;
  picture.DrawMode = &DrawProportional;
  picture.KeepSize = 1;
  picture.ResizeCanvas = 0;
  picture.SetPicture(LoadBitmapA(GetModuleHandleA(nullptr), bitmap));
  picture.Init();
}
