// The earlier installation kept through an upgrade, and rollback, which
// puts it back. Before an upgrade changes the application directory, the
// installation whose manifest root trusts is copied whole through the
// command table into a folder of root's alone beside it:
//
//   DIR/Vexla/.vpxx.previous/vpxx       the application directory (cp -pr)
//   DIR/Vexla/.vpxx.previous/outside/P  each file and link P outside it
//                                       that its manifest lists
//   DIR/Vexla/.vpxx.previous/complete   written last: the copy is whole
//
// The manifest walk lists only what lies below the application directory,
// and DIR/Vexla alone, so the saved folder is never the installation's:
// remove leaves it (and says so). While a rollback runs, the tree it
// replaces lies aside in DIR/Vexla/.vpxx.replaced (root's, mode 700), and
// the marker "restored" in the saved folder says that the earlier tree is
// back. A rollback that leaves a path of either installation as it is
// keeps both folders: the new manifest aside still claims the new
// installation's outside paths when it is made again.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "ReplacingFile.h"
#include "ShellWord.h"
#include "SysCmd.h"
#include "TerminalCharset.h"
#include "installer.h"
#include "setup_hold.h"
#include "record.h"
#include "record_history.h"
#include "record_format.h"
#include "utils.h"

namespace {

constexpr const char* kCompleteMarker = "complete";
constexpr const char* kRestoredMarker = "restored";

// Set once a saved copy stands for this run's upgrade: an end that is not
// a complete upgrade then says how to go back.
std::string armedSaved;
bool noRoom = false;

bool Lstat(const std::string& path, struct stat* st) { return lstat(path.c_str(), st) == 0; }
bool Exists(const std::string& path) {
  struct stat st;
  return Lstat(path, &st);
}

// A folder of root's that nobody else may enter, reached as it stands (not
// a link).
bool IsRootsOwnFolder(const std::string& path) {
  struct stat st;
  return Lstat(path, &st) && S_ISDIR(st.st_mode) && st.st_uid == 0 && (st.st_mode & 077) == 0;
}

// A marker of the saved folder that root alone could have written.
bool HasMarker(const std::string& saved, const char* marker) {
  std::string why;
  return IsRootsOwnFolder(saved) && OpenTrustedFile(saved + "/" + marker, &why) != nullptr;
}

bool WriteSavedMarker(const std::string& saved, const char* marker, const std::string& text) {
  const std::string path = saved + "/" + marker;
  if (ReplaceFileText(path.c_str(), 0600, text)) {
    PutLogMsg("wrote %s\n", path.c_str());
    return true;
  }
  NoteFailedStep(NlsSetupStrCvt(284), path.c_str(), std::strerror(errno));
  return false;
}

// The paths go into shell lines: only those the installer itself would
// write there (plain words) are saved or restored.
bool IsPlainPath(const std::string& path) { return JudgeShellWord(path.c_str()) == kShellPlain; }

// Whether the earlier installation of appDir may be saved: there, with a
// manifest root trusts and no notes of a run over it that was stopped (its
// tree would be half of one and half of another; notes root alone could
// not have written are named and record nothing). *entries is the
// manifest; *why says why not (empty where no installation is there).
bool IsSaveable(const std::string& appDir, std::vector<ManifestEntry>* entries, std::string* why) {
  struct stat st;
  if (!Lstat(appDir, &st) || !S_ISDIR(st.st_mode)) return false;
  int badLine = 0;
  switch (ReadTrustedManifest(ManifestPath(appDir.c_str()), entries, why, &badLine)) {
    case kManifestRead:
      break;
    case kManifestMissing:
      *why = NlsSetupStrCvt(317);
      return false;
    default:
      *why = SetupText(318, why->c_str());
      return false;
  }
  if (HasMadeNotes(appDir.c_str())) {
    *why = SetupText(319, MadeNotesPath(appDir.c_str()).c_str());
    return false;
  }
  return true;
}

// The entries of a manifest as one text, for comparing two of them.
std::string EntriesText(const std::vector<ManifestEntry>& entries) {
  std::string text;
  for (const ManifestEntry& e : entries) text += FormatManifestEntry(e);
  return text;
}

// Whether the complete saved copy stands for the earlier installation of
// this upgrade: the tree beside it is none that could be saved, or still
// has the saved one's manifest (the same installation, or one half done
// over it). A newer complete installation (an upgrade kept before) is
// saved in its place. Both manifests are read as trusted files, never
// through a link put in their place.
bool SavedCopyStands(const std::string& appDir, const std::string& saved) {
  if (!HasMarker(saved, kCompleteMarker)) return false;
  std::vector<ManifestEntry> entries, savedEntries;
  std::string why;
  if (!IsSaveable(appDir, &entries, &why)) return true;
  int badLine = 0;
  if (ReadTrustedManifest(saved + "/vpxx/" + kManifestName, &savedEntries, &why, &badLine) != kManifestRead)
    return false;
  return EntriesText(entries) == EntriesText(savedEntries);
}

// keep asked for a copy that cannot be made: the run ends before it has
// changed anything.
[[noreturn]] void RefuseKeep(const std::string& appDir, const std::string& why) {
  if (why.empty())
    SayNamed(stderr, 320, ShownWithoutControls(appDir).c_str());
  else
    SayNamed(stderr, 321, ShownWithoutControls(appDir).c_str(), why.c_str());
  ExitProgram(1);
}

void SayHowToGoBack() {
  if (armedSaved.empty()) return;
  const std::string saved = armedSaved;
  armedSaved.clear();
  const std::string d = DirectoryOf(DirectoryOf(saved));
  SayNamed(stderr, 322, saved.c_str());
  SayNamed(stderr, 323, d.c_str());
  PutLogMsg("the upgrade is not complete; to go back to the earlier installation: setup rollback install %s\n",
            d.c_str());
}

// Copies the earlier installation into saved, made fresh; false when a
// step failed (the rest is then not tried).
bool CopyEarlier(const std::string& saved, const std::vector<ManifestEntry>& entries) {
  if (Exists(saved) && SysCmd(kCmdRmR, kSevWarning, "%s", saved.c_str()) != 0) return false;
  if (Exists(saved) || !MayChangeInPlace(saved.c_str())) return false;
  if (SysCmd(kCmdMkdir, kSevWarning, "-m 700 %s", saved.c_str()) != 0 || !IsRootsOwnFolder(saved)) return false;
  if (SysCmd(kCmdCpR, kSevWarning, "%s %s/vpxx", AppDir, saved.c_str()) != 0) return false;
  GiveCopyHeldModes(AppDir, saved + "/vpxx");  // the tree is held while it is copied
  for (const ManifestEntry* e : OutsideFiles(entries, AppDir)) {
    if (!Exists(e->path)) continue;
    const std::string copy = saved + "/outside" + e->path;
    if (SysCmd(kCmdMkdir, kSevWarning, "%s", DirectoryOf(copy).c_str()) != 0 ||
        SysCmd(kCmdCpR, kSevWarning, "%s %s", e->path.c_str(), copy.c_str()) != 0)
      return false;
  }
  return WriteSavedMarker(saved, kCompleteMarker, std::string(AppDir) + "\n");
}

}  // namespace

