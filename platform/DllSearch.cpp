#include "DllSearch.h"

#include <string>

// The limited-search flags exist from Windows 8 on, and on Windows 7 with its
// update KB2533623; the headers for Windows 7 do not declare them.
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

const char* const PinnedLibraries[] = {"uxtheme.dll", "msimg32.dll"};

FARPROC Kernel32Function(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
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
  // The theme and picture-blending libraries are loaded late, while windows
  // are drawn, by the system's own libraries through their delay-load
  // imports; some loaders (Wine's) resolve those with the standard search,
  // the program's folder first, whatever the default above says. Loaded now
  // from the system folder, the late requests find them already in the
  // process. Never freed: they stay for the life of the process anyway.
  for (const char* name : PinnedLibraries) LoadSystemLibrary(name);
  return limited;
}

HMODULE LoadSystemLibrary(const char* name) {
  if (SystemFolderSearchAvailable()) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // No limited search: the full path keeps the program's own folder out; the
  // altered search makes the library's own imports start from the system
  // folder too.
  char folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
