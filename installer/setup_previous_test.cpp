#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "SysCmd.h"
#include "installer.h"
#include "test_support.h"

namespace {

// English texts, a program name for the messages, and no earlier
// installation looked up (that reads /bin/vprint and /usr/bin/vprint of the
// real host, which the scenario tests cover in the sandbox).
class DirDialogue : public testing::Test {
 protected:
  void SetUp() override {
    savedLang_ = pCurLang;
    pCurLang = NLS_ENGLISH;
  }
  void TearDown() override { pCurLang = savedLang_; }

  // Runs the dialogue on input; returns its result, the output in out.
  bool Ask(const std::string& input, std::string* out) {
    StdinFrom in(input);
    testing::internal::CaptureStdout();
    bool accepted = GetDirName(kInfo, "/usr", 0);
    *out = testing::internal::GetCapturedStdout();
    return accepted;
  }

  static constexpr const char* kInfo[] = {"First line.", "Second line.", nullptr};
  LogScope log;  // the program's name in messages; never /tmp/setup.log

 private:
  const SetupMessage* savedLang_;
};

// The line that says that input ended, naming the program.
std::string EndOfInput() {
  return std::string("\n") + my_name + ": end of input at a question: nothing more is installed\n";
}

std::string Proposal(const std::string& dir) { return "\nEnter the new installation directory [" + dir + "]: "; }
std::string UseIt(const std::string& dir) { return "Do you want to use " + dir + "? [y/n] "; }
const std::string kIntro = "\nFirst line.\nSecond line.\n";
const std::string kBackToMenu = "Do you want to return to Setup Menu? [y/n] ";

TEST_F(DirDialogue, ATypedDirectoryIsProposedThenConfirmed) {
  std::string out;
  EXPECT_TRUE(Ask("/opt\n\ny\n", &out));
  EXPECT_STREQ(Name, "/opt");
  EXPECT_EQ(out, kIntro + Proposal("/usr") + Proposal("/opt") + UseIt("/opt"));

  EXPECT_FALSE(Ask("/opt\n\nn\n", &out));
  EXPECT_EQ(out, kIntro + Proposal("/usr") + Proposal("/opt") + UseIt("/opt"));

  // The proposal itself, after an answer that was neither y nor n.
  EXPECT_TRUE(Ask("\nmaybe\nyes\n", &out));
  EXPECT_STREQ(Name, "/usr");
  EXPECT_EQ(out, kIntro + Proposal("/usr") + UseIt("/usr") + UseIt("/usr"));
}

TEST_F(DirDialogue, APathWithoutLeadingSlashOffersTheWayBack) {
  std::string out;
  // n stays in the dialogue with the earlier proposal.
  EXPECT_TRUE(Ask("opt\nn\n\ny\n", &out));
  EXPECT_STREQ(Name, "/usr");
  EXPECT_EQ(out, kIntro + Proposal("/usr") + kBackToMenu + Proposal("/usr") + UseIt("/usr"));
  // y goes back: nothing accepted.
  EXPECT_FALSE(Ask("/srv\nopt\ny\n", &out));
  EXPECT_EQ(out, kIntro + Proposal("/usr") + Proposal("/srv") + kBackToMenu);
}

TEST_F(DirDialogue, EndOfInputDeclines) {
  const std::string said = EndOfInput();
  struct Case {
    const char* what;
    std::string input;
    std::string out;
  } cases[] = {
      {"at once", "", kIntro + Proposal("/usr") + said},
      {"after a directory", "/opt\n", kIntro + Proposal("/usr") + Proposal("/opt") + said},
      {"at the way back", "opt\n", kIntro + Proposal("/usr") + kBackToMenu + said},
      {"at the confirmation", "/opt\n\n", kIntro + Proposal("/usr") + Proposal("/opt") + UseIt("/opt") + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out;
    EXPECT_FALSE(Ask(c.input, &out));
    EXPECT_EQ(out, c.out);
  }
}

TEST_F(DirDialogue, UnsafeOrOverlongDirectoriesAreRefusedAndAskedAgain) {
  const std::string me = my_name;
  const std::string unsafe = me + ": a directory name may hold only letters, digits and / . _ - + , @ : =\n";
  const std::string tooLong = me + ": the directory name is too long (at most 200 characters)\n";
  struct Case {
    const char* what;
    std::string typed;
    std::string why;
  } cases[] = {
      {"blank", "/opt/my dir", unsafe},
      {"command", "/opt;rm -rf /", unsafe},
      {"expansion", "/opt/$(id)", unsafe},
      {"quote", "/opt/'x'", unsafe},
      {"overlong", "/" + std::string(kMaxDirText, 'd'), tooLong},
      // Longer than the line buffer: the rest of the line is no answer of
      // its own.
      {"longer than a line", "/" + std::string(2 * kLineBufSize, 'd'), tooLong},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string out;
    EXPECT_TRUE(Ask(c.typed + "\n/srv\n\ny\n", &out));
    EXPECT_STREQ(Name, "/srv");
    EXPECT_EQ(out, kIntro + Proposal("/usr") + c.why + Proposal("/usr") + Proposal("/srv") + UseIt("/srv"));
  }
  // The longest acceptable text fits the name buffer whole.
  const std::string longest = "/" + std::string(kMaxDirText - 1, 'd');
  std::string out;
  EXPECT_TRUE(Ask(longest + "\n\ny\n", &out));
  EXPECT_EQ(Name, longest);
}

// ---------------------------------------------------------------------------
// Processes, through the host seam: queued `ps -ace` outputs, recorded kills
// and sleeps.


class Processes : public testing::Test {
 protected:
  void SetUp() override {
    table.ResolveFromHost();
    savedLang_ = pCurLang;
    pCurLang = NLS_ENGLISH;
  }
  void TearDown() override { pCurLang = savedLang_; }

  LogScope log;
  ComListScope table;
  HostRecorder host;

 private:
  const SetupMessage* savedLang_;
};

using Kills = std::vector<std::pair<int, int>>;

TEST_F(Processes, StopDemonKillsEveryDaemonOfBothNames) {
  host.pipeOutputs = {Ps({{1, "init"}, {212, "VPrintD"}, {300, "VPrintD.old"}, {1045, "VPrintD"}}),
                      Ps({{77, "VPD"}})};
  // The first one had ended already: it is reported all the same.
  host.killErrnos = {ESRCH, 0, 0};
  testing::internal::CaptureStdout();
  StopDemon();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "killed VPrintD 212\nkilled VPrintD 1045\nkilled VPrintD 77\n");
  EXPECT_EQ(host.kills, (Kills{{212, SIGKILL}, {1045, SIGKILL}, {77, SIGKILL}}));
  ASSERT_EQ(host.pipeLines.size(), 2u);
  EXPECT_EQ(host.pipeLines[0], CmdPath(kCmdPs) + " -ace ");
}

TEST_F(Processes, StopDemonStopsAtTheFirstKillNotPermitted) {
  host.pipeOutputs = {Ps({{212, "VPrintD"}, {1045, "VPrintD"}}), Ps({{77, "VPD"}})};
  host.killErrnos = {EPERM};
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  StopDemon();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "setup: ERROR: " + std::string(std::strerror(EPERM)) + "\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(host.kills, (Kills{{212, SIGKILL}}));
  EXPECT_EQ(host.pipeLines.size(), 1u);  // VPD is not looked for
}

TEST_F(Processes, StopDemonNeverSignalsAProcessGroup) {
  // Ids that would reach more than one process (0, 1 as init of a PID
  // namespace, or words that are no number) are passed over.
  host.pipeOutputs = {Ps({{0, "VPrintD"}, {1, "VPrintD"}, {5, "VPrintD"}}) + "   -1 TS 19 ? 00:00:00 VPrintD\n",
                      ""};
  testing::internal::CaptureStdout();
  StopDemon();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "killed VPrintD 5\n");
  EXPECT_EQ(host.kills, (Kills{{5, SIGKILL}}));
}

