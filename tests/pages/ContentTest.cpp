// What the pages show: frames and buttons where they belong, the exact texts
// and fonts, the resource texts, the read-only licence, the side pictures,
// and a picture of each page.
#include <gtest/gtest.h>

#include <set>

#include "InstallerProcess.h"
#include "Resources.h"
#include "Wizard.h"

namespace {

class Content : public ::testing::Test {
protected:
  TWizard Wizard;
};

LOGFONTA FontOf(HWND hwnd) {
  LOGFONTA lf{};
  auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
  GetObjectA(font, sizeof(lf), &lf);
  return lf;
}

TEST_F(Content, FramesCoverTheClientAreaWithTheirButtonsAlongTheBottom) {
  const LONG frameWidth[PageCount] = {440, 440, 455, 440};
  for (int p = 0; p < PageCount; ++p)
    ExpectRect(Wizard.Frames[p], -5, 0, frameWidth[p], 330, "frame " + std::to_string(p));

  const struct {
    TPage Page;
    const char* Caption;
    LONG Left;
  } buttons[] = {
      {pgWelcome, texts::Next, 270},    {pgWelcome, texts::Cancel, 360},
      {pgLicence, texts::Back, 180},    {pgLicence, texts::Agree, 270},   {pgLicence, texts::Cancel, 360},
      {pgFolder, texts::Back, 180},     {pgFolder, texts::Install, 270},  {pgFolder, texts::Cancel, 360},
      {pgFinish, texts::Done, 300},
  };
  for (const auto& row : buttons) {
    HWND button = FindDescendant(Wizard.Frames[row.Page], "Button", row.Caption);
    ASSERT_NE(button, nullptr) << row.Caption;
    EXPECT_EQ(GetParent(button), Wizard.Frames[row.Page]) << row.Caption;
    ExpectRect(button, row.Left, 290, 75, 25, row.Caption);
    LOGFONTA lf = FontOf(button);
    EXPECT_STREQ(lf.lfFaceName, "Arial") << row.Caption;
    EXPECT_EQ(lf.lfHeight, 14) << row.Caption; // Arial 8
  }
}

TEST_F(Content, TitlesHintsAndCaptionsReadExactlyWithTheirFonts) {
  const struct {
    TPage Page;
    const char* ClassName;
    const char* Text;
    LONG Height; // font cell height: size + 6
    bool Bold;
    const char* What;
  } rows[] = {
      {pgWelcome, "Static",
       "                 \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB\r\n\r\n"
       "    \xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0\r\n    \xC2\xE5\xF0\xF1\xE8\xFF - 2.1",
       16, true, "welcome title"},
      {pgLicence, "Static",
       "   \xCB\xE8\xF6\xE5\xED\xE7\xE8\xEE\xED\xED\xEE\xE5 \xF1\xEE\xE3\xEB\xE0\xF8\xE5\xED\xE8\xE5", 16, true,
       "licence header"},
      {pgLicence, "Static",
       "  \xCC\xEE\xE6\xE5\xF2\xE5 \xED\xE0\xE6\xE0\xF2\xFC PageDown \xE4\xEB\xFF "
       "\xEF\xE5\xF0\xE5\xEC\xE5\xF9\xE5\xED\xE8\xFF \xEF\xEE \xF2\xE5\xEA\xF1\xF2\xF3:",
       14, false, "scroll hint"},
      {pgLicence, "Static",
       "  \xC5\xF1\xEB\xE8 \xEF\xF0\xE8\xED\xE8\xEC\xE0\xE5\xF2\xE5 \xF3\xF1\xEB\xEE\xE2\xE8\xFF "
       "\xF1\xEE\xE3\xEB\xE0\xF8\xE5\xED\xE8\xFF,\xF2\xEE \xED\xE0\xE6\xEC\xE8\xF2\xE5 '\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED'",
       14, false, "accept hint"},
      {pgFolder, "Static", "   \xC2\xFB\xE1\xEE\xF0 \xEF\xE0\xEF\xEA\xE8", 16, true, "folder title"},
      {pgFolder, "Static",
       "\r\n   \xC2\xFB\xE1\xE5\xF0\xE8\xF2\xE5 \xE4\xE8\xF1\xEA \xE8\xEB\xE8 \xEF\xE0\xEF\xEA\xF3, "
       "\xE2 \xEA\xEE\xF2\xEE\xF0\xF3\xFE \xED\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE\r\n"
       "   \xF3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3, "
       "\xEA\xEE\xF2\xEE\xF0\xE0\xFF \xE1\xF3\xE4\xE5\xF2 \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE0 "
       "\xE2 \xEF\xE0\xEF\xEA\xE5 \r\n   \\Varkelo\\.\r\n  \r\n  ",
       16, false, "explanation"},
      {pgFolder, "Static",
       "\xCD\xE5\xEE\xE1\xF5\xEE\xE4\xE8\xEC\xEE \xEC\xE5\xF1\xF2\xE0 \xED\xE0 \xE4\xE8\xF1\xEA\xE5: 2,87 Mb", 16,
       false, "required space"},
      {pgFolder, "Button",
       "\xC4\xE8\xF0\xE5\xEA\xF2\xEE\xF0\xE8\xFF \xF0\xE0\xE7\xEC\xE5\xF9\xE5\xED\xE8\xFF "
       "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xED\xE0 \xE2\xE0\xF8\xE5\xEC \xEA\xEE\xEC\xEF\xFC\xFE\xF2\xE5\xF0\xE5",
       16, false, "folder group"},
      {pgFolder, "Button", "\xCE\xE1\xE7\xEE\xF0", 14, false, "Browse"},
      {pgFinish, "Static",
       "      \xC7\xE0\xE2\xE5\xF0\xF8\xE5\xED\xE8\xE5 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8", 16, true, "finish title"},
      {pgFinish, "Static",
       "   \xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xF3\xF1\xEF\xE5\xF8\xED\xEE \xE2\xFB\xEF\xEE\xEB\xED\xE5\xED\xE0!\r\n\r\n"
       "   \xCD\xE0\xE6\xEC\xE8\xF2\xE5 \xEA\xED\xEE\xEF\xEA\xF3 \"\xC3\xEE\xF2\xEE\xE2\xEE\",  \xE4\xEB\xFF "
       "\xE2\xFB\xF5\xEE\xE4\xE0\r\n   \xE8\xE7 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE8!",
       16, false, "success text"},
  };
  for (const auto& row : rows) {
    HWND hwnd = FindDescendant(Wizard.Frames[row.Page], row.ClassName, row.Text);
    ASSERT_NE(hwnd, nullptr) << row.What;
    LOGFONTA lf = FontOf(hwnd);
    EXPECT_STREQ(lf.lfFaceName, "Arial") << row.What;
    EXPECT_EQ(lf.lfHeight, row.Height) << row.What;
    EXPECT_EQ(lf.lfWeight >= FW_BOLD, row.Bold) << row.What;
  }
}

TEST_F(Content, WelcomeTextIsStr1AndTheLicenceIsStr2ReadOnly) {
  const std::string welcome = LoadResourceText("STR1");
  const std::string licence = LoadResourceText("STR2");
  ASSERT_FALSE(welcome.empty());
  ASSERT_GT(licence.size(), 1000u);

  HWND welcomeText = FindDescendant(Wizard.Frames[pgWelcome], "Static", welcome);
  ASSERT_NE(welcomeText, nullptr);
  ExpectRect(welcomeText, 170, 115, 265, 170, "welcome text");
  EXPECT_EQ(FontOf(welcomeText).lfHeight, 15); // Arial 9

  HWND memo = FindChild(Wizard.Frames[pgLicence], "Edit"); // the only edit there
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(WindowText(memo), licence);
  ExpectRect(memo, 5, 70, 390, 190, "licence");
  // Multi-line, read-only, a vertical scroll bar only (long lines wrap), and
  // Ctl3D 0: a sunken edge instead of a border.
  const DWORD mask = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL | WS_BORDER;
  EXPECT_EQ(DWORD(GetWindowLongPtrA(memo, GWL_STYLE)) & mask, DWORD(ES_MULTILINE | ES_READONLY | WS_VSCROLL));
  EXPECT_TRUE(GetWindowLongPtrA(memo, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  SendMessageA(memo, WM_CHAR, 'x', 0);
  SendMessageA(memo, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(WindowText(memo), licence) << "typing is rejected";
}

// The side picture: 165 x 310 scaled into 175 x 285, stretched into
// (11, 0, 164, 285) colour-on-colour, white bands 0..10 and 164..174.
TPixels ExpectedSidePicture(const char* bitmapName) {
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), bitmapName);
  if (!bitmap) return TPixels();
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ oldSource = SelectObject(source, bitmap);
  TPixels expected = Capture(175, 285, [source](HDC dc) {
    RECT all{0, 0, 175, 285};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 11, 0, 153, 285, source, 0, 0, 165, 310, SRCCOPY);
  });
  SelectObject(source, oldSource);
  DeleteDC(source);
  DeleteObject(bitmap);
  return expected;
}

TEST_F(Content, SidePicturesAreFittedBetweenWhiteBands) {
  const COLORREF white = RGB(255, 255, 255);
  const struct {
    TPage Page;
    const char* Bitmap;
  } sides[] = {{pgWelcome, "BITMAP0"}, {pgFinish, "BITMAP1"}};
  for (const auto& side : sides) {
    Wizard.Show(side.Page);
    HWND image = FindChild(Wizard.Frames[side.Page], "Static", [](HWND hwnd) {
      RECT r;
      GetClientRect(hwnd, &r);
      return r.right == 175 && r.bottom == 285;
    });
    ASSERT_NE(image, nullptr) << side.Bitmap;
    EXPECT_EQ(RectInParent(image).left, -5) << side.Bitmap;

    TPixels expected = ExpectedSidePicture(side.Bitmap);
    ASSERT_EQ(expected.Width, 175) << side.Bitmap << " is in the resources";
    TPixels drawn = PrintClient(image);
    ASSERT_EQ(drawn.Width, 175);
    ASSERT_EQ(drawn.Height, 285);
    int bandPixels = 0, pictureMismatches = 0, nonWhiteInPicture = 0;
    for (int y = 0; y < 285; ++y) {
      for (int x = 0; x < 175; ++x) {
        const bool band = x <= 10 || x >= 164;
        if (band) bandPixels += drawn.At(x, y) == white;
        else {
          pictureMismatches += drawn.At(x, y) != expected.At(x, y);
          nonWhiteInPicture += drawn.At(x, y) != white;
        }
      }
    }
    EXPECT_EQ(bandPixels, 22 * 285) << side.Bitmap << ": white bands 0..10 and 164..174";
    EXPECT_EQ(pictureMismatches, 0) << side.Bitmap << ": picture stretched into x 11..163";
    EXPECT_GT(nonWhiteInPicture, 153 * 285 / 2) << side.Bitmap;

    // On screen the frame and body offsets hide columns 0..9: image x maps to form x - 10.
    HDC dc = GetDC(Wizard.FormHandle);
    for (int y : {0, 100, 284}) {
      for (int x : {10, 11, 80, 163, 164, 174})
        EXPECT_EQ(GetPixel(dc, x - 10, y), expected.At(x, y)) << side.Bitmap << " at " << x << "," << y;
    }
    ReleaseDC(Wizard.FormHandle, dc);
    Wizard.Hide(side.Page);
  }
}

// A picture of each page as the screen shows it, written beside the test for
// looking at; each must at least show the page and not an empty window.
TEST_F(Content, EachPageIsCapturedFromTheScreen) {
  const std::string folder = std::string("Z:") + OMBREL_SCREENSHOT_DIR;
  CreateDirectoryA(folder.c_str(), nullptr);
  const char* const names[PageCount] = {"welcome", "licence", "folder", "finish"};
  for (int p = 0; p < PageCount; ++p) {
    for (int q = 0; q < PageCount; ++q) Wizard.Hide(TPage(q));
    Wizard.Show(TPage(p));
    SetForegroundWindow(Wizard.FormHandle);
    Pump();
    TPixels shot = CaptureWindow(Wizard.FormHandle);
    std::set<uint32_t> colours(shot.Bits.begin(), shot.Bits.end());
    EXPECT_GT(colours.size(), 8u) << names[p] << ": the page is drawn";
    EXPECT_TRUE(driver::SaveScreenArea(driver::WindowRect(Wizard.FormHandle), folder + "/" + names[p] + ".bmp"));
  }
}

} // namespace
