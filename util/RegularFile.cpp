#include "RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

RegularFile::RegularFile(const char* path, LastLink last) {
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (last == kRefuseLink ? O_NOFOLLOW : 0);
  const int fd = path != nullptr ? open(path, flags) : -1;
  if (fd < 0) return;
  if (fstat(fd, &status_) != 0 || !S_ISREG(status_.st_mode)) {
    close(fd);
    errno = EINVAL;
    return;
  }
  fd_ = fd;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0) close(fd_);
}
