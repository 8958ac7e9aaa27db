// The earlier installation kept through an upgrade and put back with
// setup rollback, in the sandbox: an earlier version of the product is
// installed, a newer one (other texts, another PPD, a link of its own
// outside the tree) goes over it, and what rollback leaves is compared with
// the earlier tree path by path: kind, mode, owners, link and content.
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

const std::string kSaved = "/opt/Vexla/.vpxx.previous";
const char kRollback[] = "./setup rollback install /opt";
const char kVerify[] = "./setup verify install /opt";

std::string EarlierMedium() { return Medium("rb-earlier", Product("rb-earlier", "c usbport.old mode 600\n")); }

std::string NewerMedium() {
  static const std::string product = [] {
    const std::string p = Product("rb-newer", "m VPrintUI link /usr/bin/vpnew\n");
    std::ofstream(p + "/pkg/vpxx.txt") << "the newer version\n";
    std::ofstream(p + "/pkg/ppd/Vexla/Vexla-vpxx.ppd") << "*PPD-Adobe: \"4.3\"\n*% the newer one\n";
    return p;
  }();
  return Medium("rb-newer", product);
}

// The earlier medium in /media, the newer in /media2.
SandboxOptions BothMedia() {
  SandboxOptions o = FromMedium(EarlierMedium());
  o.copies = {{NewerMedium(), "/media2"}};
  o.timeoutSeconds = 90;
  return o;
}

std::string Upgrade(const std::string& what, const std::string& words = "") {
  return Recorded(what, "cd /media2 && printf 'y\\n' | ./setup install /opt" + words);
}

// Everything the installations place, one line a path, into /root/<name>
// (a saved copy aside).
std::string Snapshot(const std::string& name) {
  return "{ find /opt/Vexla /usr/Vexla /usr/share/ppd/Vexla /var/spool/Vexla /usr/bin/vprint /usr/bin/vpqadmin "
         "/usr/bin/vpnew -printf '%p %y %m %u %g %l\\n' 2>/dev/null; find /opt/Vexla/ /usr/share/ppd/Vexla "
         "/usr/bin/vprint -type f -exec md5sum {} +; } | grep -v /.vpxx.previous | sort > /root/" +
         name + "; ";
}
constexpr char kSame[] = "cmp /root/before /root/after > /root/cmp 2>&1 && echo same=yes; ";

// After rollback the host holds the earlier installation exactly, verify is
// clean against its manifest, and the saved copy is gone.
void ExpectRolledBack(const SandboxResult& r) {
  EXPECT_EQ(Printed(r.out, "rollback"), "0") << r.Read("/root/rollback");
  EXPECT_TRUE(Contains(r.Read("/root/rollback"), "/opt/Vexla/vpxx is rolled back to the earlier installation"));
  EXPECT_EQ(Printed(r.out, "same"), "yes") << r.Read("/root/cmp") << r.Read("/root/before") << r.Read("/root/after");
  EXPECT_EQ(Printed(r.out, "verify"), "0") << r.Read("/root/verify");
  ExpectAbsent(r, kSaved);
  ExpectAbsent(r, "/opt/Vexla/.vpxx.replaced");
}

// An upgrade killed in its package list leaves the saved copy (root's, mode
// 700); one run again and stopped at the list's question keeps that copy,
// not the half-done tree, and says how to go back; rollback gives the
// earlier tree back, and a second rollback finds nothing.
TEST(RollbackScenario, AnUpgradeStoppedHalfWayIsRolledBack) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = BothMedia();
  o.copies.push_back({std::string(SAMPLE_PRODUCT_DIR) + "/pkg/VPrintUI", "/root/VPrintUI"});
  const std::string line =
      Recorded("first", "./setup install /opt") + Snapshot("before") + KillSetupAtTouch("VPrintD.log") + "; " +
      Upgrade("stopped") + "stat -c %a:%U " + kSaved + " > /root/mode; " +
      "( /root/VPrintUI 60 & echo $! > /root/ui.pid; wait ) & until [ -s /root/ui.pid ]; do sleep 0.05; done; " +
      Upgrade("again") + "kill $(cat /root/ui.pid); cp /tmp/setup.log /root/log; " + Recorded("rollback", kRollback) +
      Snapshot("after") + kSame + Recorded("verify", kVerify) + Recorded("twice", kRollback);
  SandboxResult r = RunInSandbox("rollback-stopped", o, Shell(line));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "stopped"), "137") << r.Read("/root/stopped");
  EXPECT_EQ(r.Read("/root/mode"), "700:root\n");
  const std::string again = r.Read("/root/again");
  EXPECT_EQ(Printed(r.out, "again"), "1") << again;
  EXPECT_TRUE(Contains(again, "the earlier installation saved in " + kSaved + " is kept as it is")) << again;
  EXPECT_TRUE(Contains(again.substr(again.size() > 200 ? again.size() - 200 : 0), "setup rollback install /opt\n"))
      << again;
  EXPECT_TRUE(Contains(r.Read("/root/log"), "setup rollback install /opt")) << r.Read("/root/log");
  ExpectRolledBack(r);
  EXPECT_EQ(Printed(r.out, "twice"), "2") << r.Read("/root/twice");
  EXPECT_TRUE(Contains(r.Read("/root/twice"), "nothing to roll back to")) << r.Read("/root/twice");
}

