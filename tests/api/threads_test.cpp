// Several threads, each with its own handle on the same data folder (loaded, not built), check
// words at the same time and must get the answers of a single-threaded run. Run it under
// ThreadSanitizer with scripts/test --tsan --filter=HandleThreads.
#include <gtest/gtest.h>

#include <latch>
#include <thread>

#include "api/handle_answers.h"

namespace {

using testutil::HandleAnswer;

TEST(HandleThreads, OwnHandlesCheckAtTheSameTimeWithTheSingleThreadedAnswers) {
  testutil::TempDir dir;
  testutil::WriteDataSet(dir, testutil::BusyDataSet());
  // The library reads config.ini from the current directory, which the whole process shares:
  // it is set once, and the derived files are built, before any thread starts.
  testutil::ScopedCwd cwd(dir.path());
  {
    SpellCheckerPtr builder;
    ASSERT_TRUE(builder.Initialize());
  }
  const std::vector<std::u16string> queries = testutil::BusyQueries();
  std::vector<HandleAnswer> expected;
  {
    SpellCheckerPtr single;
    ASSERT_TRUE(single.Initialize());
    for (const auto& q : queries) expected.push_back(testutil::CheckThrough(single, q));
  }
  int misspelt = 0;
  for (const HandleAnswer& a : expected) misspelt += a.result > 0;
  ASSERT_GE(misspelt, 10);  // the run reads posting lists, not only the dictionary

  constexpr int kThreads = 4;
  constexpr int kRounds = 5;
  std::latch start(kThreads);
  std::vector<std::vector<HandleAnswer>> got(kThreads);
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      try {
        SpellCheckerPtr handle;
        start.arrive_and_wait();  // initialise and check while the others do
        if (!handle.Initialize()) failures[t] = "Initialize returned false";
        for (int round = 0; round < kRounds; ++round) {
          // Each thread walks the queries from its own starting point.
          for (std::size_t i = 0; i < queries.size(); ++i) {
            const std::size_t q = (i + static_cast<std::size_t>(t) * 5) % queries.size();
            HandleAnswer a = testutil::CheckThrough(handle, queries[q]);
            if (round == kRounds - 1) got[t].push_back(a);
            if (!(a == expected[q])) failures[t] = "query " + std::to_string(q) + " differs";
          }
        }
      } catch (const TRELVAException& ex) {
        failures[t] = ex.GetFormattedMessage();
      }
    });
  }
  for (std::thread& th : threads) th.join();
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_EQ(failures[t], "") << "thread " << t;
    ASSERT_EQ(got[t].size(), queries.size()) << "thread " << t;
  }
}

}  // namespace
