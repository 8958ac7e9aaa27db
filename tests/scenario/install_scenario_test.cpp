// Whole installations with the real program, the real medium builder and
// real host tools, in the sandbox: what a run leaves on the machine, what it
// prints and how it ends, for the host and medium variations an
// administrator meets.
#include <fcntl.h>
#include <grp.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

extern char** environ;

namespace {

// ---------------------------------------------------------------------------
// Media of these scenarios only.

std::string HelpMedium() {
  const std::string help = MediaRoot() + "/setup.hlp";
  std::ofstream(help) << "<html><body>Help of setup.</body></html>\n";
  return Medium("help", SAMPLE_PRODUCT_DIR, {"--help-file", help});
}

// A site whose archive holds no package list.
std::string NoListMedium() {
  const std::string product = Product("nolist", "");
  const std::string medium = Medium("nolist", product);
  static bool done = false;
  if (!done) {
    done = true;
    std::remove((product + "/pkg/pkg.list").c_str());
    std::string out;
    // The medium's checksum follows the remade piece: the medium is whole,
    // its archive only lacks the list.
    if (RunTool({"sh", "-c", "tar -C '" + product + "' --owner=0 --group=0 -cf - pkg | compress -c > '" + medium +
                                 "/pkg_tar.001' && cd '" + medium +
                                 "' && grep -v ' pkg_tar.001$' sha256 > s && sha256sum pkg_tar.001 >> s && mv s sha256"},
                &out) != 0)
      ADD_FAILURE() << "cannot remake the archive: " << out;
  }
  return medium;
}

double SizeFileOf(const std::string& medium, const char* name) {
  return std::strtod(ReadWholeFile(medium + "/" + name).c_str(), nullptr);
}

// ---------------------------------------------------------------------------
// Complete installations.

TEST(InstallScenario, SiteIntoOpt) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("install-opt", FromSite(), {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(Contains(r.out, "vpqadmin: settings upgraded\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "vpqadmin: work files cleaned\n")) << r.out;
  ExpectInstalled(r, "/opt");
  const std::string log = r.Read("/tmp/setup.log");
  EXPECT_EQ(log.rfind("initializing system\n", 0), 0u) << log;
  EXPECT_FALSE(Contains(log, "ERROR")) << log;
  EXPECT_FALSE(Contains(log, "WARNING")) << log;
}

TEST(InstallScenario, SiteIntoUsrMakesNoLink) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("install-usr", FromSite(), {"./setup", "install", "/usr/"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  ExpectInstalled(r, "/usr");
  // The one link made is the package list's.
  EXPECT_EQ(Count(r.Read("/tmp/setup.log"), "/ln  -s "), 1) << r.Read("/tmp/setup.log");
}

TEST(InstallScenario, TheLinkUnderUsrFitsWhatIsThere) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string setup;
    std::string path;    // the link looked at
    std::string target;  // where it points afterwards
  } cases[] = {
      {"directory", "mkdir /usr/Vexla", "/usr/Vexla/vpxx", "/opt/Vexla/vpxx"},
      {"stale-link", "mkdir /usr/Vexla && ln -s /srv/old/Vexla/vpxx /usr/Vexla/vpxx", "/usr/Vexla/vpxx",
       "/opt/Vexla/vpxx"},
      // Someone else's link is left alone.
      {"link", "ln -s /srv/Vexla /usr/Vexla", "/usr/Vexla", "/srv/Vexla"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back(c.setup);
    SandboxResult r = RunInSandbox(std::string("install-usr-link-") + c.what, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    FileInfo link = Info(r, c.path);
    if (std::string(c.what) == "link") {
      EXPECT_FALSE(r.Changed(c.path));
    } else {
      EXPECT_EQ(link.type, static_cast<mode_t>(S_IFLNK));
      EXPECT_EQ(link.link, c.target);
    }
    EXPECT_EQ(r.Read("/opt/Vexla/vpxx/vpqadmin.log"), kUpgradedAndCleaned);
  }
}

TEST(InstallScenario, PlainSetupFindsTheEarlierInstallationOrUsesUsr) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string wrapper;  // /usr/bin/vprint before the run; empty: none
    std::string dir;
  } cases[] = {
      {"none", "", "/usr"},
      {"wrapper", "printf '%s\\n' '#!/bin/sh' 'VPrintFileSourceDir=`pwd`' 'cd /opt/Vexla/vpxx' "
                  "'exec /opt/Vexla/vpxx/bin/vprint $*' > /usr/bin/vprint",
       "/opt"},
      // A wrapper that names no product tree tells of no earlier installation.
      {"foreign-wrapper", "printf '%s\\n' '#!/bin/sh' 'cd /srv/print' 'exec ./vprint' > /usr/bin/vprint", "/usr"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back("rm -f /usr/bin/vprint");
    if (!c.wrapper.empty()) o.setup.push_back(c.wrapper);
    SandboxResult r = RunInSandbox(std::string("install-plain-") + c.what, o, {"./setup"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    ExpectInstalled(r, c.dir);
  }
}

TEST(InstallScenario, DisketteSetInTheWorkDirectory) {
  SETUP_REQUIRE_SANDBOX();
  // The diskettes were read into the work directory, which is the medium;
  // the list's names in lower case are taken as the upper-case files.
  SandboxOptions o = FromMedium("");
  o.copies = {{DisketteMedium(), "/tmp/VexlaInstall"}};
  // An older set, without a checksum file, as these lists were made.
  o.setup.push_back(
      "cd /tmp/VexlaInstall && grep -vx SHA256 DISKS | tr A-Z a-z > d && mv d DISKS && rm SHA256 && "
      "grep -qx pkg_tar.005 DISKS");
  o.cwd = "/tmp/VexlaInstall";
  SandboxResult r = RunInSandbox("install-diskette", o, {"./SETUP", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  ExpectInstalled(r, "/opt");
  // The work directory, diskettes and all, is cleaned up at the end.
  EXPECT_TRUE(r.Changed("/tmp/VexlaInstall"));
  EXPECT_TRUE(Contains(r.Read("/tmp/SETUP.log"), "uncompress")) << r.Read("/tmp/SETUP.log");
}

TEST(InstallScenario, TheSpoolerFlagFollowsTheHost) {
  SETUP_REQUIRE_SANDBOX();
  const std::string lprng = StandIn("/usr/sbin/lpd", "echo \"lpd (LPRng) 3.8.28\"");
  const std::string cups = ": > /usr/sbin/cupsd && chmod 755 /usr/sbin/cupsd";
  // The installed print interface script, as each spooler starts it, runs
  // the installed print interface program (which prints its arguments).
  const std::string lprngJob =
      "cd /var/spool && CONTROL='Hhost1\nPalice\nJjob title\nNfile\nUdfA001\nUdfB001\nZa=1,b=2\n' "
      "SPOOL_DIR=/var/spool/lp1 PRINTER=lp1 /opt/Vexla/vpxx/VexlaPrintvpxx -print";
  const std::string cupsJob = "cd /var/spool && PRINTER=laser /opt/Vexla/vpxx/VexlaPrintvpxx 17 bob title 1 opts /tmp/f1";
  const std::string cupsOut = "-dlaser\n-i\n/tmp/f1\n";
  struct Case {
    const char* what;
    std::vector<std::string> setup;
    const char* flag;
    std::string job;
    std::string printed;
  } cases[] = {
      // One N line and two U lines: two copies, so only the second file.
      {"lprng", {lprng}, " LPRng ", lprngJob, "-dlp1\n-Jjob\n-oa=1\n-ob=2\n-c2\n/var/spool/lp1/dfB001\nOutput for LPRng\n"},
      {"cups", {cups}, " CUPS ", cupsJob, cupsOut},
      {"both", {lprng, cups}, " CUPS ", cupsJob, cupsOut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.insert(o.setup.end(), c.setup.begin(), c.setup.end());
    SandboxResult r = RunInSandbox(std::string("install-spooler-") + c.what, o,
                                   Shell("./setup install /opt; echo \"status=$?\"; echo '== job'; " + c.job));
    EXPECT_EQ(Printed(r.out, "status"), "0") << r.out << r.err;
    EXPECT_EQ(r.Read("/opt/Vexla/vpxx/.vp_cfg"), c.flag);
    size_t job = r.out.find("== job\n");
    ASSERT_NE(job, std::string::npos) << r.out;
    EXPECT_EQ(r.out.substr(job + 7), c.printed) << r.err;
  }
  // Neither: " BSD ", as every other installation here shows.
}

TEST(InstallScenario, MediumCopiedIntoTheWorkAreaKeepsItsOwnFiles) {
  SETUP_REQUIRE_SANDBOX();
  // Run from /tmp itself: the medium's setup and setup.hlp are the work
  // area's, and neither the start nor the clean-up may remove them.
  SandboxOptions o = FromMedium(HelpMedium());
  o.setup.push_back("cp -a /media/. /tmp/ && grep -qx setup.hlp /tmp/disks");
  o.cwd = "/tmp";
  SandboxResult r = RunInSandbox(
      "install-from-tmp", o,
      Shell("./setup install /opt; echo \"status=$?\"; cmp /tmp/setup /media/setup && "
            "cmp /tmp/setup.hlp /media/setup.hlp && echo kept"));
  EXPECT_EQ(Printed(r.out, "status"), "0") << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "\nkept\n")) << r.out << r.err;
  ExpectInstalled(r, "/opt");

  // A stray program of another medium in the work area is removed.
  o = FromMedium(HelpMedium());
  o.setup.push_back("echo stray > /tmp/setup && echo stray > /tmp/setup.hlp");
  r = RunInSandbox("install-stray", o, {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  for (const char* gone : {"D /tmp/setup", "D /tmp/setup.hlp"})
    EXPECT_NE(std::find(r.changes.begin(), r.changes.end(), gone), r.changes.end()) << gone;
}

// ---------------------------------------------------------------------------
// Refusals: nothing is installed, and the run says why.

TEST(InstallScenario, AUserOtherThanRootInstallsNothing) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox(
      "install-nobody", FromSite(),
      {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "nobody is logged in\nYou must become root to run setup\n")) << r.out;
  // Only its own log; the work directory it made is gone again.
  EXPECT_EQ(r.changes, std::vector<std::string>{"A /tmp/setup.log"});

  // With a work area that user cannot write, the run ends before it gets
  // as far as asking who runs it: the work directory cannot be made.
  r = RunInSandbox("install-nobody-workarea", FromSite(),
                   {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "./setup", "/var", "install",
                    "/opt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.err, "can't create the work directory /var/VexlaInstall")) << r.err;
  EXPECT_EQ(r.changes, std::vector<std::string>{"A /tmp/setup.log"});
}

TEST(InstallScenario, NotEnoughSpace) {
  SETUP_REQUIRE_SANDBOX();
  const std::string medium = SiteMedium();
  const long needInstall = static_cast<long>(SizeFileOf(medium, "isize")) + 40;
  const long needWork = static_cast<long>(SizeFileOf(medium, "tsize")) + 40;
  auto e = [](long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%e", static_cast<double>(n));
    return std::string(buf);
  };
  // A df that reports the work area /tmp and everything else as two file
  // systems (or one) with the room given.
  auto df = [](long work, long other, bool onePartition) {
    std::string line = onePartition ? "echo \"/dev/sbx 900000 1 " + std::to_string(other) + " 1% /\""
                                    : "case \"$1\" in /tmp*) echo \"/dev/work 900000 1 " + std::to_string(work) +
                                          " 1% /tmp\";; *) echo \"/dev/root 900000 1 " + std::to_string(other) +
                                          " 1% /\";; esac";
    return "printf '%s\\n' '#!/bin/sh' 'echo \"Filesystem 1K-blocks Used Available Use% Mounted on\"' '" + line +
           "' > /usr/sbin/df && chmod 755 /usr/sbin/df";
  };
  struct Case {
    const char* what;
    std::string df;
    std::string message;
  } cases[] = {
      {"work-area", df(needWork - 1, 1000000, false),
       "There isn't enough space in /tmp to perform the installation activities. The temporary work area "
       "should be at least " + e(needWork) + " bytes."},
      {"install-area", df(1000000, needInstall - 1, false),
       "There isn't enough space in /opt to perform the installation activities. The install area should be "
       "at least " + e(needInstall) + " bytes."},
      {"one-partition", df(0, needInstall + needWork - 1, true),
       "As you are using a working directory, /tmp/VexlaInstall on the same partition as the install directory "
       "you have selected, /opt this install requires " + e(needInstall + needWork) + " bytes free."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back(c.df);
    SandboxResult r = RunInSandbox(std::string("install-space-") + c.what, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.out, c.message)) << r.out;
    EXPECT_EQ(r.changes, (std::vector<std::string>{"A " + std::string(kLockFile), "A /tmp/setup.log"}));
  }

  // A real small file system as the work area.
  SandboxResult r = RunInSandbox(
      "install-space-tmpfs", FromSite(),
      Shell("mkdir /sbxwork && mount -t tmpfs -o size=64k sbx-work /sbxwork && ./setup /sbxwork install /opt; "
            "echo \"status=$?\"; umount /sbxwork"));
  EXPECT_EQ(Printed(r.out, "status"), "1") << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "There isn't enough space in /sbxwork to perform")) << r.out;
  ExpectNothingInstalled(r);
}

// A full file system under the installation or the work area is never a
// success: with the free-space check skipped, the failed steps are named
// and counted, the run ends with 1, and no program that may be cut short
// is made set-user-ID.
TEST(InstallScenario, AFullFileSystemIsNoSuccess) {
  SETUP_REQUIRE_SANDBOX();
  const std::string fullOpt = "mount -t tmpfs -o size=8k sbx-opt /opt";
  const std::string fullWork = "mkdir /sbxwork && mount -t tmpfs -o size=64k sbx-work /sbxwork";
  struct Case {
    const char* what;
    std::string mount;
    std::string run;
    std::vector<std::string> messages;  // in what the run printed
  } cases[] = {
      {"opt-unchecked", fullOpt, "./setup no_space_check install /opt",
       {"ERROR: /opt/Vexla/vpxx/VexlaVSF was not written", "ERROR: package list, line ",
        "steps of the installation failed; the log /tmp/setup.log tells more"}},
      {"opt-checked", fullOpt, "./setup install /opt", {"There isn't enough space in /opt"}},
      {"work-unchecked", fullWork, "./setup no_space_check /sbxwork install /opt",
       {"ERROR: cp: exit status 1", "ERROR: the command that failed: /usr/bin/cp -p /media/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxResult r = RunInSandbox(
        std::string("install-full-") + c.what, FromSite(),
        Shell(c.mount + " && " + c.run + " > /root/out 2>&1; echo \"status=$?\"; " +
              "echo \"suid=$(find /opt -xdev -perm -4000 -type f | tr '\\n' ' ')\""));
    const std::string out = r.Read("/root/out");
    EXPECT_EQ(Printed(r.out, "status"), "1") << out;
    for (const std::string& m : c.messages) EXPECT_TRUE(Contains(out, m)) << m << "\n" << out;
    EXPECT_EQ(Printed(r.out, "suid"), "") << out;
  }
}

TEST(InstallScenario, AMissingSizeFileEndsTheRun) {
  SETUP_REQUIRE_SANDBOX();
  for (const char* file : {"isize", "tsize"}) {
    SCOPED_TRACE(file);
    SandboxOptions o = FromSite();
    o.setup.push_back(std::string("rm /media/") + file);
    SandboxResult r = RunInSandbox(std::string("install-no-") + file, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_EQ(r.out, "Could not determine how much space needed for install, missing isize.\n");
    EXPECT_EQ(r.changes, (std::vector<std::string>{"A " + std::string(kLockFile), "A /tmp/setup.log"}));
  }
}

// text as one word of a shell line.
std::string Quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

TEST(InstallScenario, UnsafeDirectoriesAreRefused) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* why;
  } cases[] = {
      {"blank", {"install", "/opt/a b"}, "may hold only"},
      {"semicolon", {"install", "/opt;touch /pwned"}, "may hold only"},
      {"quote", {"install", "/opt/'x'"}, "may hold only"},
      {"relative", {"install", "opt"}, "full path"},
      {"long", {"install", "/" + std::string(250, 'd')}, "too long"},
      {"work-area", {"/tmp/$(touch /pwned)", "install", "/opt"}, "may hold only"},
  };
  // All in one sandbox: each run ends before it changes anything but its log.
  std::string line;
  for (const Case& c : cases) {
    line += "./setup";
    for (const std::string& a : c.args) line += " " + Quoted(a);
    line += std::string(" 2> /root/") + c.what + ".err; echo \"" + c.what + "=$?\"; ";
  }
  SandboxResult r = RunInSandbox("install-unsafe", FromSite(), Shell(line));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Printed(r.out, c.what), "2") << r.out;
    const std::string err = r.Read(std::string("/root/") + c.what + ".err");
    EXPECT_TRUE(Contains(err, c.why)) << err;
  }
  EXPECT_FALSE(r.Changed("/pwned"));
  ExpectNothingInstalled(r);
  ExpectAbsent(r, "/tmp/VexlaInstall");
}

// A medium may lie under any directory: a desktop mounts a stick under a
// label with blanks, and a name that looks like shell code stays a name.
TEST(InstallScenario, AMediumUnderAnyDirectoryInstalls) {
  SETUP_REQUIRE_SANDBOX();
  for (const std::string dir : {"/srv/My Disk", "/srv/$(touch /x) `touch /y` it's"}) {
    SCOPED_TRACE(dir);
    SandboxOptions o = FromSite();
    o.setup.push_back("mkdir -p " + Quoted(dir) + " && cp -a /media/. " + Quoted(dir));
    SandboxResult r = RunInSandbox("install-medium-dir", o, Shell("cd " + Quoted(dir) + " && ./setup install /opt"));
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    ExpectInstalled(r, "/opt");
    EXPECT_FALSE(r.Changed("/x"));
    EXPECT_FALSE(r.Changed("/y"));
  }
}

TEST(InstallScenario, AListedPieceThatIsMissingEndsTheRunBeforeUnpacking) {
  SETUP_REQUIRE_SANDBOX();
  // A diskette set in the work directory that lacks its third diskette.
  SandboxOptions o = FromMedium("");
  o.copies = {{DisketteMedium(), "/tmp/VexlaInstall"}};
  o.setup.push_back("rm /tmp/VexlaInstall/PKG_TAR.003");
  o.cwd = "/tmp/VexlaInstall";
  SandboxResult r = RunInSandbox("install-piece-missing", o, {"./SETUP", "install", "/opt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.err, "PKG_TAR.003")) << r.err;
  ExpectAbsent(r, "/tmp/VexlaInstall/Linuxi386Vpxx.tar.Z");
  ExpectAbsent(r, "/tmp/VexlaInstall/pkg");
  ExpectNothingInstalled(r);

  // A site that lacks a file its list names.
  o = FromSite();
  o.setup.push_back("rm /media/pkg_tar.001");
  r = RunInSandbox("install-site-piece-missing", o, {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out + r.err, "pkg_tar.001")) << r.out << r.err;
  ExpectAbsent(r, "/tmp/VexlaInstall/pkg");
  ExpectNothingInstalled(r);
}

// The medium's checksum file names a damaged or swapped file before
// anything is joined or unpacked; an older medium without one installs.
TEST(InstallScenario, TheChecksumFileNamesADamagedMedium) {
  SETUP_REQUIRE_SANDBOX();
  const std::string pieces = Medium("pieces", SAMPLE_PRODUCT_DIR, {"-s", "1K"});
  struct Case {
    const char* what;
    std::string medium;
    std::string change;
    std::string why;  // empty: the installation succeeds
  } cases[] = {
      {"flipped", SiteMedium(), "printf X | dd of=pkg_tar.001 bs=1 seek=100 conv=notrunc 2>/dev/null",
       "ERROR: pkg_tar.001 does not match its checksum: the medium is damaged"},
      {"swapped", pieces, "mv pkg_tar.002 t && mv pkg_tar.003 pkg_tar.002 && mv t pkg_tar.003",
       "ERROR: pkg_tar.002 does not match its checksum"},
      {"lost", SiteMedium(), "rm sha256", "ERROR: sha256 is missing from /media"},
      {"older", SiteMedium(), "grep -vx sha256 disks > d && mv d disks && rm sha256", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromMedium(c.medium);
    o.setup.push_back("cd /media && " + c.change);
    SandboxResult r = RunInSandbox(std::string("install-checksum-") + c.what, o, {"./setup", "install", "/opt"});
    if (c.why.empty()) {
      EXPECT_EQ(r.status, 0) << r.out << r.err;
      ExpectInstalled(r, "/opt");
      EXPECT_TRUE(Contains(r.Read("/tmp/setup.log"), "the medium carries no checksum file"));
      continue;
    }
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, c.why)) << r.err;
    EXPECT_FALSE(Contains(r.Read("/tmp/setup.log"), "uncompress")) << "joined or unpacked a damaged medium";
    ExpectNothingInstalled(r);
  }
}

TEST(InstallScenario, ADamagedOrMissingPackageListEndsTheRun) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string medium;
    const char* why;
  } cases[] = {
      {"damaged", Medium("damaged", Product("damaged", "c vpxx.txt;touch /pwned\n")), "line"},
      {"missing", NoListMedium(), "pkg.list"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxResult r = RunInSandbox(std::string("install-list-") + c.what, FromMedium(c.medium),
                                   {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, c.why)) << r.err;
    EXPECT_FALSE(r.Changed("/pwned"));
    // The list is checked before the product tree is made.
    ExpectNothingInstalled(r);
  }
}

TEST(InstallScenario, TheWorkDirectoryMustBeSafe) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string setup;
    const char* why;
  } cases[] = {
      {"link", "mv /tmp/VexlaInstall /root/disk && ln -s /root/disk /tmp/VexlaInstall", "not a directory of its own"},
      {"foreign", "chown -R 65534:65534 /tmp/VexlaInstall", "belongs to another user"},
      {"writable", "chmod 777 /tmp/VexlaInstall", "writable by others"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromMedium("");
    o.copies = {{DisketteMedium(), "/tmp/VexlaInstall"}};
    o.setup.push_back(c.setup);
    o.cwd = "/";
    SandboxResult r = RunInSandbox(std::string("install-workdir-") + c.what, o,
                                   Shell("d=$(readlink -f /tmp/VexlaInstall); \"$d/SETUP\" install /opt"));
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, c.why)) << r.err;
    ExpectNothingInstalled(r);
  }

  // A work directory someone else made for a site run is replaced, never
  // used: what it pointed at stays as it was.
  SandboxOptions planted = FromSite();
  planted.setup.push_back(
      "mkdir /etc/theirs && echo mine > /etc/theirs/keep && chown -R 65534:65534 /etc/theirs && "
      "ln -s /etc/theirs /tmp/VexlaInstall");
  SandboxResult r = RunInSandbox("install-workdir-planted", planted, {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_FALSE(r.Changed("/etc/theirs"));
  EXPECT_FALSE(r.Changed("/etc/theirs/keep"));
  ExpectInstalled(r, "/opt");

  // A site needs a fresh work directory: on a read-only work area it cannot
  // be made.
  r = RunInSandbox(
      "install-workdir-readonly", FromSite(),
      Shell("mkdir /sbxwork && mount -t tmpfs -o ro sbx-ro /sbxwork && ./setup /sbxwork no_space_check install /opt; "
            "echo \"status=$?\"; umount /sbxwork"));
  EXPECT_EQ(Printed(r.out, "status"), "1") << r.out << r.err;
  EXPECT_TRUE(Contains(r.err, "can't create the work directory /sbxwork/VexlaInstall")) << r.err;
  ExpectNothingInstalled(r);

  // However loose the umask, the work directory is the installer's alone.
  r = RunInSandbox("install-workdir-umask", FromSite(),
                   Shell("umask 0; ./setup manual install /opt; echo \"status=$?\""));
  EXPECT_EQ(Printed(r.out, "status"), "0") << r.out << r.err;
  FileInfo work = Info(r, "/tmp/VexlaInstall");
  EXPECT_TRUE(work.exists);
  EXPECT_EQ(work.mode & 022, 0u) << std::oct << work.mode;
}

// ---------------------------------------------------------------------------
// What is already running or installed.

TEST(InstallScenario, RunningDaemonsAreStopped) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.copies = {{std::string(SAMPLE_PRODUCT_DIR) + "/pkg/VPrintD", "/root/VPrintD"}};
  SandboxResult r = RunInSandbox(
      "install-daemons", o,
      Shell("/root/VPrintD 60 & a=$!; /root/VPrintD 60 & b=$!; sleep 0.3; ./setup install /opt; "
            "echo \"status=$?\"; wait $a; echo \"a=$? $a\"; wait $b; echo \"b=$? $b\""));
  EXPECT_EQ(Printed(r.out, "status"), "0") << r.out << r.err;
  for (const char* which : {"a", "b"}) {
    std::string printed = Printed(r.out, which);
    ASSERT_EQ(printed.rfind("137 ", 0), 0u) << which << ": " << r.out;  // killed with signal 9
    const std::string pid = printed.substr(4);
    EXPECT_EQ(Count(r.out, "killed VPrintD " + pid + "\n"), 1) << r.out;
  }
  ExpectInstalled(r, "/opt");
}

// The sandbox command for a checkps scenario: VPrintUI runs when setup
// starts; with endAfterQuestion it ends right after the running-programs
// question was shown. setup's output is printed after "status=".
std::string WithRunningUi(bool endAfterQuestion) {
  std::string line =
      "( /root/VPrintUI 60 & ui=$!; echo $ui > /root/ui.pid; ";
  if (endAfterQuestion)
    line += "until grep -q 'Enter a selection' /root/out 2>/dev/null; do sleep 0.1; done; kill $ui; ";
  line += "wait $ui ) & until [ -s /root/ui.pid ]; do sleep 0.05; done; ";
  line += "./setup install /opt > /root/out 2>&1; echo \"status=$?\"; kill $(cat /root/ui.pid) 2>/dev/null; cat /root/out";
  return line;
}

TEST(InstallScenario, RunningProgramsAnsweredWait) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.copies = {{std::string(SAMPLE_PRODUCT_DIR) + "/pkg/VPrintUI", "/root/VPrintUI"}};
  o.input = "1\n";
  SandboxResult r = RunInSandbox("install-checkps-wait", o, Shell(WithRunningUi(true)));
  EXPECT_EQ(Printed(r.out, "status"), "0") << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "The installer can not continue until these terminate:\nVPrintUI ( ")) << r.out;
  EXPECT_TRUE(Contains(r.out, "1.  Wait 30 seconds for these processes to terminate\n")) << r.out;
  EXPECT_EQ(Count(r.out, "Enter a selection"), 1) << r.out;
  ExpectInstalled(r, "/opt");
}

TEST(InstallScenario, RunningProgramsAnsweredQuit) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.copies = {{std::string(SAMPLE_PRODUCT_DIR) + "/pkg/VPrintUI", "/root/VPrintUI"}};
  o.input = "2\n";
  SandboxResult r = RunInSandbox("install-checkps-quit", o, Shell(WithRunningUi(false)));
  EXPECT_EQ(Printed(r.out, "status"), "1") << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "2.  Quit the installation\n")) << r.out;
  // The list stopped at its first line: no program placed, none made
  // set-user-ID, no upgrade and no clean command.
  ExpectAbsent(r, "/opt/Vexla/vpxx/vprvpxxtty");
  ExpectAbsent(r, "/opt/Vexla/vpxx/vsf");
  ExpectAbsent(r, "/opt/Vexla/vpxx/vpqadmin.log");
  EXPECT_FALSE(Contains(r.out, "vpqadmin:")) << r.out;
  EXPECT_FALSE(Contains(r.Read("/tmp/setup.log"), "4755")) << r.Read("/tmp/setup.log");
  ExpectAbsent(r, "/tmp/VexlaInstall");
}

