// A library planted beside the installer under the name of a system library. Loading it is the
// fault: on attach it appends its own file name to the file OMBREL_PLANT_MARKER names, marked
// "(at start)" when the system loaded it with the program's imports, before any code of the
// program ran.
#include <windows.h>

#include <cstdio>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  char marker[MAX_PATH] = {}, name[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("OMBREL_PLANT_MARKER", marker, MAX_PATH);
  std::FILE* file = reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH ? std::fopen(marker, "ab") : nullptr;
  // The system says which: a library it loads with a program's imports is told so.
  if (file && GetModuleFileNameA(self, name, MAX_PATH)) std::fprintf(file, "%s%s\r\n", name, reserved ? " (at start)" : "");
  if (file) std::fclose(file);
  return TRUE;
}
