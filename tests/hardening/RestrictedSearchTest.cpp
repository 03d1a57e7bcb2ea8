// The process as the installer sets it up first thing, in this process: the
// error mode and the limited library search; the shell link and the folder
// dialog must still work under them, in the apartment the installer gives its
// window thread, and the common controls must still come in version 6.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "DllSearch.h"
#include "Process.h"
#include "LinkReader.h"
#include "InstallerProcess.h"
#include "omBrowse.h"
#include "shortcut.h"

using namespace driver;

namespace {

std::string FreshTempFolder(const std::string& tag) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + "ombrel-" + tag + "-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(path.c_str(), nullptr);
  char longPath[MAX_PATH] = {};
  GetLongPathNameA(path.c_str(), longPath, MAX_PATH);
  return longPath[0] ? longPath : path;
}

struct TPathProbe : TOMObject {
  std::vector<std::string> Paths;
  void inPath(TData& value, uint16_t) { Paths.push_back(DataToString(value)); }
};

// The folder dialog of this process, once it is shown: only then has it
// filled its tree and selected its first folder, which would otherwise
// replace a selection made earlier.
// (EnumWindows callbacks are stdcall in 32-bit code: a plain function.)
BOOL CALLBACK MatchBrowseDialog(HWND window, LPARAM param) {
  if (ProcessOf(window) != GetCurrentProcessId() || WindowClass(window) != "#32770" ||
      !IsWindowVisible(window) || !FindWindowExA(window, nullptr, "SysTreeView32", nullptr))
    return TRUE;
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

HWND FindBrowseDialog() {
  HWND found = nullptr;
  EnumWindows(&MatchBrowseDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

class RestrictedSearch : public ::testing::Test {
protected:
  void SetUp() override {
    PrepareProcess(true);
    ASSERT_TRUE(SystemFolderSearchAvailable()) << "no limited library search on this system";
  }
  const TOleApartment Ole;
};

} // namespace

// A drive without a disc fails its calls instead of asking; the thread is a
// single-threaded apartment with OLE, which is undone with the apartment.
TEST_F(RestrictedSearch, ErrorModeAndApartment) {
  EXPECT_EQ(UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX), GetErrorMode());
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  ASSERT_EQ(S_OK, CoGetApartmentType(&type, &qualifier));
  EXPECT_TRUE(type == APTTYPE_MAINSTA || type == APTTYPE_STA) << type;
  EXPECT_EQ(S_FALSE, OleInitialize(nullptr)) << "OLE is initialised";
  OleUninitialize();
  std::thread other([] {
    // Balanced: a thread's apartment is gone with its object.
    { const TOleApartment ole; }
    EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    CoUninitialize();
  });
  other.join();
}

// A library beside the program is found by its full path only.
TEST_F(RestrictedSearch, KeepsTheProgramsFolderOut) {
  char own[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, own, MAX_PATH);
  const std::string beside = std::string(own, strrchr(own, '\\') + 1) + "ombrel_beside.dll";
  ASSERT_TRUE(CopyFileA(DosPath(OMBREL_PLANTED_DLL).c_str(), beside.c_str(), FALSE));
  EXPECT_EQ(nullptr, LoadLibraryA("ombrel_beside.dll"));
  EXPECT_EQ(nullptr, LoadLibraryExA("ombrel_beside.dll", nullptr, 0));
  EXPECT_EQ(nullptr, LoadSystemLibrary("ombrel_beside.dll"));
  // The file itself loads: the refusals above come from the search.
  HMODULE direct = LoadLibraryExA(beside.c_str(), nullptr, 0);
  EXPECT_NE(nullptr, direct);
  if (direct) FreeLibrary(direct);
  DeleteFileA(beside.c_str());
}

// Loaded on demand, the common controls still follow the manifest: version 6
// lives in the side-by-side store, the system folder holds the old one.
// (Wine's copy reports version 5 whichever store it is loaded from, so the
// store is what the test looks at.)
TEST_F(RestrictedSearch, CommonControlsComeFromTheSideBySideStore) {
  HMODULE controls = LoadSystemLibrary("comctl32.dll");
  ASSERT_NE(nullptr, controls);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(controls, path, MAX_PATH);
  std::string lower = path;
  CharLowerA(&lower[0]);
  EXPECT_NE(std::string::npos, lower.find("\\winsxs\\")) << path;
  EXPECT_NE(std::string::npos, lower.find("common-controls")) << path;
  EXPECT_NE(nullptr, GetProcAddress(controls, "InitCommonControlsEx"));
}

// The shell link object is created under the limited search and its file
// reads back as written.
TEST_F(RestrictedSearch, ShortcutIsWrittenAndReadsBack) {
  const std::string folder = FreshTempFolder("link");
  const std::string target = folder + "\\Zelcap2-1.exe";
  const std::string linkFile = folder + "\\\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk"; // "Сорванта v2.1.lnk"
  HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);

  CreateLink(target, linkFile, folder, "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0");
  const TLinkFacts facts = ReadLink(linkFile);
  EXPECT_TRUE(facts.Loaded);
  EXPECT_EQ(target, facts.Path);
  EXPECT_EQ(folder, facts.WorkDir);
  EXPECT_EQ("\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0", facts.Description);

  DeleteFileA(linkFile.c_str());
  DeleteFileA(target.c_str());
  RemoveDirectoryA(folder.c_str());
}

// The folder dialog opens under the limited search and gives the folder
// chosen in it.
TEST_F(RestrictedSearch, FolderDialogGivesTheChosenFolder) {
  const std::string folder = FreshTempFolder("browse");
  StartDispatch();
  TPathProbe probe;
  TOMBrowse element;
  element.Title = "Folder";
  element.outPath = MakePointLink<&TPathProbe::inPath>(0, &probe);

  std::atomic<bool> dialogSeen{false};
  std::thread chooser([&] {
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindBrowseDialog()) != nullptr; }, 60000)) return;
    dialogSeen = true;
    // Selected until the tree shows it so, then OK. (A selection asked for
    // while the dialog still fills its tree can be lost.)
    HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    const std::string leaf = folder.substr(folder.rfind('\\') + 1);
    WaitUntil([&] {
      SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
      char text[MAX_PATH] = {};
      TVITEMA item{};
      item.mask = TVIF_TEXT;
      item.hItem = TreeView_GetSelection(tree);
      item.pszText = text;
      item.cchTextMax = MAX_PATH;
      return item.hItem && TreeView_GetItem(tree, &item) && lstrcmpiA(text, leaf.c_str()) == 0;
    });
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  TData value;
  element.inBrowse(value, 0);
  chooser.join();
  StopDispatch();

  EXPECT_TRUE(dialogSeen);
  ASSERT_EQ(1u, probe.Paths.size());
  EXPECT_EQ(0, lstrcmpiA(folder.c_str(), probe.Paths[0].c_str())) << probe.Paths[0];
  RemoveDirectoryA(folder.c_str());
}
