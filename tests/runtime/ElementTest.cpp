#include <gtest/gtest.h>

#include "Probe.h"
#include "omCase.h"
#include "omCopy.h"
#include "omDoData.h"
#include "omEditMulti.h"
#include "omFormatStr.h"
#include "omGetData.h"
#include "omHub.h"
#include "omMemory.h"
#include "omMultiElement.h"

namespace {

std::string Log;

// A deferred initialisation that logs its name.
void Logs(void* name) {
  Log += static_cast<const char*>(name) + std::string(" ");
  if (Log == "C B A ") DeferInit({&Logs, const_cast<char*>("late")}); // registered while the list runs
}
TInitCallback Init(const char* name) { return {&Logs, const_cast<char*>(name)}; }

struct TLogged : TOMObject { // an element that logs when it is freed
  const char* Name;
  explicit TLogged(const char* name) : Name(name) {}
  ~TLogged() override { Log += Name + std::string(" "); }
};

// inWork[0] and varData[0] reach the probe, varData[1] is unlinked; building registers an initialisation.
class TClassInner : public TSchemeContainer {
public:
  TLogged* const Host = MakeHost<TLogged>("inner-host");
  TOMEditMulti* const EditMulti = MakeBridge();
  TProbe* const Probe = Make<TProbe>(StringData("inner"));
  TLogged* const Element = Make<TLogged>("inner-element");

  explicit TClassInner(TWindowObject*) {
    Probe->Action = [](TData&) { Log += "deliver "; };
    DeferInit(Init("init"));
    SetBridge({Probe->In()}, {Probe->Var(), TPointLink()});
  }
};

class TClassOuter : public TSchemeContainer {
public:
  TLogged* const Form;
  TLogged* const First = Make<TLogged>("first");
  TOMMultiElement* const Page = Make<TOMMultiElement>();
  TLogged* const Last = Make<TLogged>("last");

