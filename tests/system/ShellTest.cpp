// The folder dialog, driven through its own window, and the shell link.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <shlobj.h>

#include "TestSupport.h"
#include "LinkReader.h"
#include "omBrowse.h"
#include "omShortcut.h"
#include "shortcut.h"

using namespace systest;

namespace {

struct TPathProbe : TOMObject {
  std::vector<std::string> Paths;
  int Nulls = 0;
  void inPath(TData& value, uint16_t) { Paths.push_back(DataToString(value)); }
  void inNull(TData& value, uint16_t) { Nulls += value.Kind == dkNull; }
};

std::string ItemText(HWND tree, HTREEITEM item) {
  char text[260] = {};
  TVITEMA info{};
  info.mask = TVIF_TEXT;
  info.hItem = item;
  info.pszText = text;
  info.cchTextMax = sizeof text;
  SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
  return text;
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// Expands the item (the dialog fills it then) and finds a child by its text.
HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::function<bool(const std::string&)>& match) {
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  for (HTREEITEM item = Next(tree, parent, TVGN_CHILD); item; item = Next(tree, item, TVGN_NEXT))
    if (match(ItemText(tree, item))) return item;
  return nullptr;
}

// The drive's item, one or two levels below the tree's root (desktop, then the
// computer folder), whatever the locale calls them: its text ends "(M:)".
HTREEITEM FindDrive(HWND tree, const std::string& drive) {
  HTREEITEM root = Next(tree, nullptr, TVGN_ROOT);
  auto isDrive = [&](const std::string& text) { return text.find("(" + drive + ")") != std::string::npos; };
  if (HTREEITEM found = FindChild(tree, root, isDrive)) return found;
  SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
  for (HTREEITEM item = Next(tree, root, TVGN_CHILD); item; item = Next(tree, item, TVGN_NEXT))
    if (HTREEITEM found = FindChild(tree, item, isDrive)) return found;
  return nullptr;
}

bool HasChildWithText(HWND dialog, const std::string& text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char buffer[256] = {};
    GetWindowTextA(child, buffer, sizeof buffer);
    if (text == buffer) return true;
  }
  return false;
}

// Runs inBrowse with a watcher that picks drive/folders in the tree and then
// presses the given button. Returns what the watcher found along the way.
struct TBrowseRun {
  bool SawTitle = false;
  bool Selected = false;
  size_t Dialogs = 0;
};

TBrowseRun Browse(TOMBrowse& element, const std::string& drive, const std::vector<std::string>& folders, int button) {
  TBrowseRun run;
  {
    TDialogWatcher watcher([&](HWND dialog) {
      run.SawTitle = HasChildWithText(dialog, element.Title);
      HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
      HTREEITEM item = tree ? FindDrive(tree, drive) : nullptr;
      for (const std::string& name : folders)
        if (item) item = FindChild(tree, item, [&](const std::string& text) { return lstrcmpiA(text.c_str(), name.c_str()) == 0; });
      if (item) {
        run.Selected = SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
        Sleep(100);
      }
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    TData value;
    element.inBrowse(value, 0);
    run.Dialogs = watcher.Seen().size();
  }
  return run;
}

} // namespace

TEST(Browse, PicksFoldersAndDriveRootsThroughTheTree) {
  std::string drive = TestDrive();
  ASSERT_FALSE(drive.empty()) << "drive M: is not mapped";
  std::string folder = FreshFolder("browse");
  CreateDirectoryA((folder + "Pick").c_str(), nullptr);

  StartDispatch();
  TPathProbe probe;
  TOMBrowse element;
  element.Title = "Choose the folder";
  element.outPath = MakePointLink<&TPathProbe::inPath>(0, &probe);

  TBrowseRun run = Browse(element, drive, {"browse", "Pick"}, IDOK);
  EXPECT_EQ(run.Dialogs, 1u);
  EXPECT_TRUE(run.SawTitle);
  EXPECT_TRUE(run.Selected);
  EXPECT_EQ(probe.Paths, std::vector<std::string>{drive + "\\browse\\Pick"});

  EXPECT_TRUE(Browse(element, drive, {}, IDOK).Selected);
  EXPECT_EQ(Browse(element, drive, {"browse"}, IDCANCEL).Dialogs, 1u); // Cancel fires nothing
  // a drive root keeps its backslash
  EXPECT_EQ(probe.Paths, (std::vector<std::string>{drive + "\\browse\\Pick", drive + "\\"}));
  StopDispatch();
}

namespace {

const std::string Sorvanta = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0"; // the product's name in code page 1251

} // namespace

TEST(Shortcut, WritesTargetFolderAndDescription) {
  std::string drive = TestDrive();
  ASSERT_FALSE(drive.empty()) << "drive M: is not mapped";
  std::string program = FreshFolder("P");
  CreateDirectoryA((program + "V").c_str(), nullptr);
  WriteWholeFile(program + "V\\a.exe", "MZ");
  std::string desk = FreshFolder("Desk");
  // The link the shell script reads afterwards: it stays on the drive.
  std::string linkFile = desk + Sorvanta + " v2.1.lnk";
  WriteWholeFile(linkFile, std::string(5000, 'x')); // replaced by the save

  StartDispatch();
  TPathProbe probe;
  TOMShortCut element;
  element.Target = drive + "\\P\\V\\a.exe";
  element.LinkFile = linkFile;
  element.WorkDir = drive + "\\P\\V";
  element.Description = Sorvanta;
  element.outCreate = MakePointLink<&TPathProbe::inNull>(0, &probe);
  TData value = StringData("unused");
  Fire(MakePointLink<&TOMShortCut::inCreate>(3, &element), value);
  EXPECT_EQ(probe.Nulls, 1);

  TLinkFacts facts = ReadLink(linkFile);
  ASSERT_TRUE(facts.Loaded);
  EXPECT_EQ(facts.Path, drive + "\\P\\V\\a.exe");
  EXPECT_EQ(facts.WorkDir, drive + "\\P\\V");
  EXPECT_EQ(facts.Description, Sorvanta);
  EXPECT_EQ(facts.Arguments, "");
  EXPECT_EQ(facts.ShowCommand, SW_SHOWNORMAL);

  // Unlinked and empty but Description: the event's text goes to the working
  // folder, the save is tried with an empty path, outCreate still fires once.
  TOMShortCut bare;
  bare.Description = "d";
  bare.outCreate = MakePointLink<&TPathProbe::inNull>(0, &probe);
  TData event = StringData(drive + "\\P");
  Fire(MakePointLink<&TOMShortCut::inCreate>(0, &bare), event);
  EXPECT_EQ(probe.Nulls, 2);
  StopDispatch();
}
