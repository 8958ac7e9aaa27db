// A member of the print group, who may write the application directory
// and its lib folder, races root's re-installation: a program of theirs
// watches the run log (readable by all) and renames an entry of theirs
// into place at the moment root's command is announced, or exchanges the
// administration tool with a program of theirs again and again. The
// victims are files of the sandbox's /etc and a root-owned copy of bash.
#include <sys/stat.h>

#include <string>

#include "install_fixtures.h"
#include "sandbox.h"

namespace {

const std::string kApp = "/opt/Vexla/vpxx";
const std::string kRacer = "/usr/local/bin/racer";
constexpr int kRuns = 3;  // re-installations raced in each case

// The sandbox: a first installation, then the group may write the
// application directory and lib; the victims are made.
SandboxOptions RacedHost() {
  SandboxOptions o = FromSite();
  o.copies.push_back({RACER_PROGRAM, kRacer});
  o.setup.push_back("printf secret > /etc/victim && chmod 600 /etc/victim && cp /bin/bash /opt/vbash && "
                    "chmod 755 /opt/vbash && mkdir -m 700 /etc/vlib && printf secret > /etc/vlib/vpxx.cfg && "
                    "chmod 600 /etc/vlib/vpxx.cfg");
  o.timeoutSeconds = 120;
  return o;
}

const std::string kFirst = "./setup install /opt > /root/first 2>&1; echo first=$?; chgrp lp " + kApp + " " + kApp +
                           "/lib && chmod 775 " + kApp + " " + kApp + "/lib; ";

// The attacker's own shell line; the racer's report goes to /tmp/race<i>.
std::string Attack(const std::string& line) { return AsAttacker(line, "lp") + "; "; }

// The racer's report once it is done (it is given a few seconds).
std::string ReportOf(int run) {
  const std::string out = "/tmp/race" + std::to_string(run);
  return "for i in $(seq 100); do grep -q done " + out + " 2>/dev/null && break; sleep 0.1; done; cp " + out +
         " /root/race" + std::to_string(run) + "; ";
}

// Whether bash, run by the attacker afterwards, gives them root.
const std::string kTryShell = Attack("/opt/vbash -p -c \"id -u\" > /tmp/pwned 2>&1");

// The victims were made before the run: any change of their content, mode
// or owner would show as a change of the run.
void ExpectVictimsIntact(const SandboxResult& r) {
  EXPECT_FALSE(r.Changed("/etc/victim"));
  EXPECT_FALSE(r.Changed("/etc/vlib/vpxx.cfg"));
  EXPECT_FALSE(r.Changed("/opt/vbash")) << "the shell must never be made set-user-ID";
  EXPECT_NE(r.Read("/tmp/pwned"), "0\n");
}

// At the line that announces root's command, the attacker renames an entry
// of theirs (prepared before the run) into place: a link to a victim, or,
// for lib, a link to a folder of root's secrets or a folder of their own. Root's command acts on what root judged, or
// the run names what it refused; the victims stay as they were.
TEST(RaceScenario, AnEntrySwappedInAtRootsCommandIsNeverActedOn) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::string prepare;  // as the attacker, before each run
    std::string pattern;  // of the log line
    std::string renames;  // FROM TO pairs
  };
  const std::string p = kApp + "/.planted";
  const Case cases[] = {
      {"set-user-ID", "ln -sf /opt/vbash " + p, "4755 " + kApp + "/vsf", p + " " + kApp + "/vsf"},
      {"copy", "ln -sf /etc/victim " + p, "pkg/VPrintD " + kApp, p + " " + kApp + "/VPrintD"},
      {"chmod", "ln -sf /etc/victim " + p, "755 " + kApp + "/VPrintUI", p + " " + kApp + "/VPrintUI"},
      {"sed-link", "ln -sfn /etc/vlib " + p, "/usr/bin/sed ",
       kApp + "/lib " + kApp + "/lib.old " + p + " " + kApp + "/lib"},
      {"sed-folder",
       "rm -rf " + kApp + "/.mylib; mkdir -m 777 " + kApp + "/.mylib && printf mine > " + kApp + "/.mylib/vpxx.cfg",
       "/usr/bin/sed ", kApp + "/lib " + kApp + "/lib.old " + kApp + "/.mylib " + kApp + "/lib"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string line = kFirst;
    for (int run = 0; run < kRuns; ++run) {
      const std::string n = std::to_string(run);
      // (The log of the run before is emptied, so that only this run's
      // lines start the racer.)
      line += ": > /tmp/setup.log; " + Attack(c.prepare + "; " + kRacer + " /tmp/setup.log \"" + c.pattern + "\" " + c.renames + " > /tmp/race" +
                     n + " 2>&1 &") +
              "printf \"y\\n\" | ./setup install /opt > /root/run" + n + " 2>&1; echo run" + n + "=$?; " + ReportOf(run);
    }
    SandboxResult r = RunInSandbox(std::string("race-") + c.what, RacedHost(), Shell(line + kTryShell));
    ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
    for (int run = 0; run < kRuns; ++run) {
      const std::string n = std::to_string(run);
      const std::string report = r.Read("/root/race" + n);
      // The attacker saw root's command coming and was refused: the
      // application directory is held for root while the run goes on.
      EXPECT_TRUE(Contains(report, "saw\n")) << report;
      EXPECT_FALSE(Contains(report, "renamed")) << report;
      EXPECT_EQ(Printed(r.out, "run" + n), "0") << r.Read("/root/run" + n);
    }
    ExpectVictimsIntact(r);
    EXPECT_EQ(r.Read(kApp + "/lib/vpxx.cfg"), EditedSettings());
    EXPECT_EQ(Info(r, kApp + "/lib").uid, 0u);
    // The hold ends with the run: the group may write the folders again.
    EXPECT_EQ(Info(r, kApp).mode, 0775u) << std::oct << Info(r, kApp).mode;
    EXPECT_EQ(Info(r, kApp + "/lib").mode, 0755u) << "as the copy of the tree gave it";
  }
}

