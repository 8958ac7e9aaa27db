// Walking to a path folder by folder, judging each link on the way.
#include "PathTrust.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <vector>

#include "UtilText.h"

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
constexpr int kMaxLinks = 40;

WayFolderHook folderHook = nullptr;

std::vector<std::string> Steps(const std::string& path) {
  std::vector<std::string> steps;
  for (size_t at = 0; at <= path.size();) {
    size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    if (slash > at) steps.push_back(path.substr(at, slash - at));
    at = slash + 1;
  }
  return steps;
}

// A folder opened on the way, and whether others could write it before
// the hook held it.
struct Folder {
  Fd fd;
  bool wasShared = false;
};

Folder Reached(int fd) {
  Folder f{Fd(fd)};
  if (f.fd.ok() && folderHook != nullptr) f.wasShared = folderHook(f.fd.get());
  return f;
}

// Why the link with status st in the folder at may not be followed; ""
// when it may.
std::string WhyNotFollowed(const Folder& at, const struct stat& st) {
  if (st.st_uid != 0) return RunUtilText(UtilText::kLinkNotRoots);
  struct stat folder;
  if (at.wasShared || fstat(at.fd.get(), &folder) != 0 || (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return RunUtilText(UtilText::kLinkInSharedFolder);
  return "";
}

}  // namespace

void SetWayFolderHook(WayFolderHook hook) { folderHook = hook; }

WayResult OpenWayTo(const std::string& path, WayOwners owners, LastLink last, PathPlace* place, WayBlock* block) {
  struct Step {
    std::string name;
    bool ofPath;  // a step of path itself, not of a link's target
  };
  std::deque<Step> todo;
  for (std::string& s : Steps(path)) todo.push_back({std::move(s), true});
  if (path.empty() || path[0] != '/' || todo.empty()) {
    *block = {path, RunUtilText(UtilText::kNotBelowRoot)};
    return kWayBlocked;
  }
  Folder at = Reached(open("/", kFolderFlags));
  std::string shown;  // path's steps walked so far, for the messages
  int links = 0;
  while (at.fd.ok()) {
    const Step step = todo.front();
    todo.pop_front();
    if (step.ofPath) shown += "/" + step.name;
    const bool lastStep = todo.empty();
    struct stat st;
    if (lastStep) {
      // The last step is the place reached, unless it is a link to follow.
      if (last == LastLink::kKeep || fstatat(at.fd.get(), step.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ||
          !S_ISLNK(st.st_mode)) {
        place->folder = std::move(at.fd);
        place->leaf = step.name;
        return kWayReached;
      }
    } else if (step.name != ".") {
      Fd next(openat(at.fd.get(), step.name.c_str(), kFolderFlags));
      if (next.ok()) {
        if (fstat(next.get(), &st) == 0 && owners == WayOwners::kRootOnly && st.st_uid != 0) {
          *block = {shown, UtilFormat(UtilText::kFolderNotRoots, static_cast<unsigned>(st.st_uid))};
          return kWayBlocked;
        }
        at = Reached(next.Release());
        continue;
      }
      const int err = errno;
      if (fstatat(at.fd.get(), step.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT) return kWayGone;
        *block = {shown, UtilFormat(UtilText::kCannotBeReached, std::strerror(errno))};
        return kWayBlocked;
      }
      if (!S_ISLNK(st.st_mode)) {
        if (!S_ISDIR(st.st_mode)) return kWayGone;  // a file where the folder was: nothing is below it
        *block = {shown, UtilFormat(UtilText::kCannotBeOpened, std::strerror(err))};
        return kWayBlocked;
      }
    } else {
      continue;
    }
    // A link on the way, or at the last step to be followed.
    const std::string why = WhyNotFollowed(at, st);
    if (!why.empty()) {
      *block = {shown, why};
      return kWayBlocked;
    }
    char target[PATH_MAX];
    const ssize_t n = readlinkat(at.fd.get(), step.name.c_str(), target, sizeof target);
    if (++links > kMaxLinks || n <= 0 || static_cast<size_t>(n) >= sizeof target) {
      *block = {shown, RunUtilText(UtilText::kLinkNotFollowed)};
      return kWayBlocked;
    }
    const std::string to(target, static_cast<size_t>(n));
    if (to[0] == '/') at = Reached(open("/", kFolderFlags));
    const std::vector<std::string> inner = Steps(to);
    for (auto s = inner.rbegin(); s != inner.rend(); ++s) todo.push_front({*s, false});
    if (todo.empty()) todo.push_front({".", false});  // a link to "/" itself
  }
  *block = {shown.empty() ? "/" : shown, UtilFormat(UtilText::kCannotBeOpened, std::strerror(errno))};
  return kWayBlocked;
}
