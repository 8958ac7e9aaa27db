// Tests of the text layout: titles, paragraphs, lists, links, ruled tables,
// the grid running on into further rows, and hostile sources that must
// still end in a defined layout.
#include <algorithm>
#include <string>

#include "html_testing.h"

namespace {

using Layout = HelpTest;

struct LayoutCase {
  std::string body;
  std::string text;  // the page text
};

class Laid : public Layout, public testing::WithParamInterface<LayoutCase> {};

TEST_P(Laid, Out) { EXPECT_EQ(Body(GetParam().body), GetParam().text) << GetParam().body; }

INSTANTIATE_TEST_SUITE_P(
    Text, Laid,
    testing::Values(LayoutCase{"a<p>b</p>c", "a\n\nb\nc\n"}, LayoutCase{"a<br>b<h2>T</h2>c<div>d</div>e", "a\nb\nT\n\nc\nd\n\ne\n"},
                    LayoutCase{"<ol><li>One<li>Two</ol>x", "\n   1. One\n   2. Two\nx\n"},
                    LayoutCase{"<li>x<li>y", "xy\n"}, LayoutCase{"<b>bold</b> <font size=2>f</font><img src=x>", "boldf\n"},
                    LayoutCase{"<a href=\"x.html\">Next</a> <a name=\"here\"></a>!", "<Next>!\n"},
                    LayoutCase{"<unknown>a</unknown>b", "ab\n"}));

INSTANTIATE_TEST_SUITE_P(
    Tables, Laid,
    testing::Values(
        LayoutCase{"<table border><tr><td>ab</td><td>c</td></tr></table>", ",--+-,\n|ab|c|\n'--+-'\n"},
        LayoutCase{"<table border=0 cellpadding=14><tr><td>ab</td></tr><tr><td>c</td></tr></table>",
                   ",------,\n|  ab  |\n|------|\n|  c   |\n'------'\n"},
        LayoutCase{"<table><tr><td>ab</td><td>c</td></tr></table>x", "      \n ab c \n      \nx\n"},
        LayoutCase{"<table border width=\"50%\"><tr><td>ab</td></tr></table>", ",--,\n|ab|\n'--'\n"},
        // 70 pixels less 3 of rules: 9 columns in all; 40% of them less the rule gives the first cell 2.
        LayoutCase{"<table border width=70><tr><td width=\"40%\">a</td><td>b</td></tr></table>",
                   ",--+----,\n|a |b   |\n'--+----'\n"},
        // Two runs of one cell are two lines high but written on one line.
        LayoutCase{"<table border><tr><td>a<b>b</b></td></tr></table>", ",-,\n|ab\n| |\n'-'\n"},
        LayoutCase{"<table border><tr><td>x<table border><tr><td>yz</td></tr></table></td></tr></table>",
                   ",----,\n|x   |\n|,--,|\n||yz||\n|'--'|\n'----'\n"},
        // What the parser shows as '?' keeps the widths right.
        LayoutCase{"<table border><tr><td>&#27;x</td></tr></table>", ",--,\n|?x|\n'--'\n"}));

// Sources whose layout is not obvious: each ends in a defined page.
INSTANTIATE_TEST_SUITE_P(
    Hostile, Laid,
    testing::Values(
        LayoutCase{"a</table>b", "ab\n"}, LayoutCase{"<fitab border>a</fitab>b", "ab\n"},
        LayoutCase{"<tr><td>a</td></tr>b", "ab\n"},
        // A width too small for the contents, or negative, gives way to them.
        LayoutCase{"<table border width=1 cellspacing=9><tr><td>ab</td></tr></table>", ",--,\n|ab|\n'--'\n"},
        // A table before the first cell of a row counts as the first cell's
        // (whose own text then starts on the row's first line again).
        LayoutCase{"<table border><tr><table border><tr><td>n</td></tr></table><td>a</td></tr></table>",
                   ",---,\n|a-,|\n||n||\n|'-'|\n|   |\n'---'\n"},
        // A second "/a" does not list the link again.
        LayoutCase{"<a href=x>L</a></a>", "<L>\n"}));

// Help written as HTML is written in practice: no text is lost or
// overwritten, and references show their characters.
const std::string kLong = std::string(50, 'x') + "<b>" + std::string(50, 'y') + "</b>" + std::string(50, 'z');
INSTANTIATE_TEST_SUITE_P(
    AsWritten, Laid,
    testing::Values(
        LayoutCase{"This is a\r\nhelp text", "This is a\nhelp text\n"},
        // A line that ran past the grid's width holds the row below it too.
        LayoutCase{"<ol><li>" + kLong + "<li>second item</ol>",
                   "\n   1. " + std::string(50, 'x') + std::string(50, 'y') + std::string(50, 'z') + "\n   2. second item\n"},
        LayoutCase{"Hello <table border><tr><td>ab</td></tr></table>after", "Hello \n,--,\n|ab|\n'--'\nafter\n"},
        LayoutCase{"<table border><tr><td>a<td>b<tr><td>c<td>d</table>", ",-+-,\n|a|b|\n|-+-|\n|c|d|\n'-+-'\n"},
        LayoutCase{"<table border><tr><td>a<td>b</tr></table>", ",-+-,\n|a|b|\n'-+-'\n"},
        LayoutCase{"<ol><li>A<ol><li>a<li>b</ol><li>B</ol>", "\n   1. A\n   1. a\n   2. b\n\n   2. B\n"},
        LayoutCase{"a&#12 b<br>c", "a&#12 b\nc\n"},
        LayoutCase{"Vec&lt;T&gt; &amp; &#x41;&#xE9;, &#0;&#7;&#300;.", "Vec<T> & A\xE9, ???.\n"}));

TEST_F(Layout, APageWithDosLineEndsLaysOutAsWithUnixOnes) {
  const std::string page =
      "<html page=\"p\">\n<head><title>T</title></head>\n<body>\n<p>one\ntwo</p>\n<ol>\n<li>a\n<li>b\n</ol>\n"
      "<table border>\n<tr><td>c\n</td></tr>\n</table>\n</body>\n</html>\n";
  std::string dos;
  for (char c : page) dos += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(Text(dos), Text(page));
}

TEST_F(Layout, ALongPageKeepsItsEnd) {
  std::string body;
  for (int i = 0; i < 7000; ++i) body += "<p>Paragraph " + std::to_string(i) + "</p>";
  const std::string text = Body(body);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 * 7000);
  EXPECT_EQ(text.substr(text.size() - 16), "\nParagraph 6999\n");
}

