#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>

#include "Probe.h"
#include "Share.h"

namespace {

TData Real(double v) {
  TData d;
  d.Kind = dkReal;
  d.RealValue = v;
  return d;
}

TEST(Conversions, TextToInteger) {
  const std::pair<const char*, int32_t> rows[] = {
      {"42", 42}, {"-7", -7}, {"+3", 3}, {"-0", 0}, {"12ab", 12}, {"ab12", 0}, {" 5", 0}, {"", 0}, {"-", 0},
      {"2147483648", INT32_MIN}, {"4294967297", 1}}; // 32-bit wrap-around, no overflow check
  for (const auto& r : rows) EXPECT_EQ(r.second, DataToInteger(StringData(r.first))) << r.first;
}

TEST(Conversions, RealToIntegerRoundsHalvesToEvenAndKeepsTheLow32Bits) {
  const std::pair<double, int32_t> rows[] = {{2.5, 2},          {3.5, 4}, {-2.5, -2}, {2.6, 3},
                                             {4294967296.0, 0}, {4294967301.0, 5}, {NAN, 0}};
  for (const auto& r : rows) EXPECT_EQ(r.second, DataToInteger(Real(r.first))) << r.first;
}

TEST(Conversions, NumbersToText) {
  const std::pair<int32_t, const char*> ints[] = {
      {0, "0"}, {-15, "-15"}, {INT32_MAX, "2147483647"}, {INT32_MIN, "-2147483648"}};
  for (const auto& r : ints) EXPECT_EQ(r.second, DataToString(IntegerData(r.first)));
  // fifteen significant digits, never an exponent; a rounding carry adds a digit
  const std::pair<double, const char*> reals[] = {
      {2.5, "2.5"}, {100, "100"}, {0.001, "0.001"}, {-1.25, "-1.25"}, {0.0, "0"}, {-0.0, "0"}, {0.5, "0.5"},
      {0.1, "0.1"}, {1.0 / 3.0, "0.333333333333333"}, {2.0 / 3.0, "0.666666666666667"},
      {1e20, "100000000000000000000"}, {1e-20, "0.00000000000000000001"},
      {123456789012345.0, "123456789012345"}, {1234567890123456.0, "1234567890123460"},
      {9.9999999999999999, "10"}, {999999999999999.9, "1000000000000000"}};
  for (const auto& r : reals) EXPECT_EQ(r.second, DataToString(Real(r.first))) << r.second;
}

TEST(Conversions, TextToReal) {
  const std::pair<const char*, double> rows[] = {{"3.25", 3.25}, {"-2", -2.0},  {"+2", 2.0},   {"1,5", 15.0},
                                                 {"2.5e2", 250}, {"2.5e-1", .25}, {"1.2.3", 1.2}, {"abc", 0},
                                                 {"", 0}};
  for (const auto& r : rows) EXPECT_DOUBLE_EQ(r.second, DataToReal(StringData(r.first))) << r.first;
  EXPECT_DOUBLE_EQ(7.0, DataToReal(IntegerData(7)));
}

TEST(Conversions, OtherKindsGiveNothingAndTruth) {
  TData stream = StreamData(nullptr), null, gap;
  gap.Kind = 5; // unused kinds behave like dkNull
  gap.IntValue = 9;
  for (const TData* d : {&stream, &null, &gap}) {
    EXPECT_EQ("", DataToString(*d));
    EXPECT_EQ(0, DataToInteger(*d));
    EXPECT_EQ(0.0, DataToReal(*d));
  }
  for (const TData& d : {null, StringData(""), Real(0.0), IntegerData(-1)}) EXPECT_TRUE(DataIsTrue(d));
  EXPECT_FALSE(DataIsTrue(IntegerData(0)));
}

TEST(Builders, SetKeepsForwardLinkAndDropsNext) {
  TData other = IntegerData(1);
  TPointLink link;
  TData d = StringData("x");
  d.Next = &other;
  d.ForwardLink = &link;
  SetIntegerData(d, 5);
  EXPECT_EQ(dkInteger, d.Kind);
  EXPECT_EQ(nullptr, d.Next);
  EXPECT_EQ(&link, d.ForwardLink);
  d.Next = &other;
  ClearData(d);
  EXPECT_EQ(dkNull, d.Kind);
  EXPECT_EQ(nullptr, d.Next);
}

TEST(Firing, MutedDispatcherReachesNothing) {
  StopDispatch();
  TProbe probe;
  probe.Supply = IntegerData(9);
  FireInteger(probe.In(), 1);
  TData buffer = IntegerData(3);
  PullPoint(buffer, probe.Var());
  EXPECT_TRUE(probe.Calls.empty());
  EXPECT_EQ(dkNull, buffer.Kind);
  TData event;
  EXPECT_EQ(0, ReadPointInteger(event, probe.Var(), 5)); // linked: the property is not a fallback
}

TEST(Firing, ValueTravelsByReferenceAndCarriesIndexUnlinkedCallsNothing) {
  LiveDispatch live;
  TProbe probe;
  probe.Action = [](TData& v, uint16_t) { SetIntegerData(v, 77); };
  TData v = StringData("in");
  Fire(probe.In(3), v);
  ASSERT_EQ(1u, probe.Calls.size());
  EXPECT_EQ(3, probe.Calls[0].Index);
  EXPECT_EQ("in", probe.Calls[0].Value.StrValue);
  EXPECT_EQ(77, v.IntValue); // the receiver wrote into the caller's value
  TData kept = StringData("keep");
  Fire(TPointLink(), kept); // unlinked: nothing called, the value left alone
  EXPECT_EQ(dkString, kept.Kind);
  EXPECT_EQ("keep", kept.StrValue);
}

// A forwarding element: it overwrites the event and returns.
struct TForwarder : TOMObject {
  TPointLink Out;
  TData Send;
  bool Returned = false;
  bool ReceiverSawReturn = false;
  void inDo(TData& value, uint16_t) {
    ForwardValue(value, Out, Send);
    Returned = true;
  }
};

TEST(Forwarding, DeliveredAfterTheMethodReturnsNeverSeenByCaller) {
  LiveDispatch live;
  TForwarder fwd;
  TProbe probe;
  fwd.Out = probe.In(4);
  fwd.Send = IntegerData(21);
  probe.Action = [&](TData& v, uint16_t) {
    fwd.ReceiverSawReturn = fwd.Returned;
    EXPECT_EQ(0, v.Kind & dkForward);
  };
  TData v = StringData("start");
  Fire(MakePointLink<&TForwarder::inDo>(0, &fwd), v);
  ASSERT_EQ(1u, probe.Calls.size());
  EXPECT_TRUE(fwd.ReceiverSawReturn);
  EXPECT_EQ(4, probe.Calls[0].Index);
  EXPECT_EQ(21, probe.Calls[0].Value.IntValue);
  EXPECT_EQ(dkInteger, v.Kind); // flag removed before the caller gets its value back
}

TEST(Forwarding, ToUnlinkedEndsQuietlyAndForwardNullKeepsPayload) {
  LiveDispatch live;
  TForwarder fwd;
  fwd.Send = IntegerData(1);
  TData v;
  Fire(MakePointLink<&TForwarder::inDo>(0, &fwd), v);
  EXPECT_EQ(dkInteger, v.Kind);

  TPointLink target;
  TData n = StringData("left");
  ForwardNull(n, target);
  EXPECT_EQ(dkNull | dkForward, n.Kind);
  EXPECT_EQ("left", n.StrValue);
  EXPECT_EQ(&target, n.ForwardLink);
}

TEST(Readers, FallbackOrderLinkThenPropertyThenEvent) {
  LiveDispatch live;
  TProbe source;
  source.Supply = StringData("15");
  TData event = IntegerData(99);

  // linked: pulled and converted; the event is untouched
  EXPECT_EQ(15, ReadPointInteger(event, source.Var(), 7));
  EXPECT_EQ(99, event.IntValue);
  EXPECT_EQ(dkInteger, event.Kind);
  // property set: the property, whatever the event carries
  EXPECT_EQ(7, ReadPointInteger(event, TPointLink(), 7));
  EXPECT_EQ(dkInteger, event.Kind);
  // property unset: the event's value, consumed
  EXPECT_EQ(99, ReadPointInteger(event, TPointLink(), 0));
  EXPECT_EQ(dkNull, event.Kind);
  // nothing left: the unset property
  EXPECT_EQ(0, ReadPointInteger(event, TPointLink(), 0));
  // a linked source with nothing to give: null, and the event is still not consumed
  TProbe empty;
  TData kept = IntegerData(5);
  EXPECT_EQ(dkNull, ReadPointData(kept, empty.Var(), nullptr).Kind);
  EXPECT_EQ(5, kept.IntValue);

  TData text = StringData("abc");
  EXPECT_EQ("prop", ReadPointString(text, TPointLink(), "prop"));
  EXPECT_EQ("abc", ReadPointString(text, TPointLink(), ""));
  EXPECT_EQ("", ReadPointString(text, TPointLink(), ""));

  TData dataEvent = IntegerData(4);
  TData unsetProperty;
  TData setProperty = StringData("p");
  EXPECT_EQ("p", ReadPointData(dataEvent, TPointLink(), &setProperty).StrValue);
  EXPECT_EQ(4, ReadPointData(dataEvent, TPointLink(), &unsetProperty).IntValue);
  EXPECT_EQ(dkNull, dataEvent.Kind);
  EXPECT_EQ(dkNull, ReadPointData(dataEvent, TPointLink(), nullptr).Kind);
}

TEST(Readers, ConsumptionWalksTheNextChain) {
  TData third = StringData("c");
  TData second = IntegerData(2);
  second.Next = &third;
  TData event = StringData("a");
  event.Next = &second;

  EXPECT_EQ("a", ReadPointString(event, TPointLink(), ""));
  EXPECT_EQ(2, ReadPointInteger(event, TPointLink(), 0));
  TData head = TakeEventValue(event);
  EXPECT_EQ("c", head.StrValue);
  EXPECT_EQ(nullptr, head.Next);
  EXPECT_EQ(dkNull, event.Kind);
  EXPECT_EQ("", ReadPointString(event, TPointLink(), ""));

  // a single value: the first reader takes it, the second gets empty text
  TData single = StringData("only");
  EXPECT_EQ("only", ReadPointString(single, TPointLink(), ""));
  EXPECT_EQ("", ReadPointString(single, TPointLink(), ""));
}

TEST(Readers, PullFillsTheBufferThroughTheDispatcherAndFollowsForwards) {
  LiveDispatch live;
  TProbe end;
  end.Supply = StringData("deep");
  TForwarder fwd; // a data method may forward too
  fwd.Out = end.Var();
  TData buffer = IntegerData(1);
  PullPoint(buffer, MakePointLink<&TForwarder::inDo>(0, &fwd));
  ASSERT_EQ(1u, end.Calls.size());
  EXPECT_EQ("deep", buffer.StrValue);
  TData unlinked = IntegerData(1);
  PullPoint(unlinked, TPointLink());
  EXPECT_EQ(dkNull, unlinked.Kind);
}

} // namespace
