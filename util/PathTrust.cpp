// Judging the symbolic links on the way to a path, component by component.
#include "PathTrust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <deque>

namespace {

constexpr int kMaxLinks = 40;

// The components of path in order, empty ones and "." left out.
void PushComponents(const std::string& path, std::deque<std::string>* into, bool front) {
  std::deque<std::string> parts;
  size_t at = 0;
  while (at <= path.size()) {
    size_t slash = path.find('/', at);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(at, slash - at);
    if (!part.empty() && part != ".") parts.push_back(std::move(part));
    at = slash + 1;
  }
  if (front)
    into->insert(into->begin(), parts.begin(), parts.end());
  else
    into->insert(into->end(), parts.begin(), parts.end());
}

std::string Parent(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "" : path.substr(0, slash);
}

// root's own links, and those whose owner owns their target, may be followed.
bool MayFollow(const std::string& link, const struct stat& st) {
  if (st.st_uid == 0) return true;
  struct stat target;
  return stat(link.c_str(), &target) == 0 && target.st_uid == st.st_uid;
}

}  // namespace

std::string UntrustedLinkOnPath(const char* path) {
  if (path == nullptr || path[0] == '\0') return "";
  std::deque<std::string> rest;
  if (path[0] != '/') {
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd) == nullptr) return path;  // cannot be judged: not followed
    PushComponents(cwd, &rest, false);
  }
  PushComponents(path, &rest, false);
  std::string done;  // the resolved part, "" for the root
  int links = 0;
  while (!rest.empty()) {
    const std::string part = std::move(rest.front());
    rest.pop_front();
    if (part == "..") {
      done = Parent(done);
      continue;
    }
    const std::string next = done + "/" + part;
    struct stat st;
    if (lstat(next.c_str(), &st) != 0) return "";  // nothing there yet: nothing to follow
    if (!S_ISLNK(st.st_mode)) {
      done = next;
      continue;
    }
    if (++links > kMaxLinks || !MayFollow(next, st)) return next;
    char target[PATH_MAX];
    const ssize_t n = readlink(next.c_str(), target, sizeof target - 1);
    if (n <= 0) return next;
    target[n] = '\0';
    if (target[0] == '/') done.clear();
    PushComponents(target, &rest, true);
  }
  return "";
}
