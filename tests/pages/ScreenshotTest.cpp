// A picture of each page as the screen shows it, written beside the test for
// looking at; each must at least show the page and not an empty window.
#include <gtest/gtest.h>

#include <set>

#include "Wizard.h"

namespace {

TEST(Screenshots, EachPageIsCapturedFromTheScreen) {
  TWizard wizard;
  const std::string folder = std::string("Z:") + OMBREL_SCREENSHOT_DIR;
  CreateDirectoryA(folder.c_str(), nullptr);
  const char* const names[PageCount] = {"welcome", "licence", "folder", "finish"};
  for (int p = 0; p < PageCount; ++p) {
    for (int q = 0; q < PageCount; ++q) wizard.Hide(TPage(q));
    wizard.Show(TPage(p));
    SetForegroundWindow(wizard.FormHandle);
    Pump();
    TPixels shot = CaptureWindow(wizard.FormHandle);
    ASSERT_EQ(shot.Width, 440);
    ASSERT_EQ(shot.Height, 351);
    std::set<uint32_t> colours(shot.Bits.begin(), shot.Bits.end());
    EXPECT_GT(colours.size(), 8u) << names[p] << ": the page is drawn";
    EXPECT_TRUE(WriteBmp(shot, folder + "/" + names[p] + ".bmp")) << names[p];
  }
}

} // namespace
