#include "omChildPanel_46DBE38.h"

#include "PageSettings.h"

#include "Resources.h"
#include "omChildPanel_5198818.h"

namespace {

// "  Можете нажать PageDown для перемещения по тексту:"
const char* const ScrollHintCaption =
    "  \xCC\xEE\xE6\xE5\xF2\xE5 \xED\xE0\xE6\xE0\xF2\xFC PageDown \xE4\xEB\xFF "
    "\xEF\xE5\xF0\xE5\xEC\xE5\xF9\xE5\xED\xE8\xFF \xEF\xEE \xF2\xE5\xEA\xF1\xF2\xF3:";

// "  Если принимаете условия соглашения,то нажмите 'Согласен'"
const char* const AcceptHintCaption =
    "  \xC5\xF1\xEB\xE8 \xEF\xF0\xE8\xED\xE8\xEC\xE0\xE5\xF2\xE5 \xF3\xF1\xEB\xEE\xE2\xE8\xFF "
    "\xF1\xEE\xE3\xEB\xE0\xF8\xE5\xED\xE8\xFF,\xF2\xEE \xED\xE0\xE6\xEC\xE8\xF2\xE5 "
    "'\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED'";

} // namespace

TClassChildPanel_46DBE38::TClassChildPanel_46DBE38(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  // It is wider than the frame, which clips it.
  BodyPanel = MakePagePanel(parent, 5, 0, 525, 290);

  // The other elements, in declaration order.
  TWindowObject* host = BodyPanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  ScrollHint = std::make_unique<TOMLabel>(host);
  HeaderHost = std::make_unique<TOMMultiElement>(host);
  AcceptHint = std::make_unique<TOMLabel>(host);
  LicenceText = std::make_unique<TOMMemo>(host);

  // Settings, in reverse declaration order; the body has no links.
  LicenceText->Left = 5;
  LicenceText->Top = 70;
  LicenceText->Width = 390;
  LicenceText->Height = 190;
  LicenceText->Color = int32_t(0xFF000005);
  LicenceText->Ctl3D = 0;
  LicenceText->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  LicenceText->ScrollBars = 2;
  LicenceText->ReadOnly = 0; // read-only
  LicenceText->Text = LoadResourceText("Str2");
  LicenceText->Init();

  AcceptHint->Left = 0;
  AcceptHint->Top = 265;
  AcceptHint->Width = 440;
  AcceptHint->Height = 25;
  AcceptHint->Color = int32_t(0xFF00000F);
  AcceptHint->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  AcceptHint->SetAutoSize(true);
  AcceptHint->SetAlignment(0);
  AcceptHint->Caption = AcceptHintCaption;
  AcceptHint->Init();

  HeaderHost->CreateOnFirstUse = false;
  HeaderHost->SetCreateInner(&TClassChildPanel_5198818::Create);
  HeaderHost->SetEventCount(0);
  HeaderHost->SetDataCount(0);

  ScrollHint->Left = 0;
  ScrollHint->Top = 45;
  ScrollHint->Width = 440;
  ScrollHint->Height = 25;
  ScrollHint->Color = int32_t(0xFF00000F);
  ScrollHint->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  ScrollHint->SetAutoSize(true);
  ScrollHint->SetAlignment(0);
  ScrollHint->Caption = ScrollHintCaption;
  ScrollHint->Init();

  Bridge_->SetWorkCount(0);
  Bridge_->SetVarCount(0);
  Bridge_->Container = this;
}

TClassChildPanel_46DBE38::~TClassChildPanel_46DBE38() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, ScrollHint, HeaderHost, AcceptHint, LicenceText);
  BodyPanel.reset();
}
