// The command table, runner, log and host probes with the real program and
// real host tools, in the sandbox.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "sandbox.h"
#include "test_support.h"

namespace {

SandboxOptions WithSetup() {
  SandboxOptions o;
  o.copies = {{SetupProgramPath(), "/media/setup"}};
  o.cwd = "/media";
  return o;
}

SandboxOptions WithProbe() {
  SandboxOptions o;
  o.copies = {{ProbeDriverPath(), "/usr/local/bin/probe_driver"}};
  return o;
}

struct HostFile {
  bool exists = false;
  struct stat st = {};
  std::string content;
};

HostFile Snapshot(const std::string& path) {
  HostFile f;
  f.exists = lstat(path.c_str(), &f.st) == 0;
  if (f.exists) f.content = ReadWholeFile(path);
  return f;
}

bool Same(const HostFile& a, const HostFile& b) {
  if (a.exists != b.exists) return false;
  if (!a.exists) return true;
  return a.st.st_ino == b.st.st_ino && a.st.st_size == b.st.st_size &&
         a.st.st_mtim.tv_sec == b.st.st_mtim.tv_sec && a.st.st_mtim.tv_nsec == b.st.st_mtim.tv_nsec &&
         a.content == b.content;
}

// ---------------------------------------------------------------------------
// The program and its log.

TEST(SetupScenario, VersionRunStartsTheLogAndTouchesNothingElse) {
  SETUP_REQUIRE_SANDBOX();
  // A medium holding the program and a marker, copied in as a whole.
  ScratchDir medium;
  std::filesystem::copy_file(SetupProgramPath(), medium.File("setup"));
  medium.Write("installf.rom", "installation site");
  SandboxOptions o;
  o.medium = medium.path();
  SandboxResult r = RunInSandbox("setup-v", o, {"./setup", "-v"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "setup 3.00.42\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.changes, std::vector<std::string>{"A /tmp/setup.log"});
  EXPECT_EQ(r.Read("/tmp/setup.log"), "initializing system\n");
  struct stat st;
  ASSERT_EQ(lstat(r.Upper("/tmp/setup.log").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(st.st_mode & 0777, 0666u);
}

TEST(SetupScenario, APlantedLogLeavesItsTargetUnchanged) {
  SETUP_REQUIRE_SANDBOX();
  const std::pair<const char*, const char*> plants[] = {
      {"symlink", "ln -s /etc/victim /tmp/setup.log"},
      {"hardlink", "ln /etc/victim /tmp/setup.log"},
      {"foreign", "printf 'theirs\\n' > /tmp/setup.log && chown 65534:65534 /tmp/setup.log"},
  };
  for (const auto& [what, plant] : plants) {
    SCOPED_TRACE(what);
    SandboxOptions o = WithSetup();
    o.setup = {"printf 'precious\\n' > /etc/victim", plant};
    SandboxResult r = RunInSandbox(std::string("planted-") + what, o,
                                   {"/bin/sh", "-c", "./setup -v; cat /etc/victim"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "precious\n");
    EXPECT_FALSE(r.Changed("/etc/victim"));
    EXPECT_EQ(r.Read("/tmp/setup.log"), "initializing system\n");
    struct stat st;
    ASSERT_EQ(lstat(r.Upper("/tmp/setup.log").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_nlink, 1u);
    EXPECT_EQ(st.st_uid, 0u);
  }
}

TEST(SetupScenario, TheHostIsUnchangedAfterAScenario) {
  SETUP_REQUIRE_SANDBOX();
  const std::string marker = "/etc/setup-sandbox-marker-" + std::to_string(getpid());
  const std::string binMarker = "/usr/bin/setup-sandbox-marker-" + std::to_string(getpid());
  const HostFile logBefore = Snapshot("/tmp/setup.log");
  ASSERT_FALSE(Snapshot(marker).exists);
  ASSERT_FALSE(Snapshot(binMarker).exists);

  SandboxResult r = RunInSandbox(
      "host-unchanged", WithSetup(),
      {"/bin/sh", "-c", "touch " + marker + " " + binMarker + " && rm -f /etc/hostname && ./setup -v"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.Changed(marker));
  EXPECT_TRUE(r.Changed(binMarker));
  EXPECT_TRUE(r.Changed("/tmp/setup.log"));

  EXPECT_FALSE(Snapshot(marker).exists);
  EXPECT_FALSE(Snapshot(binMarker).exists);
  EXPECT_TRUE(Same(Snapshot("/tmp/setup.log"), logBefore));
  if (Snapshot("/etc/hostname").exists) {
    EXPECT_TRUE(std::find(r.changes.begin(), r.changes.end(), "D /etc/hostname") != r.changes.end());
  }
}

// ---------------------------------------------------------------------------
// Host probes.

struct ProbeCase {
  const char* what;
  std::vector<std::string> setup;
  std::vector<std::string> command;
  std::string out;
};

void RunProbeCases(const std::string& prefix, const std::vector<ProbeCase>& cases) {
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = WithProbe();
    o.setup = c.setup;
    SandboxResult r = RunInSandbox(prefix + "-" + c.what, o, c.command);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

TEST(ProbeScenario, SpoolerProbes) {
  SETUP_REQUIRE_SANDBOX();
  RunProbeCases(
      "spooler",
      {
          {"lprng", {RemoveEverywhere("lpd"), StandIn("/usr/sbin/lpd", "echo \"lpd (LPRng) 3.8.28\"")},
           {"probe_driver", "lprng"}, "1\n"},
          {"other-lpd", {RemoveEverywhere("lpd"), StandIn("/usr/sbin/lpd", "echo usage: lpd >&2; exit 1")},
           {"probe_driver", "lprng"}, "0\n"},
          {"no-lpd", {RemoveEverywhere("lpd")}, {"probe_driver", "lprng"}, "0\n"},
          {"cups", {RemoveEverywhere("cupsd"), ": > /usr/sbin/cupsd"}, {"probe_driver", "cups"}, "1\n"},
          {"no-cups", {RemoveEverywhere("cupsd")}, {"probe_driver", "cups"}, "0\n"},
      });
}

TEST(ProbeScenario, UserAndToolPath) {
  SETUP_REQUIRE_SANDBOX();
  RunProbeCases(
      "identity",
      {
          {"root", {}, {"probe_driver", "user"}, "root\n"},
          {"nobody", {}, {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "probe_driver", "user"},
           "nobody\n"},
          {"no-whoami", {RemoveEverywhere("whoami")}, {"probe_driver", "user"}, "(none)\n"},
          {"dot-slash",
           {"mkdir -p /media/bin /media/sub && cp /usr/local/bin/probe_driver /media/bin/"},
           {"/bin/sh", "-c", "cd /media && ./bin/probe_driver toolpath"}, "/media/bin\n"},
          {"dot-dot",
           {"mkdir -p /media/bin /media/sub && cp /usr/local/bin/probe_driver /media/bin/"},
           {"/bin/sh", "-c", "cd /media/sub && ../bin/probe_driver toolpath"}, "/media/bin\n"},
      });
}

TEST(ProbeScenario, ProcessesAreFoundByTheirCommandName) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = WithProbe();
  o.setup = {"cp /usr/bin/sleep /usr/local/bin/VPrintD", "cp /usr/bin/sleep /usr/local/bin/VPrintD.old"};
  SandboxResult r = RunInSandbox(
      "ps-vprintd", o,
      {"/bin/sh", "-c",
       "VPrintD 30 & a=$!; VPrintD.old 30 & VPrintD 30 & b=$!; sleep 0.5; "
       "echo \"[ $a $b ]\"; probe_driver ps VPrintD; echo \"VPrintD ( $a $b )\"; "
       "probe_driver procs lpd,VPrintD; probe_driver ps lpd"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines;
  std::istringstream in(r.out);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 5u) << r.out;
  EXPECT_EQ(lines[1], lines[0]);
  EXPECT_EQ(lines[3], lines[2]);
  EXPECT_EQ(lines[4], "[]");
}

TEST(ProbeScenario, DiskQueriesReadRealOutput) {
  SETUP_REQUIRE_SANDBOX();
  const std::string df =
      "echo \"Filesystem     1K-blocks  Used Available Use% Mounted on\"; "
      "echo \"/dev/sbx           10000  5758      4242  58% $1\"";
  RunProbeCases("disk", {
                            {"df-stand-in", {StandIn("/usr/sbin/df", df)}, {"probe_driver", "df", "/opt"},
                             "1 4242\n/dev/sbx           10000  5758      4242  58% /opt\n"},
                            {"df-header-only", {StandIn("/usr/sbin/df", "echo \"Filesystem Available\"")},
                             {"probe_driver", "df", "/opt"}, "1 0\n"},
                        });

  // The real df and du.
  SandboxOptions o = WithProbe();
  o.setup = {"mkdir -p /opt/dutest && dd if=/dev/zero of=/opt/dutest/f bs=1024 count=200 2>/dev/null"};
  SandboxResult r = RunInSandbox("disk-real", o,
                                 {"/bin/sh", "-c", "probe_driver du /opt/dutest; probe_driver df /opt"});
  EXPECT_EQ(r.status, 0) << r.err;
  std::istringstream in(r.out);
  double du = 0;
  int ok = 0;
  double avail = 0;
  in >> du >> ok >> avail;
  EXPECT_GE(du, 200);
  EXPECT_LT(du, 260);
  EXPECT_EQ(ok, 1) << r.out;
  EXPECT_GT(avail, 0);
}

// ---------------------------------------------------------------------------
// The runner with the real shell: a failure is the command's exit status.

TEST(RunnerScenario, ExitStatusDecidesUnderEachSeverity) {
  SETUP_REQUIRE_SANDBOX();
  struct Case {
    const char* what;
    std::vector<std::string> command;
    int status;
    std::string out;
    std::string logTail;  // the log ends with this
  };
  const Case cases[] = {
      {"fatal", {"probe_driver", "syscmd", "2", "5", "755 /nonexistent/x"}, 1,
       ".ERROR: chmod: exit status 1\n", "ERROR: chmod: exit status 1\n"},
      {"warning", {"probe_driver", "syscmd", "1", "5", "755 /nonexistent/x"}, 0, ".\nresult=1\n",
       "WARNING_MSG: chmod: exit status 1\n"},
      {"silent", {"probe_driver", "syscmd", "0", "5", "755 /nonexistent/x"}, 0, "\nresult=1\n",
       "initializing system\n"},
      {"success", {"probe_driver", "syscmd", "2", "5", "700 /opt/f"}, 0, ".\nresult=0\n", " 700 /opt/f\n"},
      {"missing", {"probe_driver", "syscmd", "0", "37", ""}, 1, "", "initializing system\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = WithProbe();
    o.setup = {"touch /opt/f", RemoveEverywhere("whoami")};
    SandboxResult r = RunInSandbox(std::string("runner-") + c.what, o, c.command);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    std::string log = r.Read("/tmp/probe_driver.log");
    ASSERT_GE(log.size(), c.logTail.size()) << log;
    EXPECT_EQ(log.substr(log.size() - c.logTail.size()), c.logTail) << log;
    if (std::string(c.what) == "fatal") {
      // The command's own complaint went to the log between the two lines.
      EXPECT_NE(log.find("/nonexistent/x"), std::string::npos) << log;
    }
    if (std::string(c.what) == "missing") {
      EXPECT_EQ(r.err, "ERROR: unable to locate system command 'whoami'\n");
    }
    if (std::string(c.what) == "success") {
      struct stat st;
      ASSERT_EQ(stat(r.Upper("/opt/f").c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
  }
}

}  // namespace
