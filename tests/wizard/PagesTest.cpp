// The wizard's pages end to end: the window, the buttons, Cancel, Escape, the close box, the keyboard.
#include <gtest/gtest.h>

#include <functional>

#include "Wizard.h"

#include <commctrl.h> // after windows.h

using namespace driver;

namespace {

// On a system whose folder for programs is named otherwise, the folder page offers that one.
TEST(Wizard, NavigationAlwaysLeavesExactlyOnePage) {
  ASSERT_TRUE(MakeFolder("C:\\Programme")); // the system tells of a folder that is there, named as a German one
  const files::TRegistryText programme(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                                       L"ProgramFilesDir", "C:\\Programme");
  TWizard w;
  ASSERT_TRUE(w.Start());
  // Centred (each half truncated on its own), fixed size, no maximise box once started; alone.
  const RECT r = Rect(w.Main);
  const LONG x = GetSystemMetrics(SM_CXSCREEN) / 2 - 440 / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 351 / 2;
  EXPECT_EQ((std::vector<LONG>{x, y, x + 440, y + 351}), (std::vector<LONG>{r.left, r.top, r.right, r.bottom}));
  EXPECT_TRUE(WaitUntil([&] { return !(Style(w.Main) & WS_MAXIMIZEBOX); }));
  EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
            Style(w.Main) & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME));
  EXPECT_EQ(std::vector<HWND>{w.Main}, w.Process.Windows());
  EXPECT_TRUE(WaitUntil([&] { return w.Frames().size() == 4; })) << "the pages not reached, made while it waits";
  const std::vector<HWND> frames = w.Frames();
  const std::pair<const std::string&, EPage> round[] = {
      {texts::Next, EPage::Licence}, {texts::Back, EPage::Welcome}, {texts::Next, EPage::Licence},
      {texts::Agree, EPage::Folder}, {texts::Back, EPage::Licence}, // Back from the folder page: the licence
      {texts::Agree, EPage::Folder}, {texts::Back, EPage::Licence}, {texts::Back, EPage::Welcome}};
  for (int i = 0; i < 3; ++i)
    for (const auto& [button, after] : round) {
      SCOPED_TRACE(std::to_string(i) + ": " + Name(after));
      ASSERT_TRUE(w.PressTo(button, after) && RoundTrip(w.Main));
      EXPECT_EQ(after, w.Page()) << "still the one page once the click is handled";
      EXPECT_TRUE(after != EPage::Folder || Text(w.Field()) == "C:\\Programme") << Text(w.Field());
    }
  EXPECT_EQ(frames, w.Frames()) << "the frames are only shown and hidden, never made anew";
  EXPECT_TRUE(w.Close());
  files::RemoveTree("C:\\Programme");
}

// Cancel, or Escape, asks; No leaves the page as it was and usable, with the focus where it was.
void CancelThenNo(bool keys) {
  TWizard w;
  ASSERT_TRUE(w.Start());
  const std::string* before[] = {&texts::Cancel, &texts::Back, &texts::Back}; // Shift+Tab from the forward button
  for (int page = 0; page < 3; ++page) {
    SCOPED_TRACE(Name(EPage(page)));
    ASSERT_EQ(EPage(page), w.Page());
    HWND focus = nullptr; // with the keys, Shift+Tab takes it off the default button first
    ASSERT_TRUE(keys ? w.FocusOnDefault(Forward(EPage(page))) && w.Type("shift+Tab") &&
                           w.Process.WaitFocus(focus = w.Button(*before[page])) && w.Type("Escape")
                     : w.Press(texts::Cancel));
    HWND box = w.Process.WaitBox(texts::BoxCaption);
    ASSERT_TRUE(box);
    EXPECT_EQ(texts::Question, BoxText(box));
    EXPECT_EQ(w.Main, Owner(box));
    EXPECT_TRUE(BoxHasIcon(box) && GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO) && !GetDlgItem(box, IDOK));
    // Its Yes and No are the system's words, in the system's language.
    EXPECT_TRUE(page != 0 || keys || !RussianSystem() || LooksLike("question", w.Main, box));
    ASSERT_TRUE(keys ? w.Process.WaitFocusIn(box) && w.Type("Tab Return") && // from Yes to No
                           WaitUntil([&] { return !IsWindow(box); })
                     : w.Process.Press(box, IDNO));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.Main) != FALSE; }));
    EXPECT_EQ(EPage(page), w.Page());
    EXPECT_TRUE(!focus || w.Process.WaitFocus(focus));
    EXPECT_EQ(page == 2 ? ProgramFiles : "", page == 2 ? Text(w.Field()) : "") << "the offered folder, kept";
    ASSERT_TRUE(page < 2 ? w.PressTo(Forward(EPage(page)), EPage(page + 1)) : w.PressTo(texts::Back, EPage::Licence))
        << "still usable";
  }
  EXPECT_TRUE(w.Close());
}

