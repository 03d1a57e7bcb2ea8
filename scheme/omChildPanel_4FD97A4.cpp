#include "omChildPanel_4FD97A4.h"

#include "omChildPanel_4E89C48.h"

TClassChildPanel_4FD97A4::TClassChildPanel_4FD97A4(TWindowObject* parent)
    : TPageContainer(parent, -5, 0, 455, 330, false) {
  // Settings and links, in reverse creation order.
  SpaceBox->Text = "Недостаточно места на диске.\r\n\r\n"
                   "Для установки программы необходимо 2,87 Mb.\r\n"
                   "Освободите место на диске или выберите другую папку.";
  SpaceBox->Caption = "Установка программы";
  SpaceBox->Buttons = 0;  // OK
  SpaceBox->IconKind = 3; // exclamation
  // The room the page says the installation needs: 2,87 Mb, of 1,048,576 bytes as the free-space
  // line counts them.
  SpaceCheck->Needed = 3009414;
  SpaceCheck->getFolder = MakePointLink<&TOMMultiElement::varData>(0, BodyHost);
  SpaceCheck->outEnough = MakePointLink<&TOMHub::inDo>(0, InstallHub);
  SpaceCheck->outShort = MakePointLink<&TOMMessage::inMessage>(0, SpaceBox);
  // Install, once the folder's drive has room for it (else the box, and the page stays).
  NavigationButton(*InstallButton, 270, "Установить", IntegerData(0), bkEnter,
                   MakePointLink<&TOMSpaceCheck::inCheck>(0, SpaceCheck));
  HostContainer(*BodyHost, &CreateContainer<TClassChildPanel_4E89C48>);
  // Back: tell the main scheme (it shows the licence page), then hide.
  SetHub(*BackHub, 1, {MakePointLink<&TOMEditMulti::inEvent>(1, EditMulti), MakePointLink<&TOMHub::inDo>(1, ShowHub)});
  NavigationButton(*BackButton, 180, BackCaption, IntegerData(0), bkNone, MakePointLink<&TOMHub::inDo>(0, BackHub));
  // Showing or hiding also refreshes the free-space line of the body.
  SetHub(*ShowHub, 3,
         {MakePointLink<&TOMWin::inVisible>(2, Panel), MakePointLink<&TOMMultiElement::inWork>(0, BodyHost)});
  // No Default: the path reads as null before the first Install.
  PathMemory->outData = MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti);
  // Install: hide, then pull the folder field's text, remember it and send it.
  SetHub(*InstallHub, 1, {MakePointLink<&TOMHub::inDo>(2, ShowHub), MakePointLink<&TOMDoData::inDo>(0, PathSender)});
  PathSender->outEventData = MakePointLink<&TOMMemory::inValue>(0, PathMemory);
  PathSender->getData = MakePointLink<&TOMMultiElement::varData>(0, BodyHost);
  NavigationButton(*CancelButton, 360, CancelCaption, TData(), bkEscape,
                   MakePointLink<&TOMEditMulti::inEvent>(2, EditMulti));
  SetBridge({MakePointLink<&TOMHub::inDo>(0, ShowHub)}, {MakePointLink<&TOMMemory::varValue>(0, PathMemory)});
}
