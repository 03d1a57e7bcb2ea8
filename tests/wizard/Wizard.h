// The installer's wizard as a person starts it and sees it: the page on screen, its buttons.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Driver.h"
#include "Files.h"
#include "Texts.h"

enum class EPage { Welcome, Licence, Folder, Finish, None, Several, Unknown };
const char* Name(EPage page);
// The button only this page has: its default one, which leads on.
const std::string& Forward(EPage page);

struct TWizard {
  explicit TWizard(const std::string& exe = OMBREL_EXE) : Process(exe) {}
  driver::TProcess Process;
  HWND Main = nullptr;

  // Started (in this working folder, with this command-line tail) up to the welcome page.
  bool Start(const std::string& folder = "", const std::string& args = "");
  // The page frames (the form's STATIC children), or only the shown ones.
  std::vector<HWND> Frames(bool shown = false) const;
  EPage Page() const; // the one page shown, or None, Several, Unknown
  bool WaitPage(EPage page, int timeoutMs = driver::Timeout);
  HWND Frame() const;                            // the shown page's frame
  HWND Button(const std::string& caption) const; // shown and enabled, on the shown page
  HWND Field() const;                            // the one edit of the shown page
  bool Press(const std::string& caption);
  bool PressTo(const std::string& caption, EPage page) { return Press(caption) && WaitPage(page); }
  // From the welcome page with the mouse, or with Enter once each default button has the focus.
  bool GoTo(EPage page, bool keys = false);
  bool Type(const std::string& keys) { return driver::Keys(Main, keys); }
  // The button has the focus and is drawn as the default one.
  bool FocusOnDefault(const std::string& caption);
  bool Ends(uint32_t code) { return Process.WaitExit(60000) == code; }
  bool Close() { // by its close box, which ends with 0
    driver::CloseBox(Main);
    return Ends(0);
  }
};

// Where an installation puts things.
std::string Desktop();
const std::string ProgramFiles = "C:\\Program Files";
inline std::string Link() { return Desktop() + "\\" + texts::Shortcut; } // the desktop shortcut
// Removes the product folder under this folder, the shortcut and the product's entry in the
// system's list of installed programs, waiting while Wine holds a file.
void RemoveInstallation(const std::string& folder);
// That entry, in the registry view of the installer's bitness (this test program's): each value's
// name and its text, a number in decimal. Empty when there is none.
std::map<std::string, std::string> UninstallEntry();
bool MakeFolder(const std::string& folder); // with its parents; true also when it is there
// The file with these bytes, its folders made first.
inline bool Place(const std::string& path, const std::string& bytes) {
  return MakeFolder(path.substr(0, path.rfind('\\'))) && files::Write(path, bytes);
}
// CRC-32 (the ZIP one), by the system's own table.
inline uint32_t Crc32(const void* data, size_t size) {
  static const auto crc32 = reinterpret_cast<DWORD(WINAPI*)(DWORD, const void*, INT)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll"), "RtlComputeCrc32")));
  return crc32(0, data, INT(size));
}
using files::THeld;
THeld Hold(const std::string& path); // files::Hold, a failure to hold a named file failing the test

// A run without a person (/S): the exit code, and the windows (even without an area) shown before it
// ended, or mapped by the X server meanwhile.
struct TUnattendedRun {
  std::optional<uint32_t> Code; // none when it still ran
  std::set<std::string> Shown;
};
// The lines of a log, each ended by CR LF.
std::vector<std::string> LogLines(const std::string& log);
TUnattendedRun RunUnattended(const std::string& args, const std::string& exe = OMBREL_EXE,
                             const std::string& folder = ""); // started in this working folder
