// Helpers shared by the tests: a scratch directory that removes itself,
// scoped environment, input and log, a recorder that stands in for the host
// so tests see the exact command lines the program builds without running
// them, running a program for its output, and small readers of texts
// (managed strings, counts, printf conversions). The menu builders are
// test_menus.h, the sandbox of the scenario tests scenario/sandbox.h.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "SysCmd.h"

// A fresh directory under $TMPDIR (or /tmp), removed with its contents when
// the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // path()/name
  std::string File(const std::string& name) const;
  // Writes content to path()/name (creating parent directories) and
  // returns the full path.
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// While alive, the environment variable name holds value (NULL: unset);
// its earlier state comes back afterwards.
class EnvScope {
 public:
  EnvScope(const char* name, const char* value);
  ~EnvScope();
  EnvScope(const EnvScope&) = delete;
  EnvScope& operator=(const EnvScope&) = delete;

 private:
  const char* name_;
  bool had_;
  std::string saved_;
};

// While alive, standard input reads text (through descriptor 0 and the
// stdin stream alike); the previous input comes back afterwards.
class StdinFrom {
 public:
  explicit StdinFrom(const std::string& text);
  ~StdinFrom();
  StdinFrom(const StdinFrom&) = delete;
  StdinFrom& operator=(const StdinFrom&) = delete;

 private:
  int saved_;
};

// What procps prints for `ps -ace` (PID, CLS, PRI, TTY, TIME, CMD) for
// the given processes, to queue as a recorded pipe output.
std::string Ps(const std::vector<std::pair<int, std::string>>& procs);

// The printf conversions of format in order, each as written ("%-10.3ls",
// "%2$s"); "%%" is none. False when a '%' does not start a complete
// conversion (out then holds the ones before it).
bool FormatConversions(const char* format, std::vector<std::string>* out);

// A managed text (from the memory manager) as a string, released; "(null)"
// for NULL.
std::string Take(char* text);

// How often needle occurs in text (overlapping occurrences counted).
int Count(const std::string& text, const std::string& needle);

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// Runs argv (found on PATH when it has no '/') with standard input reading
// input, its standard output and error together into *output. The exit
// status, or -1 when it could not be run or did not exit.
int RunProgram(const std::vector<std::string>& argv, const std::string& input, std::string* output);

// While alive, replaces the host operations by a recorder: system() lines
// are recorded and answered with the queued exit statuses (0 when the queue
// is empty), pipes return the queued outputs (empty when none), sleeps and
// kills are recorded and return at once.
class HostRecorder {
 public:
  HostRecorder();
  ~HostRecorder();
  HostRecorder(const HostRecorder&) = delete;
  HostRecorder& operator=(const HostRecorder&) = delete;

  std::vector<std::string> lines;        // every line given to system()
  std::vector<std::string> pipeLines;    // every line given to popen()
  std::vector<unsigned> sleeps;          // every sleep in seconds
  std::vector<std::pair<int, int>> kills;  // (pid, signal)

  std::vector<int> exitStatuses;         // next exit statuses for system(), in order
  std::vector<std::string> pipeOutputs;  // next outputs for popen(), in order
  std::vector<int> killErrnos;           // next errno for kill() (0 = success)

 private:
  HostOps saved_;
};

// While alive, the run log is on and written to /tmp/<fresh name>.log
// (my_name is set to a name unique to this process, never "setup"); the
// log file is removed and my_name and flUseLog come back afterwards.
class LogScope {
 public:
  LogScope();
  ~LogScope();
  LogScope(const LogScope&) = delete;
  LogScope& operator=(const LogScope&) = delete;

  const std::string& name() const { return name_; }
  const std::string& path() const { return path_; }  // /tmp/<name>.log
  std::string Read() const { return ReadWholeFile(path_); }

 private:
  std::string name_;
  std::string path_;
  char* savedName_;
  unsigned char savedUseLog_;
};

// While alive, the command table and its resolution state (row
// directories and delays, FullSearchPath, the two flags, PATH and SHELL)
// may be changed freely; all of it comes back afterwards.
class ComListScope {
 public:
  ComListScope();
  ~ComListScope();
  ComListScope(const ComListScope&) = delete;
  ComListScope& operator=(const ComListScope&) = delete;

  // Unresolves every row and marks the table uninitialised.
  void Clear();
  // Resolves the table against the real host (logging off).
  void ResolveFromHost();
  // Sets one row's directory (the text is kept by the scope).
  void SetPath(int row, const std::string& dir);

 private:
  SysCmdEntry saved_[kComListRows];
  char* savedFullSearchPath_;
  unsigned char savedInit_;
  unsigned char savedLog_;
  std::string savedPathEnv_, savedShellEnv_;
  bool hadPathEnv_, hadShellEnv_;
  std::deque<std::string> dirs_;  // stable addresses for the row texts
};

// "<dir>/<name>" of a resolved row, for building expected command lines.
std::string CmdPath(int row);

// The line SysCmd builds for a table row: the shell, -c, the quoted command
// with its flags, args and redirection.
std::string ShellLine(int row, const std::string& args, const std::string& redirection);
// Redirections SysCmd appends: severity 0, and logged severity 1 or 2 into
// the log of the current my_name.
constexpr const char* kDiscard = " 1>/dev/null 2>/dev/null";
std::string LogRedirection();

// Base of tests that build real command lines: the command table resolved
// against this host, logging off (so logged runs redirect to /dev/null),
// all of it restored afterwards.
class CommandTableTest : public testing::Test {
 protected:
  void SetUp() override {
    table_.ResolveFromHost();
    flUseLog = 0;
  }

  // A logged run of severity 1 or 2 with logging off.
  static constexpr const char* kLoggedOff = " 1>>/dev/null 2>>/dev/null";

 private:
  ComListScope table_;
};
