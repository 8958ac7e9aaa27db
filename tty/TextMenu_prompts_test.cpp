#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "NlsUtils.h"
#include "TextMenu.h"
#include "test_support.h"

namespace {

// Runs a dialogue with standard input reading `input` and standard output
// going to a file; Output() is what it printed.
class TerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pDrvCoreDB = DbTOpen(DRVCORE_VDB, kDbNoCheck);
  }
  void TearDown() override {
    DbTClose(pDrvCoreDB);
    pDrvCoreDB = nullptr;
  }

  void Run(const std::string& input, const std::function<void()>& dialogue) {
    ASSERT_NE(std::freopen(dir.Write("in", input).c_str(), "r", stdin), nullptr);
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    int out = open(dir.File("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(out, 0);
    dup2(out, STDOUT_FILENO);
    close(out);
    dialogue();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    output_ = ReadWholeFile(dir.File("out"));
  }
  const std::string& Output() const { return output_; }
  // The rest of standard input after the dialogue.
  std::string Rest() {
    std::string rest;
    for (int c; (c = std::getchar()) != EOF;) rest.push_back(static_cast<char>(c));
    return rest;
  }

  ScratchDir dir;
  std::string output_;
};

const std::string kEnter = "\nPress Enter to continue...";

}  // namespace

// ---------------------------------------------------------------------------
// PromptYN

TEST_F(TerminalTest, PromptYNAnswersByFirstLowerCaseLetter) {
  struct Case {
    const char* input;
    int answer;
    int asked;
  } cases[] = {
      {"y\n", 1, 1},          {"yes please\n", 1, 1}, {"n\n", 0, 1},
      {"no\n", 0, 1},         {"maybe\nno\n", 0, 2},  {"Y\nN\ny\n", 1, 3},
      {"\n\nn\n", 0, 3},      {" y\nn\n", 0, 2},
  };
  for (const Case& c : cases) {
    int answer = -1;
    Run(c.input, [&] { answer = PromptYN("Use %s", "/opt"); });
    EXPECT_EQ(answer, c.answer) << c.input;
    std::string expected;
    for (int i = 0; i < c.asked; ++i) expected += "Use /opt? [y/n] ";
    EXPECT_EQ(Output(), expected) << c.input;
  }
}

TEST_F(TerminalTest, PromptYNTakesEndOfInputAsNo) {
  int answer = -1;
  Run("", [&] { answer = PromptYN("Continue"); });
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(Output(), "Continue? [y/n] \n");
  Run("maybe\nlater", [&] { answer = PromptYN("Continue"); });
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(Output(), "Continue? [y/n] Continue? [y/n] Continue? [y/n] \n");
}

// ---------------------------------------------------------------------------
// PostMsg

TEST_F(TerminalTest, PostMsgShowsMessageAndWaitsForALine) {
  char* line = nullptr;
  Run("typed\nnext\n", [&] { line = PostMsg("Copied %d files.", 3); });
  EXPECT_EQ(Output(), "Copied 3 files." + kEnter);
  EXPECT_EQ(line, LineBuf);
  EXPECT_STREQ(line, "typed");
  EXPECT_EQ(Rest(), "next\n");
}

TEST_F(TerminalTest, PostMsgReturnsNullAtEndOfInput) {
  char* line = LineBuf;
  Run("", [&] { line = PostMsg("Done."); });
  EXPECT_EQ(line, nullptr);
  EXPECT_EQ(Output(), "Done." + kEnter);
}

TEST_F(TerminalTest, WithoutDatabaseTheRequestIsTheErrorText) {
  DbTClose(pDrvCoreDB);
  pDrvCoreDB = nullptr;
  int result = -1;
  Run("\n", [&] { PostMsg("Done."); });
  EXPECT_EQ(Output(), "Done.Error");
  Run("", [&] { result = ValidateEntry("usr", kDirectoryPattern); });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(Output(), "ErrorError");
}

// ---------------------------------------------------------------------------
// ValidateEntry

