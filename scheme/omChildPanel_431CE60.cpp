#include "omChildPanel_431CE60.h"

#include "PageSettings.h"

#include "omChildPanel_6C2F9B4.h"

namespace {

// "Далее>"
const char* const NextCaption = "\xC4\xE0\xEB\xE5\xE5>";

} // namespace

TClassChildPanel_431CE60::TClassChildPanel_431CE60(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  FramePanel = MakePagePanel(parent, -5, 0, 440, 330, true); // shown: the first page

  // The other elements, in declaration order.
  TWindowObject* host = FramePanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  CancelButton = std::make_unique<TOMButton>(host);
  NextButton = std::make_unique<TOMButton>(host);
  Hub1 = std::make_unique<TOMHub>();
  Hub2 = std::make_unique<TOMHub>();
  BodyHost = std::make_unique<TOMMultiElement>(host);

  // Settings and links, in reverse declaration order.
  BodyHost->CreateOnFirstUse = false;
  BodyHost->SetCreateInner(&TClassChildPanel_6C2F9B4::Create);
  BodyHost->SetEventCount(0);
  BodyHost->SetDataCount(0);

  // Next: tell the main scheme (it shows the licence page), then hide.
  Hub2->InputCount = 1;
  Hub2->SetOutputCount(2);
  Hub2->outStep[0] = MakePointLink<&TOMEditMulti::inEvent>(0, Bridge_.get());
  Hub2->outStep[1] = MakePointLink<&TOMHub::inDo>(1, Hub1.get());

  Hub1->InputCount = 2;
  Hub1->SetOutputCount(1);
  Hub1->outStep[0] = MakePointLink<&TOMWin::inVisible>(2, FramePanel.get());

  SetNavigationButton(*NextButton, 270, NextCaption, IntegerData(0), bkEnter);
  NextButton->outClick = MakePointLink<&TOMHub::inDo>(0, Hub2.get());

  SetNavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape); // sends null
  CancelButton->outClick = MakePointLink<&TOMEditMulti::inEvent>(1, Bridge_.get());

  Bridge_->SetWorkCount(1);
  Bridge_->SetVarCount(0);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMHub::inDo>(0, Hub1.get());
  Bridge_->Container = this;
}

TClassChildPanel_431CE60::~TClassChildPanel_431CE60() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, CancelButton, NextButton, Hub1, Hub2, BodyHost);
  FramePanel.reset();
}
