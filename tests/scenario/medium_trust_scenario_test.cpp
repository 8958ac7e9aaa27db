// What a run may trust, with the real program in the sandbox: a checksum
// file that covers the whole medium, files that are files, a work area
// apart from what the installation writes, and a preview that takes
// nothing from a work directory someone else controls and leaves nothing
// behind.
#include <sys/stat.h>

#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// A diskette set read into the work directory, run from there.
SandboxOptions FromDisketteSet() {
  SandboxOptions o = FromMedium("");
  o.copies = {{DisketteMedium(), "/tmp/VexlaInstall"}};
  o.cwd = "/tmp/VexlaInstall";
  return o;
}

const std::vector<std::string> kSiteRun = {"./setup", "install", "/opt"};
const std::vector<std::string> kDisketteRun = {"./SETUP", "install", "/opt"};

// A medium whose checksum file leaves a file out or holds no line, or
// that holds a FIFO where a file was, is damaged: the run ends at once
// with status 1, names what is wrong, and joins and installs nothing.
TEST(MediumTrustScenario, AnIncompleteOrUnreadableMediumInstallsNothing) {
  SETUP_REQUIRE_SANDBOX();
  const struct Case {
    const char* what;
    SandboxOptions options;
    std::string change;
    std::vector<std::string> run;
    std::string why;
  } cases[] = {
      {"no-line", FromSite(), "cd /media && grep -v ' pkg_tar.001$' sha256 > s && mv s sha256", kSiteRun,
       "ERROR: pkg_tar.001 has no line in the checksum file /media/sha256"},
      {"empty", FromSite(), ": > /media/sha256", kSiteRun, "/media/sha256 holds no line"},
      {"diskette-no-line", FromDisketteSet(), "cd /tmp/VexlaInstall && grep -v ' PKG_TAR.002$' SHA256 > s && mv s SHA256",
       kDisketteRun, "ERROR: PKG_TAR.002 has no line in the checksum file /tmp/VexlaInstall/SHA256"},
      {"fifo-site", FromSite(), "rm /media/pkg_tar.001 && mkfifo /media/pkg_tar.001", kSiteRun,
       "ERROR: pkg_tar.001 in /media cannot be read as a regular file"},
      {"fifo-diskette", FromDisketteSet(), "cd /tmp/VexlaInstall && rm PKG_TAR.002 && mkfifo PKG_TAR.002", kDisketteRun,
       "ERROR: PKG_TAR.002 in /tmp/VexlaInstall cannot be read as a file"},
      // An older set, without a checksum file: the join meets the FIFO.
      {"fifo-unchecked", FromDisketteSet(),
       "cd /tmp/VexlaInstall && grep -vx SHA256 DISKS > d && mv d DISKS && rm SHA256 PKG_TAR.002 && mkfifo PKG_TAR.002",
       kDisketteRun, "ERROR: archive piece PKG_TAR.002 in /tmp/VexlaInstall cannot be read as a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = c.options;
    o.setup.push_back(c.change);
    o.timeoutSeconds = 20;
    SandboxResult r = RunInSandbox(std::string("trust-medium-") + c.what, o, c.run);
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, c.why)) << r.err;
    const std::string log = r.Read("/tmp/setup.log") + r.Read("/tmp/SETUP.log");
    EXPECT_FALSE(Contains(log, "uncompress")) << "joined or unpacked a damaged medium";
    ExpectNothingInstalled(r);
  }
}

// Every path of what an installation writes, the work directories left
// out, into the file given.
std::string ListInstalledFolders(const std::string& file) {
  return "find /opt/Vexla /srv /var/spool/Vexla /usr/Vexla /usr/bin/vprint -name VexlaInstall -prune -o -print 2>/dev/null | sort > " +
         file + "; ";
}

