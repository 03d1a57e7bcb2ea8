// The wizard end to end: the real program, worked only through its windows.
// Which page shows after each button, what Cancel asks and what its answers
// do, and that the close box ends the program from any page.
#include <gtest/gtest.h>

#include <functional>

#include "WizardRun.h"

using namespace driver;

namespace {

// Goes from the welcome page to the given one by Next and Agree.
bool GoTo(TWizardRun& w, EPage page) {
  if (page == EPage::wpWelcome) return true;
  if (!w.Press(texts::Next) || !w.WaitPage(EPage::wpLicence)) return false;
  if (page == EPage::wpLicence) return true;
  return w.Press(texts::Agree) && w.WaitPage(EPage::wpFolder);
}

// The folder page's field: the one Edit on it.
HWND FolderField(const TWizardRun& w) {
  HWND frame = w.ShownFrame();
  if (!frame) return nullptr;
  std::vector<HWND> edits = Controls(frame, "Edit");
  return edits.size() == 1 ? edits.front() : nullptr;
}

// Where the wizard could write: the product folder under Program Files (a
// new folder there, or anything in an existing Varkelo) and the desktop
// shortcut. Only names are compared in Program Files, and only shortcuts on
// the desktop: under Wine the desktop can be the Unix home folder, where other
// programs write (Wine itself adds a launcher for each shortcut, later).
std::vector<std::string> Names(const TTreeState& state) {
  std::vector<std::string> names;
  for (const auto& entry : state) names.push_back(entry.first);
  return names;
}

TTreeState Shortcuts(const TTreeState& state) {
  TTreeState shortcuts;
  for (const auto& entry : state) {
    const std::string& name = entry.first;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".lnk") == 0) shortcuts.insert(entry);
  }
  return shortcuts;
}

struct TWritten {
  std::vector<std::string> ProgramFiles = Names(FolderState(ProgramFilesFolder()));
  TTreeState Product = TreeState(ProgramFilesFolder() + "\\Varkelo");
  TTreeState Desktop = Shortcuts(FolderState(UserDesktopFolder()));
  bool operator==(const TWritten& o) const {
    return ProgramFiles == o.ProgramFiles && Product == o.Product && Desktop == o.Desktop;
  }
  // Which of them changed, for the failure message.
  std::string Changed(const TWritten& o) const {
    std::string what;
    if (ProgramFiles != o.ProgramFiles) what += " Program Files;";
    if (Product != o.Product) what += " the product folder (" + std::to_string(Product.size()) + " -> " +
                                      std::to_string(o.Product.size()) + " entries);";
    if (Desktop != o.Desktop) what += " the desktop shortcuts;";
    return what;
  }
};

TEST(Wizard, StartsOnTheWelcomePageWithEveryFrameAChildOfTheForm) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  // Four frames, built once; only the welcome frame is shown.
  EXPECT_EQ(4u, PageFrames(w.Main).size());
  EXPECT_EQ(1u, VisibleFrames(w.Main).size());
  EXPECT_EQ(EPage::wpWelcome, w.Page());
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

// Next, Back, Agree and Back in turn, several rounds: always exactly one
// page, and the frames are only shown and hidden, never made anew.
TEST(Wizard, NavigationAlwaysLeavesExactlyOnePage) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  const std::vector<HWND> frames = PageFrames(w.Main);
  struct TStep {
    const std::string& Button;
    EPage After;
  };
  const TStep round[] = {
      {texts::Next, EPage::wpLicence},  {texts::Back, EPage::wpWelcome}, {texts::Next, EPage::wpLicence},
      {texts::Agree, EPage::wpFolder},  {texts::Back, EPage::wpLicence}, // folder Back: licence, not welcome
      {texts::Agree, EPage::wpFolder},  {texts::Back, EPage::wpLicence}, {texts::Back, EPage::wpWelcome},
  };
  for (int r = 0; r < 3; ++r) {
    for (const TStep& step : round) {
      SCOPED_TRACE(std::to_string(r) + ": " + PageName(step.After));
      ASSERT_TRUE(w.Press(step.Button));
      ASSERT_TRUE(w.WaitPage(step.After));
      // Settled: still the one page a moment later.
      Sleep(30);
      EXPECT_EQ(step.After, w.Page());
    }
  }
  EXPECT_EQ(frames, PageFrames(w.Main));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

