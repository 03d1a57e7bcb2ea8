#include "omMultiElement_5022298.h"

#include "Resources.h"

namespace {

using TClass = TClassMultiElement_5022298;
using THubField = TOMHub* const TClass::*;

// The text files: which hub output writes which file (in the product folder)
// from which resource.
// Order k is the hub's outStep[k-1]. The pairing of pages and resources is
// not in number order, and there is no page s18: this table is the wiring.
struct TTextFileRow {
  THubField Hub;
  uint8_t Order;
  const char* Path;
  const char* Resource;
};

const TTextFileRow TextFileTable[] = {
    // Data files at the top of the product folder (main sequence).
    {&TClass::MainHub, 1, "Confile.man", "Str36"},
    {&TClass::MainHub, 2, "pek.txt", "Str35"},
    {&TClass::MainHub, 3, "psq.txt", "Str32"},
    {&TClass::MainHub, 4, "pif.txt", "Str27"},
    {&TClass::MainHub, 7, "health.txt", "Str4"},
    // Help pages, once folder Help exists.
    {&TClass::HelpHub, 1, "Help\\h1.htm", "Str31"},
    {&TClass::HelpHub, 2, "Help\\h2.htm", "Str30"},
    {&TClass::HelpHub, 3, "Help\\menu.htm", "Str21"},
    {&TClass::HelpHub, 4, "Help\\head.htm", "Str23"},
    {&TClass::HelpHub, 5, "Help\\ZelcapHelp.htm", "Str22"},
    {&TClass::HelpHub, 6, "Help\\h3.htm", "Str3"},
    // Info pages, once folder Info exists.
    {&TClass::InfoHub, 1, "Info\\head.htm", "Str20"},
    {&TClass::InfoHub, 2, "Info\\ZelcapInfo.htm", "Str19"},
    {&TClass::InfoHub, 3, "Info\\menu.htm", "Str18"},
    {&TClass::InfoHub, 4, "Info\\s1.htm", "Str17"},
    {&TClass::InfoHub, 5, "Info\\s2.htm", "Str16"},
    {&TClass::InfoHub, 6, "Info\\s3.htm", "Str15"},
    {&TClass::InfoHub, 7, "Info\\s4.htm", "Str14"},
    {&TClass::InfoHub, 8, "Info\\s5.htm", "Str13"},
    {&TClass::InfoHub, 9, "Info\\s6.htm", "Str24"},
    {&TClass::InfoHub, 10, "Info\\s7.htm", "Str25"},
    {&TClass::InfoHub, 11, "Info\\s8.htm", "Str37"},
    {&TClass::InfoHub, 12, "Info\\s9.htm", "Str26"},
    {&TClass::InfoHub, 13, "Info\\s10.htm", "Str29"},
    {&TClass::InfoHub, 14, "Info\\s11.htm", "Str28"},
    {&TClass::InfoHub, 15, "Info\\s12.htm", "Str33"},
    {&TClass::InfoHub, 16, "Info\\s13.htm", "Str34"},
    {&TClass::InfoHub, 17, "Info\\s14.htm", "Str12"},
    {&TClass::InfoHub, 18, "Info\\s15.htm", "Str11"},
    {&TClass::InfoHub, 19, "Info\\s16.htm", "Str10"},
    {&TClass::InfoHub, 20, "Info\\s17.htm", "Str9"},
    {&TClass::InfoHub, 21, "Info\\kelso.htm", "Str8"},
    {&TClass::InfoHub, 22, "Info\\s19.htm", "Str7"},
    {&TClass::InfoHub, 23, "Info\\s20.htm", "Str6"},
};
static_assert(sizeof TextFileTable / sizeof TextFileTable[0] == TClass::TextFileCount, "one row per text file");

// The pictures, in the picture hub's order: element Pictures[k] is order k+1.
struct TPictureRow {
  const char* Path; // in the product folder
  const char* Resource;
};

const TPictureRow PictureTable[] = {
    {"img\\db.jpg", "STREAM1"},
    {"img\\Num1.jpg", "STREAM3"},
    {"img\\Num4.jpg", "STREAM2"},
};
static_assert(sizeof PictureTable / sizeof PictureTable[0] == TClass::PictureCount, "one row per picture");

} // namespace

std::vector<std::string> TClassMultiElement_5022298::Files() {
  std::vector<std::string> files;
  for (const TTextFileRow& row : TextFileTable) files.push_back(row.Path);
  for (const TPictureRow& row : PictureTable) files.push_back(row.Path);
  return files;
}

