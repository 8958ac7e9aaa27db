#include "sandbox.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

extern char** environ;

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Starts the harness with args; its own messages go to errFile. Returns its
// process id, or -1 when it could not be started.
pid_t StartHarness(const std::vector<std::string>& args, const std::string& errFile) {
  std::vector<std::string> argv = {"/bin/sh", SANDBOX_SH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargv;
  for (std::string& a : argv) cargv.push_back(a.data());
  cargv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid;
  int rc = posix_spawn(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

// The exit status of the child pid, or -1.
int WaitFor(pid_t pid) {
  int status;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the harness with args; its own messages go to errFile. Returns its
// exit status, or -1 when it could not be started.
int RunHarness(const std::vector<std::string>& args, const std::string& errFile) {
  const pid_t pid = StartHarness(args, errFile);
  return pid < 0 ? -1 : WaitFor(pid);
}

// The harness's options for a sandbox with options, its results in dir.
std::vector<std::string> HarnessArgs(const std::string& dir, const SandboxOptions& options) {
  std::vector<std::string> args = {"--out", dir, "--timeout", std::to_string(options.timeoutSeconds)};
  if (!options.medium.empty()) args.insert(args.end(), {"--medium", options.medium});
  for (const auto& [from, to] : options.copies) args.insert(args.end(), {"--copy", from + ":" + to});
  for (const std::string& s : options.setup) args.insert(args.end(), {"--setup", s});
  if (!options.cwd.empty()) args.insert(args.end(), {"--cwd", options.cwd});
  for (const std::string& e : options.env) args.insert(args.end(), {"--env", e});
  // Leak reports at exit are not what scenario tests look at.
  if (std::getenv("ASAN_OPTIONS") == nullptr) args.insert(args.end(), {"--env", "ASAN_OPTIONS=detect_leaks=0"});
  return args;
}

std::string ResultsRoot() {
  std::error_code ec;
  fs::create_directories(SANDBOX_RESULTS, ec);
  return SANDBOX_RESULTS;
}

}  // namespace

std::string SandboxResult::Read(const std::string& path) const { return ReadFile(Upper(path)); }

bool SandboxResult::Changed(const std::string& path) const {
  for (const std::string& c : changes)
    if (c.size() > 2 && c.compare(2, std::string::npos, path) == 0) return true;
  return false;
}

bool SandboxAvailable(std::string* reason) {
  static int available = -1;
  static std::string why;
  if (available < 0) {
    const char* tmp = std::getenv("TMPDIR");
    std::string err = std::string(tmp && *tmp ? tmp : "/tmp") + "/setup-sbx-check-" +
                      std::to_string(getpid()) + ".err";
    int rc = RunHarness({"--check"}, err);
    available = rc == 0;
    why = rc == 0 ? "" : ReadFile(err);
    while (!why.empty() && why.back() == '\n') why.pop_back();
    if (why.empty()) why = "the sandbox check ended with status " + std::to_string(rc);
    std::remove(err.c_str());
  }
  if (reason) *reason = why;
  return available == 1;
}

SandboxResult RunInSandbox(const std::string& name, const SandboxOptions& options,
                           const std::vector<std::string>& command) {
  SandboxResult result;
  result.dir = ResultsRoot() + "/" + name;
  std::error_code ec;
  fs::remove_all(result.dir, ec);
  fs::create_directories(result.dir, ec);

  std::vector<std::string> args = HarnessArgs(result.dir, options);
  std::string input = result.dir + "/stdin.txt";
  if (!options.input.empty()) {
    std::ofstream(input, std::ios::binary) << options.input;
    args.insert(args.end(), {"--stdin", input});
  }
  args.push_back("--");
  args.insert(args.end(), command.begin(), command.end());

  const std::string harnessErr = result.dir + "/harness.log";
  int rc = RunHarness(args, harnessErr);
  std::remove(input.c_str());
  if (rc == 125 || rc < 0 || !fs::exists(result.dir + "/status")) {
    ADD_FAILURE() << "the sandbox could not be made (status " << rc << "): " << ReadFile(harnessErr);
    return result;
  }
  result.status = std::atoi(ReadFile(result.dir + "/status").c_str());
  result.out = ReadFile(result.dir + "/stdout");
  result.err = ReadFile(result.dir + "/stderr");
  std::istringstream changes(ReadFile(result.dir + "/changes"));
  for (std::string line; std::getline(changes, line);) result.changes.push_back(line);
  return result;
}

SandboxServer::SandboxServer(const std::string& dir, const SandboxOptions& options,
                             const std::vector<std::string>& command)
    : dir_(dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  std::vector<std::string> args = HarnessArgs(dir, options);
  args.push_back("--serve");
  args.push_back("--");
  args.insert(args.end(), command.begin(), command.end());
  leader_ = StartHarness(args, dir + "/harness.log");
  if (leader_ < 0) ADD_FAILURE() << "the sandbox could not be started";
}

bool SandboxServer::Running() {
  if (leader_ < 0) return false;
  int status;
  if (waitpid(leader_, &status, WNOHANG) == 0) return true;
  leader_ = -1;
  return false;
}

void SandboxServer::Stop() {
  if (leader_ < 0) return;
  // unshare ignores SIGTERM while it waits for the namespace's first
  // process; SIGKILL ends it, that process with it, and the namespace.
  kill(leader_, SIGKILL);
  WaitFor(leader_);
  leader_ = -1;
}

std::string SandboxServer::Log() const {
  return ReadFile(dir_ + "/harness.log") + ReadFile(dir_ + "/setup.log") + ReadFile(dir_ + "/stderr");
}

std::string SetupProgramPath() { return SETUP_PROGRAM; }
std::string ProbeDriverPath() { return PROBE_DRIVER; }

bool RunningUnderCi() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::strcmp(ci, "true") == 0;
}

namespace {
// Every directory the command table searches inside the sandbox.
constexpr char kSearchDirs[] = "/usr/sbin /usr/bin /bin /sbin /etc /usr/etc /usr/local/sbin /usr/local/bin";
}  // namespace

std::string RemoveEverywhere(const std::string& name) {
  return std::string("for d in ") + kSearchDirs + "; do rm -f $d/" + name + "; done";
}

std::string StandIn(const std::string& path, const std::string& body) {
  return "printf '%s\\n' '#!/bin/sh' '" + body + "' > " + path + " && chmod 755 " + path;
}
