// A hook library the tests lay on the installer's window thread: at its first message it writes
// to the file OMBREL_PROBE_REPORT names what the program's entry made of its process and thread.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <cstdio>

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeSetUp(int code, WPARAM wParam, LPARAM lParam) {
  static bool told = false;
  char path[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableA("OMBREL_PROBE_REPORT", path, MAX_PATH);
  if (!told && length > 0 && length < MAX_PATH) {
    told = true;
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const bool apartment = CoGetApartmentType(&type, &qualifier) == S_OK;
    // S_FALSE: OLE was initialised on this thread already; this call is balanced at once.
    const HRESULT ole = OleInitialize(nullptr);
    if (SUCCEEDED(ole)) OleUninitialize();
    char report[160];
    std::snprintf(report, sizeof report, "apartment %s, OLE %s, error mode 0x%X",
                  !apartment ? "none" : type == APTTYPE_MAINSTA || type == APTTYPE_STA ? "single-threaded" : "other",
                  ole == S_FALSE ? "initialised" : "not initialised", GetErrorMode());
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) {
      WriteFile(file, report, DWORD(lstrlenA(report)), &written, nullptr);
      CloseHandle(file);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
