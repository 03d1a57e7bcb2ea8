#include "omChildPanel_47F64A8.h"

#include "PageSettings.h"

#include "omChildPanel_3ECBCC0.h"

namespace {

// "Готово"
const char* const DoneCaption = "\xC3\xEE\xF2\xEE\xE2\xEE";

} // namespace

TClassChildPanel_47F64A8::TClassChildPanel_47F64A8(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  FramePanel = MakePagePanel(parent, -5, 0, 440, 330, false);

  // The other elements, in declaration order.
  TWindowObject* host = FramePanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  DoneButton = std::make_unique<TOMButton>(host);
  BodyHost = std::make_unique<TOMMultiElement>(host);

  // Settings and links, in reverse declaration order.
  BodyHost->CreateOnFirstUse = false;
  BodyHost->SetCreateInner(&TClassChildPanel_3ECBCC0::Create);
  BodyHost->SetEventCount(0); // the body only takes, through its inWork[0]
  BodyHost->SetDataCount(0);

  SetNavigationButton(*DoneButton, 300, DoneCaption, IntegerData(0), bkEnter);
  DoneButton->outClick = MakePointLink<&TOMEditMulti::inEvent>(0, Bridge_.get());

  // Shown and hidden directly, without a hub; a new text goes on to the body.
  Bridge_->SetWorkCount(2);
  Bridge_->SetVarCount(0);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMWin::inVisible>(2, FramePanel.get());
  Bridge_->WorkLinks[1] = MakePointLink<&TOMMultiElement::inWork>(0, BodyHost.get());
  Bridge_->Container = this;
}

TClassChildPanel_47F64A8::~TClassChildPanel_47F64A8() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, DoneButton, BodyHost);
  FramePanel.reset();
}
