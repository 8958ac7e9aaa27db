// The notes of what an installation makes and owns, and the manifest
// written from them (verify, which compares the host with it, is
// record_verify.cpp; remove, which takes the installation off again,
// record_remove.cpp).
//
// The manifest is <application directory>/setup.manifest, a text file of
// one path a line, sorted, after two comment lines and, for a medium with
// a checksum file, two more that record the medium (the SHA-256 of its
// checksum file as the run found it) and its signature (the state, then
// the key id and the trusted comment when it is signed, escaped as paths
// are; manifests written before it lack this line):
//
//   # setup manifest 1
//   # type mode owner group size sha256 path [link target]
//   # medium sha256 5e8f1a...(64 digits)
//   # medium signature checked 3A5F0C1D2E4B6A78 product%20sample%20pieces%203...
//   d 0775 root root - - /opt/Vexla/vpxx
//   f 0755 root lp 252 9f86d0...(64 digits) /opt/Vexla/vpxx/vsf
//   n 0666 root lp - - /opt/Vexla/vpxx/VPrintD.log
//   l 0777 root root - - /usr/Vexla /opt/Vexla
//
// type: d directory, f file with its content recorded (the copies of the
// archive and the scripts the installer writes), n file recorded without
// content (made empty, written by the product's own tools, logs: they may
// grow), l symbolic link, o anything else. The mode is four octal digits
// with the set-id bits; owner and group are names (numbers where the host
// has no name). A path, and a link target, has every byte below 33 or
// above 126 and the % written as %XX, so that the fields split at single
// blanks. A path is absolute, without an empty, "." or ".." step; only an
// l line has a link target, and it is not empty. A line that starts with
// # is a comment; any other line is damage.
//
// It lists every path under the application directory and, outside it,
// only the paths the installation made where nothing was before: the
// folders above the application directory and the spool folders it
// created, the wrappers, the links (in a folder that was there, the link
// made inside it), and what a dirto line copied where nothing was (not a
// file it overwrote). A folder outside is listed alone, never with what
// lies below it. A re-installation keeps the outside paths of the earlier
// manifest that are still there (its d, l and f lines), when that manifest
// is trusted; so it does with those of setup.made, the notes of a run that
// was stopped.
//
// verify and remove trust a manifest only when root alone could have
// written it: a regular file, owned by root, writable by nobody else, with
// one link. The manifest lists paths for root to delete.
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "ReplacingFile.h"
#include "Sha256.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_extensions.h"
#include "setup_hold.h"
#include "record.h"
#include "record_format.h"
#include "utils.h"

namespace {

// What this installation noted: paths it made (outside the application
// directory the manifest lists these alone), and the paths whose files'
// content counts (a folder counts for everything below it).
std::set<std::string> madePaths;
std::set<std::string> contentPaths;

using Entry = ManifestEntry;

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool HasContent(const std::set<std::string>& content, const std::string& path) {
  for (const std::string& c : content)
    if (PathTextWithin(path, c)) return true;
  return false;
}

// Every path below the folder dir. The kind of an entry comes from readdir
// where the file system tells it, so a tree of files costs no lstat a
// file; files (everything but folders) also go to `files` when given.
void ListFolder(const std::string& dir, std::set<std::string>* paths, std::set<std::string>* files) {
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
      ListFolder(path, paths, files);
    else if (files != nullptr)
      files->insert(path);
  }
}

// Every path of the tree at dir, dir included, links not followed.
void ListTree(const std::string& dir, std::set<std::string>* paths, std::set<std::string>* files = nullptr) {
  paths->insert(dir);
  struct stat st;
  if (lstat(dir.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode))
    ListFolder(dir, paths, files);
  else if (files != nullptr)
    files->insert(dir);
}

constexpr const char* kMadeNotesHeader = "# setup made 1\n";

// Notes that are not used, named once a run however often they are read.
void SayNotesNotUsed(const std::string& path, const std::string& why) {
  static std::set<std::string> named;
  if (!named.insert(path).second) return;
  SayNamed(stderr, 282, ShownWithoutControls(path).c_str(), why.c_str());
}

}  // namespace

