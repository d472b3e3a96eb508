#include "io/filewriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "testutil.h"

namespace {

using testutil::Bytes;
using testutil::Hex;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::Utf16Le;
using testutil::WriteBytes;
using urduspell::FileMode;
using urduspell::FileWriter;

constexpr char kCrLf[2] = {'\r', '\n'};

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

class FileWriterTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(FileWriterTest, NewFilesHoldExactlyTheBytesWritten) {
  std::u16string longText;
  for (int i = 0; i < 300; ++i) longText.push_back(static_cast<char16_t>(0x0600 + i));
  const char16_t units[] = {0x0627, 0xFEFF, 0x000A};
  struct Case {
    const char* label;
    FileMode mode;
    std::function<bool(FileWriter&)> write;  // must return true
    Bytes expected;
  } cases[] = {
      {"Unicode, nothing written: only the mark",
       FileMode::Unicode,
       [](FileWriter&) { return true; },
       {0xFF, 0xFE}},
      {"WriteUnicode, two units",
       FileMode::Unicode,
       [](FileWriter& w) { return w.WriteUnicode(u"\u0627\u0628"); },
       {0xFF, 0xFE, 0x27, 0x06, 0x28, 0x06}},
      {"WriteUnicode, more units than one scratch pass", FileMode::Unicode,
       [&](FileWriter& w) { return w.WriteUnicode(longText); }, Utf16Le(longText)},
      {"WriteUnicode of an empty string writes nothing",
       FileMode::Unicode,
       [](FileWriter& w) { return w.WriteUnicode(u""); },
       {0xFF, 0xFE}},
      {"WriteUnicodeBlock",
       FileMode::Unicode,
       [&](FileWriter& w) { return w.WriteUnicodeBlock(units, 3); },
       {0xFF, 0xFE, 0x27, 0x06, 0xFF, 0xFE, 0x0A, 0x00}},
      {"WriteBlock after the mark",
       FileMode::Unicode,
       [](FileWriter& w) {
         const unsigned char record[4] = {0x01, 0x00, 0x00, 0x80};
         return w.WriteBlock(record, 4);
       },
       {0xFF, 0xFE, 0x01, 0x00, 0x00, 0x80}},
      {"Ascii line ending in CR LF, no mark", FileMode::Ascii,
       [](FileWriter& w) { return w.WriteAscii("initialize = NO") && w.WriteBlock(kCrLf, 2); },
       AsBytes("initialize = NO\r\n")},
      {"WriteAscii keeps every byte, zero included",
       FileMode::Ascii,
       [](FileWriter& w) { return w.WriteAscii(std::string("a\0\xFF", 3)); },
       {'a', 0x00, 0xFF}},
      {"WriteAscii of an empty string writes nothing",
       FileMode::Ascii,
       [](FileWriter& w) { return w.WriteAscii(""); },
       {}},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("out.bin");
    {
      FileWriter writer;
      ASSERT_TRUE(writer.Open(path, c.mode, false)) << c.label;
      EXPECT_TRUE(c.write(writer)) << c.label;
      EXPECT_TRUE(writer.Close()) << c.label;
      EXPECT_TRUE(writer.Good()) << c.label;
    }
    EXPECT_EQ(Hex(ReadBytes(path)), Hex(c.expected)) << c.label;
  }
}

TEST_F(FileWriterTest, RefusedWritesReturnFalseAndWriteNothing) {
  const char16_t units[] = {0x0627};
  const unsigned char bytes[] = {1, 2};
  struct Case {
    const char* label;
    FileMode mode;
    std::function<bool(FileWriter&)> write;
  } cases[] = {
      {"WriteAscii on Unicode", FileMode::Unicode, [](FileWriter& w) { return w.WriteAscii("a"); }},
      {"WriteUnicode on Ascii", FileMode::Ascii,
       [](FileWriter& w) { return w.WriteUnicode(u"a"); }},
      {"WriteUnicodeBlock on Ascii", FileMode::Ascii,
       [&](FileWriter& w) { return w.WriteUnicodeBlock(units, 1); }},
      {"WriteUnicodeBlock null", FileMode::Unicode,
       [](FileWriter& w) { return w.WriteUnicodeBlock(nullptr, 1); }},
      {"WriteUnicodeBlock 0", FileMode::Unicode,
       [&](FileWriter& w) { return w.WriteUnicodeBlock(units, 0); }},
      {"WriteUnicodeBlock -1", FileMode::Unicode,
       [&](FileWriter& w) { return w.WriteUnicodeBlock(units, -1); }},
      {"WriteBlock null", FileMode::Ascii, [](FileWriter& w) { return w.WriteBlock(nullptr, 2); }},
      {"WriteBlock 0", FileMode::Unicode, [&](FileWriter& w) { return w.WriteBlock(bytes, 0); }},
      {"WriteBlock -2", FileMode::Ascii, [&](FileWriter& w) { return w.WriteBlock(bytes, -2); }},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("out.bin");
    {
      FileWriter writer;
      ASSERT_TRUE(writer.Open(path, c.mode, false)) << c.label;
      EXPECT_FALSE(c.write(writer)) << c.label;
      EXPECT_TRUE(writer.Good()) << c.label;  // a refused call is not a failed write
    }
    const Bytes expected = c.mode == FileMode::Unicode ? Bytes{0xFF, 0xFE} : Bytes{};
    EXPECT_EQ(Hex(ReadBytes(path)), Hex(expected)) << c.label;
  }
}

TEST_F(FileWriterTest, ClosedWriterDoesNothing) {
  FileWriter writer;
  const unsigned char bytes[] = {1};
  const char16_t units[] = {u'a'};
  EXPECT_FALSE(writer.WriteAscii("a"));
  EXPECT_FALSE(writer.WriteUnicode(u"a"));
  EXPECT_FALSE(writer.WriteBlock(bytes, 1));
  EXPECT_FALSE(writer.WriteUnicodeBlock(units, 1));
  EXPECT_EQ(writer.Tell(), -1);
  writer.Flush();
  EXPECT_TRUE(writer.Close());  // nothing held, nothing lost
  EXPECT_FALSE(writer.IsOpen());
}

TEST_F(FileWriterTest, OpenWithoutAppendTruncates) {
  const std::string path = dir_.File("old.txt");
  WriteBytes(path, AsBytes("old content"));
  FileWriter writer;
  ASSERT_TRUE(writer.Open(path, FileMode::Ascii, false));
  ASSERT_TRUE(writer.WriteAscii("new"));
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(Hex(ReadBytes(path)), Hex(AsBytes("new")));
}

TEST_F(FileWriterTest, AppendingChecksTheMarkAgainstTheMode) {
  struct Case {
    const char* label;
    std::optional<Bytes> existing;  // nullopt: no file
    FileMode mode;
    bool opens;
    Bytes expected;  // the file afterwards
  } cases[] = {
      {"Unicode onto a marked file",
       Bytes{0xFF, 0xFE, 'a', 0},
       FileMode::Unicode,
       true,
       {0xFF, 0xFE, 'a', 0, 'b', 0}},
      {"Unicode onto a file without the mark", Bytes{'a', 0}, FileMode::Unicode, false, {'a', 0}},
      {"Unicode onto an empty file", Bytes{}, FileMode::Unicode, false, {}},
      {"Unicode onto a one-byte file", Bytes{0xFF}, FileMode::Unicode, false, {0xFF}},
      {"Unicode onto a missing file creates it with the mark",
       std::nullopt,
       FileMode::Unicode,
       true,
       {0xFF, 0xFE, 'b', 0}},
      {"Ascii onto a marked file",
       Bytes{0xFF, 0xFE, 'a', 0},
       FileMode::Ascii,
       false,
       {0xFF, 0xFE, 'a', 0}},
      {"Ascii onto a plain file", AsBytes("ab"), FileMode::Ascii, true, AsBytes("abc")},
      {"Ascii onto an empty file", Bytes{}, FileMode::Ascii, true, AsBytes("c")},
      {"Ascii onto a missing file", std::nullopt, FileMode::Ascii, true, AsBytes("c")},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("append.bin");
    std::filesystem::remove(path);
    if (c.existing) WriteBytes(path, *c.existing);
    {
      FileWriter writer;
      EXPECT_EQ(writer.Open(path, c.mode, true), c.opens) << c.label;
      EXPECT_EQ(writer.IsOpen(), c.opens) << c.label;
      if (c.opens) {
        EXPECT_TRUE(c.mode == FileMode::Unicode ? writer.WriteUnicode(u"b")
                                                : writer.WriteAscii("c"))
            << c.label;
      }
    }
    EXPECT_EQ(Hex(ReadBytes(path)), Hex(c.expected)) << c.label;
  }
}

TEST_F(FileWriterTest, FailedOpenLeavesAWriterThatOpensAgain) {
  const std::string good = dir_.File("good.txt");
  FileWriter writer;
  EXPECT_FALSE(writer.Open("", FileMode::Ascii, false));
  EXPECT_FALSE(writer.Open(nullptr, FileMode::Unicode, true));
  EXPECT_FALSE(writer.Open(dir_.File("no/such/folder.txt"), FileMode::Ascii, false));
  EXPECT_FALSE(writer.Open(dir_.path().string(), FileMode::Ascii, true));  // a folder
  EXPECT_FALSE(writer.IsOpen());
  ASSERT_TRUE(writer.Open(good, FileMode::Ascii, false));
  // An invalid name leaves the open writer as it was.
  EXPECT_FALSE(writer.Open("", FileMode::Unicode, false));
  EXPECT_TRUE(writer.WriteAscii("kept"));
  EXPECT_TRUE(writer.Close());
  EXPECT_EQ(Hex(ReadBytes(good)), Hex(AsBytes("kept")));
}

TEST_F(FileWriterTest, OpeningAnotherFileClosesTheFirstWithItsBytes) {
  const std::string first = dir_.File("first.txt");
  const std::string second = dir_.File("second.bin");
  FileWriter writer;
  ASSERT_TRUE(writer.Open(first, FileMode::Ascii, false));
  ASSERT_TRUE(writer.WriteAscii("one"));
  ASSERT_TRUE(writer.Open(second, FileMode::Unicode, false));
  EXPECT_EQ(Hex(ReadBytes(first)), Hex(AsBytes("one")));
  EXPECT_FALSE(writer.WriteAscii("x"));  // the new mode holds
  EXPECT_TRUE(writer.WriteUnicode(u"2"));
}

TEST_F(FileWriterTest, DestructorClosesWithEveryByteWritten) {
  const std::string path = dir_.File("big.bin");
  const Bytes payload(100000, 0x5A);
  {
    FileWriter writer;
    ASSERT_TRUE(writer.Open(path, FileMode::Unicode, false));
    ASSERT_TRUE(writer.WriteBlock(payload.data(), static_cast<std::int32_t>(payload.size())));
  }
  const Bytes written = ReadBytes(path);
  ASSERT_EQ(written.size(), payload.size() + 2);
  EXPECT_EQ(Bytes(written.begin() + 2, written.end()), payload);
}

TEST_F(FileWriterTest, TellCountsTheMarkAndFlushHandsBytesToTheFile) {
  const std::string path = dir_.File("tell.bin");
  FileWriter writer;
  ASSERT_TRUE(writer.Open(path, FileMode::Unicode, false));
  EXPECT_EQ(writer.Tell(), 2);
  ASSERT_TRUE(writer.WriteUnicode(u"abc"));
  EXPECT_EQ(writer.Tell(), 8);
  writer.Flush();
  EXPECT_EQ(Hex(ReadBytes(path)), Hex(Utf16Le(u"abc")));
  ASSERT_TRUE(writer.Close());
  EXPECT_EQ(writer.Tell(), -1);
}

// /dev/full accepts an open and refuses every byte written out, as a full disk does, even for
// root.
TEST_F(FileWriterTest, BytesThatCannotBeWrittenOutShowInGoodAndClose) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  {
    FileWriter writer;  // small writes sit in the buffer: the loss shows when it is written out
    ASSERT_TRUE(writer.Open("/dev/full", FileMode::Ascii, false));
    EXPECT_TRUE(writer.WriteAscii("initialize = NO"));
    EXPECT_TRUE(writer.Good());
    EXPECT_FALSE(writer.Close());
    EXPECT_FALSE(writer.Good());
  }
  {
    FileWriter writer;
    ASSERT_TRUE(writer.Open("/dev/full", FileMode::Unicode, false));
    writer.Flush();
    EXPECT_FALSE(writer.Good());
  }
  {
    FileWriter writer;  // a block larger than the buffer is refused at once
    ASSERT_TRUE(writer.Open("/dev/full", FileMode::Ascii, false));
    const Bytes big(1 << 20, 0);
    EXPECT_FALSE(writer.WriteBlock(big.data(), static_cast<std::int32_t>(big.size())));
    EXPECT_FALSE(writer.Good());
    EXPECT_FALSE(writer.Close());
  }
  {
    FileWriter writer;  // the next Open starts with a clean record
    ASSERT_TRUE(writer.Open(dir_.File("fine.txt"), FileMode::Ascii, false));
    EXPECT_TRUE(writer.Good());
  }
}

}  // namespace
