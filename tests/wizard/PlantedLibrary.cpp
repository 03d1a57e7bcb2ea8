// A library planted beside the installer under the name of a system library. Loading it is the
// fault: on attach it appends its own file name to the file OMBREL_PLANT_MARKER names.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  char marker[MAX_PATH] = {}, name[MAX_PATH + 2] = {};
  const DWORD length = GetEnvironmentVariableA("OMBREL_PLANT_MARKER", marker, MAX_PATH);
  if (reason != DLL_PROCESS_ATTACH || length == 0 || length >= MAX_PATH) return TRUE;
  GetModuleFileNameA(self, name, MAX_PATH);
  lstrcatA(name, "\r\n");
  HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  if (file == INVALID_HANDLE_VALUE) return TRUE;
  WriteFile(file, name, lstrlenA(name), &written, nullptr);
  CloseHandle(file);
  return TRUE;
}
