#include "DllSearch.h"

#include <cstring>
#include <cwchar>

// The limited-search flags exist from Windows 8 on, and on Windows 7 with its
// update KB2533623; the headers for Windows 7 do not declare them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

// Loaded late, by bare name, by the system's own libraries while the program
// runs through all its pages (a loader trace shows them): the theme library by the
// common controls, the picture blending library by the drawing code. Some
// loaders (Wine's) resolve those requests with the standard search, the
// program's folder first, whatever the limited search says.
const wchar_t* const LateLibraries[] = {L"uxtheme.dll", L"msimg32.dll"};

// What the theme, window manager, shell and component libraries of Windows
// load late by bare name. Where the limited search is in force the system
// keeps every such request in the system folder; where it is missing,
// loading them first is the only guard.
const wchar_t* const WindowsLateLibraries[] = {L"dwmapi.dll",  L"propsys.dll", L"profapi.dll",  L"cryptbase.dll",
                                               L"userenv.dll", L"version.dll", L"oleacc.dll",   L"clbcatq.dll",
                                               L"ntmarta.dll", L"apphelp.dll", L"setupapi.dll", L"winmm.dll"};

FARPROC Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

// A library by its full path in the system folder; a later request by bare
// name finds it in the process. Never freed: it stays for the life of the
// process anyway.
// The altered search makes the library's own imports start from the system
// folder too.
HMODULE LoadFromSystemFolder(const wchar_t* name) {
  wchar_t path[MAX_PATH * 2] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  const size_t nameLength = wcslen(name);
  if (length == 0 || length >= MAX_PATH || length + 1 + nameLength >= MAX_PATH * 2) return nullptr;
  path[length] = L'\\';
  std::memcpy(path + length + 1, name, (nameLength + 1) * sizeof(wchar_t));
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace

bool SystemFolderSearchAvailable() {
  // The documented probe: AddDllDirectory comes with the LOAD_LIBRARY_SEARCH_* flags.
  return Kernel32Function("AddDllDirectory") != nullptr;
}

bool RestrictDllSearch() {
  // An empty text (not null) removes the current folder from the search.
  SetDllDirectoryW(L"");
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(
      reinterpret_cast<void (*)()>(Kernel32Function("SetDefaultDllDirectories")));
  const bool limited = setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  for (const wchar_t* name : LateLibraries) LoadFromSystemFolder(name);
  if (!limited)
    for (const wchar_t* name : WindowsLateLibraries) LoadFromSystemFolder(name);
  return limited;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (SystemFolderSearchAvailable()) return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // No limited search: the full path keeps the program's own folder out.
  return LoadFromSystemFolder(name);
}
