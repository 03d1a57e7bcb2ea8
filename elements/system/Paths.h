// Path operations of the file elements. Paths are plain text, passed to the
// system unchanged: no separator is added or removed.
#pragma once

#include <string>

#include "Text.h"

// The path for the system's wide functions. False when it is not UTF-8, with
// the system's error for text it cannot map (ERROR_NO_UNICODE_TRANSLATION) as
// the last error: nothing is made under a name a conversion would change.
bool WidePath(const std::string& path, TWideText& wide);

// A file is written whole or not at all: under a temporary name in its
// folder first, then moved over the target in one step once complete, so an
// older file stays as it was until then and nothing half-written is ever left
// under the target's name.
// A new, empty temporary file beside the target, left open for writing in
// *open (a HANDLE) when asked for; 0, or the system's error.
uint32_t MakeTempBeside(const std::string& target, TWideText& temp, void** open = nullptr);
// Moves the complete temporary file over the target, replacing it; removes it
// when that fails. 0, or the system's error.
uint32_t MoveOver(const TWideText& temp, const std::string& target);

// "%windir%", "%tmpdir%" and "%sysdir%" replaced by the Windows, temporary and
// system folders, each with one trailing backslash. Case-sensitive.
std::string ExpandPathMacros(const std::string& path);
// ExpandPathMacros, with ProgramFolder in front of a name that has no folder part.
std::string FullFileName(const std::string& path);
// The running program file's folder, ending with a backslash.
std::string ProgramFolder();
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
