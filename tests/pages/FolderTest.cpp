// The folder page: the folder field, the free-space line computed for the
// drive of the field's text, and what Install pulls.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include "Wizard.h"

#include <shlobj.h> // after windows.h

namespace {

const char* const ProgramFiles = "C:\\Program Files";

// "Выберите папку, в которую будет размещена папка \"Mirelta\" с устанавливаемой программой"
const char* const DialogTitle =
    "\xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xEF\xE0\xEF\xEA\xF3, \xE2 \xEA\xEE\xF2\xEE\xF0\xF3\xFE "
    "\xE1\xF3\xE4\xE5\xF2 \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE0 \xEF\xE0\xEF\xEA\xE0 \"Mirelta\" "
    "\xF1 \xF3\xF1\xF2\xE0\xED\xE0\xE2\xEB\xE8\xE2\xE0\xE5\xEC\xEE\xE9 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xEE\xE9";

// ------------------------------------------------ the system folder dialog
// (EnumWindows callbacks are stdcall in 32-bit code: a plain function.)
BOOL CALLBACK MatchOwnDialog(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(window) || !IsClass(window, "#32770") ||
      !FindWindowExA(window, nullptr, "SysTreeView32", nullptr))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

struct TDialogRun {
  bool Seen = false;
  bool OwnedByForm = false;
  bool ShowsTitle = false;
};

// Presses Browse while a second thread works the dialog: selects the folder,
// then presses button.
TDialogRun BrowseWith(TWizard& wizard, const char* folder, int button) {
  TDialogRun run;
  std::atomic<bool> returned{false};
  const HWND form = wizard.FormHandle;
  std::thread watcher([&run, &returned, folder, form, button] {
    HWND dialog = nullptr;
    for (int i = 0; i < 400 && !returned && !dialog; ++i) {
      EnumWindows(&MatchOwnDialog, reinterpret_cast<LPARAM>(&dialog));
      if (!dialog) Sleep(25);
    }
    if (!dialog) return;
    run.Seen = true;
    run.OwnedByForm = GetWindow(dialog, GW_OWNER) == form;
    run.ShowsTitle = FindDescendant(dialog, "Static", DialogTitle) != nullptr;
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder));
    Sleep(100);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  });
  HWND browse = FindDescendant(wizard.Frames[pgFolder], "Button", texts::Browse);
  if (browse) SendMessageA(browse, BM_CLICK, 0, 0); // returns when the dialog is closed
  returned = true;
  watcher.join();
  Pump();
  return run;
}

class FolderPage : public ::testing::Test {
protected:
  void SetUp() override {
    Field = FindChild(Wizard.Frames[pgFolder], "Edit");
    ASSERT_NE(Field, nullptr);
  }
  // The free-space line, found by its text once it has one.
  HWND FreeLine() const {
    const std::string prefix = texts::FreePrefix;
    return FindChild(Wizard.Frames[pgFolder], "Static",
                     [&](HWND w) { return WindowText(w).compare(0, prefix.size(), prefix) == 0; });
  }

  // Shows (or changes) something and checks the line against the disk's
  // figures read just before and just after: other programs write meanwhile.
  template <class F> void ExpectFreeSpaceLine(const std::string& root, F action, const char* what) {
    const int64_t before = ExpectedFreeMegabytes(root);
    action();
    const int64_t after = ExpectedFreeMegabytes(root);
    HWND line = FreeLine();
    ASSERT_NE(line, nullptr) << what;
    const std::string text = WindowText(line), prefix = texts::FreePrefix;
    ASSERT_GT(text.size(), prefix.size() + 3) << what;
    ASSERT_EQ(text.substr(text.size() - 3), " Mb") << what;
    const std::string digits = text.substr(prefix.size(), text.size() - prefix.size() - 3);
    ASSERT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << what << ": " << text;
    const int64_t shown = std::strtoll(digits.c_str(), nullptr, 10);
    EXPECT_GE(shown, std::min(before, after)) << what;
    EXPECT_LE(shown, std::max(before, after)) << what;
  }

  TWizard Wizard;
  HWND Field = nullptr;
};

TEST_F(FolderPage, FieldStartsAtProgramFilesDisabledInsideTheGroup) {
  EXPECT_EQ(WindowText(Field), ProgramFiles);
  EXPECT_FALSE(IsWindowEnabled(Field)) << "the folder changes only through Browse";
  ExpectRect(Field, 10, 20, 325, 21, "field");
  HWND group = GetParent(Field);
  EXPECT_TRUE(IsClass(group, "Button"));
  EXPECT_EQ(GetWindowLongPtrA(group, GWL_STYLE) & 0x0F, BS_GROUPBOX);
  ExpectRect(group, 5, 165, 430, 55, "group");
  HWND browse = FindDescendant(group, "Button", texts::Browse);
  ASSERT_NE(browse, nullptr);
  EXPECT_EQ(GetParent(browse), group);
  EXPECT_TRUE(IsWindowEnabled(browse));
}

