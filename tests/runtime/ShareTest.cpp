#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "Probe.h"
#include "Text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(Conversions, ToIntegerAndText) {
  const std::pair<const char*, int32_t> fromTexts[] = {{"42", 42}, {"-7", -7}, {"+3", 3}, {"-0", 0}, {"12ab", 12},
      {"ab12", 0}, {" 5", 0}, {"", 0}, {"-", 0}, {"2147483648", INT32_MIN}, {"4294967297", 1}}; // wraps around
  for (const auto& r : fromTexts) EXPECT_EQ(r.second, DataToInteger(StringData(r.first))) << r.first;
  const std::pair<double, int32_t> fromReals[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.6, 3}, {NAN, 0},
      {4294967296.0, 0}, {4294967301.0, 5}}; // halves to even; the low 32 bits of the 64-bit integer
  for (const auto& r : fromReals) EXPECT_EQ(r.second, DataToInteger(RealData(r.first))) << r.first;
  for (int32_t v : {0, -15, INT32_MAX, INT32_MIN}) EXPECT_EQ(std::to_string(v), DataToString(IntegerData(v)));
  // fifteen significant digits, never an exponent; a rounding carry adds a digit
  const std::pair<double, const char*> realTexts[] = {{2.5, "2.5"}, {100, "100"}, {0.001, "0.001"},
      {-1.25, "-1.25"}, {0.0, "0"}, {-0.0, "0"}, {0.5, "0.5"}, {0.1, "0.1"}, {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"}, {1e20, "100000000000000000000"}, {1e-20, "0.00000000000000000001"},
      {123456789012345.0, "123456789012345"}, {1234567890123456.0, "1234567890123460"},
      {9.999999999999996, "10"}, {999999999999999.9, "1000000000000000"}};
  for (const auto& r : realTexts) EXPECT_EQ(r.second, DataToString(RealData(r.first))) << r.second;
  // Scaled by a power of ten beyond the exact ones, a value 0.3 % of a unit off the half still rounds right.
  EXPECT_EQ("876477677842834" + std::string(96, '0'), DataToString(RealData(8.764776778428345e+110)));
}

// Set keeps the forward link; set and clear drop the next value.
TEST(Conversions, ToRealTruthTheKindsWithoutPayloadAndTheBuilders) {
  const std::pair<const char*, double> texts[] = {{"3.25", 3.25}, {"-2", -2}, {"+2", 2}, {"1,5", 15},
      {"2.5e2", 250}, {"2.5e-1", .25}, {"1.2.3", 1.2}, {"abc", 0}, {"", 0}};
  for (const auto& r : texts) EXPECT_DOUBLE_EQ(r.second, DataToReal(StringData(r.first))) << r.first;
  EXPECT_EQ(7.0, DataToReal(IntegerData(7)));
  // dkNull, dkStream and an unused kind alike, whatever is left in the payload: Kind, IntValue, StrValue, RealValue
  for (const TData& d : {TData{dkNull, 9, "9", 9}, TData{dkStream, 9, "9", 9}, TData{5, 9, "9", 9}})
    EXPECT_TRUE(DataToInteger(d) == 0 && DataToString(d).empty() && DataToReal(d) == 0) << int(d.Kind);
  for (const TData& d : {TData(), StringData(""), RealData(0), IntegerData(-1)}) EXPECT_TRUE(DataIsTrue(d));
  EXPECT_FALSE(DataIsTrue(IntegerData(0)));
  TPointLink link;
  TData other, d = Chain(StringData("x"), &other);
  d.ForwardLink = &link;
  SetIntegerData(d, 5);
  EXPECT_TRUE(d.Kind == dkInteger && d.IntValue == 5 && !d.Next && d.ForwardLink == &link);
  d.Next = &other;
  ClearData(d);
  EXPECT_TRUE(d.Kind == dkNull && !d.Next);
}

// Muted, a point reaches nothing; live, it calls by reference with the index. A forward is delivered after
// the method returns, without the flag.
TEST(Dispatch, MutedReachesNothingLiveCallsByReferenceWithTheIndexAndForwardsAfterTheMethodReturns) {
  TProbe probe(IntegerData(9));
  probe.Action = [](TData& v) { SetIntegerData(v, 77); };
  TData buffer = IntegerData(3), event, v = StringData("in"), kept = StringData("keep");
  StopDispatch();
  FireInteger(probe.In(), 1);
  PullPoint(buffer, probe.Var());
  int32_t read = ReadPointInteger(event, probe.Var(), 5); // linked: the property is no fallback
  StartDispatch();
  Fire(probe.In(3), v);
  Fire(TPointLink(), kept); // unlinked: nothing called, the value left alone
  EXPECT_EQ("- 0", Show(buffer) + " " + std::to_string(read));
  EXPECT_EQ("'in' 3", probe.Seen() + " " + std::to_string(probe.Index[0]));
  EXPECT_EQ("77 'keep'", Show(v) + " " + Show(kept)); // the receiver wrote into the caller's value
  TProbe forwarder, end;
  TPointLink to = end.In(4);
  bool returned = false, deliveredAfter = false;
  forwarder.Action = [&](TData& w) {
    ForwardValue(w, to, IntegerData(21));
    returned = true;
  };
  end.Action = [&](TData& w) {
    deliveredAfter = returned;
    SetStringData(w, "end");
  };
  TData pulled = IntegerData(1), unlinked = IntegerData(1);
  v = StringData("start");
  Fire(forwarder.In(), v);
  EXPECT_TRUE(deliveredAfter);
  PullPoint(pulled, forwarder.Var()); // a data method may forward too
  PullPoint(unlinked, TPointLink());
  EXPECT_EQ("21 21 4", end.Seen() + " " + std::to_string(end.Index[0]));
  EXPECT_EQ("'end' 'end' -", Show(v) + " " + Show(pulled) + " " + Show(unlinked)); // what the chain left
  to = TPointLink(); // forwarding to an unlinked point ends quietly
  Fire(forwarder.In(), v);
  EXPECT_EQ("21 2", Show(v) + " " + std::to_string(end.Got.size()));
  ForwardNull(v, to); // the flag on a null, the payload left as it was
  EXPECT_TRUE(Show(v) == "#128" && v.IntValue == 21 && v.ForwardLink == &to) << Show(v);
}

