#include "omMultiElement_5022298.h"

#include "Resources.h"

namespace {

using TClass = TClassMultiElement_5022298;
using THubField = std::unique_ptr<TOMHub> TClass::*;

// The text files: which hub output writes which file from which resource.
// Order k is the hub's outStep[k-1]. The pairing of pages and resources is
// not in number order, and there is no page s18: this table is the wiring.
struct TTextFileRow {
  THubField Hub;
  uint8_t Order;
  const char* Mask;
  const char* Resource;
};

const TTextFileRow TextFileTable[] = {
    // Data files at the top of the product folder (main sequence).
    {&TClass::MainHub, 1, "%1\\Varkelo\\Confile.man", "Str36"},
    {&TClass::MainHub, 2, "%1\\Varkelo\\pek.txt", "Str35"},
    {&TClass::MainHub, 3, "%1\\Varkelo\\psq.txt", "Str32"},
    {&TClass::MainHub, 4, "%1\\Varkelo\\pif.txt", "Str27"},
    {&TClass::MainHub, 7, "%1\\Varkelo\\health.txt", "Str4"},
    // Help pages, once folder Help exists.
    {&TClass::HelpHub, 1, "%1\\Varkelo\\Help\\h1.htm", "Str31"},
    {&TClass::HelpHub, 2, "%1\\Varkelo\\Help\\h2.htm", "Str30"},
    {&TClass::HelpHub, 3, "%1\\Varkelo\\Help\\menu.htm", "Str21"},
    {&TClass::HelpHub, 4, "%1\\Varkelo\\Help\\head.htm", "Str23"},
    {&TClass::HelpHub, 5, "%1\\Varkelo\\Help\\ZelcapHelp.htm", "Str22"},
    {&TClass::HelpHub, 6, "%1\\Varkelo\\Help\\h3.htm", "Str3"},
    // Info pages, once folder Info exists.
    {&TClass::InfoHub, 1, "%1\\Varkelo\\Info\\head.htm", "Str20"},
    {&TClass::InfoHub, 2, "%1\\Varkelo\\Info\\ZelcapInfo.htm", "Str19"},
    {&TClass::InfoHub, 3, "%1\\Varkelo\\Info\\menu.htm", "Str18"},
    {&TClass::InfoHub, 4, "%1\\Varkelo\\Info\\s1.htm", "Str17"},
    {&TClass::InfoHub, 5, "%1\\Varkelo\\Info\\s2.htm", "Str16"},
    {&TClass::InfoHub, 6, "%1\\Varkelo\\Info\\s3.htm", "Str15"},
    {&TClass::InfoHub, 7, "%1\\Varkelo\\Info\\s4.htm", "Str14"},
    {&TClass::InfoHub, 8, "%1\\Varkelo\\Info\\s5.htm", "Str13"},
    {&TClass::InfoHub, 9, "%1\\Varkelo\\Info\\s6.htm", "Str24"},
    {&TClass::InfoHub, 10, "%1\\Varkelo\\Info\\s7.htm", "Str25"},
    {&TClass::InfoHub, 11, "%1\\Varkelo\\Info\\s8.htm", "Str37"},
    {&TClass::InfoHub, 12, "%1\\Varkelo\\Info\\s9.htm", "Str26"},
    {&TClass::InfoHub, 13, "%1\\Varkelo\\Info\\s10.htm", "Str29"},
    {&TClass::InfoHub, 14, "%1\\Varkelo\\Info\\s11.htm", "Str28"},
    {&TClass::InfoHub, 15, "%1\\Varkelo\\Info\\s12.htm", "Str33"},
    {&TClass::InfoHub, 16, "%1\\Varkelo\\Info\\s13.htm", "Str34"},
    {&TClass::InfoHub, 17, "%1\\Varkelo\\Info\\s14.htm", "Str12"},
    {&TClass::InfoHub, 18, "%1\\Varkelo\\Info\\s15.htm", "Str11"},
    {&TClass::InfoHub, 19, "%1\\Varkelo\\Info\\s16.htm", "Str10"},
    {&TClass::InfoHub, 20, "%1\\Varkelo\\Info\\s17.htm", "Str9"},
    {&TClass::InfoHub, 21, "%1\\Varkelo\\Info\\kelso.htm", "Str8"},
    {&TClass::InfoHub, 22, "%1\\Varkelo\\Info\\s19.htm", "Str7"},
    {&TClass::InfoHub, 23, "%1\\Varkelo\\Info\\s20.htm", "Str6"},
};
static_assert(sizeof TextFileTable / sizeof TextFileTable[0] == TClass::TextFileCount, "one row per text file");

// The pictures, in the picture hub's order: element Pictures[k] is order k+1.
struct TPictureRow {
  const char* Mask;
  const char* Resource;
};

const TPictureRow PictureTable[] = {
    {"%1\\Varkelo\\img\\db.jpg", "STREAM1"},
    {"%1\\Varkelo\\img\\Num1.jpg", "STREAM3"},
    {"%1\\Varkelo\\img\\Num4.jpg", "STREAM2"},
};
static_assert(sizeof PictureTable / sizeof PictureTable[0] == TClass::PictureCount, "one row per picture");

// "%1Сорванта v2.1.lnk": %1 is the desktop folder, which ends with a backslash.
const char* const LinkFileMask = "%1\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk";

// A path element with the one placeholder %1.
void SetPath(TOMFormatStr& path, const char* mask, const TPointLink& folder, const TPointLink& out) {
  path.SetPointCount(1);
  path.Mask = mask;
  path.SkipInserted = true;
  path.getStr[0] = folder;
  path.outString = out;
}

} // namespace

