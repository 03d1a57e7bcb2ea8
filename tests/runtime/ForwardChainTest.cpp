#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "Probe.h"
#include "omDoData.h"
#include "omMemory.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace {

#ifdef _WIN32
template <class F> DWORD WINAPI RunBox(LPVOID fn) {
  (*static_cast<F*>(fn))();
  return 0;
}
#endif

// Runs fn on a thread with a small stack: a chain that recursed once per
// element would overflow it long before the end.
template <class F> void OnSmallStack(size_t bytes, F fn) {
  struct Box {
    F* Fn;
  } box{&fn};
#ifdef _WIN32
  (void)box;
  HANDLE thread = CreateThread(nullptr, bytes, &RunBox<F>, &fn, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(nullptr, thread);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
#else
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, bytes);
  pthread_t thread;
  ASSERT_EQ(0, pthread_create(
                   &thread, &attr,
                   [](void* p) -> void* {
                     (*static_cast<Box*>(p)->Fn)();
                     return nullptr;
                   },
                   &box));
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
#endif
}

constexpr size_t ChainLength = 100000;
constexpr size_t SmallStack = 256 * 1024;

TEST(ForwardChain, HundredThousandMemoriesAtConstantDepth) {
  std::vector<std::unique_ptr<TOMMemory>> chain(ChainLength);
  for (auto& m : chain) m = std::make_unique<TOMMemory>();
  for (size_t i = 0; i + 1 < ChainLength; ++i)
    chain[i]->outData = MakePointLink<&TOMMemory::inValue>(0, chain[i + 1].get());
  TProbe end;
  chain.back()->outData = end.In();
  char* top = nullptr;
  char* bottom = nullptr;
  end.Action = [&](TData&, uint16_t) {
    char here;
    bottom = &here;
  };
  OnSmallStack(SmallStack, [&] {
    char start;
    top = &start;
    LiveDispatch live;
    FireString(MakePointLink<&TOMMemory::inValue>(0, chain.front().get()), "value");
  });
  ASSERT_EQ(1u, end.Calls.size());
  EXPECT_EQ("value", end.Calls[0].Value.StrValue);
  EXPECT_EQ("value", chain[ChainLength / 2]->Current.StrValue);
  // the receiver at the end runs a few frames below the first fire, not 100,000
  ptrdiff_t depth = top > bottom ? top - bottom : bottom - top;
  EXPECT_LT(depth, 16 * 1024);
}

TEST(ForwardChain, HundredThousandDataSendersAtConstantDepth) {
  std::vector<std::unique_ptr<TOMDoData>> chain(ChainLength);
  for (size_t i = 0; i < ChainLength; ++i) {
    chain[i] = std::make_unique<TOMDoData>();
    chain[i]->Data = IntegerData(int32_t(i));
  }
  for (size_t i = 0; i + 1 < ChainLength; ++i)
    chain[i]->outEventData = MakePointLink<&TOMDoData::inDo>(0, chain[i + 1].get());
  TProbe end;
  chain.back()->outEventData = end.In();
  OnSmallStack(SmallStack, [&] {
    LiveDispatch live;
    FireNull(MakePointLink<&TOMDoData::inDo>(0, chain.front().get()));
  });
  ASSERT_EQ(1u, end.Calls.size());
  EXPECT_EQ(int32_t(ChainLength - 1), end.Calls[0].Value.IntValue);
}

} // namespace
