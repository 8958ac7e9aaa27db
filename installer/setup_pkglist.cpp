// The package list: the file inside the product archive that says where
// every product file goes and with which modes, owners, links and edits.
// The whole list is read and checked first, then carried out line by line,
// so a damaged list changes nothing on the host.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "MemMgr.h"
#include "Sha256.h"
#include "ShellWord.h"
#include "SysCmd.h"
#include "installer.h"
#include "setup_extensions.h"
#include "setup_hold.h"
#include "utils.h"

namespace {

constexpr const char* kPkgKeywords = ",dir,dirto,t,c,m,#,v,s,newdir,checkps";
constexpr const char* kPkgAttributes = ",mode,bat,owner,group,link,name,sed";
constexpr const char* kPkgDelimiters = " \n\r";

enum PkgAttribute { kAttrOther = 0, kAttrMode, kAttrBat, kAttrOwner, kAttrGroup, kAttrLink, kAttrName, kAttrSed };

char* NextWord() { return GetToken(nullptr, kPkgDelimiters); }

std::string Take(const char* word) { return word != nullptr ? word : ""; }

// A word of the list goes into its command line as it stands: the shell's
// file-name patterns are meant, anything that would need quotes is not.
bool IsUsablePkgWord(const std::string& word) { return JudgeShellWord(word.c_str()) <= kShellPattern; }

// The value of a sed attribute: the rest of the line after the one blank
// that ended "sed", up to the line end. The scan continues behind it.
std::string RestOfLine() {
  if (chTokenDel != ' ' || szTokenIn == nullptr) return "";
  const char* start = szTokenIn;
  size_t len = std::strcspn(start, "\r\n");
  SetTokenBuf(const_cast<char*>(start + len));
  return std::string(start, len);
}

const char* KernelRelease() {
  static utsname host;
  static bool read = false;
  static bool ok = false;
  if (!read) {
    read = true;
    ok = uname(&host) == 0;
  }
  return ok ? host.release : nullptr;
}

}  // namespace

bool ReleaseConditionHolds(const char* op, const char* hostRelease, const char* release) {
  int order = std::strcmp(hostRelease, release);
  switch (FindToken(op, ",<,<=,=,>,>=,")) {
    case 1: return order < 0;
    case 2: return order <= 0;
    case 3: return order == 0;
    case 4: return order > 0;
    case 5: return order >= 0;
    default: return false;
  }
}

bool ParsePkgLine(const char* text, const char* release, PkgStep* step, std::string* error) {
  *step = PkgStep{};
  error->clear();
  char* word = GetToken(text, kPkgDelimiters);
  if (word == nullptr) return false;
  std::string keyword = word;
  for (;;) {
    step->keywordText = keyword;
    step->keyword = static_cast<int>(FindToken(keyword.c_str(), kPkgKeywords));
    step->name = Take(NextWord());
    if (step->keyword == kPkgComment) return false;
    if (step->keyword != kPkgCondition) break;
    // v OP RELEASE [line]: the rest of the line counts only when the host's
    // kernel release compares as asked (as texts).
    std::string op = step->name;
    if (release == nullptr) {
      SayToStderr("%s: %s\n", NlsSetupStrCvt(60), std::strerror(errno != 0 ? errno : ENOSYS));
      step->keyword = kPkgAttributesOnly;
      break;
    }
    std::string wanted = Take(NextWord());
    if (op.empty() || wanted.empty()) {
      *error = NlsSetupStrCvt(378);
      return false;
    }
    if (!ReleaseConditionHolds(op.c_str(), release, wanted.c_str())) return false;
    char* next = NextWord();
    if (next == nullptr) return false;
    keyword = next;
  }
  if (step->name.empty()) {
    *error = NlsSetupStrCvt(379);
    return false;
  }
  if (step->keyword == kPkgDirTo) {
    step->dest = Take(NextWord());
    if (step->dest.empty()) {
      *error = NlsSetupStrCvt(380);
      return false;
    }
  }
  std::string key = Take(NextWord());
  std::string value = key == "sed" ? RestOfLine() : Take(NextWord());
  while (!key.empty() && !value.empty()) {
    step->attributes.push_back({key, value});
    key = Take(NextWord());
    value = Take(NextWord());
  }
  // Every word that reaches a command line is checked before anything runs.
  for (const std::string* w : {&step->name, &step->dest}) {
    if (!w->empty() && !IsUsablePkgWord(*w)) {
      *error = SetupText(381, w->c_str());
      return false;
    }
  }
  for (const auto& [k, v] : step->attributes) {
    // The value of a pair that is passed over is never used.
    const unsigned attribute = FindToken(k.c_str(), kPkgAttributes);
    if (attribute == kAttrOther) continue;
    if (attribute == kAttrSed ? !IsSafeShellArguments(v.c_str()) : !IsUsablePkgWord(v)) {
      *error = SetupText(382, k.c_str(), v.c_str());
      return false;
    }
  }
  return true;
}