  explicit TClassOuter(bool host) : Form(host ? MakeHost<TLogged>("form") : nullptr) {
    Page->SetCreateInner(&CreateContainer<TClassInner>);
  }
};

TEST(Container, DeferredInitsRunLastRegisteredFirstOnceEagerInnerContainersAtOnceFreesInMakingOrderTheHostLast) {
  Log.clear();
  RunDeferredInits();
  for (const char* name : {"A", "B", "C"}) DeferInit(Init(name));
  RunDeferredInits();
  RunDeferredInits();
  DeferInit(Init("next"));
  RunDeferredInits();
  EXPECT_EQ("C B A next ", Log);
  for (bool host : {true, false}) {
    Log.clear();
    auto outer = std::make_unique<TClassOuter>(host);
    EXPECT_EQ("", Log) << "an eager build leaves the deferred inits to its caller";
    RunDeferredInits();
    Log.clear();
    outer.reset();
    EXPECT_EQ(std::string("first inner-element inner-host last ") + (host ? "form " : ""), Log);
  }
}

TEST(MultiElement, BuildsOnFirstUseAndPassesTheVerySameValueInAllFourDirections) {
  TOMMultiElement page, data;
  TProbe outside;
  for (TOMMultiElement* m : {&page, &data}) {
    m->CreateOnFirstUse = true;
    m->SetCreateInner(&CreateContainer<TClassInner>);
  }
  page.SetEventCount(2);
  page.SetDataCount(1);
  page.EventLinks[1] = outside.In();
  page.DataLinks[0] = outside.Var();
  TData v = StringData("x"), e = IntegerData(1), in, through, none = IntegerData(4), beyond = IntegerData(4);
  EXPECT_EQ(nullptr, page.Inner); // the first use builds, runs the deferred inits, then delivers
  Log.clear();
  page.inWork(v, 0);
  data.varData(through, 0);
  EXPECT_EQ("init deliver init deliver 'inner'", Log + Show(through));

  TOMEditMulti& bridge = *page.Inner;
  TProbe& inside = *static_cast<TClassInner*>(bridge.Container)->Probe;
  inside.Action = [](TData& w) { ClearData(w); }; // what the inner element consumes, the caller loses
  page.inWork(v, 0);
  EXPECT_EQ("-", Show(v));
  inside.Action = [&](TData& w) { ForwardValue(w, page.EventLinks[1], StringData("fwd")); };
  page.inWork(v, 0); // a forward requested inside is delivered before inWork returns
  EXPECT_EQ("'fwd' 'fwd'", outside.Seen() + " " + Show(v));
  inside.Action = nullptr;
  bridge.inEvent(e, 1);
  bridge.getData(in, 0);
  page.varData(through, 0);
  // unlinked or beyond the counts: null, and nothing is called
  page.varData(none, 1);
  page.varData(beyond, 9);
  page.inWork(v, 9);
  bridge.inEvent(v, 9);
  EXPECT_EQ("'inner' - -", Show(through) + " " + Show(none) + " " + Show(beyond));
  EXPECT_EQ((std::vector<const TData*>{&v, &v, &v, &through}), inside.At);
  EXPECT_EQ((std::vector<const TData*>{&v, &e, &in}), outside.At);
}

// Fires value into the element's input M and returns what reached out.
template <auto M, class E> std::string Fired(E& element, TPointLink& out, TData value) {
  TProbe probe;
  out = probe.In();
  Fire(MakePointLink<M>(0, &element), value);
  out = TPointLink(); // the probe goes now
  return probe.Seen();
}

TEST(Hub, FiresEveryOutputInOrderEachChainToItsEndEachWithItsOwnCopy) {
  static const TPointLink unlinked;
  TOMHub hub, nested, none;
  TProbe p;
  // output 0 consumes its copy, output 2 forwards its copy away: neither touches the others
  p.Action = [&](TData& v) { if (p.Index.back() != 1) p.Index.back() == 0 ? ClearData(v) : ForwardNull(v, unlinked); };
  nested.SetOutputCount(1);
  nested.outStep[0] = p.In(1);
  hub.SetOutputCount(3);
  hub.outStep = {p.In(0), MakePointLink<&TOMHub::inDo>(0, &nested), p.In(2)};
  TData v = StringData("full");
  Fire(MakePointLink<&TOMHub::inDo>(5, &hub), v); // every input alike
  EXPECT_EQ((std::vector<uint16_t>{0, 1, 2}), p.Index);
  EXPECT_EQ("'full' 'full' 'full' 'full'", p.Seen() + " " + Show(v)); // the caller's value is left as it was
  FireInteger(MakePointLink<&TOMHub::inDo>(0, &none), 1);             // no outputs: nothing happens
}

TEST(DoDataAndGetData, SendThePulledValueElseDataElseNullWhateverArrives) {
  TOMDoData sender;
  TOMGetData reader;
  TProbe source(StringData("pulled"));
  std::vector<std::string> sent; // what each send fired, as Data and then the links are set
  auto send = [&] { sent.push_back(Fired<&TOMDoData::inDo>(sender, sender.outEventData, StringData("ignored"))); };
  send();
  sender.Data = IntegerData(1);
  send();
  sender.getData = MakePointLink<&TOMGetData::varData>(0, &reader);
  send();
  reader.getData = source.Var();
  send();
  EXPECT_EQ("- 1 - 'pulled'", Join(sent)); // the third: a linked point wins even when the reader's own is unlinked
}

TEST(Case, MatchesInTheKindOfTheArrivingValueElsePassesItWhole) {
  TOMCase test;
  TProbe match, otherwise;
  test.Value = IntegerData(6);
  test.outMatch = match.In();
  test.outElse = otherwise.In();
  TData second = StringData("b"), chain = Chain(StringData("a"), &second);
  for (TData v : {IntegerData(6), StringData("6"), RealData(6), IntegerData(7), TData(), StringData("06"),
                  RealData(6.5), chain})
    Fire(MakePointLink<&TOMCase::inCase>(0, &test), v);
  EXPECT_EQ("- - -", match.Seen());
  EXPECT_EQ("7 - '06' 6.5r 'a'", otherwise.Seen()); // texts compare as texts: 06 is not 6
  EXPECT_EQ(&second, otherwise.Got.back().Next);     // the value as it arrived, with its chain
}

TEST(Copy, CutsThePieceFiresEmptyTextOrNothing) {
  // the last row leaves position and count unset: they come from the event's next values
  TData count = IntegerData(2), position = Chain(IntegerData(2), &count);
  const struct { TData Event; int32_t Position, Count; const char* Fired; } rows[] = {
      {StringData("C:\\Program Files"), 1, 1, "'C'"}, {StringData(""), 1, 1, ""}, {StringData("abcde"), 20, 1, "''"},
      {StringData("abcde"), 4, 10, "'de'"}, {StringData("abc"), -3, 2, "'ab'"}, {StringData("abc"), 2, -1, "''"},
      {Chain(StringData("hello"), &position), 0, 0, "'el'"},
      // characters, not bytes; a byte that is not UTF-8 is one
      {StringData("Ünï测试"), 2, 3, "'nï测'"}, {StringData("测试"), 1, 1, "'测'"}, {StringData("\xFF" "ab"), 1, 2, "'\xFF" "a'"}};
  for (const auto& r : rows) {
    TOMCopy copy;
    copy.Position = r.Position;
    copy.Count = r.Count;
    EXPECT_EQ(r.Fired, Fired<&TOMCopy::inCopy>(copy, copy.outCopy, r.Event)) << Show(r.Event);
  }
}

TEST(Memory, StartsAtDefaultKeepsTheHeadSendsItAndClearsBack) {
  TOMMemory memory;
  memory.SetDefault(StringData("C"));
  // what it holds, marked when it keeps a pointer into the caller's chain
  auto held = [&] { TData b; memory.varValue(b, 0); return Show(b) + (memory.Current.Next ? "+chain" : ""); };
  TData second = StringData("gone soon"), head = Chain(StringData("D"), &second);
  EXPECT_EQ("'C' 'D' 'D' 'C' 'C'", Join({held(), Fired<&TOMMemory::inValue>(memory, memory.outData, head), held(),
                                        Fired<&TOMMemory::inClear>(memory, memory.outData, IntegerData(1)), held()}));
}

TEST(FormatStr, FillsPlaceholdersFromLinksOrTheEventReadingEveryOccurrenceAnew) {
  TOMFormatStr f;
  TProbe one, two(StringData("Zelcap2-1.exe"));
  auto format = [&](const char* mask, TData event = TData()) {
    f.Mask = mask;
    return Fired<&TOMFormatStr::inString>(f, f.outString, event);
  };
  f.SkipInserted = true;
  f.SetPointCount(2);
  f.getStr[1] = two.Var();
  EXPECT_EQ("'C:\\Tools\\Varkelo\\Zelcap2-1.exe'", format("%1\\Varkelo\\%2", StringData("C:\\Tools")));
  TData second = StringData("b"), first = Chain(StringData("a"), &second);
  EXPECT_EQ("'a-b-'", format("%1-%1-%1", first)); // the event's chain, then empty text
  two.Supply = StringData("s");
  EXPECT_EQ("'s-s' 3", Join({format("%2-%2"), std::to_string(two.Got.size())})); // a linked point is pulled each time
  const struct { int32_t Points; const char *Mask, *Fired; } rows[] = {{1, "%%1", "'%1'"}, {2, "%3 %0", "'%3 %0'"},
      {2, "100%", "'100%'"}, {2, "a%%%%b", "'a%%b'"}, {2, "%99999999999999999999", "'%99999999999999999999'"},
      {0, "%1 %%", "'%1 %%'"}}; // no points: nothing is replaced, pairs stay
  for (const auto& r : rows) {
    f.SetPointCount(r.Points);
    EXPECT_EQ(r.Fired, format(r.Mask, StringData("x"))) << r.Mask;
  }
  // SkipInserted decides whether an inserted text is scanned again
  one.Supply = StringData("<%2>");
  two.Supply = StringData("two");
  f.SetPointCount(2);
  f.getStr = {one.Var(), two.Var()};
  EXPECT_EQ("'<%2>'", format("%1"));
  f.SkipInserted = false;
  EXPECT_EQ("'<two>'", format("%1"));
  // a text holding its own placeholder: re-reading stops at the bound
  one.Got.clear();
  one.Supply = StringData("x%1");
  EXPECT_EQ("'" + std::string(TOMFormatStr::RescanLimit, 'x') + "%1!'", format("%1!"));
  EXPECT_EQ(size_t(TOMFormatStr::RescanLimit), one.Got.size());
}

// 100,000 forwarding elements: a dispatcher that recursed once per element would overflow the stack.
TEST(ForwardChain, RunsAtConstantStackDepth) {
  constexpr size_t Pairs = 50000;
  std::vector<TOMMemory> memories(Pairs);
  std::vector<TOMDoData> senders(Pairs);
  TProbe end;
  for (size_t i = 0; i < Pairs; ++i) {
    senders[i].Data = IntegerData(int32_t(i));
    memories[i].outData = MakePointLink<&TOMDoData::inDo>(0, &senders[i]);
    senders[i].outEventData = i + 1 < Pairs ? MakePointLink<&TOMMemory::inValue>(0, &memories[i + 1]) : end.In();
  }
  auto top = uintptr_t(__builtin_frame_address(0)), bottom = top;
  end.Action = [&](TData&) { bottom = uintptr_t(__builtin_frame_address(0)); };
  FireString(MakePointLink<&TOMMemory::inValue>(0, &memories[0]), "value");
  EXPECT_EQ(std::to_string(Pairs - 1), end.Seen());
  EXPECT_LT(top - bottom, 16u * 1024); // the stack grows down by a few frames, not one per element
}

} // namespace