TEST(InstallScenario, ReinstallingOverAnEarlierInstallation) {
  SETUP_REQUIRE_SANDBOX();
  // The second run names the directory, the third finds it through the
  // wrapper the first one wrote; both are asked about the earlier daemon.
  SandboxResult r = RunInSandbox(
      "install-again", FromSite(),
      Shell("./setup install /opt > /root/run1 2>&1; echo \"first=$?\"; "
            "printf 'y\\n' | ./setup install /opt > /root/run2 2>&1; echo \"second=$?\"; "
            "printf 'y\\n' | ./setup > /root/run3 2>&1; echo \"third=$?\""));
  EXPECT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/run1");
  EXPECT_EQ(Printed(r.out, "second"), "0") << r.Read("/root/run2");
  EXPECT_EQ(Printed(r.out, "third"), "0") << r.Read("/root/run3");
  for (const char* run : {"/root/run2", "/root/run3"}) {
    const std::string out = r.Read(run);
    EXPECT_TRUE(Contains(out, "NOTE: VPrintD is located in <install directory>/Vexla/vpxx\n")) << run << out;
    EXPECT_TRUE(Contains(out, "Do You want to continue with the installation? [yn] ")) << run;
    EXPECT_FALSE(Contains(out, "ERROR")) << run << out;
  }
  std::string runs;
  for (int i = 0; i < 3; ++i) runs += kUpgradedAndCleaned;
  ExpectInstalled(r, "/opt", " BSD ", runs);
  // The third run's log: the link of the package list was replaced.
  const std::string log = r.Read("/tmp/setup.log");
  EXPECT_TRUE(Contains(log, "rm -f /usr/bin/vpqadmin")) << log;
  EXPECT_FALSE(Contains(log, "ERROR")) << log;
}

