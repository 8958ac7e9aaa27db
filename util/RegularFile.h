// A file opened for reading only when it is a regular file. It is opened
// without blocking and judged on the open descriptor, so a FIFO or a
// device in its place is refused at once, never waited on, and no check
// and later open can be told apart by a swap between the two.
#pragma once

#include <sys/stat.h>

class RegularFile {
 public:
  // How a link at the last step of the path is met: followed, or refused
  // (the path names the file itself).
  enum LastLink { kFollowLink, kRefuseLink };

  RegularFile(const char* path, LastLink last);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  // The descriptor, or -1 when the file cannot be opened or is not a
  // regular file (errno then EINVAL, or ELOOP for a refused link).
  int fd() const { return fd_; }
  // The file as it was opened; valid while fd() is not -1.
  const struct stat& status() const { return status_; }

 private:
  int fd_ = -1;
  struct stat status_ {};
};
