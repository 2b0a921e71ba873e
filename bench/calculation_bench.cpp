#include <benchmark/benchmark.h>

#include <array>
#include <string_view>
#include <variant>

#include "calculator/calculation.h"
#include "framework/values.h"

namespace {

struct Input {
  std::string_view prevalence, sensitivity, specificity;
};

// A small D, D filling a row, D near the end and a tie of Round.
constexpr std::array<Input, 4> kInputs{{
    {".015", ".67", ".91"},
    {".05", ".5", ".5"},
    {".999", ".999", ".999"},
    {".1", ".905", ".9"},
}};

void BM_Counts(benchmark::State& state) {
  const Input& in = kInputs[static_cast<std::size_t>(state.range(0))];
  const double p = fw::Val(in.prevalence), sens = fw::Val(in.sensitivity),
               specif = fw::Val(in.specificity);
  for (auto _ : state) {
    double a = p, b = sens, c = specif;
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(c);
    const kestrova::Counts counts = kestrova::ComputeCounts(a, b, c);
    benchmark::DoNotOptimize(counts);
  }
}
BENCHMARK(BM_Counts)->DenseRange(0, kInputs.size() - 1);

// From the three field texts to the display, its pieces and the result texts.
void BM_CalculateWithDisplay(benchmark::State& state) {
  const Input& in = kInputs[static_cast<std::size_t>(state.range(0))];
  for (auto _ : state) {
    kestrova::Outcome outcome = kestrova::Calculate(in.prevalence, in.sensitivity, in.specificity);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_CalculateWithDisplay)
    ->DenseRange(0, kInputs.size() - 1)
    ->Unit(benchmark::kMicrosecond);

void BM_Refusal(benchmark::State& state) {
  for (auto _ : state) {
    kestrova::Outcome outcome = kestrova::Calculate(".5", ".5", "1");
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_Refusal);

}  // namespace

BENCHMARK_MAIN();
