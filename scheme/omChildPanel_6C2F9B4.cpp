#include "omChildPanel_6C2F9B4.h"

#include "PageSettings.h"

#include "Resources.h"

namespace {

// "                 Установка программы\r\n\r\n    Сорванта\r\n    Версия - 2.1"
const char* const TitleCaption =
    "                 \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\r\n"
    "\r\n"
    "    \xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0\r\n"
    "    \xC2\xE5\xF0\xF1\xE8\xFF - 2.1";

} // namespace

TClassChildPanel_6C2F9B4::TClassChildPanel_6C2F9B4(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  BodyPanel = MakePagePanel(parent, 0, 0, 440, 290);

  // The other elements, in declaration order.
  TWindowObject* host = BodyPanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  TitleLabel = std::make_unique<TOMLabel>(host);
  SidePicture = std::make_unique<TOMImage>(host);
  WelcomeText = std::make_unique<TOMLabel>(host);

  // Settings, in reverse declaration order; the body has no links.
  SetPageLabel(*WelcomeText, 170, 115, 265, 170, 0xFFFFFF, MakeFontRec("Arial", 9, 0, 0, 1), LoadResourceText("Str1"));

  SetSidePicture(*SidePicture, "BITMAP0");

  SetPageLabel(*TitleLabel, 170, 0, 265, 115, 0xFFFFFF, MakeFontRec("Arial", 10, 1, 0, 1), TitleCaption);

  Bridge_->SetWorkCount(0);
  Bridge_->SetVarCount(0);
  Bridge_->Container = this;
}

TClassChildPanel_6C2F9B4::~TClassChildPanel_6C2F9B4() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, TitleLabel, SidePicture, WelcomeText);
  BodyPanel.reset();
}
