#include "Text.h"

namespace {

// Code page 1251, bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
const uint16_t Cp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendCodePoint(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

// The code point that starts at text[at] and the bytes it takes; 0 bytes when
// what starts there is not UTF-8. Encoded surrogates are taken (see Text.h).
size_t DecodeAt(const std::string& text, size_t at, uint32_t& c) {
  const auto byte = [&](size_t i) { return uint8_t(text[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) {
    c = lead;
    return 1;
  }
  size_t length;
  uint32_t least;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2, least = 0x80, c = lead & 0x1F;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3, least = 0x800, c = lead & 0x0F;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4, least = 0x10000, c = lead & 0x07;
  else return 0;
  if (text.size() - at < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  return c >= least && c <= 0x10FFFF ? length : 0; // no overlong form, nothing beyond Unicode
}

} // namespace

bool TextToWide(const std::string& text, TWideText& wide) {
  wide.clear();
  wide.reserve(text.size() + 1);
  bool whole = true;
  for (size_t at = 0; at < text.size();) {
    uint32_t c = 0;
    const size_t length = DecodeAt(text, at, c);
    if (length == 0) {
      whole = false;
      wide.push_back(wchar_t(0xFFFD));
      ++at;
      continue;
    }
    at += length;
    if (c >= 0x10000) {
      wide.push_back(wchar_t(0xD800 + ((c - 0x10000) >> 10)));
      wide.push_back(wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      wide.push_back(wchar_t(c));
    }
  }
  wide.push_back(L'\0');
  return whole;
}

TWideText WideOf(const std::string& text) {
  TWideText wide;
  TextToWide(text, wide);
  return wide;
}

std::string WideToText(const wchar_t* wide, size_t count) {
  std::string text;
  if (!wide) return text;
  for (size_t i = 0; count == std::string::npos ? wide[i] != 0 : i < count; ++i) {
    uint32_t c = uint16_t(wide[i]);
    const bool more = count == std::string::npos ? wide[i + 1] != 0 : i + 1 < count;
    if (c >= 0xD800 && c <= 0xDBFF && more && uint16_t(wide[i + 1]) >= 0xDC00 && uint16_t(wide[i + 1]) <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (uint16_t(wide[++i]) - 0xDC00);
    AppendCodePoint(text, c); // a lone surrogate takes its three bytes
  }
  return text;
}

std::string TextFrom1251(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size() * 2);
  for (char b : bytes) {
    const uint8_t u = uint8_t(b);
    AppendCodePoint(text, u < 0x80 ? u : u < 0xC0 ? Cp1251High[u - 0x80] : 0x0410u + (u - 0xC0u));
  }
  return text;
}

size_t TextOffset(const std::string& text, size_t index) {
  size_t at = 0;
  for (size_t n = 0; n < index && at < text.size(); ++n) {
    uint32_t c = 0;
    const size_t length = DecodeAt(text, at, c);
    at += length ? length : 1; // a byte that is not UTF-8 counts as one character
  }
  return at;
}
