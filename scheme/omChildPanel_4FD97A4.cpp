#include "omChildPanel_4FD97A4.h"

#include "PageSettings.h"

#include "omChildPanel_4E89C48.h"

namespace {

// "Установить"
const char* const InstallCaption = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC";

} // namespace

TClassChildPanel_4FD97A4::TClassChildPanel_4FD97A4(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  FramePanel = MakePagePanel(parent, -5, 0, 455, 330, false);

  // The other elements, in declaration order.
  TWindowObject* host = FramePanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  CancelButton = std::make_unique<TOMButton>(host);
  PathSender = std::make_unique<TOMDoData>();
  Hub1 = std::make_unique<TOMHub>();
  PathMemory = std::make_unique<TOMMemory>();
  Hub2 = std::make_unique<TOMHub>();
  BackButton = std::make_unique<TOMButton>(host);
  Hub3 = std::make_unique<TOMHub>();
  BodyHost = std::make_unique<TOMMultiElement>(host);
  InstallButton = std::make_unique<TOMButton>(host);

  // Settings and links, in reverse declaration order.
  SetNavigationButton(*InstallButton, 270, InstallCaption, IntegerData(0), bkEnter);
  InstallButton->outClick = MakePointLink<&TOMHub::inDo>(0, Hub1.get());

  BodyHost->CreateOnFirstUse = false;
  BodyHost->SetCreateInner(&TClassChildPanel_4E89C48::Create);
  BodyHost->SetEventCount(0);
  BodyHost->SetDataCount(0);

  // Back: tell the main scheme (it shows the licence page), then hide.
  Hub3->InputCount = 1;
  Hub3->SetOutputCount(2);
  Hub3->outStep[0] = MakePointLink<&TOMEditMulti::inEvent>(1, Bridge_.get());
  Hub3->outStep[1] = MakePointLink<&TOMHub::inDo>(1, Hub2.get());

  SetNavigationButton(*BackButton, 180, BackCaption, IntegerData(0));
  BackButton->outClick = MakePointLink<&TOMHub::inDo>(0, Hub3.get());

  // Showing or hiding also refreshes the free-space line of the body.
  Hub2->InputCount = 3;
  Hub2->SetOutputCount(2);
  Hub2->outStep[0] = MakePointLink<&TOMWin::inVisible>(2, FramePanel.get());
  Hub2->outStep[1] = MakePointLink<&TOMMultiElement::inWork>(0, BodyHost.get());

  // No Default: the path reads as null before the first Install.
  PathMemory->outData = MakePointLink<&TOMEditMulti::inEvent>(0, Bridge_.get());

  // Install: hide, then pull the folder field's text, remember it and send it.
  Hub1->InputCount = 1;
  Hub1->SetOutputCount(2);
  Hub1->outStep[0] = MakePointLink<&TOMHub::inDo>(2, Hub2.get());
  Hub1->outStep[1] = MakePointLink<&TOMDoData::inDo>(0, PathSender.get());

  PathSender->outEventData = MakePointLink<&TOMMemory::inValue>(0, PathMemory.get());
  PathSender->getData = MakePointLink<&TOMMultiElement::varData>(0, BodyHost.get());

  SetNavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape); // sends null
  CancelButton->outClick = MakePointLink<&TOMEditMulti::inEvent>(2, Bridge_.get());

  Bridge_->SetWorkCount(1);
  Bridge_->SetVarCount(1);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMHub::inDo>(0, Hub2.get());
  Bridge_->VarLinks[0] = MakePointLink<&TOMMemory::varValue>(0, PathMemory.get());
  Bridge_->Container = this;
}

TClassChildPanel_4FD97A4::~TClassChildPanel_4FD97A4() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, CancelButton, PathSender, Hub1, PathMemory, Hub2, BackButton, Hub3, BodyHost,
              InstallButton);
  FramePanel.reset();
}
