#include "ParamStr.h"

#include <cstdlib>

namespace {

// Bytes above 0x7F are parts of letters (UTF-8), never separators.
bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

bool NextParam(const std::string& commandLine, size_t& at, size_t& start, std::string& arg) {
  const size_t end = commandLine.size();
  while (at < end && IsSeparator(commandLine[at])) ++at;
  if (at == end) return false;
  start = at;
  bool quoted = false;
  while (at < end && (quoted || !IsSeparator(commandLine[at]))) {
    if (commandLine[at] == '"') quoted = !quoted;
    ++at;
  }
  arg = commandLine.substr(start, at - start);
  if (arg.size() >= 2 && arg.front() == '"' && arg.back() == '"') arg = arg.substr(1, arg.size() - 2);
  return true;
}

TCommandLine ReadCommandLine(const std::string& commandLine) {
  TCommandLine read;
  size_t at = 0, start = 0;
  std::string arg;
  // A value in quotes of its own, /D="D:\x y": without them.
  const auto value = [](const std::string& text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"' ? text.substr(1, text.size() - 2) : text;
  };
  NextParam(commandLine, at, start, arg); // the program
  for (bool first = true; NextParam(commandLine, at, start, arg); first = false) {
    if (first && arg == "/ih") read.Info = true;
    if (arg.compare(0, 3, "/D=") == 0 && (commandLine[start] == '"' || commandLine.compare(start, 4, "/D=\"") == 0)) {
      read.Folder = value(arg.substr(3));
      read.FolderGiven = true;
    } else if (commandLine.compare(start, 3, "/D=") == 0) {
      // A folder's name never ends in a blank.
      read.Folder = commandLine.substr(start + 3);
      read.Folder.erase(read.Folder.find_last_not_of(' ') + 1);
      read.FolderGiven = true;
      break;
    }
    if (arg == "/S") read.Silent = true;
    if (arg.compare(0, 5, "/LOG=") == 0) read.LogFile = value(arg.substr(5));
    if (arg.compare(0, 7, "/AFTER=") == 0) {
      char* end = nullptr;
      uint64_t* const handles[] = {&read.After, &read.AfterFile, &read.AfterReady};
      const char* from = arg.c_str() + 7;
      for (uint64_t* handle : handles) {
        *handle = std::strtoull(from, &end, 10);
        if (*end != ',') break;
        from = end + 1;
      }
    }
  }
  return read;
}
