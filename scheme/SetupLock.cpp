#include "SetupLock.h"

namespace {

// Session-wide when the system-wide name cannot be had (no right to make global objects).
HANDLE NamedMutex(const wchar_t* name, BOOL owned) {
  wchar_t global[64] = L"Global\\", local[64] = L"Local\\";
  lstrcatW(global, name);
  lstrcatW(local, name);
  HANDLE mutex = CreateMutexW(nullptr, owned, global);
  return mutex ? mutex : CreateMutexW(nullptr, owned, local);
}

const wchar_t* const LockName = L"Sorvanta-Setup";
const wchar_t* const AtWorkName = L"Sorvanta-Setup-Finishing";

// How long an uninstaller's copy may take to remove the uninstaller: it
// retries for a few seconds while the system lets go of the ended program.
constexpr DWORD CopyWait = 60000;

bool Taken(HANDLE mutex, DWORD wait) {
  const DWORD result = mutex ? WaitForSingleObject(mutex, wait) : WAIT_FAILED;
  // Abandoned: a run that ended without letting go; it is over all the same.
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

} // namespace

TSetupLock::TSetupLock() {
  // Opened, never made here: only a copy at work has one.
  wchar_t name[64] = L"Global\\";
  lstrcatW(name, AtWorkName);
  HANDLE copy = OpenMutexW(SYNCHRONIZE, FALSE, name);
  if (!copy) {
    lstrcpyW(name, L"Local\\");
    lstrcatW(name, AtWorkName);
    copy = OpenMutexW(SYNCHRONIZE, FALSE, name);
  }
  if (copy) {
    if (Taken(copy, CopyWait)) ReleaseMutex(copy);
    CloseHandle(copy);
  }
  FMutex = NamedMutex(LockName, FALSE);
  FHeld = Taken(FMutex, 0);
}

TSetupLock::TSetupLock(DWORD wait) : FMutex(NamedMutex(LockName, FALSE)), FHeld(Taken(FMutex, wait)) {}

TSetupLock TSetupLock::AfterUninstaller() { return TSetupLock(CopyWait); }

TSetupLock::~TSetupLock() {
  if (FHeld) ReleaseMutex(FMutex);
  if (FMutex) CloseHandle(FMutex);
}

TCopyAtWork::TCopyAtWork() : FMarker(NamedMutex(AtWorkName, TRUE)) {}

TCopyAtWork::~TCopyAtWork() {
  if (!FMarker) return;
  ReleaseMutex(FMarker);
  CloseHandle(FMarker);
}
