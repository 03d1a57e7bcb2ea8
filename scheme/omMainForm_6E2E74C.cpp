#include "omMainForm_6E2E74C.h"

#include "SchemeRoles.h"
#include "Window.h"

namespace {

const char* const BoxCaption = "Установка программы"; // both message boxes
constexpr int32_t AnswerYes = 6;   // IDYES
constexpr int32_t AnswerRetry = 4; // IDRETRY

// A data sender that shows a page: it sends integer 1 to the page's inWork[0].
void PageSender(TOMDoData& sender, TOMMultiElement* page) {
  sender.Data = IntegerData(1);
  sender.outEventData = MakePointLink<&TOMMultiElement::inWork>(0, page);
}

} // namespace

// The host, set up and initialised at once: the pages are created as
// children of its window.
TOMMainForm* InstallerForm(TOMMainForm* form) {
  form->Left = 64;
  form->Top = 80;
  form->Width = 440;
  form->Height = 351;
  form->Align = 0;
  form->Color = clButtonFace;
  form->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
  form->Opacity = 255;
  form->SetCaption("Установка программы Сорванта");
  form->SetBorderStyle(1);
  form->WindowState = 0;
  // The program's own icon; a private copy, for the form destroys the icon
  // it was given when it gets another one or goes away.
  form->SetIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"ICON0", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  form->CloseMode = 0;
  form->SetTaskbarHidden(0);
  form->DragByClient = false;
  form->Visible = true;
  form->Cursor = 0;
  form->MouseCapture = false;
  form->ClientSize = false;
  form->Position = &ScreenCenterPosition;
  form->Init();
  return form;
}

