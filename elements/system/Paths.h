// Path operations of the file elements. Paths are plain text, passed to the
// system unchanged: no separator is added or removed.
#pragma once

#include <string>

// "%windir%", "%tmpdir%" and "%sysdir%" replaced by the Windows, temporary and
// system folders, each with one trailing backslash. Case-sensitive.
std::string ExpandPathMacros(const std::string& path);
// ExpandPathMacros, with ProgramFolder in front of a name that has no folder part.
std::string FullFileName(const std::string& path);
// The running program file's folder, ending with a backslash.
std::string ProgramFolder();
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
