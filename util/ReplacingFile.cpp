// A file written beside its target and renamed into place.
#include "ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The folder and the name of path: "dir/leaf", "/leaf" or "leaf".
void SplitPath(const std::string& path, std::string* folder, std::string* leaf) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    *folder = ".";
    *leaf = path;
  } else {
    *folder = slash == 0 ? "/" : path.substr(0, slash);
    *leaf = path.substr(slash + 1);
  }
}

}  // namespace

ReplacingFile::ReplacingFile(const char* path) {
  if (path == nullptr) {
    errno = EINVAL;
    return;
  }
  std::string folder;
  SplitPath(path, &folder, &leaf_);
  if (leaf_.empty() || leaf_ == "." || leaf_ == "..") {
    errno = EISDIR;
    return;
  }
  folder_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0) return;
  // Only a file or a link is replaced: a folder, a device or a FIFO at the
  // path is nothing this program wrote.
  struct stat st;
  if (fstatat(folder_, leaf_.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode)) {
    errno = S_ISDIR(st.st_mode) ? EISDIR : EEXIST;
    return;
  }
  // A name nobody else uses at this moment: O_EXCL refuses anything that is
  // there already, a link included, so another user's entry is never
  // opened; a name taken is tried again with the next number.
  static unsigned serial = 0;
  for (int tries = 0; tries < 100; ++tries) {
    std::string name = ".setup-new." + std::to_string(getpid()) + "." + std::to_string(serial++);
    int fd = openat(folder_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return;
    stream_ = fdopen(fd, "w");
    if (stream_ == nullptr) {
      const int saved = errno;
      close(fd);
      unlinkat(folder_, name.c_str(), 0);
      errno = saved;
      return;
    }
    temp_ = std::move(name);
    return;
  }
  errno = EEXIST;
}

ReplacingFile::~ReplacingFile() {
  const int saved = errno;
  if (stream_ != nullptr) std::fclose(stream_);
  if (!temp_.empty()) unlinkat(folder_, temp_.c_str(), 0);
  if (folder_ >= 0) close(folder_);
  errno = saved;
}

bool ReplacingFile::Commit(mode_t mode) {
  if (stream_ == nullptr) {
    if (errno == 0) errno = EBADF;
    return false;
  }
  FILE* stream = stream_;
  stream_ = nullptr;
  bool ok = std::fflush(stream) == 0 && !std::ferror(stream);
  const int fd = fileno(stream);
  if (ok && mode != 0) ok = fchmod(fd, mode) == 0;
  // On the disk before the rename: after a power cut the target is the old
  // file or the whole new one.
  if (ok) ok = fsync(fd) == 0;
  int saved = errno;
  if (std::fclose(stream) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && renameat(folder_, temp_.c_str(), folder_, leaf_.c_str()) == 0) {
    temp_.clear();
    return true;
  }
  if (ok) saved = errno;
  errno = saved;
  return false;
}

bool ReplaceFileText(const char* path, mode_t mode, const std::string& text) {
  ReplacingFile file(path);
  if (file.get() == nullptr) return false;
  if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) return false;
  return file.Commit(mode);
}
