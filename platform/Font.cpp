// Colours and fonts of the window objects.
#include <algorithm>
#include <cstring>

#include "Text.h"
#include "Window.h"

COLORREF ResolveColor(int32_t color) {
  if (color < 0) return GetSysColor(int(uint32_t(color) & 0xFF));
  return COLORREF(color);
}


TFontObject::TFontObject() {
  Log.lfHeight = -11;
  Log.lfWeight = FW_NORMAL;
  Log.lfCharSet = DEFAULT_CHARSET;
  Log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  Log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Log.lfQuality = DEFAULT_QUALITY;
  Log.lfPitchAndFamily = DEFAULT_PITCH;
  std::memcpy(Log.lfFaceName, L"MS Sans Serif", sizeof L"MS Sans Serif");
}

TFontObject::TFontObject(const TFontObject& other) : Color(other.Color), Log(other.Log), Trim(other.Trim) {}

TFontObject& TFontObject::operator=(const TFontObject& other) {
  if (this != &other) {
    Discard();
    Color = other.Color;
    Log = other.Log;
    Trim = other.Trim;
  }
  return *this;
}

TFontObject::~TFontObject() { Discard(); }

void TFontObject::Discard() {
  if (Handle) DeleteObject(Handle);
  Handle = nullptr;
}

void TFontObject::SetName(const std::string& name) {
  Discard();
  const TWideText wide = WideOf(name);
  size_t n = std::min<size_t>(wide.size() - 1, LF_FACESIZE - 1);
  std::memcpy(Log.lfFaceName, wide.data(), n * sizeof(wchar_t));
  Log.lfFaceName[n] = L'\0';
}

std::string TFontObject::GetName() const { return WideToText(Log.lfFaceName); }

void TFontObject::SetHeight(int32_t height) {
  Discard();
  Log.lfHeight = height;
}

void TFontObject::SetTrim(int32_t pixels) {
  Discard();
  Trim = pixels;
}

void TFontObject::SetBold(bool on) {
  Discard();
  if (on) {
    if (Log.lfWeight < FW_BOLD) Log.lfWeight = FW_BOLD;
  } else if (Log.lfWeight >= FW_BOLD) {
    Log.lfWeight = 0;
  }
}

void TFontObject::SetStyle(uint8_t style) {
  SetBold(style & 1);
  Log.lfItalic = (style & 2) ? 1 : 0;
  Log.lfUnderline = (style & 4) ? 1 : 0;
  Log.lfStrikeOut = (style & 8) ? 1 : 0;
}

uint8_t TFontObject::GetStyle() const {
  return uint8_t((Log.lfWeight >= FW_BOLD ? 1 : 0) | (Log.lfItalic ? 2 : 0) | (Log.lfUnderline ? 4 : 0) |
                 (Log.lfStrikeOut ? 8 : 0));
}

void TFontObject::SetCharset(uint8_t charset) {
  Discard();
  Log.lfCharSet = charset;
}

HFONT TFontObject::GetHandle(UINT dpi) {
  if (Handle && HandleDpi == dpi) return Handle;
  Discard();
  // The program's texts are Russian. The default character set is the
  // system's own, and the font mapper puts a face of that set in place of
  // the one asked for (a Chinese system draws "Arial" in a face of its own):
  // here it means the Cyrillic set, which the faces asked for have.
  LOGFONTW log = Log;
  if (log.lfCharSet == DEFAULT_CHARSET) log.lfCharSet = RUSSIAN_CHARSET;
  log.lfHeight = MulDiv(log.lfHeight, int(dpi), 96);
  log.lfHeight += log.lfHeight > 0 ? -Trim : Trim;
  Handle = CreateFontIndirectW(&log);
  HandleDpi = dpi;
  return Handle;
}

