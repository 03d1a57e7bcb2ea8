// A test element that records what reaches it and can act on the value.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Share.h"

struct TProbe : TOMObject {
  struct TCall {
    TData Value;
    uint16_t Index;
  };
  std::vector<TCall> Calls;
  std::function<void(TData&, uint16_t)> Action; // runs after recording
  TData Supply;                                 // what varGet hands out

  void inTake(TData& value, uint16_t index) {
    Calls.push_back({value, index});
    if (Action) Action(value, index);
  }
  void varGet(TData& buffer, uint16_t index) {
    Calls.push_back({buffer, index});
    buffer = Supply;
  }
  TPointLink In(uint16_t index = 0) { return MakePointLink<&TProbe::inTake>(index, this); }
  TPointLink Var(uint16_t index = 0) { return MakePointLink<&TProbe::varGet>(index, this); }
};

// Every test starts and ends with a live dispatcher, as inside the message loop.
struct LiveDispatch {
  LiveDispatch() { StartDispatch(); }
  ~LiveDispatch() { StopDispatch(); }
};
