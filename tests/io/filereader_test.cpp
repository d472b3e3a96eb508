#include "io/filereader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "errors/errors.h"
#include "testutil.h"

namespace {

using testutil::Bytes;
using testutil::Hex;
using testutil::TempDir;
using testutil::U16;
using testutil::Utf16Le;
using testutil::WriteBytes;
using testutil::WriteText;
using urduspell::FileMode;
using urduspell::FileReader;

constexpr int kOpen = 0x10;
constexpr int kRead = 0x11;
const std::string kEof = "End of file encountered.";
const std::string kNullBuffer = "Null buffer or zero size specified.";
const std::string kNotUnicodeBased = "File is not Unicode based.";

// Passes when f raised an IOException from the reader with exactly this code and message.
::testing::AssertionResult RaisesIo(const std::function<void()>& f, int code,
                                    const std::string& message) {
  try {
    f();
  } catch (IOException& ex) {
    if (ex.GetFile() == "filereader" && ex.GetCode() == code && ex.GetMessage() == message) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "raised " << ex.GetFormattedMessage();
  } catch (...) {
    return ::testing::AssertionFailure() << "raised something other than IOException";
  }
  return ::testing::AssertionFailure() << "raised nothing";
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class FileReaderTest : public ::testing::Test {
 protected:
  std::string Fixture(const std::string& name, const Bytes& bytes) {
    std::string path = dir_.File(name);
    WriteBytes(path, bytes);
    return path;
  }
  std::string Text(const std::string& name, const std::string& text) {
    std::string path = dir_.File(name);
    WriteText(path, text);
    return path;
  }

  TempDir dir_;
};

TEST_F(FileReaderTest, OpenRejectsNamesAndFilesItCannotUse) {
  const std::string good = Text("good.txt", "k=v");
  WriteBytes(dir_.File("empty.bin"), {});
  WriteBytes(dir_.File("one.bin"), {0xFF});
  WriteBytes(dir_.File("bigendian.bin"), {0xFE, 0xFF, 0x00, 0x61});
  WriteBytes(dir_.File("utf8.bin"), {0xEF, 0xBB, 0xBF, 0x61});
  std::filesystem::create_directory(dir_.File("sub"));
  struct Case {
    const char* name;  // relative to the temporary folder; nullptr stays null
    FileMode mode;
    std::string message;
  } cases[] = {
      {nullptr, FileMode::Ascii, "Invalid file name specified."},
      {"", FileMode::Unicode, "Invalid file name specified."},
      {"x.txt", FileMode::Ascii, "Could not open file: x.txt."},
      {"x.txt", FileMode::Unicode, "Could not open file: x.txt."},
      {"sub", FileMode::Ascii, "Could not open file: sub."},  // a folder holds nothing to read
      {"empty.bin", FileMode::Unicode, kNotUnicodeBased},
      {"one.bin", FileMode::Unicode, kNotUnicodeBased},
      {"bigendian.bin", FileMode::Unicode, kNotUnicodeBased},
      {"utf8.bin", FileMode::Unicode, kNotUnicodeBased},
  };
  testutil::ScopedCwd cwd(dir_.path());
  for (const Case& c : cases) {
    const char* label = c.name ? c.name : "(null)";
    FileReader reader;
    EXPECT_TRUE(RaisesIo([&] { reader.Open(c.name, c.mode); }, kOpen, c.message)) << label;
    EXPECT_FALSE(reader.IsOpen()) << label;
    EXPECT_FALSE(reader.IsEof()) << label;
    // The same reader opens a usable file afterwards.
    std::string key;
    ASSERT_TRUE(reader.Open(good, FileMode::Ascii)) << label;
    EXPECT_TRUE(reader.ReadAsciiLine(key, 64, '=')) << label;
    EXPECT_EQ(key, "k") << label;
  }
}

TEST_F(FileReaderTest, InvalidNameLeavesAnOpenReaderAsItWas) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Text("a.txt", "ab"), FileMode::Ascii));
  std::string line;
  ASSERT_TRUE(reader.ReadAsciiLine(line, 1, '\n'));
  EXPECT_TRUE(
      RaisesIo([&] { reader.Open("", FileMode::Unicode); }, kOpen, "Invalid file name specified."));
  EXPECT_TRUE(reader.IsOpen());
  EXPECT_EQ(reader.GetMode(), FileMode::Ascii);
  EXPECT_TRUE(reader.ReadAsciiLine(line, 1, '\n'));
  EXPECT_EQ(line, "b");
}

