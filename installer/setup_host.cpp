// Small host operations the installer parts share: entering a directory,
// recognising the medium's own files, comparing where two paths lead,
// judging a path before a host command changes it, and running the
// product's own tools.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "PathTrust.h"
#include "RootFile.h"
#include "SysCmd.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_hold.h"
#include "utils.h"

bool EnterDirectory(const char* dir, bool fatal) {
  if (dir != nullptr && chdir(dir) == 0) return true;
  if (fatal) {
    // Unpacking or copying relative to the wrong directory is never safe.
    SysError(NlsSetupStrCvt(222), dir != nullptr ? dir : "");
  }
  const int err = errno;
  SayWarning(223, dir != nullptr ? dir : "", std::strerror(err));
  return false;
}

bool IsSameFile(const char* a, const char* b) {
  struct stat sa, sb;
  if (a == nullptr || b == nullptr || stat(a, &sa) != 0 || stat(b, &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool IsMediumFile(const char* dir, const char* name) {
  if (pToolPath == nullptr || dir == nullptr || name == nullptr) return false;
  char here[kLineBufSize];
  char medium[kLineBufSize];
  if (!FormatText(here, sizeof here, "%s/%s", dir, name)) return false;
  if (!FormatText(medium, sizeof medium, "%s/%s", pToolPath, name)) return false;
  return IsSameFile(here, medium);
}

namespace {

// Why root may not change path in place: the entry on the way (or path
// itself) that another user owns or could have put there, a link that may
// not be followed, or a second name for the file; false when none. The
// folders on the way are held by the walk before their entries are looked
// at, so the answer stays true while the run goes on.
bool BarredFromChange(const char* path, WayBlock* block) {
  PathPlace place;
  switch (OpenWayTo(path, WayOwners::kRootOnly, LastLink::kFollow, &place, block)) {
    case kWayGone:
      return false;  // made anew, in folders nobody else writes
    case kWayBlocked:
      return true;
    case kWayReached:
      break;
  }
  struct stat st;
  if (fstatat(place.folder.get(), place.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  block->entry = path;
  if (S_ISLNK(st.st_mode)) {
    block->why = NlsSetupStrCvt(232);
  } else if (st.st_uid != 0) {
    block->why = SetupText(233, static_cast<unsigned>(st.st_uid));
  } else if (!S_ISDIR(st.st_mode) && st.st_nlink != 1) {
    // Another name for the file, perhaps made in a folder of its own by
    // another user, would change with it.
    block->why = SetupText(234, static_cast<unsigned long>(st.st_nlink));
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool MayChangeInPlace(const char* path) {
  if (flPreview || path == nullptr) return true;
  WayBlock block;
  if (!BarredFromChange(path, &block)) return true;
  const std::string shown = ShownWithoutControls(block.Text());
  if (block.entry == path) {
    SayError(224, shown.c_str());
  } else {
    SayError(225, shown.c_str(), ShownWithoutControls(path).c_str());
  }
  NoteFailedStep(NlsSetupStrCvt(226), path, block.Text().c_str());
  return false;
}

void CreateInPlace(const char* dir, const char* name, const char* mode) {
  char path[kLineBufSize];
  if (!FormatText(path, sizeof path, "%s%s%s", dir, name != nullptr ? "/" : "", name != nullptr ? name : ""))
    FatalError(NlsSetupStrCvt(227), dir);
  if (!MayChangeInPlace(path)) return;
  CreateFile(dir, name, mode);
  // A folder made here, or given its mode, is held from now on.
  if (name == nullptr) HoldAfterCommand(path, false);
}

std::string ResolvedPath(const char* path) {
  std::string head = path != nullptr ? path : "";
  if (head.empty() || head[0] != '/') return "";
  std::vector<std::string> rest;  // the steps below the part that exists, deepest first
  char resolved[PATH_MAX];
  while (realpath(head.c_str(), resolved) == nullptr) {
    const size_t slash = head.find_last_of('/');
    rest.push_back(head.substr(slash + 1));
    head.resize(slash == 0 ? 1 : slash);
  }
  // What does not exist yet is made as written, folder by folder, so its
  // steps are taken as they read; a ".." among them may lead back to
  // what exists, which is resolved again.
  std::string out = resolved;
  for (auto step = rest.rbegin(); step != rest.rend(); ++step) {
    if (step->empty() || *step == ".") continue;
    if (*step == "..") {
      out.resize(std::max<size_t>(out.find_last_of('/'), 1));
    } else {
      if (out != "/") out += '/';
      out += *step;
    }
    if (realpath(out.c_str(), resolved) != nullptr) out = resolved;
  }
  return out;
}

bool IsWithinDirectory(const char* path, const char* dir) {
  const std::string p = ResolvedPath(path);
  const std::string d = ResolvedPath(dir);
  if (p.empty() || d.empty()) return false;
  return d == "/" || p == d || (p.size() > d.size() && p.compare(0, d.size(), d) == 0 && p[d.size()] == '/');
}

void RunProductCommand(const char* format, ...) {
  char line[kCmdLineSize];
  va_list args;
  va_start(args, format);
  int len = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (len < 0 || static_cast<size_t>(len) >= sizeof line) {
    SayWarning(229, line);
    return;
  }
  // Root runs the tool only as the installation placed it: root's own
  // file that nobody else may write, in folders that are held from the
  // check to the run, so that nobody can put another program in its place.
  const char* blank = std::strchr(line, ' ');
  const std::string program(line, blank != nullptr ? static_cast<size_t>(blank - line) : std::strlen(line));
  struct stat st;
  WayBlock block;
  if (!flPreview &&
      (BarredFromChange(program.c_str(), &block) || lstat(program.c_str(), &st) != 0 || !IsRootsFile(st))) {
    SayWarning(230, program.c_str());
    NoteFailedStep(NlsSetupStrCvt(231), program.c_str());
    return;
  }
  std::fflush(stdout);
  // The product's tool talks to the terminal itself; its result is its own.
  GetHostOps().pfnSystem(line);
}
