// Paths as texts: the escaped form the run's records write them in (the
// manifest, its notes, the record of the held folders), the check that a
// path read back is a clean full one, and the two ways to ask whether a
// path lies in a folder: by its text alone, or resolved as the host would
// follow it.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "installer.h"
#include "utils.h"

std::string EscapeManifestText(const std::string& text) {
  std::string out;
  char hex[4];
  for (unsigned char c : text) {
    if (c <= 32 || c >= 127 || c == '%') {
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool UnescapeManifestText(const std::string& text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *out += text[i];
      continue;
    }
    if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
      return false;
    *out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
    i += 2;
  }
  return true;
}

bool IsCleanManifestPath(const std::string& path) {
  if (path.empty() || path[0] != '/' || path.find('\0') != std::string::npos) return false;
  for (size_t at = 1;;) {
    const size_t slash = path.find('/', at);
    const std::string step = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
    if (step.empty() || step == "." || step == "..") return false;
    if (slash == std::string::npos) return true;
    at = slash + 1;
  }
}

bool PathTextWithin(const std::string& path, const std::string& dir) {
  return path == dir || (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/');
}

bool AppDirOf(const char* installDir, char* out, size_t size) {
  return FormatText(out, size, "%s/%s/%s", installDir, "Vexla", "vpxx");
}

std::string ResolvedPath(const char* path) {
  std::string head = path != nullptr ? path : "";
  if (head.empty() || head[0] != '/') return "";
  std::vector<std::string> rest;  // the steps below the part that exists, deepest first
  char resolved[PATH_MAX];
  while (realpath(head.c_str(), resolved) == nullptr) {
    const size_t slash = head.find_last_of('/');
    rest.push_back(head.substr(slash + 1));
    head.resize(slash == 0 ? 1 : slash);
  }
  // What does not exist yet is made as written, folder by folder, so its
  // steps are taken as they read; a ".." among them may lead back to
  // what exists, which is resolved again.
  std::string out = resolved;
  for (auto step = rest.rbegin(); step != rest.rend(); ++step) {
    if (step->empty() || *step == ".") continue;
    if (*step == "..") {
      out.resize(std::max<size_t>(out.find_last_of('/'), 1));
    } else {
      if (out != "/") out += '/';
      out += *step;
    }
    if (realpath(out.c_str(), resolved) != nullptr) out = resolved;
  }
  return out;
}

bool ResolvedWithin(const char* path, const char* dir) {
  const std::string p = ResolvedPath(path);
  const std::string d = ResolvedPath(dir);
  if (p.empty() || d.empty()) return false;
  return d == "/" || PathTextWithin(p, d);
}
