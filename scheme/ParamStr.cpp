#include "ParamStr.h"

namespace {

// Bytes above 0x7F are parts of letters (UTF-8), never separators.
bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

} // namespace

std::string ParamStr(const std::string& commandLine, int index) {
  size_t at = 0;
  const size_t end = commandLine.size();
  for (int i = 0;; ++i) {
    while (at < end && IsSeparator(commandLine[at])) ++at;
    if (at == end) return {};
    const size_t start = at;
    bool quoted = false;
    while (at < end && (quoted || !IsSeparator(commandLine[at]))) {
      if (commandLine[at] == '"') quoted = !quoted;
      ++at;
    }
    if (i == index) {
      std::string arg = commandLine.substr(start, at - start);
      if (arg.size() >= 2 && arg.front() == '"' && arg.back() == '"') arg = arg.substr(1, arg.size() - 2);
      return arg;
    }
  }
}
