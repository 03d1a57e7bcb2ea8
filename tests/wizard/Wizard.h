// The installer's wizard started as a person starts it, and what a person
// sees of it: which page is on screen, which buttons there are to press.
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

  // Starts it (in this working folder, with this command-line tail); its window shows the welcome page.
  bool Start(const std::string& folder = "", const std::string& args = "");
  // The page frames, or only the shown ones: the form's direct STATIC children, holding the controls.
  std::vector<HWND> Frames(bool shown = false) const;
  EPage Page() const; // the one page shown, or None, Several, Unknown
  bool WaitPage(EPage page, int timeoutMs = driver::Timeout);
  HWND Frame() const;                            // the shown page's frame
  HWND Button(const std::string& caption) const; // shown and enabled, on the shown page
  HWND Field() const;                            // the one edit of the shown page
  bool Press(const std::string& caption);
  bool PressTo(const std::string& caption, EPage page) { return Press(caption) && WaitPage(page); }
  // From the welcome page to this one with the mouse, or with Enter once each default button has the focus.
  bool GoTo(EPage page, bool keys = false);
  bool Type(const std::string& keys) { return driver::Keys(Main, keys); }
  // The button has the focus and is drawn as the default one.
  bool FocusOnDefault(const std::string& caption);
  bool Ends(uint32_t code) { return Process.WaitExit(60000) == code; }
  bool Close() { return driver::CloseBox(Main), Ends(0); } // by its close box, which ends with 0
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

// A run without a person (/S): the exit code, and every window of the program that was ever
// visible while it ran, even one without an area (the taskbar's), by class and caption; polled
// until it ends or one shows. Any window the X server mapped meanwhile is among them too.
struct TUnattendedRun {
  std::optional<uint32_t> Code; // none when it still ran
  std::set<std::string> Shown;
};
TUnattendedRun RunUnattended(const std::string& args, const std::string& exe = OMBREL_EXE);
