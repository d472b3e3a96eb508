#include <gtest/gtest.h>

#include "errors/errors.h"

namespace {

TEST(TRELVAExceptionTest, FormatsCodeInHexAndLineInDecimal) {
  struct Case {
    int code;
    int line;
    const char* expected;
  } cases[] = {
      {0x11, 57, "Error Code (0x11) in filereader (57): End of file encountered."},
      {0, 3, "Error Code (0x0) in filereader (3): End of file encountered."},
      {0x20, 10, "Error Code (0x20) in filereader (10): End of file encountered."},
      {-1, -4, "Error Code (0xffffffff) in filereader (-4): End of file encountered."},
  };
  for (const Case& c : cases) {
    IOException ex("filereader", c.line, c.code, "End of file encountered.");
    EXPECT_EQ(ex.GetFormattedMessage(), c.expected) << c.code;
  }
}

TEST(TRELVAExceptionTest, CopyIsIndependent) {
  TRELVAException original("postlistresources", 1, 0, "Alphabet size not set");
  TRELVAException copy = original;
  copy.SetMessage("changed");
  copy.SetFile("other");
  EXPECT_EQ(original.GetMessage(), "Alphabet size not set");
  EXPECT_EQ(original.GetFile(), "postlistresources");
}

TEST(TRELVAExceptionTest, RelayKeepsTypeAndCodeAndAppendsContext) {
  try {
    try {
      throw IOException("filereader", 12, urduspell::kErrOpen, "Could not open file: config.ini.");
    } catch (IOException& ex) {
      urduspell::RelayWithContext(ex, "configmanager", 99, urduspell::kNotOpenedText);
      throw;
    }
  } catch (IOException& ex) {
    EXPECT_EQ(ex.GetFile(), "configmanager");
    EXPECT_EQ(ex.GetLine(), 99);
    EXPECT_EQ(ex.GetCode(), 0x10);
    EXPECT_EQ(ex.GetMessage(),
              "Could not open file: config.ini. Config file not opened sucessfully.");
  }
}

TEST(TRELVAExceptionTest, HandlersSelectByType) {
  auto caughtAsIo = [](auto raise) {
    try {
      raise();
    } catch (IOException&) {
      return true;
    } catch (TRELVAException&) {
      return false;
    }
    return false;
  };
  EXPECT_TRUE(caughtAsIo([] { throw IOException("filereader", 1, 0x11, "x"); }));
  EXPECT_FALSE(caughtAsIo([] { throw TRELVAException("postlistresources", 1, 0, "x"); }));
  EXPECT_FALSE(caughtAsIo([] { throw MemoryAllocationException("postlistresources", 1, 0x20, "x"); }));
}

}  // namespace
