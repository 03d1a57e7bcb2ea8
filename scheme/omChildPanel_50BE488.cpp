#include "omChildPanel_50BE488.h"

#include "PageSettings.h"

#include "omChildPanel_46DBE38.h"

namespace {

// "Согласен"
const char* const AgreeCaption = "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED";

} // namespace

TClassChildPanel_50BE488::TClassChildPanel_50BE488(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  FramePanel = MakePagePanel(parent, -5, 0, 440, 330, false);

  // The other elements, in declaration order.
  TWindowObject* host = FramePanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  CancelButton = std::make_unique<TOMButton>(host);
  AgreeButton = std::make_unique<TOMButton>(host);
  Hub1 = std::make_unique<TOMHub>();
  Hub2 = std::make_unique<TOMHub>();
  BackButton = std::make_unique<TOMButton>(host);
  BodyHost = std::make_unique<TOMMultiElement>(host);
  Hub3 = std::make_unique<TOMHub>();

  // Settings and links, in reverse declaration order.
  // Agree: tell the main scheme (it shows the folder page), then hide.
  Hub3->InputCount = 1;
  Hub3->SetOutputCount(2);
  Hub3->outStep[0] = MakePointLink<&TOMEditMulti::inEvent>(0, Bridge_.get());
  Hub3->outStep[1] = MakePointLink<&TOMHub::inDo>(1, Hub2.get());

  BodyHost->CreateOnFirstUse = false;
  BodyHost->SetCreateInner(&TClassChildPanel_46DBE38::Create);
  BodyHost->SetEventCount(0);
  BodyHost->SetDataCount(0);

  SetNavigationButton(*BackButton, 180, BackCaption, IntegerData(0));
  BackButton->outClick = MakePointLink<&TOMHub::inDo>(0, Hub1.get());

  Hub2->InputCount = 3;
  Hub2->SetOutputCount(1);
  Hub2->outStep[0] = MakePointLink<&TOMWin::inVisible>(2, FramePanel.get());

  // Back: hide first, then tell the main scheme (it shows the welcome page).
  Hub1->InputCount = 1;
  Hub1->SetOutputCount(2);
  Hub1->outStep[0] = MakePointLink<&TOMHub::inDo>(2, Hub2.get());
  Hub1->outStep[1] = MakePointLink<&TOMEditMulti::inEvent>(1, Bridge_.get());

  SetNavigationButton(*AgreeButton, 270, AgreeCaption, IntegerData(0), bkEnter);
  AgreeButton->outClick = MakePointLink<&TOMHub::inDo>(0, Hub3.get());

  SetNavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape); // sends null
  CancelButton->outClick = MakePointLink<&TOMEditMulti::inEvent>(2, Bridge_.get());

  Bridge_->SetWorkCount(1);
  Bridge_->SetVarCount(0);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMHub::inDo>(0, Hub2.get());
  Bridge_->Container = this;
}

TClassChildPanel_50BE488::~TClassChildPanel_50BE488() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, CancelButton, AgreeButton, Hub1, Hub2, BackButton, BodyHost, Hub3);
  FramePanel.reset();
}
