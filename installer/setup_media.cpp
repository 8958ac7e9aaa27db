// Installation media: installing from a site or a diskette set, making a new
// installation site, and marking the work directory as a diskette source.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "MediumLayout.h"
#include "RegularFile.h"
#include "ReplacingFile.h"
#include "Sha256.h"
#include "ShellWord.h"
#include "SysCmd.h"
#include "TextMenu.h"
#include "installer.h"
#include "setup_extensions.h"
#include "utils.h"

namespace {

// Creates the work directory fresh: it must not exist (any more), and once
// made it belongs to the running user and is writable by nobody else.
void MakeFreshWorkDirectory() {
  if (mkdir(pVexlaInstallDir, 0755) != 0)
    FatalError(NlsSetupStrCvt(270), pVexlaInstallDir, std::strerror(errno));
  struct stat st;
  if (lstat(pVexlaInstallDir, &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid())
    FatalError(NlsSetupStrCvt(271), pVexlaInstallDir);
  if ((st.st_mode & 022) != 0) chmod(pVexlaInstallDir, st.st_mode & 0755);
}

// Removes a stray program or help file from the work area, never the
// medium's own.
void RemoveStray(const char* name) {
  if (FindFile(pTmpDir, name) && !IsMediumFile(pTmpDir, name)) SysCmd(kCmdRm, kSevSilent, " %s/%s", pTmpDir, name);
}

// dir as a word of the runner's command lines; a directory that no quoting
// can carry (a control character in its name) ends the run with status 2
// before anything is copied.
std::string QuotedDirectory(const char* dir) {
  std::string word = ShellWord(dir, 2);
  if (word.empty()) RefuseDirectory(NlsSetupStrCvt(272), dir);
  return word;
}

// Writes the marker file text into path, beside it and renamed into place;
// reported when it cannot be created or written.
void WriteMediumMarker(const char* path, const char* text) {
  ReplacingFile f(path);
  if (f.get() == nullptr) {
    SayUtilError(UtilText::kCannotOpenFile, path);
    return;
  }
  std::fputs(text, f.get());
  if (!f.Commit(0)) SayError(273, path);
}

int RunInstallOrMenu() {
  if (pInstallDir != nullptr) return Install();
  RunMainMenu();
  return 0;
}

}  // namespace

const char* WhyWorkDirectoryIsUnsafe(const struct stat& st, uid_t user) {
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) return NlsSetupStrCvt(274);
  if (st.st_uid != user && st.st_uid != 0) return NlsSetupStrCvt(275);
  if ((st.st_mode & S_IWOTH) != 0) return NlsSetupStrCvt(276);
  if ((st.st_mode & S_IWGRP) != 0) {
    // Only the owner's own group (of the same name, as a user private
    // group is) may share the right to write.
    const passwd* owner = getpwuid(st.st_uid);
    const std::string ownerName = owner != nullptr ? owner->pw_name : "";
    const group* g = getgrgid(st.st_gid);
    if (ownerName.empty() || g == nullptr || ownerName != g->gr_name) return NlsSetupStrCvt(277);
  }
  return nullptr;
}

void CheckFoundWorkDirectory() {
  struct stat st;
  if (lstat(pVexlaInstallDir, &st) != 0) return;  // missing: the disks list read reports it
  if (const char* why = WhyWorkDirectoryIsUnsafe(st, geteuid()))
    FatalError(NlsSetupStrCvt(278), pVexlaInstallDir, why);
}

