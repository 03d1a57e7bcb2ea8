#include "Bitmap.h"

#include <string>

#include "Layer.h"

TBitmapObject::~TBitmapObject() { SetHandle(nullptr); }

void TBitmapObject::DropScaled() const {
  if (Scaled) DeleteObject(Scaled);
  Scaled = nullptr;
  ScaledSize = SIZE{};
}

void TBitmapObject::SetHandle(HBITMAP bitmap) {
  DropScaled();
  if (Handle && Handle != bitmap) DeleteObject(Handle);
  Handle = bitmap;
  BitmapWidth = BitmapHeight = 0;
  BITMAP info{};
  if (Handle && GetObjectW(Handle, sizeof(info), &info)) {
    BitmapWidth = info.bmWidth;
    BitmapHeight = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  }
}

namespace {

[[noreturn]] void DibSectionFailed() {
  const DWORD code = GetLastError();
  TApplication::Current().Fail("Can not create DIB section, error: " + std::to_string(code) + ", " + SystemMessage(code));
}

} // namespace

void TBitmapObject::SetSize(int32_t width, int32_t height, HBRUSH fill) {
  if (width <= 0 || height <= 0) {
    SetHandle(nullptr);
    return;
  }
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP fresh = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (!fresh) DibSectionFailed();
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFresh = SelectObject(dc, fresh);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, fill ? fill : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (!Empty()) {
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = SelectObject(src, Handle);
    BitBlt(dc, 0, 0, width, height, src, 0, 0, SRCCOPY);
    SelectObject(src, oldSrc);
    DeleteDC(src);
  }
  SelectObject(dc, oldFresh);
  DeleteDC(dc);
  SetHandle(fresh);
}

void TBitmapObject::Clear() { SetHandle(nullptr); }

void TBitmapObject::Draw(HDC dc, const RECT& target, bool smooth) const {
  if (Empty()) return;
  const int32_t w = target.right - target.left, h = target.bottom - target.top;
  if (w <= 0 || h <= 0) return;
  HDC src = CreateCompatibleDC(dc);
  if (smooth && (w != ScaledSize.cx || h != ScaledSize.cy)) {
    // Halftone averages the pixels each target pixel covers; it is slow, so
    // it runs once per size, not at every paint.
    DropScaled();
    Scaled = CreateCompatibleBitmap(dc, w, h);
    if (Scaled) {
      HDC scaled = CreateCompatibleDC(dc);
      HGDIOBJ oldScaled = SelectObject(scaled, Scaled);
      HGDIOBJ oldSrc = SelectObject(src, Handle);
      SetStretchBltMode(scaled, HALFTONE);
      SetBrushOrgEx(scaled, 0, 0, nullptr);
      StretchBlt(scaled, 0, 0, w, h, src, 0, 0, BitmapWidth, BitmapHeight, SRCCOPY);
      SelectObject(src, oldSrc);
      SelectObject(scaled, oldScaled);
      DeleteDC(scaled);
      ScaledSize = SIZE{w, h};
    }
  }
  if (smooth && Scaled) {
    HGDIOBJ old = SelectObject(src, Scaled);
    BitBlt(dc, target.left, target.top, w, h, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
  } else {
    HGDIOBJ old = SelectObject(src, Handle);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, target.left, target.top, w, h, src, 0, 0, BitmapWidth, BitmapHeight, SRCCOPY);
    SelectObject(src, old);
  }
  DeleteDC(src);
}
