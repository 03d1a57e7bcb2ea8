// The installer's wizard started as a person starts it, and what a person
// sees of it: which page is on screen, which buttons there are to press.
#pragma once

#include <string>
#include <vector>

#include "Driver.h"
#include "Files.h"
#include "Texts.h"

enum class EPage { Welcome, Licence, Folder, Finish, None, Several, Unknown };
const char* Name(EPage page);

struct TWizard {
  explicit TWizard(const std::string& exe = OMBREL_EXE) : Process(exe) {}
  driver::TProcess Process;
  HWND Main = nullptr;

  // Starts it (in this working folder) and waits for its window with the
  // welcome page.
  bool Start(const std::string& folder = "");
  // The page frames: the form's direct STATIC children (controls sit inside them).
  std::vector<HWND> Frames() const;
  EPage Page() const; // the one page shown, or None, Several, Unknown
  bool WaitPage(EPage page, int timeoutMs = driver::Timeout);
  HWND Frame() const;                            // the shown page's frame
  HWND Button(const std::string& caption) const; // shown and enabled, on the shown page
  HWND Field() const;                            // the one edit of the shown page
  bool Press(const std::string& caption);
  // From the welcome page to this one with the mouse.
  bool GoTo(EPage page);
  bool Type(const std::string& keys) { return driver::Keys(Main, keys); }
  // The button has the focus and is drawn as the default one.
  bool FocusOnDefault(const std::string& caption);
  bool Ends(uint32_t code) { return Process.WaitExit(60000) == code; }
};

// Where an installation puts things.
std::string Desktop();
std::string Link(); // the desktop shortcut
const std::string ProgramFiles = "C:\\Program Files";
// Removes the product folder under this folder and the shortcut, waiting
// while Wine still holds a fresh file open.
void RemoveInstallation(const std::string& folder);
// The free megabytes of a drive by the folder page's formula from the
// system's figures, -1 when it cannot tell.
int64_t FreeMegabytes(const std::string& root);
// The label "Свободно: N Mb" of the shown page.
HWND FreeLabel(const TWizard& w);
