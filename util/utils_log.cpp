// The run log /tmp/<my_name>.log and copies of environment variables.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "RootFile.h"
#include "utils.h"

unsigned char flUseLog = 0;
const char* pLogPath = "/tmp";
FILE* pLog = nullptr;

namespace {

// The log that this run has started (emptied); a different path starts anew.
char startedLog[kLineBufSize] = "";


// A file we may write the log into: a plain file with a single link and,
// when we run as root, our own. Anything else may have been planted to make
// us write elsewhere.
bool IsSafeLog(const struct stat& st) {
  if (geteuid() == 0) return IsRootsFile(st, OthersMayWrite::kYes);
  return S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == geteuid();
}

// Removes a planted entry at path before the log is created there.
void RemoveUnsafeLog(const char* path) {
  struct stat st;
  if (lstat(path, &st) == 0 && !IsSafeLog(st)) std::remove(path);
}

// Opens the log for appending without ever following a link; creates it
// with mode 666 when missing. first empties an existing log. -1 on failure.
int OpenLog(const char* path, bool first) {
  if (first) RemoveUnsafeLog(path);
  const int flags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int fd = open(path, flags | O_CREAT | O_EXCL, 0666);
  if (fd >= 0) {
    fchmod(fd, 0666);  // whatever the umask: every user may log
    return fd;
  }
  if (errno != EEXIST) return -1;
  fd = open(path, flags);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) != 0 || !IsSafeLog(st) || (first && ftruncate(fd, 0) != 0)) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

void PutLogMsg(const char* format, ...) {
  if (!flUseLog || my_name == nullptr) return;
  pLogPath = "/tmp";
  char path[kLineBufSize];
  if (!FormatText(path, sizeof path, "%s/%s.log", pLogPath, my_name)) {
    SayUtilError(UtilText::kCouldNotOpen, path);
    return;
  }
  bool first = std::strcmp(path, startedLog) != 0;
  int fd = OpenLog(path, first);
  FilePtr log(fd >= 0 ? fdopen(fd, "a") : nullptr);
  if (!log) {
    if (fd >= 0) close(fd);
    SayUtilError(UtilText::kCouldNotOpen, path);
    return;
  }
  if (first) CopyText(startedLog, sizeof startedLog, path);
  pLog = log.get();
  va_list args;
  va_start(args, format);
  std::vfprintf(pLog, format, args);
  va_end(args);
  pLog = nullptr;
}

char* GetEnv(const char* name) {
  const char* value = name ? std::getenv(name) : nullptr;
  return value ? SaveText(value) : nullptr;
}
