// The seam to the host: the one place that starts processes, signals them
// and sleeps. Tests swap in recorders through SetHostOps.
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "HostOps.h"

namespace {

// Our own buffered output goes out before a child writes to the same
// terminal or file, so the two stay in order.
void FlushOutput() {
  std::fflush(stdout);
  std::fflush(stderr);
}

int RealSystem(const char* line) {
  FlushOutput();
  return std::system(line);
}

FILE* RealPopen(const char* line) {
  FlushOutput();
  return popen(line, "r");
}

int RealPclose(FILE* pipe) { return pclose(pipe); }

unsigned RealSleep(unsigned seconds) { return sleep(seconds); }

int RealKill(pid_t pid, int signal) { return kill(pid, signal); }

constexpr HostOps kRealOps{RealSystem, RealPopen, RealPclose, RealSleep, RealKill};
HostOps current = kRealOps;

}  // namespace

const HostOps& GetHostOps() { return current; }

HostOps SetHostOps(const HostOps& ops) {
  HostOps old = current;
  current = ops;
  return old;
}

const HostOps& RealHostOps() { return kRealOps; }