TEST(Wizard, CancelThenNoKeepsEachPageAndItsState) { CancelThenNo(false); }
TEST(Keys, EscapeThenNoKeepsEachPageAndTheFocus) { CancelThenNo(true); }

// Nothing written on C:, the program folders and the desktop on it.
void EndFromEachPage(const std::function<void(TWizard&)>& end) {
  for (EPage page : {EPage::Welcome, EPage::Licence, EPage::Folder}) {
    SCOPED_TRACE(Name(page));
    const files::TTree before = files::Tree("C:");
    TWizard w;
    ASSERT_TRUE(w.Start() && w.GoTo(page));
    end(w);
    EXPECT_TRUE(w.Ends(0));
    EXPECT_EQ(std::vector<std::string>{}, files::Changes(before, files::Tree("C:")));
  }
}

TEST(Wizard, CancelThenYesOrTheCloseBoxEndWithoutWritingFromEachPage) {
  EndFromEachPage([](TWizard& w) {
    HWND box = w.Press(texts::Cancel) ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
    ASSERT_TRUE(box && w.Process.Press(box, IDYES));
  });
  EndFromEachPage([](TWizard& w) { CloseBox(w.Main); }); // at once, without the question
}

TEST(Keys, EscapeThenEnterEndsWithoutWritingFromEachPage) {
  EndFromEachPage([](TWizard& w) {
    HWND box = w.Process.WaitFocusIn(w.Main) && w.Type("Escape") ? w.Process.WaitBox(texts::BoxCaption) : nullptr;
    ASSERT_TRUE(box && w.Process.WaitFocusIn(box) && w.Type("Return"));
  });
}

// Each key in turn, and where the focus is after it.
void ExpectWalk(TWizard& w, const char* key, const std::vector<HWND>& walk) {
  for (HWND expected : walk) ASSERT_TRUE(expected && w.Type(key) && w.Process.WaitFocus(expected));
}

// Page Down scrolls the licence, Back takes the focus along; Tab goes in reading order; Space or Enter open the folder dialog.
TEST(Keys, LicenceScrollsBackTakesTheFocusFolderPageTabsInOrderAndOpensTheFolderDialog) {
  TWizard w;
  ASSERT_TRUE(w.Start() && w.GoTo(EPage::Licence, true) && w.FocusOnDefault(texts::Agree));
  HWND memo = w.Field(), back = w.Button(texts::Back);
  ExpectWalk(w, "shift+Tab", {back, memo});
  ASSERT_EQ(0, SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0));
  ASSERT_TRUE(w.Type("Next")); // Page Down
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(memo, EM_GETFIRSTVISIBLELINE, 0, 0) > 0; }));
  ExpectWalk(w, "Tab", {back});
  // Back hides this page before the welcome page shows: the focus follows.
  ASSERT_TRUE(w.Type("Return") && w.WaitPage(EPage::Welcome));
  EXPECT_TRUE(w.FocusOnDefault(texts::Next));

  ASSERT_TRUE(w.GoTo(EPage::Folder, true) && w.FocusOnDefault(texts::Install));
  HWND browse = w.Button(texts::Browse), install = w.Button(texts::Install), cancel = w.Button(texts::Cancel);
  back = w.Button(texts::Back);
  ExpectWalk(w, "Tab", {cancel, browse, back, install, cancel}); // the disabled field passed over
  ExpectWalk(w, "shift+Tab", {install, back, browse});
  EXPECT_EQ(BS_DEFPUSHBUTTON, Style(browse) & BS_TYPEMASK) << "a focused button is drawn as the default";
  EXPECT_EQ(BS_PUSHBUTTON, Style(install) & BS_TYPEMASK);
  for (const char* key : {"space", "Return"}) { // the focused button, not the default one
    SCOPED_TRACE(key);
    HWND dialog = w.Type(key) ? w.Process.WaitDialog() : nullptr;
    ASSERT_TRUE(dialog && w.Process.WaitFocusIn(dialog));
    const std::vector<HWND> trees = Children(dialog, "SysTreeView32");
    ASSERT_EQ(1u, trees.size());
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(trees.front(), TVM_GETCOUNT, 0, 0) > 0; }));
    // To the window that stays: the dialog goes on the press.
    ASSERT_TRUE(w.Type("Escape") && WaitUntil([&] { return !IsWindow(dialog); }));
    EXPECT_TRUE(w.Process.WaitFocus(browse));
  }
  EXPECT_EQ(ProgramFiles, Text(w.Field()));
  EXPECT_TRUE(w.Close());
}

} // namespace
