// The page frames as the main scheme sees them: showing and hiding through
// inWork[0], and what each button fires, in which order, and whether the
// frame hides itself before or after.
#include <gtest/gtest.h>

#include "Wizard.h"

namespace {

class Navigation : public ::testing::Test {
protected:
  TWizard Wizard;
};

void ExpectEvent(const TPageEvent& event, TPage page, uint16_t index, uint8_t kind) {
  EXPECT_EQ(event.Page, page);
  EXPECT_EQ(event.Index, index);
  EXPECT_EQ(event.Value.Kind, kind);
  if (kind == dkInteger) {
    EXPECT_EQ(event.Value.IntValue, 0);
  }
}

TEST_F(Navigation, AtStartOnlyTheWelcomeFrameIsShown) {
  for (int p = 0; p < PageCount; ++p) {
    ASSERT_NE(Wizard.Frames[p], nullptr) << "frame " << p;
    EXPECT_EQ(GetParent(Wizard.Frames[p]), Wizard.FormHandle) << "frames are children of the form";
  }
  EXPECT_TRUE(Wizard.Visible(pgWelcome));
  EXPECT_EQ(Wizard.VisibleCount(), 1);
  EXPECT_TRUE(Wizard.Events.empty()) << "nothing fires while the pages are built";
}

TEST_F(Navigation, InWorkShowsOnTrueAndHidesOnIntegerZero) {
  for (TPage page : {pgWelcome, pgLicence, pgFolder, pgFinish}) {
    Wizard.Show(page);
    EXPECT_TRUE(Wizard.Visible(page)) << page;
    EXPECT_TRUE(GetWindowLongPtrA(Wizard.Frames[page], GWL_STYLE) & WS_VISIBLE);
    TData text = StringData("yes"); // any value that is true shows
    Wizard.Hide(page);
    EXPECT_FALSE(Wizard.Visible(page)) << page;
    Wizard.Pages[page]->inWork(text, 0);
    EXPECT_TRUE(Wizard.Visible(page)) << page;
    Wizard.Hide(page);
  }
  EXPECT_EQ(Wizard.VisibleCount(), 0);
  EXPECT_TRUE(Wizard.Events.empty()) << "showing and hiding fire nothing outwards";
}

TEST_F(Navigation, WelcomeNextFiresWhileShownThenHidesAndCancelKeepsThePage) {
  Wizard.Click(pgWelcome, texts::Cancel);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  ExpectEvent(Wizard.Events[0], pgWelcome, 1, dkNull);
  EXPECT_TRUE(Wizard.Visible(pgWelcome));

  Wizard.Click(pgWelcome, texts::Next);
  ASSERT_EQ(Wizard.Events.size(), 2u);
  ExpectEvent(Wizard.Events[1], pgWelcome, 0, dkInteger);
  EXPECT_TRUE(Wizard.Events[1].Visible[pgWelcome]) << "Next fires before the frame hides";
  EXPECT_FALSE(Wizard.Visible(pgWelcome));
}

TEST_F(Navigation, LicenceAgreeFiresFirstBackHidesFirstCancelKeeps) {
  Wizard.Show(pgLicence);
  Wizard.Click(pgLicence, texts::Cancel);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  ExpectEvent(Wizard.Events[0], pgLicence, 2, dkNull);
  EXPECT_TRUE(Wizard.Visible(pgLicence));

  Wizard.Click(pgLicence, texts::Agree);
  ASSERT_EQ(Wizard.Events.size(), 2u);
  ExpectEvent(Wizard.Events[1], pgLicence, 0, dkInteger);
  EXPECT_TRUE(Wizard.Events[1].Visible[pgLicence]) << "Agree fires before the frame hides";
  EXPECT_FALSE(Wizard.Visible(pgLicence));

  Wizard.Show(pgLicence);
  Wizard.Click(pgLicence, texts::Back);
  ASSERT_EQ(Wizard.Events.size(), 3u);
  ExpectEvent(Wizard.Events[2], pgLicence, 1, dkInteger);
  EXPECT_FALSE(Wizard.Events[2].Visible[pgLicence]) << "Back hides the frame before it fires";
  EXPECT_FALSE(Wizard.Visible(pgLicence));
}

TEST_F(Navigation, FolderBackFiresFirstInstallHidesFirstAndSendsThePath) {
  Wizard.Show(pgFolder);
  Wizard.Click(pgFolder, texts::Cancel);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  ExpectEvent(Wizard.Events[0], pgFolder, 2, dkNull);
  EXPECT_TRUE(Wizard.Visible(pgFolder));

  Wizard.Click(pgFolder, texts::Back);
  ASSERT_EQ(Wizard.Events.size(), 2u);
  ExpectEvent(Wizard.Events[1], pgFolder, 1, dkInteger);
  EXPECT_TRUE(Wizard.Events[1].Visible[pgFolder]) << "Back fires before the frame hides";
  EXPECT_FALSE(Wizard.Visible(pgFolder));

  TData before;
  Wizard.Pages[pgFolder]->varData(before, 0);
  EXPECT_EQ(before.Kind, dkNull) << "no path is remembered before the first Install";

  Wizard.Show(pgFolder);
  Wizard.Click(pgFolder, texts::Install);
  ASSERT_EQ(Wizard.Events.size(), 3u);
  const TPageEvent& install = Wizard.Events[2];
  EXPECT_EQ(install.Page, pgFolder);
  EXPECT_EQ(install.Index, 0);
  ASSERT_EQ(install.Value.Kind, dkString);
  EXPECT_EQ(install.Value.StrValue, "C:\\Program Files");
  EXPECT_FALSE(install.Visible[pgFolder]) << "Install hides the frame before it fires";
  EXPECT_FALSE(Wizard.Visible(pgFolder));

  TData after;
  Wizard.Pages[pgFolder]->varData(after, 0);
  EXPECT_EQ(after.Kind, dkString);
  EXPECT_EQ(after.StrValue, "C:\\Program Files");
}

TEST_F(Navigation, FinishDoneFiresAndTheFrameStays) {
  Wizard.Show(pgFinish);
  Wizard.Click(pgFinish, texts::Done);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  ExpectEvent(Wizard.Events[0], pgFinish, 0, dkInteger);
  EXPECT_TRUE(Wizard.Visible(pgFinish));
}

TEST_F(Navigation, WiredLikeTheMainSchemeOneFrameIsShownAfterEverySequence) {
  Wizard.Navigate = true;
  for (int round = 0; round < 3; ++round) {
    Wizard.Click(pgWelcome, texts::Next);
    EXPECT_TRUE(Wizard.Visible(pgLicence));
    EXPECT_EQ(Wizard.VisibleCount(), 1);
    Wizard.Click(pgLicence, texts::Back);
    EXPECT_TRUE(Wizard.Visible(pgWelcome));
    EXPECT_EQ(Wizard.VisibleCount(), 1);
  }
  // For the length of Next both frames are up: the licence page comes first.
  const TPageEvent& next = Wizard.Events[0];
  EXPECT_TRUE(next.Visible[pgWelcome]);
  EXPECT_FALSE(next.Visible[pgLicence]);

  Wizard.Click(pgWelcome, texts::Next);
  Wizard.Click(pgLicence, texts::Agree);
  EXPECT_TRUE(Wizard.Visible(pgFolder));
  EXPECT_EQ(Wizard.VisibleCount(), 1);
  Wizard.Click(pgFolder, texts::Back);
  EXPECT_TRUE(Wizard.Visible(pgLicence)) << "Back on the folder page leads to the licence page";
  EXPECT_EQ(Wizard.VisibleCount(), 1);
  Wizard.Click(pgLicence, texts::Agree);
  Wizard.Click(pgFolder, texts::Install);
  EXPECT_TRUE(Wizard.Visible(pgFinish));
  EXPECT_EQ(Wizard.VisibleCount(), 1);
}

TEST_F(Navigation, FreeingAPageTakesAllItsWindowsAndLeavesTheOthersWorking) {
  HWND frame = Wizard.Frames[pgLicence];
  HWND memo = FindByPrefix(frame, "Edit", "");
  HWND agree = FindDescendant(frame, "Button", texts::Agree);
  ASSERT_NE(memo, nullptr);
  ASSERT_NE(agree, nullptr);
  Wizard.Pages[pgLicence].reset();
  EXPECT_FALSE(IsWindow(memo)) << "the body inside goes with the frame";
  EXPECT_FALSE(IsWindow(agree));
  EXPECT_FALSE(IsWindow(frame));
  Wizard.Frames[pgLicence] = nullptr;
  EXPECT_TRUE(IsWindow(Wizard.Frames[pgFolder]));
  Wizard.Click(pgWelcome, texts::Next);
  ASSERT_EQ(Wizard.Events.size(), 1u);
  ExpectEvent(Wizard.Events[0], pgWelcome, 0, dkInteger);
  EXPECT_FALSE(Wizard.Visible(pgWelcome));
}

} // namespace
