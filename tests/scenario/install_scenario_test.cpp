// Complete installations with the real program, the real medium builder
// and real host tools, in the sandbox: what a run leaves on the machine,
// what it prints and how it ends, for the host and medium variations an
// administrator meets, over what is already running or installed, and the
// host outside the sandbox left as it was. The failures are
// install_failure_scenario_test.cpp, verify, remove and preview
// install_manifest_scenario_test.cpp.
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// ---------------------------------------------------------------------------
// Media of these scenarios only.

std::string HelpMedium() {
  const std::string help = MediaRoot() + "/setup.hlp";
  std::ofstream(help) << "<html><body>Help of setup.</body></html>\n";
  return Medium("help", SAMPLE_PRODUCT_DIR, {"--help-file", help});
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
  // The edited text is written beside the settings file, then moved over it.
  const std::string temp = "/opt/Vexla/vpxx/lib/vpxx.cfg.setup-edit";
  const std::pair<const char*, std::string> plants[] = {
      {"symlink", "ln -s /etc/victim " + temp},
      {"foreign", "printf 'theirs\\n' > " + temp + " && chown 65534:65534 " + temp + " && chmod 666 " + temp},
  };
  for (const auto& [what, plant] : plants) {
    SCOPED_TRACE(what);
    SandboxOptions o = FromSite();
    o.setup.push_back("printf 'precious\\n' > /etc/victim && mkdir -p /opt/Vexla/vpxx/lib");
    o.setup.push_back(plant);
    SandboxResult r = RunInSandbox(std::string("install-sed-") + what, o, {"./setup", "install", "/opt"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_FALSE(r.Changed("/etc/victim"));
    EXPECT_EQ(r.Read("/opt/Vexla/vpxx/lib/vpxx.cfg"), EditedSettings());
    // The edited file is root's, as the list made it, not the planter's.
    EXPECT_EQ(Info(r, "/opt/Vexla/vpxx/lib/vpxx.cfg").uid, 0u);
    ExpectAbsent(r, temp);
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
                                          "/tmp/setup.log", "/tmp/VexlaInstall", "/var/lib/setup-Vexla.held"};
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
