#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "Sha256.h"
#include "installer.h"
#include "test_support.h"

namespace {

// A manifest names paths with blanks and other bytes as %XX, and a line
// that is not of its form is a damaged manifest, never a path to act on.
TEST(ManifestDeathTest, PathsAreEscapedAndDamagedLinesRefused) {
  ScratchDir app;
  const std::string file = app.Write("a b%", "abc");
  ASSERT_EQ(chmod(file.c_str(), 0644), 0);
  ASSERT_EQ(chmod(app.path().c_str(), 0755), 0);
  struct stat st;
  ASSERT_EQ(stat(file.c_str(), &st), 0);
  std::string hex;
  ASSERT_TRUE(Sha256File(file.c_str(), &hex));
  if (st.st_uid != 0 || st.st_gid != 0) GTEST_SKIP() << "the manifest below names root as the owner";
  const std::string owners = "root root";
  const std::string escaped = app.path() + "/a%20b%25";
  app.Write("setup.manifest", "# setup manifest 1\nf 0644 " + owners + " 3 " + hex + " " + escaped + "\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(VerifyInstallation(app.path().c_str()), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("1 paths checked"), std::string::npos);

  for (const char* bad : {"x 0644 root root - - /a\n", "f 0644 root root 3 abc /a\n", "d 0755 root root - - a\n",
                                 "d 0755 root root - - /a%zz\n", "d 644 root root - - /a\n"}) {
    app.Write("setup.manifest", std::string("# setup manifest 1\n\n") + bad);
    EXPECT_EXIT(VerifyInstallation(app.path().c_str()), testing::ExitedWithCode(2), "damaged, line 3") << bad;
  }
  ASSERT_EQ(unlink(app.File("setup.manifest").c_str()), 0);
  EXPECT_EQ(VerifyInstallation(app.path().c_str()), 2);
}

}  // namespace