TEST(InstallScenario, DecliningOverAnEarlierDaemonNeverHangs) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.timeoutSeconds = 30;
  SandboxResult r = RunInSandbox(
      "install-decline", o,
      Shell("./setup install /opt > /root/run1 2>&1; echo \"first=$?\"; "
            "./setup install /opt < /dev/null > /root/run2 2>&1; echo \"closed=$?\"; "
            "printf 'maybe\\n\\nn\\n' | ./setup install /opt > /root/run3 2>&1; echo \"n=$?\""));
  ASSERT_NE(r.status, 124) << "a question waited on closed input";
  EXPECT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/run1");
  // Closed input is nobody's answer: the upgrade did not happen, and says so.
  EXPECT_EQ(Printed(r.out, "closed"), "1") << r.Read("/root/run2");
  EXPECT_EQ(Printed(r.out, "n"), "0") << r.Read("/root/run3");
  EXPECT_TRUE(Contains(r.Read("/root/run2"), "end of input at a question: nothing more is installed"))
      << r.Read("/root/run2");
  EXPECT_EQ(Count(r.Read("/root/run3"), "Do You want to continue"), 3) << r.Read("/root/run3");
  // Neither declined run installed anything.
  EXPECT_EQ(r.Read("/opt/Vexla/vpxx/vpqadmin.log"), kUpgradedAndCleaned);
}