// The attacker exchanges the administration tool with a program of theirs
// in a loop while root re-installs: root never runs their program.
TEST(RaceScenario, TheAdministrationToolCannotBeExchangedBeforeRootRunsIt) {
  SETUP_REQUIRE_SANDBOX();
  std::string line = kFirst + Attack("printf \"#!/bin/sh\\nid -u > /tmp/pwned\\n\" > " + kApp +
                                     "/.evil && chmod 755 " + kApp + "/.evil && " + kRacer + " --exchange /tmp/stop " + kApp +
                                     "/vpqadmin " + kApp + "/.evil > /tmp/race0 2>&1 &");
  for (int run = 0; run < kRuns; ++run)
    line += "printf \"y\\n\" | ./setup install /opt > /root/run" + std::to_string(run) + " 2>&1; ";
  SandboxResult r = RunInSandbox("race-exchange", RacedHost(), Shell(line + "touch /tmp/stop; " + ReportOf(0)));
  const std::string report = r.Read("/root/race0");
  // The exchanges went on during the runs, and were refused while they ran.
  EXPECT_TRUE(Contains(report, "exchanged ")) << report;
  EXPECT_FALSE(Contains(report, " refused 0\n")) << report;
  ExpectVictimsIntact(r);
}

}  // namespace

namespace {

// A run killed while it holds the folders leaves them stricter, never
// looser: the group cannot write them until the next run, which gives them
// their modes back at its end.
TEST(RaceScenario, AKilledRunLeavesItsFoldersHeldUntilTheNextRun) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line =
      kFirst + KillSetupAtTouch("VPrintD.log") + "; printf \"y\\n\" | ./setup install /opt > /root/stopped 2>&1; " +
      "echo killed=$?; stat -c %a " + kApp + " " + kApp + "/lib > /root/modes; test -f /var/lib/setup-Vexla.held; " +
      "echo record=$?; " + AsAttacker("touch " + kApp + "/x", "lp") + " 2>/dev/null; echo write=$?; " +
      "rm /usr/sbin/touch; printf \"y\\n\" | ./setup install /opt > /root/next 2>&1; echo next=$?";
  SandboxResult r = RunInSandbox("race-killed", RacedHost(), Shell(line));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "killed"), "137") << r.Read("/root/stopped");
  EXPECT_EQ(r.Read("/root/modes"), "755\n755\n");
  EXPECT_EQ(Printed(r.out, "record"), "0");
  EXPECT_EQ(Printed(r.out, "write"), "1");
  EXPECT_EQ(Printed(r.out, "next"), "0") << r.Read("/root/next");
  EXPECT_EQ(Info(r, kApp).mode, 0775u) << std::oct << Info(r, kApp).mode;
  EXPECT_EQ(Info(r, "/var/spool/Vexla").mode, 0775u) << std::oct << Info(r, "/var/spool/Vexla").mode;
  ExpectAbsent(r, "/var/lib/setup-Vexla.held");
}

}  // namespace