TClassMultiElement_5022298::TClassMultiElement_5022298(TWindowObject*) {
  // The elements, in declaration order, the bridge first.
  EditMulti = std::make_unique<TOMEditMulti>();
  FolderReader = std::make_unique<TOMGetData>();
  MainHub = std::make_unique<TOMHub>();
  HelpHub = std::make_unique<TOMHub>();
  InfoHub = std::make_unique<TOMHub>();
  PictureHub = std::make_unique<TOMHub>();
  HelpFolder = std::make_unique<TOMDir>();
  InfoFolder = std::make_unique<TOMDir>();
  PictureFolder = std::make_unique<TOMDir>();
  ProgramPathMemory = std::make_unique<TOMMemory>();
  ProductFolderMemory = std::make_unique<TOMMemory>();
  LinkPathMemory = std::make_unique<TOMMemory>();
  DesktopShortcut = std::make_unique<TOMShortCut>();
  for (auto& picture : Pictures) picture = std::make_unique<TOMJpeg>();
  for (TTextFile& file : TextFiles) {
    file.List = std::make_unique<TOMStrList>();
    file.Path = std::make_unique<TOMFormatStr>();
  }
  HelpFolderPath = std::make_unique<TOMFormatStr>();
  InfoFolderPath = std::make_unique<TOMFormatStr>();
  PictureFolderPath = std::make_unique<TOMFormatStr>();
  for (auto& path : PicturePaths) path = std::make_unique<TOMFormatStr>();
  ProgramPath = std::make_unique<TOMFormatStr>();
  ProductFolderPath = std::make_unique<TOMFormatStr>();
  LinkPath = std::make_unique<TOMFormatStr>();

  // Settings and links, in reverse declaration order; each link is stored in
  // the element that fires or reads it.
  const TPointLink folder = MakePointLink<&TOMGetData::varData>(0, FolderReader.get());

  SetPath(*LinkPath, LinkFileMask, MakePointLink<&TOMDir::varDesktop>(0, InfoFolder.get()),
          MakePointLink<&TOMMemory::inValue>(0, LinkPathMemory.get()));
  SetPath(*ProductFolderPath, "%1\\Varkelo", folder,
          MakePointLink<&TOMMemory::inValue>(0, ProductFolderMemory.get()));
  SetPath(*ProgramPath, "%1\\Varkelo\\Zelcap2-1.exe", folder,
          MakePointLink<&TOMMemory::inValue>(0, ProgramPathMemory.get()));
  for (size_t k = PictureCount; k-- > 0;)
    SetPath(*PicturePaths[k], PictureTable[k].Mask, folder, MakePointLink<&TOMJpeg::inSave>(0, Pictures[k].get()));
  SetPath(*PictureFolderPath, "%1\\Varkelo\\img", folder,
          MakePointLink<&TOMDir::inCreate>(0, PictureFolder.get()));
  SetPath(*InfoFolderPath, "%1\\Varkelo\\Info", folder, MakePointLink<&TOMDir::inCreate>(0, InfoFolder.get()));
  SetPath(*HelpFolderPath, "%1\\Varkelo\\Help", folder, MakePointLink<&TOMDir::inCreate>(0, HelpFolder.get()));

  // Each list takes its name from the event: FileName empty, getFileName unlinked.
  for (size_t i = TextFileCount; i-- > 0;) {
    const TTextFileRow& row = TextFileTable[i];
    SetPath(*TextFiles[i].Path, row.Mask, folder, MakePointLink<&TOMStrList::inSave>(0, TextFiles[i].List.get()));
    TextFiles[i].List->SetStrings(LoadResourceText(row.Resource));
  }

  for (size_t k = PictureCount; k-- > 0;) Pictures[k]->LoadFromStream(LoadResourceStream(PictureTable[k].Resource));

  DesktopShortcut->Target.clear();
  DesktopShortcut->LinkFile.clear();
  DesktopShortcut->WorkDir.clear();
  DesktopShortcut->Description = "Sorvanta";
  DesktopShortcut->getTarget = MakePointLink<&TOMMemory::varValue>(0, ProgramPathMemory.get());
  DesktopShortcut->getLinkFile = MakePointLink<&TOMMemory::varValue>(0, LinkPathMemory.get());
  DesktopShortcut->getWorkDir = MakePointLink<&TOMMemory::varValue>(0, ProductFolderMemory.get());

  LinkPathMemory->outData = MakePointLink<&TOMShortCut::inCreate>(0, DesktopShortcut.get());

  PictureFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, PictureHub.get());
  InfoFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, InfoHub.get());
  HelpFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, HelpHub.get());

  // Every hub output that writes a text file comes from the table.
  auto linkTextFiles = [this](THubField hub) {
    for (size_t i = 0; i < TextFileCount; ++i)
      if (TextFileTable[i].Hub == hub)
        (this->*hub)->outStep[TextFileTable[i].Order - 1] =
            MakePointLink<&TOMFormatStr::inString>(0, TextFiles[i].Path.get());
  };

  PictureHub->SetOutputCount(PictureCount);
  for (size_t k = 0; k < PictureCount; ++k)
    PictureHub->outStep[k] = MakePointLink<&TOMFormatStr::inString>(0, PicturePaths[k].get());

  InfoHub->SetOutputCount(23);
  linkTextFiles(&TClass::InfoHub);

  HelpHub->SetOutputCount(6);
  linkTextFiles(&TClass::HelpHub);

  // The main sequence; each step ends, with all it starts, before the next.
  MainHub->SetOutputCount(12);
  linkTextFiles(&TClass::MainHub); // steps 1-4 and 7: the data files
  MainHub->outStep[4] = MakePointLink<&TOMFormatStr::inString>(0, HelpFolderPath.get());     // 5, then Help pages
  MainHub->outStep[5] = MakePointLink<&TOMFormatStr::inString>(0, InfoFolderPath.get());     // 6, then Info pages
  MainHub->outStep[7] = MakePointLink<&TOMFormatStr::inString>(0, PictureFolderPath.get());  // 8, then pictures
  MainHub->outStep[8] = MakePointLink<&TOMFormatStr::inString>(0, ProgramPath.get());        // 9 target
  MainHub->outStep[9] = MakePointLink<&TOMFormatStr::inString>(0, ProductFolderPath.get());  // 10 working folder
  MainHub->outStep[10] = MakePointLink<&TOMFormatStr::inString>(0, LinkPath.get());          // 11 the shortcut
  MainHub->outStep[11] = MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti.get());          // 12 outEvent[0]

  FolderReader->getData = MakePointLink<&TOMEditMulti::getData>(0, EditMulti.get());

  // The bridge last; varData[0] stays unlinked.
  EditMulti->SetWorkCount(1);
  EditMulti->SetVarCount(1);
  EditMulti->WorkLinks[0] = MakePointLink<&TOMHub::inDo>(0, MainHub.get());
  EditMulti->Container = this;
}

TClassMultiElement_5022298::~TClassMultiElement_5022298() {
  FreeInOrder(EditMulti, FolderReader, MainHub, HelpHub, InfoHub, PictureHub, HelpFolder, InfoFolder, PictureFolder,
              ProgramPathMemory, ProductFolderMemory, LinkPathMemory, DesktopShortcut);
  for (auto& picture : Pictures) picture.reset();
  for (TTextFile& file : TextFiles) FreeInOrder(file.List, file.Path);
  FreeInOrder(HelpFolderPath, InfoFolderPath, PictureFolderPath);
  for (auto& path : PicturePaths) path.reset();
  FreeInOrder(ProgramPath, ProductFolderPath, LinkPath);
}
