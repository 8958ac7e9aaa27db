// A file descriptor that closes itself when its owner goes, and the write
// of a whole text to a descriptor.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <utility>

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  // Closes its own descriptor, then takes the other's.
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) close(fd_);
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;

  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Gives the descriptor up to the caller.
  int Release() { return std::exchange(fd_, -1); }
  // Closes now; false when the close reports an error (a lost write).
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// Writes all size bytes to fd, again after an interruption; false on any
// other error (errno says which) or a write that takes nothing.
inline bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}