TEST_F(FileReaderTest, FailedUnicodeOpenClosesTheFileThatWasOpen) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Text("a.txt", "abc"), FileMode::Ascii));
  const std::string plain = Text("plain.txt", "no mark");
  EXPECT_TRUE(RaisesIo([&] { reader.Open(plain, FileMode::Unicode); }, kOpen, kNotUnicodeBased));
  EXPECT_FALSE(reader.IsOpen());
  std::string line = "unchanged";
  EXPECT_FALSE(reader.ReadAsciiLine(line, 64, '\n'));
  EXPECT_EQ(line, "unchanged");
}

TEST_F(FileReaderTest, AsciiModeKeepsAMarkAsOrdinaryBytes) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("marked.txt", {0xFF, 0xFE, 'a', '\n'}), FileMode::Ascii));
  std::string line;
  ASSERT_TRUE(reader.ReadAsciiLine(line, 64, '\n'));
  EXPECT_EQ(line,
            "\xFF\xFE"
            "a");
}

TEST_F(FileReaderTest, OpeningAnotherFileClosesTheFirstAndStartsFresh) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Text("a.txt", "a"), FileMode::Ascii));
  std::string line;
  ASSERT_TRUE(reader.ReadAsciiLine(line, 64, '\n'));
  ASSERT_TRUE(reader.IsEof());
  ASSERT_TRUE(reader.Open(Fixture("b.txt", Utf16Le(u"b")), FileMode::Unicode));
  EXPECT_FALSE(reader.IsEof());
  EXPECT_EQ(reader.GetMode(), FileMode::Unicode);
  std::u16string wide;
  ASSERT_TRUE(reader.ReadUnicodeLine(wide, 64, u'\n'));
  EXPECT_EQ(wide, u"b");
  reader.Close();
  reader.Close();  // a closed reader stays closed
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_EQ(reader.GetMode(), FileMode::Unicode);  // Close keeps the mode
}

// One read of a line sequence: the arguments, then what it must give.
struct LineStep {
  std::int32_t maxLength;
  char delimiter;
  bool result;
  std::string line;  // expected content of out; "<unchanged>" when the read finds nothing
  bool eof;
};

