// Removing the product: the entry an installation leaves in the system's list of installed
// programs, and the uninstaller it names, run without a person and by one, over whole and
// partial installations.
#include <gtest/gtest.h>

#include "Wizard.h"

#include <tlhelp32.h>

using namespace driver;

namespace {

// Installed by "/S /D=D:\Другая папка", which makes the folder too.
const std::string Folder = "D:\\Другая папка", Product = Folder + "\\Varkelo";
const std::string Uninstaller = Product + "\\uninstall.exe", Caption = "Удаление программы";

class Uninstall : public ::testing::Test {
protected:
  void SetUp() override {
    files::RemoveTree(Folder);
    ASSERT_EQ(0u, RunUnattended("/S /D=" + Folder).Code);
    ASSERT_TRUE(files::IsFile(Uninstaller));
  }
  void TearDown() override {
    RemoveInstallation(Folder);
    files::RemoveTree(Folder);
  }

  // Nothing the installation made is left: its files, the shortcut, the uninstaller (removed
  // by its copy once it has ended), each folder it made and is empty now, the entry. Read once
  // the copy has ended too: until then a folder it is removing may read as empty.
  static void ExpectRemoved(const std::string& kept = "") {
    EXPECT_TRUE(WaitUntil([] { return !CopyRuns(); })) << "the uninstaller's copy still runs";
    EXPECT_EQ(!kept.empty(), files::IsFolder(kept.empty() ? Folder : Product)) << "the folders";
    EXPECT_EQ(kept.empty() ? std::vector<std::string>{} : std::vector<std::string>{kept},
              files::Changes({}, files::Tree(Product)));
    EXPECT_FALSE(files::IsFile(Link()));
    EXPECT_EQ((std::map<std::string, std::string>{}), UninstallEntry());
  }
  // Whether a copy an uninstaller left to remove it still runs.
  static bool CopyRuns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    bool runs = false;
    for (BOOL more = Process32FirstW(snapshot, &process); more && !runs; more = Process32NextW(snapshot, &process))
      runs = files::Narrow(process.szExeFile).rfind("Sorvanta-uninstall-", 0) == 0;
    CloseHandle(snapshot);
    return runs;
  }
};

// What Apps & features reads: the names the system's list shows, how to remove the product (quietly
// too), its size (every file written, in KB rounded up), and no way to change or repair it; no
// publisher, as none is named; once, in the view of its own bitness. The uninstaller asks first, in
// Russian: No leaves everything as it was, Yes removes it all and says so.
TEST_F(Uninstall, TheEntryTellsHowToRemoveTheProductAndAskedNoKeepsEverythingAndYesRemovesIt) {
  const auto entry = UninstallEntry();
  uint64_t bytes = files::Read(Link()).size();
  for (const auto& file : files::Tree(Product)) bytes += file.second.first;
  EXPECT_EQ((std::map<std::string, std::string>{
                {"DisplayName", "Сорванта v2.1"},
                {"DisplayVersion", "2.1"},
                {"InstallLocation", Product},
                {"DisplayIcon", Product + "\\Zelcap2-1.exe"},
                {"UninstallString", "\"" + Uninstaller + "\""},
                {"QuietUninstallString", "\"" + Uninstaller + "\" /S"},
                {"EstimatedSize", std::to_string((bytes + 1023) / 1024)},
                {"NoModify", "1"},
                {"NoRepair", "1"},
            }),
            entry);
  HKEY other = nullptr;
  EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                         L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorvanta", 0,
                                         KEY_READ | KEY_WOW64_32KEY, &other));
  const files::TTree before = files::Tree(Folder);
  for (const int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
    TProcess p(Uninstaller);
    HWND box = p.Start() ? p.WaitBox(Caption) : nullptr;
    EXPECT_EQ("Вы действительно хотите удалить программу Сорванта v2.1 и все её компоненты?", BoxText(box));
    ASSERT_TRUE(p.Press(box, answer));
    if (answer == IDYES) {
      box = p.WaitBox(Caption);
      EXPECT_EQ("Программа Сорванта v2.1 удалена с компьютера.", BoxText(box));
      ASSERT_TRUE(p.Press(box, IDOK));
    }
    EXPECT_EQ(0u, p.WaitExit());
    if (answer == IDNO) {
      EXPECT_EQ(before, files::Tree(Folder));
      EXPECT_EQ(entry, UninstallEntry());
      EXPECT_TRUE(files::IsFile(Link()));
    }
  }
  ExpectRemoved();
}

