// TOMTransaction: the bounds of an installation run. inBegin starts it:
// with RollBack on, every file the run replaces is kept aside until its end
// (InstallLog). inEnd ends it: every file the run wrote is read back against
// what was written, a file that reads otherwise being a failed write; then,
// when nothing failed, the run is kept, and when something did, RollBack
// puts everything back as it was (the log tells it was put back).
#pragma once

#include "Share.h"

class TOMTransaction : public TOMObject {
public:
  bool RollBack = false; // all or nothing

  void inBegin(TData& value, uint16_t index);
  void inEnd(TData& value, uint16_t index);
};
