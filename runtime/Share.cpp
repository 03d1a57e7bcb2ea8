#include "Share.h"

#include <cmath>
#include <utility>

// ---------------------------------------------------------------- conversions

namespace {

// Ten to an integer power by squaring: exact up to 10^27, a few units of the
// last of long double's 64 bits beyond (far below a 15-digit rounding step).
// The C library's powl, for any power, would bring its logarithm and
// exponential along.
long double TenToThe(int32_t power) {
  long double result = 1.0L, square = 10.0L;
  for (uint32_t k = power < 0 ? 0u - uint32_t(power) : uint32_t(power); k != 0; k >>= 1, square *= square)
    if (k & 1u) result *= square;
  return power < 0 ? 1.0L / result : result;
}

} // namespace

int32_t TextToInteger(const std::string& s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    negative = s[i] == '-';
    ++i;
  }
  uint32_t v = 0; // unsigned so that the documented wrap-around is defined
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10u + uint32_t(s[i] - '0');
  if (negative) v = 0u - v;
  return int32_t(v);
}

double TextToReal(const std::string& s) {
  if (s.empty()) return 0.0;
  bool negative = s[0] == '-';
  double v = 0.0;
  bool fraction = false;
  double scale = 1.0;
  for (size_t i = negative ? 1 : 0; i < s.size(); ++i) {
    char c = s[i];
    if (c >= '0' && c <= '9') {
      if (fraction) {
        scale /= 10.0;
        v += (c - '0') * scale;
      } else {
        v = v * 10.0 + (c - '0');
      }
    } else if (c == '.') {
      if (fraction) break;
      fraction = true;
    } else if (c == 'E' || c == 'e') {
      int32_t power = TextToInteger(s.substr(i + 1));
      v *= double(TenToThe(power));
      break;
    }
  }
  return negative ? -v : v;
}

std::string IntegerToText(int32_t v) {
  char buffer[16];
  char* end = buffer + sizeof buffer;
  char* p = end;
  uint32_t magnitude = v < 0 ? 0u - uint32_t(v) : uint32_t(v);
  do {
    *--p = char('0' + magnitude % 10u);
    magnitude /= 10u;
  } while (magnitude != 0);
  if (v < 0) *--p = '-';
  return std::string(p, end);
}

// Fifteen significant digits, never an exponent: the digits come from an exact
// 15-digit rounding of the value (halves to even), then the point is placed.
std::string RealToText(double v) {
  if (v == 0.0 || std::isnan(v)) return "0";
  if (std::isinf(v)) return v < 0 ? "-" : "";
  bool negative = v < 0;
  double a = std::fabs(v);
  // n: digits before the decimal point (0 or negative below 1)
  int n = int(std::floor(std::log10(a))) + 1;
  // scaled into [1e14, 1e15): long double keeps the scaling error below the
  // rounding step for every finite double
  long double scaled = (long double)a * TenToThe(15 - n);
  while (scaled >= 1e15L) { scaled /= 10.0L; ++n; }
  while (scaled < 1e14L) { scaled *= 10.0L; --n; }
  long double rounded = nearbyintl(scaled); // default rounding mode: halves to even
  if (rounded >= 1e15L) { rounded = 1e14L; ++n; }
  // exactly 15 digits, as rounded lies in [1e14, 1e15)
  std::string d(15, '0');
  long long r = (long long)rounded;
  for (size_t i = d.size(); i-- > 0; r /= 10) d[i] = char('0' + r % 10);
  std::string out;
  if (n >= 15) {
    out = d + std::string(size_t(n - 15), '0');
  } else if (n > 0) {
    out = d.substr(0, size_t(n)) + "." + d.substr(size_t(n));
  } else {
    out = "0." + std::string(size_t(-n), '0') + d;
  }
  if (out.find('.') != std::string::npos) {
    size_t last = out.find_last_not_of('0');
    out.erase(last + 1);
    if (out.back() == '.') out.pop_back();
  }
  return negative ? "-" + out : out;
}

int32_t DataToInteger(const TData& v) {
  switch (v.Kind & ~dkForward) {
  case dkInteger: return v.IntValue;
  case dkString: return TextToInteger(v.StrValue);
  case dkReal: {
    double r = std::nearbyint(v.RealValue); // halves to even
    if (!(r >= -9.2e18 && r <= 9.2e18)) return 0; // NaN and beyond 64 bits: nothing to keep
    return int32_t(uint32_t(uint64_t(int64_t(r))));
  }
  default: return 0;
  }
}

std::string DataToString(const TData& v) {
  switch (v.Kind & ~dkForward) {
  case dkInteger: return IntegerToText(v.IntValue);
  case dkString: return v.StrValue;
  case dkReal: return RealToText(v.RealValue);
  default: return std::string();
  }
}

double DataToReal(const TData& v) {
  switch (v.Kind & ~dkForward) {
  case dkInteger: return double(v.IntValue);
  case dkString: return TextToReal(v.StrValue);
  case dkReal: return v.RealValue;
  default: return 0.0;
  }
}

bool DataIsTrue(const TData& v) { return !((v.Kind & ~dkForward) == dkInteger && v.IntValue == 0); }

int DataKindOf(const TData& v) { return v.Kind; }

// ------------------------------------------------------------------- builders

