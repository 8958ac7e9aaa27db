// The seam to the host, at the bottom of every module: the one place that
// starts a process, waits for it, signals one or sleeps, so that tests can
// record the exact command lines and skip the waits. The defaults run the
// real thing.
#pragma once

#include <sys/types.h>

#include <cstdio>

struct HostOps {
  int (*pfnSystem)(const char* line);    // returns a wait status like system()
  FILE* (*pfnPopen)(const char* line);   // read pipe on the line
  int (*pfnPclose)(FILE* pipe);
  unsigned (*pfnSleep)(unsigned seconds);
  int (*pfnKill)(pid_t pid, int signal);  // like kill(2): 0, or -1 with errno
};

// The operations in force; SetHostOps replaces them and returns the old ones.
const HostOps& GetHostOps();
HostOps SetHostOps(const HostOps& ops);
const HostOps& RealHostOps();
