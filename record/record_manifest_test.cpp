#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include <string>

#include "Sha256.h"
#include "installer.h"
#include "record.h"
#include "record_format.h"
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

  // A path with an empty, "." or ".." step, a link line without its
  // target and a target on any other line are damage too.
  for (const char* bad : {"x 0644 root root - - /a\n", "f 0644 root root 3 abc /a\n", "d 0755 root root - - a\n",
                          "d 0755 root root - - /a%zz\n", "d 644 root root - - /a\n", "d 0855 root root - - /a\n",
                          "d 0755 root root - - /\n", "d 0755 root root - - /a//b\n", "d 0755 root root - - /a/\n",
                          "n 0644 root root - - /a/./b\n", "n 0644 root root - - /a/../etc/shadow\n",
                          "n 0644 root root - - /a%00b\n", "n 0644 root root - -  /a\n", "l 0777 root root - - /a\n",
                          "n 0644 root root - - /a /b\n"}) {
    app.Write("setup.manifest", std::string("# setup manifest 1\n\n") + bad);
    EXPECT_EXIT(VerifyInstallation(app.path().c_str()), testing::ExitedWithCode(2), "damaged, line 3") << bad;
  }
  ASSERT_EQ(unlink(app.File("setup.manifest").c_str()), 0);
  EXPECT_EQ(VerifyInstallation(app.path().c_str()), 2);
}

