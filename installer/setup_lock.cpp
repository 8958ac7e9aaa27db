// One setup at a time: a run that changes the host holds an exclusive lock
// on a root-owned file in the host's lock folder from before it touches
// anything to its end. The lock is the kernel's (flock), so it goes with
// the process however the process ends: a killed run leaves none behind.
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

#include "RootFile.h"
#include "installer.h"
#include "utils.h"

namespace {

// The descriptor that holds the lock for the rest of the run; it is never
// closed, and no child inherits it (O_CLOEXEC), so a daemon the product
// starts cannot keep the lock after setup ends.
int heldLock = -1;

// The first of the usual lock folders that root owns.
std::string LockPath() {
  for (const char* folder : {"/run/lock", "/var/lock", "/run"}) {
    struct stat st;
    if (stat(folder, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == 0)
      return std::string(folder) + "/" + kLockFileName;
  }
  return "";
}

// A lock file root may rely on: a plain file of root's with one link that
// nobody else may write. Another user could hold a lock on a file of their
// own for ever.
bool IsRootsLockFile(int fd) {
  struct stat st;
  return fstat(fd, &st) == 0 && IsRootsFile(st);
}

// Opens root's lock file at path without following a link, making it when
// it is missing; anything else found there (a link, a file of another
// user's) is removed first. -1 when it cannot be had.
int OpenLockForWriting(const std::string& path) {
  for (int tries = 0; tries < 5; ++tries) {
    int fd = open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && IsRootsLockFile(fd)) return fd;
    if (fd >= 0 || errno == ELOOP) {
      if (fd >= 0) close(fd);
      if (unlink(path.c_str()) != 0 && errno != ENOENT) return -1;
      continue;
    }
    if (errno != ENOENT) return -1;
    fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) {
      fchmod(fd, 0644);  // whatever the umask: every user may see who holds it
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// The process id the holder wrote into the lock file, "?" when none can be
// read (the holder writes it a moment after it took the lock).
std::string Holder(int fd) {
  for (int tries = 0; tries < 20; ++tries) {
    char text[32] = {};
    const ssize_t n = pread(fd, text, sizeof text - 1, 0);
    char* end = nullptr;
    const long pid = n > 0 ? std::strtol(text, &end, 10) : 0;
    if (pid > 0 && end != nullptr && *end == '\n') return std::to_string(pid);
    usleep(10000);
  }
  return "?";
}

// Takes the lock if it is free. A run that has just ended may still hold
// it for a moment, through a child started a moment before the end whose
// copy of the descriptor goes when it starts its program: when the holder
// named in the file is gone, the lock is tried again for a second.
bool TryLock(int fd) {
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  if (errno != EWOULDBLOCK) return false;
  const long holder = std::strtol(Holder(fd).c_str(), nullptr, 10);
  if (holder <= 0 || kill(static_cast<pid_t>(holder), 0) == 0 || errno != ESRCH) {
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

}  // namespace

void TakeHostLock(bool wait) {
  // Only root changes what the lock guards; anybody else is refused later,
  // changing nothing of root's.
  if (geteuid() != 0 || heldLock >= 0) return;  // (a second lock of our own would wait on the first)
  const std::string path = LockPath();
  const int fd = path.empty() ? -1 : OpenLockForWriting(path);
  if (fd < 0) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: the lock file %s cannot be made (%s); nothing was done\n", my_name,
                 path.empty() ? "of setup" : path.c_str(), path.empty() ? "no lock folder" : std::strerror(errno));
    ExitProgram(1);
  }
  if (!TryLock(fd)) {
    if (errno != EWOULDBLOCK) {
      std::fprintf(stderr, "%s: the lock file %s cannot be locked: %s; nothing was done\n", my_name, path.c_str(),
                   std::strerror(errno));
      ExitProgram(1);
    }
    std::fflush(stdout);
    if (!wait) {
      std::fprintf(stderr, "%s: another setup (process %s) is changing this host; nothing was done\n", my_name,
                   Holder(fd).c_str());
      ExitProgram(1);
    }
    std::fprintf(stderr, "%s: waiting for another setup (process %s) to finish\n", my_name, Holder(fd).c_str());
    while (flock(fd, LOCK_EX) != 0) {
      if (errno != EINTR) {
        std::fprintf(stderr, "%s: the lock file %s cannot be locked: %s; nothing was done\n", my_name, path.c_str(),
                     std::strerror(errno));
        ExitProgram(1);
      }
    }
  }
  const std::string pid = std::to_string(getpid()) + "\n";
  if (ftruncate(fd, 0) != 0 || pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size())) {
    // Who holds it is only shown to the others; the lock itself holds.
  }
  heldLock = fd;
}

void SayWhenHostLocked() {
  const std::string path = LockPath();
  if (path.empty()) return;
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  if (IsRootsLockFile(fd) && flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: an installation is under way (process %s): what is shown may change\n", my_name,
                 Holder(fd).c_str());
  }
  close(fd);
}
