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
// The user's desktop folder with one trailing backslash, or "\" when it
// cannot be found.
std::string DesktopFolder();
// The system's folder for programs of this program's bitness, without a
// trailing backslash; "C:\Program Files" when the system does not say.
std::string ProgramFilesFolder();
