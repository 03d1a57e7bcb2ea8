// The group box as it appears: its inside painted in its own colour, and its
// caption in its font colour also where the common controls draw themed.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "TestSupport.h"

#include <commctrl.h> // after windows.h

namespace {

const COLORREF Red = RGB(255, 0, 0);
const COLORREF Green = RGB(0, 160, 0);

bool Blue(COLORREF c) { return GetBValue(c) >= 0xC0 && GetRValue(c) < 0x60 && GetGValue(c) < 0x60; }
bool Dark(COLORREF c) { return GetRValue(c) < 0x80 && GetGValue(c) < 0x80 && GetBValue(c) < 0x80; }

// The caption's rows: counts the blue and the dark (black or grey text) pixels.
void CountCaptionPixels(HWND group, int& blue, int& dark) {
  RECT r;
  GetClientRect(group, &r);
  blue = dark = 0;
  HDC dc = GetDC(group);
  for (int y = 0; y < 24 && y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (Blue(c)) ++blue;
      else if (Dark(c)) ++dark;
    }
  ReleaseDC(group, dc);
}

TWindowObject* MakeCaptionGroup(TWindowObject* parent) {
  TWindowObject* group = CreateGroupBox(parent, "WWWW MMMM");
  group->SetFontName("Arial");
  group->SetFontHeight(-20);
  group->SetFontStyle(1);
  group->SetFontColor(0xFF0000); // 0x00BBGGRR: blue
  group->SetBounds(10, 10, 330, 110);
  group->GetHandle();
  return group;
}

// The common controls 6.0 (the ones the program's manifest asks for), active
// while windows are created inside the scope.
class TCommonControls6 {
public:
  TCommonControls6() {
    char dir[MAX_PATH] = {};
    GetTempPathA(sizeof dir, dir);
    Path = std::string(dir) + "ombrel-groupbox-test.manifest";
    if (FILE* f = std::fopen(Path.c_str(), "wb")) {
      std::fputs("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                 "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
                 "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
                 "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" processorArchitecture=\"*\" "
                 "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/></dependentAssembly></dependency>\n"
                 "</assembly>\n",
                 f);
      std::fclose(f);
    }
    ACTCTXA ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.lpSource = Path.c_str();
    Context = CreateActCtxA(&ctx);
    if (Context != INVALID_HANDLE_VALUE) Active = ActivateActCtx(Context, &Cookie) != FALSE;
  }
  ~TCommonControls6() {
    if (Active) DeactivateActCtx(0, Cookie);
    if (Context != INVALID_HANDLE_VALUE) ReleaseActCtx(Context);
    DeleteFileA(Path.c_str());
  }
  TCommonControls6(const TCommonControls6&) = delete;
  TCommonControls6& operator=(const TCommonControls6&) = delete;

  bool Active = false;

private:
  std::string Path;
  HANDLE Context = INVALID_HANDLE_VALUE;
  ULONG_PTR Cookie = 0;
};

TEST(GroupBox, PaintsItsInsideInItsColourAroundItsChildren) {
  THostForm host;
  TWindowObject* group = CreateGroupBox(host.Form, "Group");
  group->SetColor(0x0000FF); // red, unlike the form around it
  group->SetBounds(10, 10, 310, 160);
  TWindowObject* label = CreateLabel(group, "");
  label->SetColor(0x00A000);
  label->SetBounds(100, 60, 160, 90);
  HWND hwnd = group->GetHandle();
  label->GetHandle();
  Pump(host.Form->GetHandle());

  for (POINT p : {POINT{150, 40}, POINT{40, 120}, POINT{280, 130}}) EXPECT_EQ(PixelAt(hwnd, p.x, p.y), Red);
  EXPECT_EQ(PixelAt(hwnd, 130, 75), Green) << "the child keeps its own colour";
  EXPECT_EQ(PixelAt(host.Form->GetHandle(), 5, 5), GetSysColor(COLOR_BTNFACE)) << "nothing outside the box";

  // A new colour takes over the whole inside at once.
  group->SetColor(0xFFFFFF);
  Pump(host.Form->GetHandle());
  EXPECT_EQ(PixelAt(hwnd, 150, 40), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(hwnd, 130, 75), Green);
}

// Classic and themed (common controls 6.0, which alone know BCM_GETIDEALSIZE).
TEST(GroupBox, CaptionIsDrawnInTheFontColourClassicAndThemed) {
  for (bool themed : {false, true}) {
    SCOPED_TRACE(themed ? "common controls 6.0" : "classic");
    THostForm host;
    TWindowObject* group = nullptr;
    {
      std::unique_ptr<TCommonControls6> controls6(themed ? new TCommonControls6 : nullptr);
      ASSERT_TRUE(!themed || controls6->Active);
      group = MakeCaptionGroup(host.Form);
    }
    SIZE ideal{};
    if (themed) { ASSERT_TRUE(SendMessageA(group->GetHandle(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal))); }
    Pump(host.Form->GetHandle());
    int blue = 0, dark = 0;
    CountCaptionPixels(group->GetHandle(), blue, dark);
    EXPECT_GT(blue, 40);
    EXPECT_EQ(dark, 0);
  }
}

} // namespace
