// Helpers of the installation tests, beside those of the system tests (the
// mapped drive, whole-file reads, the dialog watcher): the payload manifest,
// folder trees, the desktop folder of the shell-folders record, shell links
// and settings files.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "LinkReader.h"

namespace installtest {

inline void RemoveTree(const std::string& folder) {
  if (!systest::Exists(folder)) return;
  std::string command = "cmd /c rmdir /s /q \"" + folder + "\" >nul 2>nul";
  std::system(command.c_str());
}

// A fresh, empty folder on the test drive, without a trailing backslash.
inline std::string FreshInstallFolder(const std::string& name) {
  std::string folder = systest::FreshFolder(name);
  folder.pop_back();
  return folder;
}

// Every file and folder below a folder, as paths relative to it; folders end
// with a backslash.
inline void CollectTree(const std::string& folder, const std::string& prefix, std::set<std::string>& found) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      found.insert(prefix + name + "\\");
      CollectTree(folder + "\\" + name, prefix + name + "\\", found);
    } else {
      found.insert(prefix + name);
    }
  } while (FindNextFileA(search, &entry));
  FindClose(search);
}

inline std::set<std::string> Tree(const std::string& folder) {
  std::set<std::string> found;
  CollectTree(folder, "", found);
  return found;
}

// One installed item of the payload manifest.
struct TPayloadFile {
  std::string Resource;
  std::string Target;   // below the product folder
  bool Text = false;    // installed as the resource text plus CR LF
  size_t Size = 0;      // the installed file's size
};

// The manifest lines of type 100 that have a target.
inline std::vector<TPayloadFile> InstalledPayload() {
  std::string path = std::string("Z:") + OMBREL_PAYLOAD_MANIFEST;
  for (char& c : path)
    if (c == '/') c = '\\';
  std::string text;
  EXPECT_TRUE(systest::ReadWholeFile(path, text)) << path;
  std::vector<TPayloadFile> files;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string name, type, file, size, format, target;
    if (!(fields >> name >> type >> file >> size >> format >> target)) continue;
    if (type != "100" || target == "-") continue;
    TPayloadFile item;
    item.Resource = name;
    item.Target = target;
    item.Text = format == "text";
    item.Size = size_t(std::stoul(size)) + (item.Text ? 1 : 0);
    files.push_back(item);
  }
  return files;
}

// Points the shell-folders record's Desktop value at a folder for one test
// and restores it afterwards, so the shortcut lands where the test looks.
class TDesktopValue {
public:
  static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

  explicit TDesktopValue(const std::string& folder) {
    RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &FKey, nullptr);
    DWORD size = sizeof FOld;
    FHad = RegQueryValueExA(FKey, "Desktop", nullptr, &FType, reinterpret_cast<BYTE*>(FOld), &size) ==
           ERROR_SUCCESS;
    FSize = size;
    RegSetValueExA(FKey, "Desktop", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   DWORD(folder.size() + 1));
  }
  ~TDesktopValue() {
    if (FHad)
      RegSetValueExA(FKey, "Desktop", 0, FType, reinterpret_cast<BYTE*>(FOld), FSize);
    else
      RegDeleteValueA(FKey, "Desktop");
    RegCloseKey(FKey);
  }
  TDesktopValue(const TDesktopValue&) = delete;
  TDesktopValue& operator=(const TDesktopValue&) = delete;

private:
  HKEY FKey = nullptr;
  bool FHad = false;
  DWORD FType = 0, FSize = 0;
  char FOld[1024] = {};
};

// Section names of a settings file, and the key=value lines of one section.
inline std::vector<std::string> ZeroSeparated(const char* text) {
  std::vector<std::string> items;
  for (const char* p = text; *p; p += items.back().size() + 1) items.emplace_back(p);
  return items;
}
inline std::vector<std::string> IniSections(const std::string& file) {
  char text[4096] = {};
  GetPrivateProfileSectionNamesA(text, sizeof text, file.c_str());
  return ZeroSeparated(text);
}
inline std::vector<std::string> IniSection(const std::string& file, const std::string& section) {
  char text[4096] = {};
  GetPrivateProfileSectionA(section.c_str(), text, sizeof text, file.c_str());
  return ZeroSeparated(text);
}

} // namespace installtest