TData IntegerData(int32_t v) {
  TData d;
  d.Kind = dkInteger;
  d.IntValue = v;
  return d;
}

TData StringData(std::string s) {
  TData d;
  d.Kind = dkString;
  d.StrValue = std::move(s);
  return d;
}

TData StreamData(TByteStream* stream) {
  TData d;
  d.Kind = dkStream;
  d.StreamValue = stream;
  return d;
}

void SetIntegerData(TData& value, int32_t v) {
  value.Kind = dkInteger;
  value.IntValue = v;
  value.Next = nullptr;
}

void SetStringData(TData& value, std::string s) {
  value.Kind = dkString;
  value.StrValue = std::move(s);
  value.Next = nullptr;
}

void SetStreamData(TData& value, TByteStream* stream) {
  value.Kind = dkStream;
  value.StreamValue = stream;
  value.Next = nullptr;
}

void ClearData(TData& value) {
  value.Kind = dkNull;
  value.Next = nullptr;
}

// ----------------------------------------------------------------- dispatcher

namespace {

void DispatchMuted(const TPointLink&, TData&) {}

// Forwarding turns "fire as the last action" into a loop here, so chains of
// forwarding elements run at constant stack depth.
void DispatchLive(const TPointLink& first, TData& value) {
  const TPointLink* link = &first;
  while (link && link->Method) {
    link->Method(link->Target, value, link->Index);
    if (!(value.Kind & dkForward)) return;
    value.Kind = uint8_t(value.Kind & ~dkForward);
    link = value.ForwardLink;
  }
}

TMainWindowSource MainWindowSource = nullptr;

} // namespace

TPointDispatcher PointDispatcher = DispatchMuted;

void StartDispatch() { PointDispatcher = DispatchLive; }
void StopDispatch() { PointDispatcher = DispatchMuted; }
bool DispatchIsLive() { return PointDispatcher == DispatchLive; }

void Fire(const TPointLink& link, TData& value) {
  if (link.Method) PointDispatcher(link, value);
}

void FireInteger(const TPointLink& link, int32_t v) {
  if (!link.Method) return;
  TData d = IntegerData(v);
  PointDispatcher(link, d);
}

void FireString(const TPointLink& link, const std::string& s) {
  if (!link.Method) return;
  TData d = StringData(s);
  PointDispatcher(link, d);
}

void FireStream(const TPointLink& link, TByteStream* stream) {
  if (!link.Method) return;
  TData d = StreamData(stream);
  PointDispatcher(link, d);
}

void FireNull(const TPointLink& link) {
  if (!link.Method) return;
  TData d;
  PointDispatcher(link, d);
}

void ForwardValue(TData& event, const TPointLink& link, const TData& value) {
  if (&event != &value) event = value;
  event.Kind = uint8_t(event.Kind | dkForward);
  event.ForwardLink = const_cast<TPointLink*>(&link);
}

void ForwardNull(TData& event, const TPointLink& link) {
  event.Kind = dkNull | dkForward;
  event.ForwardLink = const_cast<TPointLink*>(&link);
}

// -------------------------------------------------------------------- readers

void PullPoint(TData& buffer, const TPointLink& link) {
  ClearData(buffer);
  if (link.Method) PointDispatcher(link, buffer);
}

namespace {

// After a reader has taken the event's head value: the next value of the
// chain becomes the head, or the event is empty.
void ConsumeEvent(TData& event) {
  if (event.Next) {
    TData* next = event.Next;
    event = *next;
  } else {
    event.Kind = dkNull;
  }
}

} // namespace

int32_t ReadPointInteger(TData& event, const TPointLink& link, int32_t property) {
  if (link.Method) {
    TData buffer;
    PullPoint(buffer, link);
    return DataToInteger(buffer);
  }
  if (property != 0 || event.Kind == dkNull) return property;
  int32_t result = DataToInteger(event);
  ConsumeEvent(event);
  return result;
}

std::string ReadPointString(TData& event, const TPointLink& link, const std::string& property) {
  if (link.Method) {
    TData buffer;
    PullPoint(buffer, link);
    return DataToString(buffer);
  }
  if (!property.empty() || event.Kind == dkNull) return property;
  std::string result = DataToString(event);
  ConsumeEvent(event);
  return result;
}

TData ReadPointData(TData& event, const TPointLink& link, const TData* property) {
  if (link.Method) {
    TData buffer;
    PullPoint(buffer, link);
    return buffer;
  }
  if ((property && property->Kind != dkNull) || event.Kind == dkNull) return property ? *property : TData();
  TData result = event;
  result.Next = nullptr;
  ConsumeEvent(event);
  return result;
}

TData TakeEventValue(TData& event) { return ReadPointData(event, TPointLink(), nullptr); }

// ---------------------------------------------------------------------- fonts

TFontRec MakeFontRec(std::string name, uint8_t size, uint8_t style, int32_t color, uint8_t charset) {
  TFontRec f;
  f.Name = std::move(name);
  f.Size = size;
  f.Style = style;
  f.Color = color;
  f.Charset = charset;
  return f;
}

// --------------------------------------------------------------- owner window

void SetMainWindowSource(TMainWindowSource source) { MainWindowSource = source; }

uintptr_t MainWindowHandle() { return MainWindowSource ? MainWindowSource() : 0; }