TEST_F(FileReaderTest, AsciiLinesFollowDelimitersLimitsAndTheEndOfFile) {
  const std::string kUnchanged = "<unchanged>";
  struct Case {
    const char* label;
    std::string content;
    std::vector<LineStep> steps;
  } cases[] = {
      {"key/value lines, no final line feed",
       "a=1\r\nb=2",
       {{64, '=', true, "a", false},
        {512, '\n', true, "1\r", false},
        {64, '=', true, "b", false},
        {512, '\n', true, "2", true}}},
      {"final line feed: one more read finds nothing",
       "a=1\r\nb=2\n",
       {{64, '=', true, "a", false},
        {512, '\n', true, "1\r", false},
        {64, '=', true, "b", false},
        {512, '\n', true, "2", false},
        {64, '=', false, kUnchanged, true}}},
      {"an empty line consumes its delimiter",
       "\nx",
       {{512, '\n', false, kUnchanged, false}, {512, '\n', true, "x", true}}},
      {"a long line is cut at maxLength, the rest comes next",
       "abcdef\n",
       {{4, '\n', true, "abcd", false},
        {4, '\n', true, "ef", false},
        {4, '\n', false, kUnchanged, true}}},
      {"a delimiter right after maxLength bytes is left for the next call",
       "abcd\nz",
       {{4, '\n', true, "abcd", false},
        {4, '\n', false, kUnchanged, false},
        {4, '\n', true, "z", true}}},
      {"a zero byte is stored like any other",
       std::string("a\0b\n", 4),
       {{64, '\n', true, std::string("a\0b", 3), false}}},
      {"maxLength 0 reads nothing",
       "abc",
       {{0, '\n', false, kUnchanged, false}, {64, '\n', true, "abc", true}}},
      {"an empty file", "", {{64, '=', false, kUnchanged, true}}},
  };
  for (const Case& c : cases) {
    FileReader reader;
    ASSERT_TRUE(reader.Open(Text("lines.txt", c.content), FileMode::Ascii)) << c.label;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const LineStep& s = c.steps[i];
      std::string out = kUnchanged;
      EXPECT_EQ(reader.ReadAsciiLine(out, s.maxLength, s.delimiter), s.result)
          << c.label << ", read " << i;
      EXPECT_EQ(out, s.line) << c.label << ", read " << i;
      EXPECT_EQ(reader.IsEof(), s.eof) << c.label << ", read " << i;
    }
  }
}

TEST_F(FileReaderTest, UnicodeLinesReadTwoBytesPerUnitLowByteFirst) {
  const std::u16string kUnchanged = u"<unchanged>";
  struct Step {
    std::int32_t maxLength;
    char16_t delimiter;
    bool result;
    std::u16string line;
    bool eof;
  };
  struct Case {
    const char* label;
    Bytes content;
    std::vector<Step> steps;
  } cases[] = {
      {"CR LF lines keep the CR",
       Utf16Le(U16("اب\r\nپ")),
       {{64, u'\n', true, U16("اب\r"), false}, {64, u'\n', true, U16("پ"), true}}},
      {"the word list: word TAB frequency LF",
       Utf16Le(u"word\t12\n"),
       {{22, u'\t', true, u"word", false},
        {8, u'\n', true, u"12", false},
        {22, u'\t', false, kUnchanged, true}}},
      {"the alphabet: one unit per line, maxLength 2",
       Utf16Le(u"ab\nc\n"),
       {{2, u'\n', true, u"ab", false},
        {2, u'\n', false, kUnchanged, false},
        {2, u'\n', true, u"c", false}}},
      {"a trailing odd byte is dropped",
       Concat(Utf16Le(u"a"), {0x62}),
       {{64, u'\n', true, u"a", true}}},
      {"units above 0x00FF and surrogates pass one by one",
       Bytes{0xFF, 0xFE, 0x27, 0x06, 0x3D, 0xD8, 0x00, 0xDE},
       {{64, u'\n', true, std::u16string{0x0627, 0xD83D, 0xDE00}, true}}},
      {"a file holding only the mark", Utf16Le(u""), {{64, u'\n', false, kUnchanged, true}}},
  };
  for (const Case& c : cases) {
    FileReader reader;
    ASSERT_TRUE(reader.Open(Fixture("lines.txt", c.content), FileMode::Unicode)) << c.label;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      std::u16string out = kUnchanged;
      EXPECT_EQ(reader.ReadUnicodeLine(out, s.maxLength, s.delimiter), s.result)
          << c.label << ", read " << i;
      EXPECT_EQ(out, s.line) << c.label << ", read " << i;
      EXPECT_EQ(reader.IsEof(), s.eof) << c.label << ", read " << i;
    }
  }
}

