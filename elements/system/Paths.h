// Path operations of the file elements. Paths are plain text, passed to the
// system unchanged: no separator is added or removed.
#pragma once

#include <cstdint>
#include <string>

#include "Text.h"

// The system's code for an object reached through a reparse point, which
// older headers lack.
#ifndef ERROR_REPARSE_POINT_ENCOUNTERED
#define ERROR_REPARSE_POINT_ENCOUNTERED 4395L
#endif

// The path for the system's wide functions. False when it is not UTF-8, with
// the system's error for text it cannot map (ERROR_NO_UNICODE_TRANSLATION) as
// the last error: nothing is made under a name a conversion would change.
bool WidePath(const std::string& path, TWideText& wide);

// A file is written whole or not at all: under a temporary name in its
// folder first, then moved over the target in one step once complete, so an
// older file stays as it was until then and nothing half-written is ever left
// under the target's name.
// Whether another program holds the file so that it cannot be replaced, as a
// running program holds its own file: the test every write makes first.
bool HeldByAnother(const std::string& path);
// A new, empty temporary file beside the target, left open for writing in
// *open (a HANDLE) when asked for; 0, or the system's error.
uint32_t MakeTempBeside(const std::string& target, TWideText& temp, void** open = nullptr);
// What a file was written with: its size and CRC-32.
struct TDigest {
  uint64_t Size = 0;
  uint32_t Crc = 0;
};
// The digest of a file as it is now; false when it cannot be read whole.
bool DigestOf(const TWideText& path, TDigest& digest);
// Moves the complete temporary file over the target, replacing it; removes it
// when that fails. The move goes into the install log with the digest it was
// written with (read from the temporary file when not given), and, while the
// log keeps older files, an older target is first moved aside, beside it,
// until the run ends. 0, or the system's error.
uint32_t MoveOver(const TWideText& temp, const std::string& target, const TDigest* written = nullptr);

// The path made whole as every file function of the system reads it
// (GetFullPathNameW): from the working folder when relative, "." and ".."
// and doubled separators resolved. The path as it is when it cannot be.
std::string FullPath(const std::string& path);
// A folder named as a whole, on a drive ("D:\\x") or a network share
// ("\\\\server\\share\\x"), made whole in whole (FullPath), without trailing
// backslashes but a root's. False for a relative or drive-relative name
// ("x", ".", "D:x"), one on the current drive's root ("\\x"), a device's, and
// one the system cannot make whole.
bool WholeFolder(const std::string& folder, std::string& whole);
// Whether path is folder itself or lies below it, both made whole, letter
// case ignored as the file system ignores it.
bool IsWithin(const std::string& path, const std::string& folder);

// A folder an installation puts its product in is guarded: from it down,
// nothing is made, written or removed through a reparse point (a junction,
// a symbolic link, a mount point) that is there already, since whoever put
// it there could make it lead anywhere. One folder at a time; empty: none.
void GuardFolder(const std::string& folder);
// ERROR_REPARSE_POINT_ENCOUNTERED when the guarded folder, or a folder or
// file on the way from it down to path, exists as a reparse point; 0 when
// none does, and for a path outside the guarded folder.
uint32_t LinkOnTheWay(const std::string& path);

// "%windir%", "%tmpdir%" and "%sysdir%" replaced by the Windows, temporary and
// system folders, each with one trailing backslash. Case-sensitive. The
// temporary folder is the one the system gives this account: for the
// system's own account, where the system has one, a folder only it may use.
std::string ExpandPathMacros(const std::string& path);
// ExpandPathMacros, with ProgramFolder in front of a name that has no folder part.
std::string FullFileName(const std::string& path);
// The running program file's folder, ending with a backslash.
std::string ProgramFolder();
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
