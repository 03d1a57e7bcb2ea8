// Files and folders as the tests see them: by UTF-8 paths through the wide API (so a wrongly
// encoded name shows as a missing file), and the payload an installation must leave.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace files {

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);
// Code page 1251 bytes (the payload's texts) as UTF-8, by the system's own table.
std::string From1251(const std::string& bytes);
// What a program of code page 1251 (the product) shows of a text on this
// system: its bytes read in the system's code page. The text itself on a
// Russian system.
std::string Shown1251(const std::string& text);
// A Unix path ("/work/...") as Wine sees it ("Z:\work\..."); a DOS path is kept.
std::string DosPath(const std::string& path);
std::string Env(const char* name); // empty when unset

std::string Read(const std::string& path); // empty when it cannot be read
bool Write(const std::string& path, const std::string& bytes);
bool IsFile(const std::string& path);
bool IsFolder(const std::string& path);
bool RemoveTree(const std::string& folder); // true when it is gone
std::string TempFolder();                        // the Windows temporary folder, ending with '\'
std::string FreshFolder(const std::string& name); // "ombrel-<name>" there, made empty; ending with '\'
// Every entry under a folder: relative path -> size and last write time (a
// folder ends in '\' and has zeros), to tell whether anything was written.
using TTree = std::map<std::string, std::pair<uint64_t, uint64_t>>;
TTree Tree(const std::string& folder);
// Entries of after that are new or differ from before.
std::vector<std::string> Changes(const TTree& before, const TTree& after);

// An item of the payload that an installation writes.
struct TPayloadItem {
  std::string Name, Format, Target; // Target relative to the product folder
  std::string File;                 // the payload file, under the source or (build:) the build folder
};
std::vector<TPayloadItem> InstalledItems();
// What its installed file must hold: a text without its closing NUL and with
// CR LF after its last line, anything else byte for byte.
std::string InstalledBytes(const TPayloadItem& item);

// A link file read back through the shell-link object.
struct TLink {
  bool Loaded = false;
  std::string Path, WorkDir, Description, Arguments;
  std::string Items; // the path of the link's item list, as the shell reads it
};
TLink ReadLink(const std::string& file);

// A name under the Unix /tmp of its own to this run (test runs in other Wine
// prefixes may share /tmp and even Windows process IDs): "/tmp/ombrel-<stem>-...".
std::string UnixScratch(const std::string& stem);

// Runs a Unix command line through /bin/sh and waits for it: its exit code
// (-1 when it did not end in time) and its standard output.
std::pair<int, std::string> RunUnix(const std::string& command, int timeoutMs = 20000);

} // namespace files
