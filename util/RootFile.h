// Whether a file is one that root alone could have written: a regular
// file of root's with a single link that nobody else may write. The
// installer trusts its own records (the manifest and its notes, the saved
// installation's markers, the lock) and runs the product's administration
// tool only under this rule; anything else may have been planted or
// changed by another user.
#pragma once

#include <sys/stat.h>

#include <string>

// Whether a file's mode may give others the right to write it: the log is
// such a file (every user may log), the rest are not.
enum class OthersMayWrite { kNo, kYes };

// Why the file st shows (from fstat, or lstat of the path itself) is not
// root's alone: "it is a symbolic link", "it is not a regular file", "it is
// not owned by root (uid N)", "it is writable by others than root (mode
// 0664)" or "it has N links"; "" when it is root's alone.
std::string WhyNotRootsFile(const struct stat& st, OthersMayWrite others = OthersMayWrite::kNo);

// Why the folder st shows (fstat of the open folder) is not root's alone:
// "it is a symbolic link", "it is not a folder", "it is not owned by root
// (uid N)", "it is writable by others than root (mode 0775)"; "" when it
// is. (A folder's entries are only as safe as the folder.)
std::string WhyNotRootsFolder(const struct stat& st);

inline bool IsRootsFile(const struct stat& st, OthersMayWrite others = OthersMayWrite::kNo) {
  return WhyNotRootsFile(st, others).empty();
}

// Opens name in the folder dirfd (AT_FDCWD: a path) with flags (O_RDONLY,
// O_RDWR ...; a link at the last step is never followed, a FIFO never waited
// on) and judges what was opened, so that no swap between a check and the
// open can pass. The descriptor of root's file, or -1 with *why; errno is
// then ENOENT when nothing is there, EPERM when something else is.
int OpenRootsFileAt(int dirfd, const char* name, int flags, std::string* why);
