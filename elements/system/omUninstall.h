// The uninstaller. The installation makes it last: uninstall.exe in the
// product folder, which is this program without its payload and with a
// record of what the installation made in its place, and the product's entry
// in the system's list of installed programs, which starts it. Run, it
// removes exactly what the record names.
#pragma once

#include <string>
#include <vector>

#include "InstallLog.h"
#include "Share.h"

constexpr char UninstallerName[] = "uninstall.exe";
// Where the system lists installed programs, in the registry view of the
// program's own bitness (a 32-bit program's list on a 64-bit system is its own).
constexpr char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// What an uninstaller carries.
struct TUninstallRecord {
  std::string Key;             // its entry's key name under UninstallKey
  std::string Uninstaller;     // its own path
  std::vector<TMadeItem> Made; // what the installation made, in the order made
};

// Where the system's entry of this key says the product is; empty for none.
std::string EntryLocation(const std::string& key);

// The record this program carries when it is an uninstaller; false for the
// installer, and for an uninstaller whose record does not read back whole.
bool ReadOwnRecord(TUninstallRecord& record);

// Makes the uninstaller from everything the install log says was made, then
// registers the product with the system. Over an earlier installation into
// the same product folder, which the system's entry names, it also keeps
// the folders that one made: an uninstaller found where no entry leads was
// put there by someone else, and nothing of it is taken. inWrite takes the product folder as
// its text; what cannot be written goes to the install log, as any other
// write of the installation.
class TOMUninstall : public TOMObject {
public:
  std::string Key; // under UninstallKey
  std::string DisplayName;
  std::string DisplayVersion;
  std::string ProgramName; // the product's program in the product folder: the entry shows its icon

  void inWrite(TData& value, uint16_t index);
};

// The uninstaller's work while it runs. It governs only its own product:
// what lies in the product folder, the folder it runs from; the folders
// that hold that folder, which the installation made (each removed only
// once empty); a shortcut that leads into the folder; and the entry whose
// InstallLocation the folder is. It removes every file of those the record
// names, each folder once it is empty, then the entry. Anything else a
// record names stays, and so does whatever lies through a link; both go to
// the install log as what could not be removed, as does what cannot be.
// The uninstaller itself, and with it the folders that hold it, stay for
// its copy. Something already gone counts as removed: a second run is harmless.
void RemoveInstallation(const TUninstallRecord& record, const std::string& product);
// Each folder the record names that the product governs and that is empty
// now, innermost first: once the running uninstaller's file is gone, its
// copy removes the folders that held it.
void RemoveEmptyFolders(const TUninstallRecord& record, const std::string& product);
