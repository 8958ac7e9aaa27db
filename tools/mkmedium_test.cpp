// Tests of the medium builder: they run the built mkmedium on small products
// made in a scratch folder and look at the media, the menu engine's string
// databases on them among the rest. The sample product is
// sample_product_test.cpp.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "mkmedium_test.h"

namespace {

TEST_F(Mkmedium, PiecesJoinToTheProductByteForByte) {
  std::string product = SmallProduct();
  ToolRun run = Make(product, {"--piece-size", "1K", "--help-file", helpFile});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  std::multiset<std::string> listedSet(listed.begin(), listed.end());
  std::set<std::string> onMedium = FilesIn(medium());
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), onMedium);
  EXPECT_EQ(listedSet.size(), onMedium.size()) << "a name listed twice";
  for (const char* name : {"setup", "setup.hlp", "installf.rom", "isize", "tsize", "disks", "pkg_tar.001"})
    EXPECT_EQ(onMedium.count(name), 1u) << name;

  // Pieces in the order listed: all but the last exactly 1024 bytes.
  std::vector<std::string> pieces;
  for (const std::string& n : listed)
    if (n.rfind("pkg_tar.", 0) == 0) pieces.push_back(n);
  ASSERT_GE(pieces.size(), 3u);
  for (size_t i = 0; i < pieces.size(); ++i) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "pkg_tar.%03zu", i + 1);
    EXPECT_EQ(pieces[i], expected);
    unsigned long long size = FileSize(medium() + "/" + pieces[i]);
    if (i + 1 < pieces.size()) {
      EXPECT_EQ(size, 1024u) << pieces[i];
    } else {
      EXPECT_TRUE(size > 0 && size <= 1024) << size;
    }
  }

  unsigned long long tarBytes = Unpack(medium(), listed, scratch.path(), "pkg_tar.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(product));
  EXPECT_EQ(FilesIn(scratch.File("unpacked")), std::set<std::string>{"pkg"});
  struct stat st;
  ASSERT_EQ(stat(scratch.File("unpacked/pkg/tool").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_EQ(st.st_uid, 0u) << "the archive stores owner root";

  EXPECT_EQ(ReadWholeFile(medium() + "/installf.rom"), "installation site");
  EXPECT_EQ(ReadWholeFile(medium() + "/setup"), ReadWholeFile(program));
  ASSERT_EQ(stat((medium() + "/setup").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_EQ(ReadWholeFile(medium() + "/setup.hlp"), ReadWholeFile(helpFile));

  // Sizes in kilobyte blocks: the installed product at least what du says
  // of the product; the work area at least a copy of the medium, the joined
  // and the uncompressed archive and the tree.
  std::string isizeText = ReadWholeFile(medium() + "/isize"), tsizeText = ReadWholeFile(medium() + "/tsize");
  unsigned long long isize = std::strtoull(isizeText.c_str(), nullptr, 10);
  unsigned long long tsize = std::strtoull(tsizeText.c_str(), nullptr, 10);
  EXPECT_EQ(isizeText, std::to_string(isize) + "\n");
  EXPECT_EQ(tsizeText, std::to_string(tsize) + "\n");
  unsigned long long duProduct = DuKiB(product), duMedium = DuKiB(medium());
  unsigned long long archiveKiB = 0;
  for (const std::string& p : pieces) archiveKiB += FileSize(medium() + "/" + p);
  archiveKiB = (archiveKiB + 1023) / 1024;
  EXPECT_GE(isize, duProduct);
  EXPECT_LE(isize, duProduct + 4 * 10);
  unsigned long long least = duMedium + isize + archiveKiB + (tarBytes + 1023) / 1024;
  EXPECT_GE(tsize, least);
  EXPECT_LE(tsize, least + 4 * (onMedium.size() + 10));

  EXPECT_NE(run.out.find("pkg_tar.001"), std::string::npos) << run.out;
  EXPECT_TRUE(FilesIn(scratch.File("tmp")).empty()) << "temporary folder left behind";
}

TEST_F(Mkmedium, DefaultPieceIsADiskette) {
  // Random bytes do not compress: the archive needs two pieces.
  ToolRun run = Make(SmallProduct(1600000));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FileSize(medium() + "/pkg_tar.001"), 1474560u);
  EXPECT_GT(FileSize(medium() + "/pkg_tar.002"), 0u);
  EXPECT_EQ(FilesIn(medium()).count("pkg_tar.003"), 0u);
  EXPECT_EQ(FilesIn(medium()).count("setup.hlp"), 0u) << "no help file given";
}

TEST_F(Mkmedium, PieceSizeSuffixes) {
  struct Case {
    const char* size;
    unsigned long long bytes;
  } cases[] = {{"1000", 1000}, {"2k", 2048}, {"1M", 1048576}};
  std::string product = SmallProduct();
  for (const Case& c : cases) {
    fs::remove_all(medium());
    ToolRun run = Make(product, {"-s", c.size});
    ASSERT_EQ(run.status, 0) << c.size << run.err;
    unsigned long long total = 0;
    for (const std::string& n : FilesIn(medium()))
      if (n.rfind("pkg_tar.", 0) == 0) total += FileSize(medium() + "/" + n);
    EXPECT_EQ(FileSize(medium() + "/pkg_tar.001"), std::min(c.bytes, total)) << c.size;
  }
}

// On a terminal the cutting shows the pieces and bytes written so far, on
// one line rewritten in place; into a file or pipe nothing of it.
TEST_F(Mkmedium, ShowsProgressOnATerminalOnly) {
  if (access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "no script(1) to give it a terminal";
  const std::string product = SmallProduct(20000);
  ToolRun quiet = Make(product, {"-s", "4k"});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.out.find("written,"), std::string::npos) << quiet.out;
  unsigned long long total = 0;
  size_t pieces = 0;
  for (const std::string& n : FilesIn(medium()))
    if (n.rfind("pkg_tar.", 0) == 0) total += FileSize(medium() + "/" + n), ++pieces;
  ASSERT_GT(pieces, 2u);

  fs::remove_all(medium());
  ToolRun shown = RunMkmedium(
      scratch, {"-c", std::string(MKMEDIUM_PATH) + " -s 4k -o " + medium() + " -p " + program + " " + product,
                "-q", "-e", "/dev/null"},
      nullptr, "/usr/bin/script");
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("\rmkmedium: 1 piece written, 4096 bytes"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("\rmkmedium: " + std::to_string(pieces) + " pieces written, " + std::to_string(total) +
                               " bytes\r\n"),
            std::string::npos)
      << shown.out;
}

TEST_F(Mkmedium, DisketteMarkerAndDosNames) {
  ToolRun run = Make(SmallProduct(), {"--diskette", "--dos", "--piece-size=2K", "--help-file", helpFile});
  ASSERT_EQ(run.status, 0) << run.err;
  std::set<std::string> onMedium = FilesIn(medium());
  for (const std::string& n : onMedium) {
    std::string upper = n;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(n, upper);
  }
  for (const char* name : {"SETUP", "SETUP.HLP", "INSTALLF.ROM", "ISIZE", "TSIZE", "DISKS", "PKG_TAR.001"})
    EXPECT_EQ(onMedium.count(name), 1u) << name;
  EXPECT_EQ(ReadWholeFile(medium() + "/INSTALLF.ROM"), "diskette");
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/DISKS"));
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), onMedium);
  EXPECT_EQ(listed.size(), onMedium.size());
  Unpack(medium(), listed, scratch.path(), "PKG_TAR.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(scratch.File("product")));
}

TEST_F(Mkmedium, CommandLineErrorsExitWithStatus2) {
  std::string product = SmallProduct();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"-o", medium(), "-p", program}, "no product folder given"},
      {{"-o", medium(), "-p", program, product, product}, "more than one product folder"},
      {{"-p", program, product}, "no output folder given"},
      {{"-o", medium(), product}, "no installer program given"},
      {{"-o", medium(), "-p", program, "--bogus", product}, "unrecognized option"},
      {{"-o", medium(), "-p", program, "-s", product}, "bad piece size"},  // -s took the product
  };
  for (const Case& c : cases) {
    ToolRun run = RunMkmedium(scratch, c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Try 'mkmedium --help'."), std::string::npos) << run.err;
  }
  for (const char* size : {"0", "", "abc", "12X", "-5", "1.5K", "1KK", "99999999999", "5000M", "K"}) {
    ToolRun run = Make(product, {"--piece-size", size});
    EXPECT_EQ(run.status, 2) << size;
    EXPECT_NE(run.err.find(std::string("bad piece size '") + size + "'"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(medium()));
}

TEST_F(Mkmedium, HelpSaysHowToUseIt) {
  ToolRun run = RunMkmedium(scratch, {"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* text :
       {"Usage: mkmedium", "--piece-size", "--dos", "--diskette", "--help-file", "isize", "tsize", "Exit status"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
}

TEST_F(Mkmedium, FailuresExitWithStatus1AndLeaveNoMedium) {
  std::string product = SmallProduct();
  std::string file = scratch.Write("a-file", "x");
  std::string bin = scratch.File("bin");
  fs::create_directories(bin);
  std::string tarOnly = scratch.File("taronly");
  fs::create_directories(tarOnly);
  fs::create_symlink("/usr/bin/tar", tarOnly + "/tar");
  std::string failing = scratch.File("failing");
  fs::create_directories(failing);
  fs::create_symlink("/usr/bin/tar", failing + "/tar");
  scratch.Write("failing/compress", "#!/bin/sh\nexit 3\n");
  chmod((failing + "/compress").c_str(), 0755);
  scratch.Write("nolist/pkg/x", "x");

  struct Case {
    std::vector<std::string> args;
    const char* path;
    const char* message;
  } cases[] = {
      {{"-o", medium(), "-p", program, scratch.File("nolist")}, nullptr, "no package list"},
      {{"-o", medium(), "-p", program, scratch.File("missing")}, nullptr, "no product folder"},
      {{"-o", medium(), "-p", program, file}, nullptr, "is not a folder"},
      {{"-o", medium(), "-p", scratch.File("missing"), product}, nullptr, "no installer program"},
      {{"-o", medium(), "-p", bin, product}, nullptr, "is not a regular file"},
      {{"-o", medium(), "-p", program, "--help-file", scratch.File("missing"), product}, nullptr, "no help file"},
      {{"-o", file, "-p", program, product}, nullptr, "exists and is not a folder"},
      {{"-o", file + "/sub", "-p", program, product}, nullptr, "cannot create the output folder"},
      {{"-o", medium(), "-p", program, product}, bin.c_str(), "cannot find the program tar"},
      {{"-o", medium(), "-p", program, product}, tarOnly.c_str(), "cannot find the program compress"},
      {{"-o", medium(), "-p", program, product}, failing.c_str(), "compress failed with exit status 3"},
      {{"-o", medium(), "-p", program, "-s", "1", product}, nullptr, "give a larger --piece-size"},
      // Fails after the pieces are written: they go again.
      {{"-o", medium(), "-p", program, "--help-file", "/proc/self/mem", product},
       nullptr,
       "cannot read /proc/self/mem"},
  };
  for (const Case& c : cases) {
    ToolRun run = RunMkmedium(scratch, c.args, c.path);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.rfind("mkmedium: ", 0), 0u) << run.err;
    EXPECT_FALSE(fs::exists(medium())) << c.message;
    EXPECT_TRUE(FilesIn(scratch.File("tmp")).empty()) << c.message;
  }
  EXPECT_EQ(ReadWholeFile(file), "x");

  // A folder that holds something is refused and left as it was; an empty
  // one is used and, on failure, left empty.
  scratch.Write("medium/keep", "k");
  ToolRun run = Make(product);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("is not empty"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(medium()), std::set<std::string>{"keep"});
  fs::remove(medium() + "/keep");
  run = Make(product, {"--help-file", "/proc/self/mem"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(fs::exists(medium()));
  EXPECT_TRUE(FilesIn(medium()).empty());
  run = Make(product);
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(Mkmedium, RefusesADisksListTheInstallerCannotReadWhole) {
  // The installer reads 4095 bytes of the list: about 340 names.
  std::string product = SmallProduct(20000);
  ASSERT_EQ(Make(product).status, 0);
  unsigned long long archive = FileSize(medium() + "/pkg_tar.001");
  fs::remove_all(medium());
  ToolRun run = Make(product, {"-s", std::to_string(archive / 400 + 1)});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the disks list would be"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("reads only 4095"), std::string::npos) << run.err;
  run = Make(product, {"-s", std::to_string(archive / 250 + 1)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_LE(FileSize(medium() + "/disks"), 4095u);
}

}  // namespace

// ---------------------------------------------------------------------------
// The menu engine's string database on the medium.

class MkmediumDb : public Mkmedium {
 protected:
  // The database as the build places it: db/drvcore.vdb beside the program.
  std::string DbBesideProgram() { return scratch.Write("db/drvcore.vdb", "TVDBAA0\n-database-"); }
  // Translations beside it, and a folder that names no language.
  void TranslationsBesideProgram() {
    scratch.Write("db/fr_FR/drvcore.vdb", "-french-");
    scratch.Write("db/ge_GE/drvcore.vdb", "-german-");
    scratch.Write("db/notes/drvcore.vdb", "-not a language-");
  }
  unsigned Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
};

TEST_F(MkmediumDb, TheDatabasesBesideTheProgramArePutInTheDbFolderAndListed) {
  std::string db = DbBesideProgram();
  TranslationsBesideProgram();
  ToolRun run = Make(SmallProduct());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(medium() + "/db/drvcore.vdb"), ReadWholeFile(db));
  EXPECT_EQ(ReadWholeFile(medium() + "/db/fr_FR/drvcore.vdb"), "-french-");
  EXPECT_EQ(ReadWholeFile(medium() + "/db/ge_GE/drvcore.vdb"), "-german-");
  for (const char* folder : {"/db", "/db/fr_FR", "/db/ge_GE"}) EXPECT_EQ(Mode(medium() + folder), 0755u) << folder;
  EXPECT_EQ(Mode(medium() + "/db/drvcore.vdb"), 0644u);
  EXPECT_EQ(Mode(medium() + "/db/fr_FR/drvcore.vdb"), 0644u);
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  for (const char* name : {"db/drvcore.vdb", "db/fr_FR/drvcore.vdb", "db/ge_GE/drvcore.vdb"})
    EXPECT_EQ(std::count(listed.begin(), listed.end(), name), 1) << name;
  EXPECT_EQ(FilesIn(medium() + "/db"), (std::set<std::string>{"drvcore.vdb", "fr_FR", "ge_GE"}));
}

TEST_F(MkmediumDb, AGivenDatabaseWinsAndNoDbLeavesItOut) {
  DbBesideProgram();
  std::string other = scratch.Write("other.vdb", "other texts");
  ToolRun run = Make(SmallProduct(), {"--db", other});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(medium() + "/db/drvcore.vdb"), "other texts");

  fs::remove_all(medium());
  run = Make(SmallProduct(), {"--no-db"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(medium() + "/db"));
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "db/drvcore.vdb"), 0);
}

TEST_F(MkmediumDb, WithoutADatabaseAnywhereTheMediumHasNone) {
  ToolRun run = Make(SmallProduct());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(medium() + "/db"));
}

TEST_F(MkmediumDb, DosNamesAndRefusals) {
  DbBesideProgram();
  TranslationsBesideProgram();
  ToolRun run = Make(SmallProduct(), {"--dos", "--diskette"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/DISKS"));
  for (const char* name : {"DB/DRVCORE.VDB", "DB/FR_FR/DRVCORE.VDB", "DB/GE_GE/DRVCORE.VDB"}) {
    EXPECT_TRUE(fs::is_regular_file(medium() + "/" + name)) << name;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), name), 1) << name;
  }

  fs::remove_all(medium());
  run = Make(SmallProduct(), {"--db", scratch.File("missing.vdb")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no string database"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(medium()));
  run = Make(SmallProduct(), {"--db", scratch.File("db/drvcore.vdb"), "--no-db"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("exclude each other"), std::string::npos) << run.err;
}


namespace {

// A key made here with a password from a file signs the medium as the
// stock minisign checks it, plain names and DOS names; a wrong password
// makes nothing. (scrypt at minisign's cost: a few seconds a key opening.)
TEST_F(Mkmedium, SignsTheChecksumFileAsMinisignChecksIt) {
  std::string out;
  if (RunProgram({"minisign", "-v"}, "", &out) != 0) GTEST_SKIP() << "the stock minisign is missing";
  const std::string password = scratch.Write("password", "correct horse\n");
  const std::string key = scratch.File("packager.key");
  ToolRun made = RunMkmedium(scratch, {"--generate-key", key, "--password-file", password});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::string product = SmallProduct();
  for (const bool dos : {false, true}) {
    SCOPED_TRACE(dos ? "dos" : "plain");
    fs::remove_all(medium());
    std::vector<std::string> extra = {"--sign", key, "--password-file", password, "-s", "4K"};
    if (dos) extra.push_back("--dos");
    ToolRun run = Make(product, extra);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string sums = medium() + (dos ? "/SHA256" : "/sha256");
    const std::string sig = medium() + (dos ? "/SHA256.SIG" : "/sha256.minisig");
    const std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + (dos ? "/DISKS" : "/disks")));
    EXPECT_EQ(std::count(listed.begin(), listed.end(), fs::path(sig).filename().string()), 1);
    EXPECT_EQ(ReadWholeFile(sums).find(fs::path(sig).filename().string()), std::string::npos);
    ASSERT_EQ(RunProgram({"minisign", "-V", "-m", sums, "-x", sig, "-p", scratch.File("packager.pub")}, "", &out), 0)
        << out;
    EXPECT_NE(out.find("Trusted comment: product product pieces 3 sha256 "), std::string::npos) << out;
  }
  fs::remove_all(medium());
  scratch.Write("password", "wrong\n");
  ToolRun wrong = Make(product, {"--sign", key, "--password-file", password});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("wrong password, or the key file is damaged"), std::string::npos) << wrong.err;
  EXPECT_FALSE(fs::exists(medium()));
}

}  // namespace
