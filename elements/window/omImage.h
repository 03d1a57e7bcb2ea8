// TOMImage: shows a bitmap fitted proportionally into its rectangle.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "Win.h"

class TOMImage;
using TDrawMode = void (*)(TOMImage* image, HDC dc, const RECT& client, bool smooth);

// Proportional fit of a W x H picture into a CW x CH element: the target
// rectangle and the two bands left for the background.
struct TFitResult {
  RECT Target;
  RECT Band1;
  RECT Band2;
};
TFitResult ProportionalFit(int32_t pictureWidth, int32_t pictureHeight, int32_t width, int32_t height,
                           const RECT& client);
void DrawProportional(TOMImage* image, HDC dc, const RECT& client, bool smooth);

class TOMImage : public TOMWin {
public:
  explicit TOMImage(TWindowObject* parent);
  ~TOMImage() override;

  std::unique_ptr<TBitmapObject> Picture;
  HBRUSH BackgroundBrush = nullptr;
  bool BrushOwned = false;
  TDrawMode DrawMode = &DrawProportional;
  uint8_t KeepSize = 0;
  uint8_t ResizeCanvas = 0;
  TPointLink outClick;

  void SetPicture(HBITMAP bitmap);
  void Init() override;

private:
  void Paint(TWindowObject* sender, HDC dc);
  void Click(TWindowObject* sender);
  void CanvasResized(TWindowObject* sender);
};
