// Tests of the help navigation and the help menu: the items of a page,
// links to targets and files, Back and Contents with their history, the
// failure texts, and the help run through the menu engine.
#include "HelpTty.h"

#include <string>
#include <vector>

#include "TextMenu_testing.h"
#include "html_testing.h"

namespace {

class HelpMenuTest : public MenuTest, public HelpSources {
 protected:
  // A link of our own to target (ProcessLink cuts it, so it is kept here).
  HtmlLink* LinkTo(const std::string& target) {
    targets_.push_back(target);
    links_.push_back({.pTarget = targets_.back().data(), .Start = 0, .End = 0, .Width = 0, .Kind = kLinkHref});
    return &links_.back();
  }
  static std::vector<std::string> Titles() {
    std::vector<std::string> titles;
    for (int i = 0; HelpMenuItems[i].pTitle != nullptr; ++i) titles.push_back(HelpMenuItems[i].pTitle);
    return titles;
  }
  static const char* Shown() { return pCurrentPage != nullptr ? pCurrentPage->pImage : "(none)"; }

  ScratchDir dir_;

 private:
  std::deque<std::string> targets_;
  std::deque<HtmlLink> links_;
};

TEST_F(HelpMenuTest, APageGivesItsTextItsHrefLinksAndTheThreeCommands) {
  const std::string longText(200, 'L');
  Load("<html><body>Top <a href=\"#opts\">Options</a><a href=\"b.html\">B</a><a name=\"opts\"></a>"
       "<a href=\"c.html\">~e sneaky</a><a href=\"d.html\">" + longText + "</a></body></html>");
  TtyHelpBuildMenuItems();
  EXPECT_EQ(Titles(), (std::vector<std::string>{pCurrentPage->pImage, "Options", "B", " ~e sneaky",
                                                std::string(124, 'L') + "...", "", "", "~e Exit Help", "~c Contents",
                                                "~b Back"}));
  EXPECT_EQ(HelpMenuItems[0].Type, kItemText);
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(HelpMenuItems[i].Type, kItemAction);
    EXPECT_EQ(HelpMenuItems[i].Key, static_cast<unsigned>(i));
    EXPECT_EQ(HelpMenuItems[i].pfnAction, TtyHelpGotoLink);
  }
  EXPECT_EQ(HelpMenuItems[5].Type, kItemBar);
  EXPECT_EQ(HelpMenuItems[6].Value.Int, 3);
  EXPECT_EQ(HelpMenuItems[7].Type, kItemLeave);
  EXPECT_EQ(HelpMenu.pItems, HelpMenuItems);
  // A page with fewer links reuses the array.
  TtyMenuItem* items = HelpMenuItems;
  Load("<html><body>none</body></html>", "other.html");
  TtyHelpBuildMenuItems();
  EXPECT_EQ(HelpMenuItems, items);
  EXPECT_EQ(Titles().size(), 6u);
}

TEST_F(HelpMenuTest, TargetsRecordTheJumpAndBackAndContentsReturn) {
  const std::string b = dir_.Write("b.html",
                                   "<html page=\"first\"><body>B1</body></html>"
                                   "<html page=\"second\"><body>B2 <a name=\"part\"></a></body></html>");
  const std::string a = dir_.Write("a.html",
                                   "<html page=\"main\"><body>A1</body></html><html page=\"opts\"><body>A2</body></html>");
  ASSERT_EQ(HtmlHelp(a.c_str(), nullptr), 1);
  EXPECT_STREQ(Shown(), "A1\n");

  ProcessLink(LinkTo("#opts"));
  EXPECT_STREQ(Shown(), "A2\n");
  EXPECT_EQ(HistoryI, 1);
  EXPECT_EQ(HtmlSetHistory(-1), 1);
  EXPECT_STREQ(Shown(), "A1\n");
  EXPECT_EQ(HtmlSetHistory(-1), 0) << "nothing left to go back to";
  ProcessLink(LinkTo("#nowhere"));
  EXPECT_STREQ(Shown(), "A1\n");
  EXPECT_EQ(HistoryI, 0);

  // Another file loaded now is shown at its target, and that jump is recorded.
  ProcessLink(LinkTo("file://" + b + "#part"));
  EXPECT_STREQ(Shown(), "B2 \n");
  EXPECT_EQ(CurrentFile, 1);
  EXPECT_EQ(HistoryI, 1);
  EXPECT_EQ(TargetPos, 3);
  // A loaded file is shown at its first page whatever the target; no history.
  ProcessLink(LinkTo(b + "#part"));
  EXPECT_STREQ(Shown(), "B1\n");
  ProcessLink(LinkTo(a));
  EXPECT_EQ(CurrentFile, 0);
  EXPECT_EQ(HistoryI, 1);

  ProcessLink(LinkTo("#opts"));
  EXPECT_EQ(HtmlSetHistory(0), 1);
  EXPECT_STREQ(Shown(), "A1\n");
  EXPECT_EQ(HistoryI, 0);
  EXPECT_EQ(HtmlSetHistory(0), 0);
}

TEST_F(HelpMenuTest, TheHundredAndFirstJumpIsMadeButNotRecorded) {
  Load("<html page=\"p\"><body>P</body></html><html page=\"q\"><body>Q</body></html>");
  for (int i = 0; i <= kHtmlHistorySize; ++i) GoToTarget(i % 2 == 0 ? "q" : "#p");
  EXPECT_STREQ(Shown(), "Q\n") << "the last jump was made";
  EXPECT_EQ(HistoryI, kHtmlHistorySize);
  int backs = 0;
  while (HtmlSetHistory(-1) == 1) ++backs;
  EXPECT_EQ(backs, kHtmlHistorySize);
}

