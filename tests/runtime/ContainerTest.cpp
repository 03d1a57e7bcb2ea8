#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Container.h"
#include "Probe.h"
#include "omEditMulti.h"
#include "omHub.h"
#include "omMemory.h"
#include "omMultiElement.h"

namespace {

std::vector<std::string> Log;

// ------------------------------------------------------------ deferred inits

struct TInitRecorder {
  std::string Name;
  TInitCallback Also; // registered while the list runs, when set
  void Run() {
    Log.push_back(Name);
    if (Also.Method) DeferInit(Also);
  }
};

// Last registered runs first, each once; one registered while the list runs is
// dropped, and a list registered afterwards runs on the next call.
TEST(DeferredInit, LastRegisteredRunsFirstOnceAndLateOnesAreDropped) {
  Log.clear();
  TInitRecorder late{"late", {}};
  TInitRecorder a{"A", MakeInitCallback<TInitRecorder, &TInitRecorder::Run>(&late)}, b{"B", {}}, c{"C", {}};
  for (TInitRecorder* r : {&a, &b, &c}) DeferInit(MakeInitCallback<TInitRecorder, &TInitRecorder::Run>(r));
  RunDeferredInits();
  EXPECT_EQ((std::vector<std::string>{"C", "B", "A"}), Log);
  EXPECT_FALSE(DeferredInitsPending());
  RunDeferredInits(); // nothing registered: nothing happens
  EXPECT_EQ(3u, Log.size());
  DeferInit(MakeInitCallback<TInitRecorder, &TInitRecorder::Run>(&late));
  RunDeferredInits();
  EXPECT_EQ((std::vector<std::string>{"C", "B", "A", "late"}), Log);
}

// --------------------------------------------- a container built by the pattern

// An element that logs its birth and death.
struct TLogged : TOMObject {
  std::string Name;
  TPointLink Out;
  explicit TLogged(std::string name) : Name(std::move(name)) { Log.push_back("new " + Name); }
  ~TLogged() override { Log.push_back("free " + Name); }
  void Configure() { Log.push_back("set " + Name); }
  void inDo(TData& value, uint16_t) { Fire(Out, value); }
};

// Inner container: bridge, a hub and a memory; the host is a logged element.
class TClassInner : public TSchemeContainer {
public:
  int Built = (Log.push_back("build inner"), 0);
  TLogged* const Host = MakeHost<TLogged>("inner host");
  TOMEditMulti* const EditMulti = MakeBridge();
  TLogged* const Relay = Make<TLogged>("inner relay");
  TOMMemory* const Memory = Make<TOMMemory>();

