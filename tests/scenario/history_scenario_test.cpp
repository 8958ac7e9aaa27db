// The host's history of setup runs, in the sandbox: each run that changed
// the host leaves one line with its action and exit status, the runs that
// change nothing leave none, setup history prints them, and a history that
// someone else could have written is set aside, never written through.
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"
#include "test_support.h"

namespace {

// Whether text has pattern's shape: each '#' a digit, any other character itself.
bool HasShape(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (pattern[i] == '#' ? !std::isdigit(static_cast<unsigned char>(text[i])) : text[i] != pattern[i]) return false;
  return true;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Install, a kept upgrade, rollback (and a second one, with nothing to roll
// back to), an upgrade whose package list fails a copy, remove, and an
// installation that a failing command ends half-way: six lines, each with the status its run ended with; verify, the refused
// rollback and a refused command line add none. history prints them as text and as JSON.
TEST(HistoryScenario, EachRunThatChangedTheHostLeavesItsLine) {
  SETUP_REQUIRE_SANDBOX();
  SandboxOptions o = FromSite();
  o.timeoutSeconds = 120;
  const std::string upgrade = "printf 'y\\n' | ./setup install /opt";
  const std::string line =
      "echo digest=$(sha256sum /media/sha256 | cut -c1-64); " + Recorded("install", "./setup install /opt") +
      Recorded("upgrade", upgrade + " keep") + Recorded("verify", "./setup verify install /opt") +
      Recorded("both", "./setup verify remove install /opt") +
      Recorded("rollback", "./setup rollback install /opt") + Recorded("again", "./setup rollback install /opt") +
      StandIn("/usr/sbin/cp", "case \"$*\" in */pkg/VPrintD*) exit 1;; esac; exec /usr/bin/cp \"$@\"") + "; " +
      Recorded("failed", upgrade) + "rm /usr/sbin/cp; " +
      Recorded("remove", "printf 'y\\ny\\ny\\ny\\n' | ./setup remove install /opt") +
      StandIn("/usr/sbin/ln", "exit 1") + "; " + Recorded("fatal", "./setup install /opt") + "rm /usr/sbin/ln; " +
      "stat -c %a:%U " + kHistoryFile + " > /root/mode; " + Recorded("text", "./setup history") +
      "./setup history --json > /root/json 2>/root/json.err; echo json=$?; ";
  SandboxResult r = RunInSandbox("history-runs", o, Shell(line));
  const std::string digest = Printed(r.out, "digest");
  ASSERT_EQ(digest.size(), 64u) << r.out;
  for (const char* done : {"install", "upgrade", "rollback"}) EXPECT_EQ(Printed(r.out, done), "0") << r.Read(std::string("/root/") + done);
  EXPECT_EQ(Printed(r.out, "failed"), "1") << r.Read("/root/failed");
  EXPECT_EQ(Printed(r.out, "fatal"), "1") << r.Read("/root/fatal");
  EXPECT_EQ(Printed(r.out, "again"), "2") << r.Read("/root/again");
  // A remove beside a word that takes no lock would run without it.
  EXPECT_EQ(Printed(r.out, "both"), "2") << r.Read("/root/both");
  EXPECT_TRUE(Contains(r.Read("/root/both"), "go alone")) << r.Read("/root/both");
  const struct {
    const char* run;
    const char* action;
    bool medium;
  } runs[] = {{"install", "install", true},
              {"upgrade", "upgrade", true},
              {"rollback", "rollback", false},
              {"failed", "upgrade", true},
              {"remove", "remove", false},
              {"fatal", "install", true}};
  const std::vector<std::string> lines = Lines(r.Read(kHistoryFile));
  ASSERT_EQ(lines.size(), std::size(runs)) << r.Read(kHistoryFile);
  const std::string begins = "{\"started\":\"####-##-##T##:##:##Z\",\"seconds\":";
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(runs[i].run);
    const std::string status = Printed(r.out, runs[i].run);
    const std::string failedSteps = std::string(runs[i].run) == "failed" ? "1" : "0";
    const std::string medium = runs[i].medium ? "\"medium\":\"/media\",\"medium_sha256\":\"" + digest + "\""
                                              : "\"medium\":\"\",\"medium_sha256\":\"\"";
    const std::string rest = "\"action\":\"" + std::string(runs[i].action) + "\",\"dir\":\"/opt/Vexla/vpxx\"," + medium +
                             ",\"signer\":\"\",\"status\":" + status + ",\"failed_steps\":" + failedSteps +
                             ",\"version\":\"3.00.42\"}";
    ASSERT_TRUE(HasShape(lines[i].substr(0, begins.size()), begins)) << lines[i];
    const std::string seconds = lines[i].substr(begins.size());
    const size_t comma = seconds.find_first_not_of("0123456789");
    ASSERT_TRUE(comma > 0 && comma != std::string::npos && seconds[comma] == ',') << lines[i];
    EXPECT_EQ(seconds.substr(comma + 1), rest) << r.Read(std::string("/root/") + runs[i].run);
  }
  EXPECT_EQ(r.Read("/root/mode"), "640:root\n");

  EXPECT_EQ(Printed(r.out, "text"), "0");
  const std::vector<std::string> text = Lines(r.Read("/root/text"));
  ASSERT_EQ(text.size(), std::size(runs)) << r.Read("/root/text");
  EXPECT_TRUE(Contains(text[0], " UTC  install   /opt/Vexla/vpxx  status 0 (0 failed steps)  ")) << text[0];
  EXPECT_TRUE(Contains(text[0], "  medium /media sha256 " + digest.substr(0, 12) + "...  ")) << text[0];
  EXPECT_TRUE(Contains(text[3], " UTC  upgrade   /opt/Vexla/vpxx  status 1 (1 failed step)   ")) << text[3];
  EXPECT_TRUE(Contains(text[4], "  no medium  ")) << text[4];
  EXPECT_EQ(Printed(r.out, "json"), "0");
  std::string entries;
  for (const std::string& l : lines) entries += (entries.empty() ? "" : ",") + l;
  EXPECT_EQ(r.Read("/root/json"), "{\"file\":\"" + std::string(kHistoryFile) + "\",\"entries\":[" + entries + "]}\n");
  EXPECT_EQ(r.Read("/root/json.err"), "");
}

// A history someone else could have written (a link to a file of root's,
// a file of nobody's) is refused by setup history (status 2) and set aside
// by the next run, which names it, writes nothing through it, ends as it
// would have, and begins a new history with its own line. A line of
// another kind in a history of root's is passed over by number.
TEST(HistoryScenario, AHistoryOthersCouldHaveWrittenIsSetAside) {
  SETUP_REQUIRE_SANDBOX();
  const struct {
    const char* what;
    std::string plant;
    const char* why;
  } cases[] = {
      {"link", std::string("ln -s /etc/victim ") + kHistoryFile, "it is a symbolic link"},
      {"nobody", std::string("echo '{}' > ") + kHistoryFile + " && chown 65534:65534 " + kHistoryFile + " && chmod 644 " +
                     kHistoryFile, "it is not owned by root (uid 65534)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SandboxOptions o = FromSite();
    o.setup.push_back("printf 'victim\\n' > /etc/victim && " + c.plant);
    const std::string line = Recorded("refused", "./setup history") + Recorded("install", "./setup install /opt") +
                             "ls /var/log | grep setup-Vexla > /root/names; cat /etc/victim > /root/victim; " +
                             "printf 'not json\\n' >> " + kHistoryFile + "; " + Recorded("skipped", "./setup history");
    SandboxResult r = RunInSandbox(std::string("history-planted-") + c.what, o, Shell(line));
    EXPECT_EQ(Printed(r.out, "refused"), "2");
    EXPECT_EQ(r.Read("/root/refused"),
              "ERROR: the history " + std::string(kHistoryFile) + " is not used: " + c.why + "\n");
    EXPECT_EQ(Printed(r.out, "install"), "0") << r.Read("/root/install");
    const std::string said = "WARNING: the history " + std::string(kHistoryFile) + " is not used: " + c.why +
                             "; it is set aside as " + kHistoryFile + ".untrusted-";
    EXPECT_TRUE(Contains(r.Read("/root/install"), said)) << r.Read("/root/install");
    EXPECT_TRUE(Contains(r.Read("/tmp/setup.log"), said)) << r.Read("/tmp/setup.log");
    EXPECT_TRUE(HasShape(r.Read("/root/names"), "setup-Vexla.history\nsetup-Vexla.history.untrusted-########T######Z\n"))
        << r.Read("/root/names");
    EXPECT_EQ(r.Read("/root/victim"), "victim\n");
    EXPECT_FALSE(r.Changed("/etc/victim"));
    EXPECT_EQ(Lines(r.Read(kHistoryFile)).size(), 2u) << r.Read(kHistoryFile);
    EXPECT_TRUE(Contains(r.Read(kHistoryFile), "\"action\":\"install\"")) << r.Read(kHistoryFile);
    ExpectFile(r, kHistoryFile, S_IFREG, 0640);
    EXPECT_EQ(Printed(r.out, "skipped"), "0");
    const std::vector<std::string> skipped = Lines(r.Read("/root/skipped"));
    ASSERT_EQ(skipped.size(), 2u) << r.Read("/root/skipped");
    EXPECT_EQ(skipped[0], "WARNING: " + std::string(kHistoryFile) + ", line 2, is not a JSON object: passed over");
  }
}

}  // namespace