TEST_F(FileReaderTest, UnicodeCharsStopAtTheEndAndTheEndIsSticky) {
  FileReader reader;
  // Twenty units, then five more.
  const std::u16string first(20, u'x');
  ASSERT_TRUE(reader.Open(Fixture("chars.bin", Utf16Le(first + u"abcde")), FileMode::Unicode));
  std::u16string out;
  ASSERT_TRUE(reader.ReadUnicodeChars(out, 20));
  EXPECT_EQ(out, first);
  EXPECT_FALSE(reader.IsEof());  // reading exactly up to a boundary does not set the flag
  EXPECT_FALSE(reader.ReadUnicodeChars(out, 0));
  EXPECT_EQ(out, first);
  ASSERT_TRUE(reader.ReadUnicodeChars(out, 20));
  EXPECT_EQ(out, u"abcde");
  EXPECT_TRUE(reader.IsEof());
  EXPECT_TRUE(RaisesIo([&] { reader.ReadUnicodeChars(out, 20); }, kRead, kEof));
  EXPECT_EQ(out, u"abcde");
}

TEST_F(FileReaderTest, ReadingExactlyToTheLastByteDoesNotSetEndOfFile) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("four.bin", {1, 2, 3, 4}), FileMode::Ascii));
  unsigned char buffer[4] = {};
  std::int32_t delivered = -1;
  ASSERT_TRUE(reader.ReadBlock(buffer, 4, &delivered));
  EXPECT_EQ(delivered, 4);
  EXPECT_FALSE(reader.IsEof());
  EXPECT_FALSE(reader.ReadBlock(buffer, 1, &delivered));
  EXPECT_EQ(delivered, 0);
  EXPECT_TRUE(reader.IsEof());
}

TEST_F(FileReaderTest, ShortBlockReadFillsWhatIsThereAndEveryLaterReadRaises) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("short.bin", Utf16Le(u"ab")), FileMode::Unicode));
  unsigned char buffer[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
  std::int32_t delivered = -1;
  ASSERT_TRUE(reader.ReadBlock(buffer, 8, &delivered));
  EXPECT_EQ(delivered, 4);
  EXPECT_EQ(Hex(Bytes(buffer, buffer + 8)), "61 00 62 00 AA AA AA AA");
  EXPECT_TRUE(reader.IsEof());

  std::string narrow;
  std::u16string wide;
  char16_t units[4];
  struct Read {
    const char* name;
    std::function<void()> call;
  } reads[] = {
      {"ReadBlock", [&] { reader.ReadBlock(buffer, 1); }},
      {"ReadBlockAt", [&] { reader.ReadBlockAt(buffer, 0, 1); }},
      {"ReadUnicodeBlock", [&] { reader.ReadUnicodeBlock(units, 1); }},
      {"ReadUnicodeLine", [&] { reader.ReadUnicodeLine(wide, 64, u'\n'); }},
      {"ReadUnicodeChars", [&] { reader.ReadUnicodeChars(wide, 1); }},
      {"ReadAsciiLine", [&] { reader.ReadAsciiLine(narrow, 64, '\n'); }},
      {"Seek keeps the flag",
       [&] {
         reader.Seek(0);
         reader.ReadBlock(buffer, 1);
       }},
  };
  for (const Read& r : reads) {
    EXPECT_TRUE(RaisesIo(r.call, kRead, kEof)) << r.name;
    EXPECT_TRUE(reader.IsOpen()) << r.name;
    EXPECT_TRUE(reader.IsEof()) << r.name;
  }
  reader.Close();
  EXPECT_FALSE(reader.IsEof());
}

