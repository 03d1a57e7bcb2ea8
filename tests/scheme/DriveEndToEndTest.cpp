// The folder page against a second real drive, end to end: the installer is
// started as a process of its own and worked only through its windows while
// drive D: is mapped (with-own-drive.sh), so the folder dialog lists it, the
// free-space line can be compared with what the system reports for it, and
// an installation into its root can be read back afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "Installed.h"
#include "WizardRun.h"

using namespace driver;

namespace {

// "Свободно: "
const std::string FreePrefix = "\xD1\xE2\xEE\xE1\xEE\xE4\xED\xEE: ";
const std::string FreeSuffix = " Mb";
// "Необходимо места на диске: 2,87 Mb"
const std::string RequiredLine =
    "\xCD\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE \xEC\xE5\xF1\xF2\xE0 \xED\xE0 \xE4\xE8\xF1\xEA\xE5: 2,87 Mb";
const std::string Browse = "\xCE\xE1\xE7\xEE\xF0"; // "Обзор"

// Free megabytes of a drive as the folder page computes them: whole
// kilobyte-blocks of free clusters (free clusters / 1024) times the cluster
// size, then / 1024, in 64-bit arithmetic. The 32-bit cluster count of
// GetDiskFreeSpaceA saturates on huge drives; then the available bytes of
// GetDiskFreeSpaceExA, in clusters of the same size, are the true count.
// -1 when the system cannot tell.
int64_t FreeMegabytes(const std::string& root) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
    return -1;
  const uint64_t clusterBytes = uint64_t(sectorsPerCluster) * bytesPerSector;
  uint64_t clusters = freeClusters;
  ULARGE_INTEGER available{}, total{}, free{};
  if (clusterBytes && GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free))
    clusters = std::max<uint64_t>(clusters, available.QuadPart / clusterBytes);
  return int64_t((clusters / 1024) * sectorsPerCluster * bytesPerSector / 1024);
}

// The number in "Свободно: N Mb", or -1 when the line has another form.
int64_t FigureOf(const std::string& line) {
  if (line.size() <= FreePrefix.size() + FreeSuffix.size() || line.compare(0, FreePrefix.size(), FreePrefix) != 0 ||
      line.compare(line.size() - FreeSuffix.size(), FreeSuffix.size(), FreeSuffix) != 0)
    return -1;
  const std::string digits = line.substr(FreePrefix.size(), line.size() - FreePrefix.size() - FreeSuffix.size());
  if (digits.size() > 1 && digits[0] == '0') return -1;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return -1;
  return std::stoll(digits);
}

// What the folder page shows: its folder field and its two space lines.
struct TFolderPage {
  HWND Field = nullptr;
  HWND FreeLine = nullptr;
  HWND RequiredLine = nullptr;
};

TFolderPage ReadFolderPage(HWND frame) {
  TFolderPage page;
  std::vector<HWND> edits = Controls(frame, "Edit");
  EXPECT_EQ(1u, edits.size()) << "one folder field";
  if (edits.size() == 1) page.Field = edits.front();
  for (HWND label : Controls(frame, "Static")) {
    const std::string text = WindowText(label);
    if (text.compare(0, FreePrefix.size(), FreePrefix) == 0) page.FreeLine = label;
    if (text == RequiredLine) page.RequiredLine = label;
  }
  EXPECT_NE(nullptr, page.FreeLine) << "no free-space line";
  EXPECT_NE(nullptr, page.RequiredLine) << "no required-space line";
  return page;
}

// Runs show (which makes the page compute its figure) between two readings
// of the drive's free space, and checks the line against them. A drive that
// others write to may change between the readings; the figure shown must lie
// between them, and is exact when the drive stood still.
void ExpectFreeLine(const std::string& root, HWND line, int64_t before, int64_t after) {
  ASSERT_GE(before, 0) << "no free space reported for " << root;
  ASSERT_GE(after, 0) << "no free space reported for " << root;
  const std::string text = WindowText(line);
  const int64_t shown = FigureOf(text);
  EXPECT_GE(shown, std::min(before, after)) << root << ": \"" << text << "\", system " << before << ".." << after;
  EXPECT_LE(shown, std::max(before, after)) << root << ": \"" << text << "\", system " << before << ".." << after;
}

// The wizard driven to the folder page, with the drive's figure read just
// before and just after the page is shown.
struct TFolderRun {
  TWizardRun W;
  TFolderPage Page;
  int64_t Before = -1, After = -1;