namespace {

// Makes temp, beside the target in a folder held for the run, fresh for
// the edited text: root's, mode 0600, never through anything left there.
void MakeFreshTemporary(const char* temp) {
  if (unlink(temp) != 0 && errno != ENOENT) FatalError(NlsSetupStrCvt(368), temp);
  const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) FatalError(NlsSetupStrCvt(369), temp, std::strerror(errno));
  close(fd);
}

// Gives the edited text the target's mode, owner and group, once sed has
// written it all; false when it cannot be done.
bool TakeTargetsMode(const char* temp, const char* target) {
  struct stat st;
  if (lstat(target, &st) != 0) return false;
  const int fd = open(temp, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool given = fchown(fd, st.st_uid, st.st_gid) == 0 && fchmod(fd, st.st_mode & 07777) == 0;
  close(fd);
  return given;
}

// Edits AppDir/name with sed: the edited text goes into a new file of
// root's beside the target, which is moved over the target only after
// sed succeeded. The move replaces whatever stands at the target, never
// writes through it, and nobody else ever holds the edited file.
void SedEdit(const std::string& name, const std::string& script) {
  char target[kAppDirSize + kNameSize];
  char temp[kAppDirSize + kNameSize + 32];
  FormatText(target, sizeof target, "%s/%s", AppDir, name.c_str());
  // The edit reads the target and puts the result in its place.
  if (!MayChangeInPlace(target)) return;
  if (!FormatText(temp, sizeof temp, "%s.%s-edit", target, my_name)) FatalError(NlsSetupStrCvt(227), target);
  if (!flPreview) MakeFreshTemporary(temp);
  char* shell = GetCmd(kCmdSh);
  char* sed = GetCmd(kCmdSed);
  // The redirection into the temporary file lives inside the shell's own
  // line, so the log redirections the runner adds take only sed's errors.
  SysCmd(1, kSevFatal, "%s-c \"%s %s %s > %s\"", shell, sed, script.c_str(), target, temp);
  PutMem(shell);
  PutMem(sed);
  if ((!flPreview && !TakeTargetsMode(temp, target)) || SysCmd(kCmdMv, kSevSilent, "%s %s", temp, target) != 0) {
    NoteFailedStep(NlsSetupStrCvt(370), target);
    SysCmd(kCmdRm, kSevSilent, "%s", temp);
  }
}

void MakeLink(const std::string& name, const std::string& link) {
  // The link goes into the folder of its path (or into the folder the path
  // names): neither may be reached through a planted link.
  const std::string folder = DirectoryOf(link);
  if (!MayChangeInPlace(folder.c_str())) return;
  // ln puts the link into a folder that stands at link: only the link in
  // it is ours.
  const size_t leaf = name.rfind('/');
  const bool into = GetFileType(link.c_str()) == kDirectoryFile;
  const std::string made = into ? link + "/" + name.substr(leaf == std::string::npos ? 0 : leaf + 1) : link;
  if (into && !MayChangeInPlace(link.c_str())) return;
  // Re-installing: a link left by the earlier installation is replaced; a
  // link of anybody else's there is replaced too, never followed.
  if (GetFileType(made.c_str()) == kLinkFile) SysCmd(kCmdRm, kSevWarning, "%s", made.c_str());
  if (!MayChangeInPlace(made.c_str())) return;
  Record().NoteOwn(made.c_str());
  PreviewNote(NlsSetupStrCvt(371), link.c_str(), AppDir, name.c_str());
  SysCmd(kCmdLn, kSevFatal, "-s %s/%s %s", AppDir, name.c_str(), link.c_str());
}

void ApplyAttribute(const std::string& name, const std::string& key, const std::string& value) {
  const char* n = name.c_str();
  const char* v = value.c_str();
  const std::string target = std::string(AppDir) + "/" + name;
  switch (FindToken(key.c_str(), kPkgAttributes)) {
    case kAttrMode:
      if (!MayChangeInPlace(target.c_str())) break;
      SysCmd(kCmdChmod, kSevFatal, "%s %s/%s", v, AppDir, n);
      HoldAfterCommand(target, false);  // a folder keeps the mode given, held until the end
      break;
    case kAttrBat: {
      char path[kNameSize];
      if (!FormatText(path, sizeof path, "/usr/bin/%s", v)) FatalError(NlsSetupStrCvt(372), v);
      Record().NoteOwn(path);
      GenSimpleScript(path, ScriptShShell, SimpleScript, AppDir, AppDir, n);
      break;
    }
    case kAttrOwner:
      if (MayChangeInPlace(target.c_str())) SysCmd(kCmdChown, kSevFatal, "-R %s %s/%s", v, AppDir, n);
      break;
    case kAttrGroup:
      if (MayChangeInPlace(target.c_str())) SysCmd(kCmdChgrp, kSevFatal, "-R %s %s/%s", v, AppDir, n);
      break;
    case kAttrLink:
      MakeLink(name, value);
      break;
    case kAttrName:
      // mv puts the file into a folder (or a link to one) of the new name.
      if (!MayChangeInPlace((std::string(AppDir) + "/" + value).c_str())) break;
      Record().NoteRename((std::string(AppDir) + "/" + name).c_str(), (std::string(AppDir) + "/" + value).c_str());
      SysCmd(kCmdMv, kSevFatal, "%s/%s %s/%s", AppDir, n, AppDir, v);
      break;
    case kAttrSed:
      SedEdit(name, value);
      break;
    default:
      break;  // an unknown pair is passed over
  }
}

}  // namespace

