// Tests of the HTML scanner and the file cache: elements, compaction,
// character references, sections and pages, links, refusals.
#include <strings.h>

#include <string>
#include <vector>

#include "html_testing.h"

namespace {

// The elements of a list as "<tag attributes>" and text runs as they are.
std::vector<std::string> Elements(const List& list) {
  std::vector<std::string> out;
  for (ListNode* node = list.pFirst; node != nullptr; node = node->pNext) {
    const auto* e = static_cast<const HtmlElement*>(node->pItem);
    if (e->pTag == nullptr) {
      out.push_back(static_cast<const char*>(e->pData));
    } else if (strcasecmp(e->pTag, "a") == 0) {
      out.push_back(std::string("<") + e->pTag + ">");
    } else {
      const std::string attributes = static_cast<const char*>(e->pData);
      out.push_back(std::string("<") + e->pTag + (attributes.empty() ? "" : " " + attributes) + ">");
    }
  }
  return out;
}

using Parse = HelpTest;

TEST_F(Parse, WhiteSpaceBetweenElementsVanishesAndRunsShrinkItToItsFirstCharacter) {
  HtmlFile* file = Load("<html><body><p>  a\n   b </p><td width=\"5\">x</body></html>");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Elements(pCurrentPage->Body), (std::vector<std::string>{"<p>", "a\nb ", "</p>", "<td width=\"5\">", "x"}));
}

struct RefCase {
  const char* body;
  const char* run;  // the one text run it gives
};

class CharacterReferences : public Parse, public testing::WithParamInterface<RefCase> {};

TEST_P(CharacterReferences, GiveTheirByteOrStayText) {
  Load(std::string("<html><body>") + GetParam().body + "</body></html>");
  ASSERT_NE(pCurrentPage, nullptr);
  const std::vector<std::string> elements = Elements(pCurrentPage->Body);
  ASSERT_EQ(elements.size(), 1u) << GetParam().body;
  EXPECT_EQ(elements[0], GetParam().run) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CharacterReferences,
    testing::Values(RefCase{"&copy; 2000", "\xA9 2000"}, RefCase{"&nbsp;&eacute;&yuml;", "\xA0\xE9\xFF"},
                    RefCase{"&#65;", "A"}, RefCase{"x&#x41;B&#XE9;", "xAB\xE9"}, RefCase{"x&#300;&#0;&#;", "x??&#;"},
                    RefCase{"&amp; &lt;b&gt;", "& <b>"}, RefCase{"x&AGRAVE;&LT;", "x&AGRAVE;&LT;"},
                    RefCase{"&QUOT;a&quot;", "\"a\""}, RefCase{"a&verylongname;b", "a&verylongname;b"},
                    RefCase{"&copy 2000", "&copy 2000"},
                    // Nothing that would make the terminal act reaches it as it is.
                    RefCase{"&#27;[2J", "?[2J"}, RefCase{"a\x1b[2J\x07", "a?[2J?"}, RefCase{"&#155;\x7f\x9b\x9f", "????"},
                    RefCase{"a\tb\nc", "a\tb\nc"}, RefCase{"a\r\n b\rc", "a\nb?c"}));

TEST_F(Parse, SectionsOpenPagesByNameAndBareOnesContinueTheCurrentPage) {
  HtmlFile* file = Load(
      "<body>before any page</body>"
      "<html page=\"a\"><head><title>T</title></head><head><title>U</title></head><body>A</body></html>"
      "<html><body>B</body></html>"
      "<html SkipPage><body>skipped</body></html>"
      "<HTML PAGE=\"b\"><body>C</body></html>");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(file->Pages.Count, 2);
  EXPECT_STREQ(Page(file, 0)->pPageName, "a");
  EXPECT_EQ(Elements(Page(file, 0)->Head), (std::vector<std::string>{"<title>", "T", "</title>"}));
  EXPECT_EQ(Elements(Page(file, 0)->Body), (std::vector<std::string>{"A", "B"}));
  EXPECT_STREQ(Page(file, 1)->pPageName, "b");
  EXPECT_EQ(Elements(Page(file, 1)->Body), (std::vector<std::string>{"C"}));
  EXPECT_EQ(pCurrentPage, Page(file, 0));
}

