// Files and folders as the tests see them: by UTF-8 paths through the wide API (so a wrongly
// encoded name shows as a missing file), and the payload an installation must leave.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace files {

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);
std::string From1251(const std::string& bytes); // code page 1251 (the payload's texts), by the system's table
// What a program of code page 1251 (the product) shows of a text: its bytes read in the system's code page.
std::string Shown1251(const std::string& text);
// A Unix path ("/work/...") as Wine sees it ("Z:\work\..."); a DOS path is kept.
std::string DosPath(const std::string& path);
// A path as Unix sees it, through Wine's own export; empty when Wine cannot say.
std::string UnixPath(const std::string& path);
std::string Env(const char* name); // empty when unset

std::string Read(const std::string& path); // empty when it cannot be read
bool Write(const std::string& path, const std::string& bytes);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
// A file held open as a running program holds its own: nobody else opens, writes or removes it until it
// is let go. Made (empty) first when asked; an empty path, or one that cannot be opened, holds nothing.
using THeld = std::unique_ptr<void, decltype(&CloseHandle)>;
THeld Hold(const std::string& path, bool make = false);
bool RemoveTree(const std::string& folder); // true when it is gone
std::string TempFolder();                        // the Windows temporary folder, ending with '\'
std::string FreshFolder(const std::string& name); // "ombrel-<name>" there, made empty; ending with '\'
// Every entry under a folder: relative path -> size and last write time (a folder ends in '\' and has zeros).
using TTree = std::map<std::string, std::pair<uint64_t, uint64_t>>;
TTree Tree(const std::string& folder);
std::vector<std::string> Changes(const TTree& before, const TTree& after); // the entries new or changed in after

// An item of the payload that an installation writes.
struct TPayloadItem {
  std::string Name, Format, Target; // Target relative to the product folder
  std::string File;                 // the payload file, under the source or (build:) the build folder
};
std::vector<TPayloadItem> InstalledItems();
// What its installed file must hold: a text without its closing NUL and with CR LF after its last line.
std::string InstalledBytes(const TPayloadItem& item);

// While it lives, a registry value holds this text; then it is as it was again (gone, had there been none).
struct TRegistryText {
  TRegistryText(HKEY root, std::wstring key, std::wstring name, const std::string& text);
  ~TRegistryText();
  HKEY Root;
  std::wstring Key, Name, Old;
  DWORD Type = REG_SZ;
};

// A link file read back through the shell-link object.
struct TLink {
  bool Loaded = false;
  std::string Path, WorkDir, Description, Arguments;
  std::string Items; // the path of the link's item list, as the shell reads it
};
TLink ReadLink(const std::string& file);

// "/tmp/ombrel-<stem>-...", of this run's own (runs in other Wine prefixes may share /tmp and process IDs).
std::string UnixScratch(const std::string& stem);

// A Unix command line run by /bin/sh: its exit code (-1 when it did not end in time) and its output.
std::pair<int, std::string> RunUnix(const std::string& command, int timeoutMs = 20000);

} // namespace files
