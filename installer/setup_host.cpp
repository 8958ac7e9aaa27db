// Small host operations the installer parts share: entering a directory,
// recognising the medium's own files, opening a record of root's, judging
// a path before a host command changes it, and running the product's own
// tools.
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

FilePtr OpenTrustedFile(const std::string& path, std::string* why) {
  const int fd = OpenRootsFileAt(AT_FDCWD, path.c_str(), O_RDONLY, why);
  if (fd < 0) return nullptr;
  FilePtr f(fdopen(fd, "r"));
  if (f) return f;
  *why = std::strerror(errno);
  close(fd);
  errno = EPERM;
  return nullptr;
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
