// Menu mode with the real program in the sandbox: the main menu from a site
// medium, its three actions and the ways out, and terminal tests that drive
// setup and the state chooser through tmux and read the screen.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "sandbox.h"
#include "terminal.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const char kTitleLine[] = "                       Install Print Driver and Utilities\n\n";
const char kMenuItems[] =
    " 1) Install Driver and Utilities \n\n"
    " 2) Create an installation site. \n\n"
    " 3) Create installation diskettes. \n\n"
    " e) Exit \n\n"
    " \n\n"
    "\nEnter a selection: ";

unsigned Mode(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// The sample product's site medium, made once with mkmedium (the string
// database comes from beside the built program).
class MenuScenario : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = new ScratchDir;
    medium_ = scratch_->File("medium");
    std::string cmd = std::string("'") + MKMEDIUM_PROGRAM + "' -o '" + medium_ + "' -p '" + SetupProgramPath() + "' '" +
                      SAMPLE_PRODUCT_DIR + "' >/dev/null";
    mediumMade_ = std::system(cmd.c_str()) == 0;
    diskettes_ = scratch_->File("diskettes");
    cmd = std::string("'") + MKMEDIUM_PROGRAM + "' --diskette -o '" + diskettes_ + "' -p '" + SetupProgramPath() + "' '" +
          SAMPLE_PRODUCT_DIR + "' >/dev/null";
    mediumMade_ = mediumMade_ && std::system(cmd.c_str()) == 0;
  }
  static void TearDownTestSuite() {
    delete scratch_;
    scratch_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(mediumMade_) << "mkmedium could not make the sample medium";
    ASSERT_TRUE(fs::is_regular_file(medium_ + "/db/drvcore.vdb")) << "the medium lacks its string database";
  }

  static SandboxOptions FromMedium(const std::string& input, std::vector<std::string> setup = {}) {
    SandboxOptions o;
    o.medium = medium_;
    o.input = input;
    o.setup = std::move(setup);
    o.timeoutSeconds = 120;
    return o;
  }
  static SandboxResult Menu(const std::string& name, const std::string& input, std::vector<std::string> words = {},
                            std::vector<std::string> setup = {}) {
    std::vector<std::string> command = {"./setup", "menu"};
    command.insert(command.end(), words.begin(), words.end());
    return RunInSandbox(name, FromMedium(input, std::move(setup)), command);
  }
  static bool Installed(const SandboxResult& r, const std::string& dir) {
    return fs::is_regular_file(r.Upper(dir + "/Vexla/vpxx/vpqadmin")) && fs::is_regular_file(r.Upper(dir + "/Vexla/vpxx/.vp_cfg"));
  }

  static ScratchDir* scratch_;
  static std::string medium_;
  static std::string diskettes_;
  static bool mediumMade_;
};

ScratchDir* MenuScenario::scratch_ = nullptr;
std::string MenuScenario::medium_;
std::string MenuScenario::diskettes_;
bool MenuScenario::mediumMade_ = false;

// ---------------------------------------------------------------------------
// The menu and the ways out.

TEST_F(MenuScenario, TheMenuShowsItsRealTextsAndLeavesWithE) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-leave", "e\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string menu = std::string("\f\n") + kTitleLine + kMenuItems;
  ASSERT_EQ(Count(r.out, menu), 1) << r.out;
  // Copying the medium, then the menu, then the clean-up (a progress dot
  // and a line end).
  EXPECT_EQ(r.out.substr(r.out.find('\f')), menu + ".\n") << r.out;
  EXPECT_EQ(r.out.find("Error"), std::string::npos);
  EXPECT_FALSE(r.Changed("/tmp/VexlaInstall")) << "the work directory is removed at the end";
}

TEST_F(MenuScenario, AnEmptyLineShowsTheMenuAgainAndUpperCaseELeaves) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-empty", "\n\nE\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(r.out, kMenuItems), 3);
}

TEST_F(MenuScenario, EndOfInputAtTheMenuEndsWithStatusOne) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-eof", "");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Count(r.out, kMenuItems), 1);
  EXPECT_NE(r.err.find("\nsetup: End of input on the terminal : "), std::string::npos) << r.err;
}

// ---------------------------------------------------------------------------
// 1: installing through the directory dialogue.

TEST_F(MenuScenario, InstallAcceptingTheEarlierInstallation) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-install-earlier", "1\ny\n", {},
                         {"printf '#!/bin/sh\\ncd /opt/Vexla/vpxx/bin\\n./vprint \"$@\"\\n' > /usr/bin/vprint"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nExisting installation directory [/opt]\n "), std::string::npos) << r.out;
  EXPECT_TRUE(Installed(r, "/opt")) << r.out << r.err;
  EXPECT_EQ(Count(r.out, kMenuItems), 1) << "a finished installation ends the menu";
}