bool HasMadeNotes(const char* appDir) {
  const std::string path = MadeNotesPath(appDir);
  std::string why;
  if (OpenTrustedFile(path, &why)) return true;
  if (errno != ENOENT) SayNotesNotUsed(path, why);
  return false;
}

std::set<std::string> ReadMadeNotes(const char* appDir) {
  const std::string path = MadeNotesPath(appDir);
  std::string why;
  std::set<std::string> paths;
  FilePtr f = OpenTrustedFile(path, &why);
  if (!f && errno == ENOENT) return paths;
  char buf[3 * PATH_MAX + 8];
  for (int lineNo = 1; f && std::fgets(buf, sizeof buf, f.get()) != nullptr; ++lineNo) {
    std::string line = buf, p;
    if (!line.empty() && line.back() == '\n') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (!UnescapeManifestText(line, &p) || !IsCleanManifestPath(p)) {
      why = SetupText(283, lineNo);
      f.reset();
      paths.clear();
    } else if (!PathTextWithin(p, appDir)) {
      paths.insert(p);
    }
  }
  if (!f) SayNotesNotUsed(path, why);
  return paths;
}

namespace {

// path as the manifest lists it: repeated and trailing slashes dropped.
// Empty (nothing is noted) for a relative path, for /, and for one with a
// "." or ".." step, which the manifest does not allow.
std::string NotedPath(const char* path) {
  if (path == nullptr || path[0] != '/') return "";
  std::string out;
  for (const char* c = path; *c != '\0'; ++c)
    if (*c != '/' || out.empty() || out.back() != '/') out += *c;
  if (out.size() > 1 && out.back() == '/') out.pop_back();
  return IsCleanManifestPath(out) ? out : "";
}

// What this installation noted: the paths it made outside the application
// directory (with those of the notes of a stopped earlier run) go into the
// notes beside the manifest whenever they grow, so that a run stopped at
// any point leaves them claimed for the next.
std::string notedAppDir;            // the application directory the notes are of
std::set<std::string> earlierMade;  // from the notes of an earlier run
std::set<std::string> notedOutside;  // as the notes on the disk list them

void KeepMadeNotes() {
  struct stat st;
  if (flPreview || AppDir[0] != '/' || lstat(AppDir, &st) != 0 || !S_ISDIR(st.st_mode)) return;
  if (notedAppDir != AppDir) {
    notedAppDir = AppDir;
    earlierMade = ReadMadeNotes(AppDir);
    notedOutside.clear();
  }
  std::set<std::string> outside = earlierMade;
  for (const std::string& p : madePaths)
    if (!PathTextWithin(p, AppDir)) outside.insert(p);
  if (outside == notedOutside) return;
  std::string text = kMadeNotesHeader;
  for (const std::string& p : outside) text += EscapeManifestText(p) + "\n";
  const std::string path = MadeNotesPath(AppDir);
  if (!ReplaceFileText(path.c_str(), 0644, text)) {
    NoteFailedStep(NlsSetupStrCvt(284), path.c_str(), std::strerror(errno));
    return;
  }
  notedOutside = std::move(outside);
}

}  // namespace

void ManifestBegin() {
  madePaths.clear();
  contentPaths.clear();
  notedAppDir.clear();
  earlierMade.clear();
  notedOutside.clear();
}

void ManifestNoteMade(const char* path) {
  const std::string noted = NotedPath(path);
  if (noted.empty()) return;
  for (std::string p = noted; p != "/" && !Exists(p); p = DirectoryOf(p)) madePaths.insert(p);
  KeepMadeNotes();
}

void ManifestNoteOwn(const char* path) {
  const std::string noted = NotedPath(path);
  if (noted.empty()) return;
  madePaths.insert(noted);
  KeepMadeNotes();
}

void ManifestKeepNotes() { KeepMadeNotes(); }