std::vector<const ManifestEntry*> OutsideFiles(const std::vector<ManifestEntry>& entries, const std::string& appDir) {
  std::vector<const ManifestEntry*> out;
  for (const ManifestEntry& e : entries)
    if (!PathTextWithin(e.path, appDir) && e.type != 'd' && e.type != 'o' && IsPlainPath(e.path)) out.push_back(&e);
  return out;
}

std::vector<ManifestEntry> NewOutsideEntries(const std::vector<ManifestEntry>& now,
                                             const std::vector<ManifestEntry>& earlier, const std::string& appDir) {
  std::set<std::string> before, listed;
  for (const ManifestEntry& e : earlier) before.insert(e.path);
  std::vector<ManifestEntry> out;
  for (const ManifestEntry& e : now)
    if (!PathTextWithin(e.path, appDir) && before.count(e.path) == 0 && listed.insert(e.path).second) out.push_back(e);
  return out;
}

std::string SavedInstallationDir(const char* appDir) { return DirectoryOf(appDir) + "/.vpxx.previous"; }

double SavedCopyNeed(const char* installDir) {
  if (installDir == nullptr) return 0;
  const std::string appDir = std::string(installDir) + "/Vexla/vpxx";
  std::vector<ManifestEntry> entries;
  std::string why;
  if (SavedCopyStands(appDir, SavedInstallationDir(appDir.c_str())) || !IsSaveable(appDir, &entries, &why)) return 0;
  double need = DUPath(appDir.c_str());
  for (const ManifestEntry* e : OutsideFiles(entries, appDir)) {
    struct stat st;
    if (Lstat(e->path, &st)) need += static_cast<double>(st.st_size + 1023) / 1024;
  }
  return need;
}

