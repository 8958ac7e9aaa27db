// The manifest of an installation, and the two words that use it: verify
// compares the host with it, remove takes the installation off again.
//
// The manifest is <application directory>/setup.manifest, a text file of
// one path a line, sorted, after two comment lines:
//
//   # setup manifest 1
//   # type mode owner group size sha256 path [link target]
//   d 0775 root root - - /opt/Vexla/vpxx
//   f 0755 root lp 252 9f86d0...(64 digits) /opt/Vexla/vpxx/vsf
//   n 0666 root lp - - /opt/Vexla/vpxx/VPrintD.log
//   l 0777 root root - - /usr/Vexla /opt/Vexla
//
// type: d directory, f file with its content recorded (the copies of the
// archive and the scripts the installer writes), n file recorded without
// content (made empty, written by the product's own tools, logs: they may
// grow), l symbolic link, o anything else. The mode is octal with the
// set-id bits; owner and group are names (numbers where the host has no
// name). A path, and a link target, has every byte below 33 or above 126
// and the % written as %XX, so that the fields split at single blanks.
//
// It lists every path under the application directory and every path the
// installation made outside it: the folders above the application
// directory it created, the spool folders, the wrappers, the links, and
// what a dirto line copied where nothing was before. A re-installation
// keeps the outside paths of the earlier manifest that are still there.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "Sha256.h"
#include "SysCmd.h"
#include "installer.h"
#include "utils.h"

