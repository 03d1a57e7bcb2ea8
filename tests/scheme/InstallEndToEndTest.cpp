// Installing end to end: Next, Agree, Install into the offered
// "C:\Program Files", then every file, the location record and the desktop
// shortcut checked against the payload the program carries, and the
// installed program started through the shortcut.
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "Installed.h"
#include "LinkReader.h"
#include "WizardRun.h"

using namespace driver;

namespace {

const std::string ProductFolder = ProgramFilesFolder() + "\\Varkelo";

// The product folder and the shortcut are gone before the test and after it,
// so what the test finds is what this run wrote.
class InstallEndToEnd : public ::testing::Test {
protected:
  std::string LinkPath = UserDesktopFolder() + "\\" + ShortcutName();
  void SetUp() override {
    CoInitialize(nullptr);
    Clean();
    ASSERT_FALSE(FileOnDisk(LinkPath));
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProductFolder.c_str()));
  }
  void TearDown() override {
    Clean();
    CoUninitialize();
  }
  // Wine reads a new shortcut and its program file for a while after they
  // were written (to make a launcher of them); a file it holds open goes only
  // when it lets go, so removing is tried until everything is gone.
  void Clean() {
    const bool gone = WaitUntil([&] {
      DeleteFileW(Text1251ToWide(LinkPath).c_str());
      return RemoveTree(ProductFolder) && !FileOnDisk(LinkPath);
    });
    EXPECT_TRUE(gone) << "cannot remove " << ProductFolder << " or the shortcut";
  }
};

// Next, Agree, Install with the offered folder; true when the finish page shows.
bool InstallWithDefaults(TWizardRun& w) {
  if (!w.Start() || !w.Press(texts::Next) || !w.WaitPage(EPage::wpLicence)) return false;
  if (!w.Press(texts::Agree) || !w.WaitPage(EPage::wpFolder)) return false;
  std::vector<HWND> edits = Controls(w.ShownFrame(), "Edit");
  EXPECT_EQ(1u, edits.size());
  if (edits.size() != 1) return false;
  EXPECT_EQ(ProgramFilesFolder(), WindowText(edits.front()));
  EXPECT_FALSE(IsWindowEnabled(edits.front())) << "the folder changes only through Browse";
  return w.Press(texts::Install) && w.WaitPage(EPage::wpFinish, 60000);
}

// Every payload file byte for byte (the texts with CR LF after their last
// line), the location record, the desktop shortcut, and nothing else.
void ExpectProductInstalled(const std::string& linkPath) {
  const std::vector<TPayloadItem> items = InstalledItems();
  ASSERT_EQ(38u, items.size()) << "34 texts, 3 pictures and the program file";
  for (const TPayloadItem& item : items) {
    SCOPED_TRACE(item.Target);
    const std::string path = ProductFolder + "\\" + item.Target;
    const std::string written = ReadBytes(path);
    const std::string expected = InstalledBytes(item);
    ASSERT_FALSE(expected.empty()) << "resource " << item.Name;
    EXPECT_EQ(InstalledSize(item), written.size());
    EXPECT_TRUE(expected == written) << "content of " << path;
  }

  // The location record names the product folder with a trailing backslash.
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (ProductFolder + "\\dir.ini").c_str());
  EXPECT_EQ(ProductFolder + "\\", std::string(dir));

  // The desktop shortcut: "Сорванта v2.1.lnk" to the program file.
  EXPECT_EQ("\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1.lnk", ShortcutName());
  ASSERT_TRUE(FileOnDisk(linkPath)) << linkPath;
  const TLinkFacts link = ReadLink(linkPath);
  ASSERT_TRUE(link.Loaded);
  EXPECT_EQ(ProductFolder + "\\Zelcap2-1.exe", link.Path);
  EXPECT_EQ(ProductFolder, link.WorkDir);
  EXPECT_EQ("Sorvanta", link.Description);

  // Nothing else in the product folder.
  const TTreeState tree = TreeState(ProductFolder);
  size_t files = 0;
  for (const auto& entry : tree)
    if (entry.first.back() != '\\') ++files;
  EXPECT_EQ(items.size() + 1, files) << "the payload files and dir.ini";
}

