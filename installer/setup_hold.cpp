// Holding the folders a run works in. A held folder is kept open from the
// moment it is held to the end of the run, so that its mode is given back
// to the very folder held, whatever was renamed meanwhile. The record
// lists "MODE PATH" lines (the mode to give back, in octal; the path as a
// manifest writes it), rewritten before each new hold takes effect, so
// that a run killed at any moment leaves folders stricter, never looser.
#include "setup_hold.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "Fd.h"
#include "PathTrust.h"
#include "ReplacingFile.h"
#include "installer.h"
#include "utils.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;
constexpr int kMaxDepth = 64;  // folders below a tree held, deeper ones are not walked

struct Held {
  Fd folder;
  std::string path;
  mode_t restore;  // the mode it gets back
  mode_t held;     // the mode it has while held
};

// The manifest is made on a thread of its own while the run goes on: it
// asks for the modes to give back under this lock.
std::mutex tableLock;
std::string record;  // empty: no hold in this run
pid_t holder = 0;
std::vector<Held> held;
std::map<std::pair<dev_t, ino_t>, size_t> byInode;
bool recordWarned = false;

mode_t Mode(const struct stat& st) { return st.st_mode & 07777; }

mode_t HeldMode(mode_t mode) { return (mode & S_ISVTX) != 0 ? mode : mode & ~kOthersWrite; }

// The path of an open folder, as the kernel names it.
std::string FolderPath(int fd) {
  char link[64];
  char path[kLineBufSize];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, path, sizeof path);
  if (n <= 0 || static_cast<size_t>(n) >= sizeof path || path[0] != '/') return "";
  return std::string(path, static_cast<size_t>(n));
}

// Writes the record of what is held (removes it when nothing is). A record
// that cannot be written is said once: the folders are held all the same,
// and a killed run then leaves them for the administrator to put back.
void SaveRecord() {
  if (held.empty()) {
    unlink(record.c_str());
    return;
  }
  std::string text;
  for (const Held& h : held) {
    char mode[16];
    std::snprintf(mode, sizeof mode, "%04o ", static_cast<unsigned>(h.restore));
    text += mode + EscapeManifestText(h.path) + "\n";
  }
  if (ReplaceFileText(record.c_str(), 0600, text) || recordWarned) return;
  recordWarned = true;
  const int err = errno;
  SayWarning(220, record.c_str(), std::strerror(err));
}

void SetMode(int fd, mode_t mode, const std::string& path) {
  if (fchmod(fd, mode) != 0) PutLogMsg("%s: mode %04o not set: %s\n", path.c_str(), mode, std::strerror(errno));
}

// Holds the open folder fd: it keeps its mode to give back, unless adopt
// (a command of the run has just given it its mode) or a mode other than
// the one held shows that a command changed it. True when others could
// write it before.
bool HoldFolder(int fd, bool adopt) {
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) return true;
  const mode_t mode = Mode(st);
  if (st.st_uid != 0) return true;  // another's: refused where that matters
  std::lock_guard<std::mutex> locked(tableLock);
  const auto known = byInode.find({st.st_dev, st.st_ino});
  if (known == byInode.end()) {
    if ((mode & kOthersWrite) == 0) return false;
    if (HeldMode(mode) == mode) return true;  // a shared sticky folder
    Held h{Fd(fcntl(fd, F_DUPFD_CLOEXEC, 0)), FolderPath(fd), mode, HeldMode(mode)};
    if (!h.folder.ok() || h.path.empty()) return true;
    byInode[{st.st_dev, st.st_ino}] = held.size();
    held.push_back(std::move(h));
    SaveRecord();
    PutLogMsg("held %s (mode %04o) until the end of the run\n", held.back().path.c_str(), mode);
    SetMode(fd, held.back().held, held.back().path);
    return true;
  }
  Held& h = held[known->second];
  if (adopt || mode != h.held) {
    if (mode != h.restore) {
      h.restore = mode;
      SaveRecord();
    }
    h.held = HeldMode(mode);
  }
  if (mode != h.held) SetMode(fd, h.held, h.path);
  return (h.restore & kOthersWrite) != 0;
}

bool HoldOnTheWay(int folder) { return HoldFolder(folder, false); }

// Calls visit with every folder below the open folder fd, each opened
// without following a link, and its path relative to fd ("/a", "/a/b"): a
// folder before what lies below it, at most kMaxDepth deep.
void ForEachFolderBelow(int fd, const std::string& prefix, int depth,
                        const std::function<void(int, const std::string&)>& visit) {
  if (depth >= kMaxDepth) return;
  const int listed = fcntl(fd, F_DUPFD_CLOEXEC, 0);
  DIR* dir = listed >= 0 ? fdopendir(listed) : nullptr;
  if (dir == nullptr) {
    if (listed >= 0) close(listed);
    return;
  }
  std::vector<std::string> names;
  while (const dirent* e = readdir(dir)) {
    struct stat st;
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0 &&
        fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
      names.push_back(e->d_name);
  }
  closedir(dir);
  for (const std::string& name : names) {
    Fd sub(openat(fd, name.c_str(), kFolderFlags));
    if (!sub.ok()) continue;
    visit(sub.get(), prefix + "/" + name);
    ForEachFolderBelow(sub.get(), prefix + "/" + name, depth + 1, visit);
  }
}

