// One setup at a time: a run that changes the host holds an exclusive lock
// on a file of root's from before it touches anything to its end. The lock
// is the kernel's (flock), so it goes with the process however the process
// ends: a killed run leaves none behind.
//
// Whoever can open the lock file can hold it, and every run of root's would
// then wait or give up for as long as they like. So the file lies in /run
// itself, which only root may write (unlike /run/lock, where every user may
// make a name first), and nobody but root may open it (mode 0600). The
// holder's process id goes into a second file beside it that everybody may
// read, so that a preview by another user can still say that a run is
// under way.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ReplacingFile.h"
#include "RootFile.h"
#include "guards.h"
#include "installer.h"
#include "utils.h"

namespace {

// The descriptor that holds the lock for the rest of the run; it is never
// closed, and no child inherits it (O_CLOEXEC), so a daemon the product
// starts cannot keep the lock after setup ends.
int heldLock = -1;

constexpr mode_t kLockMode = 0600;
constexpr mode_t kHolderMode = 0644;

// The lock's folder held open, and its path: the first of /run and
// /var/run (hosts without /run) that root owns and nobody else may write.
// -1 when there is none.
int OpenLockFolder(std::string* path) {
  for (const char* folder : {"/run", "/var/run"}) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    if (fstat(fd, &st) == 0 && WhyNotRootsFolder(st).empty()) {
      *path = folder;
      return fd;
    }
    close(fd);
  }
  return -1;
}

// Opens the lock file in folder with flags when it is root's alone and of
// mode 0600; a file that others may open (an earlier one of mode 0644, say)
// may be held open by anybody and is never taken for it. -1 otherwise,
// errno EPERM when something else is there.
int OpenLockFile(int folder, int flags) {
  std::string why;
  const int fd = OpenRootsFileAt(folder, kLockFileName, flags, &why);
  if (fd < 0) return -1;
  struct stat st;
  if (fstat(fd, &st) == 0 && (st.st_mode & 07777) == kLockMode) return fd;
  close(fd);
  errno = EPERM;
  return -1;
}

// Opens root's lock file in folder for writing, making it when it is
// missing; anything else found there (a link, a file root alone could not
// have written or others may open) is removed first. -1 when it cannot be
// had.
int OpenLockForWriting(int folder) {
  for (int tries = 0; tries < 5; ++tries) {
    int fd = OpenLockFile(folder, O_RDWR);
    if (fd >= 0) return fd;
    if (errno == EPERM) {
      if (unlinkat(folder, kLockFileName, 0) != 0 && errno != ENOENT) return -1;
      continue;
    }
    if (errno != ENOENT) return -1;
    // Made with its mode whatever the umask, so that a second run never
    // finds it for a moment with another mode and removes it.
    const mode_t umaskBefore = umask(077);
    fd = openat(folder, kLockFileName, O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kLockMode);
    const int err = errno;
    umask(umaskBefore);
    if (fd >= 0) return fd;
    if (err != EEXIST) {
      errno = err;
      return -1;
    }
  }
  return -1;
}


bool IsRunning(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

// The process that holds the lock, "?" when none can be named: the file
// may still name the run before, until the holder writes its own id a
// moment after it took the lock.
std::string Holder(int folder) {
  for (int tries = 0; tries < 20; ++tries) {
    const long pid = LockHolderNamed(folder);
    if (IsRunning(pid)) return std::to_string(pid);
    usleep(10000);
  }
  return "?";
}

// Takes the lock if it is free. A run that has just ended may still hold
// it for a moment, through a child started a moment before the end whose
// copy of the descriptor goes when it starts its program: when the holder
// named in the file is gone, the lock is tried again for a second.
bool TryLock(int fd, int folder) {
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  if (errno != EWOULDBLOCK) return false;
  const long holder = LockHolderNamed(folder);
  if (holder <= 0 || IsRunning(holder)) {
    errno = EWOULDBLOCK;
    return false;
  }
  for (int tries = 0; tries < 100; ++tries) {
    usleep(10000);
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK) return false;
  }
  errno = EWOULDBLOCK;
  return false;
}

[[noreturn]] void CannotLock(const std::string& path) {
  SayNamed(stderr, 214, path.c_str(), std::strerror(errno));
  ExitProgram(1);
}

}  // namespace

long LockHolderNamed(int folder) {
  std::string why;
  const int fd = OpenRootsFileAt(folder, kLockHolderName, O_RDONLY, &why);
  if (fd < 0) return 0;
  char text[32] = {};
  const ssize_t n = pread(fd, text, sizeof text - 1, 0);
  close(fd);
  char* end = nullptr;
  const long pid = n > 0 ? std::strtol(text, &end, 10) : 0;
  return pid > 0 && end != nullptr && *end == '\n' ? pid : 0;
}

void TakeHostLock(bool wait) {
  // Only root changes what the lock guards; anybody else is refused later,
  // changing nothing of root's.
  if (geteuid() != 0 || heldLock >= 0) return;  // (a second lock of our own would wait on the first)
  std::string folderPath;
  const int folder = OpenLockFolder(&folderPath);
  const std::string path = folderPath + "/" + kLockFileName;
  const int fd = folder < 0 ? -1 : OpenLockForWriting(folder);
  if (fd < 0) {
    if (folder < 0)
      SayNamed(stderr, 215);
    else
      SayNamed(stderr, 216, path.c_str(), std::strerror(errno));
    ExitProgram(1);
  }
  if (!TryLock(fd, folder)) {
    if (errno != EWOULDBLOCK) CannotLock(path);
    if (!wait) {
      SayNamed(stderr, 217, Holder(folder).c_str());
      ExitProgram(1);
    }
    SayNamed(stderr, 218, Holder(folder).c_str());
    while (flock(fd, LOCK_EX) != 0) {
      if (errno != EINTR) CannotLock(path);
    }
  }
  // Who holds it is only shown to the others; the lock itself holds
  // whether this is written or not.
  ReplaceFileText((folderPath + "/" + kLockHolderName).c_str(), kHolderMode, std::to_string(getpid()) + "\n");
  close(folder);
  heldLock = fd;
}

void SayWhenHostLocked() {
  std::string folderPath;
  const int folder = OpenLockFolder(&folderPath);
  if (folder < 0) return;
  // Root sees the lock itself; another user, who may not open it, sees
  // whether the run named as its holder still runs.
  const int fd = OpenLockFile(folder, O_RDONLY);
  const bool held = fd >= 0 ? flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK
                            : errno == EACCES && IsRunning(LockHolderNamed(folder));
  if (fd >= 0) close(fd);
  if (held) {
    SayNamed(stderr, 219, Holder(folder).c_str());
  }
  close(folder);
}