// ---------------------------------------------------------------------------
// The manifest: verify and remove.

TEST(InstallScenario, VerifyAndRemoveFollowTheManifest) {
  SETUP_REQUIRE_SANDBOX();
  const std::string a = "/opt/Vexla/vpxx";
  SandboxResult r = RunInSandbox(
      "install-manifest", FromSite(),
      Shell(std::string("./setup install /opt > /root/install 2>&1; echo install=$?; ") +
            "./setup verify install /opt > /root/verify1; echo verify1=$?; " +
            "echo edited >> " + a + "/lib/vpxx.cfg; chmod 700 " + a + "/vsf; ln -sf /bin/true /usr/bin/vpqadmin; " +
            "./setup verify > /root/verify2; echo verify2=$?; " +
            "./setup remove install /opt < /dev/null > /root/remove1 2>&1; echo remove1=$?; " +
            "rm /usr/bin/vpqadmin; printf 'y\\n' | ./setup remove install /opt > /root/remove2 2>&1; echo remove2=$?; " +
            "./setup verify install /opt 2> /root/verify3; echo verify3=$?"));
  EXPECT_EQ(Printed(r.out, "install"), "0") << r.Read("/root/install");
  EXPECT_EQ(Printed(r.out, "verify1"), "0") << r.Read("/root/verify1");
  EXPECT_TRUE(Contains(r.Read("/root/verify1"), ": 0 differ\n")) << r.Read("/root/verify1");
  // Each difference on a line of its own, in the documented form.
  EXPECT_EQ(Printed(r.out, "verify2"), "1");
  const std::string verify2 = r.Read("/root/verify2");
  for (const std::string& line : {"size " + a + "/lib/vpxx.cfg: ", "mode " + a + "/vsf: 4755 is 0700",
                                  "link /usr/bin/vpqadmin: " + a + "/vpqadmin is /bin/true"})
    EXPECT_TRUE(Contains(verify2, line)) << line << "\n" << verify2;
  // Closed input keeps the edited file; a replaced link is left alone.
  EXPECT_EQ(Printed(r.out, "remove1"), "1") << r.Read("/root/remove1");
  const std::string remove1 = r.Read("/root/remove1");
  EXPECT_TRUE(Contains(remove1, "kept " + a + "/lib/vpxx.cfg: it was changed since the installation")) << remove1;
  EXPECT_TRUE(Contains(remove1, "kept /usr/bin/vpqadmin: the link now points to /bin/true")) << remove1;
  // The second removal, confirmed, finishes the work: the tree is as before.
  EXPECT_EQ(Printed(r.out, "remove2"), "0") << r.Read("/root/remove2");
  EXPECT_EQ(Printed(r.out, "verify3"), "2") << r.Read("/root/verify3");
  EXPECT_EQ(DifferencesFromTheHost(r), "");
}

