// The driver against a fixture program whose behaviour is known.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include "InstallerProcess.h"

using namespace driver;

namespace {

const std::string FixtureCaption = "\xCE\xEA\xED\xEE \xEF\xF0\xEE\xE2\xE5\xF0\xEA\xE8"; // "Окно проверки"
const std::string QuestionText = "\xCF\xF0\xEE\xE4\xEE\xEB\xE6\xE8\xF2\xFC?";            // "Продолжить?"

TEST(DriverPaths, UnixPathBecomesZDrive) {
  EXPECT_EQ("Z:\\work\\main\\a.exe", DosPath("/work/main/a.exe"));
  EXPECT_EQ("C:\\x\\a.exe", DosPath("C:\\x\\a.exe"));
}

TEST(DriverTexts, Cp1251RoundTrip) {
  EXPECT_EQ(L"\x041E\x043A\x043D\x043E \x043F\x0440\x043E\x0432\x0435\x0440\x043A\x0438",
            Text1251ToWide(FixtureCaption));
  EXPECT_EQ(FixtureCaption, WideTo1251(Text1251ToWide(FixtureCaption)));
}

TEST(DriverProcess, OwnerlessBoxIsReadAnsweredAndExitCodeReturned) {
  TInstallerProcess p(DRIVER_FIXTURE_EXE);
  ASSERT_TRUE(p.Start("box"));
  HWND box = p.WaitMessageBox("Fixture box");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(nullptr, Owner(box));
  EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL)) << "an OK box has no Cancel";
  EXPECT_EQ("Fixture text", TInstallerProcess::MessageBoxText(box));
  EXPECT_FALSE(TInstallerProcess::MessageBoxHasIcon(box));
  ASSERT_TRUE(p.PressButton(box, IDOK));
  EXPECT_EQ(std::optional<uint32_t>(5), p.WaitExit());
}

// The visible window, its controls and frames, the screen where it stands,
// and a click that opens a modal box the driver must not block on.
TEST(DriverProcess, WindowControlsScreenPixelsAndModalBox) {
  TInstallerProcess p(DRIVER_FIXTURE_EXE);
  ASSERT_TRUE(p.Start("window"));
  HWND main = p.MainWindow(FixtureCaption);
  ASSERT_NE(nullptr, main);
  // The zero-size owner with the same caption is not what a person sees.
  EXPECT_EQ(1u, p.VisibleWindows().size());
  RECT r = WindowRect(main);
  EXPECT_EQ(300, r.right - r.left);
  EXPECT_EQ(200, r.bottom - r.top);
  EXPECT_TRUE(WindowStyle(main) & WS_THICKFRAME);

  HWND ask = p.FindControl(main, "button", "Ask");
  ASSERT_NE(nullptr, ask);
  HWND label = p.FindControl(main, "Static", "idle");
  ASSERT_NE(nullptr, label);
  EXPECT_TRUE(Controls(main, "Edit").empty());
  // Frames are the direct STATIC children; a shown button is found by its caption.
  EXPECT_EQ(std::vector<HWND>{label}, PageFrames(main));
  EXPECT_EQ(std::vector<HWND>{label}, VisibleFrames(main));
  EXPECT_EQ(ask, ShownButton(main, "Ask"));
  EXPECT_EQ(nullptr, ShownButton(main, "Other"));

  // The client area is button face below the controls; the capture reads
  // bottom-up rows of blue, green, red.
  Sleep(300); // painted
  POINT at{150, 120};
  ClientToScreen(main, &at);
  const std::vector<uint8_t> pixels = CaptureScreenArea(RECT{at.x, at.y, at.x + 2, at.y + 2});
  ASSERT_EQ(2u * 8u, pixels.size()); // two rows of 6 bytes padded to 8
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(GetBValue(face), pixels[0]);
  EXPECT_EQ(GetGValue(face), pixels[1]);
  EXPECT_EQ(GetRValue(face), pixels[2]);
  EXPECT_TRUE(CaptureScreenArea(RECT{0, 0, 0, 5}).empty());

  Click(ask);
  HWND box = p.WaitMessageBox("Fixture question");
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(main, Owner(box));
  EXPECT_EQ(QuestionText, TInstallerProcess::MessageBoxText(box));
  EXPECT_TRUE(TInstallerProcess::MessageBoxHasIcon(box));
  ASSERT_TRUE(p.PressButton(box, IDNO));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == "no"; }));

  EXPECT_EQ(QuestionText, (Click(ask), p.AnswerMessageBox("Fixture question", IDYES)));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == "yes"; }));

  CloseBox(main);
  EXPECT_EQ(std::optional<uint32_t>(7), p.WaitExit());
}

// A program that does not react ends the waits with failures, in bounded
// time, and is killed by the driver when it goes out of scope.
TEST(DriverProcess, TimeoutsFailInsteadOfHanging) {
  DWORD id = 0;
  HANDLE process = nullptr;
  {
    TInstallerProcess p(DRIVER_FIXTURE_EXE);
    ASSERT_TRUE(p.Start("stubborn"));
    HWND main = p.MainWindow(FixtureCaption);
    ASSERT_NE(nullptr, main);
    id = p.ProcessId();
    process = OpenProcess(SYNCHRONIZE, FALSE, id);
    ASSERT_NE(nullptr, process);

    CloseBox(main);
    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(p.WaitExit(300).has_value()), "still running");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(nullptr, p.WaitMessageBox("Fixture question", 200)), "no message box");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(nullptr, p.FindControl(main, "Edit", "x", 200)), "no control");
    EXPECT_NONFATAL_FAILURE(EXPECT_EQ(nullptr, p.MainWindow("other", 200)), "no window");
    EXPECT_TRUE(p.IsRunning());
  }
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, 5000));
  CloseHandle(process);
}

} // namespace