// As it stands on screen with the program's common controls, coming from the
// licence page: the caption in the group's blue (a themed group box would take
// the theme's text colour), and the inside of the group in the group's colour.
TEST_F(FolderPage, GroupCaptionIsBlueAndItsInsideIsPainted) {
  Wizard.Hide(pgWelcome);
  Wizard.Show(pgLicence);
  SetForegroundWindow(Wizard.FormHandle);
  Pump();
  Wizard.Hide(pgLicence);
  Wizard.Show(pgFolder);
  Pump();
  HWND group = GetParent(Field);
  const TPixels pixels = CaptureWindow(group);
  ASSERT_GT(pixels.Height, 50);
  int blue = 0, dark = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < pixels.Width; ++x) {
      const COLORREF c = pixels.At(x, y);
      if (GetBValue(c) >= 0xC0 && GetRValue(c) < 0x60 && GetGValue(c) < 0x60) ++blue;
      else if (GetRValue(c) < 0x80 && GetGValue(c) < 0x80 && GetBValue(c) < 0x80) ++dark;
    }
  EXPECT_GT(blue, 40);
  EXPECT_EQ(dark, 0) << "caption text in another colour";
  // Between the field's bottom (41) and the frame, right of the field.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(pixels.At(200, 46), face);
  EXPECT_EQ(pixels.At(5, 30), face);
}

TEST_F(FolderPage, ShowingComputesTheFreeSpaceOfDriveCAfresh) {
  EXPECT_EQ(FreeLine(), nullptr) << "the line stays empty until the page is first shown";
  ExpectFreeSpaceLine("C:", [&] { Wizard.Show(pgFolder); }, "first show");
  EXPECT_GT(ExpectedFreeMegabytes("C:"), 0) << "drive C: reports free space";

  // Hidden and shown again, the line is computed again, not kept.
  Wizard.Hide(pgFolder);
  HWND line = FreeLine();
  ASSERT_NE(line, nullptr);
  SetWindowTextA(line, "stale");
  ExpectFreeSpaceLine("C:", [&] { Wizard.Show(pgFolder); }, "second show");
}

TEST_F(FolderPage, TheFieldsDriveLetterChoosesTheDriveAndInstallSendsTheFieldAsItStands) {
  Wizard.Show(pgFolder);
  ASSERT_EQ(GetDriveTypeA("Q:\\"), UINT(DRIVE_NO_ROOT_DIR)) << "this check needs Q: unmapped";

  // A change of the field's text goes drive letter -> drive memory -> line.
  SetWindowTextA(Field, "Q:\\Elsewhere");
  Pump();
  HWND line = FreeLine();
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(WindowText(line), std::string(texts::FreePrefix) + "0 Mb") << "no free space reported for Q:";

  ExpectFreeSpaceLine("C:", [&] { SetWindowTextA(Field, "C:\\Tools"); Pump(); }, "back on C:");

  Wizard.Click(pgFolder, texts::Install);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  EXPECT_EQ(Wizard.Events[0].Index, 0);
  EXPECT_EQ(Wizard.Events[0].Value.StrValue, "C:\\Tools") << "Install pulls the field's current text";
  TData remembered;
  Wizard.Pages[pgFolder]->varData(remembered, 0);
  EXPECT_EQ(remembered.StrValue, "C:\\Tools");

  // The remembered path is the one of the last Install, not the field's.
  SetWindowTextA(Field, "C:\\");
  Pump();
  Wizard.Pages[pgFolder]->varData(remembered, 0);
  EXPECT_EQ(remembered.StrValue, "C:\\Tools");
  Wizard.Show(pgFolder);
  Wizard.Click(pgFolder, texts::Install);
  ASSERT_EQ(Wizard.Events.size(), 2u);
  EXPECT_EQ(Wizard.Events[1].Value.StrValue, "C:\\") << "a drive root is sent as it stands";
}

TEST_F(FolderPage, BrowseOwnedByTheFormFillsTheFieldAndCancelChangesNothing) {
  Wizard.Show(pgFolder);
  TDialogRun run = BrowseWith(Wizard, "C:\\windows", IDOK);
  ASSERT_TRUE(run.Seen) << "Browse opens the folder dialog";
  EXPECT_TRUE(run.OwnedByForm);
  EXPECT_TRUE(run.ShowsTitle);
  EXPECT_EQ(lstrcmpiA(WindowText(Field).c_str(), "C:\\windows"), 0) << WindowText(Field);
  ExpectFreeSpaceLine("C:", [] {}, "after the choice");
  const std::string chosen = WindowText(Field);

  HWND line = FreeLine();
  ASSERT_NE(line, nullptr);
  SetWindowTextA(line, "untouched");
  run = BrowseWith(Wizard, "C:\\", IDCANCEL);
  EXPECT_TRUE(run.Seen);
  EXPECT_EQ(WindowText(Field), chosen) << "Cancel leaves the field";
  EXPECT_EQ(WindowText(line), "untouched") << "Cancel refreshes nothing";
}

} // namespace
