// The program's knowledge of its surroundings: its own directory and the
// nearest existing ancestor of a path.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "MemMgr.h"
#include "utils.h"

// Everything before the last '/' of path: "." when there is none, "/" when
// it is the first character. Unlike StripFn it is not bounded.
std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

namespace {

// An absolute path with its "." and ".." components resolved by name.
std::string Normalise(const std::string& path) {
  std::string out;
  size_t pos = 0;
  while (pos <= path.size()) {
    size_t end = path.find('/', pos);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(pos, end - pos);
    if (part == "..") {
      size_t cut = out.rfind('/');
      out.erase(cut == std::string::npos ? 0 : cut);
    } else if (!part.empty() && part != ".") {
      out += '/';
      out += part;
    }
    pos = end + 1;
  }
  return out.empty() ? "/" : out;
}

void TrimTrailingSlashes(std::string& path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
}

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};

}  // namespace

char* GetToolPath(const char* invocation) {
  std::string inv = invocation ? invocation : "";
  std::string dir = DirectoryOf(inv);
  if (!inv.empty() && inv[0] == '/') return SaveText(dir.c_str());

  std::unique_ptr<char, FreeDeleter> cwd(getcwd(nullptr, 0));
  if (!cwd) return SaveText(dir.c_str());  // no working directory: the best we know
  if (dir == ".") return SaveText(cwd.get());
  std::string joined = std::string(cwd.get()) + "/" + dir;
  // "./sub/setup", "../setup": the directory by name, without dot steps.
  if (dir == ".." || dir.starts_with("./") || dir.starts_with("../")) {
    return SaveText(Normalise(joined).c_str());
  }
  return SaveText(joined.c_str());
}

char* FindExistingPath(const char* path, int* exists) {
  std::string buf = path ? path : "";
  TrimTrailingSlashes(buf);
  const std::string wanted = buf;
  // "/" and "." always exist and end the walk.
  while (!buf.empty() && buf != "/" && buf != ".") {
    size_t slash = buf.rfind('/');
    std::string parent = DirectoryOf(buf);
    std::string leaf = slash == std::string::npos ? buf : buf.substr(slash + 1);
    if (FindFile(parent.c_str(), leaf.c_str())) break;
    buf = parent;
    TrimTrailingSlashes(buf);
  }
  const char* found = buf.empty() ? "." : buf.c_str();
  if (wanted == found && exists != nullptr) *exists = 1;
  return SaveText(found);
}
