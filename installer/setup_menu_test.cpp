// The main menu, the engine's string database on the medium, and the copies
// that make a site (through the command seam).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "NlsUtils.h"
#include "SysCmd.h"
#include "TextMenu.h"
#include "html.h"
#include "installer.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// The installer state the media functions read, pointed into a scratch
// folder, and back afterwards.
class MediaTest : public testing::Test {
 protected:
  void SetUp() override {
    flUseLog = 0;
    static bool initialised = false;
    if (!initialised) {
      InitSysCmdList();
      initialised = true;
    }
    savedTool_ = pToolPath;
    savedTmp_ = pTmpDir;
    savedWork_ = pVexlaInstallDir;
    savedInstall_ = pInstallDir;
    // The media functions change the directory; an earlier test may have
    // left this process in a directory that is gone, so keep it open.
    savedCwd_ = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    area = scratch.path() + "/area";
    work = area + "/VexlaInstall";
    medium = scratch.path() + "/medium";
    fs::create_directories(area);
    pTmpDir = const_cast<char*>(area.c_str());
    pVexlaInstallDir = const_cast<char*>(work.c_str());
    pToolPath = const_cast<char*>(medium.c_str());
    pInstallDir = nullptr;
    flExitTextMenu = 0;
  }
  void TearDown() override {
    if (savedCwd_ >= 0) {
      if (fchdir(savedCwd_) != 0) ADD_FAILURE() << "cannot go back to the directory of the test";
      close(savedCwd_);
    }
    pToolPath = savedTool_;
    pTmpDir = savedTmp_;
    pVexlaInstallDir = savedWork_;
    pInstallDir = savedInstall_;
    DbTClose(pDrvCoreDB);
    pDrvCoreDB = nullptr;
  }

  static std::string Lines(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
  }
  static std::string Copy(const std::string& from, const std::string& to) {
    return CmdPath(kCmdCp) + " " + ComList[kCmdCp].pFlags + " " + from + " " + to + " ";
  }

  // A medium folder holding every file the list names (the copies are
  // only recorded; every listed file must exist before any is copied).
  void WriteListedFiles(const std::string& folder) {
    for (const char* name : {"setup", "disks", "db/drvcore.vdb", "pkg_tar.001"}) scratch.Write(folder + "/" + name, "");
    scratch.Write(folder + "/disks", "setup\ndisks\ndb/drvcore.vdb\npkg_tar.001\nend_of_list\n");
  }

  ScratchDir scratch;
  std::string area, work, medium;

 private:
  char* savedTool_;
  char* savedTmp_;
  char* savedWork_;
  char* savedInstall_;
  int savedCwd_ = -1;
};

// A database the build made: "" English, "<LANG>/" a translation.
std::string Built(const std::string& folder) { return std::string(DRVCORE_DB_DIR) + "/" + folder + "drvcore.vdb"; }

}  // namespace

TEST_F(MediaTest, TheMainMenuTable) {
  EXPECT_STREQ(MainMenu.pTitle, "Install Print Driver and Utilities");
  EXPECT_EQ(MainMenu.TitleAlign, 1);
  EXPECT_EQ(MainMenu.Flags, 0x01);
  EXPECT_EQ(MainMenu.pLeaveQuestion, nullptr);
  EXPECT_EQ(MainMenu.pfnApply, nullptr);
  struct Row {
    const char* title;
    unsigned type;
    TtyItemAction action;
  } rows[] = {{"Install Driver and Utilities", 7, Install},
              {"Create an installation site.", 7, GenInstallSite},
              {"Create installation diskettes.", 7, GenInstallDisks},
              {"~e Exit", 6, nullptr},
              {"", 0, nullptr}};
  int i = 0;
  for (const Row& r : rows) {
    EXPECT_STREQ(MainMenu.pItems[i].pTitle, r.title);
    EXPECT_EQ(MainMenu.pItems[i].Type, r.type);
    EXPECT_EQ(MainMenu.pItems[i].pfnAction, r.action);
    ++i;
  }
  EXPECT_EQ(MainMenu.pItems[i].pTitle, nullptr);
}

