// The installer's wizard started as a person starts it, and what a person
// sees of it: which page is on screen, which buttons there are to press.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "InstallerProcess.h"

namespace texts {
// "Установка программы Сорванта"
inline const std::string MainCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB "
    "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0";
// "Установка программы"
inline const std::string QuestionCaption =
    "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB";
// "Вы действительно хотите отменить установку программы?"
inline const std::string QuestionText =
    "\xC2\xFB \xE4\xE5\xE9\xF1\xF2\xE2\xE8\xF2\xE5\xEB\xFC\xED\xEE "
    "\xF5\xEE\xF2\xE8\xF2\xE5 \xEE\xF2\xEC\xE5\xED\xE8\xF2\xFC "
    "\xF3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xF3 \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB?";
inline const std::string Cancel = "\xCE\xF2\xEC\xE5\xED\xE0";                      // Отмена
inline const std::string Next = "\xC4\xE0\xEB\xE5\xE5>";                           // Далее>
inline const std::string Agree = "\xD1\xEE\xE3\xEB\xE0\xF1\xE5\xED";               // Согласен
inline const std::string Back = "<\xCD\xE0\xE7\xE0\xE4";                           // <Назад
inline const std::string Install = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xE8\xF2\xFC";     // Установить
inline const std::string Done = "\xC3\xEE\xF2\xEE\xE2\xEE";                        // Готово
inline const std::string Browse = "\xCE\xE1\xE7\xEE\xF0";                             // Обзор
// "Сорванта v2.1"
inline const std::string ProductCaption = "\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1";
} // namespace texts

enum class EPage { wpWelcome, wpLicence, wpFolder, wpFinish, wpNone, wpUnknown, wpSeveral };
const char* PageName(EPage page);

class TWizardRun {
public:
  driver::TInstallerProcess Process{OMBREL_EXE};
  HWND Main = nullptr;

  // Starts the program and waits for its window with the welcome page.
  bool Start();
  // The one page on screen (None, Several, or Unknown when it cannot be told).
  EPage Page() const;
  // Waits until exactly this page is on screen.
  bool WaitPage(EPage page, int timeoutMs = driver::DefaultTimeoutMs);
  // The frame of the page on screen, or null.
  HWND ShownFrame() const;
  // The shown button with this caption on the page on screen, or null.
  HWND Button(const std::string& caption) const;
  // Presses the shown button with this caption on the page on screen.
  bool Press(const std::string& caption);
  // Types keys into the wizard's window.
  bool Type(const std::string& keys) { return driver::Keys(Main, keys); }
  // The page's button has the focus and is drawn as the default button.
  bool FocusOnDefault(const std::string& caption);
};

// Writes what is on screen of the window (and of the box over it, if any) as
// screenshots/<name>.bmp in the build tree, once painting has settled.
bool Screenshot(HWND window, const std::string& name, HWND over = nullptr);

// The install location and the desktop as this program's user has them.
std::string UserDesktopFolder();
const std::string& ShortcutName(); // "Сорванта v2.1.lnk"
std::string ProgramFilesFolder();

// Every file under a folder (relative path -> size and last write time), to
// tell whether anything was written.
using TTreeState = std::map<std::string, std::pair<uint64_t, uint64_t>>;
TTreeState TreeState(const std::string& folder);
// Only the folder's own entries, not what is below its subfolders.
TTreeState FolderState(const std::string& folder);
// Removes a folder with everything in it; true when it is gone.
bool RemoveTree(const std::string& folder);
