#include "omChildPanel_4E89C48.h"

#include "PageSettings.h"

#include "omChildGroupBox_2F7DC8C.h"

namespace {

// "   Выбор папки"
const char* const TitleCaption = "   \xC2\xFB\xE1\xEE\xF0 \xEF\xE0\xEF\xEA\xE8";

// "\r\n   Выберите диск или папку, в которую необходимо\r\n   установить программу,
// которая будет размещена в папке \r\n   \Varkelo\.\r\n  \r\n  "
const char* const ExplanationCaption =
    "\r\n"
    "   \xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xE4\xE8\xF1\xEA \xE8\xEB\xE8 \xEF\xE0\xEF\xEA\xF3, "
    "\xE2 \xEA\xEE\xF2\xEE\xF0\xF3\xFE \xED\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE\r\n"
    "   \xF3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3, "
    "\xEA\xEE\xF2\xEE\xF0\xE0\xFF \xE1\xF3\xE4\xE5\xF2 \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE0 "
    "\xE2 \xEF\xE0\xEF\xEA\xE5 \r\n"
    "   \\Varkelo\\.\r\n"
    "  \r\n"
    "  ";

// "Необходимо места на диске: 2,87 Mb"
const char* const RequiredCaption =
    "\xCD\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE \xEC\xE5\xF1\xF2\xE0 \xED\xE0 "
    "\xE4\xE8\xF1\xEA\xE5: 2,87 Mb";

// "Свободно: %1 Mb"
const char* const FreeSpaceMask = "\xD1\xE2\xEE\xE1\xEE\xE4\xED\xEE: %1 Mb";

} // namespace

TClassChildPanel_4E89C48::TClassChildPanel_4E89C48(TWindowObject* parent) {
  // The host first, initialised at once: the rest are children of its window.
  BodyPanel = MakePagePanel(parent, 0, 0, 440, 290);

  // The other elements, in declaration order.
  TWindowObject* host = BodyPanel->Control;
  Bridge_ = std::make_unique<TOMEditMulti>();
  TitleLabel = std::make_unique<TOMLabel>(host);
  GroupHost = std::make_unique<TOMMultiElement>(host);
  Explanation = std::make_unique<TOMLabel>(host);
  RequiredSpace = std::make_unique<TOMLabel>(host);
  Disk = std::make_unique<TOMHardDisk>();
  DriveMemory = std::make_unique<TOMMemory>();
  DriveHub = std::make_unique<TOMHub>();
  FreeSpace = std::make_unique<TOMLabel>(host);
  FreeSpaceFormat = std::make_unique<TOMFormatStr>();

  // Settings and links, in reverse declaration order.
  FreeSpaceFormat->Mask = FreeSpaceMask;
  FreeSpaceFormat->SetPointCount(1);
  FreeSpaceFormat->SkipInserted = true;
  FreeSpaceFormat->outString = MakePointLink<&TOMLabel::inText>(0, FreeSpace.get());
  FreeSpaceFormat->getStr[0] = MakePointLink<&TOMHardDisk::varFreeSpace>(0, Disk.get());

  // Empty until the page is first shown.
  FreeSpace->Left = 10;
  FreeSpace->Top = 260;
  FreeSpace->Width = 230;
  FreeSpace->Height = 20;
  FreeSpace->Color = int32_t(0xFF00000F);
  FreeSpace->Font = MakeFontRec("Arial", 10, 0, 0, 1);
  FreeSpace->SetAutoSize(true);
  FreeSpace->SetAlignment(0);
  FreeSpace->Caption = "";
  FreeSpace->Init();

  // A new drive letter: back to C first, then the new drive; each refreshes the line.
  DriveHub->InputCount = 1;
  DriveHub->SetOutputCount(2);
  DriveHub->outStep[0] = MakePointLink<&TOMMemory::inClear>(0, DriveMemory.get());
  DriveHub->outStep[1] = MakePointLink<&TOMMemory::inValue>(0, DriveMemory.get());

  DriveMemory->SetDefault(StringData("C"));
  DriveMemory->outData = MakePointLink<&TOMFormatStr::inString>(0, FreeSpaceFormat.get());

  Disk->Drive = "C";
  Disk->SizeUnit = 1; // megabytes
  Disk->getDrive = MakePointLink<&TOMMemory::varValue>(0, DriveMemory.get());

  RequiredSpace->Left = 10;
  RequiredSpace->Top = 230;
  RequiredSpace->Width = 230;
  RequiredSpace->Height = 20;
  RequiredSpace->Color = int32_t(0xFF00000F);
  RequiredSpace->Font = MakeFontRec("Arial", 10, 0, 0, 1);
  RequiredSpace->SetAutoSize(true);
  RequiredSpace->SetAlignment(0);
  RequiredSpace->Caption = RequiredCaption;
  RequiredSpace->Init();

  SetPageLabel(*Explanation, 15, 45, 405, 110, int32_t(0xFF00000F), MakeFontRec("Arial", 10, 0, 0, 1),
               ExplanationCaption);

  GroupHost->CreateOnFirstUse = false;
  GroupHost->SetCreateInner(&TClassChildGroupBox_2F7DC8C::Create);
  GroupHost->SetEventCount(1);
  GroupHost->SetDataCount(0);
  GroupHost->EventLinks[0] = MakePointLink<&TOMHub::inDo>(0, DriveHub.get());

  SetPageLabel(*TitleLabel, 0, 0, 445, 45, 0xFFFFFF, MakeFontRec("Arial", 10, 1, 0, 1), TitleCaption);

  Bridge_->SetWorkCount(1);
  Bridge_->SetVarCount(1);
  Bridge_->WorkLinks[0] = MakePointLink<&TOMFormatStr::inString>(0, FreeSpaceFormat.get());
  Bridge_->VarLinks[0] = MakePointLink<&TOMMultiElement::varData>(0, GroupHost.get());
  Bridge_->Container = this;
}

TClassChildPanel_4E89C48::~TClassChildPanel_4E89C48() {
  // Declaration order, the host last: its window takes the child windows with it.
  FreeInOrder(Bridge_, TitleLabel, GroupHost, Explanation, RequiredSpace, Disk, DriveMemory, DriveHub,
              FreeSpace, FreeSpaceFormat);
  BodyPanel.reset();
}
