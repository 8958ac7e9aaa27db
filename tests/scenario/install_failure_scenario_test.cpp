// Installations that fail, with the real program and real host tools in
// the sandbox: refusals (who runs it, free space, unsafe directories,
// missing or damaged pieces, checksums and package lists, the work
// directory) and host faults (unpacking tools that fail, a damaged
// archive, a directory that cannot be written, a run killed half-way,
// input that has ended). Each ends with a message, the documented status
// and nothing reported wrong.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <ios>
#include <string>
#include <utility>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// ---------------------------------------------------------------------------
// Media and helpers of these scenarios only.

// All that a run which ends before its first step leaves: the lock's files and the log.
const std::vector<std::string> kLockAndLog = {std::string("A ") + kLockFile, std::string("A ") + kLockHolderFile,
                                              "A /tmp/setup.log"};

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
    EXPECT_EQ(r.changes, kLockAndLog);
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
    EXPECT_EQ(r.changes, kLockAndLog);
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
       "ERROR: /media/pkg_tar.001 does not match its checksum: the medium is damaged"},
      {"swapped", pieces, "mv pkg_tar.002 t && mv pkg_tar.003 pkg_tar.002 && mv t pkg_tar.003",
       "ERROR: /media/pkg_tar.002 does not match its checksum"},
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
  // A preview checks a copy in a private directory it removes: it names
  // the medium's file as well.
  SandboxOptions o = FromMedium(SiteMedium());
  o.setup.push_back("cd /media && " + cases[0].change);
  SandboxResult p = RunInSandbox("preview-checksum-flipped", o, {"./setup", "preview", "install", "/opt"});
  EXPECT_EQ(p.status, 1) << p.out << p.err;
  EXPECT_TRUE(Contains(p.err, cases[0].why)) << p.err;
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

}  // namespace
