#include "omChildPanel_6C2F9B4.h"

#include "Resources.h"
#include "Text.h"

TClassChildPanel_6C2F9B4::TClassChildPanel_6C2F9B4(TWindowObject* parent) : TSidePictureBody(parent) {
  // Settings, in reverse creation order; the body has no links.
  BodyLabel(*Text, 170, 115, 265, 170, clWhite, Arial(9), TextFrom1251(LoadResourceText("Str1")));
  SidePicture(*Picture, "BITMAP0", ProductName);
  BodyLabel(*TitleLabel, 170, 0, 265, 115, clWhite, Arial(10, 1),
            "                 Установка программы\r\n\r\n    Сорванта\r\n    Версия - 2.1");
  SetBridge({});
}