// An upgrade with keep that succeeded keeps the earlier installation; the
// newer one verifies, and rollback takes off its own link and puts the
// earlier version back, also when it was killed the first time as it
// began to copy the earlier tree back (the new one moved aside) and is run
// again.
TEST(RollbackScenario, AKeptUpgradeIsRolledBack) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line = Recorded("first", "./setup install /opt") + Snapshot("before") + Upgrade("upgrade", " keep") +
                           Recorded("newer", kVerify) + "cat /opt/Vexla/vpxx/vpxx.txt > /root/text; " +
                           KillSetupAt("cp", ".vpxx.previous/vpxx\" \"/opt") + "; " + Recorded("cut", kRollback) +
                           Recorded("rollback", kRollback) + Snapshot("after") + kSame + Recorded("verify", kVerify);
  SandboxResult r = RunInSandbox("rollback-kept", BothMedia(), Shell(line));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "upgrade"), "0") << r.Read("/root/upgrade");
  EXPECT_TRUE(Contains(r.Read("/root/upgrade"), "is kept in " + kSaved + ": setup rollback install /opt puts it back"))
      << r.Read("/root/upgrade");
  EXPECT_EQ(Printed(r.out, "newer"), "0") << r.Read("/root/newer");
  EXPECT_EQ(r.Read("/root/text"), "the newer version\n");
  EXPECT_EQ(Printed(r.out, "cut"), "137") << r.Read("/root/cut");
  EXPECT_TRUE(Contains(r.Read("/root/cut"), "took off /usr/bin/vpnew\n")) << r.Read("/root/cut");
  ExpectRolledBack(r);
}

// A rollback that cannot put a path back (a folder where /usr/bin/vprint
// was, a link of nobody's where the PPD folder was) names each, ends with
// 1 and keeps the saved copy, writing nothing through the link; once the
// two are cleared, it is made again and finishes.
TEST(RollbackScenario, ABlockedRollbackKeepsTheSavedCopyUntilItFinishes) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line =
      Recorded("first", "./setup install /opt") + Snapshot("before") + Upgrade("upgrade", " keep") +
      "rm /usr/bin/vprint && mkdir /usr/bin/vprint && rm -r /usr/share/ppd/Vexla && mkdir /etc/victim && "
      "ln -s /etc/victim /usr/share/ppd/Vexla && chown -h 65534:65534 /usr/share/ppd/Vexla; " +
      Recorded("blocked", kRollback) + "ls " + kSaved + " > /root/saved; ls -A /etc/victim > /root/victim; " +
      "rmdir /usr/bin/vprint && rm /usr/share/ppd/Vexla; " + Recorded("rollback", kRollback) + Snapshot("after") +
      kSame + Recorded("verify", kVerify);
  SandboxResult r = RunInSandbox("rollback-blocked", BothMedia(), Shell(line));
  ASSERT_EQ(Printed(r.out, "upgrade"), "0") << r.Read("/root/upgrade");
  const std::string blocked = r.Read("/root/blocked");
  EXPECT_EQ(Printed(r.out, "blocked"), "1") << blocked;
  for (const char* said : {"not restored /usr/bin/vprint: a folder stands where the earlier installation had a file\n",
                           "not restored /usr/share/ppd/Vexla: a symbolic link that root does not own leads there\n",
                           "not restored /usr/share/ppd/Vexla/Vexla-vpxx.ppd: a symbolic link",
                           "the earlier installation stays saved in /opt/Vexla/.vpxx.previous\n",
                           "setup rollback install /opt can be made again\n"})
    EXPECT_TRUE(Contains(blocked, said)) << said << "\n" << blocked;
  EXPECT_FALSE(Contains(blocked, "is rolled back to")) << blocked;
  EXPECT_EQ(r.Read("/root/saved"), "complete\noutside\nrestored\nvpxx\n");
  EXPECT_EQ(r.Read("/root/victim"), "");
  ExpectRolledBack(r);
}

