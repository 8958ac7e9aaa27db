// Small host operations the installer parts share: entering a directory,
// recognising the medium's own files, judging a path before a host command
// changes it, and running the product's own tools.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PathTrust.h"
#include "SysCmd.h"
#include "installer.h"
#include "utils.h"

bool EnterDirectory(const char* dir, bool fatal) {
  if (dir != nullptr && chdir(dir) == 0) return true;
  if (fatal) {
    // Unpacking or copying relative to the wrong directory is never safe.
    SysError("can't change to directory %s", dir != nullptr ? dir : "");
  }
  const int err = errno;
  std::fflush(stdout);
  std::fprintf(stderr, "WARNING: can't change to directory %s : %s\n", dir != nullptr ? dir : "",
               std::strerror(err));
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

bool MayChangeInPlace(const char* path) {
  if (flPreview || path == nullptr) return true;
  const std::string link = UntrustedLinkOnPath(path);
  if (link.empty()) return true;
  std::fflush(stdout);
  if (link == path) {
    std::fprintf(stderr, "ERROR: %s is a symbolic link: not changed\n", path);
  } else {
    std::fprintf(stderr, "ERROR: %s is a symbolic link: %s not changed\n", link.c_str(), path);
  }
  NoteFailedStep("%s was not changed: a symbolic link that root does not own leads there", path);
  return false;
}

void CreateInPlace(const char* dir, const char* name, const char* mode) {
  char path[kLineBufSize];
  if (!FormatText(path, sizeof path, "%s%s%s", dir, name != nullptr ? "/" : "", name != nullptr ? name : ""))
    FatalError("path too long: %s", dir);
  if (MayChangeInPlace(path)) CreateFile(dir, name, mode);
}

void RunProductCommand(const char* format, ...) {
  char line[kCmdLineSize];
  va_list args;
  va_start(args, format);
  int len = std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (len < 0 || static_cast<size_t>(len) >= sizeof line) {
    std::fflush(stdout);
    std::fprintf(stderr, "WARNING: command line too long, not run: %.60s...\n", line);
    return;
  }
  // Root runs the tool only as the installation placed it: a plain file of
  // root's that nobody else may write, reached through no planted link. A
  // group that may write the application directory could otherwise put a
  // program of its own in the tool's place.
  const char* blank = std::strchr(line, ' ');
  const std::string program(line, blank != nullptr ? static_cast<size_t>(blank - line) : std::strlen(line));
  struct stat st;
  if (!flPreview && (!UntrustedLinkOnPath(program.c_str()).empty() || stat(program.c_str(), &st) != 0 ||
                     !S_ISREG(st.st_mode) || st.st_uid != 0 || (st.st_mode & 022) != 0)) {
    std::fflush(stdout);
    std::fprintf(stderr, "WARNING: %s is not root's own program: not run\n", program.c_str());
    NoteFailedStep("%s was not run", program.c_str());
    return;
  }
  std::fflush(stdout);
  // The product's tool talks to the terminal itself; its result is its own.
  GetHostOps().pfnSystem(line);
}