TEST_F(InstallEndToEnd, InstallsEveryFileTheRecordAndTheShortcutThenDoneEnds) {
  // The shortcut is copied for lnkinfo (scheme_link_file); no stale copy.
  const std::wstring linkCopy = Text1251ToWide(DosPath(OMBREL_LINK_COPY));
  DeleteFileW(linkCopy.c_str());

  TWizardRun w;
  ASSERT_TRUE(InstallWithDefaults(w));
  // Only the finish page: Install cannot be pressed a second time.
  EXPECT_EQ(1u, VisibleFrames(w.Main).size());
  ExpectProductInstalled(LinkPath);
  EXPECT_TRUE(CopyFileW(Text1251ToWide(LinkPath).c_str(), linkCopy.c_str(), FALSE));
  const TLinkFacts link = ReadLink(LinkPath);

  ASSERT_TRUE(w.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());

  // The installed program, started through the shortcut, finds its folder.
  TInstallerProcess product(link.Path);
  ASSERT_TRUE(product.Start());
  HWND box = product.WaitMessageBox(texts::ProductCaption);
  ASSERT_NE(nullptr, box);
  const std::string report = TInstallerProcess::MessageBoxText(box);
  EXPECT_NE(std::string::npos, report.find(ProductFolder + "\\")) << report;
  EXPECT_EQ(std::string::npos, report.find("dir.ini")) << "the record was found: " << report;
  // "есть" twice: the Help and Info pages are there.
  const std::string present = "\xE5\xF1\xF2\xFC";
  const size_t first = report.find(present);
  EXPECT_NE(std::string::npos, first) << report;
  EXPECT_NE(std::string::npos, report.find(present, first + 1)) << report;
  ASSERT_TRUE(product.PressButton(box, IDOK));
  EXPECT_EQ(std::optional<uint32_t>(0), product.WaitExit());
}

// The same installation with the keyboard alone: Enter on each page, the
// focus always on the page's default button. The pages as shot here show it.
TEST_F(InstallEndToEnd, InstallsWithTheKeyboardAlone) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  const struct {
    EPage Page;
    const std::string& Button;
    const char* Shot;
  } steps[] = {{EPage::wpWelcome, texts::Next, "1-welcome"},
               {EPage::wpLicence, texts::Agree, "2-licence"},
               {EPage::wpFolder, texts::Install, "3-folder"},
               {EPage::wpFinish, texts::Done, "4-finish"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(PageName(step.Page));
    ASSERT_TRUE(w.WaitPage(step.Page, 60000));
    ASSERT_TRUE(w.FocusOnDefault(step.Button));
    EXPECT_TRUE(Screenshot(w.Main, step.Shot));
    ASSERT_TRUE(w.Type("Return"));
  }
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
  ExpectProductInstalled(LinkPath);
}

// A whole run (the folder dialog opened, an installation with its shortcut)
// under Wine's loader trace: every library the installer's process loads
// comes from the system folder or the side-by-side store, none from
// anywhere else.
TEST_F(InstallEndToEnd, EveryLibraryOfAWholeRunComesFromTheSystem) {
  const char* log = std::getenv("OMBREL_STDERR_LOG");
  if (!log || !*log) GTEST_SKIP() << "run through with-stderr-log.sh";
  const size_t from = ReadBytes(DosPath(log)).size();
  SetEnvironmentVariableA("WINEDEBUG", "+loaddll"); // for the installer only: Wine reads it when a process starts
  TWizardRun w;
  const bool started = w.Start();
  SetEnvironmentVariableA("WINEDEBUG", "-all");
  ASSERT_TRUE(started);
  ASSERT_TRUE(w.Press(texts::Next) && w.WaitPage(EPage::wpLicence));
  ASSERT_TRUE(w.Press(texts::Agree) && w.WaitPage(EPage::wpFolder));
  ASSERT_TRUE(w.Press(texts::Browse));
  HWND dialog = w.Process.WaitDialog();
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(w.Process.PressButton(dialog, IDCANCEL));
  ASSERT_TRUE(w.Press(texts::Install));
  ASSERT_TRUE(w.WaitPage(EPage::wpFinish, 60000));
  ASSERT_TRUE(w.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());

  // Lines such as: 0174:trace:loaddll:build_module Loaded L"C:\windows\system32\user32.dll" at ...
  const std::string trace = ReadBytes(DosPath(log)).substr(from);
  const std::string marker = "Loaded L\"";
  std::vector<std::string> loaded;
  for (size_t at = trace.find(marker); at != std::string::npos; at = trace.find(marker, at + 1)) {
    const size_t start = at + marker.size(), end = trace.find('"', start);
    std::string path = trace.substr(start, end - start);
    for (size_t i = path.find("\\\\"); i != std::string::npos; i = path.find("\\\\", i + 1)) path.erase(i, 1);
    CharLowerA(path.data());
    loaded.push_back(path);
  }
  std::string own = DosPath(OMBREL_EXE);
  CharLowerA(own.data());
  EXPECT_NE(loaded.end(), std::find(loaded.begin(), loaded.end(), own)) << "no trace of the installer itself";
  EXPECT_GT(loaded.size(), 10u);
  for (const std::string& path : loaded)
    EXPECT_TRUE(path == own || path.rfind("c:\\windows\\system32\\", 0) == 0 ||
                path.rfind("c:\\windows\\winsxs\\", 0) == 0)
        << path;
}