namespace {

// Whether AppDir holds name; in a preview also when an earlier step would
// have placed it there.
bool AppEntryExists(const char* name) {
  if (FindFile(AppDir, name)) return true;
  return flPreview && Record().WouldExist((std::string(AppDir) + "/" + name).c_str());
}

bool CopiesTree(const PkgStep& step) { return step.keyword == kPkgDir || step.keyword == kPkgDirTo; }

bool CopiesFile(const PkgStep& step) { return step.keyword == kPkgCopy || step.keyword == kPkgCopyOther; }

// Where a copy step puts NAME: cp places it under its last component into
// the application directory (or DEST).
std::string CopyTarget(const PkgStep& step) {
  const size_t slash = step.name.rfind('/');
  const std::string leaf = slash == std::string::npos ? step.name : step.name.substr(slash + 1);
  const std::string into = step.keyword == kPkgDirTo ? step.dest : std::string(AppDir);
  return into + "/" + leaf;
}

// What a copy step will place, for the manifest. Returns the files placed.
std::vector<std::string> NoteCopyInManifest(const PkgStep& step, const char* package) {
  if (!CopiesTree(step) && !CopiesFile(step)) return {};
  const std::string source = std::string(pVexlaInstallDir) + "/" + package + "/" + step.name;
  return Record().NoteCopy(source.c_str(), CopyTarget(step).c_str());
}

// A copy writes onto what is there: through a planted link at its target,
// or at any file of the tree it copies, it would overwrite what the link
// points to. True when no such link is in the way.
bool CopyMayChange(const PkgStep& step, const std::vector<std::string>& placed) {
  if (!MayChangeInPlace(CopyTarget(step).c_str())) return false;
  for (const std::string& file : placed)
    if (!MayChangeInPlace(file.c_str())) return false;
  return true;
}

}  // namespace