// A preview shows the installation's command lines and writes, run by
// anybody, and changes nothing at all; a medium that would fail says why.
TEST(InstallScenario, APreviewChangesNothing) {
  SETUP_REQUIRE_SANDBOX();
  const std::vector<std::string> nobody = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  std::vector<std::string> preview = nobody;
  preview.insert(preview.end(), {"./setup", "preview", "install", "/opt"});
  SandboxResult r = RunInSandbox("install-preview", FromSite(), preview);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.changes, std::vector<std::string>{}) << "the preview changed the host";
  for (const char* line : {"earlier installation: none\n", "free space: enough in the work area /tmp and in /opt\n",
                           "/usr/bin/cp -p /media/pkg_tar.001 /tmp/VexlaInstall\n",
                           "/usr/bin/tar xvfp /tmp/VexlaInstall/Linuxi386Vpxx.tar\n",
                           "/usr/bin/cp -p /tmp/VexlaInstall/pkg/vsf /opt/Vexla/vpxx\n",
                           // a line after a copy the preview did not make still acts
                           "/usr/bin/chmod  755 /opt/Vexla/vpxx/bin/vprint\n", "/opt/Vexla/vpxx/vpqadmin -upgrade\n",
                           "/usr/bin/chmod  4755 /opt/Vexla/vpxx/vsf\n", "script /opt/Vexla/vpxx/VexlaVSF\n",
                           "link /usr/Vexla -> /opt/Vexla\n", "script /usr/bin/vprint\n"})
    EXPECT_TRUE(Contains(r.out, line)) << line << r.out;

  std::vector<std::string> damaged = nobody;
  damaged.insert(damaged.end(), {"./setup", "preview", "install", "/opt"});
  SandboxResult d = RunInSandbox("install-preview-damaged",
                                 FromMedium(Medium("damaged", Product("damaged", "c vpxx.txt;touch /pwned\n"))), damaged);
  EXPECT_EQ(d.status, 1) << d.out << d.err;
  EXPECT_TRUE(Contains(d.err, "pkg.list, line")) << d.err;
  EXPECT_EQ(d.changes, std::vector<std::string>{});

  // With --json the same failure is one object on standard output, its
  // reason the message that standard error still shows.
  damaged.push_back("--json");
  SandboxResult j = RunInSandbox("install-preview-damaged-json",
                                 FromMedium(Medium("damaged", Product("damaged", "c vpxx.txt;touch /pwned\n"))), damaged);
  EXPECT_EQ(j.status, 1) << j.out << j.err;
  EXPECT_EQ(j.out.rfind("{\"status\":1,\"install_dir\":\"/opt\",\"earlier\":\"\",\"lines\":[", 0), 0u) << j.out;
  EXPECT_EQ(std::count(j.out.begin(), j.out.end(), '\n'), 1) << j.out;
  const std::string why = "/pkg/pkg.list, line 45: a name holds a character the shell would misread";
  EXPECT_TRUE(Contains(j.out, "\"messages\":[\"ERROR: /tmp/setup-preview.")) << j.out;
  EXPECT_TRUE(Contains(j.out, "\"reason\":\"/tmp/setup-preview.")) << j.out;
  EXPECT_TRUE(Contains(j.out, why + ": vpxx.txt;touch\"}\n")) << j.out;
  EXPECT_TRUE(Contains(j.err, why)) << j.err;
  EXPECT_EQ(j.changes, std::vector<std::string>{});
}