TEST_F(Layout, TheTitleIsCentredAndTheBodyStartsTwoRowsBelow) {
  EXPECT_EQ(Text("<html><head><title>Hello</title></head><body>x</body></html>"), std::string(37, ' ') + "Hello\n\nx\n");
  EXPECT_EQ(Text("<html><head><title>" + std::string(90, 'T') + "</title></head></html>"), std::string(90, 'T') + "\n\n");
  EXPECT_EQ(Text("<html></html>"), "") << "a page without elements has an empty text";
}

TEST_F(Layout, ALongRunContinuesIntoTheRowsBelowAsOneLine) {
  const std::string run(200, 'x');
  EXPECT_EQ(Body("ABCDEFGHIJ<b>" + run + "</b>Z<br>next"), "ABCDEFGHIJ" + run + "Z\nnext\n")
      << "the run ends at row 1, column 78";
  const std::string huge(5000, 'y');  // far more rows than the page has elements
  EXPECT_EQ(Body(huge + "<br>" + huge), huge + "\n" + huge + "\n");
}

TEST_F(Layout, ATableWiderThanTheGridRunsIntoTheRowsBelowItsLines) {
  // Each of its lines starts a grid row below the one before and overwrites
  // what the line before ran into there; the cell's text, written last,
  // runs into the bottom rule. The three lines become one of 406 characters.
  const std::string text = Body("<table border><tr><td>" + std::string(140, 'x') + "</td></tr></table>");
  EXPECT_EQ(text, "," + std::string(131, '-') + "|" + std::string(140, 'x') + std::string(132, '-') + "'\n");
}

TEST_F(Layout, LinksCoverTheirBracketsAndTextInThePageText) {
  const std::string before(140, 'x');  // the link starts on a row that continues the first
  HtmlFile* file = Load("<html><body><a href=\"x.html\">Next</a><br>" + before +
                        "<a href=\"#far\">Far</a><a name=\"far\"></a></body></html>");
  ASSERT_NE(file, nullptr);
  const std::string text = pCurrentPage->pImage;
  const auto links = Links(pCurrentPage);
  ASSERT_EQ(links.size(), 3u);
  EXPECT_EQ(links[0]->Width, 6);
  EXPECT_EQ(text.substr(links[0]->Start, links[0]->End - links[0]->Start), "<Next>");
  EXPECT_EQ(text.substr(links[1]->Start, links[1]->End - links[1]->Start), "<Far>");
  EXPECT_EQ(links[1]->Start, 7 + 140);
  EXPECT_EQ(links[2]->Width, 0);
  EXPECT_EQ(links[2]->Start, links[1]->End);
}

std::string Repeat(const std::string& part, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += part;
  return s;
}

TEST_F(Layout, TablesBeyondTheLimitsAreNotDrawnAndTheirTextStays) {
  const std::string rows = Body("<table border>" + Repeat("<tr><td>r</td></tr>", kHtmlTableMax + 1) + "</table>");
  EXPECT_EQ(rows, std::string(kHtmlTableMax + 1, 'r') + "\n");
  const std::string cols = Body("<table border><tr>" + Repeat("<td>c</td>", kHtmlTableMax + 1) + "</tr></table>");
  EXPECT_EQ(cols, std::string(kHtmlTableMax + 1, 'c') + "\n");
  const std::string most = Body("<table border><tr>" + Repeat("<td>c</td>", kHtmlTableMax) + "</tr></table>");
  EXPECT_EQ(most.substr(0, 6), ",-+-+-") << "a table of 1000 columns is drawn";
  const std::string deep = Body(Repeat("<table border><tr><td>", 40) + "d" + Repeat("</td></tr></table>", 40));
  EXPECT_NE(deep.find('d'), std::string::npos);
}

TEST_F(Layout, HugeSizesStayWithinTheGrid) {
  const std::string wide = Body("<table border width=99999999 cellpadding=99999999><tr><td>w</td></tr></table>x");
  EXPECT_NE(wide.find('x'), std::string::npos);
  EXPECT_EQ(Body(Repeat("<br>", kHtmlMaxGridRows - 1) + "last"), Repeat("\n", kHtmlMaxGridRows - 1) + "last\n");
  HtmlFile* file = Load("<html><body><a href=x>L</a>" + Repeat("<br>", kHtmlMaxGridRows) + "<br>x</body></html>");
  ASSERT_NE(file, nullptr);
  EXPECT_STREQ(pCurrentPage->pImage, "This page cannot be shown: its layout is longer than 262144 lines.\n")
      << "a page the grid cannot hold is refused, not cut";
  EXPECT_EQ(Links(pCurrentPage).at(0)->Width, 0);
}

}  // namespace
