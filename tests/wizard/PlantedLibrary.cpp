// A library planted beside the installer under the name of a system library. Loading it is the
// fault: on attach it appends its own file name to the file OMBREL_PLANT_MARKER names.
#include <windows.h>

#include <cstdio>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  char marker[MAX_PATH] = {}, name[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("OMBREL_PLANT_MARKER", marker, MAX_PATH);
  std::FILE* file = reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH ? std::fopen(marker, "ab") : nullptr;
  if (file && GetModuleFileNameA(self, name, MAX_PATH)) std::fprintf(file, "%s\r\n", name);
  if (file) std::fclose(file);
  return TRUE;
}
