// The image element: the proportional fit and what it paints.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "omImage.h"

namespace {

// Picture w x h fitted into a box, and the two background bands it leaves.
TEST(ProportionalFit, CentresThePictureBetweenTwoBands) {
  const struct {
    int32_t PictureW, PictureH, BoxW, BoxH;
    std::vector<LONG> Target, Band1, Band2; // empty: not checked
  } rows[] = {
      // portrait: bands left and right; 152 rounded, one more pixel from the truncated offset
      {165, 310, 175, 285, {11, 0, 164, 285}, {0, 0, 11, 285}, {164, 0, 175, 285}},
      // landscape: bands above and below
      {300, 100, 175, 285, {0, 113, 175, 172}, {0, 0, 175, 113}, {0, 172, 175, 285}},
      {50, 50, 100, 60, {20, 0, 80, 60}, {}, {}},  // a square takes the portrait branch
      {4, 2, 5, 20, {0, 9, 5, 11}, {}, {}},        // drawn height 2.5 rounds to 2 (even), offset 9
      {4, 2, 7, 20, {0, 8, 7, 12}, {}, {}},        // 3.5 rounds to 4, offset 8
      {10, 4, 5, 1, {0, 0, 5, 1}, {}, {}}};        // 2 high in 1: the offset truncates to 0
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.PictureW << "x" << r.PictureH << " in " << r.BoxW << "x" << r.BoxH);
    TFitResult fit = ProportionalFit(r.PictureW, r.PictureH, r.BoxW, r.BoxH, RECT{0, 0, r.BoxW, r.BoxH});
    EXPECT_EQ(Corners(fit.Target), r.Target);
    if (!r.Band1.empty()) { EXPECT_EQ(Corners(fit.Band1), r.Band1); }
    if (!r.Band2.empty()) { EXPECT_EQ(Corners(fit.Band2), r.Band2); }
  }
}

HBITMAP SolidBitmap(int w, int h, COLORREF color) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(color);
  RECT r{0, 0, w, h};
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

TEST(ImageElement, SidePictureIsStretchedBetweenWhiteBands) {
  THostForm host(300, 400);
  TOMImage image(host.Form);
  Place(image, 10, 5, 175, 285);
  image.Color = 0xFFFFFF;
  image.KeepSize = 1;
  image.SetPicture(SolidBitmap(165, 310, RGB(200, 0, 0)));
  EXPECT_EQ(image.Width, 175) << "KeepSize keeps the element's size";
  image.Init();
  HWND hwnd = image.Control->GetHandle();
  Pump(host.Form->GetHandle());
  const COLORREF red = RGB(200, 0, 0), white = RGB(255, 255, 255);
  const struct {
    int X, Y;
    COLORREF Color;
  } pixels[] = {{0, 100, white}, {10, 100, white}, {11, 100, red},     {163, 0, red},
                {163, 284, red}, {164, 100, white}, {174, 100, white}};
  for (const auto& p : pixels) EXPECT_EQ(PixelAt(hwnd, p.X, p.Y), p.Color) << p.X << "," << p.Y;
}

TEST(ImageElement, WithoutKeepSizeThePictureSetsTheSizeAndAMissingOneLeavesTheBackground) {
  THostForm host;
  TOMImage sized(host.Form);
  sized.SetPicture(SolidBitmap(30, 20, RGB(0, 0, 200)));
  EXPECT_EQ(sized.Width, 30);
  EXPECT_EQ(sized.Height, 20);

  TOMImage empty(host.Form);
  Place(empty, 200, 0, 40, 40);
  empty.Color = 0x00FF00;
  empty.KeepSize = 1;
  empty.SetPicture(nullptr);
  empty.Init();
  EXPECT_TRUE(empty.Picture->Empty());
  HWND hwnd = empty.Control->GetHandle();
  Pump(host.Form->GetHandle());
  EXPECT_EQ(PixelAt(hwnd, 20, 20), RGB(0, 255, 0));
}

TEST(ImageElement, ResizeCanvasMakesAndFollowsACanvas) {
  THostForm host;
  TOMImage canvas(host.Form);
  canvas.Width = 60;
  canvas.Height = 30;
  canvas.Color = 0xFFFFFF;
  canvas.ResizeCanvas = 1;
  canvas.Init();
  ASSERT_FALSE(canvas.Picture->Empty());
  auto size = [&] { return std::make_pair(canvas.Picture->Width(), canvas.Picture->Height()); };
  EXPECT_EQ(size(), std::make_pair(60, 30));
  canvas.Control->SetSize(80, 50);
  EXPECT_EQ(size(), std::make_pair(80, 50));
  canvas.Control->GetHandle(); // and through the native window's size message
  canvas.Control->SetSize(90, 40);
  EXPECT_EQ(size(), std::make_pair(90, 40));
}

} // namespace