  bool ToFolderPage() {
    if (!W.Press(texts::Agree)) return false;
    if (!W.WaitPage(EPage::wpFolder)) return false;
    Page = ReadFolderPage(W.ShownFrame());
    return Page.Field && Page.FreeLine;
  }
  bool Open() {
    if (!W.Start() || !W.Press(texts::Next) || !W.WaitPage(EPage::wpLicence)) return false;
    Before = FreeMegabytes("C:");
    const bool shown = ToFolderPage();
    After = FreeMegabytes("C:");
    return shown;
  }
  // Browse, the drive's root chosen in the dialog; true when the field shows it.
  bool BrowseToDriveRoot() {
    if (!W.Press(Browse)) return false;
    HWND dialog = W.Process.WaitDialog();
    if (!dialog) return false;
    EXPECT_EQ(W.Main, Owner(dialog)) << "the dialog is owned by the main window";
    Before = FreeMegabytes(DriveRoot());
    if (!W.Process.ChooseFolder(dialog, {"(" + DriveLetter() + ":)"})) return false;
    const bool chosen = WaitUntil([&] { return WindowText(Page.Field) == DriveRoot(); });
    After = FreeMegabytes(DriveRoot());
    EXPECT_TRUE(chosen) << "field: \"" << WindowText(Page.Field) << "\"";
    return chosen;
  }
};

// The first showing reads C:, Browse to D:'s root switches field and figure to
// D:, a cancelled Browse changes nothing, and a round trip to the licence
// page keeps both.
TEST(DriveFolderPage, ShowsTheChosenDriveRootAndItsFreeSpaceAndKeepsThem) {
  ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DriveRoot().c_str())) << DriveRoot() << " is not mapped";
  const int64_t cFigure = FreeMegabytes("C:"), driveFigure = FreeMegabytes(DriveRoot());
  // On a file system of its own the drive's figure cannot be taken for C:'s.
  if (std::getenv("OMBREL_OWN_DRIVE")) {
    ASSERT_NE(cFigure, driveFigure);
  }

  TFolderRun run;
  ASSERT_TRUE(run.Open());
  EXPECT_EQ(ProgramFilesFolder(), WindowText(run.Page.Field));
  ExpectFreeLine("C:", run.Page.FreeLine, run.Before, run.After);
  EXPECT_TRUE(Screenshot(run.W.Main, "drive-1-folder-c"));

  ASSERT_TRUE(run.BrowseToDriveRoot());
  EXPECT_EQ(EPage::wpFolder, run.W.Page());
  // The drive memory goes back to C before it takes the new letter, so wait
  // for the line to settle on the new drive's figure.
  WaitUntil([&] { return FigureOf(WindowText(run.Page.FreeLine)) == run.After; }, 3000);
  ExpectFreeLine(DriveRoot(), run.Page.FreeLine, run.Before, run.After);
  EXPECT_EQ(RequiredLine, WindowText(run.Page.RequiredLine));
  EXPECT_TRUE(Screenshot(run.W.Main, "drive-2-folder-d"));

  // Browse again and Cancel: the drive and its figure stay.
  const std::string line = WindowText(run.Page.FreeLine);
  ASSERT_TRUE(run.W.Press(Browse));
  HWND dialog = run.W.Process.WaitDialog();
  ASSERT_NE(nullptr, dialog);
  ASSERT_TRUE(run.W.Process.PressButton(dialog, IDCANCEL));
  EXPECT_EQ(DriveRoot(), WindowText(run.Page.Field));
  EXPECT_EQ(line, WindowText(run.Page.FreeLine));

  // Back to the licence, Agree again: the page is shown anew and recomputes
  // for the remembered drive, not for C:.
  ASSERT_TRUE(run.W.Press(texts::Back));
  ASSERT_TRUE(run.W.WaitPage(EPage::wpLicence));
  run.Before = FreeMegabytes(DriveRoot());
  ASSERT_TRUE(run.ToFolderPage());
  run.After = FreeMegabytes(DriveRoot());
  EXPECT_EQ(DriveRoot(), WindowText(run.Page.Field));
  ExpectFreeLine(DriveRoot(), run.Page.FreeLine, run.Before, run.After);
  EXPECT_EQ(RequiredLine, WindowText(run.Page.RequiredLine));

  // Cancel, Yes: the program ends without having written to the drive.
  ASSERT_TRUE(run.W.Press(texts::Cancel));
  ASSERT_TRUE(run.W.Process.AnswerMessageBox(texts::QuestionCaption, IDYES).has_value());
  EXPECT_EQ(std::optional<uint32_t>(0), run.W.Process.WaitExit());
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((DriveRoot() + "Varkelo").c_str()));
}