TEST_F(MediaTest, TheStringDatabaseIsOpenedWhereTheMediumHoldsIt) {
  OpenDriverCoreDb();
  EXPECT_EQ(pDrvCoreDB, nullptr) << "no database on the medium";
  char* text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, 1016);
  EXPECT_STREQ(text, "Error");

  fs::create_directories(medium + "/db");
  fs::copy_file(Built(""), medium + "/db/drvcore.vdb");
  OpenDriverCoreDb();
  ASSERT_NE(pDrvCoreDB, nullptr);
  text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, 1016);
  EXPECT_STREQ(text, "End of input on the terminal");
  NlsFreeString(text);
  // Read once: the medium may go away while the menus run.
  fs::remove_all(medium + "/db");
  text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, 510);
  EXPECT_STREQ(text, "\nEnter a selection%s%s%s: ");
  NlsFreeString(text);
}

TEST_F(MediaTest, TheDatabaseOfTheLanguageOfTheTablesElseEnglish) {
  // English and French in the db folder, German only in DOS names.
  fs::create_directories(medium + "/db/fr_FR");
  fs::create_directories(medium + "/DB/GE_GE");
  fs::copy_file(Built(""), medium + "/db/drvcore.vdb");
  fs::copy_file(Built("fr_FR/"), medium + "/db/fr_FR/drvcore.vdb");
  fs::copy_file(Built("ge_GE/"), medium + "/DB/GE_GE/DRVCORE.VDB");
  const std::string english = "\nEnter a selection%s%s%s: ";
  const struct {
    const char* lang;
    const SetupMessage* table;
    std::string prompt;
  } cases[] = {
      {"fr_FR", NLS_FRENCH, "\nEntrez votre choix%s%s%s : "},
      {"ge_GE", NLS_GERMAN, "\nIhre Auswahl%s%s%s: "},
      {"es_ES", NLS_SPANISH, english},  // not on this medium
      {"fr_FR.UTF-8", NLS_FRENCH, "\nEntrez votre choix%s%s%s : "},
      {"de_DE.UTF-8", NLS_GERMAN, "\nIhre Auswahl%s%s%s: "},  // the folder keeps its name
      {"FR_FR", NLS_ENGLISH, english},
      {nullptr, NLS_ENGLISH, english},
  };
  const SetupMessage* saved = pCurLang;
  EnvScope all("LC_ALL", nullptr);
  EnvScope messages("LC_MESSAGES", nullptr);
  for (const auto& c : cases) {
    EnvScope lang("LANG", c.lang);
    pCurLang = nullptr;
    OpenDriverCoreDb();
    EXPECT_EQ(pCurLang, c.table) << (c.lang ? c.lang : "(unset)");
    char* text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, 510);
    EXPECT_EQ(text, c.prompt) << (c.lang ? c.lang : "(unset)");
    NlsFreeString(text);
    DbTClose(pDrvCoreDB);
    pDrvCoreDB = nullptr;
  }
  // Without the English database a missing translation leaves none.
  fs::remove(medium + "/db/drvcore.vdb");
  EnvScope lang("LANG", "es_ES");
  pCurLang = nullptr;
  OpenDriverCoreDb();
  EXPECT_EQ(pDrvCoreDB, nullptr);
  pCurLang = saved;
}

