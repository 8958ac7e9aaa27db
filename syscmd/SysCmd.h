// The host command table and the runners that execute its rows through the
// shell, plus the queries built on their output (processes, free space,
// directory sizes). Every host command of the program goes through here.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>

#include "utils.h"

// One row of the command table. pPath is the directory the command was found
// in (no trailing '/'), NULL while unresolved.
struct SysCmdEntry {
  const char* pName;
  const char* pFlags;
  char* pPath;
  int32_t Delay;  // 0 none, >0 seconds to sleep after a run, -1 wait for the process
};

constexpr int kComListRows = 83;
constexpr int kCmdLineSize = 4096;
extern SysCmdEntry ComList[kComListRows];

// Row numbers the program uses by name. The order of the table is fixed.
enum : int {
  kCmdCat = 3, kCmdChgrp = 4, kCmdChmod = 5, kCmdChown = 6, kCmdCupsd = 11,
  kCmdCp = 9, kCmdCpR = 10, kCmdLn = 17, kCmdMv = 25, kCmdMkdir = 26,
  kCmdRm = 29, kCmdRmR = 30, kCmdSh = 31, kCmdTarX = 34, kCmdTouch = 35,
  kCmdUncompress = 36, kCmdWhoami = 37, kCmdSed = 40, kCmdDu = 41, kCmdLpd = 43,
  kCmdPs = 55, kCmdDf = 57,
};

// One line of a command's output; the text follows the node in the same
// block and keeps its line feed.
struct ResponseNode {
  ResponseNode* pNext;
  char* pText;
};

void InitSysCmdList();
unsigned char FillCmdPaths(char* dir);
unsigned char FillCmdPath(int index);
unsigned char TestCmd(int index);

// Runs one command (see the table of severities in SysCmd.cpp); 0 exactly
// when it ran and exited 0.
SETUP_PRINTF(3, 4) int SysCmd(int index, int severity, const char* format, ...);

// "<dir>/<name> <flags>" of a row, managed.
char* GetCmd(int index);

// Output lines of a command read through a pipe, only those holding pattern
// when pattern is not empty. The caller frees the list.
SETUP_PRINTF(3, 4)
ResponseNode* GetCmdResponse(int index, const char* pattern, const char* format, ...);
void FreeResponseList(ResponseNode* list);

// ---------------------------------------------------------------------------
// Queries.

struct DiskSpaceInfo {
  char szDfLine[512];
  double Avail;
};

char* GetSysPsIdList(const char* name);
char* CheckProcTableForExecs(const char* names);
unsigned char GetDiskSpace(const char* path, DiskSpaceInfo* info);
double DUPath(const char* path);

// ---------------------------------------------------------------------------
// The seam to the host: everything that starts a process, signals one or
// waits goes through these functions, so tests can record the exact command
// lines and skip the waits. The defaults run the real thing.
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