namespace {

struct EntryCase {
  std::string value;
  const char* pattern;
  int result;
  std::string message;  // what is shown before the request to press Enter; empty: nothing
};

const std::string kDirTooLong = "This text length must be from 1 to 255 characters long.";

const EntryCase kEntryCases[] = {
    // The directory pattern.
    {"/usr/local", kDirectoryPattern, 0, ""},
    {"/opt/my-dir_2/x", kDirectoryPattern, 0, ""},
    {"usr", kDirectoryPattern, 3, "The character 'u' is not allowed here; expected / after \"\"."},
    {"/opt/my dir", kDirectoryPattern, 3,
     "The character ' ' is not allowed here; expected A-Z a-z 0-9 - _ / after \"/opt/my\"."},
    {"", kDirectoryPattern, 3, "The character ' ' is not allowed here; expected / after \"\"."},
    {"/" + std::string(254, 'a'), kDirectoryPattern, 0, ""},
    {"/" + std::string(255, 'a'), kDirectoryPattern, 2, kDirTooLong},
    // Integers.
    {"42", "d(1,10)", 1, "This number must be between 1 to 10."},
    {"7", "d(1,10)", 0, ""},
    {"10", "d(1,10)", 0, ""},
    {"0", "d(1,10)", 1, "This number must be between 1 to 10."},
    {"123456789012345678901234567890", "d(1,10)", 1, "This number must be between 1 to 10."},
    {"-5", "d(0,0)", 0, ""},
    {"99999", "d(0,0)", 0, ""},
    {"12:30", "d(0,23)d(0,59)", 0, ""},
    {"12:75", "d(0,23)d(0,59)", 1, "This number must be between 0 to 59."},
    {"ff", "x(0,255)", 0, ""},
    {"100", "x(0,255)", 1, "This number must be between 0 to ff."},
    // No number where one is due: refused whatever the range.
    {"abc", "d(1,10)", 1, "A number is needed here."},
    {"", "d(0,0)", 1, "A number is needed here."},
    {"zz", "x(1,16)", 1, "A number is needed here."},
    // Fractions.
    {"2.5", "f(0,5)", 0, ""},
    {"5", "f(0,5)", 0, ""},
    {"1.2.3", "f(0,5)", 1, "A number may hold only one decimal point."},
    {"1,5", "f(0,5)", 3, "The character ',' is not allowed in a number."},
    {"7.5", "f(0,5)", 1, "This number must be between 0.000000 to 5.000000."},
    {"7.5", "f(0,0)", 0, ""},
    {"0.25", "f(0.5,1.5)", 1, "This number must be between 0.500000 to 1.500000."},
    {".", "f(0,0)", 1, "A number is needed here."},
    // Text length; a t without '(' is a plain character, the other letters
    // are elements all the same.
    {"abc", "t(2,3)", 0, ""},
    {"abcd", "t(2,3)", 2, "This text length must be from 2 to 3 characters long."},
    {"a", "t(2,0)", 0, ""},
    {"tz", "tz", 0, ""},
    {"tz", "tZ", 3, "The character 'z' is not allowed here; expected Z after \"t\"."},
    {"42", "d[1,10]", 1, "This number must be between 1 to 10."},
    {"ab1", "a", 3, "The character '1' is not allowed here; only A-Z a-z may follow \"ab\"."},
    // Letters only.
    {"ab-c", "a(0,0)+-", 0, ""},
    {"abc1", "a(0,0)", 3, "The character '1' is not allowed here; only A-Z a-z may follow \"abc\"."},
    {"Ab", "a(3,5)", 2, "This text length must be from 3 to 5 characters long."},
    // Forbidden values.
    {"root", "!(root)", 4, "The value \"root\" is not allowed."},
    {"rooter", "!(root)", 0, ""},
    {"abc", "!(root)anything", 0, ""},
    // Literals, the bar, and the end of the pattern.
    {"Bc", "bc", 3, "The character 'B' is not allowed here; expected b after \"\"."},
    {"bc", "bc|de", 0, ""},
    {"/usr/extra", "/usr", 0, ""},
};

}  // namespace

TEST_F(TerminalTest, ValidateEntryElements) {
  for (const EntryCase& c : kEntryCases) {
    int result = -1;
    Run("", [&] { result = ValidateEntry(c.value.c_str(), c.pattern); });
    EXPECT_EQ(result, c.result) << c.pattern << " / " << c.value;
    EXPECT_EQ(Output(), c.message.empty() ? "" : c.message + kEnter) << c.pattern << " / " << c.value;
  }
}

TEST_F(TerminalTest, ValidateEntryWithoutPatternAcceptsAll) {
  int a = -1, b = -1;
  Run("", [&] {
    a = ValidateEntry("anything at all", nullptr);
    b = ValidateEntry("", "");
  });
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(Output(), "");
}

TEST_F(TerminalTest, ValidateEntryWaitsForEnterAfterAFault) {
  int result = -1;
  Run("\nleft over\n", [&] { result = ValidateEntry("42", "d(1,10)"); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Rest(), "left over\n");
}

TEST_F(TerminalTest, CollectedTextIsBoundedAt511Characters) {
  std::string value = std::string(600, 'a') + "!";
  int result = -1;
  Run("", [&] { result = ValidateEntry(value.c_str(), "A(0,0)"); });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(Output(), "The character '!' is not allowed here; expected A-Z a-z 0-9 after \"" +
                          std::string(511, 'a') + "\"." + kEnter);
}

TEST_F(TerminalTest, MalformedPatternsStayInBounds) {
  // Cut-off elements must neither read past the pattern nor crash.
  const char* patterns[] = {"d(", "d(1", "d(1,", "x(5", "f(", "f(1,", "t(", "A(1,", "A(0,0)+",
                            "!(", "!(abc", "d(99999999999,99999999999)", "(", "+"};
  for (const char* pattern : patterns) {
    int result = -1;
    Run("", [&] { result = ValidateEntry("12ab", pattern); });
    EXPECT_GE(result, 0) << pattern;
    EXPECT_LE(result, 4) << pattern;
  }
}