TEST_F(FileReaderTest, PositionedReadsCountFromAfterTheMarkInUnicodeOnly) {
  const Bytes content = {0xFF, 0xFE, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  const std::string path = Fixture("records.bin", content);
  struct Case {
    FileMode mode;
    std::int32_t offset;
    std::int32_t size;
    bool result;
    std::int32_t delivered;
    std::string bytes;  // the first `size` bytes of the buffer afterwards (AA = untouched)
    bool eof;
  } cases[] = {
      {FileMode::Unicode, 0, 8, true, 8, "02 03 04 05 06 07 08 09", false},
      {FileMode::Unicode, 6, 4, true, 4, "08 09 0A 0B", false},
      {FileMode::Unicode, 8, 4, true, 2, "0A 0B AA AA", true},
      {FileMode::Unicode, 10, 4, false, 0, "AA AA AA AA", true},
      {FileMode::Unicode, 1000, 4, false, 0, "AA AA AA AA", true},
      {FileMode::Unicode, -2, 2, false, 0, "AA AA", true},  // would land on the mark
      {FileMode::Ascii, 0, 4, true, 4, "FF FE 02 03", false},
      {FileMode::Ascii, 10, 2, true, 2, "0A 0B", false},
      {FileMode::Ascii, -1, 2, false, 0, "AA AA", true},
  };
  for (const Case& c : cases) {
    const std::string label = (c.mode == FileMode::Unicode ? "Unicode @" : "Ascii @") +
                              std::to_string(c.offset) + "+" + std::to_string(c.size);
    FileReader reader;
    ASSERT_TRUE(reader.Open(path, c.mode)) << label;
    unsigned char scratch[2];
    ASSERT_TRUE(reader.ReadBlock(scratch, 2)) << label;  // a position that ReadBlockAt leaves
    Bytes buffer(c.size, 0xAA);
    std::int32_t delivered = -1;
    EXPECT_EQ(reader.ReadBlockAt(buffer.data(), c.offset, c.size, &delivered), c.result) << label;
    EXPECT_EQ(delivered, c.delivered) << label;
    EXPECT_EQ(Hex(buffer), c.bytes) << label;
    EXPECT_EQ(reader.IsEof(), c.eof) << label;
  }
}

TEST_F(FileReaderTest, SeekMovesTheNextReadAndRepeatedPositionedReadsAgree) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("seek.bin", Utf16Le(u"abcdef")), FileMode::Unicode));
  EXPECT_TRUE(reader.Seek(4));
  std::u16string out;
  ASSERT_TRUE(reader.ReadUnicodeChars(out, 2));
  EXPECT_EQ(out, u"cd");
  unsigned char buffer[2];
  for (int pass = 0; pass < 3; ++pass) {
    ASSERT_TRUE(reader.ReadBlockAt(buffer, 2, 2)) << pass;
    EXPECT_EQ(Hex(Bytes(buffer, buffer + 2)), "62 00") << pass;
  }
  EXPECT_TRUE(reader.Seek(1000));  // accepted; the read that follows finds nothing
  EXPECT_FALSE(reader.ReadUnicodeChars(out, 1));
  EXPECT_TRUE(reader.IsEof());
}

TEST_F(FileReaderTest, NullBufferOrNonPositiveSizeRaisesEvenWhenClosed) {
  const std::string path = Fixture("data.bin", Utf16Le(u"abcd"));
  unsigned char bytes[4];
  char16_t units[4];
  struct Case {
    const char* name;
    std::function<bool(FileReader&)> call;
  } cases[] = {
      {"ReadBlock null", [](FileReader& r) { return r.ReadBlock(nullptr, 4); }},
      {"ReadBlock 0", [&](FileReader& r) { return r.ReadBlock(bytes, 0); }},
      {"ReadBlock -1", [&](FileReader& r) { return r.ReadBlock(bytes, -1); }},
      {"ReadBlockAt null", [](FileReader& r) { return r.ReadBlockAt(nullptr, 0, 4); }},
      {"ReadBlockAt 0", [&](FileReader& r) { return r.ReadBlockAt(bytes, 0, 0); }},
      {"ReadBlockAt -4", [&](FileReader& r) { return r.ReadBlockAt(bytes, 0, -4); }},
      {"ReadUnicodeBlock null", [](FileReader& r) { return r.ReadUnicodeBlock(nullptr, 2); }},
      {"ReadUnicodeBlock 0", [&](FileReader& r) { return r.ReadUnicodeBlock(units, 0); }},
      {"ReadUnicodeBlock -2", [&](FileReader& r) { return r.ReadUnicodeBlock(units, -2); }},
  };
  for (const Case& c : cases) {
    FileReader closed;
    EXPECT_TRUE(RaisesIo([&] { c.call(closed); }, kRead, kNullBuffer)) << c.name << " closed";
    FileReader open;
    ASSERT_TRUE(open.Open(path, FileMode::Unicode));
    EXPECT_TRUE(RaisesIo([&] { c.call(open); }, kRead, kNullBuffer)) << c.name << " open";
    // The failed test moved nothing: the content still starts where it did.
    ASSERT_TRUE(open.ReadBlock(bytes, 2)) << c.name;
    EXPECT_EQ(Hex(Bytes(bytes, bytes + 2)), "61 00") << c.name;
  }
}

