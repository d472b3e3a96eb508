// The lexical resources and the distance measure on their own, over a generated 100,000-word list
// (or the data folder named by URDUSPELL_BENCH_DATA):
//
//   BM_BuildDictionary   read the word list into the hash table, then index the posting lists
//   BM_SaveDictionary    write the five derived files
//   BM_LoadDictionary    read back the hash table and the two posting-list indexes
//   BM_Lookup            HashTable::Lookup of dictionary words drawn by frequency
//   BM_EditDistance      EditDistance of a word and a one-edit misspelling of it, by length
//
// Resident memory is reported as counters: rss_MiB after the step with its tables alive, and
// rss_growth_MiB, what the step added to the resident memory of the process.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "benchdata.h"
#include "config/configmanager.h"
#include "engine/spellchecker.h"
#include "lexicon/hashtable.h"
#include "lexicon/postlistresources.h"
#include "lexicon/unichar2indexmap.h"

namespace urduspell::bench {
namespace {

constexpr int kDictionaryWords = 100'000;

struct Shared {
  DataSet data = DataSet::Make(kDictionaryWords);
  ConfigManager config;
  UniChar2IndexMap charMap;

  Shared() {
    ScopedCwd cwd(data.dir());
    config.ReadConfig();
    charMap.Load(config.urduAlphabetFilePath);
  }
};

Shared& Data() {
  static Shared shared;  // removes its data folder when the program ends
  return shared;
}

struct Lexicon {
  HashTable hashTable;
  PostListResources postingLists;
};

std::unique_ptr<Lexicon> Build(Shared& shared) {
  auto lexicon = std::make_unique<Lexicon>();
  lexicon->hashTable.Build(shared.config.wordListFilePath, shared.charMap);
  lexicon->postingLists.SetAlphabetSize(shared.charMap.GetSize());
  lexicon->postingLists.BuildPostingLists(lexicon->hashTable, shared.charMap);
  return lexicon;
}

void ReportMemory(benchmark::State& state, double before, double after) {
  state.counters["rss_MiB"] = after;
  state.counters["rss_growth_MiB"] = after - before;
  state.counters["peak_rss_MiB"] = ResidentMiB("VmHWM");
}

void BM_BuildDictionary(benchmark::State& state) {
  Shared& shared = Data();
  ScopedCwd cwd(shared.data.dir());
  TrimHeap();
  double before = 0;
  double after = 0;
  for (auto _ : state) {
    before = ResidentMiB("VmRSS");
    std::unique_ptr<Lexicon> lexicon = Build(shared);
    after = ResidentMiB("VmRSS");
    benchmark::DoNotOptimize(lexicon.get());
    state.PauseTiming();
    lexicon.reset();
    TrimHeap();
    state.ResumeTiming();
  }
  ReportMemory(state, before, after);
  state.counters["words"] = static_cast<double>(shared.data.entries().size());
  state.SetLabel(shared.data.description());
}
BENCHMARK(BM_BuildDictionary)->Unit(benchmark::kMillisecond);

void BM_SaveDictionary(benchmark::State& state) {
  Shared& shared = Data();
  ScopedCwd cwd(shared.data.dir());
  std::unique_ptr<Lexicon> lexicon;
  for (auto _ : state) {
    state.PauseTiming();
    lexicon = Build(shared);  // the save releases the lists, so each save needs a fresh build
    state.ResumeTiming();
    lexicon->hashTable.Save(shared.config.hashTableFilePath);
    lexicon->postingLists.SavePostingLists(shared.config);
  }
  state.SetLabel(shared.data.description());
}
BENCHMARK(BM_SaveDictionary)->Unit(benchmark::kMillisecond);

void BM_LoadDictionary(benchmark::State& state) {
  Shared& shared = Data();
  ScopedCwd cwd(shared.data.dir());
  {
    std::unique_ptr<Lexicon> saved = Build(shared);
    saved->hashTable.Save(shared.config.hashTableFilePath);
    saved->postingLists.SavePostingLists(shared.config);
  }
  TrimHeap();
  double before = 0;
  double after = 0;
  for (auto _ : state) {
    before = ResidentMiB("VmRSS");
    auto lexicon = std::make_unique<Lexicon>();
    lexicon->hashTable.Load(shared.config.hashTableFilePath);
    lexicon->postingLists.SetAlphabetSize(shared.charMap.GetSize());
    lexicon->postingLists.LoadPostingListIndexes(shared.config);
    after = ResidentMiB("VmRSS");
    state.PauseTiming();
    lexicon.reset();
    TrimHeap();
    state.ResumeTiming();
  }
  ReportMemory(state, before, after);
  state.SetLabel(shared.data.description());
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
  Shared& shared = Data();
  ScopedCwd cwd(shared.data.dir());
  std::unique_ptr<Lexicon> lexicon = Build(shared);
  const std::vector<std::u16string> text = shared.data.RunningText(100'000, 11);
  std::size_t next = 0;
  std::int64_t missing = 0;
  for (auto _ : state) {
    missing += !lexicon->hashTable.Lookup(text[next]);
    if (++next == text.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["not_found"] = static_cast<double>(missing);
}
BENCHMARK(BM_Lookup);

void BM_EditDistance(benchmark::State& state) {
  Shared& shared = Data();
  // Pairs of a dictionary word of the wanted length (or close to it) and a substitution of it.
  const auto length = static_cast<std::size_t>(state.range(0));
  std::vector<std::pair<std::u16string, std::u16string>> pairs;
  Random random(3);
  for (const Entry& e : shared.data.entries()) {
    if (e.word.size() != length) continue;
    std::u16string other = e.word;
    other[random.Below(other.size())] = u'\u0628';
    pairs.emplace_back(e.word, other);
    if (pairs.size() == 1000) break;
  }
  if (pairs.empty()) {
    state.SkipWithError("no words of this length");
    return;
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(EditDistance(pairs[next].first, pairs[next].second));
    if (++next == pairs.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditDistance)->Arg(3)->Arg(6)->Arg(10)->Arg(14);

}  // namespace
}  // namespace urduspell::bench

BENCHMARK_MAIN();
