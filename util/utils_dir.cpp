// Directory listings as blank lists, and entry lookup by name.
#include <cstring>
#include <memory>

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
  size_t total = 0;
  while (const char* name = ReadDir(dir.get())) total += std::strlen(name) + 1;
  const size_t size = total + 3;
  char* list = GetMemT<char>(size);
  if (list == nullptr) return nullptr;
  rewinddir(dir.get());
  // Entries may appear between the two passes: whatever does not fit the
  // measured size is left out rather than written past it.
  size_t used = 0;
  while (const char* name = ReadDir(dir.get())) {
    size_t len = std::strlen(name);
    if (used + 1 + len + 2 > size) break;
    list[used++] = ' ';
    std::memcpy(list + used, name, len);
    used += len;
  }
  list[used++] = ' ';
  list[used] = '\0';
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
