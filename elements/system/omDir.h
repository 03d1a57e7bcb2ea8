#pragma once
#include "Share.h"

// Creates a folder with all missing parents; tells where the desktop is.
class TOMDir : public TOMObject {
public:
  TPointLink outCreate;
  // The folder it makes is a product's: guarded against links from there
  // down (Paths.h), and, made or found by an administrator, kept for
  // administrators to change (Access.h).
  bool Guarded = false;

  void inCreate(TData& value, uint16_t index);
  void varDesktop(TData& buffer, uint16_t index);
};

// True when the folder exists afterwards. Parents are made outermost first
// (a doubled backslash counts as one separator); a drive root counts as
// present; a bare name (no ':' or '\') is refused.
bool ForceFolders(const std::string& path);
// The same; when it fails, failedFolder and error tell which level could not
// be made and the system's reason (ERROR_INVALID_NAME for an empty or bare name).
bool ForceFolders(const std::string& path, std::string& failedFolder, uint32_t& error);
// The desktop a shortcut goes to, with one trailing backslash, or "\" when
// it cannot be found: the user's own; for the system's account, whose own no
// person ever sees, the one every user's desktop shows (allUsers).
std::string DesktopFolder(bool allUsers);
// DesktopFolder for this process: all users' when it runs as LocalSystem.
std::string DesktopFolder();
// Each folder the install log says the run made that is empty now,
// innermost first: what a failed run leaves of no use.
void RemoveEmptyFoldersMade();
// The system's folder for programs of this program's bitness, without a
// trailing backslash; "C:\Program Files" when the system does not say.
std::string ProgramFilesFolder();
