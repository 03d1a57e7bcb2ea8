#include <gtest/gtest.h>

#include <climits>
#include <cmath>

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
  EXPECT_EQ(42, DataToInteger(StringData("42")));
  EXPECT_EQ(-7, DataToInteger(StringData("-7")));
  EXPECT_EQ(3, DataToInteger(StringData("+3")));
  EXPECT_EQ(0, DataToInteger(StringData("-0")));
  EXPECT_EQ(12, DataToInteger(StringData("12ab")));
  EXPECT_EQ(0, DataToInteger(StringData("ab12")));
  EXPECT_EQ(0, DataToInteger(StringData(" 5")));
  EXPECT_EQ(0, DataToInteger(StringData("")));
  EXPECT_EQ(0, DataToInteger(StringData("-")));
  // 32-bit wrap-around, no overflow check
  EXPECT_EQ(INT32_MIN, DataToInteger(StringData("2147483648")));
  EXPECT_EQ(1, DataToInteger(StringData("4294967297")));
}

TEST(Conversions, RealToIntegerRoundsHalvesToEven) {
  EXPECT_EQ(2, DataToInteger(Real(2.5)));
  EXPECT_EQ(4, DataToInteger(Real(3.5)));
  EXPECT_EQ(-2, DataToInteger(Real(-2.5)));
  EXPECT_EQ(3, DataToInteger(Real(2.6)));
  // the low 32 bits of the 64-bit result
  EXPECT_EQ(0, DataToInteger(Real(4294967296.0)));
  EXPECT_EQ(5, DataToInteger(Real(4294967301.0)));
  EXPECT_EQ(0, DataToInteger(Real(NAN)));
}

TEST(Conversions, IntegerToText) {
  EXPECT_EQ("0", DataToString(IntegerData(0)));
  EXPECT_EQ("-15", DataToString(IntegerData(-15)));
  EXPECT_EQ("2147483647", DataToString(IntegerData(INT32_MAX)));
  EXPECT_EQ("-2147483648", DataToString(IntegerData(INT32_MIN)));
}

TEST(Conversions, RealToTextFifteenDigitsNoExponent) {
  EXPECT_EQ("2.5", DataToString(Real(2.5)));
  EXPECT_EQ("100", DataToString(Real(100)));
  EXPECT_EQ("0.001", DataToString(Real(0.001)));
  EXPECT_EQ("-1.25", DataToString(Real(-1.25)));
  EXPECT_EQ("0.333333333333333", DataToString(Real(1.0 / 3.0)));
  EXPECT_EQ("0.666666666666667", DataToString(Real(2.0 / 3.0)));
  EXPECT_EQ("100000000000000000000", DataToString(Real(1e20)));
  EXPECT_EQ("0", DataToString(Real(0.0)));
  EXPECT_EQ("0", DataToString(Real(-0.0)));
  EXPECT_EQ("0.5", DataToString(Real(0.5)));
  EXPECT_EQ("0.1", DataToString(Real(0.1)));
  EXPECT_EQ("123456789012345", DataToString(Real(123456789012345.0)));
  // sixteen digits are rounded to fifteen; a carry adds a digit
  EXPECT_EQ("1234567890123460", DataToString(Real(1234567890123456.0)));
  EXPECT_EQ("10", DataToString(Real(9.9999999999999999)));
  EXPECT_EQ("1000000000000000", DataToString(Real(999999999999999.9)));
  EXPECT_EQ("0.00000000000000000001", DataToString(Real(1e-20)));
}

TEST(Conversions, TextToReal) {
  EXPECT_DOUBLE_EQ(3.25, DataToReal(StringData("3.25")));
  EXPECT_DOUBLE_EQ(-2.0, DataToReal(StringData("-2")));
  EXPECT_DOUBLE_EQ(2.0, DataToReal(StringData("+2")));
  EXPECT_DOUBLE_EQ(15.0, DataToReal(StringData("1,5")));
  EXPECT_DOUBLE_EQ(250.0, DataToReal(StringData("2.5e2")));
  EXPECT_DOUBLE_EQ(0.25, DataToReal(StringData("2.5e-1")));
  EXPECT_DOUBLE_EQ(1.2, DataToReal(StringData("1.2.3")));
  EXPECT_DOUBLE_EQ(0.0, DataToReal(StringData("abc")));
  EXPECT_DOUBLE_EQ(0.0, DataToReal(StringData("")));
  EXPECT_DOUBLE_EQ(7.0, DataToReal(IntegerData(7)));
}

TEST(Conversions, OtherKindsGiveNothingAndTruth) {
  TData stream = StreamData(nullptr);
  TData null;
  TData gap;
  gap.Kind = 5; // unused kinds behave like dkNull
  gap.IntValue = 9;
  for (const TData* d : {&stream, &null, &gap}) {
    EXPECT_EQ("", DataToString(*d));
    EXPECT_EQ(0, DataToInteger(*d));
    EXPECT_EQ(0.0, DataToReal(*d));
  }
  EXPECT_TRUE(DataIsTrue(null));
  EXPECT_TRUE(DataIsTrue(StringData("")));
  EXPECT_TRUE(DataIsTrue(Real(0.0)));
  EXPECT_FALSE(DataIsTrue(IntegerData(0)));
  EXPECT_TRUE(DataIsTrue(IntegerData(-1)));
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

TEST(Firing, UnlinkedOutputCallsNothingAndLeavesValue) {
  LiveDispatch live;
  TData v = StringData("keep");
  Fire(TPointLink(), v);
  EXPECT_EQ(dkString, v.Kind);
  EXPECT_EQ("keep", v.StrValue);
}

TEST(Firing, ValueTravelsByReferenceAndCarriesIndex) {
  LiveDispatch live;
  TProbe probe;
  probe.Action = [](TData& v, uint16_t) { SetIntegerData(v, 77); };
  TData v = StringData("in");
  Fire(probe.In(3), v);
  ASSERT_EQ(1u, probe.Calls.size());
  EXPECT_EQ(3, probe.Calls[0].Index);
  EXPECT_EQ("in", probe.Calls[0].Value.StrValue);
  EXPECT_EQ(77, v.IntValue); // the receiver wrote into the caller's value
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

TEST(Readers, LinkedPointOfAnEmptySourceGivesNullAndKeepsTheEvent) {
  LiveDispatch live;
  TProbe source; // Supply stays dkNull
  TData event = IntegerData(5);
  TData got = ReadPointData(event, source.Var(), nullptr);
  EXPECT_EQ(dkNull, got.Kind);
  EXPECT_EQ(5, event.IntValue); // a linked point never consumes the event
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

TEST(Fonts, MakeFontRecKeepsEveryField) {
  TFontRec f = MakeFontRec("Tahoma", 8, 1, int32_t(0xFF000005), 204);
  EXPECT_EQ("Tahoma", f.Name);
  EXPECT_EQ(8, f.Size);
  EXPECT_EQ(1, f.Style);
  EXPECT_EQ(int32_t(0xFF000005), f.Color);
  EXPECT_EQ(204, f.Charset);
}

TEST(OwnerWindow, ZeroWithoutASourceThenWhatTheSourceSays) {
  SetMainWindowSource(nullptr);
  EXPECT_EQ(0u, MainWindowHandle());
  SetMainWindowSource([]() -> uintptr_t { return 0x1234; });
  EXPECT_EQ(0x1234u, MainWindowHandle());
  SetMainWindowSource(nullptr);
}

} // namespace
