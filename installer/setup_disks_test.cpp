#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SysCmd.h"
#include "installer.h"
#include "test_support.h"

namespace {

using Words = std::vector<std::string>;

TEST(DisksList, LowerCaseListIsReadAsItStands) {
  ScratchDir dir;
  dir.Write("disks", "setup isize\npkg_tar.001\npkg_tar.002\nend_of_list\npkg_tar.003\n");
  GetDisksData(dir.path().c_str());
  EXPECT_STREQ(LineBuf, "setup isize\npkg_tar.001\npkg_tar.002\nend_of_list\npkg_tar.003\n");
  EXPECT_EQ(DisksListPieces(), (Words{"pkg_tar.001", "pkg_tar.002"}));
}

TEST(DisksList, DosListIsUpperCasedUpToItsEnd) {
  ScratchDir dir;
  dir.Write("DISKS", "setup\npkg_tar.001\nend_of_list\nlower\n");
  GetDisksData(dir.path().c_str());
  EXPECT_STREQ(LineBuf, "SETUP\nPKG_TAR.001\nend_of_list\nlower\n");
  EXPECT_EQ(DisksListPieces(), (Words{"PKG_TAR.001"}));
}

TEST(DisksList, PiecesInListedOrderAndTabsJoinWords) {
  ScratchDir dir;
  dir.Write("disks", "pkg_tar.002 x pkg_tar.001\r\npkg_tar.003\tpkg_tar.004\n");
  GetDisksData(dir.path().c_str());
  EXPECT_EQ(DisksListPieces(), (Words{"pkg_tar.002", "pkg_tar.001", "pkg_tar.003\tpkg_tar.004"}));
}

TEST(DisksList, FilesByLineWithTheirOwnEndMarks) {
  ScratchDir dir;
  dir.Write("disks", "a end_of_list b\r\n\r\nc\td\nend_of_list\ne\n");
  GetDisksData(dir.path().c_str());
  std::vector<Words> lines = DisksListFiles();
  // end_of_list as a word ends its line only; as a line it ends the list.
  EXPECT_EQ(lines, (std::vector<Words>{{"a"}, {"c", "d"}}));
}

TEST(DisksListDeathTest, MissingListEndsWithStatusOne) {
  ScratchDir dir;
  EXPECT_EXIT(GetDisksData(dir.path().c_str()), testing::ExitedWithCode(1),
              "^ERROR: can't open file, VexlaInstall/disks\n$");
}

TEST(DisksListDeathTest, NamesThatCannotBeUsedSafelyAreRefused) {
  for (const char* bad : {"a;b", "../x", "..", "$(id)", "a b", "", "/etc/passwd", "db/../x", "db//x", "db/",
                          "./x", "db/."})
    EXPECT_EXIT(CheckMediumFileName(bad), testing::ExitedWithCode(1), "cannot be used") << bad;
  // A file in a folder of the medium, such as its string database, is fine.
  for (const char* good : {"pkg_tar.001", "setup.hlp", "db/drvcore.vdb", "DB/DRVCORE.VDB", "a/b/c"})
    CheckMediumFileName(good);
}

class JoinPieces : public CommandTableTest {
 protected:
  void SetUp() override {
    CommandTableTest::SetUp();
    pTmpDir = const_cast<char*>(area.path().c_str());
    workDir = area.path() + "/VexlaInstall";
    pVexlaInstallDir = const_cast<char*>(workDir.c_str());
  }

  // Unlogged: no redirection of its own, only the caller's append.
  std::string CatLine(const std::string& piece) const {
    return ShellLine(kCmdCat, workDir + "/" + piece + " >> " + workDir + "/Linuxi386Vpxx.tar.Z", "");
  }

  ScratchDir area;
  std::string workDir;
};

TEST_F(JoinPieces, CatsEveryListedPieceInOrder) {
  area.Write("VexlaInstall/disks", "setup\npkg_tar.002\npkg_tar.001\nend_of_list\npkg_tar.003\n");
  area.Write("VexlaInstall/pkg_tar.001", "1");
  area.Write("VexlaInstall/pkg_tar.002", "2");
  area.Write("VexlaInstall/pkg_tar.003", "3");
  HostRecorder host;
  GenZFile();
  EXPECT_EQ(host.lines, (Words{CatLine("pkg_tar.002"), CatLine("pkg_tar.001")}));
}

TEST_F(JoinPieces, OldJoinedArchiveIsRemovedFirst) {
  area.Write("VexlaInstall/disks", "pkg_tar.001\n");
  area.Write("VexlaInstall/pkg_tar.001", "1");
  area.Write("VexlaInstall/Linuxi386Vpxx.tar.Z", "old");
  HostRecorder host;
  GenZFile();
  ASSERT_EQ(host.lines.size(), 2u);
  EXPECT_NE(host.lines[0].find("rm -rf " + workDir + "/Linuxi386Vpxx.tar.Z"), std::string::npos) << host.lines[0];
  EXPECT_EQ(host.lines[1], CatLine("pkg_tar.001"));
}

TEST_F(JoinPieces, MissingPieceStopsBeforeAnythingIsJoined) {
  area.Write("VexlaInstall/disks", "pkg_tar.001\npkg_tar.002\n");
  area.Write("VexlaInstall/pkg_tar.001", "1");
  EXPECT_EXIT(
      {
        HostRecorder host;
        GenZFile();
        std::exit(host.lines.empty() ? 0 : 3);
      },
      testing::ExitedWithCode(1), "archive piece pkg_tar.002 is missing");
  // Two names joined by a tab name no piece at all.
  area.Write("VexlaInstall/disks", "pkg_tar.001\tpkg_tar.002\n");
  EXPECT_EXIT(GenZFile(), testing::ExitedWithCode(1), "cannot be used: pkg_tar.001\tpkg_tar.002");
  area.Write("VexlaInstall/disks", "setup\nend_of_list\npkg_tar.001\n");
  EXPECT_EXIT(GenZFile(), testing::ExitedWithCode(1), "names no archive piece");
}

// An archive is whole only with tar's two zero blocks at a block boundary
// at its end: cut anywhere before them, at a member's end too, it is not.
TEST(UnpackedArchive, IsWholeOnlyWithItsEndBlocks) {
  const std::string member = std::string(512, 'h') + std::string(512, 'd');
  const std::string zeros(1024, '\0');
  const struct {
    const char* what;
    std::string bytes;
    bool whole;
  } cases[] = {
      {"complete", member + member + zeros + std::string(8192, '\0'), true},
      {"only the end blocks", zeros, true},
      {"cut at a member's end", member + member, false},
      {"one end block", member + std::string(512, '\0'), false},
      {"cut inside a block", member + zeros + std::string(100, '\0'), false},
      {"zeros not at the end", member + zeros + member, false},
      {"empty", "", false},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IsCompleteTarArchive(dir.Write("a.tar", c.bytes).c_str()), c.whole);
  }
  EXPECT_FALSE(IsCompleteTarArchive(dir.File("missing.tar").c_str()));
  EXPECT_FALSE(IsCompleteTarArchive(dir.path().c_str()));
}

}  // namespace
