// Where the program looks for the libraries it loads.
//
// The program is started from a downloads folder that may hold any file; a
// library planted there under a system library's name must never be loaded.
// Libraries imported by the program file are resolved before any code runs,
// so only the system's known libraries (always taken from the system folder)
// are imported; everything else is loaded on demand through LoadSystemLibrary
// after RestrictDllSearch has run.
#pragma once

#include <windows.h>

// Limits the search for every library loaded from now on (also the ones the
// system libraries load for themselves) to the system folder, and drops the
// current folder from the search. Returns true when the system-folder-only
// search is in force; false on a system without it, where only the current
// folder is dropped. Also loads by their full paths in the system folder the
// libraries that system libraries load late by bare name (theme, picture
// blending; where the limited search is missing, also those of Windows'
// window manager, shell and component libraries), so that no loader can
// take them from the program's folder later.
bool RestrictDllSearch();

// Whether this system can limit a search to the system folder
// (LOAD_LIBRARY_SEARCH_SYSTEM32).
bool SystemFolderSearchAvailable();

// Loads a system library by its bare file name (L"comctl32.dll") from the
// system folder only. A library the application manifest redirects (common
// controls 6.0) still comes from the side-by-side store, since redirection
// applies before any folder is searched. On a system without the limited
// search it is loaded by its full path in the system folder instead.
HMODULE LoadSystemLibrary(const wchar_t* name);
