// Directory listings as blank lists, and entry lookup by name.
#include <cstring>
#include <memory>
#include <string>

#include "MemMgr.h"
#include "utils.h"

namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

}  // namespace

char* ReadDir(DIR* dir) {
  if (dir == nullptr) return nullptr;
  dirent* entry = readdir(dir);
  return entry != nullptr ? entry->d_name : nullptr;
}

char* GetDirFileList(const char* path) {
  if (path == nullptr) return nullptr;
  DirPtr dir(opendir(path));
  if (!dir) return nullptr;
  // One pass over the directory: reading a large one (/usr/bin) twice
  // costs more than gathering its names here and copying them once.
  std::string names;
  while (const char* name = ReadDir(dir.get())) {
    names += ' ';
    names += name;
  }
  names += ' ';
  char* list = GetMemT<char>(names.size() + 2);
  if (list == nullptr) return nullptr;
  std::memcpy(list, names.data(), names.size());
  return list;
}

bool FindFile(const char* dir, const char* name) {
  if (dir == nullptr && (name == nullptr || name[0] == '\0')) return false;
  if (dir == nullptr) {
    dir = name;
    name = nullptr;
  }
  char dirPart[kStripFnSize];
  char namePart[kStripFnSize];
  char joined[256];
  if (name == nullptr || name[0] == '\0') {
    CopyText(namePart, sizeof namePart, StripPath(dir));
    CopyText(dirPart, sizeof dirPart, StripFn(dir));
    dir = dirPart;
    name = namePart;
  } else if (std::strchr(name, '/') != nullptr) {
    if (!FormatText(joined, sizeof joined, "%s/%s", dir, name)) return false;
    char* slash = std::strrchr(joined, '/');
    *slash = '\0';
    name = slash + 1;
    dir = joined[0] != '\0' ? joined : "/";
  }
  if (dir[0] == '\0') return false;
  char* list = GetDirFileList(dir);
  if (list == nullptr) return false;
  bool found = FindToken(name, list) != 0;
  PutMem(list);
  return found;
}