TEST(Readers, LinkThenPropertyThenTheEventWhichIsConsumedAlongItsChain) {
  TProbe source(StringData("15")), empty;
  TData set = StringData("p"), unset, third = StringData("c"), second = Chain(IntegerData(2), &third), event;
  // Each read shows as what it gave/what it left of the event.
  auto left = [&](const std::string& gave) { return gave + "/" + Show(event); };
  auto integer = [&](int32_t p, TPointLink l = {}) { return left(std::to_string(ReadPointInteger(event, l, p))); };
  auto text = [&](const char* p) { return left("'" + ReadPointString(event, {}, p) + "'"); };
  auto data = [&](const TData* p, TPointLink l = {}) { return left(Show(ReadPointData(event, l, p))); };
  auto take = [&] { TData head = TakeEventValue(event); return left(Show(head) + (head.Next ? "+chain" : "")); };
  // The link, then a set property, neither touching the event; else the event, consumed.
  event = IntegerData(99);
  EXPECT_EQ("15/99 7/99 99/- 0/-", Join({integer(7, source.Var()), integer(7), integer(0), integer(0)}));
  event = StringData("abc");
  EXPECT_EQ("'prop'/'abc' 'abc'/- ''/-", Join({text("prop"), text(""), text("")}));
  event = IntegerData(5); // a linked source with nothing to give: null; a dkNull property is unset
  EXPECT_EQ("-/5 'p'/5 5/- -/-", Join({data(nullptr, empty.Var()), data(&set), data(&unset), data(nullptr)}));
  event = Chain(StringData("a"), &second); // consuming walks the Next chain; a take hands out the head alone
  EXPECT_EQ("'a'/2 2/'c' 'c'/- ''/-", Join({text(""), take(), text(""), text("")}));
}

// Every UTF-16 name comes back as it was, lone surrogates too; text not UTF-8 is refused, each bad byte U+FFFD.
TEST(Text, ToWideAndBackAndFrom1251) {
  const struct { std::string Text; std::u16string Wide; bool Whole; } rows[] = {
      {"", u"", true}, {"C:\\Program Files", u"C:\\Program Files", true}, {"Сорванта", u"Сорванта", true},
      {"D:\\Ünïcode 测试", u"D:\\Ünïcode 测试", true}, {"a😀b", u"a😀b", true},
      {"\xED\xA0\x80x\xED\xBF\xBF", u"\xD800x\xDFFF", true}, // lone surrogates, as a file name may hold them
      {"a\xFF" "b", u"a\xFFFD" "b", false}, {"\xC0\xAF", u"\xFFFD\xFFFD", false},        // a stray byte; an overlong '/'
      {"\xE6\xB5", u"\xFFFD\xFFFD", false}, {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD", false}}; // cut; beyond U+10FFFF
  for (const auto& r : rows) {
    TWideText wide;
    EXPECT_EQ(r.Whole, TextToWide(r.Text, wide)) << r.Text;
    EXPECT_EQ(std::u16string(wide.begin(), wide.end() - 1), r.Wide) << r.Text;
    EXPECT_EQ(L'\0', wide.back());
    if (r.Whole) {
      EXPECT_EQ(r.Text + "|" + r.Text, WideToText(wide.data()) + "|" + WideToText(wide.data(), wide.size() - 1));
    }
  }
  const wchar_t pair[] = {0xD83D, 0xDE00, 0}; // a pair cut by the count: its lone half
  EXPECT_EQ("\xED\xA0\xBD", WideToText(pair, 1));
  // Code page 1251 as the system's own table has it; 0x98, which it leaves unassigned, as U+0098.
  EXPECT_EQ("Сорванта v2.1 Ёё №€\xC2\x98", TextFrom1251("\xD1\xEE\xF0\xE2\xE0\xED\xF2\xE0 v2.1 \xA8\xB8 \xB9\x88\x98"));
#ifdef _WIN32
  for (int b = 1; b < 256; ++b) {
    const char byte = char(b);
    wchar_t system[2] = {};
    MultiByteToWideChar(1251, 0, &byte, 1, system, 2);
    EXPECT_EQ(WideToText(system), TextFrom1251(std::string(1, byte))) << b;
  }
#endif
}

} // namespace
