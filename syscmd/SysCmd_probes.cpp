// Host probes that run commands of the table: the user the program runs as
// and the print spooler of the host.
#include <cstdio>
#include <cstring>

#include "MemMgr.h"
#include "SysCmd.h"

char* GetUserName() {
  char* cmd = GetCmd(kCmdWhoami);
  if (cmd == nullptr) return nullptr;
  FILE* pipe = GetHostOps().pfnPopen(cmd);
  PutMem(cmd);
  if (pipe == nullptr) return nullptr;
  char name[256];
  bool got = std::fgets(name, sizeof name, pipe) != nullptr;
  char rest[256];
  while (std::fgets(rest, sizeof rest, pipe) != nullptr) {
  }
  GetHostOps().pfnPclose(pipe);
  if (!got) return nullptr;
  name[std::strcspn(name, "\r\n")] = '\0';
  return name[0] != '\0' ? SaveText(name) : nullptr;
}

bool SniffLprng() {
  if (!TestCmd(kCmdLpd)) return false;
  ResponseNode* lines = GetCmdResponse(kCmdLpd, "LPRng", " -V 2>&1");
  bool found = lines != nullptr;
  FreeResponseList(lines);
  return found;
}

bool SniffCUPS() { return TestCmd(kCmdCupsd) != 0; }
