#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "test_support.h"
#include "utils.h"

namespace {

TEST(GetToken, SkipsDelimiterRunsAndRemembersTheLastOne) {
  EXPECT_STREQ(GetToken("  a  b ", " "), "a");
  EXPECT_EQ(chTokenDel, ' ');
  EXPECT_STREQ(GetToken(nullptr, " "), "b");
  EXPECT_EQ(GetToken(nullptr, " "), nullptr);
}

TEST(GetToken, TranslatesEscapesAndNeverSplitsAtAnEscapedDelimiter) {
  EXPECT_STREQ(GetToken("a\\,b,c", ","), "a,b");
  EXPECT_STREQ(GetToken(nullptr, ","), "c");
  EXPECT_STREQ(GetToken("x\\ty", " \t\r\n"), "x\ty");
  EXPECT_STREQ(GetToken("\\n\\r\\\\", " "), "\n\r\\");
}

TEST(GetToken, OnlyDelimitersGiveNullWithTheDelimiterKept) {
  EXPECT_EQ(GetToken(",,,", ","), nullptr);
  EXPECT_EQ(chTokenDel, ',');
  EXPECT_EQ(GetToken("abc", ","), GetTokenBuf);
  EXPECT_EQ(chTokenDel, 0);
}

TEST(GetToken, TrailingBackslashEndsTheTextWithoutReadingPastIt) {
  // The byte after the terminator is a delimiter-free 'Z': a scan that read
  // past the NUL would return it.
  char text[] = {'a', 'b', '\\', '\0', 'Z', 'Z', '\0'};
  EXPECT_STREQ(GetToken(text, " "), "ab");
  EXPECT_EQ(GetToken(nullptr, " "), nullptr);
  EXPECT_EQ(szTokenIn, text + 3);
  char only[] = {'\\', '\0', 'Q', '\0'};
  EXPECT_EQ(GetToken(only, " "), nullptr);
}

TEST(GetToken, OverlongTokenIsCutAndTheScanStaysInStep) {
  std::string text(400, 'x');
  text += " next";
  char* token = GetToken(text.c_str(), " ");
  ASSERT_NE(token, nullptr);
  EXPECT_EQ(std::string(token), std::string(kTokenBufSize - 1, 'x'));
  EXPECT_STREQ(GetToken(nullptr, " "), "next");
}

TEST(GetToken, SavedScanCanBeResumed) {
  GetToken("one two three", " ");
  char* saved = szTokenIn;
  char savedDel = chTokenDel;
  EXPECT_STREQ(GetToken("x y", " "), "x");
  SetTokenBuf(saved);
  chTokenDel = savedDel;
  EXPECT_STREQ(GetToken(nullptr, " "), "two");
}

TEST(GetTokenN, CountsFromOne) {
  EXPECT_STREQ(GetTokenN("a b c", " ", 3), "c");
  EXPECT_EQ(GetTokenN("a b c", " ", 4), nullptr);
  EXPECT_STREQ(GetTokenN("a b c", " ", 0), "a");
  GetTokenN("a b c", " ", 2);
  EXPECT_STREQ(GetToken(nullptr, " "), "c");
}

TEST(GetTokenParse, CutsInPlace) {
  char text[] = "k1:k2";
  char* first = GetTokenParse(text, ":");
  EXPECT_EQ(first, text);
  EXPECT_STREQ(first, "k1");
  EXPECT_EQ(text[2], '\0');
  char* second = GetTokenParse(nullptr, ":");
  EXPECT_EQ(second, text + 3);
  EXPECT_STREQ(second, "k2");
  EXPECT_EQ(GetTokenParse(nullptr, ":"), nullptr);
}

TEST(GetTokenParse, LeavesEscapesInTheTextAndSkipsLeadingDelimiters) {
  char text[] = "::a\\:b:c";
  EXPECT_STREQ(GetTokenParse(text, ":"), "a\\:b");
  EXPECT_EQ(chTokenDel, ':');
  EXPECT_STREQ(GetTokenParse(nullptr, ":"), "c");
  char trailing[] = {'x', '\\', '\0', 'Z', '\0'};
  EXPECT_STREQ(GetTokenParse(trailing, " "), "x");
  EXPECT_EQ(GetTokenParse(nullptr, " "), nullptr);
}

struct FindCase {
  const char* word;
  const char* list;
  unsigned exact;
  unsigned caseless;
};

TEST(FindToken, KeywordLists) {
  const FindCase cases[] = {
      {"no", ",y,yes,n,no,", 4, 4},
      {"NO", ",y,yes,n,no,", 0, 4},
      {"y", ",y,yes,n,no,", 1, 1},
      {"ye", ",y,yes,n,no,", 0, 0},
      {"pr_BR", ",en_US,es_ES,it_IT,fr_FR,ge_GE,pr_BR", 6, 6},
      {"es", ",en_US,es_ES,it_IT,fr_FR,ge_GE,pr_BR", 0, 0},
      {"PR_BR", ",en_US,es_ES,it_IT,fr_FR,ge_GE,pr_BR", 0, 6},
      {"#", ",dir,dirto,t,c,m,#,v,s,newdir,checkps", 6, 6},
      {"checkps", ",dir,dirto,t,c,m,#,v,s,newdir,checkps", 10, 10},
      {"-v", ",manual,install,menu,-v,no_space_check", 4, 4},
      {"-V", ",manual,install,menu,-v,no_space_check", 0, 4},
      {"", ",a,,b,", 2, 2},
      {"", " . .. x ", 4, 4},  // at the separator that ends the list
      {"x", " . .. x ", 3, 3},
      {"", ",a,b", 0, 0},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindToken(c.word, c.list), c.exact) << c.word << " in " << c.list;
    EXPECT_EQ(FindTokenC(c.word, c.list), c.caseless) << c.word << " in " << c.list;
  }
  EXPECT_EQ(FindToken(nullptr, ",a,"), 0u);
  EXPECT_EQ(FindToken("a", nullptr), 0u);
  EXPECT_EQ(FindTokenC(nullptr, ",a,"), 0u);
  EXPECT_EQ(FindToken("a", ""), 0u);
}