TEST_F(Parse, ASkipPageWithoutClosingTagSkipsNothing) {
  HtmlFile* file = Load("<html page=\"a\"><body>A</body><html SkipPage><body>S</body>");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(Elements(Page(file, 0)->Body), (std::vector<std::string>{"A", "S"}));
}

TEST_F(Parse, LinksTakeTheLastNameOrHref) {
  HtmlFile* file = Load(
      "<html><body><a name=\"top\" href=\"x.html\"></a><A NAME=here></a><a href=\"#o\" title=x></a>"
      "<a></a></body></html>");
  ASSERT_NE(file, nullptr);
  std::vector<HtmlLink*> links;
  for (ListNode* node = pCurrentPage->Body.pFirst; node != nullptr; node = node->pNext) {
    auto* e = static_cast<HtmlElement*>(node->pItem);
    if (strcasecmp(e->pTag, "a") == 0) links.push_back(static_cast<HtmlLink*>(e->pData));
  }
  ASSERT_EQ(links.size(), 4u);
  EXPECT_STREQ(links[0]->pTarget, "x.html");
  EXPECT_EQ(links[0]->Kind, kLinkHref);
  EXPECT_STREQ(links[1]->pTarget, "here");
  EXPECT_EQ(links[1]->Kind, kLinkAnchor);
  EXPECT_STREQ(links[2]->pTarget, "#o");
  EXPECT_EQ(links[3]->pTarget, nullptr);
  EXPECT_EQ(links[3]->Kind, kLinkNone);
}

TEST_F(Parse, UnloadableSourcesGiveNullAndLeaveThePageShown) {
  ASSERT_NE(Load("<html><body>shown</body></html>", "shown.html"), nullptr);
  HtmlPage* shown = pCurrentPage;
  EXPECT_EQ(Load("<html><body>x</body></html>", "http://host/x.html"), nullptr);
  EXPECT_EQ(Load("<HTM><body>no page</body>", "nopage.html"), nullptr);
  EXPECT_EQ(Load("", "empty.html"), nullptr);
  char missing[] = "/nonexistent/help.html";
  EXPECT_EQ(ParseHtmlFile(missing, nullptr), nullptr);
  EXPECT_EQ(FileIndex, 1);
  EXPECT_EQ(CurrentFile, 0);
  EXPECT_EQ(pCurrentPage, shown);
}

TEST_F(Parse, ACachedFileIsFoundByItsNameAndNotReadAgain) {
  HtmlFile* first = Load("<html><body>one</body></html>", "file://guide.html");
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->pFileName, "guide.html");
  EXPECT_EQ(Load("<html><body>two</body></html>", "guide.html#x"), first);
  EXPECT_STREQ(pCurrentPage->pImage, "one\n");
  EXPECT_EQ(FileIndex, 1);
  EXPECT_EQ(FindHtmlFile("Guide.html"), nullptr) << "names are case-sensitive";
}

TEST_F(Parse, TheHundredAndFirstFileIsRefused) {
  for (int i = 0; i < kHtmlMaxFiles; ++i)
    ASSERT_NE(Load("<html><body>x</body></html>", "f" + std::to_string(i)), nullptr) << i;
  EXPECT_EQ(Load("<html><body>x</body></html>", "one.more"), nullptr);
  EXPECT_EQ(FileIndex, kHtmlMaxFiles);
  EXPECT_NE(Load("<html><body>y</body></html>", "f7"), nullptr) << "cached files are still found";
  EXPECT_EQ(CurrentFile, 7);
}

TEST_F(Parse, SourcesThatEndEarlyEndTheScanAtTheirEnd) {
  // Each source is followed by a NUL and text that a scan running past the
  // end would take in.
  for (const char* cut : {"<html><body>abc<b", "<html><body>abc &#12", "<html><body><a href=\"x",
                          "<html><body>abc", "<html page=\"a", "<html><head><title>T", "<html><body>&",
                          "<html SkipPage><body>x</HTML"}) {
    std::string source = std::string(cut) + '\0' + "ZZ<html><body>ZZ</body></html>";
    HtmlFile* file = Load(source, cut);
    if (file == nullptr) continue;
    for (ListNode* node = file->Pages.pFirst; node != nullptr; node = node->pNext)
      EXPECT_EQ(std::string(static_cast<HtmlPage*>(node->pItem)->pImage).find('Z'), std::string::npos) << cut;
  }
}

}  // namespace
