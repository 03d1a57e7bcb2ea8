// Values and points: the record that travels along a link, the link itself,
// conversions, firing, reading and the process-wide point dispatcher.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Text is UTF-8 (Text.h); a build whose compiler turns the program's texts
// into another code page stops here.
static_assert(sizeof("Ж") == 3 && static_cast<unsigned char>("Ж"[0]) == 0xD0, "texts must compile to UTF-8");

class TByteStream;   // elements/system: a dkStream value refers to one, never owns it
class TWindowObject; // platform: the window object a page is created in

// Base of every element: plain, not copyable, freed by its owner.
class TOMObject {
public:
  TOMObject() = default;
  TOMObject(const TOMObject&) = delete;
  TOMObject& operator=(const TOMObject&) = delete;
  virtual ~TOMObject() = default;
};

enum TDataKind : uint8_t {
  dkNull = 0,
  dkInteger = 1,
  dkString = 2,
  dkReal = 7,
  dkStream = 10,
  dkForward = 128,
};

struct TPointLink;

struct TData {
  uint8_t Kind = dkNull;
  int32_t IntValue = 0;
  std::string StrValue;
  double RealValue = 0.0;
  TPointLink* ForwardLink = nullptr;
  TData* Next = nullptr;            // not owned: the chain belongs to whoever built it
  TByteStream* StreamValue = nullptr; // not owned; meaningful for dkStream only
};

// Element-method shape: every input method and every data method.
using TElementMethod = void (*)(void* element, TData& value, uint16_t index);

struct TPointLink {
  TElementMethod Method = nullptr;
  void* Target = nullptr;
  uint16_t Index = 0;
};

// --- linking to a member of a concrete element, checked by the compiler ---
namespace share_detail {
template <class M> struct MemberOf;
template <class C> struct MemberOf<void (C::*)(TData&, uint16_t)> { using Type = C; };
template <auto M> void MethodThunk(void* element, TData& value, uint16_t index) {
  using C = typename MemberOf<decltype(M)>::Type;
  (static_cast<C*>(element)->*M)(value, index);
}
} // namespace share_detail

// MakePointLink<&TOMHub::inDo>(0, hub): the target pointer is converted to the
// class that declares the method before it is stored, so inherited points link
// correctly through any base.
template <auto M>
TPointLink MakePointLink(uint16_t index, typename share_detail::MemberOf<decltype(M)>::Type* target) {
  return TPointLink{&share_detail::MethodThunk<M>, target, index};
}
inline TPointLink MakePointLink(uint16_t index, TElementMethod method, void* target) {
  return TPointLink{method, target, index};
}

// --- conversions (never fail) ---
int32_t TextToInteger(const std::string& s);
double TextToReal(const std::string& s);
std::string IntegerToText(int32_t v);
std::string RealToText(double v);

int32_t DataToInteger(const TData& v);
std::string DataToString(const TData& v);
double DataToReal(const TData& v);
bool DataIsTrue(const TData& v);
int DataKindOf(const TData& v);

// --- builders ---
TData IntegerData(int32_t v);
TData StringData(std::string s);
TData StreamData(TByteStream* stream);
void SetIntegerData(TData& value, int32_t v);
void SetStringData(TData& value, std::string s);
void SetStreamData(TData& value, TByteStream* stream);
void ClearData(TData& value);

// --- firing ---
void Fire(const TPointLink& link, TData& value);
void FireInteger(const TPointLink& link, int32_t v);
void FireString(const TPointLink& link, const std::string& s);
void FireStream(const TPointLink& link, TByteStream* stream);
void FireNull(const TPointLink& link);
void ForwardValue(TData& event, const TPointLink& link, const TData& value);
void ForwardNull(TData& event, const TPointLink& link);

// --- reading ---
int32_t ReadPointInteger(TData& event, const TPointLink& link, int32_t property);
std::string ReadPointString(TData& event, const TPointLink& link, const std::string& property);
TData ReadPointData(TData& event, const TPointLink& link, const TData* property);
void PullPoint(TData& buffer, const TPointLink& link);
TData TakeEventValue(TData& event);

// --- the dispatcher: muted until the main form starts ---
using TPointDispatcher = void (*)(const TPointLink& link, TData& value);
extern TPointDispatcher PointDispatcher;
void StartDispatch();
void StopDispatch();
bool DispatchIsLive();

// --- font description of window elements ---
struct TFontRec {
  std::string Name;
  uint8_t Size = 0;
  uint8_t Style = 0;   // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  int32_t Color = 0;
  uint8_t Charset = 1;
};
TFontRec MakeFontRec(std::string name, uint8_t size, uint8_t style, int32_t color, uint8_t charset);

// --- owner window of message boxes and folder dialogs ---
// The window layer registers where the handle comes from while an application
// window exists; without one the owner is 0.
using TMainWindowSource = uintptr_t (*)();
void SetMainWindowSource(TMainWindowSource source);
uintptr_t MainWindowHandle();

// A numbered point of a link array; an index beyond it reads as unlinked.
inline const TPointLink& LinkAt(const std::vector<TPointLink>& links, size_t index) {
  static const TPointLink unlinked;
  return index < links.size() ? links[index] : unlinked;
}