TEST_F(FileReaderTest, ReadsOfTheOtherModeRaiseTheirOwnMessage) {
  const std::string ascii = Text("ascii.txt", "abc\n");
  const std::string unicode = Fixture("unicode.txt", Utf16Le(u"abc\n"));
  std::string narrow;
  std::u16string wide;
  struct Case {
    const char* name;
    const std::string& path;
    FileMode mode;
    std::function<void(FileReader&)> call;
    std::string message;
  } cases[] = {
      {"ReadAsciiLine on Unicode", unicode, FileMode::Unicode,
       [&](FileReader& r) { r.ReadAsciiLine(narrow, 64, '\n'); },
       "File not openned as ASCII initially."},
      {"UnreadAscii on Unicode", unicode, FileMode::Unicode,
       [](FileReader& r) { r.UnreadAscii(1); }, "File not openned as ASCII initially."},
      {"ReadUnicodeLine on Ascii", ascii, FileMode::Ascii,
       [&](FileReader& r) { r.ReadUnicodeLine(wide, 64, u'\n'); },
       "File not openned as UNICODE initially."},
      {"ReadUnicodeChars on Ascii", ascii, FileMode::Ascii,
       [&](FileReader& r) { r.ReadUnicodeChars(wide, 2); },
       "File not openned as Unicode initially."},
      {"UnreadUnicode on Ascii", ascii, FileMode::Ascii, [](FileReader& r) { r.UnreadUnicode(1); },
       "File not openned as Unicode initially."},
  };
  for (const Case& c : cases) {
    FileReader reader;
    ASSERT_TRUE(reader.Open(c.path, c.mode)) << c.name;
    EXPECT_TRUE(RaisesIo([&] { c.call(reader); }, kRead, c.message)) << c.name;
    EXPECT_TRUE(reader.IsOpen()) << c.name;
    EXPECT_FALSE(reader.IsEof()) << c.name;
    unsigned char first;
    ASSERT_TRUE(reader.ReadBlock(&first, 1)) << c.name;  // the position did not move
    EXPECT_EQ(first, 'a') << c.name;
  }
}

TEST_F(FileReaderTest, EveryOperationOnAClosedReaderReportsNothing) {
  FileReader reader;
  std::string narrow = "n";
  std::u16string wide = u"w";
  unsigned char bytes[4];
  char16_t units[2];
  std::int32_t delivered = -1;
  EXPECT_FALSE(reader.ReadAsciiLine(narrow, 64, '\n'));
  EXPECT_FALSE(reader.ReadUnicodeLine(wide, 64, u'\n'));
  EXPECT_FALSE(reader.ReadUnicodeChars(wide, 4));
  EXPECT_FALSE(reader.ReadUnicodeBlock(units, 2));
  EXPECT_FALSE(reader.ReadBlock(bytes, 4, &delivered));
  EXPECT_EQ(delivered, 0);
  EXPECT_FALSE(reader.ReadBlockAt(bytes, 0, 4));
  EXPECT_FALSE(reader.Seek(0));
  EXPECT_FALSE(reader.UnreadAscii(1));
  EXPECT_FALSE(reader.UnreadUnicode(1));
  EXPECT_FALSE(reader.IsEof());
  EXPECT_EQ(reader.GetSize(), 0);
  EXPECT_EQ(narrow, "n");
  EXPECT_EQ(wide, u"w");
}

