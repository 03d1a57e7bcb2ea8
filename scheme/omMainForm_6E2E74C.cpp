#include "omMainForm_6E2E74C.h"

#include "Window.h"
#include "omChildPanel_431CE60.h"
#include "omChildPanel_47F64A8.h"
#include "omChildPanel_4FD97A4.h"
#include "omChildPanel_50BE488.h"
#include "omEditMulti.h"
#include "omMultiElement_4DC2A30.h"
#include "omMultiElement_5022298.h"

namespace {

// "Установка программы Сорванта"
const char* const MainCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
    "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0";
// "Вы действительно хотите отменить установку программы?"
const char* const CancelText =
    "\xC2\xFB \xE4\xE5\xE9\xF1\xF2\xE2\xE8\xF2\xE5\xEB\xFC\xED\xEE "
    "\xF5\xEE\xF2\xE8\xF2\xE5 \xEE\xF2\xEC\xE5\xED\xE8\xF2\xFC "
    "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xF3 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB?";
// "Установка программы", the caption of both message boxes
const char* const BoxCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB";

constexpr int32_t AnswerYes = 6; // IDYES

// The program's own icon; a private copy, because the form destroys the icon
// it was given when it gets another one or goes away.
HICON LoadProgramIcon() {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), "ICON0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}

// Every multi-element of this container builds its inner container at once.
void SetHost(TOMMultiElement& host, TCreateInner createInner, uint16_t events, uint16_t data) {
  host.CreateOnFirstUse = false;
  host.SetCreateInner(createInner);
  host.SetEventCount(events);
  host.SetDataCount(data);
}

void SetHub(TOMHub& hub, uint8_t inputs, uint8_t outputs) {
  hub.InputCount = inputs;
  hub.SetOutputCount(outputs);
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

  // The other elements, in declaration order; the pages live in the form's window.
  TWindowObject* host = MainForm->Control;
  LicenceHub = std::make_unique<TOMHub>();
  FinishSender = std::make_unique<TOMDoData>();
  CancelQuestion = std::make_unique<TOMMessage>();
  SystemMenu = std::make_unique<TOMSysMenu>();
  LicenceSender = std::make_unique<TOMDoData>();
  YesTest = std::make_unique<TOMCase>();
  QuitHub = std::make_unique<TOMHub>();
  Installation = std::make_unique<TOMMultiElement>();
  WelcomeSender = std::make_unique<TOMDoData>();
  FolderSender = std::make_unique<TOMDoData>();
  FinishPage = std::make_unique<TOMMultiElement>(host);
  LicencePage = std::make_unique<TOMMultiElement>(host);
  FolderPage = std::make_unique<TOMMultiElement>(host);
  CancelHub = std::make_unique<TOMHub>();
  WelcomePage = std::make_unique<TOMMultiElement>(host);
  ProgramFileWriter = std::make_unique<TOMMultiElement>();
  PlainObject = std::make_unique<TOMObject>();
  // Added last, so the described elements keep their places: they tell the
  // user when an installation run could not write everything.
  InstallHub = std::make_unique<TOMHub>();
  InstallReport = std::make_unique<TOMInstallReport>();
  FailureBox = std::make_unique<TOMMessage>();

  // Settings and links, in reverse declaration order (21 down to 2); the
  // plain object has none. Assigning CreateInner builds each inner container.

  // 21: the failures of the run, over the finish page; its text comes with the event.
  FailureBox->Caption = BoxCaption;
  FailureBox->Buttons = 0;
  FailureBox->IconKind = 3;

  // 20: with failures, the finish page says so first, then the box lists them.
  InstallReport->outFinishText = MakePointLink<&TOMMultiElement::inWork>(1, FinishPage.get());
  InstallReport->outReport = MakePointLink<&TOMMessage::inMessage>(0, FailureBox.get());

  // 19: Install runs each step to its end before the next: an empty record,
  // the whole installation up to the location record, then the record read.
  SetHub(*InstallHub, 1, 3);
  InstallHub->outStep[0] = MakePointLink<&TOMInstallReport::inClear>(0, InstallReport.get());
  InstallHub->outStep[1] = MakePointLink<&TOMMultiElement::inWork>(0, ProgramFileWriter.get());
  InstallHub->outStep[2] = MakePointLink<&TOMInstallReport::inCheck>(0, InstallReport.get());

  // 17: product folder and program file, then the installation, then dir.ini.
  SetHost(*ProgramFileWriter, &CreateContainer<TClassMultiElement_4DC2A30>, 1, 1);
  ProgramFileWriter->EventLinks[0] = MakePointLink<&TOMMultiElement::inWork>(0, Installation.get());
  ProgramFileWriter->DataLinks[0] = MakePointLink<&TOMMultiElement::varData>(0, FolderPage.get());

  // 16: welcome page; Next, Cancel.
  SetHost(*WelcomePage, &TClassChildPanel_431CE60::Create, 2, 0);
  WelcomePage->EventLinks[0] = MakePointLink<&TOMHub::inDo>(0, LicenceHub.get());
  WelcomePage->EventLinks[1] = MakePointLink<&TOMHub::inDo>(2, CancelHub.get());

  // 15: any Cancel asks first.
  SetHub(*CancelHub, 3, 1);
  CancelHub->outStep[0] = MakePointLink<&TOMMessage::inMessage>(0, CancelQuestion.get());

  // 14: folder page; Install (with the path; through the install hub to the
  // program-file writer), Back, Cancel.
  SetHost(*FolderPage, &TClassChildPanel_4FD97A4::Create, 3, 0);
  FolderPage->EventLinks[0] = MakePointLink<&TOMHub::inDo>(0, InstallHub.get());
  FolderPage->EventLinks[1] = MakePointLink<&TOMHub::inDo>(1, LicenceHub.get());
  FolderPage->EventLinks[2] = MakePointLink<&TOMHub::inDo>(0, CancelHub.get());

  // 13: licence page; Agree, Back, Cancel.
  SetHost(*LicencePage, &TClassChildPanel_50BE488::Create, 3, 0);
  LicencePage->EventLinks[0] = MakePointLink<&TOMDoData::inDo>(0, FolderSender.get());
  LicencePage->EventLinks[1] = MakePointLink<&TOMDoData::inDo>(0, WelcomeSender.get());
  LicencePage->EventLinks[2] = MakePointLink<&TOMHub::inDo>(1, CancelHub.get());

  // 12: finish page; Done. Its inWork[1] takes another text for the body.
  SetHost(*FinishPage, &TClassChildPanel_47F64A8::Create, 1, 0);
  FinishPage->EventLinks[0] = MakePointLink<&TOMHub::inDo>(1, QuitHub.get());

  // 11, 10: page senders; their getData stays unlinked, so each sends 1 (show).
  FolderSender->Data = IntegerData(1);
  FolderSender->outEventData = MakePointLink<&TOMMultiElement::inWork>(0, FolderPage.get());
  WelcomeSender->Data = IntegerData(1);
  WelcomeSender->outEventData = MakePointLink<&TOMMultiElement::inWork>(0, WelcomePage.get());

  // 9: the installation sequence; it reads the folder the writer passes through.
  SetHost(*Installation, &CreateContainer<TClassMultiElement_5022298>, 1, 1);
  Installation->EventLinks[0] = MakePointLink<&TOMDoData::inDo>(0, FinishSender.get());
  Installation->DataLinks[0] = MakePointLink<&TOMMultiElement::varData>(0, ProgramFileWriter.get());

  // 8: confirmed Cancel or Done ends the program.
  SetHub(*QuitHub, 2, 1);
  QuitHub->outStep[0] = MakePointLink<&TOMMainForm::inClose>(3, MainForm.get());

  // 7: only Yes goes on; any other answer is dropped (outElse unlinked).
  YesTest->Value = IntegerData(AnswerYes);
  YesTest->outMatch = MakePointLink<&TOMHub::inDo>(0, QuitHub.get());

  // 6
  LicenceSender->Data = IntegerData(1);
  LicenceSender->outEventData = MakePointLink<&TOMMultiElement::inWork>(0, LicencePage.get());

  // 5
  SystemMenu->getHandle = MakePointLink<&TOMWin::varHandle>(0, MainForm.get());

  // 4: Yes/No with the exclamation mark; the answer goes to the yes test.
  CancelQuestion->Text = CancelText;
  CancelQuestion->Caption = BoxCaption;
  CancelQuestion->Buttons = 2;
  CancelQuestion->IconKind = 3;
  CancelQuestion->outResult = MakePointLink<&TOMCase::inCase>(0, YesTest.get());

  // 3
  FinishSender->Data = IntegerData(1);
  FinishSender->outEventData = MakePointLink<&TOMMultiElement::inWork>(0, FinishPage.get());

  // 2
  SetHub(*LicenceHub, 2, 1);
  LicenceHub->outStep[0] = MakePointLink<&TOMDoData::inDo>(0, LicenceSender.get());

  // The host's own link last, then Tab between the controls of its window.
  MainForm->outCreate = MakePointLink<&TOMSysMenu::inHideMaximize>(2, SystemMenu.get());
  EnableKeyboardNavigation(MainForm->Control);
}

TClassMainForm_6E2E74C::~TClassMainForm_6E2E74C() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(LicenceHub, FinishSender, CancelQuestion, SystemMenu, LicenceSender, YesTest,
              QuitHub, Installation, WelcomeSender, FolderSender, FinishPage, LicencePage,
              FolderPage, CancelHub, WelcomePage, ProgramFileWriter, PlainObject, InstallHub,
              InstallReport, FailureBox);
  MainForm.reset();
}
