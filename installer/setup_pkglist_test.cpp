#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SysCmd.h"
#include "installer.h"
#include "test_support.h"

namespace {

PkgStep Parse(const char* line, const char* release = "2.0.36", bool* acted = nullptr, std::string* err = nullptr) {
  PkgStep step;
  std::string error;
  bool result = ParsePkgLine(line, release, &step, &error);
  if (acted != nullptr) *acted = result;
  if (err != nullptr) *err = error;
  return step;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(ParsePkgLine, KeywordNameAndAttributePairs) {
  bool acted = false;
  PkgStep step = Parse("c vpqadmin mode 755 owner root\n", "2.0.36", &acted);
  ASSERT_TRUE(acted);
  EXPECT_EQ(step.keyword, kPkgCopy);
  EXPECT_EQ(step.name, "vpqadmin");
  EXPECT_EQ(step.attributes, (Pairs{{"mode", "755"}, {"owner", "root"}}));
  // A key without its value ends the pairs.
  step = Parse("t .StandAlone mode\n");
  EXPECT_EQ(step.keyword, kPkgTouch);
  EXPECT_TRUE(step.attributes.empty());
  step = Parse("dirto lib /opt/lib mode 755\n");
  EXPECT_EQ(step.keyword, kPkgDirTo);
  EXPECT_EQ(step.dest, "/opt/lib");
  EXPECT_EQ(step.attributes, (Pairs{{"mode", "755"}}));
}

TEST(ParsePkgLine, CommentsAndEmptyLinesDoNothing) {
  bool acted = true;
  std::string err;
  Parse("# a comment c x\n", "2.0.36", &acted, &err);
  EXPECT_FALSE(acted);
  EXPECT_TRUE(err.empty());
  Parse("   \r\n", "2.0.36", &acted, &err);
  EXPECT_FALSE(acted);
  EXPECT_TRUE(err.empty());
  // "#comment" is no comment: an unknown first word copies its second word.
  PkgStep step = Parse("#comment x\n", "2.0.36", &acted);
  EXPECT_TRUE(acted);
  EXPECT_EQ(step.keyword, kPkgCopyOther);
  EXPECT_EQ(step.name, "x");
}

TEST(ParsePkgLine, TabBelongsToTheWord) {
  PkgStep step = Parse("c a\tb\n");
  EXPECT_EQ(step.name, "a\tb");
}

TEST(ParsePkgLine, SedValueIsTheRestOfTheLine) {
  PkgStep step = Parse("c x sed -e 's/a b/c d/' -e 's/x/y/'\n");
  EXPECT_EQ(step.attributes, (Pairs{{"sed", "-e 's/a b/c d/' -e 's/x/y/'"}}));
  // From the second pair on a sed value is one word like any other.
  step = Parse("c x mode 644 sed s/a/b/ owner root\n");
  EXPECT_EQ(step.attributes, (Pairs{{"mode", "644"}, {"sed", "s/a/b/"}, {"owner", "root"}}));
}

TEST(ParsePkgLine, ReleaseConditionsCompareTextsAndChain) {
  bool acted = false;
  PkgStep step = Parse("v < 2.2 c x\n", "2.0.36", &acted);
  EXPECT_TRUE(acted);
  EXPECT_EQ(step.keyword, kPkgCopy);
  EXPECT_EQ(step.name, "x");
  Parse("v < 2.2 c x\n", "2.2.5", &acted);
  EXPECT_FALSE(acted);
  Parse("v >= 2.0 v < 2.2 c x\n", "2.0.36", &acted);
  EXPECT_TRUE(acted);
  Parse("v >= 2.0 v < 2.2 c x\n", "2.2.0", &acted);
  EXPECT_FALSE(acted);
  Parse("v >= 2.0 v < 2.2 c x\n", "10.1", &acted);  // "10.1" sorts before "2.0"
  EXPECT_FALSE(acted);
  Parse("v == 2.0 c x\n", "2.0", &acted);  // unknown operator: false
  EXPECT_FALSE(acted);
  Parse("v = 2.0\n", "2.0", &acted);  // holds, but nothing follows
  EXPECT_FALSE(acted);
}

TEST(ParsePkgLine, UnreadableReleaseAppliesThePairsToTheOperator) {
  testing::internal::CaptureStderr();
  bool acted = false;
  PkgStep step = Parse("v x mode 755\n", nullptr, &acted);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(acted);
  EXPECT_EQ(step.keyword, kPkgAttributesOnly);
  EXPECT_EQ(step.name, "x");
  EXPECT_EQ(step.attributes, (Pairs{{"mode", "755"}}));
  EXPECT_EQ(err.rfind("failed ts get version: ", 0), 0u) << err;
}

TEST(ParsePkgLine, DamagedLinesAreReportedNotCarriedOut) {
  const char* damaged[] = {
      "c\n", "dirto lib\n", "v <\n", "c x;reboot\n", "c $(id)\n", "c x mode 7`id`\n",
      "c x link /tmp/a|b\n", "c x sed s/a/\"b\"/\n", "c x sed s/a/$(id)/\n", "c x sed s/a/`id`/\n",
  };
  for (const char* line : damaged) {
    bool acted = true;
    std::string err;
    Parse(line, "2.0.36", &acted, &err);
    EXPECT_FALSE(acted) << line;
    EXPECT_FALSE(err.empty()) << line;
  }
  // A sed script may end its pattern with '$' and carry single quotes.
  bool acted = false;
  std::string err;
  PkgStep step = Parse("c x sed -e 's/ *$//' -e 's/@V@/1.0/'\n", "2.0.36", &acted, &err);
  EXPECT_TRUE(acted) << err;
  EXPECT_EQ(step.attributes[0].second, "-e 's/ *$//' -e 's/@V@/1.0/'");
  // The value of a pair that is passed over is never used, so never judged.
  Parse("c x colour $(blue)\n", "2.0.36", &acted, &err);
  EXPECT_TRUE(acted) << err;
}

TEST(ReleaseCondition, Operators) {
  EXPECT_TRUE(ReleaseConditionHolds("<", "2.0.36", "2.2"));
  EXPECT_TRUE(ReleaseConditionHolds("<=", "2.2", "2.2"));
  EXPECT_TRUE(ReleaseConditionHolds("=", "2.2", "2.2"));
  EXPECT_FALSE(ReleaseConditionHolds("=", "2.2.0", "2.2"));
  EXPECT_TRUE(ReleaseConditionHolds(">", "2.2.5", "2.2"));
  EXPECT_TRUE(ReleaseConditionHolds(">=", "2.2", "2.2"));
  EXPECT_FALSE(ReleaseConditionHolds("!", "2.2", "2.2"));
  EXPECT_FALSE(ReleaseConditionHolds("", "2.2", "2.2"));
}

// Carries out steps with the host replaced by a recorder, from a resolved
// command table, and returns the command lines built.
class PkgCommands : public CommandTableTest {
 protected:
  void SetUp() override {
    CommandTableTest::SetUp();
    pVexlaInstallDir = const_cast<char*>("/w/VexlaInstall");
    CopyText(AppDir, sizeof AppDir, app.path().c_str());
  }

  static std::string Logged(int row, const std::string& args) { return ShellLine(row, args, kLoggedOff); }

  std::vector<std::string> Run(const char* line) {
    PkgStep step;
    std::string error;
    EXPECT_TRUE(ParsePkgLine(line, "2.0.36", &step, &error)) << line << error;
    HostRecorder host;
    testing::internal::CaptureStdout();
    CarryOutPkgStep(step, "pkg");
    testing::internal::GetCapturedStdout();
    return host.lines;
  }

  ScratchDir app;
};

TEST_F(PkgCommands, CopyThenMode) {
  std::string a = app.path();
  EXPECT_EQ(Run("c vpqadmin mode 755\n"),
            (std::vector<std::string>{Logged(kCmdCp, "/w/VexlaInstall/pkg/vpqadmin " + a),
                                      Logged(kCmdChmod, "755 " + a + "/vpqadmin")}));
}

TEST_F(PkgCommands, EveryCommandKeyword) {
  std::string a = app.path();
  EXPECT_EQ(Run("dir lib\n"), (std::vector<std::string>{Logged(kCmdCpR, "/w/VexlaInstall/pkg/lib " + a)}));
  EXPECT_EQ(Run("dirto lib /opt/x\n"),
            (std::vector<std::string>{Logged(kCmdCpR, "/w/VexlaInstall/pkg/lib /opt/x")}));
  EXPECT_EQ(Run("t .StandAlone\n"), (std::vector<std::string>{Logged(kCmdTouch, a + "/.StandAlone")}));
  EXPECT_EQ(Run("zz x\n"), (std::vector<std::string>{Logged(kCmdCp, "/w/VexlaInstall/pkg/x " + a)}));
  // m and s act only on what the application directory holds.
  EXPECT_TRUE(Run("m x mode 644\n").empty());
  app.Write("x", "");
  EXPECT_EQ(Run("s x mode 644\n"), (std::vector<std::string>{Logged(kCmdChmod, "644 " + a + "/x")}));
  // newdir on an existing directory does nothing at all.
  app.Write("lib/f", "");
  EXPECT_TRUE(Run("newdir lib mode 755\n").empty());
}

TEST_F(PkgCommands, Attributes) {
  std::string a = app.path();
  app.Write("x", "");
  EXPECT_EQ(Run("m x owner lp group daemon name y mode 700\n"),
            (std::vector<std::string>{Logged(kCmdChown, "-R lp " + a + "/x"), Logged(kCmdChgrp, "-R daemon " + a + "/x"),
                                      Logged(kCmdMv, a + "/x " + a + "/y"),
                                      // attributes after name still name the old file
                                      Logged(kCmdChmod, "700 " + a + "/x")}));
  EXPECT_EQ(Run("m x link /usr/bin/vpq\n"),
            (std::vector<std::string>{Logged(kCmdLn, "-s " + a + "/x /usr/bin/vpq")}));
  EXPECT_TRUE(Run("m x colour blue\n").empty());  // an unknown pair is passed over
}

// A copy that fails is a warning and the list goes on (its attributes too),
// but the run remembers the step by its line.
TEST_F(PkgCommands, AFailedCopyIsNotedAndTheLineGoesOn) {
  const int before = FailedStepCount();
  PkgStep step;
  std::string error;
  ASSERT_TRUE(ParsePkgLine("c vsf mode 755\n", "2.0.36", &step, &error));
  step.line = 7;
  HostRecorder host;
  host.exitStatuses = {1, 0};
  testing::internal::CaptureStdout();
  EXPECT_EQ(CarryOutPkgStep(step, "pkg"), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(host.lines.size(), 2u);
  EXPECT_EQ(FailedStepCount(), before + 1);
  testing::internal::CaptureStderr();
  ReportFailedSteps();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("ERROR: package list, line 7: c vsf failed\n"),
            std::string::npos);
}

TEST_F(PkgCommands, ExistingLinkIsReplaced) {
  std::string a = app.path();
  app.Write("x", "");
  std::string link = app.File("old-link");
  ASSERT_EQ(symlink("/nonexistent", link.c_str()), 0);
  std::string line = "m x link " + link + "\n";
  EXPECT_EQ(Run(line.c_str()),
            (std::vector<std::string>{Logged(kCmdRm, link), Logged(kCmdLn, "-s " + a + "/x " + link)}));
}

}  // namespace