TEST_F(Processes, NothingRunningMeansNothingToStop) {
  host.pipeOutputs = {Ps({{1, "init"}}), ""};
  testing::internal::CaptureStdout();
  StopDemon();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(host.kills.empty());
}

const std::string kRunning = Ps({{4242, "VPrintUI"}});
const std::string kEnded = Ps({{1, "init"}});

std::string Question() {
  return "\nThe following processes are running."
         "\nThe installer can not continue until these terminate:\n"
         "VPrintUI ( 4242 )\n\n"
         "Would you like to:\n"
         "1.  Wait 30 seconds for these processes to terminate\n"
         "2.  Quit the installation\n"
         "\nEnter a selection:  ";
}

struct QuitCase {
  const char* what;
  std::string input;
  std::vector<std::string> ps;  // successive answers of ps -ace
  int result;
  std::vector<unsigned> sleeps;
  int questions;  // how often the question was shown
  std::string tail;  // what the output ends with
};

TEST_F(Processes, QuitForRunningProcesses) {
  const std::vector<unsigned> six(6, 5u);
  std::vector<unsigned> sixThenTwo = six;
  sixThenTwo.insert(sixThenTwo.end(), {5u, 5u});
  const QuitCase cases[] = {
      {"not running", "", {kEnded}, 0, {}, 0, ""},
      // Ends after 12 seconds: gone at the third check, after 15.
      {"wait", "1\n", {kRunning, kRunning, kRunning, kEnded}, 0, {5, 5, 5}, 1, Question()},
      {"quit", "2\n", {kRunning}, 1, {}, 1, Question()},
      {"other then quit", "x\n2\n", {kRunning, kRunning}, 1, {}, 2, Question()},
      {"other, ended meanwhile", "x\n", {kRunning, kEnded}, 0, {}, 1, Question()},
      // Still running after 30 seconds: the question comes again.
      {"wait too short",
       "1\n1\n",
       {kRunning, kRunning, kRunning, kRunning, kRunning, kRunning, kRunning, kRunning, kRunning, kEnded},
       0,
       sixThenTwo,
       2,
       Question()},
      {"end of input", "", {kRunning}, 1, {}, 1, Question() + EndOfInput()},
      {"end of input after waiting", "1\n", {kRunning, kRunning, kRunning, kRunning, kRunning, kRunning, kRunning,
                                             kRunning},
       1, six, 2, Question() + EndOfInput()},
  };
  for (const QuitCase& c : cases) {
    SCOPED_TRACE(c.what);
    host.pipeOutputs = c.ps;
    host.pipeLines.clear();
    host.sleeps.clear();
    StdinFrom in(c.input);
    testing::internal::CaptureStdout();
    int result = QuitForRunningProcesses("VPrintUI");
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(host.sleeps, c.sleeps);
    EXPECT_EQ(host.pipeLines.size(), c.ps.size());  // every queued answer was asked for
    size_t shown = 0;
    for (size_t at = out.find("Enter a selection"); at != std::string::npos;
         at = out.find("Enter a selection", at + 1))
      ++shown;
    EXPECT_EQ(shown, static_cast<size_t>(c.questions)) << out;
    ASSERT_GE(out.size(), c.tail.size()) << out;
    EXPECT_EQ(out.substr(out.size() - c.tail.size()), c.tail);
  }
}

}  // namespace
