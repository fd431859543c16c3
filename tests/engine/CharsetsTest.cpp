#include "engine/html/Charsets.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

TEST(Charsets, NamesFindTheFirstContainedRow) {
  int charset = -1;
  EXPECT_TRUE(CharsetFromName("text/html; charset=Windows-1251", charset));
  EXPECT_EQ(charset, 204);
  EXPECT_TRUE(CharsetFromName("ISO-8859-15", charset));
  EXPECT_EQ(charset, 0);
  EXPECT_TRUE(CharsetFromName("iso-8859-2", charset));
  EXPECT_EQ(charset, kCharsetIso8859_2);
  EXPECT_TRUE(CharsetFromName("TIS-620", charset));
  EXPECT_EQ(charset, 222);
  EXPECT_TRUE(CharsetFromName("text/html; charset=GBK", charset));
  EXPECT_EQ(charset, 134);
  charset = -1;
  EXPECT_FALSE(CharsetFromName("text/html; charset=utf-8", charset));
  EXPECT_EQ(charset, -1);
}

TEST(Charsets, EucJpConvertsTheDocument) {
  int conversions = 0;
  ConvertDocumentFromEucJp = [&] { ++conversions; };
  int charset = 0;
  EXPECT_TRUE(CharsetFromName("EUC-JP", charset));
  EXPECT_EQ(charset, kCharsetShiftJis);
  EXPECT_EQ(conversions, 1);
  EXPECT_TRUE(CharsetFromName("shift_jis", charset));
  EXPECT_EQ(conversions, 1);
  ConvertDocumentFromEucJp = [] {};
}

}  // namespace
}  // namespace engine
