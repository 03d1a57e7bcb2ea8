#include "omChildPanel_5198818.h"

TClassChildPanel_5198818::TClassChildPanel_5198818(TWindowObject* parent)
    : TPageContainer(parent, 0, 0, 445, 45, true) {
  BodyLabel(*HeaderLabel, 0, 0, 445, 45, clWhite, Arial(10, 1), "   Лицензионное соглашение");
  SetBridge({});
}
