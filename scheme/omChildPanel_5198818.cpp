#include "omChildPanel_5198818.h"

#include "PageSettings.h"

namespace {

// "   Лицензионное соглашение"
const char* const HeaderCaption =
    "   \xCB\xE8\xF6\xE5\xED\xE7\xE8\xEE\xED\xED\xEE\xE5 \xF1\xEE\xE3\xEB\xE0\xF8\xE5\xED\xE8\xE5";

} // namespace

TClassChildPanel_5198818::TClassChildPanel_5198818(TWindowObject* parent) {
  // The host first, initialised at once: the label is a child of its window.
  HeaderPanel = MakePagePanel(parent, 0, 0, 445, 45);

  // The other elements, in declaration order.
  TWindowObject* host = HeaderPanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  HeaderLabel = std::make_unique<TOMLabel>(host);

  // Settings and links, in reverse declaration order.
  SetPageLabel(*HeaderLabel, 0, 0, 445, 45, 0xFFFFFF, MakeFontRec("Arial", 10, 1, 0, 1), HeaderCaption);

  Bridge_->SetWorkCount(0);
  Bridge_->SetVarCount(0);
  Bridge_->Container = this;
}

TClassChildPanel_5198818::~TClassChildPanel_5198818() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, HeaderLabel);
  HeaderPanel.reset();
}
