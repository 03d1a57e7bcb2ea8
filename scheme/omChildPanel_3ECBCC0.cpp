#include "omChildPanel_3ECBCC0.h"

TClassChildPanel_3ECBCC0::TClassChildPanel_3ECBCC0(TWindowObject* parent) : TSidePictureBody(parent) {
  // Settings, in reverse creation order.
  BodyLabel(*Text, 170, 70, 265, 215, clWhite, Arial(10),
            "   Установка успешно выполнена!\r\n\r\n   Нажмите кнопку \"Готово\",  для выхода\r\n"
            "   из программы установки!");
  SidePicture(*Picture, "BITMAP1", "Готово v2.1");
  BodyLabel(*TitleLabel, 170, 0, 265, 70, clWhite, Arial(10, 1), "      Завершение установки");
  SetBridge({MakePointLink<&TOMLabel::inText>(0, Text)});
}
