#include <gtest/gtest.h>

#include "Probe.h"
#include "omCase.h"
#include "omCopy.h"
#include "omDoData.h"
#include "omFormatStr.h"
#include "omGetData.h"
#include "omHub.h"
#include "omMemory.h"

namespace {

TEST(Hub, FiresOutputsInOrderEachWithItsOwnCopy) {
  LiveDispatch live;
  TOMHub hub;
  hub.SetOutputCount(3);
  std::vector<int> order;
  TProbe p0, p1, p2;
  p0.Action = [&](TData& v, uint16_t) {
    order.push_back(0);
    ClearData(v); // consumes its copy only
  };
  p1.Action = [&](TData& v, uint16_t) {
    order.push_back(1);
    EXPECT_EQ("full", v.StrValue);
    ForwardNull(v, TPointLink()); // a forward stays on its copy too
  };
  p2.Action = [&](TData&, uint16_t) { order.push_back(2); };
  hub.outStep[0] = p0.In();
  hub.outStep[1] = p1.In();
  hub.outStep[2] = p2.In();
  TData v = StringData("full");
  Fire(MakePointLink<&TOMHub::inDo>(5, &hub), v);
  EXPECT_EQ((std::vector<int>{0, 1, 2}), order);
  ASSERT_EQ(1u, p2.Calls.size());
  EXPECT_EQ(dkString, p2.Calls[0].Value.Kind);
  EXPECT_EQ("full", p2.Calls[0].Value.StrValue);
  EXPECT_EQ(dkString, v.Kind); // the caller's value is left as it was
}

TEST(Hub, EachOutputsChainEndsBeforeTheNext) {
  LiveDispatch live;
  TOMHub outer, inner;
  outer.SetOutputCount(2);
  inner.SetOutputCount(1);
  std::vector<std::string> seen;
  TProbe deep, second;
  deep.Action = [&](TData&, uint16_t) { seen.push_back("deep"); };
  second.Action = [&](TData&, uint16_t) { seen.push_back("second"); };
  inner.outStep[0] = deep.In();
  outer.outStep[0] = MakePointLink<&TOMHub::inDo>(0, &inner);
  outer.outStep[1] = second.In();
  FireNull(MakePointLink<&TOMHub::inDo>(0, &outer));
  EXPECT_EQ((std::vector<std::string>{"deep", "second"}), seen);

  TOMHub none;
  none.SetOutputCount(0);
  FireInteger(MakePointLink<&TOMHub::inDo>(0, &none), 1); // does nothing, and safely
}

TEST(DoData, SendsDataOrPulledValueWhateverArrives) {
  LiveDispatch live;
  TProbe out, source;
  TOMDoData sender;
  sender.outEventData = out.In();
  sender.Data = IntegerData(1);
  FireString(MakePointLink<&TOMDoData::inDo>(0, &sender), "ignored");
  ASSERT_EQ(1u, out.Calls.size());
  EXPECT_EQ(1, out.Calls[0].Value.IntValue);

  source.Supply = StringData("pulled");
  sender.getData = source.Var();
  FireInteger(MakePointLink<&TOMDoData::inDo>(0, &sender), 5);
  EXPECT_EQ("pulled", out.Calls[1].Value.StrValue);

  TOMDoData unset;
  unset.outEventData = out.In();
  FireInteger(MakePointLink<&TOMDoData::inDo>(0, &unset), 5);
  EXPECT_EQ(dkNull, out.Calls[2].Value.Kind);
}

TEST(Case, MatchesInTheKindOfTheValueThatArrivesElseGetsTheChain) {
  LiveDispatch live;
  TOMCase test;
  test.Value = IntegerData(6);
  TProbe match, otherwise;
  test.outMatch = match.In();
  test.outElse = otherwise.In();
  TPointLink in = MakePointLink<&TOMCase::inCase>(0, &test);

  FireInteger(in, 6);
  FireString(in, "6");
  ASSERT_EQ(2u, match.Calls.size());
  EXPECT_EQ(dkNull, match.Calls[0].Value.Kind);

  FireInteger(in, 7);
  FireNull(in);
  FireString(in, "06"); // text compares as text: "6" is not "06"
  ASSERT_EQ(3u, otherwise.Calls.size());
  EXPECT_EQ(7, otherwise.Calls[0].Value.IntValue);
  EXPECT_EQ(dkNull, otherwise.Calls[1].Value.Kind);
  EXPECT_EQ("06", otherwise.Calls[2].Value.StrValue);

  TData real;
  real.Kind = dkReal;
  real.RealValue = 6.0;
  Fire(in, real);
  EXPECT_EQ(3u, match.Calls.size());

  // outElse gets the value with its whole chain
  test.Value = StringData("x");
  otherwise.Action = [](TData& v, uint16_t) {
    EXPECT_EQ("a", ReadPointString(v, TPointLink(), ""));
    EXPECT_EQ("b", ReadPointString(v, TPointLink(), ""));
  };
  TData second = StringData("b"), first = StringData("a");
  first.Next = &second;
  Fire(in, first);
  EXPECT_EQ(4u, otherwise.Calls.size());
}

TEST(GetData, PassesThePulledValueOrNull) {
  LiveDispatch live;
  TOMGetData reader;
  TProbe source;
  source.Supply = IntegerData(3);
  TData b;
  PullPoint(b, MakePointLink<&TOMGetData::varData>(0, &reader));
  EXPECT_EQ(dkNull, b.Kind);
  reader.getData = source.Var();
  PullPoint(b, MakePointLink<&TOMGetData::varData>(0, &reader));
  EXPECT_EQ(3, b.IntValue);
}

TEST(Copy, CutsThePieceOrFiresEmptyOrNothing) {
  LiveDispatch live;
  const struct {
    const char* Text;
    int32_t Position, Count;
    const char* Piece; // nullptr: nothing fired
  } rows[] = {{"C:\\Program Files", 1, 1, "C"}, {"", 1, 1, nullptr}, {"abcde", 20, 1, ""},
              {"abcde", 4, 10, "de"} /* fewer where the text ends first */, {"abc", -3, -1, ""}};
  for (const auto& r : rows) {
    TOMCopy copy;
    TProbe out;
    copy.outCopy = out.In();
    copy.Position = r.Position;
    copy.Count = r.Count;
    FireString(MakePointLink<&TOMCopy::inCopy>(0, &copy), r.Text);
    ASSERT_EQ(r.Piece ? 1u : 0u, out.Calls.size()) << r.Text;
    if (!r.Piece) continue;
    EXPECT_EQ(dkString, out.Calls[0].Value.Kind);
    EXPECT_EQ(r.Piece, out.Calls[0].Value.StrValue) << r.Text;
  }
  // unset position and count come from the event's next values
  TOMCopy chained;
  TProbe out;
  chained.outCopy = out.In();
  TData count = IntegerData(2), position = IntegerData(2), text = StringData("hello");
  position.Next = &count;
  text.Next = &position;
  Fire(MakePointLink<&TOMCopy::inCopy>(0, &chained), text);
  ASSERT_EQ(1u, out.Calls.size());
  EXPECT_EQ("el", out.Calls[0].Value.StrValue);
}

TEST(Memory, KeepsDefaultStoresOnlyTheHeadSendsAndClears) {
  LiveDispatch live;
  TOMMemory memory;
  TProbe out;
  memory.outData = out.In();
  memory.SetDefault(StringData("C"));
  auto current = [&] {
    TData b;
    PullPoint(b, MakePointLink<&TOMMemory::varValue>(0, &memory));
    return b.StrValue;
  };
  EXPECT_EQ("C", current());
  FireString(MakePointLink<&TOMMemory::inValue>(0, &memory), "D");
  EXPECT_EQ("D", current());
  FireInteger(MakePointLink<&TOMMemory::inClear>(0, &memory), 1);
  EXPECT_EQ("C", current());
  ASSERT_EQ(2u, out.Calls.size()); // the stored value, then the default it went back to
  EXPECT_EQ("D", out.Calls[0].Value.StrValue);
  EXPECT_EQ("C", out.Calls[1].Value.StrValue);

  // only the head is stored: no pointer into the caller's chain, gone soon
  {
    TData second = StringData("gone soon"), first = StringData("head");
    first.Next = &second;
    Fire(MakePointLink<&TOMMemory::inValue>(0, &memory), first);
  }
  EXPECT_EQ(nullptr, memory.Current.Next);
  EXPECT_EQ("head", memory.Current.StrValue);
}

struct FormatFixture : ::testing::Test {
  LiveDispatch live;
  TOMFormatStr format;
  TProbe out;
  FormatFixture() { format.outString = out.In(); }
  std::string Run(TData value) {
    Fire(MakePointLink<&TOMFormatStr::inString>(0, &format), value);
    return out.Calls.empty() ? "<none>" : out.Calls.back().Value.StrValue;
  }
};

TEST_F(FormatFixture, FillsLinkedAndEventPlaceholders) {
  TOMMemory fileName;
  fileName.SetDefault(StringData("Zelcap2-1.exe"));
  format.Mask = "%1\\Varkelo\\%2";
  format.SkipInserted = true;
  format.SetPointCount(2);
  format.getStr[1] = MakePointLink<&TOMMemory::varValue>(0, &fileName);
  EXPECT_EQ("C:\\Tools\\Varkelo\\Zelcap2-1.exe", Run(StringData("C:\\Tools")));
}

TEST_F(FormatFixture, PercentPairsOutOfRangeAndTrailingPercent) {
  format.SkipInserted = true;
  const struct {
    int32_t Points;
    const char* Mask;
    const char* Out;
  } rows[] = {{1, "%%1", "%1"},     {2, "%3 and %0 stay", "%3 and %0 stay"}, {2, "100%", "100%"},
              {2, "a%%%%b", "a%%b"}, {2, "%99999999999999999999", "%99999999999999999999"},
              {0, "%1 %%", "%1 %%"} /* no points: nothing is replaced, pairs stay */};
  for (const auto& r : rows) {
    format.SetPointCount(r.Points);
    format.Mask = r.Mask;
    EXPECT_EQ(r.Out, Run(StringData("x"))) << r.Mask;
  }
}

TEST_F(FormatFixture, RepeatedPlaceholderReadsAgain) {
  format.SkipInserted = true;
  format.SetPointCount(1);
  format.Mask = "%1-%1-%1";
  TData second = StringData("b");
  TData first = StringData("a");
  first.Next = &second;
  EXPECT_EQ("a-b-", Run(first));

  TProbe source;
  source.Supply = StringData("s");
  format.getStr[0] = source.Var();
  EXPECT_EQ("s-s-s", Run(StringData("ignored")));
  EXPECT_EQ(3u, source.Calls.size());
}

TEST_F(FormatFixture, SkipInsertedDecidesWhetherInsertedTextIsScannedAgain) {
  format.SetPointCount(2);
  TProbe one, two;
  one.Supply = StringData("<%2>");
  two.Supply = StringData("two");
  format.getStr[0] = one.Var();
  format.getStr[1] = two.Var();
  format.Mask = "%1";
  format.SkipInserted = true;
  EXPECT_EQ("<%2>", Run(TData()));
  format.SkipInserted = false;
  EXPECT_EQ("<two>", Run(TData())); // inserted text is scanned again
  one.Calls.clear();

  one.Supply = StringData("x%1"); // contains its own placeholder
  format.Mask = "%1!";
  std::string s = Run(TData());
  // bounded: the scan stops re-reading after the limit and the text ends
  EXPECT_EQ(size_t(TOMFormatStr::RescanLimit), one.Calls.size());
  EXPECT_EQ(std::string(TOMFormatStr::RescanLimit, 'x') + "%1!", s);
}

} // namespace