TEST_F(MediaTest, ASiteGetsTheDatabaseInItsOwnDbFolder) {
  WriteListedFiles("area/VexlaInstall");
  const std::string chosen = scratch.path() + "/sites";
  const std::string site = chosen + "/Linuxi386VpxxInstall";
  fs::create_directories(site);  // so that the marker can be written for real
  HostRecorder host;
  std::string out;
  {
    StdinFrom in(chosen + "\n\ny\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(GenInstallSite(), 0);
    out = testing::internal::GetCapturedStdout();
  }
  const std::string lines = Lines(host.lines);
  EXPECT_NE(lines.find(CmdPath(kCmdChmod) + " " + ComList[kCmdChmod].pFlags + " 755 " + site + " "), std::string::npos)
      << lines;
  EXPECT_NE(lines.find(Copy(work + "/setup", site)), std::string::npos) << lines;
  EXPECT_NE(lines.find(Copy(work + "/pkg_tar.001", site)), std::string::npos) << lines;
  EXPECT_NE(lines.find(CmdPath(kCmdMkdir) + " " + ComList[kCmdMkdir].pFlags + " " + site + "/db "), std::string::npos)
      << lines;
  EXPECT_NE(lines.find(Copy(work + "/db/drvcore.vdb", site + "/db")), std::string::npos) << lines;
  EXPECT_EQ(lines.find("777"), std::string::npos) << "a site is never writable by others";
  EXPECT_EQ(ReadWholeFile(site + "/installf.rom"), "installation site");
}

TEST_F(MediaTest, ASiteMediumIsCopiedIntoTheWorkDirectoryAndTheMenuRuns) {
  WriteListedFiles("medium");
  HostRecorder host;
  std::string out;
  {
    StdinFrom in("e\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(InstallFromSite(), 0);
    out = testing::internal::GetCapturedStdout();
  }
  const std::string lines = Lines(host.lines);
  EXPECT_NE(lines.find(Copy(medium + "/disks", work)), std::string::npos) << lines;
  EXPECT_NE(lines.find(Copy(medium + "/db/drvcore.vdb", work + "/db")), std::string::npos) << lines;
  EXPECT_NE(lines.find(" 755 " + work + "/db "), std::string::npos) << lines;
  EXPECT_NE(out.find("Install Print Driver and Utilities\n\n 1) Install Driver and Utilities \n\n"), std::string::npos)
      << out;
}

TEST_F(MediaTest, TheMainMenuOffersTheMediumsHelpOnlyWhenItLoads) {
  struct Case {
    const char* file;
    const char* content;
    bool offered;
  };
  for (const Case& c : {Case{nullptr, nullptr, false}, Case{"setup.hlp", "<html><body>Help</body></html>", true},
                        Case{"SETUP.HLP", "<html><body>Help</body></html>", true},
                        Case{"setup.hlp", "<body>no page</body>", false}, Case{"setup.hlp", "", false}}) {
    HtmlClearCache();
    fs::remove_all(medium);
    fs::create_directories(medium);
    if (c.file != nullptr) scratch.Write(std::string("medium/") + c.file, c.content);
    EXPECT_EQ(OfferMediumHelp(), c.offered) << (c.file ? c.content : "no file");
    EXPECT_EQ(MainMenu.Flags, c.offered ? 0x03 : 0x01);
    if (c.offered)
      EXPECT_EQ(std::string(pTtyHtmlName), medium + "/" + c.file);
    else
      EXPECT_EQ(pTtyHtmlName, nullptr);
  }
  HtmlClearCache();
  pTtyHtmlName = nullptr;
  MainMenu.Flags = 0x01;
}

TEST_F(MediaTest, TheHelpKeyOfTheMainMenuShowsTheMediumsHelp) {
  WriteListedFiles("medium");
  scratch.Write("medium/setup.hlp", "<html><head><title>Setup help</title></head><body>How to install</body></html>");
  HtmlClearCache();
  pDrvCoreDB = DbTOpen(Built("").c_str(), kDbNoCheck);
  DbTUpDate(pDrvCoreDB);
  HostRecorder host;
  std::string out;
  {
    StdinFrom in("h\ne\ne\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(InstallFromSite(), 0);
    out = testing::internal::GetCapturedStdout();
  }
  HtmlClearCache();
  pTtyHtmlName = nullptr;
  MainMenu.Flags = 0x01;
  EXPECT_NE(out.find(" e) Exit \n\n \n\n\nEnter a selection, h for help: "), std::string::npos) << out;
  EXPECT_NE(out.find("Setup help\n\nHow to install\n"), std::string::npos) << out;
  EXPECT_NE(out.find(" e) Exit Help"), std::string::npos) << out;
}