// A second upgrade kept over a complete, kept one saves that one in place
// of the oldest: rollback goes back one step.
TEST(RollbackScenario, AKeptUpgradeOverAKeptOneSavesTheNewerOne) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line = Recorded("first", "./setup install /opt") + Upgrade("upgrade", " keep") +
                           Snapshot("before") + Upgrade("again", " keep") + Recorded("rollback", kRollback) +
                           Snapshot("after") + kSame + Recorded("verify", kVerify);
  SandboxResult r = RunInSandbox("rollback-twice-kept", BothMedia(), Shell(line));
  ASSERT_EQ(Printed(r.out, "upgrade"), "0") << r.Read("/root/upgrade");
  EXPECT_EQ(Printed(r.out, "again"), "0") << r.Read("/root/again");
  EXPECT_TRUE(Contains(r.Read("/root/again"), "saved in " + kSaved + ", in place of an older one"))
      << r.Read("/root/again");
  ExpectRolledBack(r);
}

// Neither a first installation nor an upgrade without keep that went well
// leaves anything to roll back to.
TEST(RollbackScenario, NothingToRollBackTo) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line = Recorded("first", "./setup install /opt") + Recorded("none", kRollback) + Upgrade("upgrade") +
                           "[ -e " + kSaved + " ] || echo dropped=yes; " + Recorded("after", kRollback);
  SandboxResult r = RunInSandbox("rollback-nothing", BothMedia(), Shell(line));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "upgrade"), "0") << r.Read("/root/upgrade");
  EXPECT_TRUE(Contains(r.Read("/root/upgrade"), "the earlier installation is saved in " + kSaved));
  EXPECT_EQ(Printed(r.out, "dropped"), "yes");
  for (const char* run : {"none", "after"}) {
    EXPECT_EQ(Printed(r.out, run), "2") << r.Read(std::string("/root/") + run);
    EXPECT_TRUE(Contains(r.Read(std::string("/root/") + run), "nothing to roll back to: no saved installation " + kSaved));
  }
}

// A rollback with nothing to roll back to changes nothing, not even the
// log: the installation's log stays as it was (as with remove, the log
// starts once the manifest is trusted).
TEST(RollbackScenario, NothingToRollBackToKeepsTheLog) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line = Recorded("first", "./setup install /opt") + "cp /tmp/setup.log /root/log; " +
                           Recorded("none", kRollback) + "cmp /tmp/setup.log /root/log > /root/cmp 2>&1 && echo same=yes";
  SandboxResult r = RunInSandbox("rollback-nothing-log", FromMedium(EarlierMedium()), Shell(line));
  ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  EXPECT_EQ(Printed(r.out, "none"), "2") << r.Read("/root/none");
  EXPECT_FALSE(r.Read("/root/log").empty());
  EXPECT_EQ(Printed(r.out, "same"), "yes") << r.Read("/root/cmp");
}

