// Removing the product: the entry an installation leaves in the system's list of installed
// programs, and the uninstaller it names, run without a person and by one, over whole and
// partial installations.
#include <gtest/gtest.h>

#include "Wizard.h"

#include <tlhelp32.h>

#include <cstring>

using namespace driver;

namespace {

// Installed by "/S /D=D:\Другая папка", which makes the folder too.
const std::string Folder = "D:\\Другая папка", Product = Folder + "\\Varkelo";
const std::string Uninstaller = Product + "\\uninstall.exe", Caption = "Удаление программы";

// The record an uninstaller carries at its end, as anyone can change it: its text (a line per
// item, "<kind>\t<path>"), written back with its size and CRC-32 made to fit.
const std::string RecordMagic = "OMBRELUN";
bool AddToRecord(const std::string& uninstaller, const std::string& lines) {
  std::string bytes = files::Read(uninstaller);
  const size_t at = bytes.rfind(RecordMagic);
  if (at == std::string::npos) return false;
  const std::string text = bytes.substr(at + 16) + lines;
  const uint32_t size = uint32_t(text.size()), crc = Crc32(text.data(), text.size());
  bytes.resize(at + 8);
  bytes.append(reinterpret_cast<const char*>(&size), 4).append(reinterpret_cast<const char*>(&crc), 4);
  return files::Write(uninstaller, bytes + text);
}

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
      runs = files::Narrow(process.szExeFile) == "Sorvanta-uninstall.exe";
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
  EXPECT_EQ((std::map<std::string, std::string>{{"DisplayName", "Сорванта v2.1"}, {"DisplayVersion", "2.1"},
                                                 {"InstallLocation", Product}, {"DisplayIcon", Product + "\\Zelcap2-1.exe"},
                                                 {"UninstallString", "\"" + Uninstaller + "\""},
                                                 {"QuietUninstallString", "\"" + Uninstaller + "\" /S"},
                                                 {"EstimatedSize", std::to_string((bytes + 1023) / 1024)},
                                                 {"NoModify", "1"}, {"NoRepair", "1"}}),
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
// of the user's in the product folder stays, and so does its folder; over an installation part of which
// is gone already, what is gone counts as removed. Installed twice, the second installation made no
// folder, yet its uninstaller removes those the first made. A second run from the product folder, over
// what is gone, is harmless.
TEST_F(Uninstall, QuietlyItLeavesNothingTheInstallationMadeButWhatIsNotItsOwn) {
  const struct {
    const char* Name;
    std::string Kept; // a file the installation did not make
    bool Again, Partial;
  } cases[] = {{"alone", "", false, false},
               {"with a file of the user's", "мои заметки.txt", false, false},
               {"installed twice", "", true, false},
               {"over a partial installation", "", false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    if (&c != cases) SetUp();
    ASSERT_TRUE(c.Kept.empty() || Place(Product + "\\" + c.Kept, "not its own"));
    ASSERT_TRUE(!c.Again || RunUnattended("/S /D=" + Folder).Code == 0u);
    ASSERT_TRUE(!c.Partial || (files::RemoveTree(Product + "\\Info") && DeleteFileW(files::Wide(Product + "\\pek.txt").c_str())));
    const std::string again = files::DosPath(files::UnixScratch("again") + ".exe");
    ASSERT_TRUE(CopyFileW(files::Wide(Uninstaller).c_str(), files::Wide(again).c_str(), FALSE));
    const TUnattendedRun run = RunUnattended("/S", Uninstaller);
    EXPECT_EQ(std::set<std::string>{}, run.Shown);
    EXPECT_EQ(0u, run.Code);
    ExpectRemoved(c.Kept);
    ASSERT_TRUE(MakeFolder(Product) && CopyFileW(files::Wide(again).c_str(), files::Wide(Uninstaller).c_str(), FALSE));
    EXPECT_EQ(0u, RunUnattended("/S", Uninstaller).Code);
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

// The names of files made straight in a folder from now on (not in folders below it).
class TFilesMade {
public:
  explicit TFilesMade(const std::string& folder)
      : Folder(CreateFileW(files::Wide(folder).c_str(), FILE_LIST_DIRECTORY,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr)) {
    Overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_TRUE(Folder != INVALID_HANDLE_VALUE && Watch()) << "cannot watch " << folder;
  }
  ~TFilesMade() {
    CancelIoEx(Folder, &Overlapped);
    DWORD ignored = 0;
    GetOverlappedResult(Folder, &Overlapped, &ignored, TRUE);
    CloseHandle(Folder);
    CloseHandle(Overlapped.hEvent);
  }
  // What the system has told so far; what comes between two reads it keeps.
  std::set<std::string> Names() {
    DWORD size = 0;
    while (WaitForSingleObject(Overlapped.hEvent, 0) == WAIT_OBJECT_0 &&
           GetOverlappedResult(Folder, &Overlapped, &size, FALSE)) {
      for (size_t at = 0; size && at < size;) {
        const auto* change = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(Buffer + at);
        if (change->Action == FILE_ACTION_ADDED || change->Action == FILE_ACTION_RENAMED_NEW_NAME)
          Made.insert(files::Narrow(std::wstring(change->FileName, change->FileNameLength / sizeof(wchar_t))));
        if (!change->NextEntryOffset) break;
        at += change->NextEntryOffset;
      }
      if (!Watch()) break;
    }
    return Made;
  }

private:
  bool Watch() {
    ResetEvent(Overlapped.hEvent);
    return ReadDirectoryChangesW(Folder, Buffer, sizeof Buffer, FALSE, FILE_NOTIFY_CHANGE_FILE_NAME, nullptr,
                                 &Overlapped, nullptr);
  }
  HANDLE Folder;
  OVERLAPPED Overlapped{};
  alignas(DWORD) BYTE Buffer[64 * 1024];
  std::set<std::string> Made;
};

// Whoever may write the temporary folder can plant anything under the names an uninstaller might
// use there. Every name the copy was once given (the process number, up to 8192), planted as a
// file or a folder, is left as it was; the copy lies in a new folder of its own, and no file at
// all is made straight in the temporary folder meanwhile.
TEST_F(Uninstall, NothingPlantedInTheTemporaryFolderIsTouchedAndNoFileOfItsOwnLiesThere) {
  const std::string temp = files::TempFolder(), unix = files::UnixPath(temp);
  ASSERT_FALSE(unix.empty());
  // Odd numbers files, even ones folders holding one: one mkdir, the rest the shell's own.
  const std::string plant = "cd '" + unix + "' && mkdir $(seq -f Sorvanta-uninstall-%g.exe 2 2 8192) && "
                            "for n in $(seq 1 8192); do if [ $((n % 2)) = 1 ]; then echo planted >Sorvanta-uninstall-$n.exe; "
                            "else echo planted >Sorvanta-uninstall-$n.exe/x; fi; done";
  ASSERT_EQ(0, files::RunUnix(plant, 120000).first);
  const files::TTree before = files::Tree(temp);
  const auto copies = [&](const files::TTree& tree) { // new folders of the temporary folder holding the copy
    std::set<std::string> found;
    for (const auto& entry : tree)
      if (!before.count(entry.first) && entry.first.size() > 23 &&
          entry.first.compare(entry.first.size() - 23, 23, "\\Sorvanta-uninstall.exe") == 0)
        found.insert(entry.first.substr(0, entry.first.size() - 23));
    return found;
  };
  TFilesMade made(temp);
  const TUnattendedRun run = RunUnattended("/S", Uninstaller);
  EXPECT_EQ(0u, run.Code);
  ExpectRemoved();
  EXPECT_EQ(std::set<std::string>{}, made.Names()) << "made straight in the temporary folder";
  const files::TTree after = files::Tree(temp);
  size_t kept = 0;
  for (const auto& entry : before)
    if (entry.first.rfind("Sorvanta-uninstall-", 0) == 0) kept += after.count(entry.first) && after.at(entry.first) == entry.second;
  EXPECT_EQ(8192u + 4096u, kept) << "planted files, folders and the files in them, as they were";
  const std::set<std::string> folders = copies(after);
  ASSERT_EQ(1u, folders.size()) << "one folder of its own";
  EXPECT_EQ(41u, folders.begin()->size()) << *folders.begin() << ": Sorvanta- and 32 random hexadecimal digits";
  files::RunUnix("cd '" + unix + "' && rm -rf Sorvanta-*");
}

// A record anyone changed to name what is not the product's, its digest fixed: each of those stays
// and is said, in the log with /S, as what was not removed and why; all of the product goes.
TEST_F(Uninstall, ARecordThatNamesMoreRemovesOnlyTheProductAndSaysWhatItKept) {
  const std::string victims = "C:\\ombrel-victims", climbed = "D:\\ombrel-climbed.txt";
  files::RemoveTree(victims);
  ASSERT_TRUE(Place(victims + "\\keep.txt", "mine") && MakeFolder(victims + "\\empty") && Place(climbed, "mine too"));
  const std::string named[] = {victims + "\\keep.txt", victims + "\\empty", victims, Product + "\\..\\..\\ombrel-climbed.txt"};
  ASSERT_TRUE(AddToRecord(Uninstaller, "file\t" + named[0] + "\ndir\t" + named[1] + "\ndir\t" + named[2] + "\nfile\t" +
                                           named[3] + "\n"));
  const std::string log = files::DosPath(files::UnixScratch("removed") + ".log");
  const TUnattendedRun run = RunUnattended("/S /LOG=" + log, Uninstaller);
  EXPECT_EQ(1u, run.Code);
  ExpectRemoved();
  EXPECT_EQ("mine", files::Read(victims + "\\keep.txt"));
  EXPECT_TRUE(files::IsFolder(victims + "\\empty"));
  EXPECT_EQ("mine too", files::Read(climbed));
  std::vector<std::string> expected = {"Удалено не всё: " + Product};
  for (auto name = std::rbegin(named); name != std::rend(named); ++name) // files first, each the last made first
    if (files::IsFile(*name)) expected.push_back("Не удалено: " + *name + ": " + texts::NotGoverned);
  for (const std::string& name : named)
    if (files::IsFolder(name)) expected.push_back("Не удалено: " + name + ": " + texts::NotGoverned);
  EXPECT_EQ(expected, LogLines(log));
  files::RemoveTree(victims);
  DeleteFileA(climbed.c_str());
  DeleteFileA(log.c_str());
}

// Two installations and their uninstallers. An uninstaller planted in a product folder before an
// installation there (its record naming a folder in it) is not taken for an earlier installation's:
// its folder is not removed with the product. And that older installation removed, the newer one's
// entry and shortcut, which name the newer folder, stay.
TEST_F(Uninstall, AnUninstallerPlantedBeforeIsNotTakenUpAndAnOlderOneLeavesTheLiveEntryAndShortcut) {
  const std::string live = "D:\\ombrel-live", liveProduct = live + "\\Varkelo", planted = liveProduct + "\\planted";
  files::RemoveTree(live);
  ASSERT_TRUE(MakeFolder(planted) && CopyFileW(files::Wide(Uninstaller).c_str(),
                                               files::Wide(liveProduct + "\\uninstall.exe").c_str(), FALSE));
  ASSERT_TRUE(AddToRecord(liveProduct + "\\uninstall.exe", "dir\t" + planted + "\n"));
  ASSERT_EQ(0u, RunUnattended("/S /D=" + live).Code);
  const auto entry = UninstallEntry();
  EXPECT_EQ(liveProduct, entry.at("InstallLocation"));
  EXPECT_EQ(0u, RunUnattended("/S", Uninstaller).Code) << "the older installation";
  EXPECT_TRUE(WaitUntil([] { return !CopyRuns(); }));
  EXPECT_FALSE(files::IsFolder(Folder));
  EXPECT_EQ(entry, UninstallEntry());
  EXPECT_EQ(liveProduct + "\\Zelcap2-1.exe", files::ReadLink(Link()).Path);
  EXPECT_EQ(0u, RunUnattended("/S", liveProduct + "\\uninstall.exe").Code);
  EXPECT_TRUE(WaitUntil([] { return !CopyRuns(); }));
  EXPECT_EQ(std::vector<std::string>{"planted\\"}, files::Changes({}, files::Tree(liveProduct)));
  EXPECT_FALSE(files::IsFile(Link()));
  files::RemoveTree(live);
}

// A link where the product goes, made by whoever could write there, leads elsewhere: nothing is
// written through it (the product folder or a folder in it: with /S then nothing at all), nor removed through it (a folder of an
// installation swapped for a link to where copies of its files lie). Each is said with the reason.
TEST_F(Uninstall, NothingIsWrittenOrRemovedThroughALink) {
  const std::string drive = files::Env("OMBREL_DRIVE_D"), elsewhere = drive + "/ombrel-elsewhere";
  const std::string log = files::DosPath(files::UnixScratch("links") + ".log");
  const struct {
    const char* Name;
    std::string Folder, Link; // the folder installed into, the link below D:
    std::string Refused;      // as the log names it
  } installs[] = {{"the product folder", "D:\\ombrel-linked", "ombrel-linked/Varkelo", "D:\\ombrel-linked\\Varkelo"},
                  {"a folder in it", "D:\\ombrel-sub", "ombrel-sub/Varkelo/Help", "D:\\ombrel-sub\\Varkelo\\Help"}};
  for (const auto& c : installs) { // /S: all or nothing, so nothing at all
    SCOPED_TRACE(c.Name);
    const std::string at = drive + "/" + c.Link;
    ASSERT_EQ(0, files::RunUnix("rm -rf " + elsewhere + " && mkdir -p " + elsewhere + " $(dirname " + at + ") && ln -s " +
                                elsewhere + " " + at).first);
    const files::TTree before = files::Tree(c.Folder);
    const TUnattendedRun run = RunUnattended("/S /LOG=" + log + " /D=" + c.Folder);
    EXPECT_EQ(1603u, run.Code);
    EXPECT_TRUE(files::Tree(files::DosPath(elsewhere)).empty()) << "written through the link";
    EXPECT_EQ(before, files::Tree(c.Folder));
    const std::vector<std::string> lines = LogLines(log);
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "Не записано: " + c.Refused + ": " + texts::LinkRefused))
        << c.Refused;
    EXPECT_EQ(Product, UninstallEntry()["InstallLocation"]) << "the entry is the one installation's still";
    files::RunUnix("rm -f " + at);
    files::RemoveTree(c.Folder);
  }
  // The fixture's installation, its Info folder moved away and a link to it in its place.
  ASSERT_TRUE(files::RunUnix("rm -rf " + elsewhere + " && mv '" + files::UnixPath(Product + "\\Info") + "' " + elsewhere +
                             " && ln -s " + elsewhere + " '" + files::UnixPath(Product) + "/Info'").first == 0);
  const files::TTree moved = files::Tree(files::DosPath(elsewhere));
  ASSERT_EQ(23u, moved.size());
  EXPECT_EQ(1u, RunUnattended("/S /LOG=" + log, Uninstaller).Code);
  EXPECT_TRUE(WaitUntil([] { return !CopyRuns(); }));
  EXPECT_EQ(moved, files::Tree(files::DosPath(elsewhere))) << "removed through the link";
  const std::vector<std::string> lines = LogLines(log);
  for (const auto& entry : moved)
    EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(),
                                     "Не удалено: " + Product + "\\Info\\" + entry.first + ": " + texts::LinkRefused))
        << entry.first;
  EXPECT_EQ(24u, lines.size()) << "the head and the 23 files";
  files::RunUnix("rm -rf " + elsewhere + " '" + files::UnixPath(Product) + "/Info'");
  DeleteFileA(log.c_str());
}

// A deployment tool waits for the uninstaller, then at once installs again into the same folder: the
// uninstaller's copy, still removing the uninstaller's own file, never touches the new installation,
// which is whole each time, with its uninstaller and its entry. One started while the uninstaller still
// shows its last box waits for it and its copy instead of giving up.
TEST_F(Uninstall, AnInstallationRightAfterTheUninstallerEndsIsWhole) {
  { // One started while the uninstaller's last box is up, its copy ready: it waits, then installs.
    TProcess p(Uninstaller);
    ASSERT_TRUE(p.Start() && p.Press(p.WaitBox(Caption), IDYES));
    HWND done = p.WaitBox(Caption);
    ASSERT_TRUE(done);
    TProcess next(OMBREL_EXE);
    ASSERT_TRUE(next.Start("/S /D=" + Folder));
    // Given the time to start and give up, had it not waited: it has not ended.
    EXPECT_FALSE(WaitUntil([&] { return !next.IsRunning(); }, 10000)) << "ended while the uninstaller ran";
    EXPECT_TRUE(p.Press(done, IDOK) && p.WaitExit() == 0u);
    EXPECT_EQ(0u, next.WaitExit(60000)) << "1618: it gave up while the uninstaller ran";
  }
  for (int round = 0; round <= 10; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(round == 0 || (RunUnattended("/S", Uninstaller).Code == 0u && RunUnattended("/S /D=" + Folder).Code == 0u));
    EXPECT_TRUE(WaitUntil([] { return !CopyRuns(); }));
    EXPECT_TRUE(files::IsFile(Uninstaller));
    EXPECT_EQ(Product, UninstallEntry()["InstallLocation"]);
    EXPECT_EQ(43u, files::Tree(Product).size()) << "38 files, dir.ini, uninstall.exe and the 3 folders";
  }
}

} // namespace
