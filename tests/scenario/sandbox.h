// Scenario tests run the real program and real host tools in a throwaway
// sandbox (tests/scenario/sandbox.sh): an overlay over the host's root in
// private mount and PID namespaces. This is the C++ side for GoogleTest:
// run a command in a sandbox and look at what it printed, its status and
// every file it created, changed or deleted.
#pragma once

#include <gtest/gtest.h>

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

struct SandboxOptions {
  std::string medium;                                    // host directory copied to /media
  std::vector<std::pair<std::string, std::string>> copies;  // host path -> sandbox path
  std::vector<std::string> setup;  // shell commands that make the starting state
  std::string cwd;                 // default /media with a medium, else /
  std::vector<std::string> env;    // NAME=VALUE added to the command's environment
  std::string input;               // standard input (empty: /dev/null)
  int timeoutSeconds = 60;
};

struct SandboxResult {
  int status = -1;     // the command's exit status; 124 when it timed out
  std::string out;     // its standard output
  std::string err;     // its standard error
  std::string dir;     // where the results are kept
  std::vector<std::string> changes;  // "A /new", "M /changed", "D /deleted", sorted

  // Host path of the sandbox path in the upper layer (what the command left
  // there), and that file's content ("" when it did not change it).
  std::string Upper(const std::string& path) const { return dir + "/upper" + path; }
  std::string Read(const std::string& path) const;
  bool Changed(const std::string& path) const;  // any change line names path
};

// Whether a sandbox can be made on this machine; why not otherwise.
// Checked once per process.
bool SandboxAvailable(std::string* reason);

// Runs command (argv) in a new sandbox; results are kept under
// <build>/tests/scenario/results/<name>. A sandbox that cannot be made
// fails the calling test (use SETUP_REQUIRE_SANDBOX first to skip).
SandboxResult RunInSandbox(const std::string& name, const SandboxOptions& options,
                           const std::vector<std::string>& command);

// A sandbox that runs command until it is ended (a server in the
// foreground, say sshd -D): started at once, in the background, with its
// output in dir (stdout, stderr, setup.log as it runs). Stop(), or the
// end of the object, kills its leader by its process id, which ends every
// process of the sandbox (its PID namespace) and every mount of it (its
// mount namespace). A sandbox that cannot be started fails the calling
// test. options.input is not used (standard input is /dev/null).
class SandboxServer {
 public:
  SandboxServer(const std::string& dir, const SandboxOptions& options, const std::vector<std::string>& command);
  ~SandboxServer() { Stop(); }
  SandboxServer(const SandboxServer&) = delete;
  SandboxServer& operator=(const SandboxServer&) = delete;

  // Whether the leader still runs.
  bool Running();
  void Stop();
  // What the command and the sandbox said so far (for failure messages).
  std::string Log() const;

 private:
  std::string dir_;
  pid_t leader_ = -1;
};

// The built programs under test.
std::string SetupProgramPath();
std::string ProbeDriverPath();

bool RunningUnderCi();

// Set-up commands for SandboxOptions::setup.
// Removes the program name from every directory the command table searches.
std::string RemoveEverywhere(const std::string& name);
// Writes an executable shell script at path: "#!/bin/sh", then body.
std::string StandIn(const std::string& path, const std::string& body);

// Skips the test when no sandbox can be made, except under CI=true, where
// that fails it.
#define SETUP_REQUIRE_SANDBOX()                                        \
  do {                                                                 \
    std::string why_;                                                  \
    if (!SandboxAvailable(&why_)) {                                    \
      if (RunningUnderCi()) FAIL() << "no sandbox under CI: " << why_; \
      GTEST_SKIP() << "no sandbox here: " << why_;                     \
    }                                                                  \
  } while (0)
