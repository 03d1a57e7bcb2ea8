// Command-line arguments, split the way the program entry reads them.
#pragma once

#include <string>

// Argument number index of a command line (0 is the program name); empty text
// when there are fewer. Arguments are separated by blanks and control
// characters; a double quote opens a section that runs to the next double
// quote, blanks included; an argument that begins and ends with a double
// quote is taken without those two characters.
std::string ParamStr(const std::string& commandLine, int index);
