// Path operations of the file elements. Paths are plain text, passed to the
// system unchanged: no separator is added or removed.
#pragma once

#include <string>

#include "Text.h"

// The path for the system's wide functions. False when it is not UTF-8, with
// the system's error for text it cannot map (ERROR_NO_UNICODE_TRANSLATION) as
// the last error: nothing is made under a name a conversion would change.
bool WidePath(const std::string& path, TWideText& wide);

// "%windir%", "%tmpdir%" and "%sysdir%" replaced by the Windows, temporary and
// system folders, each with one trailing backslash. Case-sensitive.
std::string ExpandPathMacros(const std::string& path);
// ExpandPathMacros, with ProgramFolder in front of a name that has no folder part.
std::string FullFileName(const std::string& path);
// The running program file's folder, ending with a backslash.
std::string ProgramFolder();
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
