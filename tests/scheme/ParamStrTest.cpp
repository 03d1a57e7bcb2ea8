// How the entry splits its command line.
#include <gtest/gtest.h>

#include "ParamStr.h"

namespace {

TEST(ParamStr, BlanksAndControlCharactersSeparate) {
  const std::string line = "prog.exe  /ih\t/x\r\n\x01last";
  EXPECT_EQ("prog.exe", ParamStr(line, 0));
  EXPECT_EQ("/ih", ParamStr(line, 1));
  EXPECT_EQ("/x", ParamStr(line, 2));
  EXPECT_EQ("last", ParamStr(line, 3));
  EXPECT_EQ("", ParamStr(line, 4));
}

TEST(ParamStr, NoArgumentGivesEmptyText) {
  EXPECT_EQ("", ParamStr("prog.exe", 1));
  EXPECT_EQ("", ParamStr("prog.exe   ", 1));
  EXPECT_EQ("", ParamStr("", 0));
  EXPECT_EQ("", ParamStr("", 1));
}

TEST(ParamStr, QuotedProgramNameWithBlanks) {
  const std::string line = "\"C:\\Program Files\\Setup\\Ombrel.exe\" /ih";
  EXPECT_EQ("C:\\Program Files\\Setup\\Ombrel.exe", ParamStr(line, 0));
  EXPECT_EQ("/ih", ParamStr(line, 1));
}

TEST(ParamStr, OnlyEnclosingQuotesAreRemoved) {
  EXPECT_EQ("/ih", ParamStr("p \"/ih\"", 1));
  EXPECT_EQ("a b", ParamStr("p \"a b\" c", 1));
  EXPECT_EQ("c", ParamStr("p \"a b\" c", 2));
  // A section in the middle joins blanks into the argument and keeps its quotes.
  EXPECT_EQ("/i\"h x\"", ParamStr("p /i\"h x\" y", 1));
  EXPECT_EQ("y", ParamStr("p /i\"h x\" y", 2));
  EXPECT_EQ("", ParamStr("p \"\"", 1));
  // An unterminated quote runs to the end; the argument keeps its quote.
  EXPECT_EQ("\"/ih x", ParamStr("p \"/ih x", 1));
  EXPECT_EQ("\"", ParamStr("p \"", 1));
}

TEST(ParamStr, Cp1251LettersAreNotSeparators) {
  // "Установка.exe": bytes above 0x7F must not be taken for control characters.
  const std::string line = "\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0.exe \xFF\xE0";
  EXPECT_EQ("\xD3\xF1\xF2\xE0\xED\xEE\xE2\xEA\xE0.exe", ParamStr(line, 0));
  EXPECT_EQ("\xFF\xE0", ParamStr(line, 1));
}

} // namespace
