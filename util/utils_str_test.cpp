#include <gtest/gtest.h>

#include <string>

#include "MemMgr.h"
#include "utils.h"

namespace {

TEST(SaveStr, FormatsIntoAManagedCopy) {
  char* joined = SaveStr("%s/%s", "/opt", "Vexla");
  EXPECT_STREQ(joined, "/opt/Vexla");
  EXPECT_NE(FindBlock(joined), nullptr);
  PutMem(joined);
}

TEST(SaveStr, LongResultsAreNeverCut) {
  std::string big(20000, 'b');
  char* copy = SaveStr("<%s>", big.c_str());
  EXPECT_EQ(std::string(copy), "<" + big + ">");
  PutMem(copy);
}

TEST(SaveText, KeepsPercentSignsAsTheyStand) {
  // A typed path or a line of a file duplicated as a format would lose or
  // misread its percent signs.
  char* copy = SaveText("/opt/100%s/%d%%");
  EXPECT_STREQ(copy, "/opt/100%s/%d%%");
  PutMem(copy);
  EXPECT_EQ(SaveText(nullptr), nullptr);
}

TEST(SetVarContent, CopiesForwardOrReversed) {
  const unsigned char src[4] = {1, 2, 3, 4};
  unsigned char dst[4] = {};
  SetVarContent(dst, src, 4, true);
  EXPECT_EQ(dst[0], 4);
  EXPECT_EQ(dst[1], 3);
  EXPECT_EQ(dst[2], 2);
  EXPECT_EQ(dst[3], 1);
  SetVarContent(dst, src, 4, false);
  EXPECT_EQ(dst[0], 1);
  EXPECT_EQ(dst[3], 4);
  unsigned char odd[3] = {7, 8, 9};
  SetVarContent(odd, odd, 3, true);  // in place
  EXPECT_EQ(odd[0], 9);
  EXPECT_EQ(odd[1], 8);
  EXPECT_EQ(odd[2], 7);
}

TEST(MaxD, LargerOfTwo) {
  EXPECT_EQ(MaxD(2.5, 2.5), 2.5);
  EXPECT_EQ(MaxD(1, 3), 3);
  EXPECT_EQ(MaxD(3, 1), 3);
}

TEST(BoundedCopies, ReportWhenTheyCut) {
  char buf[6];
  EXPECT_TRUE(CopyText(buf, sizeof buf, "abcde"));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_FALSE(CopyText(buf, sizeof buf, "abcdef"));
  EXPECT_STREQ(buf, "abcde");
  EXPECT_TRUE(CopyText(buf, sizeof buf, nullptr));
  EXPECT_STREQ(buf, "");
  EXPECT_TRUE(FormatText(buf, sizeof buf, "%d-%d", 12, 34));
  EXPECT_FALSE(FormatText(buf, sizeof buf, "%d-%d", 123, 456));
  EXPECT_STREQ(buf, "123-4");
}

}  // namespace