void RefuseKeepWithoutCopy(const char* installDir) {
  if (!flKeepEarlier || installDir == nullptr) return;
  const std::string appDir = std::string(installDir) + "/Vexla/vpxx";
  std::vector<ManifestEntry> entries;
  std::string why;
  if (!SavedCopyStands(appDir, SavedInstallationDir(appDir.c_str())) && !IsSaveable(appDir, &entries, &why))
    RefuseKeep(appDir, why);
}

void NoRoomToSaveEarlier() {
  if (flKeepEarlier) {
    SayNamed(stderr, 324);
    ExitProgram(1);
  }
  SayWarning(325);
  noRoom = true;
}

void SaveEarlierInstallation() {
  const std::string saved = SavedInstallationDir(AppDir);
  if (flPreview) {
    std::vector<ManifestEntry> entries;
    std::string why;
    if (IsSaveable(AppDir, &entries, &why)) PreviewNote(NlsSetupStrCvt(326), saved.c_str());
    return;
  }
  if (SavedCopyStands(AppDir, saved)) {
    SayNamed(stdout, 327, saved.c_str());
    std::fflush(stdout);
    armedSaved = saved;
    return;
  }
  std::vector<ManifestEntry> entries;
  std::string why;
  if (!IsSaveable(AppDir, &entries, &why)) {
    if (flKeepEarlier) RefuseKeep(AppDir, why);
    if (!why.empty()) {
      SayWarning(328, AppDir, why.c_str());
    }
    return;
  }
  if (noRoom) return;
  const bool older = HasMarker(saved, kCompleteMarker);
  const auto start = std::chrono::steady_clock::now();
  if (!CopyEarlier(saved, entries)) {
    if (Exists(saved) && MayChangeInPlace(saved.c_str())) SysCmd(kCmdRmR, kSevWarning, "%s", saved.c_str());
    SayNamed(stderr, 329, saved.c_str(), pLogPath, my_name);
    if (flKeepEarlier) {
      SayNamed(stderr, 330);
      ExitProgram(1);
    }
    return;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  PutLogMsg("saved the earlier installation %s in %s (%.3f s)\n", AppDir, saved.c_str(), took.count());
  SayNamed(stdout, older ? 332 : 331, saved.c_str());
  std::fflush(stdout);
  armedSaved = saved;
  static bool registered = false;
  if (!registered) registered = std::atexit(SayHowToGoBack) == 0;
}

void EndSavedInstallation(bool complete) {
  if (armedSaved.empty()) return;
  if (!complete) {
    SayHowToGoBack();
    return;
  }
  const std::string saved = armedSaved;
  armedSaved.clear();
  if (flKeepEarlier) {
    SayNamed(stdout, 333, saved.c_str(), DirectoryOf(DirectoryOf(saved)).c_str());
  } else if (MayChangeInPlace(saved.c_str())) {
    SysCmd(kCmdRmR, kSevWarning, "%s", saved.c_str());
  }
  std::fflush(stdout);
}

void SayWhenEarlierIsSaved(const char* appDir) {
  const std::string saved = SavedInstallationDir(appDir);
  if (HasMarker(saved, kCompleteMarker))
    SayText(stdout, 334, saved.c_str());
}

namespace {

std::string ReplacedTreeDir(const std::string& appDir) { return DirectoryOf(appDir) + "/.vpxx.replaced"; }

// Takes off the new installation's own outside paths (its manifest's, and
// the notes of a run that was stopped) that the earlier manifest does not
// list, as remove does; returns how many were kept, each named. Once the
// new tree lies aside, its manifest and notes are read there.
int TakeOffNewOutside(const std::string& appDir, const std::vector<ManifestEntry>& earlier, int* takenOff) {
  std::set<std::string> before;
  for (const ManifestEntry& e : earlier) before.insert(e.path);
  const std::string aside = ReplacedTreeDir(appDir);
  const std::string newTree = Exists(aside) ? aside : appDir;
  std::vector<ManifestEntry> now;
  std::string why;
  int badLine = 0;
  // (A manifest that is not trusted, or damaged, claims nothing.)
  if (ReadTrustedManifest(ManifestPath(newTree.c_str()), &now, &why, &badLine) != kManifestRead) now.clear();
  std::vector<ManifestEntry> extra = NewOutsideEntries(now, earlier, appDir);
  std::set<std::string> listed;
  for (const ManifestEntry& e : extra) listed.insert(e.path);
  // Made by a run that was stopped: taken as they stand now.
  for (const std::string& p : ReadMadeNotes(newTree.c_str())) {
    struct stat st;
    if (PathTextWithin(p, appDir) || before.count(p) != 0 || !listed.insert(p).second || !Lstat(p, &st)) continue;
    ManifestEntry e;
    e.path = p;
    e.type = S_ISDIR(st.st_mode) ? 'd' : S_ISLNK(st.st_mode) ? 'l' : S_ISREG(st.st_mode) ? 'n' : 'o';
    char target[4096];
    const ssize_t n = readlink(p.c_str(), target, sizeof target);
    if (n > 0) e.target.assign(target, static_cast<size_t>(n));
    extra.push_back(std::move(e));
  }
  int kept = 0;
  for (const ManifestEntry* e : DeepestFirst(extra)) {
    if (!Exists(e->path)) continue;
    if (TakeOffListed(*e, &why)) {
      SayLine(stdout, 335, ShownWithoutControls(e->path).c_str());
      ++*takenOff;
      continue;
    }
    SayKept(e->path, why);
    ++kept;
  }
  return kept;
}

// The earlier tree back in place of the present one, which is moved aside
// first (and closed to others: its set-user-ID programs may stay there
// until the rollback is complete); a copy cut short is made again.
void RestoreTree(const std::string& appDir, const std::string& saved) {
  if (HasMarker(saved, kRestoredMarker)) return;
  const std::string aside = ReplacedTreeDir(appDir);
  if (!MayChangeInPlace(appDir.c_str()) || !MayChangeInPlace(aside.c_str())) ExitProgram(1);
  if (!Exists(aside)) {
    if (Exists(appDir)) {
      SysCmd(kCmdMv, kSevFatal, "%s %s", appDir.c_str(), aside.c_str());
      SysCmd(kCmdChmod, kSevFatal, "0700 %s", aside.c_str());
    }
  } else if (Exists(appDir)) {
    SysCmd(kCmdRmR, kSevFatal, "%s", appDir.c_str());
  }
  SysCmd(kCmdCpR, kSevFatal, "%s/vpxx %s", saved.c_str(), appDir.c_str());
  HoldAfterCommand(appDir, true);  // with the modes it had, held to the end of the run
  if (!WriteSavedMarker(saved, kRestoredMarker, appDir + "\n")) ExitProgram(1);
}

// A folder of the earlier manifest outside: made again by its path where
// it is missing, its mode and owners as listed. False when something else
// stands there.
bool RestoreFolder(const ManifestEntry& e) {
  struct stat st;
  if (!Lstat(e.path, &st)) SysCmd(kCmdMkdir, kSevFatal, "%s", e.path.c_str());
  if (!Lstat(e.path, &st) || !S_ISDIR(st.st_mode)) return false;
  if ((st.st_mode & 07777) != e.mode) SysCmd(kCmdChmod, kSevFatal, "%04o %s", e.mode, e.path.c_str());
  HoldAfterCommand(e.path, false);
  if (IsPlainPath(e.owner + e.group)) SysCmd(kCmdChown, kSevFatal, "%s:%s %s", e.owner.c_str(), e.group.c_str(), e.path.c_str());
  return true;
}

void SayNotRestored(const std::string& path, const std::string& why) {
  std::printf("%s\n", ShownWithoutControls(SetupText(336, path.c_str(), why.c_str())).c_str());
  PutLogMsg("not restored %s: %s\n", path.c_str(), why.c_str());
}

// The earlier outside folders, files and links restored from the saved
// copy, shallowest first (*restored counts them); returns how many could
// not be put back, each named.
int RestoreOutside(const std::vector<ManifestEntry>& earlier, const std::string& appDir, const std::string& saved,
                   int* restored) {
  int left = 0;
  for (const ManifestEntry& e : earlier) {
    if (PathTextWithin(e.path, appDir) || !IsPlainPath(e.path)) continue;
    const std::string copy = saved + "/outside" + e.path;
    // (Only the files and links the saved copy holds are put back.)
    if (e.type != 'd' && !Exists(copy)) continue;
    if (!MayChangeInPlace(e.path.c_str())) {
      SayNotRestored(e.path, NlsSetupStrCvt(337));
      ++left;
      continue;
    }
    if (e.type == 'd') {
      if (!RestoreFolder(e)) {
        SayNotRestored(e.path, NlsSetupStrCvt(338));
        ++left;
      }
      continue;
    }
    struct stat st;
    if (Lstat(e.path, &st)) {
      if (S_ISDIR(st.st_mode)) {
        SayNotRestored(e.path, NlsSetupStrCvt(339));
        ++left;
        continue;
      }
      SysCmd(kCmdRm, kSevFatal, "%s", e.path.c_str());
    }
    SysCmd(kCmdMkdir, kSevFatal, "%s", DirectoryOf(e.path).c_str());
    SysCmd(kCmdCpR, kSevFatal, "%s %s", copy.c_str(), e.path.c_str());
    ++*restored;
  }
  return left;
}

// A rollback that left paths as they are: the saved installation (and the
// new tree aside) stay, so that it can be made again once they are
// cleared.
int SayRollbackLeft(const std::string& appDir, const std::string& saved, int restored, int takenOff, int left) {
  SayLine(stdout, 340, appDir.c_str(), restored, takenOff, left);
  const std::string d = DirectoryOf(DirectoryOf(saved));
  SayNamed(stderr, 341, saved.c_str());
  SayNamed(stderr, 342, d.c_str());
  PutLogMsg("the rollback is not complete (%d paths left); setup rollback install %s can be made again\n", left,
            d.c_str());
  return 1;
}

}  // namespace

int RollbackInstallation(const char* appDirText) {
  const std::string appDir = appDirText;
  const std::string saved = SavedInstallationDir(appDirText);
  // An interrupted rollback may have taken the first marker off already.
  const bool underWay = HasMarker(saved, kRestoredMarker);
  if (!underWay && !HasMarker(saved, kCompleteMarker)) {
    SayNamed(stderr, Exists(saved) ? 343 : 344, saved.c_str());
    return 2;
  }
  // Once the tree is back, the earlier manifest is the application
  // directory's own again.
  std::vector<ManifestEntry> earlier;
  const std::string manifest = underWay ? ManifestPath(appDirText) : saved + "/vpxx/" + kManifestName;
  if (!LoadManifest(manifest, NlsSetupStrCvt(305), &earlier)) return 2;
  // From here on what rollback does is logged, its commands as an
  // installation's are (and dotted): with nothing to roll back to, the log
  // of the installation stays as it was.
  flUseLog = 1;
  flSysCmdLog = 1;
  HistoryArm(HistoryAction::kRollback, appDir, "");
  HoldTree(appDir);  // nobody else changes the tree while it is put back
  StopDemon();
  int takenOff = 0, restored = 0;
  const int kept = TakeOffNewOutside(appDir, earlier, &takenOff);
  RestoreTree(appDir, saved);
  const int notRestored = RestoreOutside(earlier, appDir, saved, &restored);
  if (kept + notRestored > 0) return SayRollbackLeft(appDir, saved, restored, takenOff, kept + notRestored);
  const std::string aside = ReplacedTreeDir(appDir);
  if (Exists(aside)) SysCmd(kCmdRmR, kSevFatal, "%s", aside.c_str());
  SysCmd(kCmdRm, kSevFatal, "%s/%s", saved.c_str(), kCompleteMarker);
  SysCmd(kCmdRmR, kSevFatal, "%s/vpxx %s/outside", saved.c_str(), saved.c_str());
  SysCmd(kCmdRmR, kSevFatal, "%s", saved.c_str());
  SayLine(stdout, 345, appDirText, restored, takenOff);
  std::fflush(stdout);
  return 0;
}
