#include "record_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HistoryEntry Sample() {
  HistoryEntry e;
  e.started = "2026-12-09T21:41:17Z";
  e.seconds = 14;
  e.action = "install";
  e.dir = "/opt/Vexla/vpxx";
  e.medium = "/media";
  e.mediumSha256 = std::string(64, 'a');
  e.signer = "0123456789ABCDEF";
  e.status = 0;
  e.failedSteps = 0;
  e.version = "3.00.42";
  return e;
}

// The keys and their order are what other tools read.
TEST(HistoryLine, HoldsTheKeysInTheirOrderAndReadsBack) {
  EXPECT_EQ(HistoryLine(Sample()),
            "{\"started\":\"2026-12-09T21:41:17Z\",\"seconds\":14,\"action\":\"install\",\"dir\":\"/opt/Vexla/vpxx\","
            "\"medium\":\"/media\",\"medium_sha256\":\"" + std::string(64, 'a') +
                "\",\"signer\":\"0123456789ABCDEF\",\"status\":0,\"failed_steps\":0,\"version\":\"3.00.42\"}");
  // A medium under any directory, control characters and 8-bit names included.
  HistoryEntry odd = Sample();
  odd.medium = "/media/Cl\xe9 \"USB\"\\\n\t";
  odd.status = 1;
  odd.failedSteps = 3;
  HistoryEntry back;
  ASSERT_TRUE(ParseHistoryLine(HistoryLine(odd), &back));
  EXPECT_EQ(back.medium, odd.medium);
  EXPECT_EQ(HistoryLine(back), HistoryLine(odd));
}

// A line another tool or a cut-short write left is no entry, and never
// a crash; keys it does not know, and values of any kind, are passed over.
TEST(HistoryLine, OnlyAJsonObjectIsAnEntry) {
  HistoryEntry e;
  EXPECT_TRUE(ParseHistoryLine(" {\"x\":{\"y\":[1,-2.5e3,{\"z\":null}],\"t\":true},\"action\":\"remove\"} \r", &e));
  EXPECT_EQ(e.action, "remove");
  EXPECT_TRUE(ParseHistoryLine("{}", &e));
  for (const std::string& bad : std::vector<std::string>{"", "[1]", "{", "{\"started\":\"2026", "{\"a\":1} x", "{\"a\":}", "{\"a\" 1}", "{\"a\":1,}", "{a:1}",
        "{\"a\":\"\\q\"}", "{\"a\":\"\\u12\"}", "{\"a\":tru}", "{\"a\":\"x\ny\"}", "not json",
        "{\"a\":" + std::string(100000, '[') + "}"})
    EXPECT_FALSE(ParseHistoryLine(bad, &e)) << bad.substr(0, 40);
}

// One line a run, the columns aligned whatever the lengths; no medium and
// no checksum file are said so.
TEST(HistoryText, ColumnsAreAligned) {
  HistoryEntry removed = Sample();
  removed.action = "rollback";
  removed.dir = "/usr/Vexla/vpxx";
  removed.medium = "";
  removed.mediumSha256 = "";
  removed.signer = "";
  removed.seconds = 123;
  removed.status = 1;
  removed.failedSteps = 1;
  HistoryEntry older = Sample();
  older.mediumSha256 = "";
  older.dir = "/opt/a/Vexla/vpxx";
  const std::vector<std::string> lines = HistoryTextLines({Sample(), removed, older});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0],
            "2026-12-09 21:41:17 UTC  install   /opt/Vexla/vpxx    status 0 (0 failed steps)   14 s  medium /media "
            "sha256 aaaaaaaaaaaa...  signed by 0123456789ABCDEF  setup 3.00.42");
  EXPECT_EQ(lines[1].substr(0, 97),
            "2026-12-09 21:41:17 UTC  rollback  /usr/Vexla/vpxx    status 1 (1 failed step)   123 s  no medium");
  for (const char* column : {"status", " s  ", "setup 3.00.42"})
    for (const std::string& line : lines) EXPECT_EQ(line.find(column), lines[0].find(column)) << column << "\n" << line;
  EXPECT_NE(lines[2].find("  medium /media without checksums"), std::string::npos) << lines[2];
}

}  // namespace
