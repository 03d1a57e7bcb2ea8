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

TEST_F(Navigation, OnlyWelcomeAtStartAndInWorkShowsOnTrueHidesOnIntegerZero) {
  for (int p = 0; p < PageCount; ++p) {
    ASSERT_NE(Wizard.Frames[p], nullptr) << "frame " << p;
    EXPECT_EQ(GetParent(Wizard.Frames[p]), Wizard.FormHandle) << "frames are children of the form";
  }
  EXPECT_TRUE(Wizard.Visible(pgWelcome));
  EXPECT_EQ(Wizard.VisibleCount(), 1);

  for (TPage page : {pgWelcome, pgLicence, pgFolder, pgFinish}) {
    Wizard.Show(page);
    EXPECT_TRUE(Wizard.Visible(page)) << page;
    Wizard.Hide(page);
    EXPECT_FALSE(Wizard.Visible(page)) << page;
    TData text = StringData("yes"); // any value that is true shows
    Wizard.Pages[page]->inWork(text, 0);
    EXPECT_TRUE(Wizard.Visible(page)) << page;
    Wizard.Hide(page);
  }
  EXPECT_EQ(Wizard.VisibleCount(), 0);
  EXPECT_TRUE(Wizard.Events.empty()) << "building, showing and hiding fire nothing outwards";
}

// Each button: the outEvent it fires and with what, whether the frame was
// still up when it fired, and whether it stays up after.
TEST_F(Navigation, EachButtonFiresItsEventBeforeOrAfterHiding) {
  struct {
    TPage Page;
    const char* Caption;
    uint16_t Index;
    uint8_t Kind;
    bool ShownAtFire, ShownAfter;
  } const rows[] = {
      {pgWelcome, texts::Cancel, 1, dkNull, true, true},     {pgWelcome, texts::Next, 0, dkInteger, true, false},
      {pgLicence, texts::Cancel, 2, dkNull, true, true},     {pgLicence, texts::Agree, 0, dkInteger, true, false},
      {pgLicence, texts::Back, 1, dkInteger, false, false},  {pgFolder, texts::Cancel, 2, dkNull, true, true},
      {pgFolder, texts::Back, 1, dkInteger, true, false},    {pgFolder, texts::Install, 0, dkString, false, false},
      {pgFinish, texts::Done, 0, dkInteger, true, true},
  };
  TData remembered;
  Wizard.Pages[pgFolder]->varData(remembered, 0);
  EXPECT_EQ(remembered.Kind, dkNull) << "no path is remembered before the first Install";

  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.Page) + " " + row.Caption);
    Wizard.Show(row.Page);
    Wizard.Events.clear();
    Wizard.Click(row.Page, row.Caption);
    ASSERT_EQ(Wizard.Events.size(), 1u);
    const TPageEvent& event = Wizard.Events[0];
    EXPECT_EQ(event.Page, row.Page);
    EXPECT_EQ(event.Index, row.Index);
    ASSERT_EQ(event.Value.Kind, row.Kind);
    if (row.Kind == dkInteger) {
      EXPECT_EQ(event.Value.IntValue, 0);
    } else if (row.Kind == dkString) {
      EXPECT_EQ(event.Value.StrValue, "C:\\Program Files");
    }
    EXPECT_EQ(event.Visible[row.Page], row.ShownAtFire);
    EXPECT_EQ(Wizard.Visible(row.Page), row.ShownAfter);
  }
  Wizard.Pages[pgFolder]->varData(remembered, 0);
  EXPECT_EQ(remembered.StrValue, "C:\\Program Files") << "Install remembers the path it sent";
}

TEST_F(Navigation, WiredLikeTheMainSchemeOneFrameIsShownAfterEverySequence) {
  Wizard.Navigate = true;
  auto expectOnly = [&](TPage page) {
    EXPECT_TRUE(Wizard.Visible(page)) << page;
    EXPECT_EQ(Wizard.VisibleCount(), 1);
  };
  for (int round = 0; round < 3; ++round) {
    Wizard.Click(pgWelcome, texts::Next);
    expectOnly(pgLicence);
    Wizard.Click(pgLicence, texts::Back);
    expectOnly(pgWelcome);
  }
  // For the length of Next both frames are up: the licence page comes first.
  EXPECT_TRUE(Wizard.Events[0].Visible[pgWelcome]);
  EXPECT_FALSE(Wizard.Events[0].Visible[pgLicence]);

  Wizard.Click(pgWelcome, texts::Next);
  Wizard.Click(pgLicence, texts::Agree);
  expectOnly(pgFolder);
  Wizard.Click(pgFolder, texts::Back);
  expectOnly(pgLicence); // Back on the folder page leads to the licence page
  Wizard.Click(pgLicence, texts::Agree);
  Wizard.Click(pgFolder, texts::Install);
  expectOnly(pgFinish);
}

TEST_F(Navigation, FreeingAPageTakesAllItsWindowsAndLeavesTheOthersWorking) {
  HWND frame = Wizard.Frames[pgLicence];
  HWND memo = FindChild(frame, "Edit");
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
  EXPECT_EQ(Wizard.Events[0].Index, 0);
  EXPECT_FALSE(Wizard.Visible(pgWelcome));
}

} // namespace
