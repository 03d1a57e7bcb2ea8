#include "omChildPanel_4E89C48.h"

#include "omChildGroupBox_2F7DC8C.h"

TClassChildPanel_4E89C48::TClassChildPanel_4E89C48(TWindowObject* parent)
    : TPageContainer(parent, 0, 0, 440, 290, true) {
  // Settings and links, in reverse creation order.
  SetFormat(*FreeSpaceFormat, "Свободно: %1 Mb", {MakePointLink<&TOMHardDisk::varFreeSpace>(0, Disk)},
            MakePointLink<&TOMLabel::inText>(0, FreeSpace));
  AutoSizeLabel(*FreeSpace, 10, 260, 230, 20, 10, ""); // empty until the page is first shown
  // A new drive letter: back to C first, then the new drive; each refreshes the line.
  SetHub(*DriveHub, 1,
         {MakePointLink<&TOMMemory::inClear>(0, DriveMemory), MakePointLink<&TOMMemory::inValue>(0, DriveMemory)});
  DriveMemory->SetDefault(StringData("C"));
  DriveMemory->outData = MakePointLink<&TOMFormatStr::inString>(0, FreeSpaceFormat);
  Disk->Drive = "C";
  Disk->SizeUnit = 1; // megabytes
  Disk->getDrive = MakePointLink<&TOMMemory::varValue>(0, DriveMemory);
  AutoSizeLabel(*RequiredSpace, 10, 230, 230, 20, 10, "Необходимо места на диске: 2,87 Mb");
  BodyLabel(*Explanation, 15, 45, 405, 110, clButtonFace, Arial(10),
            "\r\n   Выберите диск или папку, в которую необходимо\r\n"
            "   установить программу, которая будет размещена в папке \r\n   \\Varkelo\\.\r\n  \r\n  ");
  HostContainer(*GroupHost, &CreateContainer<TClassChildGroupBox_2F7DC8C>, {MakePointLink<&TOMHub::inDo>(0, DriveHub)});
  BodyLabel(*TitleLabel, 0, 0, 445, 45, clWhite, Arial(10, 1), "   Выбор папки");
  SetBridge({MakePointLink<&TOMFormatStr::inString>(0, FreeSpaceFormat)},
            {MakePointLink<&TOMMultiElement::varData>(0, GroupHost)});
}
