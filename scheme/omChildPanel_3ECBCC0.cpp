#include "omChildPanel_3ECBCC0.h"

#include "PageSettings.h"

namespace {

// "      Завершение установки"
const char* const TitleCaption =
    "      \xC7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE5 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8";

// "   Установка успешно выполнена!\r\n\r\n   Нажмите кнопку \"Готово\",  для выхода\r\n   из программы установки!"
const char* const SuccessCaption =
    "   \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xF3\xF1\xEF\xE5\xF8\xED\xEE \xE2\xFB\xEF\xEE\xEB\xED\xE5\xED\xE0!\r\n"
    "\r\n"
    "   \xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xEA\xED\xEE\xEF\xEA\xF3 \"\xC3\xEE\xF2\xEE\xE2\xEE\",  \xE4\xEB\xFF \xE2\xFB\xF5\xEE\xE4\xE0\r\n"
    "   \xE8\xE7 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8!";

} // namespace

TClassChildPanel_3ECBCC0::TClassChildPanel_3ECBCC0(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  BodyPanel = MakePagePanel(parent, 0, 0, 440, 290);

  // The other elements, in declaration order.
  TWindowObject* host = BodyPanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  TitleLabel = std::make_unique<TOMLabel>(host);
  SidePicture = std::make_unique<TOMImage>(host);
  SuccessText = std::make_unique<TOMLabel>(host);

  // Settings, in reverse declaration order; the one link is the bridge's.
  SetPageLabel(*SuccessText, 170, 70, 265, 215, 0xFFFFFF, MakeFontRec("Arial", 10, 0, 0, 1), SuccessCaption);

  SetSidePicture(*SidePicture, "BITMAP1");

  SetPageLabel(*TitleLabel, 170, 0, 265, 70, 0xFFFFFF, MakeFontRec("Arial", 10, 1, 0, 1), TitleCaption);

  // The text is replaced when the run could not write everything.
  Bridge_->SetWorkCount(1);
  Bridge_->SetVarCount(0);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMLabel::inText>(0, SuccessText.get());
  Bridge_->Container = this;
}

TClassChildPanel_3ECBCC0::~TClassChildPanel_3ECBCC0() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, TitleLabel, SidePicture, SuccessText);
  BodyPanel.reset();
}
