// Two runs of setup on one host: the one that holds the lock changes the
// host, the other changes nothing (or, asked to, waits for its turn).
#include <algorithm>
#include <string>

#include "install_fixtures.h"
#include "sandbox.h"

namespace {

// The installation started first holds the lock while a slow uncompress
// runs; the shell line waits until it holds it before going on.
SandboxOptions WithASlowInstallation() {
  SandboxOptions o = FromSite();
  o.setup.push_back("mv /usr/bin/uncompress /usr/bin/uncompress.real");
  o.setup.push_back(StandIn("/usr/bin/uncompress", "sleep 2; exec /usr/bin/uncompress.real \"$@\""));
  return o;
}

const std::string kStartFirst = std::string("./setup install /opt > /root/first 2>&1 & first=$!; ") + "until [ -s " +
                                kLockHolderFile + " ] || ! kill -0 $first 2>/dev/null; do sleep 0.05; done; ";

TEST(LockScenario, ASecondRunChangesNothingUnlessItWaits) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r = RunInSandbox(
      "lock-second", WithASlowInstallation(),
      Shell(kStartFirst + "./setup install /opt > /root/second 2>&1; echo second=$?; " +
            "./setup remove install /opt > /root/remove 2>&1; echo remove=$?; " +
            "./setup verify install /opt > /root/verify 2>&1; " +
            "printf 'y\\n' | ./setup install /opt wait > /root/waited 2>&1; echo waited=$?; " +
            "wait $first; echo first=$?; ./setup verify install /opt > /root/verify2; echo verify=$?"));
  EXPECT_EQ(Printed(r.out, "first"), "0") << r.Read("/root/first");
  // Refused at once, before the log or the work directory is touched.
  const std::string refused = "setup: another setup (process ";
  for (const char* run : {"second", "remove"}) {
    SCOPED_TRACE(run);
    EXPECT_EQ(Printed(r.out, run), "1");
    const std::string said = r.Read(std::string("/root/") + run);
    EXPECT_EQ(said.rfind(refused, 0), 0u) << said;
    EXPECT_TRUE(Contains(said, ") is changing this host; nothing was done\n")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  }
  EXPECT_TRUE(Contains(r.Read("/root/verify"), "an installation is under way")) << r.Read("/root/verify");
  // The waiting run says so once, then installs over the first.
  EXPECT_EQ(Printed(r.out, "waited"), "0") << r.Read("/root/waited");
  EXPECT_EQ(r.Read("/root/waited").rfind("setup: waiting for another setup (process ", 0), 0u)
      << r.Read("/root/waited");
  EXPECT_EQ(Printed(r.out, "verify"), "0") << r.Read("/root/verify2");
  ExpectInstalled(r, "/opt", " BSD ", std::string(kUpgradedAndCleaned) + kUpgradedAndCleaned);
}

// Another user can neither open the lock nor use an old lock file that
// others may open: with nobody holding flock on an old file of mode 0644
// and trying to on the lock, root's runs go on. A preview by that user
// still says when an installation is under way, and no longer once it ended.
TEST(LockScenario, NoOtherUserCanHoldTheLock) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = WithASlowInstallation();
  o.setup.push_back(std::string(": > ") + kLockFile + " && chmod 644 " + kLockFile);
  const std::string hold = std::string("flock -s ") + kLockFile + " sleep 5";
  const std::string preview = "./setup preview install /opt";
  SandboxResult r = RunInSandbox(
      "lock-attacker", o,
      Shell(AsAttacker(std::string("flock -s ") + kLockFile + " sh -c \"touch /tmp/held; exec sleep 30\"") +
            " & until [ -e /tmp/held ]; do sleep 0.05; done; " + kStartFirst + AsAttacker(hold) +
            " > /root/attack 2>&1 & attacker=$!; " + AsAttacker(preview) + " > /root/during 2>&1; " +
            "wait $first; echo first=$?; wait $attacker; echo attack=$?; " + AsAttacker(preview) +
            " > /root/after 2>&1; printf \"y\\n\" | ./setup install /opt > /root/second 2>&1; echo second=$?; " +
            "echo mode=$(stat -c %a " + kLockFile + ")"));
  EXPECT_EQ(Printed(r.out, "first") + Printed(r.out, "second"), "00")
      << r.Read("/root/first") << r.Read("/root/second");
  EXPECT_NE(Printed(r.out, "attack"), "0") << r.Read("/root/attack");
  EXPECT_TRUE(Contains(r.Read("/root/attack"), "Permission denied")) << r.Read("/root/attack");
  EXPECT_EQ(Printed(r.out, "mode"), "600");
  EXPECT_TRUE(Contains(r.Read("/root/during"), "setup: an installation is under way (process "))
      << r.Read("/root/during");
  EXPECT_FALSE(Contains(r.Read("/root/after"), "under way")) << r.Read("/root/after");
  ExpectInstalled(r, "/opt", " BSD ", std::string(kUpgradedAndCleaned) + kUpgradedAndCleaned);
}

// The kernel releases the lock of a killed run, and no child of setup
// keeps it: the next run starts at once.
TEST(LockScenario, AKilledRunLeavesNoLock) {
  SETUP_REQUIRE_SANDBOX();
  SandboxResult r =
      RunInSandbox("lock-killed", WithASlowInstallation(),
                   Shell(kStartFirst + "kill -9 $first; wait $first; " +
                         "printf 'y\\n' | ./setup install /opt > /root/next 2>&1; echo next=$?"));
  EXPECT_EQ(Printed(r.out, "next"), "0") << r.Read("/root/next");
  EXPECT_FALSE(Contains(r.Read("/root/next"), "another setup")) << r.Read("/root/next");
  ExpectInstalled(r, "/opt");
}

}  // namespace
