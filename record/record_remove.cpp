// remove: the installation taken off as its manifest lists it, deepest
// first. Other users may write some of the folders on the way (the
// application directory's group, everybody in the download folder), so no
// path is used as a text: each is walked folder by folder from /, every
// folder held open, a symbolic link followed only where root owns it, and
// what stands at the end is judged and removed relative to the folder
// held.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Fd.h"
#include "PathTrust.h"
#include "ReplacingFile.h"
#include "Sha256.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_hold.h"
#include "record.h"
#include "record_history.h"
#include "record_format.h"
#include "utils.h"

namespace {

constexpr int kFileFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

enum Reach { kReached = kWayReached, kGone = kWayGone, kBlocked = kWayBlocked };
using Place = PathPlace;

// Walks to the folder that holds path by the one rule for links on the way
// (PathTrust.h); *why names what bars the way.
Reach OpenWayToEntry(const std::string& path, Place* place, std::string* why) {
  WayBlock block;
  const WayResult reached = OpenWayTo(path, WayOwners::kAny, LastLink::kKeep, place, &block);
  if (reached == kWayBlocked) *why = block.Text();
  return static_cast<Reach>(reached);
}

// How an entry compares with what the installation left: only its kind,
// content and link target count for taking it off, not its mode.
enum Match { kSame, kChanged, kReplaced };

// Judges what stands at the place (st, from fstatat) against the entry; a
// regular file is opened (into *file) to hash it and to take its set-id
// bits off.
Match Judge(const ManifestEntry& want, const Place& place, const struct stat& st, Fd* file, std::string* why) {
  const bool regular = S_ISREG(st.st_mode);
  const char have = S_ISDIR(st.st_mode) ? 'd' : S_ISLNK(st.st_mode) ? 'l' : regular ? 'f' : 'o';
  if (have != want.type && !(regular && want.type == 'n')) {
    *why = NlsSetupStrCvt(306);
    return kReplaced;
  }
  if (have == 'l') {
    char target[PATH_MAX];
    const ssize_t n = readlinkat(place.folder.get(), place.leaf.c_str(), target, sizeof target);
    const std::string now = n > 0 ? std::string(target, static_cast<size_t>(n)) : "";
    if (now == want.target) return kSame;
    *why = SetupText(307, now.c_str());
    return kReplaced;
  }
  if (!regular) return kSame;
  *file = Fd(openat(place.folder.get(), place.leaf.c_str(), kFileFlags));
  struct stat opened;
  if (file->get() < 0 || fstat(file->get(), &opened) != 0 || opened.st_ino != st.st_ino || opened.st_dev != st.st_dev) {
    *why = NlsSetupStrCvt(308);
    return kReplaced;
  }
  std::string digest;
  if (want.type == 'f' && (std::to_string(static_cast<long long>(opened.st_size)) != want.size ||
                           !Sha256OpenFile(file->get(), &digest) || digest != want.sha)) {
    *why = NlsSetupStrCvt(309);
    return kChanged;
  }
  return kSame;
}

// Asks whether to remove a changed file anyway; only y or yes do.
bool ConfirmRemoval(const std::string& path, const std::string& why) {
  SayText(stdout, 310, ShownWithoutControls(path + ": " + why).c_str());
  std::fflush(stdout);
  char answer[kMaxFileLine + 2];
  if (Gets(answer, sizeof answer) == nullptr) {
    std::printf("\n");
    return false;
  }
  return FindToken(GetToken(answer, " \t\r\n"), ",y,yes,") != 0;
}

// Takes the file, link or other entry off its folder. A set-user-ID or
// set-group-ID program first loses those bits on the open file, so that a
// hard link someone made to it elsewhere keeps no such copy of it.
bool TakeOff(const Place& place, const Fd& file, std::string* why) {
  struct stat st;
  if (file.get() >= 0 && fstat(file.get(), &st) == 0 && (st.st_mode & (S_ISUID | S_ISGID)) != 0 &&
      fchmod(file.get(), st.st_mode & 07777 & ~static_cast<mode_t>(S_ISUID | S_ISGID)) != 0) {
    *why = SetupText(311, std::strerror(errno));
    return false;
  }
  if (unlinkat(place.folder.get(), place.leaf.c_str(), 0) == 0) return true;
  *why = std::strerror(errno);
  return false;
}

// Takes the folder off when it is one and empty. True when it is gone, or
// was not there; false with *why otherwise.
bool TakeOffFolder(const std::string& path, std::string* why) {
  Place place;
  const Reach reach = OpenWayToEntry(path, &place, why);
  if (reach != kReached) return reach == kGone;
  struct stat st;
  if (fstatat(place.folder.get(), place.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
  if (!S_ISDIR(st.st_mode)) {
    *why = NlsSetupStrCvt(306);
    return false;
  }
  if (unlinkat(place.folder.get(), place.leaf.c_str(), AT_REMOVEDIR) == 0) {
    PutLogMsg("removed %s\n", path.c_str());
    return true;
  }
  *why = errno == ENOTEMPTY || errno == EEXIST ? NlsSetupStrCvt(312) : std::strerror(errno);
  return false;
}

// Takes one entry off that is not a folder: false (and *why) when it is
// kept.
bool TakeOffEntry(const ManifestEntry& e, std::string* why) {
  Place place;
  const Reach reach = OpenWayToEntry(e.path, &place, why);
  if (reach != kReached) return reach == kGone;
  struct stat st;
  if (fstatat(place.folder.get(), place.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return true;
    *why = std::strerror(errno);
    return false;
  }
  Fd file;
  const Match match = Judge(e, place, st, &file, why);
  if (match == kReplaced || (match == kChanged && !ConfirmRemoval(e.path, *why))) return false;
  if (!TakeOff(place, file, why)) return false;
  PutLogMsg("removed %s\n", e.path.c_str());
  return true;
}

// The manifest and the notes beside it, taken off the application
// directory held open.
void TakeOffManifest(const std::string& manifest) {
  Place place;
  std::string why;
  if (OpenWayToEntry(manifest, &place, &why) != kReached) return;
  unlinkat(place.folder.get(), place.leaf.c_str(), 0);
  unlinkat(place.folder.get(), kMadeNotesName, 0);
}

}  // namespace

void SayKept(const std::string& path, const std::string& why) {
  std::printf("%s\n", ShownWithoutControls(SetupText(313, path.c_str(), why.c_str())).c_str());
}

bool TakeOffListed(const ManifestEntry& e, std::string* why) {
  return e.type == 'd' ? TakeOffFolder(e.path, why) : TakeOffEntry(e, why);
}

std::vector<const ManifestEntry*> DeepestFirst(const std::vector<ManifestEntry>& entries) {
  std::multimap<size_t, const ManifestEntry*, std::greater<size_t>> byDepth;
  for (const ManifestEntry& e : entries) byDepth.emplace(std::count(e.path.begin(), e.path.end(), '/'), &e);
  std::vector<const ManifestEntry*> out;
  for (const auto& [depth, e] : byDepth) out.push_back(e);
  return out;
}

RemovalOrder OrderOfRemoval(const std::vector<ManifestEntry>& entries, const std::string& appDir) {
  RemovalOrder order;
  for (const ManifestEntry* e : DeepestFirst(entries))
    (e->type == 'd' && PathTextWithin(appDir, e->path) ? order.holders : order.first).push_back(e);
  return order;
}

int RemoveInstallation(const char* appDir) {
  std::vector<ManifestEntry> entries;
  const std::string path = ManifestPath(appDir);
  if (!LoadManifest(path, NlsSetupStrCvt(304), &entries)) return 2;
  // From here on what remove does is logged: a manifest it refuses
  // changes nothing, not even the log.
  flUseLog = 1;
  HistoryArm(HistoryAction::kRemove, appDir, "");
  HoldTree(appDir);  // nobody else changes the tree while it is taken off
  StopDemon();
  const RemovalOrder order = OrderOfRemoval(entries, appDir);
  const std::vector<const ManifestEntry*>& holders = order.holders;
  std::vector<const ManifestEntry*> kept;
  for (const ManifestEntry* e : order.first) {
    std::string why;
    if (TakeOffListed(*e, &why)) continue;
    SayKept(e->path, why);
    kept.push_back(e);
  }
  if (kept.empty()) {
    TakeOffManifest(path);
    // The application directory must go for the installation to be gone;
    // a folder above it that now holds something else stays quietly.
    bool whole = true;
    for (const ManifestEntry* e : holders) {
      std::string why;
      if (TakeOffFolder(e->path, &why)) continue;
      if (e->path == appDir) {
        SayKept(e->path, why);
        whole = false;
      }
      break;
    }
    if (whole) {
      SayLine(stdout, 314, appDir);
      SayWhenEarlierIsSaved(appDir);
      std::fflush(stdout);
      return 0;
    }
  }
  // What remains, so that a later remove can finish the work.
  std::string remaining = ManifestHeading();
  for (const ManifestEntry* e : holders) remaining += FormatManifestEntry(*e);
  for (const ManifestEntry* e : kept) remaining += FormatManifestEntry(*e);
  const bool written = ReplaceFileText(path.c_str(), 0644, remaining);
  SayLine(stdout, written ? 315 : 316, kept.empty() ? size_t{1} : kept.size(), path.c_str());
  std::fflush(stdout);
  return 1;
}