// Holds the folder fd and, with tree, every folder below it.
void HoldBelow(int fd, bool adopt, bool tree) {
  HoldFolder(fd, adopt);
  if (tree) ForEachFolderBelow(fd, "", 0, [adopt](int sub, const std::string&) { HoldFolder(sub, adopt); });
}

void Hold(const std::string& path, bool adopt, bool tree) {
  if (record.empty() || flPreview) return;
  PathPlace place;
  WayBlock block;
  if (OpenWayTo(path, WayOwners::kAny, LastLink::kKeep, &place, &block) != kWayReached) return;
  Fd folder(openat(place.folder.get(), place.leaf.c_str(), kFolderFlags));
  if (folder.ok()) HoldBelow(folder.get(), adopt, tree);
}

// The folders a killed run left held: those still as it left them (no
// write bit for others) are held by this run, to get their modes back at
// its end.
void TakeOverRecord() {
  std::string why;
  FilePtr f = OpenTrustedFile(record, &why);
  if (!f) {
    if (errno != ENOENT) {
      SayWarning(221, record.c_str(), why.c_str());
    }
    return;
  }
  char line[kLineBufSize];
  while (std::fgets(line, sizeof line, f.get()) != nullptr) {
    unsigned mode = 0;
    char escaped[kLineBufSize];
    std::string path;
    if (std::sscanf(line, "%o %4095s", &mode, escaped) != 2 || !UnescapeManifestText(escaped, &path) ||
        !IsCleanManifestPath(path))
      continue;
    PathPlace place;
    WayBlock block;
    if (OpenWayTo(path, WayOwners::kAny, LastLink::kKeep, &place, &block) != kWayReached) continue;
    Fd folder(openat(place.folder.get(), place.leaf.c_str(), kFolderFlags));
    struct stat st;
    if (!folder.ok() || fstat(folder.get(), &st) != 0 || st.st_uid != 0 || (Mode(st) & kOthersWrite) != 0) continue;
    if (byInode.count({st.st_dev, st.st_ino}) != 0) continue;
    byInode[{st.st_dev, st.st_ino}] = held.size();
    held.push_back({std::move(folder), path, static_cast<mode_t>(mode & 07777), Mode(st)});
  }
}

void EndAtExit() {
  if (getpid() == holder) EndFolderHold();
}

}  // namespace

void BeginFolderHold(const char* recordPath) {
  if (geteuid() != 0 || !record.empty() || recordPath == nullptr) return;
  record = recordPath;
  holder = getpid();
  TakeOverRecord();
  SetWayFolderHook(HoldOnTheWay);
  static bool registered = false;
  if (!registered) std::atexit(EndAtExit);
  registered = true;
}

void HoldTree(const std::string& path) { Hold(path, false, true); }

void HoldAfterCommand(const std::string& path, bool tree) { Hold(path, true, tree); }

void HoldCopiedTree(const std::string& source, const std::string& target) {
  if (record.empty() || flPreview) return;
  HoldTree(target);
  Fd from(open(source.c_str(), kFolderFlags));
  if (!from.ok()) return;
  Hold(target, true, false);
  ForEachFolderBelow(from.get(), "", 0, [&target](int, const std::string& folder) { Hold(target + folder, true, false); });
}

void GiveCopyHeldModes(const std::string& original, const std::string& copy) {
  // (The walks below may hold more folders: the table is read first.)
  std::vector<std::pair<std::string, mode_t>> modes;
  for (const Held& h : held)
    if (PathTextWithin(h.path, original)) modes.push_back({copy + h.path.substr(original.size()), h.restore});
  for (const auto& [path, mode] : modes) {
    PathPlace place;
    WayBlock block;
    if (OpenWayTo(path, WayOwners::kRootOnly, LastLink::kKeep, &place, &block) != kWayReached) continue;
    Fd folder(openat(place.folder.get(), place.leaf.c_str(), kFolderFlags));
    if (folder.ok()) SetMode(folder.get(), mode, path);
  }
}

mode_t ModeAfterHold(const struct stat& st) {
  std::lock_guard<std::mutex> locked(tableLock);
  const auto known = byInode.find({st.st_dev, st.st_ino});
  return known != byInode.end() ? held[known->second].restore : Mode(st);
}

void EndFolderHold() {
  if (record.empty()) return;
  SetWayFolderHook(nullptr);
  std::lock_guard<std::mutex> locked(tableLock);
  for (Held& h : held) {
    struct stat st;
    if (fstat(h.folder.get(), &st) != 0 || Mode(st) == h.restore) continue;
    PutLogMsg("gave %s its mode %04o back\n", h.path.c_str(), h.restore);
    SetMode(h.folder.get(), h.restore, h.path);
  }
  held.clear();
  byInode.clear();
  SaveRecord();
  record.clear();
}
