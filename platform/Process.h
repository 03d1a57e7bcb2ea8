// What the program sets up for its whole process before its first page, and
// the component system of its window thread.
#pragma once

#include <windows.h>
#include <ole2.h> // OleInitialize: not in windows.h with WIN32_LEAN_AND_MEAN

// The first thing the program does: drives without a disc or with a broken
// medium fail their calls instead of asking the user (their failures are
// reported like any other), and, with systemLibrariesOnly, libraries come
// from the system folder only (DllSearch.h), those that system libraries
// load late already loaded from there. (Only a test build leaves the search
// open, to show what it stops.)
void PrepareProcess(bool systemLibrariesOnly);

// The component system on the window thread, for as long as the object
// lives: a single-threaded apartment with OLE, which the shell's folder
// dialog and the shell link object expect of their caller.
class TOleApartment {
public:
  TOleApartment() : Result(OleInitialize(nullptr)) {}
  ~TOleApartment() {
    // Only a successful initialisation is balanced.
    if (SUCCEEDED(Result)) OleUninitialize();
  }
  TOleApartment(const TOleApartment&) = delete;
  TOleApartment& operator=(const TOleApartment&) = delete;

private:
  HRESULT Result;
};
