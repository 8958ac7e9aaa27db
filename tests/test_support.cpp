#include "test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdio_ext.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "MemMgr.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/setup-test.XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr) std::abort();
  path_ = buf.data();
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

std::string ScratchDir::File(const std::string& name) const { return path_ + "/" + name; }

std::string ScratchDir::Write(const std::string& name, const std::string& content) const {
  std::string full = File(name);
  fs::create_directories(fs::path(full).parent_path());
  std::ofstream(full, std::ios::binary) << content;
  return full;
}

StdinFrom::StdinFrom(const std::string& text) {
  FILE* f = std::tmpfile();
  if (f == nullptr) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fflush(f);
  lseek(fileno(f), 0, SEEK_SET);
  __fpurge(stdin);
  clearerr(stdin);
  saved_ = dup(0);
  dup2(fileno(f), 0);
  std::fclose(f);
}

StdinFrom::~StdinFrom() {
  __fpurge(stdin);
  clearerr(stdin);
  dup2(saved_, 0);
  close(saved_);
}

std::string Ps(const std::vector<std::pair<int, std::string>>& procs) {
  std::string out = "    PID CLS PRI TTY          TIME CMD\n";
  for (const auto& [pid, cmd] : procs) {
    char line[128];
    std::snprintf(line, sizeof line, "%7d TS   19 ?        00:00:00 %s\n", pid, cmd.c_str());
    out += line;
  }
  return out;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool FormatConversions(const char* format, std::vector<std::string>* out) {
  out->clear();
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    const char* start = p++;
    if (*p == '%') continue;
    const char* q = p;
    while (*q >= '0' && *q <= '9') ++q;
    if (*q == '$' && q != p) p = q + 1;  // positional argument
    while (*p != '\0' && std::strchr("-+ #0'", *p) != nullptr) ++p;
    if (*p == '*') {
      ++p;
    } else {
      while (*p >= '0' && *p <= '9') ++p;
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        ++p;
      } else {
        while (*p >= '0' && *p <= '9') ++p;
      }
    }
    if ((p[0] == 'h' && p[1] == 'h') || (p[0] == 'l' && p[1] == 'l')) {
      p += 2;
    } else if (*p != '\0' && std::strchr("hlLqjzt", *p) != nullptr) {
      ++p;
    }
    if (*p == '\0' || std::strchr("diouxXeEfFgGaAcspn", *p) == nullptr) return false;
    out->emplace_back(start, p + 1);
  }
  return true;
}

std::string Take(char* text) {
  if (text == nullptr) return "(null)";
  std::string s = text;
  PutMem(text);
  return s;
}