// Cancel asks; No leaves the page as it was and usable. Asked with the mouse,
// or with Escape and answered with the keys, the focus then back where it was.
void CancelThenNoOnEachPage(bool keyboard) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  const EPage pages[] = {EPage::wpWelcome, EPage::wpLicence, EPage::wpFolder};
  const std::string forward[] = {texts::Next, texts::Agree, texts::Install};
  const std::string before[] = {texts::Cancel, texts::Back, texts::Back}; // Shift+Tab from the forward button
  for (size_t i = 0; i < 3; ++i) {
    const EPage page = pages[i];
    SCOPED_TRACE(PageName(page));
    ASSERT_EQ(page, w.Page());
    HWND field = page == EPage::wpFolder ? FolderField(w) : nullptr;
    const std::string fieldText = field ? WindowText(field) : "";
    if (page == EPage::wpFolder) {
      ASSERT_NE(nullptr, field);
      EXPECT_EQ(ProgramFilesFolder(), fieldText);
    }

    HWND focus = nullptr;
    if (keyboard) {
      ASSERT_TRUE(w.FocusOnDefault(forward[i]));
      ASSERT_TRUE(w.Type("shift+Tab")); // the focus off the default button
      focus = w.Button(before[i]);
      ASSERT_TRUE(w.Process.WaitFocus(focus));
      ASSERT_TRUE(w.Type("Escape"));
    } else {
      ASSERT_TRUE(w.Press(texts::Cancel));
    }
    HWND box = w.Process.WaitMessageBox(texts::QuestionCaption);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(texts::QuestionText, TInstallerProcess::MessageBoxText(box));
    EXPECT_EQ(w.Main, Owner(box)) << "owned by the main window";
    EXPECT_TRUE(TInstallerProcess::MessageBoxHasIcon(box));
    EXPECT_NE(nullptr, GetDlgItem(box, IDYES));
    EXPECT_NE(nullptr, GetDlgItem(box, IDNO));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDOK));
    EXPECT_EQ(page, w.Page()) << "the page stays while the question is open";
    EXPECT_FALSE(IsWindowEnabled(w.Main)) << "the question is modal";
    if (keyboard) {
      ASSERT_TRUE(w.Process.WaitFocusIn(box));
      ASSERT_TRUE(w.Type("Tab Return")); // from Yes to No, in the box that has the focus
      ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    } else {
      ASSERT_TRUE(w.Process.PressButton(box, IDNO));
    }
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(w.Main) != FALSE; }));

    EXPECT_TRUE(w.Process.IsRunning());
    EXPECT_EQ(page, w.Page());
    if (focus) {
      EXPECT_TRUE(w.Process.WaitFocus(focus));
    }
    if (field) {
      EXPECT_EQ(fieldText, WindowText(field));
    }
    // Still usable: the page's buttons work.
    if (i < 2) {
      ASSERT_TRUE(w.Press(forward[i]));
      ASSERT_TRUE(w.WaitPage(pages[i + 1]));
    } else {
      ASSERT_TRUE(w.Press(texts::Back));
      ASSERT_TRUE(w.WaitPage(EPage::wpLicence));
    }
  }
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

TEST(Wizard, CancelThenNoKeepsEachPageAndItsState) { CancelThenNoOnEachPage(false); }

TEST(Wizard, EscapeThenNoByKeysKeepsEachPageAndTheFocus) { CancelThenNoOnEachPage(true); }

