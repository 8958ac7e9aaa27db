#include "RootFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "UtilText.h"

namespace {

// The owner and write bits of the rule, shared by files and folders.
std::string WhyNotRootsOwnAndWrites(const struct stat& st, OthersMayWrite others) {
  if (st.st_uid != 0) return UtilFormat(UtilText::kNotRootsOwner, static_cast<unsigned>(st.st_uid));
  if (others == OthersMayWrite::kNo && (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return UtilFormat(UtilText::kWritableByOthers, static_cast<unsigned>(st.st_mode & 07777));
  return "";
}

}  // namespace

std::string WhyNotRootsFolder(const struct stat& st) {
  if (S_ISLNK(st.st_mode)) return RunUtilText(UtilText::kIsSymbolicLink);
  if (!S_ISDIR(st.st_mode)) return RunUtilText(UtilText::kNotAFolder);
  return WhyNotRootsOwnAndWrites(st, OthersMayWrite::kNo);
}

std::string WhyNotRootsFile(const struct stat& st, OthersMayWrite others) {
  if (S_ISLNK(st.st_mode)) return RunUtilText(UtilText::kIsSymbolicLink);
  if (!S_ISREG(st.st_mode)) return RunUtilText(UtilText::kNotARegularFile);
  if (std::string why = WhyNotRootsOwnAndWrites(st, others); !why.empty()) return why;
  // Another name for the file, made by whoever could write its folder,
  // would let them change it through that name later.
  if (st.st_nlink != 1) return UtilFormat(UtilText::kHasLinks, static_cast<unsigned long>(st.st_nlink));
  return "";
}

int OpenRootsFileAt(int dirfd, const char* name, int flags, std::string* why) {
  const int fd = openat(dirfd, name, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int err = errno;
    *why = err == ELOOP ? RunUtilText(UtilText::kIsSymbolicLink) : std::strerror(err);
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