TClassMainForm_6E2E74C::TClassMainForm_6E2E74C() {
  // Settings and links, in reverse creation order (21 down to 2); the plain
  // object has none. Assigning CreateInner builds each inner container.
  // 25: the run is read back, then kept; the unattended run puts back a run that failed.
  // 24, 23, 22: held files first; Retry looks again, any other answer leads back to the folder page.
  RetryTest->Value = IntegerData(AnswerRetry);
  RetryTest->outMatch = MakePointLink<&TOMInUseCheck::inCheck>(0, InUseCheck);
  RetryTest->outElse = MakePointLink<&TOMDoData::inDo>(0, FolderSender);
  InUseBox->Caption = BoxCaption;
  InUseBox->Buttons = 4; // Retry, Cancel
  InUseBox->IconKind = 3;
  InUseBox->outResult = MakePointLink<&TOMCase::inCase>(0, RetryTest);
  for (const std::string& file : TClassMultiElement_4DC2A30::Files())
    InUseCheck->Files.push_back(std::string(ProductFolder) + "\\" + file);
  for (const std::string& file : TClassMultiElement_5022298::Files())
    InUseCheck->Files.push_back(std::string(ProductFolder) + "\\" + file);
  InUseCheck->getFolder = MakePointLink<&TOMMultiElement::varData>(0, FolderPage);
  InUseCheck->outFree = MakePointLink<&TOMHub::inDo>(0, InstallHub);
  InUseCheck->outHeld = MakePointLink<&TOMMessage::inMessage>(0, InUseBox);
  // 21, 20: the failures of the run, over the finish page: the finish page
  // says so first, then the box lists them; its text comes with the event.
  FailureBox->Caption = BoxCaption;
  FailureBox->Buttons = 0;
  FailureBox->IconKind = 3;
  InstallReport->outFinishText = MakePointLink<&TOMMultiElement::inWork>(1, FinishPage);
  InstallReport->outReport = MakePointLink<&TOMMessage::inMessage>(0, FailureBox);
  // 19: Install runs each step to its end before the next: an empty record,
  // the run begun, the whole installation up to the uninstaller, the run read
  // back and ended, then the record read.
  SetHub(*InstallHub, 1,
         {MakePointLink<&TOMInstallReport::inClear>(0, InstallReport),
          MakePointLink<&TOMTransaction::inBegin>(0, Transaction),
          MakePointLink<&TOMMultiElement::inWork>(0, ProgramFileWriter),
          MakePointLink<&TOMTransaction::inEnd>(0, Transaction),
          MakePointLink<&TOMInstallReport::inCheck>(0, InstallReport)});
  // 17: product folder and program file, then the installation, then dir.ini.
  HostContainer(*ProgramFileWriter, &CreateContainer<TClassMultiElement_4DC2A30>,
                {MakePointLink<&TOMMultiElement::inWork>(0, Installation)},
                {MakePointLink<&TOMMultiElement::varData>(0, FolderPage)});
  // 16: welcome page: Next, Cancel.
  HostContainer(*WelcomePage, &CreateContainer<TClassChildPanel_431CE60>,
                {MakePointLink<&TOMHub::inDo>(0, LicenceHub), MakePointLink<&TOMHub::inDo>(2, CancelHub)});
  // 15: any Cancel asks first.
  SetHub(*CancelHub, 3, {MakePointLink<&TOMMessage::inMessage>(0, CancelQuestion)});
  // 14: folder page: Install (with the path), Back, Cancel.
  HostContainer(*FolderPage, &CreateContainer<TClassChildPanel_4FD97A4>,
                {MakePointLink<&TOMInUseCheck::inCheck>(0, InUseCheck),
                 MakePointLink<&TOMHub::inDo>(1, LicenceHub), MakePointLink<&TOMHub::inDo>(0, CancelHub)});
  // 13: licence page: Agree, Back, Cancel.
  HostContainer(*LicencePage, &CreateContainer<TClassChildPanel_50BE488>,
                {MakePointLink<&TOMDoData::inDo>(0, FolderSender), MakePointLink<&TOMDoData::inDo>(0, WelcomeSender),
                 MakePointLink<&TOMHub::inDo>(1, CancelHub)});
  // 12: finish page: Done. Its inWork[1] takes another text for the body.
  HostContainer(*FinishPage, &CreateContainer<TClassChildPanel_47F64A8>, {MakePointLink<&TOMHub::inDo>(1, QuitHub)});
  // 11, 10: page senders; their getData stays unlinked, so each sends 1 (show).
  PageSender(*FolderSender, FolderPage);
  PageSender(*WelcomeSender, WelcomePage);
  // 9: the installation sequence; it reads the folder the writer passes through.
  HostContainer(*Installation, &CreateContainer<TClassMultiElement_5022298>,
                {MakePointLink<&TOMDoData::inDo>(0, FinishSender)},
                {MakePointLink<&TOMMultiElement::varData>(0, ProgramFileWriter)});
  // 8: confirmed Cancel or Done ends the program.
  SetHub(*QuitHub, 2, {MakePointLink<&TOMMainForm::inClose>(3, MainForm)});
  // 7: only Yes goes on; any other answer is dropped (outElse unlinked).
  YesTest->Value = IntegerData(AnswerYes);
  YesTest->outMatch = MakePointLink<&TOMHub::inDo>(0, QuitHub);
  PageSender(*LicenceSender, LicencePage); // 6
  SystemMenu->getHandle = MakePointLink<&TOMWin::varHandle>(0, MainForm); // 5
  // 4: Yes/No with the exclamation mark; the answer goes to the yes test.
  CancelQuestion->Text = "Вы действительно хотите отменить установку программы?";
  CancelQuestion->Caption = BoxCaption;
  CancelQuestion->Buttons = 2;
  CancelQuestion->IconKind = 3;
  CancelQuestion->outResult = MakePointLink<&TOMCase::inCase>(0, YesTest);
  PageSender(*FinishSender, FinishPage); // 3
  SetHub(*LicenceHub, 2, {MakePointLink<&TOMDoData::inDo>(0, LicenceSender)}); // 2
  // The host's own link last, then Tab, Enter and Escape on its window.
  MainForm->outCreate = MakePointLink<&TOMSysMenu::inHideMaximize>(2, SystemMenu);
  EnableKeyboardNavigation(MainForm->Control);
}

namespace {

TWindowObject* FolderFieldOf(const TClassMainForm_6E2E74C& scheme) {
  TFolderBody& body = InnerOf<TFolderBody>(InnerOf<TFolderFrame>(scheme.FolderPage).BodyHost);
  return InnerOf<TFolderGroup>(body.GroupHost).FolderField->Control;
}

} // namespace

std::string TClassMainForm_6E2E74C::FolderText() const {
  TWindowObject* field = FolderFieldOf(*this);
  return field ? field->GetText() : std::string();
}

void TClassMainForm_6E2E74C::SetFolderText(const std::string& folder) {
  if (TWindowObject* field = FolderFieldOf(*this)) field->SetText(folder);
}

void TClassMainForm_6E2E74C::Install() {
  TData none;
  InnerOf<TFolderFrame>(FolderPage).InstallHub->inDo(none, 0);
}

void TClassMainForm_6E2E74C::MuteReport() {
  FinishSender->outEventData = TPointLink{};
  InstallReport->outFinishText = TPointLink{};
  InstallReport->outReport = TPointLink{};
}
