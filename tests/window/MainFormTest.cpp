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
  EXPECT_TRUE(form->OwnsApplication);
  HWND hwnd = form->Control->GetHandle();
  EXPECT_EQ(ClassOf(hwnd), "Form");
  char text[16] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  EXPECT_STREQ(text, "Form");
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
  form->outShow = MakePointLink<&TRecorder::inValue>(0, &shown);
  form->Init();
  HWND hwnd = form->Control->GetHandle();
  EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_MAXIMIZEBOX);
  form->Start();
  EXPECT_EQ(menu.LastHandle, reinterpret_cast<uintptr_t>(hwnd));
  ShowApplicationWindows(ApplicationWindow);
  ProcessMessages();
  EXPECT_TRUE(IsWindowVisible(hwnd));
  RECT r;
  GetWindowRect(hwnd, &r);
  EXPECT_EQ(r.right - r.left, 440);
  EXPECT_EQ(r.bottom - r.top, 351);
  EXPECT_EQ(r.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 220);
  EXPECT_EQ(r.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 175);
  auto style = DWORD(GetWindowLongPtrA(hwnd, GWL_STYLE));
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), DWORD(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  char text[16] = {};
  GetWindowTextA(hwnd, text, sizeof(text));
  EXPECT_STREQ(text, "Setup");
  HWND app = GetWindow(hwnd, GW_OWNER);
  GetWindowTextA(app, text, sizeof(text));
  EXPECT_STREQ(text, "Setup") << "the application window carries the caption too";
  // The application window follows the form's position and width but has no
  // height: only its taskbar button shows.
  RECT a;
  GetWindowRect(app, &a);
  EXPECT_EQ(a.left, r.left);
  EXPECT_EQ(a.top, r.top);
  EXPECT_EQ(a.right - a.left, 440);
  EXPECT_EQ(a.bottom - a.top, 0);
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
  SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) & ~LONG_PTR(WS_MAXIMIZEBOX));
  LONG_PTR before = GetWindowLongPtrA(hwnd, GWL_STYLE);
  TData handle = IntegerData(int32_t(reinterpret_cast<intptr_t>(hwnd)));
  menu.inHideMaximize(handle, 2);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWL_STYLE), before);
  EXPECT_EQ(menu.SavedStyle, int32_t(before));
}

TEST_F(MainForm, OutCreateFiresOnlyOnceTheDispatcherIsLive) {
  auto form = MakeMainForm();
  TRecorder created;
  form->outCreate = MakePointLink<&TRecorder::inValue>(0, &created);
  form->Init();
  FireNull(form->outCreate); // before Start: lost
  EXPECT_TRUE(created.Values.empty());
  form->Start();
  EXPECT_EQ(created.Values.size(), 1u);
  EXPECT_TRUE(DispatchIsLive());
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
  form->getBlockClose = MakePointLink<&TRecorder::varValue>(0, &block);
  form->outClose = MakePointLink<&TRecorder::inValue>(0, &closed);
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
  form->outClose = MakePointLink<&TRecorder::inValue>(0, &closed);
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

TEST_F(MainForm, TaskbarHiddenAndIconReachTheApplicationWindow) {
  auto form = MakeMainForm();
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  form->SetIcon(CopyIcon(icon));
  form->SetTaskbarHidden(1);
  form->Init();
  form->Start();
  HWND hwnd = form->Control->GetHandle();
  HWND app = GetWindow(hwnd, GW_OWNER);
  EXPECT_TRUE(form->IconSet);
  EXPECT_NE(SendMessageA(hwnd, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(app, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_EQ(DWORD(GetWindowLongPtrA(app, GWL_EXSTYLE)) & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW),
            DWORD(WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME));
}

} // namespace
