// A test element that records what reaches it and can act on the value.
#pragma once

#include <functional>

#include "Share.h" // std::string, std::vector

inline TData RealData(double v) { return TData{dkReal, 0, "", v}; }
inline TData Chain(TData head, TData* next) { head.Next = next; return head; } // head, then next and its chain

// A value as short text that shows its kind: -, 'text', 7, 2.5r, else #kind (a leftover dkForward too).
inline std::string Show(const TData& d) {
  if (d.Kind == dkNull) return "-";
  if (d.Kind == dkString) return "'" + d.StrValue + "'";
  if (d.Kind == dkReal) return RealToText(d.RealValue) + "r";
  return d.Kind == dkInteger ? std::to_string(d.IntValue) : "#" + std::to_string(d.Kind);
}

// Texts joined by spaces. A braced list runs its calls in order (a + b need not), so steps can share a Join.
inline std::string Join(const std::vector<std::string>& texts) {
  std::string s;
  for (size_t i = 0; i < texts.size(); ++i) s += (i ? " " : "") + texts[i];
  return s;
}

struct TProbe : TOMObject {
  std::vector<TData> Got;             // each value as it arrived, or as a pull handed it out
  std::vector<const TData*> At;       // where it lived: the caller's own TData or a copy
  std::vector<uint16_t> Index;
  std::function<void(TData&)> Action; // runs last, on the value or the filled buffer
  TData Supply;                       // what a pull through Var() hands out

  explicit TProbe(TData supply = TData()) : Supply(std::move(supply)) {}
  void inTake(TData& value, uint16_t index) {
    Got.push_back(value);
    At.push_back(&value);
    Index.push_back(index);
    if (Action) Action(value);
  }
  void varGet(TData& buffer, uint16_t index) { inTake(buffer = Supply, index); }
  TPointLink In(uint16_t index = 0) { return MakePointLink<&TProbe::inTake>(index, this); }
  TPointLink Var(uint16_t index = 0) { return MakePointLink<&TProbe::varGet>(index, this); }
  std::string Seen() const { // what arrived, shown and joined
    std::vector<std::string> shown;
    for (const TData& d : Got) shown.push_back(Show(d));
    return Join(shown);
  }
};

// Every test runs with a live dispatcher, as inside the message loop.
inline const struct TLiveForTests { TLiveForTests() { StartDispatch(); } } LiveForTests;
