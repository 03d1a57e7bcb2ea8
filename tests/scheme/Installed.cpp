#include "Installed.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "InstallerProcess.h"

using namespace driver;

std::vector<TPayloadItem> InstalledItems() {
  std::vector<TPayloadItem> items;
  std::ifstream in(DosPath(OMBREL_MANIFEST));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (!(fields >> name >> type >> file >> size >> format >> target) || target == "-") continue;
    items.push_back({name, format, target, std::stoull(size), file});
  }
  return items;
}

uint64_t InstalledSize(const TPayloadItem& item) { return item.Format == "text" ? item.Size + 1 : item.Size; }

std::string InstalledBytes(const TPayloadItem& item) {
  // A file the build makes lies in the payload's build folder.
  const bool built = item.File.compare(0, 6, "build:") == 0;
  const std::string bytes = ReadBytes(DosPath(built ? OMBREL_PAYLOAD_BINARY_DIR "/" + item.File.substr(6)
                                                    : OMBREL_PAYLOAD_SOURCE_DIR "/" + item.File));
  return item.Format == "text" ? bytes.substr(0, bytes.find('\0')) + "\r\n" : bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(Text1251ToWide(path).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(Text1251ToWide(path).c_str(), std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out.flush());
}

bool FileOnDisk(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Text1251ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderOnDisk(const std::string& path) {
  DWORD attributes = GetFileAttributesW(Text1251ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string DriveLetter() {
  const char* letter = std::getenv("OMBREL_TEST_DRIVE");
  return letter && *letter ? std::string(1, letter[0]) : "M";
}

std::string DriveRoot() { return DriveLetter() + ":\\"; }
