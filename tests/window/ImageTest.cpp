// The image element: the proportional fit and what it paints.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "omImage.h"

namespace {

void ExpectRect(const RECT& r, LONG l, LONG t, LONG rr, LONG b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

TEST(ProportionalFit, PortraitPictureIsCentredWithBandsLeftAndRight) {
  TFitResult fit = ProportionalFit(165, 310, 175, 285, RECT{0, 0, 175, 285});
  ExpectRect(fit.Target, 11, 0, 164, 285); // 152 rounded, one more pixel from the truncated offset
  ExpectRect(fit.Band1, 0, 0, 11, 285);
  ExpectRect(fit.Band2, 164, 0, 175, 285);
}

TEST(ProportionalFit, LandscapePictureIsCentredWithBandsAboveAndBelow) {
  TFitResult fit = ProportionalFit(300, 100, 175, 285, RECT{0, 0, 175, 285});
  ExpectRect(fit.Target, 0, 113, 175, 172);
  ExpectRect(fit.Band1, 0, 0, 175, 113);
  ExpectRect(fit.Band2, 0, 172, 175, 285);
}

TEST(ProportionalFit, SquareUsesThePortraitBranchAndTiesRoundToEven) {
  TFitResult square = ProportionalFit(50, 50, 100, 60, RECT{0, 0, 100, 60});
  ExpectRect(square.Target, 20, 0, 80, 60);
  // 4 x 2 in 5 x 20: drawn height 2.5 rounds to 2 (even), offset 9; in 7 x 20
  // 3.5 rounds to 4, offset 8.
  TFitResult tie = ProportionalFit(4, 2, 5, 20, RECT{0, 0, 5, 20});
  ExpectRect(tie.Target, 0, 9, 5, 11);
  TFitResult up = ProportionalFit(4, 2, 7, 20, RECT{0, 0, 7, 20}); // 3.5 -> 4
  ExpectRect(up.Target, 0, 8, 7, 12);
  TFitResult negative = ProportionalFit(10, 4, 5, 1, RECT{0, 0, 5, 1}); // 2 high in 1: offset truncates to 0
  ExpectRect(negative.Target, 0, 0, 5, 1);
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
  image.Left = 10;
  image.Top = 5;
  image.Width = 175;
  image.Height = 285;
  image.Color = 0xFFFFFF;
  image.KeepSize = 1;
  image.SetPicture(SolidBitmap(165, 310, RGB(200, 0, 0)));
  EXPECT_EQ(image.Width, 175) << "KeepSize keeps the element's size";
  image.Init();
  HWND hwnd = image.Control->GetHandle();
  Pump(host.Form->GetHandle());
  const COLORREF red = RGB(200, 0, 0), white = RGB(255, 255, 255);
  EXPECT_EQ(PixelAt(hwnd, 0, 100), white);
  EXPECT_EQ(PixelAt(hwnd, 10, 100), white);
  EXPECT_EQ(PixelAt(hwnd, 11, 100), red);
  EXPECT_EQ(PixelAt(hwnd, 163, 0), red);
  EXPECT_EQ(PixelAt(hwnd, 163, 284), red);
  EXPECT_EQ(PixelAt(hwnd, 164, 100), white);
  EXPECT_EQ(PixelAt(hwnd, 174, 100), white);
}

TEST(ImageElement, WithoutKeepSizeThePictureSetsTheSizeAndAMissingOneLeavesTheBackground) {
  THostForm host;
  TOMImage sized(host.Form);
  sized.SetPicture(SolidBitmap(30, 20, RGB(0, 0, 200)));
  EXPECT_EQ(sized.Width, 30);
  EXPECT_EQ(sized.Height, 20);

  TOMImage empty(host.Form);
  empty.Left = 200;
  empty.Width = 40;
  empty.Height = 40;
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
  EXPECT_EQ(canvas.Picture->Width(), 60);
  EXPECT_EQ(canvas.Picture->Height(), 30);
  canvas.Control->SetSize(80, 50);
  EXPECT_EQ(canvas.Picture->Width(), 80);
  EXPECT_EQ(canvas.Picture->Height(), 50);
  canvas.Control->GetHandle(); // and through the native window's size message
  canvas.Control->SetSize(90, 40);
  EXPECT_EQ(canvas.Picture->Width(), 90);
  EXPECT_EQ(canvas.Picture->Height(), 40);
}

} // namespace