int CarryOutPkgStep(const PkgStep& step, const char* package) {
  const char* n = step.name.c_str();
  int copied = 0;
  const std::vector<std::string> placed = NoteCopyInManifest(step, package);
  const std::string target = std::string(AppDir) + "/" + step.name;
  // A copy or touch refused for a planted link is a failed step already.
  bool refused = false;
  if (CopiesTree(step) || CopiesFile(step)) refused = !CopyMayChange(step, placed);
  if (step.keyword == kPkgTouch) refused = !MayChangeInPlace(target.c_str());
  switch (refused ? kPkgAttributesOnly : step.keyword) {
    case kPkgDir:
      copied = SysCmd(kCmdCpR, kSevWarning, "%s/%s/%s %s", pVexlaInstallDir, package, n, AppDir);
      break;
    case kPkgDirTo:
      copied = SysCmd(kCmdCpR, kSevWarning, "%s/%s/%s %s", pVexlaInstallDir, package, n, step.dest.c_str());
      break;
    case kPkgTouch:
      copied = SysCmd(kCmdTouch, kSevWarning, "%s/%s", AppDir, n);
      break;
    case kPkgModify:
    case kPkgSet:
      if (!AppEntryExists(n)) return 0;
      break;
    case kPkgNewDir:
      if (AppEntryExists(n)) return 0;
      CreateInPlace(target.c_str(), nullptr, "775");
      break;
    case kPkgCheckPs:
      if (QuitForRunningProcesses(n)) return 1;
      break;
    case kPkgAttributesOnly:
      break;
    default:  // c, and any other first word
      copied = SysCmd(kCmdCp, kSevWarning, "%s/%s/%s %s", pVexlaInstallDir, package, n, AppDir);
      break;
  }
  // A failed copy is a warning and the list goes on, but the run remembers it.
  if (copied != 0) NoteFailedStep(NlsSetupStrCvt(373), step.line, step.keywordText.c_str(), n);
  // The folders a tree copy made or gave their modes are held like the rest.
  if (CopiesTree(step) && !refused)
    HoldCopiedTree(std::string(pVexlaInstallDir) + "/" + package + "/" + n, CopyTarget(step));
  for (const auto& [key, value] : step.attributes) ApplyAttribute(step.name, key, value);
  // A tree, where most of a product's bytes lie, is hashed for the
  // manifest while the installation goes on.
  if (copied == 0 && !refused && CopiesTree(step) && !flPreview) Sha256Ahead(placed);
  return 0;
}

std::vector<PkgStep> ReadPkgList(const char* path) {
  OpenInputFile(path, kSevFatal);
  std::vector<PkgStep> steps;
  const char* release = KernelRelease();
  int lineNo = 0;
  while (GetFileLine()) {
    ++lineNo;
    PkgStep step;
    std::string error;
    std::string text = LineBuf;
    if (ParsePkgLine(text.c_str(), release, &step, &error)) {
      step.line = lineNo;
      steps.push_back(std::move(step));
    } else if (!error.empty()) {
      CloseInputFile();
      FatalError(NlsSetupStrCvt(374), path, lineNo, error.c_str());
    }
  }
  return steps;
}

namespace {

// <work directory>/<package>/pkg.list; ends the program when it does not fit.
std::string PkgListPath(const char* package) {
  char path[kLineBufSize];
  if (!FormatText(path, sizeof path, "%s/%s/pkg.list", pVexlaInstallDir, package))
    FatalError("%s", NlsSetupStrCvt(375));
  return path;
}

}  // namespace

void CheckPkgList(const char* package) { ReadPkgList(PkgListPath(package).c_str()); }

int ProcessPkgList(const char* package) {
  for (const PkgStep& step : ReadPkgList(PkgListPath(package).c_str()))
    if (CarryOutPkgStep(step, package) != 0) return 1;
  return 0;
}
