// Helpers shared by the unit tests: a scratch directory that removes itself,
// and a recorder that stands in for the host so tests see the exact command
// lines the program builds without running them.
#pragma once

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

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

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
