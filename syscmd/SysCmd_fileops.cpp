// Creating and removing files and directories through host commands, so
// that every change is logged like the other commands the program runs.
#include "SysCmd.h"
#include "utils.h"

void CreateFile(const char* dir, const char* name, const char* mode, const char* owner,
                const char* group) {
  if (dir == nullptr) return;
  if (!FindFile(dir, nullptr)) SysCmd(kCmdMkdir, kSevFatal, "%s", dir);

  // The target is passed in pieces, so the only bound on it is the command
  // line, which refuses (and, at severity 2, ends the program) rather than
  // run a cut path.
  const char* sep = name ? "/" : "";
  const char* leaf = name ? name : "";
  if (name != nullptr) SysCmd(kCmdTouch, kSevFatal, "%s%s%s", dir, sep, leaf);

  const struct {
    int row;
    const char* value;
  } settings[] = {{kCmdChmod, mode}, {kCmdChown, owner}, {kCmdChgrp, group}};
  for (const auto& s : settings) {
    if (s.value != nullptr) SysCmd(s.row, kSevFatal, "%s %s%s%s", s.value, dir, sep, leaf);
  }
}

void DeleteFile(const char* dir, const char* name) {
  if (dir == nullptr && name == nullptr) return;
  if (!FindFile(dir, name)) return;
  if (dir == nullptr) {
    SysCmd(kCmdRmR, kSevWarning, "%s", name);
  } else if (name == nullptr || name[0] == '\0') {
    SysCmd(kCmdRmR, kSevWarning, "%s", dir);
  } else {
    SysCmd(kCmdRmR, kSevWarning, "%s/%s", dir, name);
  }
}
