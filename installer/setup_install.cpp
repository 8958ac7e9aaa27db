// The install sequence: one complete installation from the archive pieces
// in the work directory to the set-user-ID programs of the product tree.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "MemMgr.h"
#include "RootFile.h"
#include "SysCmd.h"
#include "TextMenu.h"
#include "installer.h"
#include "setup_extensions.h"
#include "setup_hold.h"
#include "utils.h"

namespace {

constexpr const char* kSpoolRoot = "/var/spool";

// The application directory the earlier-daemon question speaks of: that of
// the installation directory about to be used when it is known, else that
// of an earlier pass or of an earlier installation.
std::string DaemonCheckDirectory() {
  char dir[kAppDirSize];
  if (pInstallDir != nullptr) {
    AppDirOf(pInstallDir, dir, sizeof dir);
    return dir;
  }
  if (AppDir[0] != '\0') return AppDir;
  if (const char* previous = LocatePreviousInstallation()) {
    AppDirOf(previous, dir, sizeof dir);
    return dir;
  }
  return "";
}

// Asks whether to go on when a daemon of an earlier installation is there.
// Only y or yes go on; n and no end the run at once, as the administrator's
// choice; the end of input ends it as a run that did not happen.
void ConfirmOverEarlierDaemon() {
  std::string dir = DaemonCheckDirectory();
  if (dir.empty()) return;
  if (!FindFile(dir.c_str(), "VPrintD") && !FindFile(dir.c_str(), "VPrintDStop")) return;
  if (flPreview) {
    PreviewNote(NlsSetupStrCvt(360), dir.c_str());
    return;
  }
  std::printf(NlsSetupStrCvt(62), "Vexla", "Vexla", "Vexla", "vpxx");
  for (;;) {
    std::printf("%s", NlsSetupStrCvt(63));
    std::fflush(stdout);
    char answer[kMaxFileLine + 2];
    if (Gets(answer, sizeof answer) == nullptr) {
      SayInputEnded();
      ExitProgram(1);
    }
    switch (FindToken(GetToken(answer, " \t\r\n"), ",y,yes,n,no,")) {
      case 1:
      case 2:
        return;
      case 3:
      case 4:
        ExitProgram(0);
      default:
        break;
    }
  }
}

// Links the product under /usr: /usr/Vexla to D/Vexla when there is no
// /usr/Vexla, /usr/Vexla/vpxx to D/Vexla/vpxx when /usr/Vexla is a real
// directory. A link left by an earlier installation is replaced.
void LinkUnderUsr(const char* d) {
  switch (GetFileType("/usr/Vexla")) {
    case kNoFile:
      Record().NoteOwn("/usr/Vexla");
      PreviewNote(NlsSetupStrCvt(361), d);
      SysCmd(kCmdLn, kSevFatal, "-s %s/%s %s/%s", d, "Vexla", "/usr", "Vexla");
      break;
    case kDirectoryFile:
      switch (GetFileType("/usr/Vexla/vpxx")) {
        case kLinkFile:
          SysCmd(kCmdRm, kSevWarning, "%s", "/usr/Vexla/vpxx");
          [[fallthrough]];
        case kNoFile:
          Record().NoteOwn("/usr/Vexla/vpxx");
          PreviewNote(NlsSetupStrCvt(362), d);
          SysCmd(kCmdLn, kSevFatal, "-s %s/%s/%s %s/%s/%s", d, "Vexla", "vpxx", "/usr", "Vexla", "vpxx");
          break;
        default:
          // A real directory or file there would take the link inside it.
          SayWarning(363);
          break;
      }
      break;
    case kLinkFile: {
      // An earlier pass (perhaps one that was stopped) made it: still ours.
      char target[kAppDirSize];
      char ours[kAppDirSize];
      const ssize_t n = readlink("/usr/Vexla", target, sizeof target - 1);
      FormatText(ours, sizeof ours, "%s/%s", d, "Vexla");
      if (n > 0 && static_cast<size_t>(n) == std::strlen(ours) && std::strncmp(target, ours, n) == 0)
        Record().NoteOwn("/usr/Vexla");
      break;
    }
    default:
      break;  // something else at /usr/Vexla: left alone
  }
}

// Gives AppDir/name the set-user-ID mode 4755, but only in an installation
// without failed steps and only to a program that is there, not empty and
// reached through no planted link: a program cut short by a full disk, or
// a file another user points the name at, must never run as root.
void MakeSetUserId(const char* name) {
  char path[kAppDirSize + 32];
  FormatText(path, sizeof path, "%s/%s", AppDir, name);
  if (!MayChangeInPlace(path)) return;
  // Its folders are held: what lstat shows now is what chmod changes.
  struct stat st;
  const bool there = flPreview || (lstat(path, &st) == 0 && IsRootsFile(st) && st.st_size > 0);
  if (FailedStepCount() > 0 || !there) {
    SayWarning(364, path);
    return;
  }
  if (SysCmd(kCmdChmod, kSevWarning, "4755 %s/%s", AppDir, name) != 0) NoteFailedStep(NlsSetupStrCvt(365), path);
}


// The spool folders of the product. The folder of the product's own spool
// comes back in spoolProduct.
void MakeSpoolFolders(char (&spoolProduct)[kNameSize]) {
  char spool[kNameSize];
  char download[kNameSize];
  FormatText(spool, sizeof spool, "%s/%s", kSpoolRoot, "Vexla");
  FormatText(spoolProduct, sizeof spoolProduct, "%s/%s", spool, "vpxx");
  FormatText(download, sizeof download, "%s/%s/__vpa_download__", spool, "vpxx");
  // Only the spool folders made now are the installation's (those a
  // stopped earlier run made are in its notes); another product may use
  // /var/spool/Vexla too.
  Record().NoteMade(download);
  CreateInPlace(spool, nullptr, "775");
  CreateInPlace(spoolProduct, nullptr, "775");
  // Every user may leave files for the product here; like every shared
  // folder of Unix it is sticky, so none of them can remove or replace
  // another's entries.
  CreateInPlace(download, nullptr, "1777");
}

// AppDir/.vp_cfg names the print system found on the host.
void WriteSpoolerConfig() {
  const char* spooler = " BSD ";
  if (SniffLprng()) spooler = " LPRng ";
  if (SniffCUPS()) spooler = " CUPS ";
  char path[kAppDirSize + 32];
  FormatText(path, sizeof path, "%s/.vp_cfg", AppDir);
  if (flPreview) {
    PreviewNote(NlsSetupStrCvt(366), path, spooler);
  } else if (!CreateTextFile(path, "wt", 0644, "%s", spooler)) {
    NoteFailedStep(NlsSetupStrCvt(367), path);
  }
}

// The product's start script and its VSF filter script in AppDir.
void WriteProductScripts(const char* spoolProduct) {
  char path[kAppDirSize + 32];
  FormatText(path, sizeof path, "%s/%s", AppDir, "VexlaPrintvpxx");
  GenSimpleScript(path, ScriptShShell, VexlaPrintvpxxScript, AppDir, "vpxx", "vprintvpxx", "vprintvpxx", "vpxx",
                  "vpxx", "vpxx");
  FormatText(path, sizeof path, "%s/%s%s", AppDir, "Vexla", "VSF");
  GenSimpleScript(path, ScriptShShell, VexlaVSFScript, AppDir, spoolProduct);
}

}  // namespace

