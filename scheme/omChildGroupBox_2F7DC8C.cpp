#include "omChildGroupBox_2F7DC8C.h"

namespace {

// "Директория размещения программы на вашем компьютере"
const char* const GroupCaption =
    "\xC4\xE8\xF0\xE5\xEA\xF2\xEE\xF0\xE8\xFF \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE8\xFF "
    "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xED\xE0 \xE2\xE0\xF8\xE5\xEC "
    "\xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0\xE5";

// "Обзор"
const char* const BrowseCaption = "\xCE\xE1\xE7\xEE\xF0";

// "Выберите папку, в которую будет размещена папка \"Mirelta\" с устанавливаемой программой"
const char* const DialogTitle =
    "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xEF\xE0\xEF\xEA\xF3, \xE2 \xEA\xEE\xF2\xEE\xF0\xF3\xFE "
    "\xE1\xF3\xE4\xE5\xF2 \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE0 \xEF\xE0\xEF\xEA\xE0 \"Mirelta\" "
    "\xF1 \xF3\xF1\xF2\xE0\xED\xE0\xE2\xEB\xE8\xE2\xE0\xE5\xEC\xEE\xE9 "
    "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xEE\xE9";

} // namespace

TClassChildGroupBox_2F7DC8C::TClassChildGroupBox_2F7DC8C(TWindowObject* parent) {
  // The host first, initialised at once: the field and Browse sit inside it.
  GroupBox = std::make_unique<TOMGroupBox>(parent);
  GroupBox->Left = 5;
  GroupBox->Top = 165;
  GroupBox->Width = 430;
  GroupBox->Height = 55;
  GroupBox->Color = int32_t(0xFF00000F);
  GroupBox->Font = MakeFontRec("Arial", 10, 0, 0xFF0000, 1);
  GroupBox->SetCaption(GroupCaption);
  GroupBox->Init();

  // The other elements, in declaration order.
  TWindowObject* host = GroupBox->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  BrowseButton = std::make_unique<TOMButton>(host);
  FolderDialog = std::make_unique<TOMBrowse>();
  FolderField = std::make_unique<TOMEdit>(host);
  DriveCopy = std::make_unique<TOMCopy>();

  // Settings and links, in reverse declaration order.
  DriveCopy->Position = 1;
  DriveCopy->Count = 1;
  DriveCopy->outCopy = MakePointLink<&TOMEditMulti::inEvent>(0, Bridge_.get());

  // Disabled: the folder changes only through Browse.
  FolderField->Left = 10;
  FolderField->Top = 20;
  FolderField->Width = 325;
  FolderField->Height = 21;
  FolderField->Color = int32_t(0xFF000005);
  FolderField->Ctl3D = 0;
  FolderField->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  FolderField->Enabled = false;
  FolderField->Cursor = 19;
  FolderField->Text = "C:\\Program Files";
  FolderField->Password = false;
  FolderField->ReadOnly = false;
  FolderField->TextReader = &EditTextReader;
  FolderField->Init();
  FolderField->outChange = MakePointLink<&TOMCopy::inCopy>(0, DriveCopy.get());

  FolderDialog->BrowseType = 0;
  FolderDialog->Title = DialogTitle;
  FolderDialog->outPath = MakePointLink<&TOMEdit::inText>(0, FolderField.get());

  BrowseButton->Left = 345;
  BrowseButton->Top = 20;
  BrowseButton->Width = 75;
  BrowseButton->Height = 25;
  BrowseButton->Font = MakeFontRec("Arial", 8, 0, 0, 1);
  BrowseButton->SetCaption(BrowseCaption);
  BrowseButton->Init();
  BrowseButton->outClick = MakePointLink<&TOMBrowse::inBrowse>(0, FolderDialog.get());

  Bridge_->SetWorkCount(0);
  Bridge_->SetVarCount(1);
  Bridge_->VarLinks[0] = MakePointLink<&TOMEdit::varText>(0, FolderField.get());
  Bridge_->Container = this;
}

TClassChildGroupBox_2F7DC8C::~TClassChildGroupBox_2F7DC8C() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, BrowseButton, FolderDialog, FolderField, DriveCopy);
  GroupBox.reset();
}