// ---------------------------------------------------------------------------
// The end of a run.

TEST(InstallScenario, ManualKeepsTheWorkFiles) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("install-manual", FromSite(), {"./setup", "install", "/opt", "manual"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  for (const char* kept : {"/tmp/VexlaInstall/disks", "/tmp/VexlaInstall/pkg_tar.001", "/tmp/VexlaInstall/setup",
                           "/tmp/VexlaInstall/pkg/pkg.list"})
    EXPECT_TRUE(Info(r, kept).exists) << kept;
  ExpectAbsent(r, "/tmp/VexlaInstall/Linuxi386Vpxx.tar.Z");
  ExpectAbsent(r, "/tmp/VexlaInstall/Linuxi386Vpxx.tar");
  // The clean command still runs after a complete installation.
  EXPECT_EQ(r.Read("/opt/Vexla/vpxx/vpqadmin.log"), kUpgradedAndCleaned);

  // In a work area of the user's choice.
  r = RunInSandbox("install-manual-var-tmp", FromSite(), {"./setup", "/var/tmp", "manual", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Info(r, "/var/tmp/VexlaInstall/pkg/pkg.list").exists);
  EXPECT_FALSE(r.Changed("/tmp/VexlaInstall"));
  EXPECT_EQ(r.Read("/opt/Vexla/vpxx/vpqadmin.log"), kUpgradedAndCleaned);
}

TEST(InstallScenario, AStandAloneMarkerSkipsTheCleanUp) {
  SETUP_REQUIRE_SANDBOX();
  const std::string medium = Medium("standalone", Product("standalone", "t .StandAlone\n"));
  SandboxResult r = RunInSandbox("install-standalone", FromMedium(medium), {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(Info(r, "/opt/Vexla/vpxx/.StandAlone").exists);
  EXPECT_TRUE(Info(r, "/tmp/VexlaInstall/pkg/pkg.list").exists);
  EXPECT_EQ(r.Read("/opt/Vexla/vpxx/vpqadmin.log"), "vpqadmin -upgrade\n");
  EXPECT_FALSE(Contains(r.out, "work files cleaned")) << r.out;
}

// ---------------------------------------------------------------------------
// The sed edit.

TEST(InstallScenario, TheSedEditNeverWritesThroughAPlantedFile) {
  SETUP_REQUIRE_SANDBOX();
  const std::pair<const char*, const char*> plants[] = {
      {"symlink", "ln -s /etc/victim /tmp/setup.tmp"},
      {"foreign", "printf 'theirs\\n' > /tmp/setup.tmp && chown 65534:65534 /tmp/setup.tmp && chmod 666 /tmp/setup.tmp"},
  };
  for (const auto& [what, plant] : plants) {
    SCOPED_TRACE(what);
    SandboxOptions o = FromSite();
    o.setup.push_back("printf 'precious\\n' > /etc/victim");
    o.setup.push_back(plant);
    SandboxResult r = RunInSandbox(std::string("install-sed-") + what, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(r.Changed("/etc/victim"));
    EXPECT_EQ(r.Read("/opt/Vexla/vpxx/lib/vpxx.cfg"), EditedSettings());
    // The edited file is root's, as the list made it, not the planter's.
    EXPECT_EQ(Info(r, "/opt/Vexla/vpxx/lib/vpxx.cfg").uid, 0u);
    EXPECT_TRUE(r.Changed("/tmp/setup.tmp"));  // the plant is gone
    ExpectAbsent(r, "/tmp/setup.tmp");
  }
}

TEST(InstallScenario, AFailingSedEditLeavesTheFileAsItWas) {
  SETUP_REQUIRE_SANDBOX();
  const std::string medium =
      Medium("badsed", Product("badsed", "s lib/vpxx.cfg sed -e 's/a/b/Z'\n"));
  SandboxResult r = RunInSandbox("install-sed-fails", FromMedium(medium), {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "ERROR")) << r.out;
  // The earlier edit stands; the failed one did not empty the file.
  EXPECT_EQ(r.Read("/opt/Vexla/vpxx/lib/vpxx.cfg"), EditedSettings());
  const std::string log = r.Read("/tmp/setup.log");
  EXPECT_TRUE(Contains(log, "sed: ")) << log;  // sed's complaint reached the log
}

// ---------------------------------------------------------------------------
// Host faults: tools that fail, a damaged archive, a directory that cannot
// be written, a run killed half-way, input that has ended. Each ends with a
// message, the documented status and nothing reported wrong.

// What a run in a sandbox of several runs printed, status and suid lines
// after it: "<what>=<status>" and "<what>-suid=<set-user-ID files>".
std::string RunRecorded(const std::string& what, const std::string& run) {
  return run + " > /root/" + what + " 2>&1; echo \"" + what + "=$?\"; echo \"" + what +
         "-suid=$(find /opt -xdev -perm -4000 -type f 2>/dev/null | tr '\\n' ' ')\"; ";
}

TEST(InstallScenario, UnpackingToolsThatFailOrAreMissingEndTheRun) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    std::string what;
    std::string before;  // makes the fault
    std::string after;   // takes it away again
    std::string message;
  };
  std::vector<Case> cases;
  for (const std::string tool : {"uncompress", "tar"}) {
    const std::string standIn = "/usr/sbin/" + tool;
    cases.push_back({tool + "-fails", StandIn(standIn, "echo " + tool + ": broken >&2; exit 1"), "rm " + standIn,
                     "ERROR: " + tool + ": exit status 1"});
    cases.push_back({tool + "-killed", StandIn(standIn, "kill -KILL $$"), "rm " + standIn, "ERROR: " + tool + ": "});
    cases.push_back({tool + "-missing", "cp -p /usr/bin/" + tool + " /root/keep && " + RemoveEverywhere(tool),
                     "cp -p /root/keep /usr/bin/" + tool, "ERROR: unable to locate system command '" + tool + "'"});
  }
  // The runs follow each other in one sandbox: none gets as far as the
  // product tree.
  std::string line;
  for (const Case& c : cases) line += c.before + "; " + RunRecorded(c.what, "./setup install /opt") + c.after + "; ";
  SandboxResult r = RunInSandbox("install-tools-fail", FromSite(), Shell(line));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string out = r.Read("/root/" + c.what);
    EXPECT_EQ(Printed(r.out, c.what), "1") << out;
    EXPECT_TRUE(Contains(out, c.message)) << out;
  }
  ExpectNothingInstalled(r);
}

// A piece cut short whose checksum was made from the cut piece (a packager's
// broken build): uncompress takes it without a complaint, and where the cut
// falls at a member's end tar unpacks half the product with status 0. The
// archive's missing end blocks name it before anything is unpacked.
TEST(InstallScenario, AnArchiveCutShortIsNoSuccess) {
  SETUP_REQUIRE_SANDBOX();
  const std::string rechecksum = " && grep -v ' pkg_tar.001$' sha256 > s && sha256sum pkg_tar.001 >> s && mv s sha256";
  const std::pair<const char*, std::string> cuts[] = {
      {"at-a-member", "uncompress -c pkg_tar.001 > /root/a.tar && n=$(tar -tf /root/a.tar | wc -l) && "
                      "b=$(tar -tRf /root/a.tar | sed -n \"$((n / 2))s/^block \\([0-9]*\\):.*/\\1/p\") && "
                      "head -c $((b * 512)) /root/a.tar | compress -c > pkg_tar.001"},
      {"in-half", "truncate -s $(($(stat -c %s pkg_tar.001) / 2)) pkg_tar.001"},
  };
  for (const auto& [what, cut] : cuts) {
    SCOPED_TRACE(what);
    SandboxOptions o = FromSite();
    o.setup.push_back("cd /media && " + cut + rechecksum);
    SandboxResult r = RunInSandbox(std::string("install-cut-") + what, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 1) << r.out << r.err;
    EXPECT_TRUE(Contains(r.err, "is cut short") || Contains(r.out, "ERROR: uncompress")) << r.out << r.err;
    ExpectNothingInstalled(r);
  }
}

TEST(InstallScenario, ACopyThatFailsForOneFileIsNamedAndNoSuccess) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.setup.push_back(StandIn("/usr/sbin/cp", "case \"$*\" in */pkg/vsf\\ *) echo cp: refused >&2; exit 1;; esac; "
                                            "exec /usr/bin/cp \"$@\""));
  SandboxResult r = RunInSandbox("install-cp-one-file", o, Shell(RunRecorded("run", "./setup install /opt")));
  const std::string out = r.Read("/root/run");
  EXPECT_EQ(Printed(r.out, "run"), "1") << out;
  // The copy's failure is noted; its mode then cannot be set, which ends
  // the run there, naming the file.
  EXPECT_TRUE(Contains(out, "ERROR: the command that failed: ")) << out;
  EXPECT_TRUE(Contains(out, "/opt/Vexla/vpxx/vsf")) << out;
  EXPECT_EQ(Printed(r.out, "run-suid"), "") << out;
  ExpectAbsent(r, "/opt/Vexla/vpxx/vsf");
  ExpectFile(r, "/opt/Vexla/vpxx/vprvpxxtty", S_IFREG, 0755, "lp");  // the rest is there, not set-user-ID
}

TEST(InstallScenario, AReadOnlyInstallationDirectoryIsNoSuccess) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox("install-read-only", FromSite(),
                                 Shell("mount -t tmpfs -o ro sbx-ro /opt && " + RunRecorded("run", "./setup install /opt")));
  const std::string out = r.Read("/root/run");
  EXPECT_EQ(Printed(r.out, "run"), "1") << out;
  EXPECT_TRUE(Contains(out, "ERROR: mkdir: exit status 1")) << out;
  EXPECT_TRUE(Contains(out, "/opt/Vexla/vpxx")) << out;
  EXPECT_FALSE(r.Changed("/usr/bin/vprint"));
  EXPECT_FALSE(r.Changed("/var/spool/Vexla"));
}