// The close box on the finish page ends the program too, the installation
// already complete.
TEST_F(InstallEndToEnd, CloseBoxOnTheFinishPageEnds) {
  TWizardRun w;
  ASSERT_TRUE(InstallWithDefaults(w));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
  EXPECT_TRUE(FileOnDisk(ProductFolder + "\\dir.ini"));
  EXPECT_TRUE(FileOnDisk(LinkPath));
}

// Browse picks another folder; the installation, its record and the
// shortcut follow it.
TEST_F(InstallEndToEnd, InstallsIntoAFolderChosenWithBrowse) {
  const std::string name = "ombrel-e2e-" + std::to_string(GetCurrentProcessId());
  const std::string chosen = "C:\\" + name;
  RemoveTree(chosen);
  ASSERT_TRUE(CreateDirectoryA(chosen.c_str(), nullptr));
  struct TRemove {
    std::string Folder;
    ~TRemove() { WaitUntil([&] { return RemoveTree(Folder); }); } // see Clean
  } remove{chosen};

  TWizardRun w;
  ASSERT_TRUE(w.Start());
  ASSERT_TRUE(w.Press(texts::Next));
  ASSERT_TRUE(w.WaitPage(EPage::wpLicence));
  ASSERT_TRUE(w.Press(texts::Agree));
  ASSERT_TRUE(w.WaitPage(EPage::wpFolder));
  std::vector<HWND> edits = Controls(w.ShownFrame(), "Edit");
  ASSERT_EQ(1u, edits.size());
  ASSERT_TRUE(w.Press("\xCE\xE1\xE7\xEE\xF0")); // "Обзор"
  HWND dialog = w.Process.WaitDialog();
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(w.Main, Owner(dialog));
  ASSERT_TRUE(w.Process.ChooseFolder(dialog, {"(c:)", name}));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edits.front()) == chosen; })) << WindowText(edits.front());
  EXPECT_EQ(EPage::wpFolder, w.Page());

  ASSERT_TRUE(w.Press(texts::Install));
  ASSERT_TRUE(w.WaitPage(EPage::wpFinish, 60000));
  const std::string product = chosen + "\\Varkelo";
  char dir[MAX_PATH + 1] = {};
  GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (product + "\\dir.ini").c_str());
  EXPECT_EQ(product + "\\", std::string(dir));
  EXPECT_EQ(1606656u, ReadBytes(product + "\\Zelcap2-1.exe").size());
  EXPECT_TRUE(FileOnDisk(product + "\\Info\\kelso.htm"));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ProductFolder.c_str())) << "nothing in Program Files";
  const TLinkFacts link = ReadLink(LinkPath);
  EXPECT_EQ(product + "\\Zelcap2-1.exe", link.Path);
  EXPECT_EQ(product, link.WorkDir);

  ASSERT_TRUE(w.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

} // namespace