// verify and remove act only on a manifest root alone could have written:
// each way another user could have put one there is refused with status 2
// and named, a FIFO without waiting for a writer.
TEST(ManifestTest, OnlyAManifestRootAloneCouldHaveWrittenIsTrusted) {
  if (geteuid() != 0) GTEST_SKIP() << "the manifest must be root's";
  ScratchDir app;
  const std::string manifest = app.File("setup.manifest");
  const std::string other = app.File("other");
  const std::string text = "# setup manifest 1\nd 0755 root root - - " + app.path() + "\n";
  ASSERT_EQ(chmod(app.path().c_str(), 0755), 0);
  struct Case {
    const char* why;
    std::function<int()> plant;  // 0 when done
  };
  const Case cases[] = {
      {"it is writable by others than root (mode 0664)", [&] { return chmod(manifest.c_str(), 0664); }},
      {"it is writable by others than root (mode 0602)", [&] { return chmod(manifest.c_str(), 0602); }},
      {"it is not owned by root (uid 65534)", [&] { return chown(manifest.c_str(), 65534, 0); }},
      {"it has 2 links", [&] { return link(manifest.c_str(), other.c_str()); }},
      {"it is a symbolic link",
       [&] { return rename(manifest.c_str(), other.c_str()) | symlink(other.c_str(), manifest.c_str()); }},
      {"it is not a regular file", [&] { return unlink(manifest.c_str()) | mkfifo(manifest.c_str(), 0600); }},
      {"it is not a regular file", [&] { return unlink(manifest.c_str()) | mkdir(manifest.c_str(), 0700); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::remove(other.c_str());
    std::remove(manifest.c_str());
    app.Write("setup.manifest", text);
    ASSERT_EQ(chmod(manifest.c_str(), 0644), 0);
    testing::internal::CaptureStdout();
    const int trusted = VerifyInstallation(app.path().c_str());
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(trusted, 0);
    ASSERT_EQ(c.plant(), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(VerifyInstallation(app.path().c_str()), 2);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(err.find("the manifest " + manifest + " is not trusted: " + c.why + "; nothing to verify") !=
                std::string::npos)
        << err;
  }
}

// A new manifest carries over from the earlier one, and from the notes of
// a stopped run, only the outside paths an installation makes there: a
// folder, not the file without content that a walk of it took in (as the
// manifests of earlier versions did); and nothing of an earlier manifest
// that others could have written, which is named and replaced.
TEST(ManifestTest, OnlyTrustedOutsidePathsOfTheMakingKindAreCarriedOver) {
  if (geteuid() != 0) GTEST_SKIP() << "the manifest must be root's";
  ScratchDir root;
  const std::string out = root.path() + "/made";
  root.Write("made/theirs", "theirs");
  root.Write("noted", "");
  const std::string app = root.path() + "/app";
  const std::string manifest = root.Write("app/setup.manifest", "# setup manifest 1\nd 0755 root root - - " + out +
                                                                    "\nn 0644 root root - - " + out + "/theirs\n");
  const std::string notes = root.Write("app/setup.made", "# setup made 1\n" + root.path() + "/noted\n");
  ASSERT_EQ(chmod(manifest.c_str(), 0644) | chmod(notes.c_str(), 0644), 0);
  ASSERT_TRUE(CopyText(AppDir, sizeof AppDir, app.c_str()));
  ManifestBegin();
  ASSERT_TRUE(WriteManifest());
  std::string text = ReadWholeFile(manifest);
  EXPECT_NE(text.find(" " + out + "\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" " + root.path() + "/noted\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("theirs"), std::string::npos) << text;
  EXPECT_NE(access(notes.c_str(), F_OK), 0) << "the manifest claims what the notes did";

  ASSERT_EQ(chmod(manifest.c_str(), 0666), 0);
  testing::internal::CaptureStderr();
  ManifestBegin();
  const bool written = WriteManifest();
  const std::string err = testing::internal::GetCapturedStderr();
  AppDir[0] = '\0';
  ASSERT_TRUE(written);
  EXPECT_NE(err.find("the earlier manifest " + manifest +
                     " is not used: it is writable by others than root (mode 0666); the new one replaces it"),
            std::string::npos)
      << err;
  text = ReadWholeFile(manifest);
  EXPECT_EQ(text.find(" " + out + "\n"), std::string::npos) << text;
  struct stat st;
  ASSERT_EQ(stat(manifest.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
}

// verify --json names the medium the manifest records (its signer "not
// recorded" in a manifest from before signers were) and each difference
// with what is wanted and what is there, every byte of a name escaped; the
// differing path's line is the one verify prints. A recorded signer comes
// back as it was, blanks, % and control bytes included.
TEST(ManifestTest, VerifyAsJsonNamesTheMediumAndEachDifference) {
  if (geteuid() != 0) GTEST_SKIP() << "the manifest must be root's";
  ScratchDir app;
  const std::string file = app.Write("caf\xe9", "abc");
  ASSERT_EQ(chmod(file.c_str(), 0600) | chmod(app.path().c_str(), 0755), 0);
  const std::string digest(64, '5');
  const std::string manifest = app.Write("setup.manifest", "# setup manifest 1\n# medium sha256 " + digest +
                                                               "\nn 0644 root root - - " + app.path() + "/caf%E9\n");
  ASSERT_EQ(chmod(manifest.c_str(), 0644), 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(VerifyInstallation(app.path().c_str(), true), 1);
  const std::string json = testing::internal::GetCapturedStdout();
  EXPECT_EQ(json, "{\"manifest\":\"" + manifest + "\",\"manifest_state\":\"read\",\"medium_sha256\":\"" +
                      digest +
                      "\",\"signature\":{\"state\":\"not recorded\",\"key_id\":\"\",\"trusted_comment\":\"\"},"
                      "\"checked\":1,\"differing\":1,\"differences\":[{\"kind\":\"mode\",\"path\":\"" +
                      app.path() + "/caf\\u00e9\",\"want\":\"0644\",\"have\":\"0600\"}],\"paths\":[\"" + app.path() +
                      "/caf\\u00e9\"],\"status\":1}\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(VerifyInstallation(app.path().c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 200),
            "mode " + app.path() + "/caf\xe9: 0644 is 0600\n1 paths checked against " + manifest + ": 1 differ\n");
  MediumSigner signer;
  signer.state = MediumSigner::kNotChecked;
  signer.keyId = "7DC98325D2200694";
  signer.trustedComment = "product a b%20\x01";
  ASSERT_EQ(unlink(manifest.c_str()), 0);
  app.Write("setup.manifest", ManifestHeading() + ManifestMediumRecord(digest, signer));
  ASSERT_EQ(chmod(manifest.c_str(), 0644), 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(VerifyInstallation(app.path().c_str(), true), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "\"signature\":{\"state\":\"not checked\",\"key_id\":\"7DC98325D2200694\","
                "\"trusted_comment\":\"product a b%20\\u0001\"}"),
            std::string::npos);
  ASSERT_EQ(unlink(manifest.c_str()), 0);
  testing::internal::CaptureStdout();
  EXPECT_EQ(VerifyInstallation(app.path().c_str(), true), 2);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("\"manifest_state\":\"missing\",\"reason\":\"no manifest\",\"status\":2}"),
            std::string::npos);
}

}  // namespace
