// mkmedium: the pieces every step uses: messages, open descriptors, files
// written, created new and copied, and the output folder that goes again
// when the medium is not made.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "mkmedium.h"

namespace fs = std::filesystem;

namespace mkmedium {

namespace {

// "mkmedium: ", the message, and ": " and the reason when there is one.
SETUP_PRINTF(1, 0) void Say(const char* format, va_list args, const char* reason) {
  std::fprintf(stderr, "%s: ", kTool);
  std::vfprintf(stderr, format, args);
  if (reason != nullptr)
    std::fprintf(stderr, ": %s\n", reason);
  else
    std::fputc('\n', stderr);
}

}  // namespace

void Complain(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Say(format, args, nullptr);
  va_end(args);
}

void ComplainErrno(const char* format, ...) {
  const char* reason = std::strerror(errno);
  va_list args;
  va_start(args, format);
  Say(format, args, reason);
  va_end(args);
}

Fd CreateNew(const std::string& path, mode_t mode) {
  Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.ok()) {
    ComplainErrno("cannot create %s", path.c_str());
    return fd;
  }
  if (fchmod(fd.get(), mode) != 0) {
    ComplainErrno("cannot set the mode of %s", path.c_str());
    return Fd();
  }
  return fd;
}

bool FinishFile(Fd& fd, const std::string& path) {
  if (!fd.Close()) {
    ComplainErrno("cannot write %s", path.c_str());
    return false;
  }
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& text, mode_t mode) {
  Fd fd = CreateNew(path, mode);
  if (!fd.ok()) return false;
  if (!WriteAll(fd.get(), text.data(), text.size())) {
    ComplainErrno("cannot write %s", path.c_str());
    return false;
  }
  return FinishFile(fd, path);
}

bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
  Fd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.ok()) {
    ComplainErrno("cannot read %s", from.c_str());
    return false;
  }
  Fd out = CreateNew(to, mode);
  if (!out.ok()) return false;
  char buf[65536];
  for (;;) {
    ssize_t n = read(in.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ComplainErrno("cannot read %s", from.c_str());
      return false;
    }
    if (n == 0) break;
    if (!WriteAll(out.get(), buf, static_cast<size_t>(n))) {
      ComplainErrno("cannot write %s", to.c_str());
      return false;
    }
  }
  return FinishFile(out, to);
}

bool OutputDir::Open(const std::string& path) {
  path_ = path;
  struct stat st;
  if (stat(path.c_str(), &st) == 0 ? !UseEmpty(st) : !MakeNew(errno)) return false;
  opened_ = true;
  return true;
}

// The folder that is there already, st its status: only when it is an
// empty folder we may write into.
bool OutputDir::UseEmpty(const struct stat& st) {
  if (!S_ISDIR(st.st_mode)) {
    Complain("the output %s exists and is not a folder", path_.c_str());
    return false;
  }
  std::error_code ec;
  if (!fs::is_empty(path_, ec) || ec) {
    Complain("the output folder %s is not empty; give a new or empty folder", path_.c_str());
    return false;
  }
  if (access(path_.c_str(), W_OK | X_OK) != 0) {
    ComplainErrno("cannot write into the output folder %s", path_.c_str());
    return false;
  }
  return true;
}

// The folder that is not there (statErrno says why stat found none): made
// when its parent is.
bool OutputDir::MakeNew(int statErrno) {
  if (statErrno != ENOENT && statErrno != ENOTDIR) {
    errno = statErrno;
    ComplainErrno("cannot use the output folder %s", path_.c_str());
    return false;
  }
  if (mkdir(path_.c_str(), 0755) != 0) {
    ComplainErrno("cannot create the output folder %s", path_.c_str());
    return false;
  }
  made_ = true;
  return true;
}

OutputDir::~OutputDir() {
  if (!opened_ || keep_) return;
  std::error_code ec;
  if (made_) {
    fs::remove_all(path_, ec);
    return;
  }
  for (const fs::directory_entry& e : fs::directory_iterator(path_, ec)) {
    std::error_code ignored;
    fs::remove_all(e.path(), ignored);
  }
}

}  // namespace mkmedium
