#include "omChildGroupBox_2F7DC8C.h"

TClassChildGroupBox_2F7DC8C::TClassChildGroupBox_2F7DC8C(TWindowObject* parent) : GroupBox(MakeGroupBox(parent)) {
  // Settings and links, in reverse creation order.
  DriveCopy->Position = 1;
  DriveCopy->Count = 1;
  DriveCopy->outCopy = MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti);
  // Disabled: the folder changes only through Browse.
  FolderField->Left = 10;
  FolderField->Top = 20;
  FolderField->Width = 325;
  FolderField->Height = 21;
  FolderField->Color = clWindow;
  FolderField->Ctl3D = 0;
  FolderField->Font = Arial(8);
  FolderField->Enabled = false;
  FolderField->Cursor = 19;
  // An earlier installation's folder, or the system's for programs ("C:\Program Files" on most systems).
  FolderField->Text = OfferedFolder();
  FolderField->Password = false;
  FolderField->ReadOnly = false;
  FolderField->TextReader = &EditTextReader;
  FolderField->Label = GroupBox; // its caption
  FolderField->Init();
  FolderField->outChange = MakePointLink<&TOMCopy::inCopy>(0, DriveCopy);
  FolderDialog->BrowseType = 0;
  // It names the folder the installation makes.
  FolderDialog->Title = "Выберите папку, в которую будет размещена папка \"Varkelo\" с устанавливаемой программой";
  FolderDialog->outPath = MakePointLink<&TOMEdit::inText>(0, FolderField);
  BrowseButton->Left = 345;
  BrowseButton->Top = 20;
  BrowseButton->Width = 75;
  BrowseButton->Height = 25;
  BrowseButton->Font = Arial(8);
  BrowseButton->SetCaption("Обзор");
  BrowseButton->Init();
  BrowseButton->outClick = MakePointLink<&TOMBrowse::inBrowse>(0, FolderDialog);
  SetBridge({}, {MakePointLink<&TOMEdit::varText>(0, FolderField)});
}

// The host, set up and initialised before the field and Browse inside it.
TOMGroupBox* TClassChildGroupBox_2F7DC8C::MakeGroupBox(TWindowObject* parent) {
  TOMGroupBox* box = MakeHost<TOMGroupBox>(parent);
  box->Left = 5;
  box->Top = 165;
  box->Width = 430;
  box->Height = 55;
  box->Color = clButtonFace;
  box->Font = Arial(10, 0, 0xFF0000); // blue
  box->SetCaption("Директория размещения программы на вашем компьютере");
  box->Init();
  return box;
}