TEST_F(HelpMenuTest, WhatCannotBeLoadedIsSaidAndChangesNothing) {
  EXPECT_EQ(Run("", [] { EXPECT_EQ(HtmlHelp("/nonexistent/help.html", nullptr), 0); }),
            "Error in reading HTML file /nonexistent/help.html\n");
  char noPage[] = "<body>no page</body>";
  EXPECT_EQ(Run("", [&] { EXPECT_EQ(HtmlHelp("mem.html", noPage), 0); }), "Error reading HTML buffer\n");
  EXPECT_EQ(Run("", [] { TtyHtmlHelp(nullptr, nullptr, "Help"); }), "");
  EXPECT_EQ(Run("", [] { TtyHtmlHelp("x.html", nullptr, nullptr); }), "");

  Load("<html><body>stays</body></html>");
  for (const char* target : {"/nonexistent/x.html#a", "http://host/x.html"}) {
    HtmlLink* link = LinkTo(target);
    const std::string out = Run("", [&] { ProcessLink(link); });
    EXPECT_EQ(out, std::string("Error in reading file ") + link->pTarget + "\n");
    EXPECT_STREQ(Shown(), "stays\n");
  }
}

TEST_F(HelpMenuTest, ABrokenLinkIsSaidAmongTheItemsUntilTheNextChoice) {
  Load("<html><head><title>T\x1b[2J</title></head><body><a href=\"/nonexistent/\x1b[2J.html\">L&#27;</a>"
       "</body></html>");
  TtyHelpBuildMenuItems();
  EXPECT_EQ(TtyHelpGotoLink(&HelpMenu, &HelpMenuItems[1]), 0);
  const std::vector<std::string> titles = Titles();
  ASSERT_EQ(titles.size(), 8u);
  EXPECT_EQ(titles[1], "L?") << "no byte of a source controls the terminal";
  EXPECT_EQ(titles[2], "Error in reading file /nonexistent/?[2J.html");
  EXPECT_EQ(HelpMenuItems[2].Type, kItemText);
  EXPECT_EQ(std::string(pCurrentPage->pImage).find('\x1b'), std::string::npos);
  TtyHelpBack(&HelpMenu, nullptr);
  EXPECT_EQ(Titles().size(), 7u) << "the message goes with the next choice";
}

TEST_F(HelpMenuTest, AFullCacheIsSaidSo) {
  const std::string more = dir_.Write("more.html", "<html><body>more</body></html>");
  for (int i = 0; i < kHtmlMaxFiles; ++i) ASSERT_NE(Load("<html><body>x</body></html>", "f" + std::to_string(i)), nullptr);
  HtmlLink* link = LinkTo(more);
  EXPECT_EQ(FollowLink(link), "Cannot load file " + more + ": the help viewer holds 100 files, no more\n");
  EXPECT_EQ(Run("", [&] { EXPECT_EQ(HtmlHelp(more.c_str(), nullptr), 0); }),
            "Cannot load file " + more + ": the help viewer holds 100 files, no more\n");
}

TEST_F(HelpMenuTest, TheHelpKeyOfAMenuSaysWhenTheHelpFileIsMissing) {
  TtyMenuItem items[] = {{.pTitle = "~e Exit", .Type = kItemLeave}, {.pTitle = nullptr}};
  TtyMenu menu{.pTitle = "M", .TitleAlign = 1, .pItems = items, .Flags = kMenuEmptySelects | kMenuHelp};
  char name[] = "setup.hlp";
  pTtyHtmlName = name;
  pfnTtyHelp = TtyHtmlHelp;
  std::string out = Run("h\ne\n", [&] { RunMenu(&menu, nullptr, 1); });
  pfnTtyHelp = nullptr;
  pTtyHtmlName = nullptr;
  EXPECT_NE(out.find("Error in reading HTML file setup.hlp\n"), std::string::npos) << "no such file here: " << out;
  EXPECT_EQ(Count(out, "Enter a selection, h for help: "), 2);
}

TEST_F(HelpMenuTest, TheHelpKeyOfAMenuRunsTheHelpMenuUntilExitHelp) {
  const std::string file = dir_.Write("setup.hlp",
                                      "<html page=\"main\"><head><title>Setup</title></head><body>Main page"
                                      "<p><a href=\"#opts\">Options</a></body></html>"
                                      "<html page=\"opts\"><body>The options</body></html>");
  std::string name = file;
  pTtyHtmlName = name.data();
  pfnTtyHelp = TtyHtmlHelp;
  TtyMenuItem items[] = {{.pTitle = "~e Exit", .Type = kItemLeave}, {.pTitle = nullptr}};
  TtyMenu menu{.pTitle = "M", .TitleAlign = 1, .pItems = items, .Flags = kMenuEmptySelects | kMenuHelp};
  const std::string out = Run("h\n1\nb\ne\ne\n", [&] { RunMenu(&menu, nullptr, 1); });
  pfnTtyHelp = nullptr;
  pTtyHtmlName = nullptr;
  EXPECT_EQ(Count(out, "\f\n" + std::string(38, ' ') + "Help\n\n" + std::string(37, ' ') + "Setup\n\nMain page\n\n"), 2)
      << out;
  EXPECT_EQ(Count(out, " 1) Options \n"), 2);
  EXPECT_EQ(Count(out, "The options\n"), 1);
  EXPECT_EQ(Count(out, " e) Exit Help"), 3);
  EXPECT_EQ(Count(out, " c) Contents"), 3);
  EXPECT_EQ(Count(out, "Enter a selection, h for help: "), 2) << "the menu that asked, before and after";
}

}  // namespace
