// The help viewer in a terminal: helpview following links between pages
// and files, saying where a link leads to no file, Back, Contents and Exit
// Help; and the help of a medium opened from the main menu of setup, which
// then goes on as before.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sandbox.h"
#include "terminal.h"
#include "test_support.h"

namespace {

// A page that fills more than the screen, so that each menu printed hides
// the one before; its last line is "End of <name>".
std::string TallPage(const std::string& name, const std::string& links) {
  std::string body = "<p>Page " + name + "</p>" + links;
  for (int i = 0; i < 16; ++i) body += "<br>";
  return "<html page=\"" + name + "\"><body>" + body + "End of " + name + "</body></html>";
}

bool HasLine(const std::vector<std::string>& screen, const std::string& line) {
  for (const std::string& l : screen)
    if (l == line) return true;
  return false;
}

TEST(HelpScenario, TerminalHelpviewFollowsLinksGoesBackAndLeaves) {
  SETUP_REQUIRE_SANDBOX();
  ScratchDir files;
  const std::string a = files.Write(
      "a.html", TallPage("main", "<a href=\"#opts\">Options</a><a href=\"gone.html\">Gone</a>") +
                    TallPage("opts", "<a href=\"b.html\">Other file</a>"));
  const std::string b = files.Write("b.html", TallPage("other", "<a href=\"a.html#opts\">Options again</a>"));
  SandboxOptions o;
  o.copies = {{HELP_VIEWER, "/media/helpview"},
              {DRVCORE_VDB, "/media/db/drvcore.vdb"},
              {a, "/media/help/a.html"},
              {b, "/media/help/b.html"}};
  const SandboxResult r = RunTmux("help-helpview", o, "cd /media && ./helpview --title Guide help/a.html",
                                  {{"", "End of main", "main"},
                                   {"2 Enter", "Error in reading file", "broken"},
                                   {"1 Enter", "End of opts", "opts"},
                                   {"b Enter", "End of main", "back"},
                                   {"1 Enter", "End of opts", "opts2"},
                                   {"1 Enter", "End of other", "other"},
                                   {"c Enter", "End of main", "contents"},
                                   {"e Enter", "EXIT=", "end"}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> main = Screen(r.out, "main");
  ASSERT_EQ(main.size(), 24u) << r.out;
  EXPECT_TRUE(HasLine(main, " 1) Options")) << r.out;
  EXPECT_TRUE(HasLine(main, " e) Exit Help             c) Contents              b) Back")) << r.out;
  EXPECT_EQ(main[23], "Enter a selection:");
  // A link that cannot be followed says so just above the commands, on
  // the screen drawn again after it, until the next choice.
  const std::vector<std::string> broken = Screen(r.out, "broken");
  ASSERT_EQ(broken.size(), 24u) << r.out;
  EXPECT_EQ(broken[19], "Error in reading file gone.html") << r.out;
  EXPECT_EQ(broken[21], " e) Exit Help             c) Contents              b) Back");
  EXPECT_EQ(broken[23], "Enter a selection:");
  EXPECT_TRUE(HasLine(broken, "End of main"));
  EXPECT_TRUE(HasLine(Screen(r.out, "opts"), " 1) Other file"));
  EXPECT_FALSE(HasLine(Screen(r.out, "opts"), "Error in reading file gone.html"));
  EXPECT_TRUE(HasLine(Screen(r.out, "other"), " 1) Options again"));
  EXPECT_TRUE(HasLine(Screen(r.out, "contents"), " 1) Options"));
  const std::vector<std::string> end = Screen(r.out, "end");
  EXPECT_TRUE(HasLine(end, "EXIT=0")) << r.out;
}

TEST(HelpScenario, TerminalTheMainMenuOpensTheMediumsHelpAndComesBack) {
  SETUP_REQUIRE_SANDBOX();
  ScratchDir scratch;
  const std::string medium = scratch.File("medium");
  const std::string made = std::string("'") + MKMEDIUM_PROGRAM + "' -o '" + medium + "' -p '" + SetupProgramPath() +
                           "' --help-file '" + HELP_SAMPLE + "' '" + SAMPLE_PRODUCT_DIR + "' >/dev/null";
  ASSERT_EQ(std::system(made.c_str()), 0) << made;
  SandboxOptions o;
  o.medium = medium;
  // Under a UTF-8 locale, as a terminal of today runs.
  const SandboxResult r = RunTmux("help-setup-menu", o, "cd /media && LANG=C.UTF-8 ./setup menu",
                                  {{"", "h for help:$", "menu"},
                                   {"h Enter", "Exit Help", "help"},
                                   {"4 Enter", "When something goes wrong$", "trouble"},
                                   {"e Enter", "h for help:$", "back"},
                                   {"e Enter", "EXIT=", "end"}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const std::vector<std::string> menu = Screen(r.out, "menu");
  ASSERT_EQ(menu.size(), 24u) << r.out;
  EXPECT_EQ(menu[15], "Enter a selection, h for help:") << r.out;
  const std::vector<std::string> help = Screen(r.out, "help");
  EXPECT_TRUE(HasLine(help, "   4. <When something goes wrong>")) << r.out;
  EXPECT_TRUE(HasLine(help, " 4) When something goes wrong")) << r.out;
  bool letters = false;
  for (const std::string& line : help) letters = letters || line.find("Copyright © 2000-2026 Vexla. Written for the café and") != std::string::npos;
  EXPECT_TRUE(letters) << "the help's ISO 8859-1 letters arrive as UTF-8\n" << r.out;
  EXPECT_TRUE(HasLine(Screen(r.out, "back"), " 1) Install Driver and Utilities")) << r.out;
  EXPECT_TRUE(HasLine(Screen(r.out, "end"), "EXIT=0")) << r.out;
  EXPECT_FALSE(r.Changed("/tmp/VexlaInstall")) << "the work directory and its copy of setup.hlp are removed";
}

}  // namespace
