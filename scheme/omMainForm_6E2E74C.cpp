#include "omMainForm_6E2E74C.h"

#include "Window.h"

namespace {

// "Установка программы Сорванта"
const char* const MainCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
    "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0";

// The program's own icon; a private copy, because the form destroys the icon
// it was given when it gets another one or goes away.
HICON LoadProgramIcon() {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "ICON0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

} // namespace

TClassMainForm_6E2E74C::TClassMainForm_6E2E74C() {
  // The host comes first and is initialised at once: the pages are created
  // as children of its window.
  MainForm = std::make_unique<TOMMainForm>(nullptr);
  MainForm->Left = 64;
  MainForm->Top = 80;
  MainForm->Width = 440;
  MainForm->Height = 351;
  MainForm->Align = 0;
  MainForm->Color = static_cast<int32_t>(0xFF00000F);
  MainForm->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
  MainForm->Opacity = 255;
  MainForm->SetCaption(MainCaption);
  MainForm->SetBorderStyle(1);
  MainForm->WindowState = 0;
  MainForm->SetIcon(LoadProgramIcon());
  MainForm->CloseMode = 0;
  MainForm->SetTaskbarHidden(0);
  MainForm->DragByClient = false;
  MainForm->Visible = true;
  MainForm->Cursor = 0;
  MainForm->MouseCapture = false;
  MainForm->ClientSize = false;
  MainForm->Position = &ScreenCenterPosition;
  MainForm->Init();

  // The other elements, in declaration order (2..4 and 6..17: pages).
  SystemMenu = std::make_unique<TOMSysMenu>();
  PlainObject = std::make_unique<TOMObject>();

  // Settings and links, in reverse declaration order: 17 down to 6 (pages),
  // 5, then 4 down to 2 (pages). The plain object has none.
  SystemMenu->getHandle = MakePointLink<&TOMWin::varHandle>(0, MainForm.get());

  // The host's own link last, then Tab between the controls of its window.
  MainForm->outCreate = MakePointLink<&TOMSysMenu::inHideMaximize>(2, SystemMenu.get());
  EnableKeyboardNavigation(MainForm->Control);
}

TClassMainForm_6E2E74C::~TClassMainForm_6E2E74C() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(SystemMenu, PlainObject); // with the pages: 2..17 around 5, then 18
  MainForm.reset();
}
