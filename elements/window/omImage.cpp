#include "omImage.h"

#include <cmath>

TFitResult ProportionalFit(int32_t pictureWidth, int32_t pictureHeight, int32_t width, int32_t height,
                           const RECT& client) {
  TFitResult fit{};
  if (pictureHeight < pictureWidth) {
    // Landscape: full width, height scaled; nearbyint rounds ties to even.
    auto drawn = int32_t(std::nearbyint(double(width) * pictureHeight / pictureWidth));
    int32_t offset = (height - drawn) / 2;
    fit.Target = RECT{client.left, offset, client.right, height - offset};
    fit.Band1 = RECT{0, 0, client.right, offset};
    fit.Band2 = RECT{0, height - offset, client.right, height};
  } else {
    auto drawn = int32_t(std::nearbyint(double(height) * pictureWidth / pictureHeight));
    int32_t offset = (width - drawn) / 2;
    fit.Target = RECT{offset, client.top, width - offset, client.bottom};
    fit.Band1 = RECT{0, 0, offset, client.bottom};
    fit.Band2 = RECT{width - offset, 0, width, client.bottom};
  }
  return fit;
}

void DrawProportional(TOMImage* image, HDC dc, const RECT& client, bool smooth) {
  const TBitmapObject& picture = *image->Picture;
  TFitResult fit = ProportionalFit(picture.Width(), picture.Height(), client.right - client.left,
                                   client.bottom - client.top, client);
  FillRect(dc, &fit.Band1, image->BackgroundBrush);
  FillRect(dc, &fit.Band2, image->BackgroundBrush);
  picture.Draw(dc, fit.Target, smooth);
}

TOMImage::TOMImage(TWindowObject* parent) : TOMWin(parent), Picture(std::make_unique<TBitmapObject>()) {
  Control = CreatePanel(parent, TPanelData());
}

TOMImage::~TOMImage() {
  if (BackgroundBrush && BrushOwned) DeleteObject(BackgroundBrush);
}

void TOMImage::SetPicture(HBITMAP bitmap) {
  if (!bitmap) return; // a missing resource leaves the picture empty
  Picture->SetHandle(bitmap);
  if (KeepSize == 0) {
    Width = Picture->Width();
    Height = Picture->Height();
  }
}

void TOMImage::Init() {
  TOMWin::Init();
  constexpr LONG GraphicRole = 0x28; // ROLE_SYSTEM_GRAPHIC
  if (!AccessibleName.empty()) Control->SetAccessibleName(AccessibleName, GraphicRole);
  Control->OnClick = MakeHandler<&TOMImage::Click>(this);
  Control->OnPaint = MakeHandler<&TOMImage::Paint>(this);
  if (ResizeCanvas == 1) Control->OnSize = MakeHandler<&TOMImage::CanvasResized>(this);
  if (BackgroundBrush && BrushOwned) DeleteObject(BackgroundBrush);
  if (Color < 0) {
    BackgroundBrush = GetSysColorBrush(int(uint32_t(Color) & 0xFFFFFF));
    BrushOwned = false;
  } else {
    BackgroundBrush = CreateSolidBrush(COLORREF(Color));
    BrushOwned = true;
  }
  if (Picture->Empty() && ResizeCanvas == 1)
    Picture->SetSize(Control->GetWidth(), Control->GetHeight(), BackgroundBrush);
}

void TOMImage::Paint(TWindowObject* sender, HDC dc) {
  RECT client;
  GetClientRect(sender->GetHandle(), &client);
  // Scaled for a screen of more than 96 DPI, the picture is drawn smoothly.
  if (!Picture->Empty() && DrawMode) DrawMode(this, dc, client, sender->Dpi() != 96);
  else FillRect(dc, &client, BackgroundBrush);
}

void TOMImage::Click(TWindowObject*) { FireNull(outClick); }

void TOMImage::CanvasResized(TWindowObject* sender) {
  Picture->SetSize(sender->GetWidth(), sender->GetHeight(), BackgroundBrush);
  Resized(sender);
}