bool RunByRoot() {
  char* user = GetUserName();
  if (!flPreview && (user == nullptr || std::strcmp(user, "root") != 0)) {
    char* shown = user != nullptr && user[0] != '\0' ? user : SaveStr("uid %d", static_cast<int>(geteuid()));
    std::printf(NlsSetupStrCvt(35), shown, my_name);
    std::fflush(stdout);
    return false;
  }
  PutMem(user);
  return true;
}

void UnpackArchive() {
  GenZFile();
  DeleteFile(pVexlaInstallDir, "Linuxi386Vpxx.tar");
  SysCmd(kCmdUncompress, kSevFatal, "%s/%s.tar.Z", pVexlaInstallDir, kArchiveBase);
  // (A preview shows the commands of an archive it has unpacked already.)
  if (!flPreview) CheckUnpackedArchive();
  EnterDirectory(pVexlaInstallDir, true);
  SysCmd(kCmdTarX, kSevFatal, "%s/%s.tar", pVexlaInstallDir, kArchiveBase);
  DeleteFile(pVexlaInstallDir, "Linuxi386Vpxx.tar");
  // A package list that cannot be carried out must not leave a half-made
  // product tree behind: it is checked before anything is made.
  CheckPkgList("pkg");
}

int Install(TtyMenu*, TtyMenuItem*) {
  if (!RunByRoot()) {
    flExitTextMenu = 1;
    return 2;
  }

  Record().Begin();
  ConfirmOverEarlierDaemon();
  // The host changes from the moment the daemon is stopped: from here the
  // run is recorded in the history (in menu mode, once the dialogue named
  // the directory).
  if (pInstallDir != nullptr) {
    char dir[kAppDirSize];
    AppDirOf(pInstallDir, dir, sizeof dir);
    Record().ArmHistory(dir);
  }
  StopDemon();
  UnpackArchive();

  if (pInstallDir == nullptr && !GetDirName(InstallInfo, "/usr", 1)) return 0;
  const char* d = pInstallDir != nullptr ? pInstallDir : Name;
  RefuseWorkAreaAmongInstalled(d);
  AppDirOf(d, AppDir, sizeof AppDir);
  Record().ArmHistory(AppDir);
  // From here to the end of the run nobody else can change the tree.
  HoldTree(AppDir);
  Record().SaveEarlierInstallation();  // before anything changes the earlier tree
  Record().NoteMade(AppDir);
  CreateInPlace(AppDir, nullptr, "775");
  Record().KeepNotes();  // the folders made above it are noted on the disk at once
  CreateInPlace(AppDir, ".PrintError", "666");

  char spoolProduct[kNameSize];
  MakeSpoolFolders(spoolProduct);
  WriteSpoolerConfig();
  if (std::strcmp(d, "/usr") != 0) LinkUnderUsr(d);
  WriteProductScripts(spoolProduct);

  if (ProcessPkgList("pkg") != 0) return 1;
  flInstalled = 1;
  flExitTextMenu = 1;
  RunProductCommand("%s/vpqadmin -upgrade", AppDir);
  MakeSetUserId("vprvpxxtty");
  MakeSetUserId("vsf");
  if (FailedStepCount() == 0) Record().BeginManifest();
  return 0;
}
