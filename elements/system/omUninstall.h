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

// The record this program carries when it is an uninstaller; false for the
// installer, and for an uninstaller whose record does not read back whole.
bool ReadOwnRecord(TUninstallRecord& record);

// Makes the uninstaller from everything the install log says was made, then
// registers the product with the system. inWrite takes the product folder as
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

// The uninstaller's work while it runs: every file the record names, each
// folder the installation created once it is empty, then the entry. The
// uninstaller itself, and with it the folders that hold it, stay for
// RemoveUninstaller. What cannot be removed goes to the install log;
// something already gone counts as removed, so a second run is harmless.
void RemoveInstallation(const TUninstallRecord& record);
// Once the running uninstaller has ended: its file, then the folders the
// installation created that are empty now.
void RemoveUninstaller(const TUninstallRecord& record);
