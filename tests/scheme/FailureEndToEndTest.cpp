// An installation that cannot write everything, end to end on drive M:
// (with-own-drive.sh): a file stands where the help folder must go. The
// installer says so — a warning box over the finish page that counts the
// failures and names them with the system's words, and a finish text that
// the installation did not complete — while it still writes everything else
// and ends normally on Done. A clean run beside it shows neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "WizardRun.h"

using namespace driver;

namespace {

const std::string Browse = "\xCE\xE1\xE7\xEE\xF0"; // "Обзор"
// "   Установка успешно выполнена!\r\n\r\n   Нажмите кнопку \"Готово\",  для выхода\r\n   из программы установки!"
const std::string SuccessText =
    "   \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xF3\xF1\xEF\xE5\xF8\xED\xEE \xE2\xFB\xEF\xEE\xEB\xED\xE5\xED\xE0!\r\n"
    "\r\n"
    "   \xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xEA\xED\xEE\xEF\xEA\xF3 \"\xC3\xEE\xF2\xEE\xE2\xEE\",  \xE4\xEB\xFF \xE2\xFB\xF5\xEE\xE4\xE0\r\n"
    "   \xE8\xE7 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8!";
// "   Установка не была завершена!\r\n\r\n   Часть файлов не удалось записать.\r\n..."
const std::string FailureText =
    "   \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xED\xE5 \xE1\xFB\xEB\xE0 "
    "\xE7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE0!\r\n"
    "\r\n"
    "   \xD7\xE0\xF1\xF2\xFC \xF4\xE0\xE9\xEB\xEE\xE2 \xED\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC "
    "\xE7\xE0\xEF\xE8\xF1\xE0\xF2\xFC.\r\n"
    "   \xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xEA\xED\xEE\xEF\xEA\xF3 \"\xC3\xEE\xF2\xEE\xE2\xEE\",  "
    "\xE4\xEB\xFF \xE2\xFB\xF5\xEE\xE4\xE0\r\n"
    "   \xE8\xE7 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8!";
// "Не удалось записать при установке: "
const std::string CountPrefix =
    "\xCD\xE5 \xF3\xE4\xE0\xEB\xEE\xF1\xFC \xE7\xE0\xEF\xE8\xF1\xE0\xF2\xFC "
    "\xEF\xF0\xE8 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE5: ";

std::string DriveLetter() {
  const char* letter = std::getenv("OMBREL_TEST_DRIVE");
  return letter && *letter ? std::string(1, letter[0]) : "M";
}
std::string DriveRoot() { return DriveLetter() + ":\\"; }

// The installed targets of the payload manifest (relative to the product folder).
std::vector<std::string> InstalledTargets() {
  std::vector<std::string> targets;
  std::ifstream in(DosPath(OMBREL_MANIFEST));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (!(fields >> name >> type >> file >> size >> format >> target) || target == "-") continue;
    targets.push_back(target);
  }
  return targets;
}

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Text1251ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The message boxes of the installer on screen.
std::vector<HWND> ShownBoxes(const TInstallerProcess& process) {
  std::vector<HWND> boxes;
  for (HWND window : process.VisibleWindows())
    if (WindowClass(window) == "#32770") boxes.push_back(window);
  return boxes;
}

// The texts of the finish frame's labels.
std::vector<std::string> FrameTexts(HWND frame) {
  std::vector<std::string> texts;
  for (HWND label : Controls(frame, "Static")) texts.push_back(WindowText(label));
  return texts;
}
bool Shows(const std::vector<std::string>& texts, const std::string& text) {
  for (const std::string& t : texts)
    if (t == text) return true;
  return false;
}

class FailureInstall : public ::testing::Test {
protected:
  const std::string Product = DriveRoot() + "Varkelo";
  const std::string LinkPath = UserDesktopFolder() + "\\" + ShortcutName();
  TWizardRun W;

  void SetUp() override {
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(DriveRoot().c_str())) << DriveRoot() << " is not mapped";
    Clean();
  }
  void TearDown() override { Clean(); }
  void Clean() {
    const bool gone = WaitUntil([&] {
      DeleteFileW(Text1251ToWide(LinkPath).c_str());
      return RemoveTree(Product) && GetFileAttributesW(Text1251ToWide(LinkPath).c_str()) == INVALID_FILE_ATTRIBUTES;
    });
    EXPECT_TRUE(gone) << "cannot remove " << Product << " or the shortcut";
  }

  // Welcome, licence, folder page, Browse to the drive's root, Install.
  bool InstallIntoDriveRoot() {
    if (!W.Start() || !W.Press(texts::Next) || !W.WaitPage(EPage::wpLicence)) return false;
    if (!W.Press(texts::Agree) || !W.WaitPage(EPage::wpFolder)) return false;
    std::vector<HWND> edits = Controls(W.ShownFrame(), "Edit");
    if (edits.size() != 1) return false;
    if (!W.Press(Browse)) return false;
    HWND dialog = W.Process.WaitDialog();
    if (!dialog || !W.Process.ChooseFolder(dialog, {"(" + DriveLetter() + ":)"})) return false;
    if (!WaitUntil([&] { return WindowText(edits.front()) == DriveRoot(); })) return false;
    return W.Press(texts::Install);
  }

  // The location record is the installation's last write.
  bool WaitForRecord() {
    const std::string expected = DriveRoot() + "\\Varkelo\\";
    return WaitUntil(
        [&] {
          char dir[MAX_PATH + 1] = {};
          GetPrivateProfileStringA("info", "dir", "", dir, sizeof dir, (Product + "\\dir.ini").c_str());
          return expected == dir;
        },
        60000);
  }
};

