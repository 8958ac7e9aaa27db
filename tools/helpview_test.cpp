// Tests of helpview run as a program: the dump of the sample help, the
// viewer on a line-oriented terminal, and the statuses.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

int Helpview(const std::vector<std::string>& args, const std::string& input, std::string* out) {
  std::vector<std::string> argv = {HELPVIEW_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv, input, out);
}

// The dump of the sample help under the locale lang (LC_ALL and LC_CTYPE unset).
int DumpUnder(const char* lang, std::string* out) {
  EnvScope all("LC_ALL", nullptr);
  EnvScope ctype("LC_CTYPE", nullptr);
  EnvScope locale("LANG", lang);
  return Helpview({"--dump", SAMPLE_HELP}, "", out);
}

TEST(Helpview, DumpPrintsEveryPageOfTheSampleHelpUnderItsName) {
  std::string out;
  ASSERT_EQ(DumpUnder("C", &out), 0) << out;
  EXPECT_EQ(out.rfind("=== page 1: contents\n" + std::string(27, ' ') + "Vexla print software setup\n", 0), 0u) << out;
  for (const char* page : {"=== page 2: install\n", "=== page 3: media\n", "=== page 4: trouble\n"})
    EXPECT_EQ(Count(out, page), 1) << page;
  EXPECT_EQ(Count(out, "=== page "), 4);
  EXPECT_NE(out.find("   1. <Installing the driver and utilities>\n"), std::string::npos);
  EXPECT_NE(out.find("Copyright \xA9 2000-2026 Vexla. Written for the caf\xE9 and"), std::string::npos);
  EXPECT_NE(out.find("\n| setup.hlp       | this help                        |\n"), std::string::npos) << out;
}

// The help source's ISO 8859-1 letters reach a UTF-8 terminal as UTF-8.
TEST(Helpview, AUtf8LocaleGetsItsLettersAsUtf8) {
  std::string out;
  ASSERT_EQ(DumpUnder("fr_FR.UTF-8", &out), 0) << out;
  EXPECT_NE(out.find("Copyright \xC2\xA9 2000-2026 Vexla. Written for the caf\xC3\xA9 and"), std::string::npos) << out;
  EXPECT_EQ(out.find("caf\xE9 "), std::string::npos);
}

TEST(Helpview, ViewsAtATargetUntilExitHelp) {
  std::string out;
  ASSERT_EQ(Helpview({"--title", "Sample help", std::string(SAMPLE_HELP) + "#trouble"}, "1\nb\ne\n", &out), 0) << out;
  EXPECT_EQ(out.rfind("\f\n" + std::string(34, ' ') + "Sample help\n\n" + std::string(27, ' ') +
                          "When something goes wrong\n",
                      0),
            0u)
      << out;
  EXPECT_NE(out.find(" 1) Installing the driver and utilities \n"), std::string::npos);
  EXPECT_EQ(Count(out, " e) Exit Help"), 3);
  EXPECT_EQ(Count(out, "When something goes wrong\n\n\n\nEverything setup runs"), 2) << "Back returns to the target";
  EXPECT_NE(out.find("Enter a selection: "), std::string::npos) << "the prompt line has its real text";
}

TEST(Helpview, StatusesForFailures) {
  std::string out;
  EXPECT_EQ(Helpview({"--dump", "/nonexistent/help.hlp"}, "", &out), 1);
  EXPECT_EQ(out, "Error in reading HTML file /nonexistent/help.hlp\n");
  EXPECT_EQ(Helpview({"/nonexistent/help.hlp"}, "", &out), 1);
  EXPECT_EQ(out, "Error in reading HTML file /nonexistent/help.hlp\n");
  EXPECT_EQ(Helpview({SAMPLE_HELP}, "", &out), 1) << "the terminal's input ended";
  EXPECT_EQ(Helpview({}, "", &out), 2);
  EXPECT_EQ(Helpview({"a", "b"}, "", &out), 2);
  EXPECT_EQ(Helpview({"--bogus", "a"}, "", &out), 2);
  EXPECT_EQ(Helpview({"--help"}, "", &out), 0);
  EXPECT_EQ(out.rfind("Usage: helpview [--title TEXT] [--db FILE] FILE[#TARGET]\n", 0), 0u);
}

TEST(Helpview, NamesTheFileAsGivenAndPrintsNoControlBytes) {
  ScratchDir dir;
  const std::string missing = dir.File("none.html");  // in a folder that exists
  std::string out;
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--dump", missing}, {missing}}) {
    EXPECT_EQ(Helpview(args, "", &out), 1);
    EXPECT_EQ(out, "Error in reading HTML file " + missing + "\n");
  }
  const std::string page = dir.Write("p.html", "<html page=\"a\x1b[2Jb\"><body>x</body></html>");
  EXPECT_EQ(Helpview({"--dump", page}, "", &out), 0);
  EXPECT_EQ(out, "=== page 1: a?[2Jb\nx\n");
}

}  // namespace