TClassMultiElement_5022298::TClassMultiElement_5022298(TWindowObject*) {
  // Settings and links, in reverse creation order; each link is stored in
  // the element that fires or reads it.
  const TPointLink folder = MakePointLink<&TOMGetData::varData>(0, FolderReader);
  auto format = [](TOMFormatStr* path) { return MakePointLink<&TOMFormatStr::inString>(0, path); };

  SetFormat(*LinkPath, (std::string("%1") + ProductName + ".lnk").c_str(), {MakePointLink<&TOMDir::varDesktop>(0, InfoFolder)},
            MakePointLink<&TOMMemory::inValue>(0, LinkPathMemory)); // the desktop folder ends with a backslash
  SetProductPath(*ProductFolderPath, "", {folder}, MakePointLink<&TOMMemory::inValue>(0, ProductFolderMemory));
  SetProductPath(*ProgramPath, ProgramFileName, {folder}, MakePointLink<&TOMMemory::inValue>(0, ProgramPathMemory));
  for (size_t k = PictureCount; k-- > 0;)
    SetProductPath(*PicturePaths[k], PictureTable[k].Path, {folder}, MakePointLink<&TOMJpeg::inSave>(0, Pictures[k]));
  SetProductPath(*PictureFolderPath, "img", {folder}, MakePointLink<&TOMDir::inCreate>(0, PictureFolder));
  SetProductPath(*InfoFolderPath, "Info", {folder}, MakePointLink<&TOMDir::inCreate>(0, InfoFolder));
  SetProductPath(*HelpFolderPath, "Help", {folder}, MakePointLink<&TOMDir::inCreate>(0, HelpFolder));

  // Each list takes its name from the event: FileName empty, getFileName unlinked.
  for (size_t i = TextFileCount; i-- > 0;) {
    const TTextFileRow& row = TextFileTable[i];
    SetProductPath(*TextFiles[i].Path, row.Path, {folder}, MakePointLink<&TOMStrList::inSave>(0, TextFiles[i].List));
    TextFiles[i].List->SetStringsResource(row.Resource);
  }
  for (size_t k = PictureCount; k-- > 0;) Pictures[k]->LoadFromStream(LoadResourceStream(PictureTable[k].Resource));

  DesktopShortcut->Target.clear();
  DesktopShortcut->LinkFile.clear();
  DesktopShortcut->WorkDir.clear();
  DesktopShortcut->Description = "Sorvanta";
  DesktopShortcut->getTarget = MakePointLink<&TOMMemory::varValue>(0, ProgramPathMemory);
  DesktopShortcut->getLinkFile = MakePointLink<&TOMMemory::varValue>(0, LinkPathMemory);
  DesktopShortcut->getWorkDir = MakePointLink<&TOMMemory::varValue>(0, ProductFolderMemory);
  LinkPathMemory->outData = MakePointLink<&TOMShortCut::inCreate>(0, DesktopShortcut);
  PictureFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, PictureHub);
  InfoFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, InfoHub);
  HelpFolder->outCreate = MakePointLink<&TOMHub::inDo>(0, HelpHub);

  // Every hub output that writes a text file comes from the table.
  auto linkTextFiles = [this, &format](THubField field, uint8_t outputs) {
    TOMHub* hub = this->*field;
    hub->SetOutputCount(outputs);
    for (size_t i = 0; i < TextFileCount; ++i)
      if (TextFileTable[i].Hub == field) hub->outStep[TextFileTable[i].Order - 1] = format(TextFiles[i].Path);
  };
  SetHub(*PictureHub, 1, {format(PicturePaths[0]), format(PicturePaths[1]), format(PicturePaths[2])});
  linkTextFiles(&TClass::InfoHub, 23);
  linkTextFiles(&TClass::HelpHub, 6);
  // The main sequence; each step ends, with all it starts, before the next.
  linkTextFiles(&TClass::MainHub, 12);                // steps 1-4 and 7: the data files
  MainHub->outStep[4] = format(HelpFolderPath);       // 5, then the Help pages
  MainHub->outStep[5] = format(InfoFolderPath);       // 6, then the Info pages
  MainHub->outStep[7] = format(PictureFolderPath);    // 8, then the pictures
  MainHub->outStep[8] = format(ProgramPath);          // 9, the shortcut's target
  MainHub->outStep[9] = format(ProductFolderPath);    // 10, its working folder
  MainHub->outStep[10] = format(LinkPath);            // 11, the shortcut itself
  MainHub->outStep[11] = MakePointLink<&TOMEditMulti::inEvent>(0, EditMulti); // 12, outEvent[0]

  FolderReader->getData = MakePointLink<&TOMEditMulti::getData>(0, EditMulti);
  SetBridge({MakePointLink<&TOMHub::inDo>(0, MainHub)}, {TPointLink()}); // varData[0] stays unlinked
}

std::array<TClassMultiElement_5022298::TTextFile, TClassMultiElement_5022298::TextFileCount>
TClassMultiElement_5022298::MakeTextFiles() {
  std::array<TTextFile, TextFileCount> files{};
  for (TTextFile& file : files) file = TTextFile{Make<TOMStrList>(), Make<TOMFormatStr>()};
  return files;
}
