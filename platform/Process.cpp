#include "Process.h"

#include "DllSearch.h"

void PrepareProcess(bool systemLibrariesOnly) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  if (systemLibrariesOnly) RestrictDllSearch();
}