namespace {

constexpr const char* kManifestHeader = "# setup manifest 1\n";
constexpr const char* kManifestFields = "# type mode owner group size sha256 path [link target]\n";

// What this installation noted: paths it made outside the application
// directory, and the paths whose files' content counts (a folder counts
// for everything below it).
std::set<std::string> madePaths;
std::set<std::string> contentPaths;

struct Entry {
  char type = 'o';
  unsigned mode = 0;
  std::string owner, group;
  std::string size = "-", sha = "-";
  std::string path, target;
};

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string Parent(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

bool IsWithinPath(const std::string& path, const std::string& dir) {
  return path == dir || (path.size() > dir.size() && path.compare(0, dir.size(), dir) == 0 && path[dir.size()] == '/');
}

std::string Escape(const std::string& text) {
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

bool Unescape(const std::string& text, std::string* out) {
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

// Names of owners and groups, looked up once a run: each lookup reads the
// user or group database again, and a manifest names thousands of paths.
// A manifest is written on a thread of its own, which keeps its own names.
std::string UserName(uid_t uid) {
  thread_local std::map<uid_t, std::string> known;
  if (auto k = known.find(uid); k != known.end()) return k->second;
  const passwd* pw = getpwuid(uid);
  return known[uid] = pw != nullptr ? pw->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  thread_local std::map<gid_t, std::string> known;
  if (auto k = known.find(gid); k != known.end()) return k->second;
  const group* gr = getgrgid(gid);
  return known[gid] = gr != nullptr ? gr->gr_name : std::to_string(gid);
}

bool HasContent(const std::set<std::string>& content, const std::string& path) {
  for (const std::string& c : content)
    if (IsWithinPath(path, c)) return true;
  return false;
}

// The entry of path as the host has it now, a file's content not yet
// hashed; false when there is none.
bool DescribeUnhashed(const std::string& path, bool withContent, Entry* e) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  *e = Entry{};
  e->path = path;
  e->mode = st.st_mode & 07777;
  e->owner = UserName(st.st_uid);
  e->group = GroupName(st.st_gid);
  if (S_ISDIR(st.st_mode)) {
    e->type = 'd';
  } else if (S_ISLNK(st.st_mode)) {
    e->type = 'l';
    char buf[PATH_MAX];
    ssize_t n = readlink(path.c_str(), buf, sizeof buf);
    if (n > 0) e->target.assign(buf, static_cast<size_t>(n));
  } else if (S_ISREG(st.st_mode)) {
    e->type = withContent ? 'f' : 'n';
    if (withContent) {
      e->size = std::to_string(static_cast<long long>(st.st_size));
    }
  }
  return true;
}

// A file's digest as the manifest shows it: "unreadable" for a file that
// could not be read.
std::string DigestOrUnreadable(const std::string& digest) { return digest.empty() ? "unreadable" : digest; }

// The entry of path as the host has it now; false when there is none.
bool Describe(const std::string& path, bool withContent, Entry* e) {
  if (!DescribeUnhashed(path, withContent, e)) return false;
  std::string digest;
  if (e->type == 'f') e->sha = DigestOrUnreadable(Sha256File(path.c_str(), &digest) ? digest : "");
  return true;
}

std::string FormatEntry(const Entry& e) {
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", e.mode);
  std::string line = std::string(1, e.type) + " " + mode + " " + Escape(e.owner) + " " + Escape(e.group) + " " +
                     e.size + " " + e.sha + " " + Escape(e.path);
  if (e.type == 'l') line += " " + Escape(e.target);
  return line + "\n";
}

// Every path below the folder dir. The kind of an entry comes from readdir
// where the file system tells it, so a tree of files costs no lstat a
// file; files (everything but folders) also go to `files` when given.
void WalkFolder(const std::string& dir, std::set<std::string>* paths, std::set<std::string>* files) {
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) return;
  std::vector<std::pair<std::string, bool>> entries;  // name, is a folder
  while (const dirent* entry = readdir(d)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    bool folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN) {
      struct stat st;
      folder = fstatat(dirfd(d), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    entries.emplace_back(entry->d_name, folder);
  }
  closedir(d);
  for (const auto& [name, folder] : entries) {
    const std::string path = dir + "/" + name;
    paths->insert(path);
    if (folder)
      WalkFolder(path, paths, files);
    else if (files != nullptr)
      files->insert(path);
  }
}

// Every path of the tree at dir, dir included, links not followed.
void Walk(const std::string& dir, std::set<std::string>* paths, std::set<std::string>* files = nullptr) {
  paths->insert(dir);
  struct stat st;
  if (lstat(dir.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode))
    WalkFolder(dir, paths, files);
  else if (files != nullptr)
    files->insert(dir);
}

std::string ManifestPath(const char* appDir) { return std::string(appDir) + "/" + kManifestName; }

// Reads a manifest; false when it cannot be opened. A line that is not of
// the documented form is reported and ends the program with status 2.
bool ReadManifest(const std::string& path, std::vector<Entry>* entries) {
  FilePtr f(std::fopen(path.c_str(), "r"));
  if (!f) return false;
  char buf[3 * PATH_MAX + 256];
  int lineNo = 0;
  while (std::fgets(buf, sizeof buf, f.get()) != nullptr) {
    ++lineNo;
    std::string line = buf;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    Entry e;
    std::string type, mode, owner, group, where, target;
    words >> type >> mode >> owner >> group >> e.size >> e.sha >> where;
    if (type.size() == 1 && type[0] == 'l') words >> target;
    bool ok = type.size() == 1 && std::strchr("dfnlo", type[0]) != nullptr && !where.empty() && mode.size() == 4 &&
              Unescape(owner, &e.owner) && Unescape(group, &e.group) && Unescape(where, &e.path) &&
              Unescape(target, &e.target) && e.path[0] == '/';
    if (ok) {
      e.type = type[0];
      e.mode = static_cast<unsigned>(std::strtoul(mode.c_str(), nullptr, 8));
      ok = e.type != 'f' || e.sha.size() == 64;
    }
    if (!ok) {
      std::fflush(stdout);
      std::fprintf(stderr, "ERROR: the manifest %s is damaged, line %d\n", path.c_str(), lineNo);
      ExitProgram(2);
    }
    entries->push_back(std::move(e));
  }
  return true;
}

}  // namespace

void ManifestBegin() {
  madePaths.clear();
  contentPaths.clear();
}

void ManifestNoteMade(const char* path) {
  if (path == nullptr || path[0] != '/') return;
  for (std::string p = path; p != "/" && !Exists(p); p = Parent(p)) madePaths.insert(p);
}

void ManifestNoteOwn(const char* path) {
  if (path != nullptr && path[0] == '/') madePaths.insert(path);
}

std::vector<std::string> ManifestNoteCopy(const char* source, const char* dest) {
  if (source == nullptr || dest == nullptr || dest[0] != '/') return {};
  contentPaths.insert(dest);
  std::set<std::string> sources, files;
  Walk(source, &sources, &files);
  const std::string from = source;
  // Files are the copy's own whatever was there (it overwrites them);
  // folders only when the copy makes them.
  std::vector<std::string> placed;
  for (const std::string& s : sources) {
    const std::string to = std::string(dest) + s.substr(from.size());
    const bool file = files.count(s) != 0;
    if (file) placed.push_back(to);
    if (file || !Exists(to)) madePaths.insert(to);
  }
  ManifestNoteMade(Parent(dest).c_str());
  return placed;
}

void ManifestNoteContent(const char* path) {
  if (path != nullptr && path[0] == '/') contentPaths.insert(path);
}

void ManifestNoteRename(const char* from, const char* to) {
  if (contentPaths.erase(from) > 0) contentPaths.insert(to);
}

bool ManifestWouldExist(const char* path) { return path != nullptr && madePaths.count(path) > 0; }

namespace {

// The text of the manifest of appDir: every path below it, the paths made
// outside it and those an earlier installation made outside it, each as
// the host has it now. It reads the file system and nothing of the
// program's state, so that it can run beside the installer's last commands.
std::string ManifestText(const std::string& appDir, const std::set<std::string>& made,
                         const std::set<std::string>& content, const std::vector<std::string>& earlierOutside) {
  std::set<std::string> paths;
  Walk(appDir, &paths);
  for (const std::string& p : made) Walk(p, &paths);
  for (const std::string& p : earlierOutside)
    if (Exists(p)) paths.insert(p);
  paths.erase(ManifestPath(appDir.c_str()));

  // Described one by one, the files' contents then hashed together.
  std::vector<Entry> entries;
  std::vector<std::string> files;
  std::vector<size_t> fileEntries;
  for (const std::string& p : paths) {
    Entry e;
    if (!DescribeUnhashed(p, HasContent(content, p), &e)) continue;
    if (e.type == 'f') {
      files.push_back(p);
      fileEntries.push_back(entries.size());
    }
    entries.push_back(std::move(e));
  }
  const std::vector<std::string> digests = Sha256Files(files);
  for (size_t i = 0; i < files.size(); ++i) entries[fileEntries[i]].sha = DigestOrUnreadable(digests[i]);
  std::string text = std::string(kManifestHeader) + kManifestFields;
  for (const Entry& e : entries) text += FormatEntry(e);
  return text;
}

// The manifest begun and not yet written: its path and its text to come.
struct PendingManifest {
  std::string path;
  std::future<std::string> text;
};
std::optional<PendingManifest> pending;

}  // namespace

void BeginManifest() {
  const std::string path = ManifestPath(AppDir);
  if (flPreview) {
    PreviewNote("manifest %s", path.c_str());
    return;
  }
  // The earlier manifest is read here: a damaged one ends the run, which
  // only this thread may do.
  std::vector<Entry> earlier;
  std::vector<std::string> earlierOutside;
  if (ReadManifest(path, &earlier))
    for (const Entry& e : earlier)
      if (!IsWithinPath(e.path, AppDir)) earlierOutside.push_back(e.path);
  auto build = [appDir = std::string(AppDir), made = madePaths, content = contentPaths, earlierOutside] {
    return ManifestText(appDir, made, content, earlierOutside);
  };
  try {
    pending = PendingManifest{path, std::async(std::launch::async, build)};
  } catch (const std::system_error&) {
    pending = PendingManifest{path, std::async(std::launch::deferred, build)};  // no thread to be had
  }
}

bool ManifestPending() { return pending.has_value(); }

bool WriteManifest() {
  if (!pending) BeginManifest();
  if (!pending) return true;  // a preview
  PendingManifest manifest = std::move(*pending);
  pending.reset();
  char* list = SaveText(manifest.text.get().c_str());
  const bool written = CreateTextFile(manifest.path.c_str(), "w", 0644, "%s", list);
  PutMem(list);
  if (!written) NoteFailedStep("the manifest %s was not written", manifest.path.c_str());
  return written;
}

namespace {

// The differences of one entry from the host, one line each.
std::vector<std::string> Differences(const Entry& want) {
  std::vector<std::string> out;
  const std::string p = Escape(want.path);
  Entry have;
  if (!Describe(want.path, want.type == 'f', &have)) return {"missing " + p};
  if (have.type != want.type && !(want.type == 'n' && have.type == 'f') && !(want.type == 'f' && have.type == 'n'))
    return {"type " + p + ": " + std::string(1, want.type) + " is " + std::string(1, have.type)};
  char modes[32];
  std::snprintf(modes, sizeof modes, "%04o is %04o", want.mode, have.mode);
  if (want.type != 'l' && have.mode != want.mode) out.push_back("mode " + p + ": " + modes);
  if (have.owner != want.owner) out.push_back("owner " + p + ": " + want.owner + " is " + have.owner);
  if (have.group != want.group) out.push_back("group " + p + ": " + want.group + " is " + have.group);
  if (want.type == 'f') {
    if (have.sha == "unreadable") {
      out.push_back("unreadable " + p);
    } else if (have.size != want.size) {
      out.push_back("size " + p + ": " + want.size + " is " + have.size);
    } else if (have.sha != want.sha) {
      out.push_back("content " + p);
    }
  }
  if (want.type == 'l' && have.target != want.target)
    out.push_back("link " + p + ": " + Escape(want.target) + " is " + Escape(have.target));
  return out;
}

// How a file or link compares with what the installation left: only its
// kind, content and link target count for taking it off, not its mode.
enum Match { kSame, kChanged, kReplaced };

Match Compare(const Entry& want, std::string* why) {
  Entry have;
  if (!Describe(want.path, want.type == 'f', &have)) return kSame;
  if (have.type != want.type && !(want.type == 'n' && have.type == 'f')) {
    *why = "it is no longer what the installation made";
    return kReplaced;
  }
  if (want.type == 'l' && have.target != want.target) {
    *why = "the link now points to " + have.target;
    return kReplaced;
  }
  if (want.type == 'f' && (have.size != want.size || have.sha != want.sha)) {
    *why = "it was changed since the installation";
    return kChanged;
  }
  return kSame;
}

// Asks whether to remove a changed file anyway; only y or yes do.
bool ConfirmRemoval(const std::string& path, const std::string& why) {
  std::printf("%s: %s. Remove it anyway? [y/N] ", path.c_str(), why.c_str());
  std::fflush(stdout);
  char answer[kMaxFileLine + 2];
  if (Gets(answer, sizeof answer) == nullptr) {
    std::printf("\n");
    return false;
  }
  return FindToken(GetToken(answer, " \t\r\n"), ",y,yes,") != 0;
}

}  // namespace

namespace {

// The manifest of appDir for verify or remove; false (and said) when there
// is none.
bool LoadManifest(const std::string& path, const char* nothing, std::vector<Entry>* entries) {
  if (ReadManifest(path, entries)) return true;
  std::fflush(stdout);
  std::fprintf(stderr, "%s: no manifest %s: %s\n", my_name, path.c_str(), nothing);
  return false;
}

}  // namespace

int VerifyInstallation(const char* appDir) {
  std::vector<Entry> entries;
  const std::string path = ManifestPath(appDir);
  if (!LoadManifest(path, "nothing to verify", &entries)) return 2;
  int differing = 0;
  for (const Entry& e : entries) {
    const std::vector<std::string> lines = Differences(e);
    for (const std::string& line : lines) std::printf("%s\n", line.c_str());
    if (!lines.empty()) ++differing;
  }
  std::printf("%zu paths checked against %s: %d differ\n", entries.size(), path.c_str(), differing);
  std::fflush(stdout);
  return differing == 0 ? 0 : 1;
}

int RemoveInstallation(const char* appDir) {
  std::vector<Entry> entries;
  const std::string path = ManifestPath(appDir);
  if (!LoadManifest(path, "nothing is removed", &entries)) return 2;
  StopDemon();
  // Deepest first: a folder is emptied before it is taken off. The
  // application directory and the folders above it wait for the manifest.
  std::multimap<size_t, const Entry*, std::greater<size_t>> byDepth;
  for (const Entry& e : entries) byDepth.emplace(std::count(e.path.begin(), e.path.end(), '/'), &e);
  std::vector<const Entry*> kept;
  std::vector<const Entry*> holders;
  for (const auto& [depth, e] : byDepth) {
    if (!Exists(e->path)) continue;
    if (e->type == 'd') {
      if (IsWithinPath(appDir, e->path)) {
        holders.push_back(e);
      } else if (rmdir(e->path.c_str()) == 0) {
        PutLogMsg("removed %s\n", e->path.c_str());
      } else {
        std::printf("kept %s: it is not empty\n", e->path.c_str());
        kept.push_back(e);
      }
      continue;
    }
    std::string why;
    Match match = Compare(*e, &why);
    if (match == kReplaced || (match == kChanged && !ConfirmRemoval(e->path, why))) {
      std::printf("kept %s: %s\n", e->path.c_str(), why.c_str());
      kept.push_back(e);
      continue;
    }
    if (unlink(e->path.c_str()) == 0) {
      PutLogMsg("removed %s\n", e->path.c_str());
    } else {
      std::printf("kept %s: %s\n", e->path.c_str(), std::strerror(errno));
      kept.push_back(e);
    }
  }
  int status = 0;
  if (kept.empty()) {
    unlink(path.c_str());
    for (const Entry* e : holders)
      if (rmdir(e->path.c_str()) == 0) PutLogMsg("removed %s\n", e->path.c_str());
    std::printf("%s is removed\n", appDir);
  } else {
    // What remains, so that a later remove can finish the work.
    status = 1;
    std::string remaining = std::string(kManifestHeader) + kManifestFields;
    for (const Entry* e : holders) remaining += FormatEntry(*e);
    for (const Entry* e : kept) remaining += FormatEntry(*e);
    FilePtr f(std::fopen(path.c_str(), "w"));
    bool written = f && std::fputs(remaining.c_str(), f.get()) >= 0 && std::fclose(f.release()) == 0;
    std::printf("%zu paths were kept; %s %s\n", kept.size(), path.c_str(),
                written ? "lists what remains" : "could not be rewritten");
  }
  std::fflush(stdout);
  return status;
}