// Notes of a stopped run that a member of the application directory's
// group planted record nothing: keep saves the earlier installation, names
// the notes, and rollback puts it back whole.
TEST(RollbackScenario, PlantedNotesDoNotStopKeep) {
  SETUP_REQUIRE_SANDBOX();
  const std::string line = Recorded("first", "./setup install /opt") +
                           "chgrp lp /opt/Vexla/vpxx; chmod 775 /opt/Vexla/vpxx; " +
                           AsAttacker("touch /opt/Vexla/vpxx/setup.made", "lp") + "; echo planted=$?; " +
                           Snapshot("before") + Upgrade("upgrade", " keep") + "ls " + kSaved + " > /root/saved; " +
                           Recorded("rollback", kRollback) + Snapshot("after") + kSame;
  SandboxResult r = RunInSandbox("rollback-planted-notes", BothMedia(), Shell(line));
  ASSERT_EQ(Printed(r.out, "first") + Printed(r.out, "planted"), "00") << r.Read("/root/first") << r.err;
  const std::string upgrade = r.Read("/root/upgrade");
  EXPECT_EQ(Printed(r.out, "upgrade"), "0") << upgrade;
  EXPECT_TRUE(Contains(upgrade, "the notes /opt/Vexla/vpxx/setup.made are not used: it is not owned by root (uid 65534)"))
      << upgrade;
  EXPECT_TRUE(Contains(upgrade, "the earlier installation is saved in " + kSaved)) << upgrade;
  EXPECT_EQ(r.Read("/root/saved"), "complete\noutside\nvpxx\n");
  EXPECT_EQ(Printed(r.out, "rollback"), "0") << r.Read("/root/rollback");
  EXPECT_EQ(Printed(r.out, "same"), "yes") << r.Read("/root/cmp") << r.Read("/root/before") << r.Read("/root/after");
}

// keep with no copy to be made (none there; notes of root's of a stopped
// run) ends with 1 before anything changes.
TEST(RollbackScenario, KeepWithoutACopyChangesNothing) {
  SETUP_REQUIRE_SANDBOX();
  const struct {
    const char* name;
    std::string before;
    const char* said;
  } cases[] = {
      {"none", "", "setup: there is no earlier installation in /opt/Vexla/vpxx to keep (keep); nothing was done\n"},
      {"stopped", Recorded("first", "./setup install /opt") + "touch /opt/Vexla/vpxx/setup.made; ",
       "setup: the earlier installation in /opt/Vexla/vpxx cannot be kept (keep): a run over it was stopped"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string line = c.before + Snapshot("before") + Upgrade("upgrade", " keep") + Snapshot("after") + kSame;
    SandboxResult r = RunInSandbox(std::string("rollback-keep-") + c.name, BothMedia(), Shell(line));
    const std::string out = r.Read("/root/upgrade");
    EXPECT_EQ(Printed(r.out, "upgrade"), "1") << out;
    EXPECT_TRUE(Contains(out, c.said)) << out;
    EXPECT_EQ(Printed(r.out, "same"), "yes") << r.Read("/root/cmp");
    ExpectAbsent(r, kSaved);
  }
}

// Room for the upgrade but not for the saved copy: a warning and the
// upgrade goes on without it, or, with keep, status 1 and nothing changed.
TEST(RollbackScenario, NoRoomForTheSavedCopy) {
  SETUP_REQUIRE_SANDBOX();
  const long needInstall = std::strtol(ReadWholeFile(NewerMedium() + "/isize").c_str(), nullptr, 10) + 40;
  // The install side has just the room the upgrade needs, what the earlier
  // product occupies counted as free.
  const std::string df = StandIn(
      "/usr/sbin/df", "echo \"Filesystem 1K-blocks Used Available Use% Mounted on\"; case \"$1\" in /tmp*) echo "
                      "\"/dev/work 900000 1 900000 1% /tmp\";; *) echo \"/dev/root 900000 1 $((" +
                          std::to_string(needInstall) +
                          " - $(du -s /opt/Vexla | cut -f1))) 1% /\";; esac");
  struct Case {
    const char* words;
    const char* status;
    const char* said;
  } cases[] = {
      {"", "0", "WARNING: there is no room to save the earlier installation; the upgrade goes on without"},
      {" keep", "1", "setup: there is no room to keep the earlier installation (keep); nothing was done"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    const std::string line = Recorded("first", "./setup install /opt") + Snapshot("before") + df + "; " +
                             Upgrade("upgrade", c.words) + Snapshot("after") + kSame;
    SandboxResult r = RunInSandbox(std::string("rollback-room") + c.words, BothMedia(), Shell(line));
    ASSERT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
    const std::string out = r.Read("/root/upgrade");
    EXPECT_EQ(Printed(r.out, "upgrade"), c.status) << out;
    EXPECT_TRUE(Contains(out, c.said)) << out;
    EXPECT_FALSE(Contains(out, "is saved in")) << out;
    EXPECT_EQ(Printed(r.out, "same"), c.status[0] == '1' ? "yes" : "") << r.Read("/root/cmp");
    ExpectAbsent(r, kSaved);
  }
}

}  // namespace