// /S: no window, exit 0, and nothing left that the installation made but what is not its own: a file
// of the user's in the product folder stays, and so does its folder; over an installation that could not
// write everything, so does what it did not write (an older program file it could not replace, in a
// folder it did not make). Installed twice, the second installation made no folder, yet its uninstaller
// removes those the first made. A second run, over what is gone, is harmless.
TEST_F(Uninstall, QuietlyItLeavesNothingTheInstallationMadeButWhatIsNotItsOwn) {
  const struct {
    const char* Name;
    std::string Kept; // a file the installation did not make
    bool Again, Partial;
  } cases[] = {{"alone", "", false, false},
               {"with a file of the user's", "мои заметки.txt", false, false},
               {"installed twice", "", true, false},
               {"over a partial installation", "Zelcap2-1.exe", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (&c != cases) SetUp();
    if (c.Partial) RemoveInstallation(Folder);
    ASSERT_TRUE(c.Kept.empty() || Place(Product + "\\" + c.Kept, "not its own"));
    THeld held = Hold(c.Partial ? Product + "\\" + c.Kept : ""); // the installation cannot replace it
    ASSERT_TRUE((!c.Again && !c.Partial) || RunUnattended("/S /D=" + Folder).Code == (c.Partial ? 1u : 0u));
    held.reset();
    const std::string again = files::DosPath(files::UnixScratch("again") + ".exe");
    ASSERT_TRUE(CopyFileW(files::Wide(Uninstaller).c_str(), files::Wide(again).c_str(), FALSE));
    const TUnattendedRun run = RunUnattended("/S", Uninstaller);
    EXPECT_EQ(std::set<std::string>{}, run.Shown);
    EXPECT_EQ(0u, run.Code);
    ExpectRemoved(c.Kept);
    EXPECT_EQ(0u, RunUnattended("/S", again).Code);
    ExpectRemoved(c.Kept);
    EXPECT_EQ(c.Kept.empty() ? "" : "not its own", files::Read(Product + "\\" + c.Kept));
    DeleteFileW(files::Wide(again).c_str());
  }
}

// A file held open cannot be removed: the box names it with the system's words, the exit code is
// 1, and everything else is removed. Without a person, the same with no window.
TEST_F(Uninstall, AFileHeldOpenIsReportedAndTheRestRemoved) {
  const std::string heldFile = Product + "\\pek.txt";
  for (const bool silent : {false, true}) {
    SCOPED_TRACE(silent ? "/S" : "by a person");
    if (silent) SetUp();
    THeld held = Hold(heldFile);
    if (silent) {
      const TUnattendedRun run = RunUnattended("/S", Uninstaller);
      EXPECT_EQ(std::set<std::string>{}, run.Shown);
      EXPECT_EQ(1u, run.Code);
    } else {
      TProcess p(Uninstaller);
      ASSERT_TRUE(p.Start() && p.Press(p.WaitBox(Caption), IDYES));
      HWND report = p.WaitBox(Caption);
      const std::string text = BoxText(report);
      EXPECT_EQ(0u, text.find("Не удалось удалить: 1.\r\n\r\n" + heldFile + "\r\n   ")) << text;
      EXPECT_GT(text.size(), heldFile.size() + 30) << "no reason: " << text;
      ASSERT_TRUE(p.Press(report, IDOK));
      EXPECT_EQ(1u, p.WaitExit());
    }
    held.reset();
    ExpectRemoved("pek.txt");
  }
}

} // namespace