// Copies every file the disks list in LineBuf names from one directory to
// another. Every file must be there before the first is copied: a medium
// that lacks one is reported by that file's name, not by a failed copy. A
// file in a folder of the medium (its string database, db/drvcore.vdb) goes
// into the same folder of the copy, made when missing, so that the copy is
// a medium of the same layout. The medium may lie under any directory (a
// desktop mounts a stick under /media/<user>/<label>): both directories
// go into the lines as quoted words where they need it. With hashCopies,
// each copy is hashed while the next is made, for the checksum check that
// follows.
void CopyListedFiles(const char* from, const char* to, bool hashCopies) {
  const std::string source = QuotedDirectory(from);
  const std::string target = QuotedDirectory(to);
  const std::vector<std::vector<std::string>> files = DisksListFiles();
  for (const std::vector<std::string>& line : files) {
    for (const std::string& word : line) {
      CheckMediumFileName(word.c_str());
      if (!FindFile(from, word.c_str()))
        FatalError(NlsSetupStrCvt(279), word.c_str(), from);
      // A FIFO or device in a file's place would hold the copy forever.
      const std::string path = std::string(from) + "/" + word;
      // The signature is judged as the file the medium holds: a link in
      // its place is refused, never followed.
      const RegularFile::LastLink last = Guards().IsSignatureFile(word.c_str()) ? RegularFile::kRefuseLink : RegularFile::kFollowLink;
      if (RegularFile(path.c_str(), last).fd() < 0)
        FatalError(NlsSetupStrCvt(280), word.c_str(), from);
    }
  }
  for (const std::vector<std::string>& line : files) {
    for (const std::string& word : line) {
      const size_t slash = word.rfind('/');
      if (slash == std::string::npos) {
        SysCmd(kCmdCp, kSevFatal, "%s/%s %s", source.c_str(), word.c_str(), target.c_str());
      } else {
        char folder[kAppDirSize];
        if (!FormatText(folder, sizeof folder, "%s/%.*s", to, static_cast<int>(slash), word.c_str()))
          FatalError(NlsSetupStrCvt(228), to, word.c_str());
        CreateFile(folder, nullptr, "755");
        SysCmd(kCmdCp, kSevFatal, "%s/%s %s/%.*s", source.c_str(), word.c_str(), target.c_str(),
               static_cast<int>(slash), word.c_str());
      }
      if (hashCopies) Sha256Ahead({std::string(to) + "/" + word});
    }
  }
}

int InstallFromSite() {
  QuotedDirectory(pToolPath);
  if (ResolvedWithin(pToolPath, pVexlaInstallDir))
    FatalError(NlsSetupStrCvt(281), pToolPath, pVexlaInstallDir);
  DeleteFile(pTmpDir, "VexlaInstall");
  if (!flPreview) MakeFreshWorkDirectory();
  RemoveStray("setup");
  RemoveStray(kHelpFileName);
  GetDisksData(pToolPath);
  CopyListedFiles(pToolPath, pVexlaInstallDir, true);
  Guards().CheckMediumChecksums(pVexlaInstallDir, pToolPath);
  return RunInstallOrMenu();
}

int InstallFromDiskette() {
  EnterDirectory(pTmpDir, true);
  CheckFoundWorkDirectory();
  Guards().CheckMediumChecksums(pVexlaInstallDir, nullptr);
  return RunInstallOrMenu();
}

int GenInstallSite(TtyMenu*, TtyMenuItem*) {
  EnterDirectory(pTmpDir, true);
  if (!GetDirName(InstallSiteInfo, "/usr", 0)) return 0;
  char site[kAppDirSize];
  FormatText(site, sizeof site, "%s%s%sInstall", Name, std::strcmp(Name, "/") == 0 ? "" : "/", kArchiveBase);
  // Readable by all, as a shared site needs, but writable only by its
  // owner: the next administrator runs what it holds as root.
  CreateFile(site, nullptr, "755");
  GetDisksData(pVexlaInstallDir);
  CopyListedFiles(pVexlaInstallDir, site, false);
  char marker[kAppDirSize + 16];
  FormatText(marker, sizeof marker, "%s/%s", site, kUnixMediumNames.marker);
  WriteMediumMarker(marker, "installation site");
  return 0;
}

int GenInstallDisks(TtyMenu*, TtyMenuItem*) {
  EnterDirectory(pTmpDir, true);
  char marker[kNameSize + 16];
  FormatText(marker, sizeof marker, "%s/%s", pVexlaInstallDir, kUnixMediumNames.marker);
  WriteMediumMarker(marker, "diskette");
  return 0;
}