// A work area inside a folder the installation writes (reached by "..",
// through a link, or found by the menu's dialogue), or an installation
// inside the work directory, is refused with status 2 before anything of
// the product is made.
TEST(MediumTrustScenario, AWorkAreaAmongTheInstalledFoldersIsRefused) {
  SETUP_REQUIRE_SANDBOX();
  const struct Case {
    const char* what;
    std::string setup;
    std::string run;
    std::string why;
  } cases[] = {
      {"application", "mkdir -p /opt/Vexla/vpxx/work", "./setup /opt/Vexla/vpxx/work install /opt",
       "the work area may not lie inside /opt/Vexla, which the installation writes"},
      {"dot-dot", "mkdir -p /opt/Vexla/w /opt/x", "./setup /opt/x/../Vexla/w install /opt", "inside /opt/Vexla,"},
      {"link", "mkdir -p /var/spool/Vexla/w /srv && ln -s /var/spool/Vexla/w /srv/w", "./setup /srv/w install /opt",
       "inside /var/spool/Vexla,"},
      {"earlier", "mkdir -p /srv/old/Vexla/w && printf '%s\\n' '#!/bin/sh' 'cd /srv/old/Vexla/vpxx' > /usr/bin/vprint",
       "./setup /srv/old/Vexla/w", "inside /srv/old/Vexla,"},
      {"menu", "mkdir -p /opt/Vexla/w", "printf '1\\n/opt\\n\\ny\\n' | ./setup menu /opt/Vexla/w", "inside /opt/Vexla,"},
      {"preview", "mkdir -p /opt/Vexla/w", "./setup preview /opt/Vexla/w install /opt", "inside /opt/Vexla,"},
      {"installation-in-work", "mkdir -p /srv/VexlaInstall && ln -s /srv/VexlaInstall /srv/inst",
       "./setup /srv install /srv/inst", "the installation would write /srv/inst/Vexla inside the work directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back(c.setup);
    SandboxResult r = RunInSandbox(
        std::string("trust-workarea-") + c.what, o,
        Shell(ListInstalledFolders("/root/before") + c.run + " > /root/out 2> /root/err; echo \"status=$?\"; " +
              ListInstalledFolders("/root/after") + "cmp -s /root/before /root/after && echo unchanged"));
    EXPECT_EQ(Printed(r.out, "status"), "2") << r.Read("/root/out") << r.Read("/root/err");
    EXPECT_TRUE(Contains(r.Read("/root/err"), c.why)) << r.Read("/root/err");
    EXPECT_TRUE(Contains(r.out, "\nunchanged\n")) << r.Read("/root/before") << "--\n" << r.Read("/root/after");
  }
}

// The preview of a diskette set takes its files from the work directory
// only when nobody else can have put them there, and copies nothing
// otherwise.
TEST(MediumTrustScenario, APreviewTakesNoDisketteSetFromAWorkDirectoryOthersControl) {
  SETUP_REQUIRE_SANDBOX();
  const std::pair<std::string, const char*> cases[] = {
      {"chown -R 65534:65534 /tmp/VexlaInstall", "the work directory /tmp/VexlaInstall belongs to another user"},
      {"chgrp lp /tmp/VexlaInstall && chmod 775 /tmp/VexlaInstall", "is writable by its group"},
      {"chmod 777 /tmp/VexlaInstall && " + AsAttacker("rm -f /tmp/VexlaInstall/PKG_TAR.002 && echo theirs > /tmp/VexlaInstall/PKG_TAR.002"),
       "is writable by others"},
  };
  for (const auto& [setup, why] : cases) {
    SCOPED_TRACE(why);
    SandboxOptions o = FromDisketteSet();
    o.setup.push_back(setup);
    SandboxResult r = RunInSandbox("trust-preview-workdir", o, {"./SETUP", "preview", "install", "/opt"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, why)) << r.err;
    for (const std::string& change : r.changes) EXPECT_FALSE(Contains(change, "setup-preview")) << change;
  }
}

// An archive holding a folder of mode 0555: the preview, run by a user
// who cannot write into such a folder, still removes its private
// directory.
TEST(MediumTrustScenario, APreviewLeavesNoPrivateDirectoryBehind) {
  SETUP_REQUIRE_SANDBOX();
  const std::string product = Product("read-only-folder", "");
  ASSERT_EQ(chmod((product + "/pkg/lib/forms").c_str(), 0555), 0);
  SandboxResult r = RunInSandbox(
      "trust-preview-read-only", FromMedium(Medium("read-only-folder", product)),
      {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "./setup", "preview", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "/usr/bin/tar xvfp /tmp/VexlaInstall/Linuxi386Vpxx.tar\n")) << r.out;
  EXPECT_EQ(r.changes, std::vector<std::string>{}) << "the preview left something behind";
}

}  // namespace
