#include "RootFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// The owner and write bits of the rule, shared by files and folders.
std::string WhyNotRootsOwnAndWrites(const struct stat& st, OthersMayWrite others) {
  if (st.st_uid != 0) return "it is not owned by root (uid " + std::to_string(st.st_uid) + ")";
  if (others == OthersMayWrite::kNo && (st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return std::string("it is writable by others than root (mode ") + mode + ")";
  }
  return "";
}

}  // namespace

std::string WhyNotRootsFolder(const struct stat& st) {
  if (S_ISLNK(st.st_mode)) return "it is a symbolic link";
  if (!S_ISDIR(st.st_mode)) return "it is not a folder";
  return WhyNotRootsOwnAndWrites(st, OthersMayWrite::kNo);
}

std::string WhyNotRootsFile(const struct stat& st, OthersMayWrite others) {
  if (S_ISLNK(st.st_mode)) return "it is a symbolic link";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  if (std::string why = WhyNotRootsOwnAndWrites(st, others); !why.empty()) return why;
  // Another name for the file, made by whoever could write its folder,
  // would let them change it through that name later.
  if (st.st_nlink != 1) return "it has " + std::to_string(st.st_nlink) + " links";
  return "";
}

int OpenRootsFileAt(int dirfd, const char* name, int flags, std::string* why) {
  const int fd = openat(dirfd, name, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    *why = err == ELOOP ? "it is a symbolic link" : std::strerror(err);
    errno = err;
    return -1;
  }
  struct stat st;
  *why = fstat(fd, &st) != 0 ? std::strerror(errno) : WhyNotRootsFile(st);
  if (why->empty()) return fd;
  close(fd);
  errno = EPERM;
  return -1;
}