// The product folder on the drive and the desktop shortcut are gone before
// and after each test, so what is found is what this run wrote.
class DriveInstall : public ::testing::Test {
protected:
  const std::string Product = DriveRoot() + "Varkelo";
  const std::string LinkPath = UserDesktopFolder() + "\\" + ShortcutName();
  void SetUp() override {
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DriveRoot().c_str())) << DriveRoot() << " is not mapped";
    Clean();
  }
  void TearDown() override { Clean(); }
  // Wine may still hold a fresh shortcut or program file open for a moment.
  void Clean() {
    const bool gone = WaitUntil([&] {
      DeleteFileW(Text1251ToWide(LinkPath).c_str());
      return RemoveTree(Product) && GetFileAttributesW(Text1251ToWide(LinkPath).c_str()) == INVALID_FILE_ATTRIBUTES;
    });
    EXPECT_TRUE(gone) << "cannot remove " << Product << " or the shortcut";
  }
};

// Install into the drive's root, over an older installation whose files are
// longer and whose record holds more than the location: every file ends up
// with exactly its new length, the record keeps the rest and names the
// product folder with the doubled backslash the root's "D:\" gives.
TEST_F(DriveInstall, InstallsIntoTheDriveRootOverAnOlderInstallation) {
  const std::vector<TPayloadItem> items = InstalledItems();
  ASSERT_EQ(38u, items.size()) << "34 texts, 3 pictures and the program file";

  // The older installation: every file 1000 bytes longer than the new one.
  ASSERT_TRUE(CreateDirectoryA(Product.c_str(), nullptr));
  for (const char* sub : {"Help", "Info", "img"})
    ASSERT_TRUE(CreateDirectoryA((Product + "\\" + sub).c_str(), nullptr)) << sub;
  for (const TPayloadItem& item : items)
    ASSERT_TRUE(WriteBytes(Product + "\\" + item.Target, std::string(InstalledSize(item) + 1000, 'x'))) << item.Target;
  const std::string record = Product + "\\dir.ini";
  ASSERT_TRUE(WriteBytes(record, "[setup]\r\nlang=ru\r\n[info]\r\nversion=2.0\r\ndir=C:\\Old\\Varkelo\\\r\n"));

  TFolderRun run;
  ASSERT_TRUE(run.Open());
  ASSERT_TRUE(run.BrowseToDriveRoot());
  ASSERT_TRUE(run.W.Press(texts::Install));
  ASSERT_TRUE(run.W.WaitPage(EPage::wpFinish, 60000));
  EXPECT_EQ(1u, VisibleFrames(run.W.Main).size()) << "only the finish page";

  // The record is written after the finish page is switched on, within the
  // same Install press; wait for it rather than race it.
  const std::string expectedDir = DriveRoot() + "\\Varkelo\\"; // D:\\Varkelo\ .
  char dir[MAX_PATH + 1] = {};
  WaitUntil([&] {
    GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, record.c_str());
    return expectedDir == dir;
  });
  EXPECT_EQ(expectedDir, std::string(dir));
  const std::string recordText = ReadBytes(record);
  EXPECT_NE(std::string::npos, recordText.find("dir=" + expectedDir)) << recordText;
  EXPECT_EQ(std::string::npos, recordText.find("C:\\Old")) << "the old location is replaced";
  char kept[64] = {};
  GetPrivateProfileStringA("info", "version", "", kept, sizeof kept, record.c_str());
  EXPECT_EQ("2.0", std::string(kept)) << recordText;
  GetPrivateProfileStringA("setup", "lang", "", kept, sizeof kept, record.c_str());
  EXPECT_EQ("ru", std::string(kept)) << recordText;

  // Every file at its new length, with nothing of the old bytes left.
  for (const TPayloadItem& item : items) {
    SCOPED_TRACE(item.Target);
    const std::string written = ReadBytes(Product + "\\" + item.Target);
    EXPECT_EQ(InstalledSize(item), written.size());
    EXPECT_NE(std::string(16, 'x'), written.substr(written.size() >= 16 ? written.size() - 16 : 0));
  }
  EXPECT_EQ(1606656u, ReadBytes(Product + "\\Zelcap2-1.exe").size());
  EXPECT_EQ("MZ", ReadBytes(Product + "\\Zelcap2-1.exe").substr(0, 2));

  // Nothing besides the payload and the record, and nothing under C:.
  size_t files = 0;
  for (const auto& entry : TreeState(Product))
    if (entry.first.back() != '\\') ++files;
  EXPECT_EQ(items.size() + 1, files);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((ProgramFilesFolder() + "\\Varkelo").c_str()));
  EXPECT_TRUE(WaitUntil([&] { return FileOnDisk(LinkPath); })) << "the desktop shortcut";

  EXPECT_TRUE(Screenshot(run.W.Main, "drive-3-finish"));
  ASSERT_TRUE(run.W.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), run.W.Process.WaitExit());
}

} // namespace