TEST_F(MenuScenario, InstallIntoANewDirectoryTypedAndConfirmed) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-install-typed", "1\n/srv/print\n\ny\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nEnter the new installation directory [/srv/print]: "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Do you want to use /srv/print? [y/n] "), std::string::npos) << r.out;
  EXPECT_TRUE(Installed(r, "/srv/print")) << r.out << r.err;
  EXPECT_FALSE(Installed(r, "/usr"));
}

TEST_F(MenuScenario, ATypedDirectoryThatCannotGoIntoACommandIsRefused) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-install-refused", "1\n/srv/my dir\n/srv/ok\n\ny\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("setup: a directory name may hold only letters, digits and / . _ - + , @ : =\n"),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(Installed(r, "/srv/ok")) << r.out << r.err;
  EXPECT_FALSE(fs::exists(r.Upper("/srv/my dir")));
  EXPECT_FALSE(fs::exists(r.Upper("/srv/my")));
}

TEST_F(MenuScenario, DecliningTheDialogueGoesBackToTheMenu) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-install-declined", "1\nback\ny\ne\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Do you want to return to Setup Menu? [y/n] "), std::string::npos) << r.out;
  EXPECT_EQ(Count(r.out, kMenuItems), 2);
  EXPECT_FALSE(Installed(r, "/usr"));
  EXPECT_FALSE(fs::exists(r.Upper("/usr/Vexla")));
}

TEST_F(MenuScenario, AUserOtherThanRootIsRefusedAndTheMenuEnds) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("menu-install-nobody", FromMedium("1\ne\n"),
                                 {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "./setup", "menu"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("nobody is logged in\nYou must become root to run setup\n"), std::string::npos) << r.out;
  EXPECT_EQ(Count(r.out, kMenuItems), 1) << "the menu ends after the refusal";
  EXPECT_FALSE(fs::exists(r.Upper("/usr/Vexla")));
}

// ---------------------------------------------------------------------------
// 2: making an installation site, which is itself a working medium.

struct SiteCase {
  const char* answer;  // typed at the site dialogue
  const char* site;
};

class MenuSite : public MenuScenario, public testing::WithParamInterface<SiteCase> {};