// Every path of the product on the machine with its type, mode, owner,
// group and link, then the checksum of every file, into /root/tree. The
// manifest's content is left out: a run after a killed one does not record
// the paths outside the application directory that the killed run made
// (/usr/Vexla, the spool and PPD directories), as it finds them there.
constexpr char kListProductTree[] =
    "p='/opt/Vexla /usr/Vexla /var/spool/Vexla /usr/share/ppd/Vexla /usr/bin/vprint /usr/bin/vpqadmin'; "
    "{ find $p -printf '%p %y %m %u %g %l\\n' | sort; "
    "find $p -type f ! -name setup.manifest -print0 | sort -z | xargs -0 md5sum; } > /root/tree";

// Killed with SIGKILL in the package list (at the daemon's log, after the
// daemon itself was placed), the next run goes on over the half-made tree
// (y at the earlier-daemon question) and leaves what a clean run leaves.
TEST(InstallScenario, AKilledRunIsMadeWholeByTheNextOne) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult clean = RunInSandbox("install-clean-tree", FromSite(),
                                     Shell(std::string("./setup install /opt > /root/out 2>&1; echo \"status=$?\"; ") +
                                           kListProductTree));
  ASSERT_EQ(Printed(clean.out, "status"), "0") << clean.Read("/root/out");

  SandboxOptions o = FromSite();
  o.setup.push_back(KillSetupAtTouch("VPrintD.log"));
  SandboxResult r = RunInSandbox(
      "install-killed", o,
      Shell(std::string("./setup install /opt > /root/run1 2>&1; echo \"killed=$?\"; ") +
            "printf 'y\\n' | ./setup install /opt > /root/run2 2>&1; echo \"again=$?\"; " + kListProductTree));
  EXPECT_EQ(Printed(r.out, "killed"), "137") << r.Read("/root/run1");
  EXPECT_EQ(Printed(r.out, "again"), "0") << r.Read("/root/run2");
  EXPECT_TRUE(Contains(r.Read("/root/run2"), "Do You want to continue with the installation? [yn] ")) << r.Read("/root/run2");
  EXPECT_FALSE(r.Read("/root/tree").empty());
  EXPECT_EQ(r.Read("/root/tree"), clean.Read("/root/tree"));
  ExpectInstalled(r, "/opt");
}

