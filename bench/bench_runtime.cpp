// Cost of the runtime's three hot paths, in nanoseconds per operation.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "Share.h"
#include "omHub.h"
#include "omMemory.h"

namespace {

struct TSink : TOMObject {
  int64_t Count = 0;
  void inTake(TData& value, uint16_t) { Count += value.Kind; }
};

// One event through a hub to n receivers: one copy of the value per output.
void BM_HubFire(benchmark::State& state) {
  StartDispatch();
  TOMHub hub;
  hub.SetOutputCount(uint8_t(state.range(0)));
  TSink sink;
  for (auto& out : hub.outStep) out = MakePointLink<&TSink::inTake>(0, &sink);
  TPointLink in = MakePointLink<&TOMHub::inDo>(0, &hub);
  TData value = StringData("C:\\Program Files\\Varkelo\\");
  for (auto _ : state) Fire(in, value);
  benchmark::DoNotOptimize(sink.Count);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  StopDispatch();
}
BENCHMARK(BM_HubFire)->Arg(1)->Arg(4)->Arg(16);

// A value through a chain of forwarding memories; items = elements passed.
void BM_ForwardChain(benchmark::State& state) {
  StartDispatch();
  size_t n = size_t(state.range(0));
  std::vector<std::unique_ptr<TOMMemory>> chain(n);
  for (auto& m : chain) m = std::make_unique<TOMMemory>();
  for (size_t i = 0; i + 1 < n; ++i) chain[i]->outData = MakePointLink<&TOMMemory::inValue>(0, chain[i + 1].get());
  TPointLink in = MakePointLink<&TOMMemory::inValue>(0, chain.front().get());
  for (auto _ : state) FireInteger(in, 7);
  state.SetItemsProcessed(state.iterations() * state.range(0));
  StopDispatch();
}
BENCHMARK(BM_ForwardChain)->Arg(1)->Arg(100)->Arg(10000);

// Pulling a data point: a reader asking a memory for its text.
void BM_PullPoint(benchmark::State& state) {
  StartDispatch();
  TOMMemory memory;
  memory.SetDefault(StringData("Zelcap2-1.exe"));
  TPointLink link = MakePointLink<&TOMMemory::varValue>(0, &memory);
  TData event;
  for (auto _ : state) benchmark::DoNotOptimize(ReadPointString(event, link, std::string()));
  StopDispatch();
}
BENCHMARK(BM_PullPoint);

} // namespace

BENCHMARK_MAIN();
