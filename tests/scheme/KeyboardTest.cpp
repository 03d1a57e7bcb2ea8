// The wizard's pages with the keyboard: Tab in reading order and round
// again, Space on a focused button, Page Down in the licence text. Keys go
// through the X server, as a keyboard delivers them.
#include <gtest/gtest.h>

#include "WizardRun.h"

#include <commctrl.h> // after windows.h

using namespace driver;

namespace {

// Enter on each page once its default button has the focus, as a person
// presses it once the page is there.
bool EnterTo(TWizardRun& w, EPage page) {
  if (!w.FocusOnDefault(texts::Next) || !w.Type("Return") || !w.WaitPage(EPage::wpLicence)) return false;
  if (page == EPage::wpLicence) return true;
  return w.FocusOnDefault(texts::Agree) && w.Type("Return") && w.WaitPage(EPage::wpFolder);
}

// Each key in turn, and where the focus is after it.
void ExpectFocusWalk(TWizardRun& w, const char* key, const std::vector<HWND>& walk) {
  for (HWND expected : walk) {
    ASSERT_NE(nullptr, expected);
    ASSERT_TRUE(w.Type(key));
    ASSERT_TRUE(w.Process.WaitFocus(expected));
  }
}

TEST(Keyboard, FolderPageTabsInReadingOrderAndSpaceOpensTheFolderDialog) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  ASSERT_TRUE(EnterTo(w, EPage::wpFolder));
  ASSERT_TRUE(w.FocusOnDefault(texts::Install));
  HWND browse = w.Button(texts::Browse), back = w.Button(texts::Back), install = w.Button(texts::Install),
       cancel = w.Button(texts::Cancel);
  // The disabled folder field is passed over.
  ExpectFocusWalk(w, "Tab", {cancel, browse, back, install, cancel});
  ExpectFocusWalk(w, "shift+Tab", {install, back, browse});
  EXPECT_EQ(BS_DEFPUSHBUTTON, WindowStyle(browse) & BS_TYPEMASK) << "a focused button is drawn as the default";
  EXPECT_EQ(BS_PUSHBUTTON, WindowStyle(install) & BS_TYPEMASK);

  // Space, and Enter too, press the focused button, not the default one.
  for (const char* key : {"space", "Return"}) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(w.Type(key));
    HWND dialog = w.Process.WaitDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(w.Main, Owner(dialog));
    ASSERT_TRUE(w.Process.WaitFocusIn(dialog));
    // Escape once the dialog has filled its tree.
    std::vector<HWND> trees = Controls(dialog, "SysTreeView32");
    ASSERT_EQ(1u, trees.size());
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(trees.front(), TVM_GETCOUNT, 0, 0) > 0; }));
    ASSERT_TRUE(w.Type("Escape")); // to the window that stays: the dialog goes on the press
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(w.Process.WaitFocus(browse));
  }
  EXPECT_EQ(ProgramFilesFolder(), WindowText(Controls(w.ShownFrame(), "Edit").front()));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

TEST(Keyboard, LicenceTextScrollsWithPageDownTabLeavesItAndBackTakesTheFocus) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  ASSERT_TRUE(EnterTo(w, EPage::wpLicence));
  ASSERT_TRUE(w.FocusOnDefault(texts::Agree));
  std::vector<HWND> memos = Controls(w.ShownFrame(), "Edit");
  ASSERT_EQ(1u, memos.size());
  HWND memo = memos.front(), back = w.Button(texts::Back);
  ExpectFocusWalk(w, "shift+Tab", {back, memo});
  const auto firstLine = [&] { return SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0); };
  ASSERT_EQ(0, firstLine());
  ASSERT_TRUE(w.Type("Next")); // Page Down
  EXPECT_TRUE(WaitUntil([&] { return firstLine() > 0; }));
  ExpectFocusWalk(w, "Tab", {back});
  // Back hides this page before the welcome page shows: the focus follows.
  ASSERT_TRUE(w.Type("Return"));
  ASSERT_TRUE(w.WaitPage(EPage::wpWelcome));
  EXPECT_TRUE(w.FocusOnDefault(texts::Next));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

} // namespace
