// Handles constructed, initialised, used and destroyed over and over, with and without
// assignment between them, and after a failed initialisation: every engine is released exactly
// once. In the sanitizer build (scripts/test --sanitize) LeakSanitizer checks that nothing is
// left behind; there the test asks for a leak check itself, so a leak fails this test by name.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "api/handle_answers.h"

extern "C" int __lsan_do_recoverable_leak_check() __attribute__((weak));

namespace {

using testutil::CheckThrough;
using testutil::HandleAnswer;
using testutil::Ur;

class HandleLifetimeTest : public testing::Test {
 protected:
  void SetUp() override {
    testutil::WriteDataSet(dir_, testutil::BusyDataSet());
    cwd_ = std::make_unique<testutil::ScopedCwd>(dir_.path());
    SpellCheckerPtr builder;
    ASSERT_TRUE(builder.Initialize());
    expected_ = CheckThrough(builder, Ur("ktba"));
    ASSERT_GT(expected_.result, 0);
  }

  void TearDown() override {
    if (__lsan_do_recoverable_leak_check != nullptr) {
      EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "memory leaked; see the report above";
    }
  }

  testutil::TempDir dir_;
  std::unique_ptr<testutil::ScopedCwd> cwd_;
  HandleAnswer expected_;
};

TEST_F(HandleLifetimeTest, ConstructInitialiseCheckDestroyRepeatedly) {
  for (int i = 0; i < 25; ++i) {
    SpellCheckerPtr handle;
    ASSERT_TRUE(handle.Initialize());
    EXPECT_EQ(CheckThrough(handle, Ur("ktba")), expected_) << i;
    EXPECT_EQ(CheckThrough(handle, Ur("ktab")).result, -1) << i;
  }
  // Handles on the heap, destroyed in another order than they were made.
  std::vector<std::unique_ptr<SpellCheckerPtr>> handles;
  for (int i = 0; i < 6; ++i) {
    handles.push_back(std::make_unique<SpellCheckerPtr>());
    ASSERT_TRUE(handles.back()->Initialize());
  }
  for (std::size_t i = 0; i < handles.size(); i += 2) handles[i].reset();
  for (auto& h : handles) {
    if (h) {
      EXPECT_EQ(CheckThrough(*h, Ur("ktba")), expected_);
    }
  }
}

TEST_F(HandleLifetimeTest, AssignmentBetweenHandlesRepeatedly) {
  for (int i = 0; i < 10; ++i) {
    SpellCheckerPtr a;
    SpellCheckerPtr b;
    SpellCheckerPtr c;
    ASSERT_TRUE(a.Initialize());
    ASSERT_TRUE(b.Initialize());
    b = a;  // b's initialised engine goes, b shares a's
    a = a;
    c = b;  // c's never-initialised engine goes; three handles share one engine
    EXPECT_EQ(CheckThrough(c, Ur("ktba")), expected_) << i;
    {
      SpellCheckerPtr d;
      d = c;
      a = d;  // same engine: nothing changes hands
      ASSERT_TRUE(d.Initialize());  // starting over on the shared engine
    }
    EXPECT_EQ(CheckThrough(a, Ur("ktba")), expected_) << i;
    SpellCheckerPtr fresh;
    a = fresh;  // a leaves the shared engine, which b and c still hold
    b = fresh;
    EXPECT_EQ(CheckThrough(c, Ur("ktba")), expected_) << i;
    EXPECT_EQ(CheckThrough(a, Ur("ktba")).result, -1) << i;  // not initialised
  }
}

TEST_F(HandleLifetimeTest, FailedInitialisationLeavesNothingBehind) {
  std::filesystem::rename("unigram.pl", "unigram.pl.away");  // the last file opened is missing
  for (int i = 0; i < 10; ++i) {
    SpellCheckerPtr handle;
    EXPECT_THROW(handle.Initialize(), IOException) << i;
    SpellCheckerPtr other;
    other = handle;
    EXPECT_THROW(other.Initialize(), IOException) << i;
  }
  std::filesystem::rename("unigram.pl.away", "unigram.pl");
  SpellCheckerPtr handle;
  ASSERT_TRUE(handle.Initialize());
  EXPECT_EQ(CheckThrough(handle, Ur("ktba")), expected_);
}

}  // namespace
