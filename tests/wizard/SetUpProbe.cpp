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
  std::FILE* report = !told && length > 0 && length < MAX_PATH ? std::fopen(path, "w") : nullptr;
  if (report) {
    told = true;
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const bool apartment = CoGetApartmentType(&type, &qualifier) == S_OK;
    // S_FALSE: OLE was initialised on this thread already; this call is balanced at once.
    const HRESULT ole = OleInitialize(nullptr);
    if (SUCCEEDED(ole)) OleUninitialize();
    std::fprintf(report, "apartment %s, OLE %s, error mode 0x%X",
                 !apartment ? "none" : type == APTTYPE_MAINSTA || type == APTTYPE_STA ? "single-threaded" : "other",
                 ole == S_FALSE ? "initialised" : "not initialised", GetErrorMode());
    std::fclose(report);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
