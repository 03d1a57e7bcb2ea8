// The record of the current installation run: every write on the installation
// road that failed, with the path it was meant for and the system's own words,
// and everything it made.
// The writing elements add to it as a side channel (they fire nothing more);
// whoever starts a run clears it, and whoever ends it reads it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Text.h"

// What a run made: a file it wrote whole, a folder it created (not one that
// was there), or a shortcut to the product (a file, but outside the
// product's folder). The uninstaller removes exactly these.
struct TMadeItem {
  enum TKind : uint8_t { mkFile, mkFolder, mkLink };
  TKind Kind = mkFile;
  std::string Path;
  bool Folder() const { return Kind == mkFolder; }
};

struct TInstallEntry {
  std::string Path;    // the folder, file or link that was not made
  uint32_t Code = 0;   // system error code, or the HRESULT of a component call
  std::string Message; // the system's text for Code, no CR LF at the end
};

// A file the run moved into place, the digest it was written with, and where
// the file it replaced waits while older files are kept (else empty).
struct TMovedFile {
  std::string Target;
  TWideText Older;
  uint64_t Size = 0;
  uint32_t Crc = 0;
};

class TInstallLog {
public:
  TInstallLog() = default;
  TInstallLog(const TInstallLog&) = delete;
  TInstallLog& operator=(const TInstallLog&) = delete;

  void Clear() {
    FEntries.clear();
    FMade.clear();
    FMoved.clear();
    FUndo.clear();
    FKeepOlder = FRolledBack = false;
  }
  // Records a failure with the system's message for the code. A path is
  // recorded once: a product folder that cannot be made fails again for each
  // folder below it, and its first entry already says why.
  void Add(const std::string& path, uint32_t code);
  // Records a failure the system has no words for, in our own.
  void Add(const std::string& path, uint32_t code, const std::string& message);
  // Whether a failure is recorded for the path, however it is spelled.
  bool Has(const std::string& path) const;

  size_t Count() const { return FEntries.size(); }
  const TInstallEntry& operator[](size_t index) const { return FEntries[index]; }
  const std::vector<TInstallEntry>& Entries() const { return FEntries; }

  // What was made, in the order it was made, by its full path: a name
  // relative to the working folder is made absolute now, while it still
  // means what was made.
  void Wrote(const std::string& file) { Keep(TMadeItem::mkFile, file); }
  void Created(const std::string& folder) { Keep(TMadeItem::mkFolder, folder); }
  void Linked(const std::string& link) { Keep(TMadeItem::mkLink, link); }
  const std::vector<TMadeItem>& Made() const { return FMade; }

  // All or nothing: while older files are kept, every file a write replaces
  // is moved aside until the run ends, and what the run changed besides its
  // files says how to undo it. Then the run is either kept (the older files
  // go) or put back as it was.
  void KeepOlder(bool keep) { FKeepOlder = keep; }
  bool KeepsOlder() const { return FKeepOlder; }
  // A file moved into place (MoveOver); one moved again keeps its first older file.
  void Moved(const std::string& target, const TWideText& older, uint32_t crc, uint64_t size);
  const std::vector<TMovedFile>& MovedFiles() const { return FMoved; }
  void OnRollBack(std::function<void()> undo) {
    if (FKeepOlder) FUndo.push_back(std::move(undo));
  }
  // Every file moved into place read back against its digest; one that reads
  // otherwise is recorded as a failed write. True when all read back.
  bool ReadBack();
  // Keeps the run: the older files go.
  void Commit();
  // Puts back all the run changed, the last change first: each file it wrote
  // gone and the older one in its place, each folder it made gone, the rest
  // undone. What cannot be put back is recorded.
  void RollBack();
  bool RolledBack() const { return FRolledBack; }

private:
  void Keep(TMadeItem::TKind kind, const std::string& path);
  std::vector<TInstallEntry> FEntries;
  std::vector<TMadeItem> FMade;
  std::vector<TMovedFile> FMoved;
  std::vector<std::function<void()>> FUndo;
  bool FKeepOlder = false, FRolledBack = false;
};

// A path as the user reads it. The installer joins a drive root such as
// "M:\" and "\Varkelo" as they are, and the system takes the doubled
// backslash for one; this shows one too. A leading pair (a network path) is
// kept.
std::string DisplayPath(const std::string& path);

// The one record of this process.
TInstallLog& InstallLog();

// The system's message for a system error code or an HRESULT (a wrapped
// system error is looked up by its code), trailing CR LF removed; a code the
// system has no text for gives "Ошибка 0x" and the code in hexadecimal.
std::string SystemErrorText(uint32_t code);
// What is said of ERROR_REPARSE_POINT_ENCOUNTERED, which the file elements
// give for a link they refuse to write or remove through.
inline const char* const LinkRefusedText =
    "На этом месте ссылка на другое место: через ссылку ничего не записывается и не удаляется";
// GetLastError, or ERROR_WRITE_FAULT when a failed call left no code.
uint32_t LastFailureCode();
