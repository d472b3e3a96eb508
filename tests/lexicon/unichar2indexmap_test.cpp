#include "lexicon/unichar2indexmap.h"

#include <gtest/gtest.h>
#include <urduspell/trelvaexception.h>

#include "testutil.h"

namespace {

using testutil::TempDir;
using testutil::U16;
using testutil::Utf16Le;
using urduspell::UniChar2IndexMap;

constexpr std::uint16_t kNone = UniChar2IndexMap::kNoIndex;

UniChar2IndexMap LoadFrom(const TempDir& dir, const std::u16string& text) {
  testutil::WriteBytes(dir.File("alphabet.txt"), Utf16Le(text));
  UniChar2IndexMap map;
  EXPECT_TRUE(map.Load(dir.File("alphabet.txt")));
  return map;
}

TEST(UniChar2IndexMapTest, LineShapesGiveTheDocumentedCharacters) {
  struct Case {
    std::u16string text;
    std::u16string expectedOrder;  // characters in index order
  } cases[] = {
      {u"\u0627\r\n\u0628\r\n\u067E\r\n", u"\u0627\u0628\u067E"},
      {u"\u0627\n\u0628", u"\u0627\u0628"},                    // LF only, no final line end
      {u"\u0627\r\n\r\n\u0628\r\n", u"\u0627\r\u0628"},         // blank CR LF line adds CR
      {u"\u0627\n\n\u0628\n", u"\u0627\u0628"},                 // blank LF line adds nothing
      {u"\u0627\u0628\r\n", u"\u0627\r"},                       // X Y CR LF: X, then CR
      {u"\u0627\u0628\u062A\r\n", u"\u0627\u062A"},             // X Y Z CR LF: X, then Z
      {u"", u""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    UniChar2IndexMap map = LoadFrom(dir, c.text);
    ASSERT_EQ(map.GetSize(), static_cast<int>(c.expectedOrder.size())) << testutil::U8(c.text);
    for (std::size_t i = 0; i < c.expectedOrder.size(); ++i) {
      EXPECT_EQ(map.GetIndex(c.expectedOrder[i]), i) << testutil::U8(c.text);
    }
  }
}

TEST(UniChar2IndexMapTest, LookupAndFilter) {
  TempDir dir;
  UniChar2IndexMap map = LoadFrom(dir, u"\u0627\r\n\u0628\r\n\u0627\r\n");
  EXPECT_EQ(map.GetSize(), 3);               // a letter listed twice counts twice...
  EXPECT_EQ(map.GetIndex(u'\u0627'), 2);     // ...and keeps its later index
  EXPECT_EQ(map.GetIndex(u'\u0600'), kNone);  // page present, entry never set
  EXPECT_EQ(map.GetIndex(u'A'), kNone);       // page absent
  EXPECT_EQ(map.Filter(u"A\u06271 \u200D\u0628x"), u"\u0627\u0628");
  EXPECT_EQ(map.Filter(u"abc 123"), u"");
}

TEST(UniChar2IndexMapTest, ClearAndCopy) {
  UniChar2IndexMap map;
  map.AddChar(u'\u0627');
  map.AddChar(u'\u0628');
  UniChar2IndexMap copy = map;
  map.Clear();
  EXPECT_EQ(map.GetSize(), 0);
  EXPECT_EQ(map.GetIndex(u'\u0627'), kNone);
  EXPECT_EQ(copy.GetSize(), 2);  // the copy owns its own pages
  EXPECT_EQ(copy.GetIndex(u'\u0628'), 1);
  map.AddChar(u'\u0628');
  EXPECT_EQ(map.GetIndex(u'\u0628'), 0);  // numbering starts over
}

TEST(UniChar2IndexMapTest, LoadFailuresCarryContext) {
  TempDir dir;
  testutil::WriteBytes(dir.File("nomark.txt"), Utf16Le(u"\u0627\r\n", /*withMark=*/false));
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {dir.File("nomark.txt"), "File is not Unicode based. Config file not opened sucessfully."},
      {dir.File("missing.txt"),
       "Could not open file: " + dir.File("missing.txt") + ". Config file not opened sucessfully."},
      {"", "Invalid file name specified. Config file not opened sucessfully."},
  };
  for (const Case& c : cases) {
    UniChar2IndexMap map;
    try {
      map.Load(c.path);
      ADD_FAILURE() << "no exception for " << c.path;
    } catch (IOException& ex) {
      EXPECT_EQ(ex.GetMessage(), c.message);
      EXPECT_EQ(ex.GetCode(), 0x10);
      EXPECT_EQ(ex.GetFile(), "unichar2indexmap");
    }
  }
}

}  // namespace
