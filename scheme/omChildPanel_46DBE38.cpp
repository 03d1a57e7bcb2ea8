#include "omChildPanel_46DBE38.h"

#include "Resources.h"
#include "Text.h"
#include "omChildPanel_5198818.h"

// Wider than the frame, which clips it.
TClassChildPanel_46DBE38::TClassChildPanel_46DBE38(TWindowObject* parent)
    : TPageContainer(parent, 5, 0, 525, 290, true) {
  // Settings, in reverse creation order; the body has no links.
  LicenceText->Left = 5;
  LicenceText->Top = 70;
  LicenceText->Width = 390;
  LicenceText->Height = 190;
  LicenceText->Color = clWindow;
  LicenceText->Ctl3D = 0;
  LicenceText->Font = Arial(8);
  LicenceText->ScrollBars = 2; // vertical
  LicenceText->ReadOnly = 0;   // read-only
  LicenceText->Text = TextFrom1251(LoadResourceText("Str2"));
  LicenceText->Label = ScrollHint; // the line above it
  LicenceText->Init();
  AutoSizeLabel(*AcceptHint, 0, 265, 440, 25, 8, "  Если принимаете условия соглашения,то нажмите 'Согласен'");
  HostContainer(*HeaderHost, &CreateContainer<TClassChildPanel_5198818>);
  AutoSizeLabel(*ScrollHint, 0, 45, 440, 25, 8, "  Можете нажать PageDown для перемещения по тексту:");
  SetBridge({});
}
