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
  std::string Folder;  // "/D=<folder>": last, unquoted, to the end of the line, blanks included
                       // (trailing blanks are the line's); empty: the folder the page offers
  std::string LogFile; // "/LOG=<file>" among the arguments (quoted whole when it has blanks,
                       // as any argument); empty: no log
  // "/AFTER=<process>,<file>", given by an uninstaller to its copy: the handles of its process,
  // whose end the copy waits for, and of its own file, which the copy then removes (Uninstaller.h)
  uint64_t After = 0, AfterFile = 0;
};
TCommandLine ReadCommandLine(const std::string& commandLine);
