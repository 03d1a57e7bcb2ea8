// The command line, read the way the program entry reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The next argument of a command line from at on: start is moved to where it
// begins, at past its end. False when there is none left. Arguments are
// separated by blanks and control characters; a double quote opens a section
// that runs to the next double quote, blanks included; an argument that
// begins and ends with a double quote is taken without those two characters.
bool NextParam(const std::string& commandLine, size_t& at, size_t& start, std::string& arg);

// What the command line asks of the program, each switch spelled exactly so
// (case matters). Anything else is ignored.
struct TCommandLine {
  bool Info = false;   // "/ih" as the first argument after the program's name: the info box only
  bool Silent = false; // "/S" among the arguments: the installation with no window (Unattended.h)
  // "/D=<folder>", as a person writes it: quoted whole ("/D=D:\x y") or only its value
  // (/D="D:\x y") anywhere, or unquoted last, to the end of the line, blanks included
  // (trailing blanks are the line's). FolderGiven tells /D= was there, though empty.
  std::string Folder;
  std::string LogFile; // "/LOG=<file>" among the arguments, quoted whole or only its value when it
                       // has blanks; empty: no log
  bool FolderGiven = false;
  // "/AFTER=<process>,<file>,<ready>", given by an uninstaller to its copy: the handles of its
  // process, whose end the copy waits for, of its own file, which the copy then removes, and of
  // the event the copy sets once it has taken over (Uninstaller.h)
  uint64_t After = 0, AfterFile = 0, AfterReady = 0;
};
TCommandLine ReadCommandLine(const std::string& commandLine);
