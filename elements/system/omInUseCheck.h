// TOMInUseCheck: lets an installation on only when no file it would replace
// is held by another program so that it cannot be replaced (a running copy
// of the product holds its program file): before anything is written, not
// after half of it. Where the system can tell (its Restart Manager), the
// programs that hold them are named.
#pragma once

#include <string>
#include <vector>

#include "Share.h"

class TOMInUseCheck : public TOMObject {
public:
  std::vector<std::string> Files; // what the installation writes, each a path in the folder
  // Seconds to wait for held files to be let go, looking again each second,
  // before giving up; 0: at once. Given up after waiting, each held file goes
  // to the install log as not written.
  int32_t Patience = 0;
  TPointLink getFolder;
  TPointLink outFree; // the event, as it came
  TPointLink outHeld; // a text naming the held files and their programs, for a box

  void inCheck(TData& value, uint16_t index);
  bool Held() const { return FHeld; } // by the last check

private:
  bool FHeld = false;
};

// The names of the programs that hold a file, as the system's Restart
// Manager gives them; empty where it cannot tell.
std::vector<std::string> ProgramsHolding(const std::string& path);