TEST_F(FailureInstall, AFileInPlaceOfTheHelpFolderIsReportedAndEverythingElseIsWritten) {
  const std::vector<std::string> targets = InstalledTargets();
  ASSERT_EQ(38u, targets.size());
  std::vector<std::string> help, others;
  for (const std::string& target : targets) (target.compare(0, 5, "Help\\") == 0 ? help : others).push_back(target);
  ASSERT_FALSE(help.empty());
  ASSERT_FALSE(others.empty());

  // A file named Help where the help folder must be made.
  ASSERT_TRUE(CreateDirectoryA(Product.c_str(), nullptr));
  {
    std::ofstream blocker(Product + "\\Help", std::ios::binary);
    blocker << "not a folder";
  }
  ASSERT_TRUE(IsFile(Product + "\\Help"));

  ASSERT_TRUE(InstallIntoDriveRoot());

  // The box comes over the finish page, owned by the main window.
  HWND box = W.Process.WaitMessageBox(texts::QuestionCaption, 60000);
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(W.Main, Owner(box));
  EXPECT_TRUE(TInstallerProcess::MessageBoxHasIcon(box));
  EXPECT_EQ(EPage::wpFinish, W.Page());
  EXPECT_TRUE(WaitForRecord()) << "the record is written before the report";
  const std::vector<std::string> finishTexts = FrameTexts(W.ShownFrame());
  EXPECT_TRUE(Shows(finishTexts, FailureText)) << "the finish page says the installation did not complete";
  EXPECT_FALSE(Shows(finishTexts, SuccessText));

  const std::string report = TInstallerProcess::MessageBoxText(box);
  // The count: at least every help page; and one item per line under it.
  const size_t countAt = report.find(CountPrefix);
  ASSERT_NE(std::string::npos, countAt) << report;
  const size_t count = std::strtoul(report.c_str() + countAt + CountPrefix.size(), nullptr, 10);
  EXPECT_GE(count, help.size()) << report;
  EXPECT_LE(count, help.size() + 1) << "the help pages and at most their folder: " << report;
  // The paths as the installer made them: the root's own backslash and the
  // one before the product folder both stay, as in the location record.
  const std::string namedProduct = DriveRoot() + "\\Varkelo";
  size_t named = 0;
  for (size_t at = report.find("\r\n" + namedProduct + "\\"); at != std::string::npos;
       at = report.find("\r\n" + namedProduct + "\\", at + 1)) {
    ++named;
    const std::string path = report.substr(at + 2, report.find("\r\n", at + 2) - at - 2);
    bool known = path == namedProduct + "\\Help";
    for (const std::string& target : help) known = known || path == namedProduct + "\\" + target;
    EXPECT_TRUE(known) << "only the help folder and its pages fail: " << path;
    // The system's message is on the line below the path.
    const size_t message = at + 2 + path.size() + 2;
    EXPECT_EQ("   ", report.substr(message, 3)) << path;
    EXPECT_GT(report.find("\r\n", message), message + 3) << "an empty message for " << path;
  }
  EXPECT_EQ(std::min<size_t>(count, 10), named) << report;
  EXPECT_TRUE(Screenshot(W.Main, "failure-1-report", box));

  ASSERT_TRUE(W.Process.PressButton(box, IDOK));
  EXPECT_TRUE(ShownBoxes(W.Process).empty());

  // Everything outside the help folder was written, the blocker left as it was.
  for (const std::string& target : others) EXPECT_TRUE(IsFile(Product + "\\" + target)) << target;
  EXPECT_TRUE(IsFile(Product + "\\Help"));
  EXPECT_TRUE(WaitUntil([&] { return IsFile(LinkPath); })) << "the desktop shortcut";

  EXPECT_EQ(EPage::wpFinish, W.Page());
  EXPECT_TRUE(Screenshot(W.Main, "failure-2-finish"));
  ASSERT_TRUE(W.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), W.Process.WaitExit());
}

TEST_F(FailureInstall, ACleanRunShowsNoBoxAndTheSuccessText) {
  ASSERT_TRUE(InstallIntoDriveRoot());
  ASSERT_TRUE(W.WaitPage(EPage::wpFinish, 60000));
  ASSERT_TRUE(WaitForRecord());
  // The check follows the record at once; give a box every chance to appear.
  Sleep(1000);
  EXPECT_TRUE(ShownBoxes(W.Process).empty());
  const std::vector<std::string> finishTexts = FrameTexts(W.ShownFrame());
  EXPECT_TRUE(Shows(finishTexts, SuccessText));
  EXPECT_FALSE(Shows(finishTexts, FailureText));
  ASSERT_TRUE(W.Press(texts::Done));
  EXPECT_EQ(std::optional<uint32_t>(0), W.Process.WaitExit());
}

} // namespace
