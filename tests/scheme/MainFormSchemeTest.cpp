// The root container in-process, through the entry's own sequence:
// build, Start, run the loop until the quit the wizard posts, free.
#include <gtest/gtest.h>

#include "Window.h"
#include "omMainForm_6E2E74C.h"

namespace {

TEST(MainFormScheme, NothingFiresBeforeStartAndTheMaximizeBoxGoesAtStart) {
  auto scheme = std::make_unique<TClassMainForm_6E2E74C>();
  ASSERT_NE(nullptr, scheme->MainForm->Control);
  const HWND form = scheme->MainForm->Control->GetHandle();

  // Built with dispatch muted: the system menu has not been asked yet.
  EXPECT_FALSE(DispatchIsLive());
  EXPECT_EQ(0u, scheme->SystemMenu->LastHandle);
  EXPECT_NE(0, GetWindowLongA(form, GWL_STYLE) & WS_MAXIMIZEBOX);

  // The program's icon ICON0 (linked into this test as into the program) is
  // on the form and on the taskbar window. Checked here because another
  // process cannot read a window's icon under Wine.
  EXPECT_NE(0, SendMessageA(form, WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(nullptr, ApplicationWindow);
  EXPECT_NE(0, SendMessageA(ApplicationWindow->GetHandle(), WM_GETICON, ICON_BIG, 0));

  scheme->MainForm->Start();
  EXPECT_TRUE(DispatchIsLive());
  EXPECT_EQ(reinterpret_cast<uintptr_t>(form), scheme->SystemMenu->LastHandle);
  EXPECT_EQ(0, GetWindowLongA(form, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_NE(0, GetWindowLongA(form, GWL_STYLE) & WS_MINIMIZEBOX);

  // The wizard's own way to end: inClose posts the quit message.
  TData value = IntegerData(1);
  scheme->MainForm->inClose(value, 3);
  RunMessageLoop(ApplicationWindow);
  EXPECT_TRUE(Terminated());
  EXPECT_EQ(nullptr, ApplicationWindow);
  EXPECT_FALSE(IsWindow(form));
  scheme.reset();
}

} // namespace
