// Files and lines: opening with a chosen reaction to failure, the current
// input file read line by line, whole files into the shared line buffer or
// into fresh memory, and the shared buffers themselves.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <memory>

#include "MemMgr.h"
#include "RegularFile.h"
#include "ReplacingFile.h"
#include "utils.h"

char LineBuf[kLineBufSize];
char Line[kLineSize];
FILE* pIn = nullptr;
FILE* pOut = nullptr;
char InputFileName[kInputFileNameSize];
int FileStatus = 1;
int LineLen = 0;
int SavedFileSize = 0;

namespace {

// Reads up to size bytes, retrying short reads; the count read, -1 on error.
ssize_t ReadUpTo(int fd, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = read(fd, buffer + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

void OpenStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open gives the lowest free descriptor: this one.
    const int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (null != fd) {
      if (null >= 0) close(null);
      return;
    }
  }
}

FILE* OpenFile(FILE* previous, const char* path, const char* mode, int onError) {
  if (previous != nullptr) std::fclose(previous);
  FILE* f = path != nullptr ? std::fopen(path, mode) : nullptr;
  if (f != nullptr) return f;
  if (onError == kSevFatal) SysError("%s", UtilFormat(UtilText::kCannotOpenFile, path != nullptr ? path : "").c_str());
  if (onError == kSevWarning) SayUtilError(UtilText::kCannotOpenFile, path != nullptr ? path : "");
  return nullptr;
}

int GetFileSize(const char* path) {
  struct stat st;
  if (path == nullptr || stat(path, &st) != 0) return 0;
  return st.st_size > INT_MAX ? INT_MAX : static_cast<int>(st.st_size);
}

int GetFileType(const char* path) {
  struct stat st;
  if (path == nullptr || lstat(path, &st) != 0) return kNoFile;
  if (S_ISDIR(st.st_mode)) return kDirectoryFile;
  if (S_ISLNK(st.st_mode)) return kLinkFile;
  return kOtherFile;
}

char* FileSearch(const char* path, const char* pattern, int onError) {
  static char line[512];
  FilePtr f(OpenFile(nullptr, path, "rt", onError));
  if (!f) return nullptr;
  while (std::fgets(line, kMaxFileLine + 1, f.get()) != nullptr) {
    if (pattern == nullptr || std::strstr(line, pattern) != nullptr) return line;
  }
  return nullptr;
}

bool OpenInputFile(const char* path, int onError) {
  CopyText(InputFileName, sizeof InputFileName, path);
  CloseInputFile();
  pIn = path != nullptr ? std::fopen(path, "rt") : nullptr;
  if (pIn != nullptr) {
    FileStatus = 0;
    return true;
  }
  // The list that could not be read ends the run as a failure: status 1.
  ErrorMsg(onError, 1, "%s", UtilFormat(UtilText::kCannotOpenFile, path != nullptr ? path : "").c_str());
  FileStatus = 2;
  LineBuf[0] = '\0';
  LineLen = 0;
  return false;
}

void CloseInputFile() {
  if (pIn == nullptr) return;
  std::fclose(pIn);
  pIn = nullptr;
  FileStatus = 1;
}

bool GetFileLine() {
  if (pIn == nullptr) return false;
  if (std::fgets(LineBuf, kMaxFileLine + 1, pIn) == nullptr) {
    CloseInputFile();
    return false;
  }
  LineLen = 0;
  char* segment = LineBuf;
  for (;;) {
    size_t len = std::strlen(segment);
    bool continued = len >= 2 && segment[len - 2] == '\\' && segment[len - 1] == '\n';
    if (!continued) break;
    LineLen += static_cast<int>(len);
    segment += len;
    int room = kLineBufSize - LineLen;
    if (room < 2) break;  // the buffer is full: the rest comes as the next line
    if (std::fgets(segment, room, pIn) == nullptr) break;
  }
  return true;
}

bool GetFileContent(const char* dir, const char* name) {
  if (dir == nullptr) return false;
  char path[kLineBufSize];
  bool fits = name == nullptr ? CopyText(path, sizeof path, dir)
                              : FormatText(path, sizeof path, "%s/%s", dir, name);
  CopyText(LineBuf, sizeof LineBuf, path);
  if (!fits) return false;
  const RegularFile file(path, RegularFile::kFollowLink);
  if (file.fd() < 0) return false;
  ssize_t n = ReadUpTo(file.fd(), LineBuf, sizeof LineBuf - 1);
  if (n < 0) n = 0;
  LineBuf[n] = '\0';
  return true;
}

char* GetSavedFileContent(const char* dir, const char* name) {
  SavedFileSize = 0;
  if (dir == nullptr) return nullptr;
  char path[256];
  bool fits = name == nullptr ? CopyText(path, sizeof path, dir)
                              : FormatText(path, sizeof path, "%s/%s", dir, name);
  if (!fits) return nullptr;
  SavedFileSize = GetFileSize(path);
  if (SavedFileSize == 0) return nullptr;
  char* content = GetMemT<char>(static_cast<size_t>(SavedFileSize) + 1);
  if (content == nullptr) {
    ErrorMsg(kSevWarning, 0, "%s", RunUtilText(UtilText::kNoMemory));
    return nullptr;
  }
  // A file of one byte is not read: its content comes back empty.
  if (SavedFileSize >= 2) {
    const RegularFile file(path, RegularFile::kFollowLink);
    ssize_t n = file.fd() < 0 ? -1 : ReadUpTo(file.fd(), content, static_cast<size_t>(SavedFileSize));
    if (n < 0) {
      PutMem(content);
      return nullptr;
    }
    content[n] = '\0';
  }
  return content;
}

bool CreateTextFile(const char* path, const char* mode, int permissions, const char* format, ...) {
  // A file written anew is written beside its target and renamed into
  // place, so that nothing planted at the path is followed; one that is
  // added to is opened as it stands.
  const bool anew = mode != nullptr && mode[0] == 'w';
  std::unique_ptr<ReplacingFile> replacing;
  FilePtr appended;
  FILE* f = nullptr;
  if (path != nullptr && anew) {
    replacing = std::make_unique<ReplacingFile>(path);
    f = replacing->get();
  } else if (path != nullptr && mode != nullptr) {
    appended.reset(std::fopen(path, mode));
    f = appended.get();
  }
  if (f == nullptr) {
    SayUtilError(UtilText::kCouldNotOpen, path != nullptr ? path : "");
    return false;
  }
  va_list args;
  va_start(args, format);
  std::vfprintf(f, format, args);
  va_end(args);
  bool written = !std::ferror(f);
  if (anew) {
    written = replacing->Commit(static_cast<mode_t>(permissions)) && written;
  } else {
    if (permissions != 0) fchmod(fileno(f), static_cast<mode_t>(permissions));
    written = std::fclose(appended.release()) == 0 && written;
  }
  if (!written) {
    // A full disk must not pass for a written file.
    SayUtilError(UtilText::kCouldNotWrite, path);
  }
  return written;
}