  explicit TClassInner(TWindowObject*) {
    // reverse order; the bridge last
    Memory->SetDefault(StringData("inner memory"));
    Relay->Configure();
    Relay->Out = MakePointLink<&TOMEditMulti::inEvent>(1, EditMulti);
    SetBridge({MakePointLink<&TLogged::inDo>(0, Relay)}, {MakePointLink<&TOMMemory::varValue>(0, Memory), TPointLink()});
  }
};

TEST(Container, InnerBuiltAtOnceAndFreedExactlyOnce) {
  Log.clear();
  {
    TOMMultiElement eager;
    eager.SetEventCount(2);
    eager.SetDataCount(1);
    eager.SetCreateInner(&CreateContainer<TClassInner>);
    ASSERT_NE(nullptr, eager.Inner);
    EXPECT_EQ(&eager, eager.Inner->Host);
    EXPECT_EQ((std::vector<std::string>{"build inner", "new inner host", "new inner relay", "set inner relay"}), Log);
    Log.clear();
  }
  // declaration order, the host last
  EXPECT_EQ((std::vector<std::string>{"free inner relay", "free inner host"}), Log);
}

TEST(Container, FirstUseBuildsRunsDeferredInitsThenDelivers) {
  LiveDispatch live;
  Log.clear();
  TInitRecorder deferred{"deferred", {}};
  DeferInit(MakeInitCallback<TInitRecorder, &TInitRecorder::Run>(&deferred));
  TOMMultiElement lazy;
  lazy.CreateOnFirstUse = true;
  lazy.SetEventCount(2);
  lazy.SetCreateInner(&CreateContainer<TClassInner>);
  EXPECT_EQ(nullptr, lazy.Inner);
  EXPECT_TRUE(Log.empty()) << "nothing built yet";
  TProbe out;
  out.Action = [&](TData&, uint16_t) { EXPECT_EQ("deferred", Log.back()); };
  lazy.EventLinks[1] = out.In();
  FireString(MakePointLink<&TOMMultiElement::inWork>(0, &lazy), "v");
  ASSERT_EQ(1u, out.Calls.size());
  EXPECT_EQ("v", out.Calls[0].Value.StrValue);

  TOMMultiElement lazyData;
  lazyData.CreateOnFirstUse = true;
  lazyData.SetCreateInner(&CreateContainer<TClassInner>);
  TData b;
  PullPoint(b, MakePointLink<&TOMMultiElement::varData>(0, &lazyData));
  EXPECT_EQ("inner memory", b.StrValue);
}

// An inner element that consumes its value, and one that forwards.
struct TConsumer : TOMObject {
  TData* Seen = nullptr;
  TPointLink Forward;
  void inTake(TData& value, uint16_t) {
    Seen = &value;
    if (Forward.Method) ForwardValue(value, Forward, StringData("forwarded"));
    else ClearData(value);
  }
};

TEST(Container, AllFourDirectionsPassTheVerySameValue) {
  LiveDispatch live;
  TOMMultiElement host;
  TOMEditMulti bridge;
  host.Inner = &bridge;
  bridge.Host = &host;
  host.SetEventCount(1);
  host.SetDataCount(1);
  bridge.SetWorkCount(1);
  bridge.SetVarCount(1);

  // event in: the inner element gets the caller's own TData and consumes it
  TConsumer inner;
  bridge.WorkLinks[0] = MakePointLink<&TConsumer::inTake>(0, &inner);
  TData v = StringData("x");
  Fire(MakePointLink<&TOMMultiElement::inWork>(0, &host), v);
  EXPECT_EQ(&v, inner.Seen);
  EXPECT_EQ(dkNull, v.Kind);

  // a forward requested inside is delivered before inWork returns
  TProbe after;
  inner.Forward = after.In();
  TData w = StringData("y");
  Fire(MakePointLink<&TOMMultiElement::inWork>(0, &host), w);
  ASSERT_EQ(1u, after.Calls.size());
  EXPECT_EQ("forwarded", after.Calls[0].Value.StrValue);
  EXPECT_EQ(0, w.Kind & dkForward);

  // event out: the bridge's input reaches outEvent[i] with the same value
  TConsumer outer;
  host.EventLinks[0] = MakePointLink<&TConsumer::inTake>(0, &outer);
  TData e = IntegerData(1);
  Fire(MakePointLink<&TOMEditMulti::inEvent>(0, &bridge), e);
  EXPECT_EQ(&e, outer.Seen);
  EXPECT_EQ(dkNull, e.Kind);

  // data in and out: the same buffer travels through
  TData* filled = nullptr;
  struct TFiller : TOMObject {
    TData** Where;
    void varGet(TData& buffer, uint16_t) {
      *Where = &buffer;
      SetStringData(buffer, "data");
    }
  } filler;
  filler.Where = &filled;
  host.DataLinks[0] = MakePointLink<&TFiller::varGet>(0, &filler);
  TData in;
  PullPoint(in, MakePointLink<&TOMEditMulti::getData>(0, &bridge));
  EXPECT_EQ(&in, filled);
  EXPECT_EQ("data", in.StrValue);

  bridge.VarLinks[0] = MakePointLink<&TFiller::varGet>(0, &filler);
  TData out;
  PullPoint(out, MakePointLink<&TOMMultiElement::varData>(0, &host));
  EXPECT_EQ(&out, filled);

  // unlinked and out-of-range: null, no call
  bridge.VarLinks[0] = TPointLink();
  TData none = IntegerData(4);
  PullPoint(none, MakePointLink<&TOMMultiElement::varData>(0, &host));
  EXPECT_EQ(dkNull, none.Kind);
  TData beyond = IntegerData(4);
  PullPoint(beyond, MakePointLink<&TOMMultiElement::varData>(9, &host));
  EXPECT_EQ(dkNull, beyond.Kind);
  Fire(MakePointLink<&TOMMultiElement::inWork>(9, &host), v);

  host.Inner = nullptr; // the bridge is a local here, not the host's to free
}

// ------------------------------- outer container with a hosted inner container

class TClassOuter : public TSchemeContainer {
public:
  TLogged* const Form = MakeForm(); // host window element
  TLogged* const First = Make<TLogged>("first");
  TOMMultiElement* const Page = Make<TOMMultiElement>(nullptr);
  TOMHub* const Hub = Make<TOMHub>();
  TLogged* const Last = Make<TLogged>("last");

  TClassOuter() {
    Last->Configure();
    Last->Out = MakePointLink<&TOMHub::inDo>(0, Hub);
    Hub->SetOutputCount(1);
    Hub->outStep[0] = MakePointLink<&TOMMultiElement::inWork>(0, Page);
    Page->SetEventCount(2);
    Page->SetCreateInner(&CreateContainer<TClassInner>);
    Page->EventLinks[1] = MakePointLink<&TLogged::inDo>(0, First);
    First->Configure();
  }

private:
  TLogged* MakeForm() {
    TLogged* form = MakeHost<TLogged>("form");
    form->Configure();
    return form;
  }
};

TEST(Container, HostFirstConfigureInReverseFreeInOrderHostLast) {
  Log.clear();
  {
    TClassOuter outer;
    EXPECT_EQ((std::vector<std::string>{"new form", "set form", "new first", "new last", "set last",
                                        "build inner", "new inner host", "new inner relay", "set inner relay",
                                        "set first"}),
              Log);
    // the wiring works end to end once dispatch is live
    LiveDispatch live;
    TProbe end;
    outer.First->Out = end.In();
    FireString(MakePointLink<&TLogged::inDo>(0, outer.Last), "through");
    ASSERT_EQ(1u, end.Calls.size());
    EXPECT_EQ("through", end.Calls[0].Value.StrValue);
    Log.clear();
  }
  EXPECT_EQ((std::vector<std::string>{"free first", "free inner relay", "free inner host", "free last", "free form"}),
            Log);
}

} // namespace