TEST(FindToken, OverlongWordIsNeverFoundAndNeverOverflows) {
  std::string word(2000, 'w');
  std::string list = "," + word + ",";
  EXPECT_EQ(FindToken(word.c_str(), list.c_str()), 0u);
  EXPECT_EQ(FindTokenC(word.c_str(), list.c_str()), 0u);
  std::string fits(500, 'w');
  std::string list2 = ",a," + fits + ",";
  EXPECT_EQ(FindToken(fits.c_str(), list2.c_str()), 2u);
}

TEST(StripPath, LastComponent) {
  EXPECT_STREQ(StripPath("a/b/c"), "c");
  EXPECT_STREQ(StripPath("a/b/"), "b");
  EXPECT_STREQ(StripPath("abc"), "abc");
  EXPECT_STREQ(StripPath("//"), "//");
  EXPECT_STREQ(StripPath(""), "");
  EXPECT_STREQ(StripPath(nullptr), "");
  EXPECT_STREQ(StripPath("/usr//bin//"), "bin");
  std::string longName = "/d/" + std::string(300, 'n');
  EXPECT_EQ(std::string(StripPath(longName.c_str())), std::string(kStripPathSize - 1, 'n'));
}

TEST(StripFn, DirectoryPart) {
  EXPECT_STREQ(StripFn("/usr/bin/tool"), "/usr/bin");
  EXPECT_STREQ(StripFn("/tool"), "/");
  EXPECT_STREQ(StripFn("tool"), ".");
  EXPECT_STREQ(StripFn(""), ".");
  EXPECT_STREQ(StripFn(nullptr), ".");
  EXPECT_STREQ(StripFn("dir/"), "dir");
  EXPECT_STREQ(StripFn("a//b"), "a/");
  // A directory that does not fit is given as no directory, never cut into
  // another one.
  std::string deep = "/" + std::string(300, 'd') + "/file";
  EXPECT_STREQ(StripFn(deep.c_str()), "");
}

TEST(StrStr, SearchesExactlyAndIgnoringCase) {
  const char* text = "abcabc";
  EXPECT_EQ(StrStr(text, "ca"), text + 2);
  EXPECT_EQ(StrStr("abc", ""), nullptr);
  EXPECT_EQ(StrStr(nullptr, "a"), nullptr);
  EXPECT_EQ(StrStr("abc", nullptr), nullptr);
  EXPECT_EQ(StrStr("abc", "abcd"), nullptr);
  const char* header = "Content-TYPE";
  EXPECT_EQ(StrCaseStr(header, "type"), header + 8);
  EXPECT_EQ(StrCaseStr(header, ""), nullptr);
  EXPECT_EQ(StrCaseStr("ab", "abc"), nullptr);
  EXPECT_EQ(StrLen("four"), 4);
  EXPECT_EQ(StrLen(nullptr), 0);
}

TEST(Gets, ReadsLinesAndReportsEndOfInput) {
  StdinFrom in("first\n\nabcdefgh\nlast");
  char buf[5];
  EXPECT_STREQ(Gets(buf, sizeof buf), "firs");
  EXPECT_STREQ(Gets(buf, sizeof buf), "t");
  EXPECT_STREQ(Gets(buf, sizeof buf), "");
  EXPECT_STREQ(Gets(buf, sizeof buf), "abcd");
  EXPECT_STREQ(Gets(buf, sizeof buf), "efgh");
  EXPECT_STREQ(Gets(buf, sizeof buf), "");
  EXPECT_STREQ(Gets(buf, sizeof buf), "last");
  EXPECT_EQ(Gets(buf, sizeof buf), nullptr);
  EXPECT_EQ(Gets(buf, 1), nullptr);
}

}  // namespace
