// A bitmap object: one owned bitmap handle with its size, drawn stretched.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>

class TBitmapObject {
public:
  TBitmapObject() = default;
  TBitmapObject(const TBitmapObject&) = delete;
  TBitmapObject& operator=(const TBitmapObject&) = delete;
  ~TBitmapObject();

  // Takes the handle over (the previous one is deleted); null empties it.
  void SetHandle(HBITMAP bitmap);
  HBITMAP GetHandle() const { return Handle; }
  int32_t Width() const { return BitmapWidth; }
  int32_t Height() const { return BitmapHeight; }
  bool Empty() const { return Handle == nullptr || BitmapWidth == 0 || BitmapHeight == 0; }

  // New size as a 24-bit DIB section; what fits of the old content is kept,
  // the rest is filled with the brush (none: black).
  void SetSize(int32_t width, int32_t height, HBRUSH fill = nullptr);
  void Clear();

  // Stretches the whole picture into the rectangle: colour-on-colour, or
  // smoothly through one scaled copy, kept for as long as the rectangle's
  // size stays (a picture scaled for the screen's resolution).
  void Draw(HDC dc, const RECT& target, bool smooth = false) const;

private:
  void DropScaled() const;
  HBITMAP Handle = nullptr;
  mutable HBITMAP Scaled = nullptr;
  mutable SIZE ScaledSize{};
  int32_t BitmapWidth = 0;
  int32_t BitmapHeight = 0;
};