// From each of the first three pages, `end` ends the program: exit code 0
// and nothing written.
void EndFromEachPage(const std::function<void(TWizardRun&)>& end) {
  for (EPage page : {EPage::wpWelcome, EPage::wpLicence, EPage::wpFolder}) {
    SCOPED_TRACE(PageName(page));
    const TWritten before;
    TWizardRun w;
    ASSERT_TRUE(w.Start());
    ASSERT_TRUE(GoTo(w, page));
    end(w);
    if (::testing::Test::HasFatalFailure()) return;
    EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
    const TWritten after;
    EXPECT_TRUE(before == after) << "written:" << before.Changed(after);
  }
}

// Cancel then Yes ends the program with exit code 0 and writes nothing.
TEST(Wizard, CancelThenYesEndsWithoutWritingFromEachPage) {
  EndFromEachPage([](TWizardRun& w) {
    ASSERT_TRUE(w.Press(texts::Cancel));
    EXPECT_EQ(std::optional<std::string>(texts::QuestionText),
              w.Process.AnswerMessageBox(texts::QuestionCaption, IDYES));
  });
}

// Escape asks, and Enter answers Yes: the same end.
TEST(Wizard, EscapeThenEnterEndsWithoutWritingFromEachPage) {
  EndFromEachPage([](TWizardRun& w) {
    ASSERT_TRUE(w.Process.WaitFocusIn(w.Main));
    ASSERT_TRUE(w.Type("Escape"));
    HWND box = w.Process.WaitMessageBox(texts::QuestionCaption);
    ASSERT_NE(nullptr, box);
    ASSERT_TRUE(w.Process.WaitFocusIn(box));
    ASSERT_TRUE(w.Type("Return"));
  });
}

// The close box ends the program at once from any page, without the question.
TEST(Wizard, CloseBoxEndsFromEachPageWithoutTheQuestion) {
  EndFromEachPage([](TWizardRun& w) { CloseBox(w.Main); });
}

// A page shown after another must show nothing of it: what is on screen right
// after the switch is what a full repaint of the window draws (a group box
// that does not erase its inside would leave the licence text there).
TEST(Wizard, FolderPageShowsNothingOfTheLicencePage) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  ASSERT_TRUE(GoTo(w, EPage::wpFolder));
  Sleep(300); // let the switch paint
  const RECT area = WindowRect(w.Main);
  const std::vector<uint8_t> switched = CaptureScreenArea(area);
  RedrawWindow(w.Main, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
  Sleep(300);
  const std::vector<uint8_t> repainted = CaptureScreenArea(area);
  ASSERT_FALSE(switched.empty());
  EXPECT_TRUE(switched == repainted);
  if (switched != repainted) {
    Screenshot(w.Main, "residue-switched-then-repainted"); // the repainted state, for comparison
  }
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

// The pages and the question as a person sees them, for a look by eye.
TEST(Wizard, Screenshots) {
  TWizardRun w;
  ASSERT_TRUE(w.Start());
  EXPECT_TRUE(Screenshot(w.Main, "1-welcome"));
  ASSERT_TRUE(GoTo(w, EPage::wpLicence));
  EXPECT_TRUE(Screenshot(w.Main, "2-licence"));
  ASSERT_TRUE(w.Press(texts::Agree));
  ASSERT_TRUE(w.WaitPage(EPage::wpFolder));
  EXPECT_TRUE(Screenshot(w.Main, "3-folder"));
  ASSERT_TRUE(w.Press(texts::Cancel));
  HWND box = w.Process.WaitMessageBox(texts::QuestionCaption);
  ASSERT_NE(nullptr, box);
  EXPECT_TRUE(Screenshot(w.Main, "5-cancel-question", box));
  ASSERT_TRUE(w.Process.PressButton(box, IDNO));
  CloseBox(w.Main);
  EXPECT_EQ(std::optional<uint32_t>(0), w.Process.WaitExit());
}

} // namespace
