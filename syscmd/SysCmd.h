// The host command table and the runners that execute its rows through the
// shell, plus what is built on them: the queries on their output
// (processes, free space, directory sizes), the file operations that make
// and remove files, and the user and print-spooler probes. Every host
// command of the program goes through here, and from here through the seam
// of util/HostOps.h.
//
// Files of the module:
//   SysCmd.cpp          the command table, its resolution and the runners
//   SysCmd_query.cpp    the queries on command output
//   SysCmd_fileops.cpp  CreateFile and DeleteFile
//   SysCmd_probes.cpp   the user name and the print-spooler probes
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>

#include "HostOps.h"  // the seam every command here goes through
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

// Resolves every row from the system directories, then PATH; sets SHELL to
// the shell's path followed by one blank; logs "initializing system\n" when
// logging is on. From then on unresolved rows stay unresolved.
void InitSysCmdList();
// Resolves the unresolved rows whose command has an entry in dir (rows keep
// the pointer dir itself). 1 when some row is still unresolved or dir cannot
// be listed, 0 when all are resolved.
unsigned char FillCmdPaths(char* dir);
// Resolves one row along the whole search path; 1 when found.
unsigned char FillCmdPath(int index);
// 1 when index >= 2 and the row's command is on this host.
unsigned char TestCmd(int index);

// Runs one command through the shell: row index with the formatted
// arguments (index 0 or 1: the formatted text is the whole line; a negative
// index runs that row unlogged). Severity 0 discards the output and ignores
// failures; 1 appends the output to the log and logs a failure as
// "WARNING_MSG: <command>: <what happened>"; 2 does the same with "ERROR",
// also prints that line on standard output and ends the program with
// status 1. A row that is not on the host ends the program with status 1.
// A line that does not fit kCmdLineSize is not run and counts as failed.
// Returns 0 exactly when the command ran and exited 0; otherwise its exit
// status, 128 + the signal that killed it, or -1 when it did not run.
SETUP_PRINTF(3, 4) int SysCmd(int index, int severity, const char* format, ...);

// "<dir>/<name> <flags>" of a row, managed; NULL when the row is unresolved.
char* GetCmd(int index);

// Output lines of a command read through a pipe, only those holding pattern
// when pattern is not empty; each keeps its line feed. NULL when nothing was
// kept, the pipe failed or the line does not fit (that is logged). A row
// that is not on the host ends the program with status 1. The caller frees
// the list.
SETUP_PRINTF(3, 4)
ResponseNode* GetCmdResponse(int index, const char* pattern, const char* format, ...);
void FreeResponseList(ResponseNode* list);

// Internals, visible for the tests.
extern char* FullSearchPath;        // system directories, ':', PATH; NULL until built
extern unsigned char flInitSysCmd;  // 1 until InitSysCmdList: rows resolve one at a time
extern unsigned char flSysCmdLog;   // command lines are logged and dotted

// ---------------------------------------------------------------------------
// Queries.

struct DiskSpaceInfo {
  char szDfLine[512];
  double Avail;
};

// Blank list of the ids of processes whose command name (sixth word of a
// `ps -ace` line) is exactly name; managed, NULL when none runs.
char* GetSysPsIdList(const char* name);
// For a comma-separated list of program names, "<name> (<id list>)\n" for
// each that runs (whole lines, at most 1023 characters); managed, NULL when
// none runs.
char* CheckProcTableForExecs(const char* names);
// Fills info from `df path`: the first data line and its "avail" column.
// 1 on success (also when df printed a header only, Avail then 0), 0 when
// there was no output, no avail column or too short a data line.
unsigned char GetDiskSpace(const char* path, DiskSpaceInfo* info);
// Leading number of the first line of `du -s path`; 0 without output.
double DUPath(const char* path);

// ---------------------------------------------------------------------------
// File operations and host probes that run commands of the table.

// Makes sure directory dir exists (mkdir -p), optionally touches the file
// name in it, then sets mode, owner and group of the target, each through
// host commands of severity 2.
void CreateFile(const char* dir, const char* name, const char* mode,
                const char* owner = nullptr, const char* group = nullptr);

// Removes dir/name (dir alone when name is NULL; name alone when dir is
// NULL) with rm -rf when it exists; failures are logged as warnings.
void DeleteFile(const char* dir, const char* name);

// Name of the effective user (first line of whoami), managed; NULL when the
// command cannot be run or prints no name.
char* GetUserName();

bool SniffLprng();  // lpd here is LPRng
bool SniffCUPS();   // a cupsd program is present
