// The library as a host sees it: the public handle over a generated 100,000-word dictionary (or
// the data folder named by URDUSPELL_BENCH_DATA, for instance data/ur).
//
//   BM_CheckCorrectWords   throughput of correct words drawn by frequency, as running text
//   BM_Suggest             one misspelled word at a time, by error kind and word length
//   BM_MisspelledLatency   every misspelling timed on its own (CPU time of the thread): median,
//                          p90, p99, worst
//   BM_StartUp             a new handle loading the saved derived files
#include <benchmark/benchmark.h>
#include <time.h>
#include <urduspell/spellcheckerptr.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "benchdata.h"

namespace urduspell::bench {
namespace {

constexpr int kDictionaryWords = 100'000;
constexpr std::size_t kRunningTextTokens = 200'000;
constexpr std::size_t kMisspellingsPerCell = 250;

using WordBuffer = std::vector<unsigned char>;

// Ten 40-byte suggestion buffers as the handle wants them.
struct SuggestionBuffers {
  std::array<std::array<char, 40>, 10> storage{};
  std::array<char*, 10> pointers{};
  SuggestionBuffers() {
    for (std::size_t i = 0; i < pointers.size(); ++i) pointers[i] = storage[i].data();
  }
};

// One data set and one engine loaded from its saved files, shared by every benchmark.
struct Shared {
  DataSet data = DataSet::Make(kDictionaryWords);
  SpellCheckerPtr checker;
  std::vector<WordBuffer> runningText;
  std::array<std::array<std::vector<WordBuffer>, kLengthClassCount>, kErrorKindCount> misspelt;

  Shared() {
    ScopedCwd cwd(data.dir());
    data.SetInitialize("YES");
    {
      SpellCheckerPtr builder;  // builds and saves the derived files, rewrites config.ini
      builder.Initialize();
    }
    data.SetInitialize("NO");
    checker.Initialize();
    for (const std::u16string& word : data.RunningText(kRunningTextTokens, 42)) {
      runningText.push_back(WordBytes(word));
    }
    for (int k = 0; k < kErrorKindCount; ++k) {
      for (int c = 0; c < kLengthClassCount; ++c) {
        for (const std::u16string& word :
             data.Misspellings(static_cast<ErrorKind>(k), c, kMisspellingsPerCell, 7)) {
          misspelt[static_cast<std::size_t>(k)][static_cast<std::size_t>(c)].push_back(
              WordBytes(word));
        }
      }
    }
  }
};

Shared& Data() {
  static Shared shared;  // removes its data folder when the program ends
  return shared;
}

void BM_CheckCorrectWords(benchmark::State& state) {
  Shared& shared = Data();
  SuggestionBuffers out;
  std::size_t next = 0;
  std::int64_t falseAlarms = 0;
  for (auto _ : state) {
    WordBuffer& word = shared.runningText[next];
    const int result = shared.checker.SpellCheck(word.data(), out.pointers.data());
    benchmark::DoNotOptimize(result);
    falseAlarms += result != -1;
    if (++next == shared.runningText.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["false_alarms"] = static_cast<double>(falseAlarms);
  state.SetLabel(shared.data.description());
}
BENCHMARK(BM_CheckCorrectWords);

void BM_Suggest(benchmark::State& state) {
  Shared& shared = Data();
  const auto kind = static_cast<std::size_t>(state.range(0));
  const auto lengthClass = static_cast<std::size_t>(state.range(1));
  std::vector<WordBuffer>& words = shared.misspelt[kind][lengthClass];
  state.SetLabel(std::string(ErrorKindName(static_cast<ErrorKind>(kind))) + " " +
                 LengthClassName(static_cast<int>(lengthClass)));
  if (words.empty()) {
    state.SkipWithError("no misspellings of this kind and length");
    return;
  }
  SuggestionBuffers out;
  std::size_t next = 0;
  std::int64_t suggestions = 0;
  for (auto _ : state) {
    const int result = shared.checker.SpellCheck(words[next].data(), out.pointers.data());
    benchmark::DoNotOptimize(result);
    suggestions += result > 0 ? result : 0;
    if (++next == words.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["suggestions_per_word"] =
      static_cast<double>(suggestions) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Suggest)->ArgsProduct({{0, 1, 2, 3}, {0, 1, 2, 3}})->Unit(benchmark::kMicrosecond);

// Microseconds of CPU time this thread has used: on a machine shared with other work, the wall
// clock would also count the time the process waited for a processor.
double ThreadMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) * 1e-3;
}

void BM_MisspelledLatency(benchmark::State& state) {
  Shared& shared = Data();
  SuggestionBuffers out;
  std::vector<double> micros;
  for (auto _ : state) {
    for (auto& byKind : shared.misspelt) {
      for (auto& words : byKind) {
        for (WordBuffer& word : words) {
          const double start = ThreadMicros();
          const int result = shared.checker.SpellCheck(word.data(), out.pointers.data());
          micros.push_back(ThreadMicros() - start);
          benchmark::DoNotOptimize(result);
        }
      }
    }
  }
  const double words = static_cast<double>(micros.size());
  state.SetItemsProcessed(static_cast<std::int64_t>(micros.size()));
  state.counters["p50_us"] = Percentile(micros, 50);
  state.counters["p90_us"] = Percentile(micros, 90);
  state.counters["p99_us"] = Percentile(micros, 99);
  state.counters["max_us"] = micros.empty() ? 0 : micros.back();
  state.counters["words"] = words / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MisspelledLatency)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& state) {
  Shared& shared = Data();
  ScopedCwd cwd(shared.data.dir());
  TrimHeap();
  double rssGrowth = 0;
  for (auto _ : state) {
    const double before = ResidentMiB("VmRSS");
    auto checker = std::make_unique<SpellCheckerPtr>();
    checker->Initialize();
    rssGrowth = ResidentMiB("VmRSS") - before;
    state.PauseTiming();
    checker.reset();
    TrimHeap();
    state.ResumeTiming();
  }
  state.counters["rss_growth_MiB"] = rssGrowth;
  state.counters["peak_rss_MiB"] = ResidentMiB("VmHWM");
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace urduspell::bench

BENCHMARK_MAIN();