TEST_F(FileReaderTest, ExistsTellsReadableFilesApart) {
  const std::string file = Text("here.txt", "");
  EXPECT_TRUE(FileReader::Exists(file.c_str()));
  EXPECT_FALSE(FileReader::Exists(dir_.File("missing.txt").c_str()));
  EXPECT_FALSE(FileReader::Exists(dir_.path().string().c_str()));
  EXPECT_FALSE(FileReader::Exists(""));
  EXPECT_FALSE(FileReader::Exists(nullptr));
}

TEST_F(FileReaderTest, GetSizeCountsTheMarkAndKeepsThePosition) {
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("size.bin", Utf16Le(u"abc")), FileMode::Unicode));
  std::u16string out;
  ASSERT_TRUE(reader.ReadUnicodeChars(out, 1));
  EXPECT_EQ(reader.GetSize(), 8);
  ASSERT_TRUE(reader.ReadUnicodeChars(out, 2));
  EXPECT_EQ(out, u"bc");
  EXPECT_FALSE(reader.IsEof());
}

TEST_F(FileReaderTest, UnicodeBlockDecodesUnitsAndStopsAtTheEnd) {
  // More units than one pass of the reader's scratch array, plus a trailing odd byte.
  std::u16string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char16_t>(0x0600 + i));
  FileReader reader;
  ASSERT_TRUE(reader.Open(Fixture("block.bin", Concat(Utf16Le(text), {0x41})), FileMode::Unicode));
  std::vector<char16_t> buffer(400, u'?');
  ASSERT_TRUE(reader.ReadUnicodeBlock(buffer.data(), 400));
  EXPECT_EQ(std::u16string(buffer.data(), 300), text);
  EXPECT_EQ(buffer[300], u'?');  // the rest is untouched
  EXPECT_TRUE(reader.IsEof());

  FileReader empty;
  ASSERT_TRUE(empty.Open(Fixture("mark.bin", Utf16Le(u"")), FileMode::Unicode));
  char16_t unit = u'?';
  EXPECT_FALSE(empty.ReadUnicodeBlock(&unit, 1));
  EXPECT_EQ(unit, 0);  // the first element is cleared before reading
  EXPECT_TRUE(empty.IsEof());
}

TEST_F(FileReaderTest, UnreadMovesBackAndClearsTheEndOfFile) {
  FileReader ascii;
  ASSERT_TRUE(ascii.Open(Text("a.txt", "abc"), FileMode::Ascii));
  std::string line;
  ASSERT_TRUE(ascii.ReadAsciiLine(line, 64, '\n'));
  ASSERT_TRUE(ascii.IsEof());
  EXPECT_TRUE(ascii.UnreadAscii(2));
  EXPECT_FALSE(ascii.IsEof());
  ASSERT_TRUE(ascii.ReadAsciiLine(line, 64, '\n'));
  EXPECT_EQ(line, "bc");

  FileReader unicode;
  ASSERT_TRUE(unicode.Open(Fixture("u.bin", Utf16Le(u"xyz")), FileMode::Unicode));
  std::u16string wide;
  ASSERT_TRUE(unicode.ReadUnicodeChars(wide, 3));
  EXPECT_TRUE(unicode.UnreadUnicode(1));
  ASSERT_TRUE(unicode.ReadUnicodeChars(wide, 1));
  EXPECT_EQ(wide, u"z");
  // Moving back into the mark is refused: the next read finds nothing instead of the mark.
  EXPECT_TRUE(unicode.UnreadUnicode(4));
  EXPECT_FALSE(unicode.ReadUnicodeChars(wide, 1));
  EXPECT_TRUE(unicode.IsEof());
}

}  // namespace