TEST_P(MenuSite, ASiteHoldsEveryListedFileAndInstallsWithRealTexts) {
  SETUP_REQUIRE_SANDBOX();
  const std::string site = GetParam().site;
  SandboxOptions o = FromMedium(std::string("2\n") + GetParam().answer + "\n\ny\ne\n");
  o.timeoutSeconds = 170;
  const std::string script = "./setup menu; echo menu=$?; cd " + site +
                             " && ./setup install /opt </dev/null; echo install=$?; printf 'e\\n' | ./setup menu";
  SandboxResult r = RunInSandbox(std::string("menu-site") + (site == "/Linuxi386VpxxInstall" ? "-root" : "-usr"), o,
                                 {"/bin/sh", "-c", script});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("menu=0\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("install=0\n"), std::string::npos) << r.out << r.err;

  EXPECT_EQ(Mode(r.Upper(site)), 0755u) << "readable by all, writable only by its owner";
  EXPECT_EQ(Mode(r.Upper(site + "/db")), 0755u);
  EXPECT_EQ(ReadWholeFile(r.Upper(site + "/installf.rom")), "installation site");
  std::istringstream list(ReadWholeFile(r.Upper(site + "/disks")));
  int listed = 0;
  for (std::string name; std::getline(list, name) && name != "end_of_list"; ++listed)
    EXPECT_EQ(ReadWholeFile(r.Upper(site + "/" + name)), ReadWholeFile(medium_ + "/" + name)) << name;
  EXPECT_EQ(listed, 13) << "the program, the list, the marker, the checksums, two size files, a piece and six databases";
  EXPECT_NE(ReadWholeFile(r.Upper(site + "/disks")).find("db/drvcore.vdb\n"), std::string::npos);
  EXPECT_EQ(Mode(r.Upper(site + "/db/fr_FR")), 0755u);

  EXPECT_TRUE(Installed(r, "/opt")) << r.out << r.err;
  // The menu before and after making the site, then the menu run from the
  // site, with the texts of its own database.
  EXPECT_EQ(Count(r.out, kMenuItems), 3);
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
}

INSTANTIATE_TEST_SUITE_P(UnderRootAndUsr, MenuSite,
                         testing::Values(SiteCase{"/", "/Linuxi386VpxxInstall"},
                                         SiteCase{"/usr", "/usr/Linuxi386VpxxInstall"}),
                         [](const testing::TestParamInfo<SiteCase>& info) {
                           return std::string(info.param.answer) == "/" ? "Root" : "Usr";
                         });

// ---------------------------------------------------------------------------
// 3: marking the work directory as a diskette source.

TEST_F(MenuScenario, DiskettesMarkTheWorkDirectoryWhichManualKeeps) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = Menu("menu-diskettes", "3\ne\n", {"manual"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.Read("/tmp/VexlaInstall/installf.rom"), "diskette");
  EXPECT_TRUE(fs::is_regular_file(r.Upper("/tmp/VexlaInstall/pkg_tar.001")));
  EXPECT_TRUE(fs::is_regular_file(r.Upper("/tmp/VexlaInstall/db/drvcore.vdb")));
  EXPECT_EQ(Count(r.out, kMenuItems), 2);
}

TEST_F(MenuScenario, ADisketteMediumRunsTheMenuOnTheWorkDirectoryAsItIs) {
  SETUP_REQUIRE_SANDBOX();
  // The diskettes' files already gathered in the work directory, as the
  // administrator copies them there.
  SandboxOptions o = FromMedium("2\n/srv\n\ny\ne\n", {"mkdir -m 755 /tmp/VexlaInstall && cp -a /media/. /tmp/VexlaInstall/"});
  o.medium = diskettes_;
  SandboxResult r = RunInSandbox("menu-diskettes-site", o, {"./setup", "menu"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Count(r.out, kMenuItems), 2);
  const std::string site = "/srv/Linuxi386VpxxInstall";
  EXPECT_EQ(ReadWholeFile(r.Upper(site + "/installf.rom")), "installation site");
  EXPECT_EQ(ReadWholeFile(r.Upper(site + "/db/drvcore.vdb")), ReadWholeFile(diskettes_ + "/db/drvcore.vdb"));
  EXPECT_EQ(ReadWholeFile(r.Upper(site + "/pkg_tar.001")), ReadWholeFile(diskettes_ + "/pkg_tar.001"));
  const std::string log = r.Read("/tmp/setup.log");
  EXPECT_NE(log.find("/tmp/VexlaInstall/pkg_tar.001 " + site), std::string::npos) << log;
  EXPECT_EQ(log.find("/media/pkg_tar.001"), std::string::npos) << "nothing is copied from the medium";
}

// ---------------------------------------------------------------------------
// Terminal tests: tmux in the sandbox, 80 by 24, no status line.

TEST_F(MenuScenario, TerminalThePromptLineShowsItsRealText) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunTmux("menu-terminal", FromMedium(""), "cd /media && ./setup menu",
                            {{"", "Enter a selection", "menu"}, {"e Enter", "EXIT=", "end"}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  std::vector<std::string> menu = Screen(r.out, "menu");
  ASSERT_EQ(menu.size(), 24u) << r.out;
  // The copy's progress dots, the heading after the form feed's new line,
  // the items and the prompt line.
  EXPECT_EQ(menu[2], "                       Install Print Driver and Utilities");
  EXPECT_EQ(menu[4], " 1) Install Driver and Utilities");
  EXPECT_EQ(menu[10], " e) Exit");
  EXPECT_EQ(menu[15], "Enter a selection:");
  EXPECT_EQ(r.out.find("Error"), std::string::npos);
  std::vector<std::string> end = Screen(r.out, "end");
  ASSERT_EQ(end.size(), 24u);
  EXPECT_EQ(end[15], "Enter a selection: e");
  EXPECT_EQ(end[17], "EXIT=0");
}

TEST_F(MenuScenario, TerminalTheChooserDrawsPagesAndChooses) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o;
  o.copies = {{MENU_DRIVER, "/media/menu_driver"}, {DRVCORE_VDB, "/media/db/drvcore.vdb"}};
  SandboxResult r = RunTmux("menu-chooser", o, "cd /media && ./menu_driver",
                            {{"", "Enter a selection", "menu"},
                             {"1 Enter", "Current selection", "first"},
                             {"3 Enter", "selection: Paper tray number 03", "three"},
                             {"Enter", "37) ", "page2"},
                             {"Enter", " 1) Paper tray number 01", "page1"},
                             {"s Enter", "3. Paper tray", "saved"},
                             {"e Enter", "EXIT=", "end"}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  std::vector<std::string> first = Screen(r.out, "first");
  ASSERT_EQ(first.size(), 24u) << r.out;
  EXPECT_EQ(first[0], std::string(34, ' ') + "Paper source");
  EXPECT_EQ(first[1], "");
  EXPECT_EQ(first[2], " ->  1) Paper tray number 01 (upper)        19) Paper tray number 19 (upper)");
  EXPECT_EQ(first[5], "         Paper tray number 04 (upper)       22) Paper tray number 22 (upper)")
      << "an unavailable state has no number";
  EXPECT_EQ(first[19], "    18) Paper tray number 18 (upper)        36) Paper tray number 36 (upper)");
  EXPECT_EQ(first[21], "s) Save and return                      c) Cancel");
  EXPECT_EQ(first[22], "Current selection: Paper tray number 01 (upper)");
  EXPECT_EQ(first[23], "Enter the numbers to choose, s or c:");

  std::vector<std::string> three = Screen(r.out, "three");
  ASSERT_EQ(three.size(), 24u);
  EXPECT_EQ(three[2].substr(0, 4), "    ");
  EXPECT_EQ(three[4].substr(0, 8), " ->  3) ");

  std::vector<std::string> page2 = Screen(r.out, "page2");
  ASSERT_EQ(page2.size(), 24u);
  EXPECT_EQ(page2[2], "    37) Paper tray number 37 (upper)");
  EXPECT_EQ(page2[5], "    40) Paper tray number 40 (upper)");
  EXPECT_EQ(page2[6], "");
  EXPECT_EQ(page2[22], "Current selection: Paper tray number 03 (upper)");

  std::vector<std::string> saved = Screen(r.out, "saved");
  ASSERT_FALSE(saved.empty());
  bool shown = false;
  for (const std::string& line : saved) shown = shown || line == " 1) Paper source  [3. Paper tray number 03 (upper)]";
  EXPECT_TRUE(shown) << r.out;
  std::vector<std::string> end = Screen(r.out, "end");
  bool chosen = false;
  for (const std::string& line : end) chosen = chosen || line == "chosen state 3";
  EXPECT_TRUE(chosen) << r.out;
}

// The menu in the language LANG chooses: the engine's prompt line from that
// language's database, the installer's dialogue from its own table; under
// a UTF-8 locale the accented letters arrive as UTF-8 and the screen keeps
// its columns.
struct LanguageCase {
  const char* lang;
  const char* prompt;    // the prompt line, as the screen shows it
  const char* question;  // the dialogue's question after a directory that is no full path
};

class MenuLanguage : public MenuScenario, public testing::WithParamInterface<LanguageCase> {};

TEST_P(MenuLanguage, TerminalThePromptAndTheQuestionsSpeakTheLanguageOfLang) {
  SETUP_REQUIRE_SANDBOX();
  const LanguageCase& c = GetParam();
  SandboxResult r = RunTmux(std::string("menu-terminal-") + c.lang, FromMedium(""),
                            std::string("cd /media && LANG=") + c.lang + " ./setup menu",
                            {{"", c.prompt, "menu"},
                             {"1 Enter", "usr]", "directory"},
                             {"back Enter", "y/n]", "question"},
                             {"y Enter", c.prompt, "again"},
                             {"e Enter", "EXIT=", "end"}});
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  std::vector<std::string> menu = Screen(r.out, "menu");
  ASSERT_EQ(menu.size(), 24u) << r.out;
  EXPECT_EQ(menu[2], "                       Install Print Driver and Utilities") << "the titles stay English";
  EXPECT_EQ(menu[15], c.prompt) << r.out;
  std::vector<std::string> question = Screen(r.out, "question");
  bool asked = false;
  for (const std::string& line : question) asked = asked || line == c.question;
  EXPECT_TRUE(asked) << r.out;
  EXPECT_EQ(r.out.find("Error"), std::string::npos) << r.out;
  const std::vector<std::string> end = Screen(r.out, "end");
  EXPECT_NE(std::find(end.begin(), end.end(), "EXIT=0"), end.end()) << r.out;
}

INSTANTIATE_TEST_SUITE_P(
    Languages, MenuLanguage,
    testing::Values(LanguageCase{"fr_FR", "Entrez votre choix :", "Voulez-vous revenir au menu Setup? [y/n]"},
                    // tmux reads UTF-8 and drops the ISO 8859-1 letters (the
                    // database tests check those bytes): "Möchten ... Menü zurück..."
                    LanguageCase{"ge_GE", "Ihre Auswahl:", "Mchten Sie zum Setup-Men zurckkehren? [y/n]"},
                    LanguageCase{"fr_FR.UTF-8", "Entrez votre choix :", "Voulez-vous revenir au menu Setup\u00A0? [y/n]"},
                    LanguageCase{"de_DE.UTF-8", "Ihre Auswahl:", "Möchten Sie zum Setup-Menü zurückkehren? [y/n]"},
                    LanguageCase{"en_US.UTF-8", "Enter a selection:", "Do you want to return to Setup Menu? [y/n]"}),
    [](const testing::TestParamInfo<LanguageCase>& info) {
      std::string name = info.param.lang;
      for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

}  // namespace
