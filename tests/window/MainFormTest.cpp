// The main form: its window as the scheme sets it up, start-up, and the ways
// the message loop ends.
#include <gtest/gtest.h>

#include <memory>

#include "Container.h"
#include "TestSupport.h"
#include "omMainForm.h"
#include "omSysMenu.h"

namespace {

// The main scheme's settings of the form.
std::unique_ptr<TOMMainForm> MakeMainForm() {
  auto form = std::make_unique<TOMMainForm>();
  form->Left = 64;
  form->Top = 80;
  form->Width = 440;
  form->Height = 351;
  form->Color = int32_t(0xFF00000F);
  form->Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
  form->Opacity = 255;
  form->SetCaption("Setup");
  form->SetBorderStyle(1);
  form->Position = &ScreenCenterPosition;
  return form;
}

class MainForm : public ::testing::Test {
protected:
  void TearDown() override {
    StopDispatch();
    ResetTerminated();
  }
};

TEST_F(MainForm, BeforeInitTheFormShowsMsSansSerifMinus11) {
  auto form = std::make_unique<TOMMainForm>();
  HWND hwnd = form->Control->GetHandle();
  EXPECT_EQ(ClassOf(hwnd), "Form");
  EXPECT_EQ(TextOf(hwnd), "Form");
  LOGFONTA lf = FontOf(hwnd);
  EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(lf.lfHeight, -11);
  RunDeferredInits();
  form.reset();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(ApplicationWindow, nullptr);
}

TEST_F(MainForm, ShownCentredAt440x351WithoutSizingFrameOrMaximiseBox) {
  auto form = MakeMainForm();
  TOMSysMenu menu;
  menu.getHandle = MakePointLink<&TOMWin::varHandle>(0, form.get());
  form->outCreate = MakePointLink<&TOMSysMenu::inHideMaximize>(2, &menu);
  TRecorder shown;
  form->outShow = shown.In();
  form->Init();
  HWND hwnd = form->Control->GetHandle();
  EXPECT_TRUE(StyleOf(hwnd) & WS_MAXIMIZEBOX);
  form->Start();
  EXPECT_EQ(menu.LastHandle, reinterpret_cast<uintptr_t>(hwnd));
  ShowApplicationWindows(ApplicationWindow);
  ProcessMessages();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  const LONG left = GetSystemMetrics(SM_CXSCREEN) / 2 - 220, top = GetSystemMetrics(SM_CYSCREEN) / 2 - 175;
  EXPECT_EQ(Corners(RectOf(hwnd)), (std::vector<LONG>{left, top, left + 440, top + 351}));
  const DWORD frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX;
  EXPECT_EQ(StyleOf(hwnd) & frame, DWORD(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_EQ(TextOf(hwnd), "Setup");
  HWND app = GetWindow(hwnd, GW_OWNER);
  EXPECT_EQ(TextOf(app), "Setup") << "the application window carries the caption too";
  // The application window follows the form's position and width but has no
  // height: only its taskbar button shows.
  EXPECT_EQ(Corners(RectOf(app)), (std::vector<LONG>{left, top, left + 440, top}));
  // The client area is painted in the button face colour.
  Pump(hwnd);
  EXPECT_EQ(PixelAt(hwnd, 200, 150), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(FontOf(hwnd).lfHeight, 14);
  // outShow: each time the window goes from hidden to shown.
  EXPECT_EQ(shown.Values.size(), 1u);
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(shown.Values.size(), 1u);
  ShowWindow(hwnd, SW_HIDE);
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_EQ(shown.Values.size(), 2u);
  EXPECT_TRUE(form->FirstShowDone);
}

TEST_F(MainForm, SysMenuWithoutHandleDoesNothingAndAStyleWithoutTheBoxStaysAsItIs) {
  TOMSysMenu menu;
  TData zero = IntegerData(0);
  menu.inHideMaximize(zero, 2);
  EXPECT_EQ(menu.LastHandle, 0u);
  THostForm host;
  HWND hwnd = host.Form->GetHandle();
  SetWindowLongPtrA(hwnd, GWL_STYLE, LONG_PTR(StyleOf(hwnd) & ~DWORD(WS_MAXIMIZEBOX)));
  const DWORD before = StyleOf(hwnd);
  TData handle = IntegerData(int32_t(reinterpret_cast<intptr_t>(hwnd)));
  menu.inHideMaximize(handle, 2);
  EXPECT_EQ(StyleOf(hwnd), before);
  EXPECT_EQ(menu.SavedStyle, int32_t(before));
}

// Posts a probe behind the close request: it runs after the close was handled.
struct TProbe {
  TOMMainForm* Form = nullptr;
  bool Ran = false;
  bool VisibleAfterClose = false;
  bool TerminatedAfterClose = true;
  bool Hook(TWindowObject*, TMessage& m) {
    if (m.Msg != WM_APP + 7) return false;
    Ran = true;
    VisibleAfterClose = IsWindowVisible(Form->Control ? Form->Control->PeekHandle() : nullptr);
    TerminatedAfterClose = Terminated();
    TData none;
    Form->inClose(none, 0);
    return true;
  }
};

TEST_F(MainForm, BlockedCloseIsRefusedButInCloseStillEndsTheLoop) {
  auto form = MakeMainForm();
  TRecorder block, closed;
  block.Answer = IntegerData(1);
  form->getBlockClose = block.Var();
  form->outClose = closed.In();
  form->Init();
  form->Start();
  // A helper control of the form receives the probe.
  TWindowObject* probeWindow = CreateLabel(form->Control, "");
  TProbe probe;
  probe.Form = form.get();
  probeWindow->OnMessageHook = MakeHandler<&TProbe::Hook>(&probe);
  HWND hwnd = form->Control->GetHandle();
  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); // the close box
  PostMessageA(probeWindow->GetHandle(), WM_APP + 7, 0, 0);
  RunMessageLoop(ApplicationWindow);
  EXPECT_TRUE(probe.Ran);
  EXPECT_TRUE(probe.VisibleAfterClose) << "the close was refused";
  EXPECT_FALSE(probe.TerminatedAfterClose);
  EXPECT_TRUE(closed.Values.empty());
  EXPECT_TRUE(DispatchIsLive()) << "inClose ends the loop without a close";
  EXPECT_EQ(form->Control, nullptr) << "the loop freed the windows";
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(ApplicationWindow, nullptr);
  EXPECT_EQ(MainWindowHandle(), 0u);
}

TEST_F(MainForm, CloseBoxEndsTheLoopAtOnceAndMutesTheDispatcher) {
  auto form = MakeMainForm();
  TRecorder closed;
  form->outClose = closed.In();
  form->Init();
  form->Start();
  HWND hwnd = form->Control->GetHandle();
  PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  RunMessageLoop(ApplicationWindow);
  EXPECT_EQ(closed.Values.size(), 1u);
  EXPECT_FALSE(DispatchIsLive());
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(ApplicationWindow, nullptr);
  form.reset();
}

// Also: outCreate fires only once Start has made the dispatcher live.
TEST_F(MainForm, TaskbarHiddenAndIconReachTheApplicationWindowAndStartFiresOutCreate) {
  auto form = MakeMainForm();
  TRecorder created;
  form->outCreate = created.In();
  form->SetIcon(CopyIcon(LoadIcon(nullptr, IDI_APPLICATION)));
  form->SetTaskbarHidden(1);
  form->Init();
  FireNull(form->outCreate); // before Start: lost
  EXPECT_TRUE(created.Values.empty());
  form->Start();
  EXPECT_EQ(created.Values.size(), 1u);
  EXPECT_TRUE(DispatchIsLive());
  HWND hwnd = form->Control->GetHandle();
  HWND app = GetWindow(hwnd, GW_OWNER);
  EXPECT_TRUE(form->IconSet);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(app, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(ExStyleOf(app) & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW),
            DWORD(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
}

} // namespace
