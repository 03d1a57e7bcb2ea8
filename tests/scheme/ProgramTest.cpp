// The installer program started as a person would start it, worked only
// through its windows.
#include <gtest/gtest.h>

#include "InstallerProcess.h"

using namespace driver;

namespace {

// "Установка программы Сорванта"
const std::string MainCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
    "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0";
const std::string InfoCaption = "Ombrel Info";
const std::string InfoText = "\xD1\xE4\xE5\xEB\xE0\xED\xEE \xE2 Ombrel."; // "Сделано в Ombrel."

// The wizard started with the given arguments: its main window as a person
// sees it, and that no info box came instead.
HWND StartWizard(TInstallerProcess& p, const std::string& args) {
  if (!p.Start(args)) return nullptr;
  HWND main = p.MainWindow(MainCaption);
  if (!main) return nullptr;
  for (HWND w : p.VisibleWindows()) EXPECT_NE(InfoCaption, WindowText(w));
  return main;
}

TEST(Program, MainWindowCentredFixedSizeWithoutMaximizeBox) {
  TInstallerProcess p(OMBREL_EXE);
  HWND main = StartWizard(p, "");
  ASSERT_NE(nullptr, main);
  EXPECT_EQ(MainCaption, WindowText(main));

  // Centred, not at the designed (64, 80): each half truncated on its own.
  const RECT r = WindowRect(main);
  EXPECT_EQ(440, r.right - r.left);
  EXPECT_EQ(351, r.bottom - r.top);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - 440 / 2, r.left);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) / 2 - 351 / 2, r.top);

  // The maximise box goes right after start; a fixed frame; minimise and
  // close stay.
  EXPECT_TRUE(WaitUntil([&] { return (WindowStyle(main) & WS_MAXIMIZEBOX) == 0; }));
  const LONG style = WindowStyle(main);
  EXPECT_EQ(0, style & WS_THICKFRAME);
  EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
  EXPECT_NE(0, style & WS_SYSMENU);
  EXPECT_NE(0, style & WS_MINIMIZEBOX);
  EXPECT_TRUE(IsShown(main));

  // One window for a person to see: the taskbar owner has no area.
  EXPECT_EQ(1u, p.VisibleWindows().size());
}

// The close box ends the program at once, without the cancel question.
TEST(Program, CloseBoxEndsWithExitCodeZero) {
  TInstallerProcess p(OMBREL_EXE);
  HWND main = StartWizard(p, "");
  ASSERT_NE(nullptr, main);
  CloseBox(main);
  EXPECT_EQ(std::optional<uint32_t>(0), p.WaitExit());
}

TEST(Program, InfoSwitchShowsOwnerlessOkBoxAndExits) {
  for (const char* args : {"/ih", "\"/ih\"", "/ih /other"}) {
    SCOPED_TRACE(args);
    TInstallerProcess p(OMBREL_EXE);
    ASSERT_TRUE(p.Start(args));
    HWND box = p.WaitMessageBox(InfoCaption);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(nullptr, Owner(box));
    EXPECT_EQ(InfoText, TInstallerProcess::MessageBoxText(box));
    EXPECT_FALSE(TInstallerProcess::MessageBoxHasIcon(box));
    // Only OK: no Cancel, Yes or No.
    EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
    for (int id : {IDCANCEL, IDYES, IDNO}) EXPECT_EQ(nullptr, GetDlgItem(box, id)) << id;
    // Nothing else was built: the box is all there is.
    EXPECT_EQ(std::vector<HWND>{box}, p.VisibleWindows());
    ASSERT_TRUE(p.PressButton(box, IDOK));
    EXPECT_EQ(std::optional<uint32_t>(0), p.WaitExit());
  }
}

// Only "/ih" exactly is the info switch; anything else starts the wizard.
TEST(Program, OtherArgumentsStartTheWizard) {
  for (const char* args : {"/IH", "/ih2", "/i", "x /ih"}) {
    SCOPED_TRACE(args);
    TInstallerProcess p(OMBREL_EXE);
    HWND main = StartWizard(p, args);
    ASSERT_NE(nullptr, main);
    CloseBox(main);
    EXPECT_EQ(std::optional<uint32_t>(0), p.WaitExit());
  }
}

} // namespace
