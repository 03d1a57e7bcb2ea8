#include "Bitmap.h"

#include <string>

#include "Layer.h"

TBitmapObject::~TBitmapObject() { SetHandle(nullptr); }

void TBitmapObject::SetHandle(HBITMAP bitmap) {
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
  FatalWindowError("Can not create DIB section, error: " + std::to_string(code) + ", " + SystemMessage(code));
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

void TBitmapObject::Draw(HDC dc, const RECT& target) const {
  if (Empty()) return;
  HDC src = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(src, Handle);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, src, 0, 0,
             BitmapWidth, BitmapHeight, SRCCOPY);
  SelectObject(src, old);
  DeleteDC(src);
}
