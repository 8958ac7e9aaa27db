// The preview: what an installation would do on this host, shown without
// changing it. The archive is unpacked for real, but only into a private
// directory of the preview's own; then the install entry runs with the
// host seam replaced by a printer, so every command line it builds is
// shown (in the form of the run log, the private directory shown as the
// work directory) and none runs, and the installer's own writes become
// notes printed after the commands.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Fd.h"
#include "SysCmd.h"
#include "guards.h"
#include "installer.h"
#include "JsonWriter.h"
#include "guards_signature.h"
#include "utils.h"

namespace {

std::string privateDir;  // the preview's own work directory
std::string workDir;     // the work directory an installation would use

// Gives the owner back the right to list, enter and change every folder
// below the open folder dir (an archive may hold folders of mode 0555,
// whose entries could not be removed otherwise); dir is closed. Links are
// never followed: an entry is changed only when lstat shows a folder, and
// opened only as one. Nobody else can swap an entry meanwhile: the
// private directory is the running user's alone.
void OpenFoldersToOwner(int dir) {
  std::unique_ptr<DIR, int (*)(DIR*)> listing(fdopendir(dir), closedir);
  if (!listing) {
    close(dir);
    return;
  }
  const int at = dirfd(listing.get());
  while (const dirent* entry = readdir(listing.get())) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    struct stat st;
    if (fstatat(at, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)) continue;
    if ((st.st_mode & S_IRWXU) != S_IRWXU) fchmodat(at, entry->d_name, (st.st_mode & 07777) | S_IRWXU, 0);
    const int sub = openat(at, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (sub >= 0) OpenFoldersToOwner(sub);
  }
}

void RemovePrivateDirectory() {
  if (privateDir.empty()) return;
  const int top = open(privateDir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (top >= 0) OpenFoldersToOwner(top);
  std::error_code ignored;
  std::filesystem::remove_all(privateDir, ignored);
  privateDir.clear();
}

// The line as the run log would show it: without the redirections the
// runner adds, and with the work directory in place of the private one.
std::string Shown(const char* line) {
  std::string text = line;
  for (const std::string redirection : {" 1>>/dev/null 2>>/dev/null", " 1>/dev/null 2>/dev/null"}) {
    const std::string quoted = redirection + "\"";
    if (text.size() >= quoted.size() && text.compare(text.size() - quoted.size(), quoted.size(), quoted) == 0) {
      text.resize(text.size() - quoted.size());
      break;
    }
    if (text.size() >= redirection.size() &&
        text.compare(text.size() - redirection.size(), redirection.size(), redirection) == 0) {
      text.resize(text.size() - redirection.size());
      break;
    }
  }
  for (size_t at = text.find(privateDir); !privateDir.empty() && at != std::string::npos;
       at = text.find(privateDir, at + workDir.size()))
    text.replace(at, privateDir.size(), workDir);
  return text;
}

// preview --json: the command lines are collected, what the run prints
// for people goes nowhere and what it says on standard error is kept too
// (and passed on at the end); the object is written when the run ends,
// however it ends.
struct JsonPreview {
  bool on = false;
  int out = -1;      // the standard output the object goes to
  int err = -1;      // the standard error the kept messages go on to
  int kept = -1;     // where standard error is kept meanwhile
  std::vector<std::string> lines;
  std::string installDir, earlier;
  bool mediumChecked = false;  // the medium's checks ran: its signer is known
} json;

void ShowCommand(const std::string& line) {
  if (json.on)
    json.lines.push_back(line);
  else
    std::printf("%s\n", line.c_str());
}

int PrintSystem(const char* line) {
  ShowCommand(Shown(line));
  return 0;
}

int PrintKill(pid_t pid, int signal) {
  ShowCommand("kill -" + (signal == SIGKILL ? std::string("KILL") : std::to_string(signal)) + " " +
              std::to_string(static_cast<int>(pid)));
  return 0;
}

// The messages the run wrote on standard error, one a line; they are
// written on to the real standard error.
std::vector<std::string> KeptMessages() {
  std::string text;
  char buf[4096];
  ssize_t n;
  for (off_t at = 0; (n = pread(json.kept, buf, sizeof buf, at)) > 0; at += n) text.append(buf, static_cast<size_t>(n));
  WriteAll(json.err, text.data(), text.size());
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

void WriteJsonPreview(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  const std::vector<std::string> messages = KeptMessages();
  std::string reason;
  for (const std::string& m : messages)
    if (m.compare(0, 7, "ERROR: ") == 0) reason = m.substr(7);
  if (reason.empty() && status != 0 && !messages.empty()) reason = messages.back();
  std::vector<std::string> shown;
  for (const std::string& note : PreviewNotes()) shown.push_back(Shown(note.c_str()));
  JsonObject o;
  o.Add("status", static_cast<long long>(status)).Add("install_dir", json.installDir).Add("earlier", json.earlier);
  o.Add("lines", json.lines).Add("notes", shown).Add("messages", messages).Add("reason", reason);
  if (json.mediumChecked) o.Add("signature", SignerJson(LastMediumSigner()));
  const std::string text = o.Text() + "\n";
  WriteAll(json.out, text.data(), text.size());
}

// From here on the run answers in JSON: standard output goes to
// /dev/null, standard error is kept for the object.
void BeginJsonPreview() {
  std::fflush(stdout);
  std::fflush(stderr);
  json.out = dup(STDOUT_FILENO);
  json.err = dup(STDERR_FILENO);
  json.kept = memfd_create("setup-preview-messages", MFD_CLOEXEC);
  const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (json.out < 0 || json.err < 0 || json.kept < 0 || null < 0 || dup2(null, STDOUT_FILENO) < 0 ||
      dup2(json.kept, STDERR_FILENO) < 0)
    SysError("%s", NlsSetupStrCvt(346));
  close(null);
  json.on = true;
  SetExitHandler(WriteJsonPreview);
}

unsigned SkipSleep(unsigned) { return 0; }

[[noreturn]] void PreviewFails(const char* why) {
  SayNamed(stderr, 347, why);
  ExitProgram(1);
}

// Makes the private directory in the work area, readable by nobody else.
void MakePrivateDirectory() {
  std::string templ = std::string(pTmpDir) + "/setup-preview.XXXXXX";
  std::vector<char> name(templ.begin(), templ.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) PreviewFails(NlsSetupStrCvt(348));
  privateDir = name.data();
  std::atexit(RemovePrivateDirectory);
}

}  // namespace

int RunPreview(unsigned char spaceCheck, bool asJson) {
  flUseLog = 0;
  flSysCmdLog = 0;
  if (asJson) BeginJsonPreview();
  workDir = pVexlaInstallDir;
  const char* earlier = LocatePreviousInstallation();
  std::string earlierText = earlier != nullptr ? earlier : "";
  if (pInstallDir == nullptr) pInstallDir = SaveText(earlier != nullptr ? earlier : "/usr");
  RefuseWorkAreaAmongInstalled(pInstallDir);
  json.installDir = pInstallDir;
  json.earlier = earlierText;
  const bool diskette = IsDisketteMedium();
  // A diskette set is taken from the work directory as it is found: only
  // from one nobody else can have put files into.
  if (diskette) CheckFoundWorkDirectory();

  SayLine(stdout, diskette ? 349 : 350, pToolPath, pInstallDir);
  SayLine(stdout, 351, workDir.c_str());
  if (earlierText.empty())
    SayLine(stdout, 353);
  else
    SayLine(stdout, 352, earlierText.c_str());
  utsname host;
  if (uname(&host) == 0)
    SayLine(stdout, 354, host.release);
  else
    SayLine(stdout, 355);
  if (spaceCheck) {
    FreeSpaceForInstall(pVexlaInstallDir, pInstallDir, "Vexla");
    SayLine(stdout, 356, pTmpDir, pInstallDir);
  } else {
    SayLine(stdout, 357);
  }
  std::fflush(stdout);

  // The archive, unpacked for real into the private directory.
  MakePrivateDirectory();
  const std::string source = diskette ? workDir : std::string(pToolPath);
  GetDisksData(source.c_str());
  CopyListedFiles(source.c_str(), privateDir.c_str(), true);
  CheckMediumChecksums(privateDir.c_str(), source.c_str());
  json.mediumChecked = true;
  std::printf("%s\n", SignerLine(LastMediumSigner()).c_str());
  pVexlaInstallDir = SaveText(privateDir.c_str());
  UnpackArchive();

  // The installation, printed.
  SayLine(stdout, 358);
  std::fflush(stdout);
  HostOps printer = GetHostOps();
  printer.pfnSystem = PrintSystem;
  printer.pfnKill = PrintKill;
  printer.pfnSleep = SkipSleep;
  SetHostOps(printer);
  flPreview = 1;
  const int result = diskette ? InstallFromDiskette() : InstallFromSite();
  flPreview = 0;
  SetHostOps(RealHostOps());

  SayLine(stdout, 359);
  for (const std::string& note : PreviewNotes()) std::printf("%s\n", Shown(note.c_str()).c_str());
  std::fflush(stdout);
  RemovePrivateDirectory();
  return result == 0 ? 0 : 1;
}
