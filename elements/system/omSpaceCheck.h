#pragma once
#include "Share.h"

// Lets an event on only when the drive of a folder has room for what is to
// be written there, or when the system cannot tell its free space (the
// writes then say for themselves what failed); else fires outShort instead.
class TOMSpaceCheck : public TOMObject {
public:
  int64_t Needed = 0; // bytes
  TPointLink getFolder;
  TPointLink outEnough; // the event, as it came
  TPointLink outShort;  // null

  void inCheck(TData& value, uint16_t index);
};

// The bytes on the folder's drive that this user may still fill; -1 when the
// system cannot tell (no such folder or drive).
int64_t FolderFreeBytes(const std::string& folder);
