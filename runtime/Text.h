// The rule for text, in one place.
//
// Every text of the runtime is UTF-8: the texts that travel in a TData, the
// elements' text properties and the scheme's constants. A path a user picks or
// the system names is text like any other and keeps every character it has.
//
// The program's own Russian texts are code page 1251 where they are stored:
// the payload's texts, which the installation writes byte for byte and never
// converts. A page that shows one of them converts it once, with
// TextFrom1251.
//
// Text reaches the system, and comes back from it, only through the wide
// (UTF-16) functions: TextToWide and WideToText, never through the system's
// ANSI code page. A name from the system that is not well-formed UTF-16 (a
// lone surrogate, which a file name may hold) comes back as the three bytes
// that code unit takes in UTF-8, so it goes back to the system unchanged.
// No conversion replaces a character: TextToWide refuses text that is not
// UTF-8, and whoever was to hand it to the system then says so instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// UTF-16 code units with a closing NUL: what the system's wide functions take
// (wchar_t is 16 bits there).
using TWideText = std::vector<wchar_t>;

// False when the text is not UTF-8; the units are made all the same, each
// byte that is not UTF-8 shown as U+FFFD, so a window still shows the rest.
bool TextToWide(const std::string& text, TWideText& wide);
// The wide text for a window or a box, which has to show something.
TWideText WideOf(const std::string& text);
// count units, or up to the first NUL when count is npos.
std::string WideToText(const wchar_t* wide, size_t count = std::string::npos);

// Bytes of code page 1251 as text; lossless (0x98, unassigned, is U+0098).
std::string TextFrom1251(const std::string& bytes);

// The byte where the character (code point) of this 0-based index starts;
// the text's size when it has fewer characters.
size_t TextOffset(const std::string& text, size_t index);