std::vector<std::string> ManifestNoteCopy(const char* source, const char* destination) {
  const std::string dest = NotedPath(destination);
  if (source == nullptr || dest.empty()) return {};
  contentPaths.insert(dest);
  std::set<std::string> sources, files;
  ListTree(source, &sources, &files);
  const std::string from = source;
  // Only what the copy makes is its own: a file it overwrites, or a folder
  // it copies into, was there before.
  std::vector<std::string> placed;
  for (const std::string& s : sources) {
    const std::string to = dest + s.substr(from.size());
    if (files.count(s) != 0) placed.push_back(to);
    if (!Exists(to)) madePaths.insert(to);
  }
  ManifestNoteMade(DirectoryOf(dest).c_str());
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
// outside it (each alone: a folder there may come to hold what is not the
// installation's) and those an earlier installation made outside it, each
// as the host has it now. It reads the file system and nothing of the
// program's state, so that it can run beside the installer's last commands.
std::string ManifestText(const std::string& appDir, const std::set<std::string>& made,
                         const std::set<std::string>& content, const std::set<std::string>& earlierOutside,
                         const std::string& mediumRecord) {
  std::set<std::string> paths;
  ListTree(appDir, &paths);
  for (const std::set<std::string>* outside : {&made, &earlierOutside})
    for (const std::string& p : *outside)
      if (!PathTextWithin(p, appDir)) paths.insert(p);
  paths.erase(ManifestPath(appDir.c_str()));
  paths.erase(MadeNotesPath(appDir.c_str()));

  // Described one by one, the files' contents then hashed together.
  std::vector<Entry> entries;
  std::vector<std::string> files;
  std::vector<size_t> fileEntries;
  for (const std::string& p : paths) {
    Entry e;
    if (!DescribeEntryUnhashed(p, HasContent(content, p), &e)) continue;
    if (e.type == 'f') {
      files.push_back(p);
      fileEntries.push_back(entries.size());
    }
    entries.push_back(std::move(e));
  }
  const std::vector<std::string> digests = Sha256Files(files);
  for (size_t i = 0; i < files.size(); ++i) entries[fileEntries[i]].sha = DigestOrUnreadable(digests[i]);
  std::string text = ManifestHeading() + mediumRecord;
  for (const Entry& e : entries) text += FormatManifestEntry(e);
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
    PreviewNote(NlsSetupStrCvt(285), path.c_str());
    return;
  }
  // The earlier manifest and notes are read here, on the run's own thread.
  // One that cannot be trusted or read claims nothing: the new manifest
  // replaces it.
  std::vector<Entry> earlier;
  std::string why;
  int badLine = 0;
  const ManifestRead result = ReadTrustedManifest(path, &earlier, &why, &badLine);
  if (result == kManifestUntrusted || result == kManifestDamaged) {
    SayNamed(stderr, 286, path.c_str(), why.c_str());
    earlier.clear();
  }
  KeepMadeNotes();
  // Outside the application directory an installation makes folders,
  // links and files whose content it records, nothing else: an earlier
  // manifest's file without content there is one that a walk of a folder
  // took in (as manifests of earlier versions did), not the installation's.
  std::set<std::string> earlierOutside = earlierMade;
  for (const Entry& e : earlier)
    if (!PathTextWithin(e.path, AppDir) && std::strchr("dlf", e.type) != nullptr) earlierOutside.insert(e.path);
  auto build = [appDir = std::string(AppDir), made = madePaths, content = contentPaths, earlierOutside,
                medium = ManifestMediumRecord(Guards().MediumDigest(), Guards().LastMediumSigner())] {
    return ManifestText(appDir, made, content, earlierOutside, medium);
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
  if (!written) {
    NoteFailedStep(NlsSetupStrCvt(287), manifest.path.c_str());
    return false;
  }
  // The manifest now claims what the notes did.
  const std::string notes = MadeNotesPath(DirectoryOf(manifest.path).c_str());
  if (unlink(notes.c_str()) != 0 && errno != ENOENT) NoteFailedStep(NlsSetupStrCvt(288), notes.c_str());
  return true;
}