int Count(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

int RunProgram(const std::vector<std::string>& argv, const std::string& input, std::string* output) {
  ScratchDir io;
  const std::string in = io.Write("input", input);
  const std::string out = io.File("output");
  std::vector<std::string> args = argv;
  std::vector<char*> cargv;
  for (std::string& a : args) cargv.push_back(a.data());
  cargv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid;
  const int rc = posix_spawnp(&pid, cargv[0], &actions, nullptr, cargv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return -1;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  if (output != nullptr) *output = ReadWholeFile(out);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

HostRecorder* current = nullptr;

int RecordSystem(const char* line) {
  current->lines.emplace_back(line);
  int status = 0;
  if (!current->exitStatuses.empty()) {
    status = current->exitStatuses.front();
    current->exitStatuses.erase(current->exitStatuses.begin());
  }
  return W_EXITCODE(status, 0);
}

FILE* RecordPopen(const char* line) {
  current->pipeLines.emplace_back(line);
  std::string out;
  if (!current->pipeOutputs.empty()) {
    out = current->pipeOutputs.front();
    current->pipeOutputs.erase(current->pipeOutputs.begin());
  }
  FILE* f = std::tmpfile();
  if (f == nullptr) return nullptr;
  std::fwrite(out.data(), 1, out.size(), f);
  std::rewind(f);
  return f;
}

int RecordPclose(FILE* f) { return std::fclose(f) == 0 ? 0 : -1; }

unsigned RecordSleep(unsigned seconds) {
  current->sleeps.push_back(seconds);
  return 0;
}

int RecordKill(pid_t pid, int signal) {
  current->kills.emplace_back(static_cast<int>(pid), signal);
  int err = 0;
  if (!current->killErrnos.empty()) {
    err = current->killErrnos.front();
    current->killErrnos.erase(current->killErrnos.begin());
  }
  if (err == 0) return 0;
  errno = err;
  return -1;
}

}  // namespace

HostRecorder::HostRecorder() {
  current = this;
  saved_ = SetHostOps(HostOps{RecordSystem, RecordPopen, RecordPclose, RecordSleep, RecordKill});
}

HostRecorder::~HostRecorder() {
  SetHostOps(saved_);
  current = nullptr;
}

namespace {

void RestoreEnv(const char* name, bool had, const std::string& value) {
  if (had) {
    setenv(name, value.c_str(), 1);
  } else {
    unsetenv(name);
  }
}

}  // namespace

EnvScope::EnvScope(const char* name, const char* value) : name_(name) {
  const char* now = getenv(name);
  had_ = now != nullptr;
  if (had_) saved_ = now;
  RestoreEnv(name, value != nullptr, value != nullptr ? value : "");
}

EnvScope::~EnvScope() { RestoreEnv(name_, had_, saved_); }

LogScope::LogScope() : savedName_(my_name), savedUseLog_(flUseLog) {
  static int counter = 0;
  name_ = "setup-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  path_ = "/tmp/" + name_ + ".log";
  unlink(path_.c_str());
  my_name = const_cast<char*>(name_.c_str());
  flUseLog = 1;
}

LogScope::~LogScope() {
  unlink(path_.c_str());
  my_name = savedName_;
  flUseLog = savedUseLog_;
}

ComListScope::ComListScope()
    : savedFullSearchPath_(FullSearchPath), savedInit_(flInitSysCmd), savedLog_(flSysCmdLog) {
  std::copy(std::begin(ComList), std::end(ComList), std::begin(saved_));
  const char* path = std::getenv("PATH");
  hadPathEnv_ = path != nullptr;
  if (path) savedPathEnv_ = path;
  const char* shell = std::getenv("SHELL");
  hadShellEnv_ = shell != nullptr;
  if (shell) savedShellEnv_ = shell;
}

ComListScope::~ComListScope() {
  std::copy(std::begin(saved_), std::end(saved_), std::begin(ComList));
  FullSearchPath = savedFullSearchPath_;
  flInitSysCmd = savedInit_;
  flSysCmdLog = savedLog_;
  RestoreEnv("PATH", hadPathEnv_, savedPathEnv_);
  RestoreEnv("SHELL", hadShellEnv_, savedShellEnv_);
}

void ComListScope::Clear() {
  for (SysCmdEntry& row : ComList) row.pPath = nullptr;
  FullSearchPath = nullptr;
  flInitSysCmd = 1;
  flSysCmdLog = 0;
}

void ComListScope::ResolveFromHost() {
  Clear();
  unsigned char useLog = flUseLog;
  flUseLog = 0;
  InitSysCmdList();
  flUseLog = useLog;
}

void ComListScope::SetPath(int row, const std::string& dir) {
  dirs_.push_back(dir);
  ComList[row].pPath = const_cast<char*>(dirs_.back().c_str());
}

std::string CmdPath(int row) {
  const SysCmdEntry& e = ComList[row];
  return std::string(e.pPath ? e.pPath : "(unresolved)") + "/" + e.pName;
}

std::string ShellLine(int row, const std::string& args, const std::string& redirection) {
  return CmdPath(kCmdSh) + " -c \"" + CmdPath(row) + " " + ComList[row].pFlags + " " + args +
         redirection + "\"";
}

std::string LogRedirection() {
  std::string log = std::string("/tmp/") + my_name + ".log";
  return " 1>>" + log + " 2>>" + log;
}
