// One installer or uninstaller of the product at a time, on the whole
// system: two at once would each write the other's record and entry.
#pragma once

#include <windows.h>

// Held for the life of the object when it could be taken. An uninstaller's
// copy that is still removing the uninstaller it ran for is waited for (a
// deployment tool starts the next installation as soon as the uninstaller
// has ended); anyone else holding it means another run is going on.
class TSetupLock {
public:
  TSetupLock();
  ~TSetupLock();
  TSetupLock(const TSetupLock&) = delete;
  TSetupLock& operator=(const TSetupLock&) = delete;
  bool Held() const { return FHeld; }

  // For an uninstaller's copy: taken as soon as the uninstaller it waits for
  // lets it go, with nothing in between.
  static TSetupLock AfterUninstaller();

private:
  explicit TSetupLock(DWORD wait);
  HANDLE FMutex = nullptr;
  bool FHeld = false;
};

// Marks, while it lives, an uninstaller's copy at work: made before the
// uninstaller ends, so that whatever starts after it waits for the copy.
class TCopyAtWork {
public:
  TCopyAtWork();
  ~TCopyAtWork();
  TCopyAtWork(const TCopyAtWork&) = delete;
  TCopyAtWork& operator=(const TCopyAtWork&) = delete;

private:
  HANDLE FMarker = nullptr;
};
