#include "DllSearch.h"

#include <string>

// The limited-search flags exist from Windows 8 on, and on Windows 7 with its
// update KB2533623; the headers for Windows 7 do not declare them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

// Loaded late, by bare name, by the system's own libraries while a whole
// installation runs (a loader trace shows them): the theme library by the
// common controls, the picture blending library by the drawing code. Some
// loaders (Wine's) resolve those requests with the standard search, the
// program's folder first, whatever the limited search says.
const char* const LateLibraries[] = {"uxtheme.dll", "msimg32.dll"};

// What the theme, window manager, shell and component libraries of Windows
// load late by bare name. Where the limited search is in force the system
// keeps every such request in the system folder; where it is missing,
// loading them first is the only guard.
const char* const WindowsLateLibraries[] = {"dwmapi.dll", "propsys.dll", "profapi.dll", "cryptbase.dll",
                                            "userenv.dll", "version.dll", "oleacc.dll", "clbcatq.dll",
                                            "ntmarta.dll", "apphelp.dll", "setupapi.dll", "winmm.dll"};

FARPROC Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

// A library by its full path in the system folder; a later request by bare
// name finds it in the process. Never freed: it stays for the life of the
// process anyway.
// The altered search makes the library's own imports start from the system
// folder too.
HMODULE LoadFromSystemFolder(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

bool SystemFolderSearchAvailable() {
  // The documented probe: AddDllDirectory comes with the LOAD_LIBRARY_SEARCH_* flags.
  return Kernel32Function("AddDllDirectory") != nullptr;
}

bool RestrictDllSearch() {
  // An empty text (not null) removes the current folder from the search.
  SetDllDirectoryA("");
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(
      reinterpret_cast<void (*)()>(Kernel32Function("SetDefaultDllDirectories")));
  const bool limited = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  for (const char* name : LateLibraries) LoadFromSystemFolder(name);
  if (!limited)
    for (const char* name : WindowsLateLibraries) LoadFromSystemFolder(name);
  return limited;
}

HMODULE LoadSystemLibrary(const char* name) {
  if (SystemFolderSearchAvailable()) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // No limited search: the full path keeps the program's own folder out.
  return LoadFromSystemFolder(name);
}