// Input that has ended (or was never open), at each question of the
// installer, ends the run within seconds with status 1: the menu, the
// installation and site directory dialogues after a menu choice. Output
// that is closed changes nothing.
TEST(InstallScenario, EndedInputAtEveryQuestionEndsTheRunAtOnce) {
  SETUP_REQUIRE_SANDBOX();
  const std::pair<const char*, std::string> runs[] = {
      {"menu", "./setup menu < /dev/null"},
      {"menu-closed", "./setup menu <&- >&-"},
      {"install-directory", "printf '1\\n' | ./setup menu"},
      {"site-directory", "printf '2\\n' | ./setup menu"},
      {"site-directory-closed", "printf '2\\n' | ./setup menu >&-"},
  };
  std::string line;
  for (const auto& [what, run] : runs) line += RunRecorded(what, "timeout 15 " + run);
  line += RunRecorded("install-closed", "timeout 30 ./setup install /opt <&- >&-");
  SandboxOptions o = FromSite();
  o.timeoutSeconds = 120;
  SandboxResult r = RunInSandbox("install-input-ended", o, Shell(line));
  for (const auto& [what, run] : runs) {
    SCOPED_TRACE(what);
    EXPECT_EQ(Printed(r.out, what), "1") << r.Read(std::string("/root/") + what);
  }
  EXPECT_EQ(Printed(r.out, "install-closed"), "0") << r.Read("/root/install-closed");
  ExpectInstalled(r, "/opt");
}

TEST(InstallScenario, EndedInputAtTheRunningProgramsQuestionInstallsNothingMore) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.copies = {{std::string(SAMPLE_PRODUCT_DIR) + "/pkg/VPrintUI", "/root/VPrintUI"}};
  SandboxResult r = RunInSandbox("install-checkps-ended", o, Shell(WithRunningUi(false)));
  EXPECT_EQ(Printed(r.out, "status"), "1") << r.out << r.err;
  EXPECT_TRUE(Contains(r.out, "end of input")) << r.out;
  ExpectAbsent(r, "/opt/Vexla/vpxx/vsf");
}

// ---------------------------------------------------------------------------
// The machine outside the sandbox.

struct HostPath {
  bool exists = false;
  struct stat st = {};
};

HostPath HostState(const std::string& path) {
  HostPath p;
  p.exists = lstat(path.c_str(), &p.st) == 0;
  return p;
}

bool SameState(const HostPath& a, const HostPath& b) {
  if (a.exists != b.exists) return false;
  return !a.exists || (a.st.st_ino == b.st.st_ino && a.st.st_mode == b.st.st_mode && a.st.st_size == b.st.st_size &&
                       a.st.st_mtim.tv_sec == b.st.st_mtim.tv_sec && a.st.st_mtim.tv_nsec == b.st.st_mtim.tv_nsec);
}

TEST(InstallScenario, TheHostIsUnchangedAfterAnInstallation) {
  SETUP_REQUIRE_SANDBOX();
  const std::vector<std::string> paths = {"/opt",           "/opt/Vexla",       "/usr/Vexla",
                                          "/usr/bin",       "/usr/bin/vprint",  "/usr/bin/vpqadmin",
                                          "/var/spool",     "/var/spool/Vexla", "/usr/share/ppd",
                                          "/tmp/setup.log", "/tmp/VexlaInstall", "/tmp/setup.tmp"};
  std::vector<HostPath> before;
  for (const std::string& p : paths) before.push_back(HostState(p));
  SandboxResult r = RunInSandbox("install-host", FromSite(), {"./setup", "install", "/opt"});
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  for (const char* changed : {"/opt/Vexla", "/usr/Vexla", "/usr/bin/vprint", "/var/spool/Vexla", "/tmp/setup.log"})
    EXPECT_TRUE(r.Changed(changed)) << changed;
  for (size_t i = 0; i < paths.size(); ++i)
    EXPECT_TRUE(SameState(HostState(paths[i]), before[i])) << paths[i] << " changed on the host";
}

}  // namespace
