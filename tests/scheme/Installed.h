// What an installation should leave and what it did: the installed items of
// the payload manifest, their bytes as the program carries them, and the
// files read back from the disk.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct TPayloadItem {
  std::string Name, Format, Target;
  uint64_t Size = 0;
  std::string File; // as the manifest names it: under the payload folder, or build:PATH
};

// The items of the manifest that are installed (those with a target).
std::vector<TPayloadItem> InstalledItems();
// The size a file has once installed: a text gets CR LF after its last line.
uint64_t InstalledSize(const TPayloadItem& item);

// What the item's installed file must hold: the payload file, a text
// without its closing NUL and with CR LF after its last line.
std::string InstalledBytes(const TPayloadItem& item);

// Files by their code page 1251 paths, read and written with the tests' own
// calls; a file that cannot be read reads as empty.
std::string ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool FileOnDisk(const std::string& path);
bool FolderOnDisk(const std::string& path);

// The mapped drive of the drive tests (with-drive.sh), and its root, such as "D:\".
std::string DriveLetter();
std::string DriveRoot();
