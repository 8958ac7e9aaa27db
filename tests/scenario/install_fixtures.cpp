// The installation scenarios' shared media, set-ups and looks at results.
#include "install_fixtures.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>

#include "test_support.h"

// ---------------------------------------------------------------------------
// Media, built with the real medium builder once per test program.

// A scratch directory for the whole program: products and media live there.
const std::string& MediaRoot() {
  static ScratchDir root;
  return root.path();
}

// Runs argv with empty input, its output into *output; the exit status,
// or -1.
int RunTool(const std::vector<std::string>& argv, std::string* output) { return RunProgram(argv, "", output); }

// A copy of the sample product named key, with extra appended to its
// package list (made once).
std::string Product(const std::string& key, const std::string& extra) {
  static std::map<std::string, std::string> made;
  if (auto it = made.find(key); it != made.end()) return it->second;
  const std::string dir = MediaRoot() + "/product-" + key;
  std::string out;
  if (RunTool({"cp", "-a", SAMPLE_PRODUCT_DIR, dir}, &out) != 0) ADD_FAILURE() << "cannot copy the sample: " << out;
  if (!extra.empty()) std::ofstream(dir + "/pkg/pkg.list", std::ios::app) << extra;
  return made[key] = dir;
}

// The medium named key, made from product with the builder's options.
std::string Medium(const std::string& key, const std::string& product, const std::vector<std::string>& options) {
  static std::map<std::string, std::string> made;
  if (auto it = made.find(key); it != made.end()) return it->second;
  const std::string dir = MediaRoot() + "/medium-" + key;
  std::vector<std::string> argv = {MKMEDIUM_PROGRAM, "-o", dir, "-p", SetupProgramPath()};
  argv.insert(argv.end(), options.begin(), options.end());
  argv.push_back(product);
  std::string out;
  if (RunTool(argv, &out) != 0) ADD_FAILURE() << "mkmedium failed: " << out;
  return made[key] = dir;
}

std::string SiteMedium() { return Medium("site", SAMPLE_PRODUCT_DIR); }

// A diskette set with DOS names (DISKS, PKG_TAR.001, ...) in pieces of 1 KiB.
std::string DisketteMedium() { return Medium("diskette", SAMPLE_PRODUCT_DIR, {"--diskette", "--dos", "-s", "1K"}); }

std::string Sample(const std::string& path) { return ReadWholeFile(std::string(SAMPLE_PRODUCT_DIR) + "/" + path); }

// ---------------------------------------------------------------------------
// Sandbox set-ups.

// Runs from the medium in /media; no print spooler on the host unless a
// test adds one; English texts.
SandboxOptions FromMedium(const std::string& medium) {
  SandboxOptions o;
  o.medium = medium;
  o.setup = {RemoveEverywhere("lpd"), RemoveEverywhere("cupsd")};
  o.env = {"LANG=C"};
  o.timeoutSeconds = 40;
  return o;
}

SandboxOptions FromSite() { return FromMedium(SiteMedium()); }

// A shell line as the sandbox's command.
std::vector<std::string> Shell(const std::string& line) { return {"/bin/sh", "-c", line}; }

std::string Recorded(const std::string& what, const std::string& line) {
  return "(" + line + ") > /root/" + what + " 2>&1; echo " + what + "=$?; ";
}

std::string KillSetupAtTouch(const std::string& name) { return KillSetupAt("touch", name); }

std::string KillSetupAt(const std::string& tool, const std::string& name) {
  return StandIn("/usr/sbin/" + tool,
                 "case \"$*\" in *" + name +
                     "*) if [ ! -e /root/killed ]; then : > /root/killed; p=$PPID; "
                     "while [ \"$p\" -gt 1 ] && [ \"$(ps -o comm= -p $p)\" != setup ]; do "
                     "p=$(ps -o ppid= -p $p | tr -d \" \"); done; "
                     "kill -KILL $p; sleep 5; fi;; esac; exec /usr/bin/" + tool + " \"$@\"");
}

std::string AsAttacker(const std::string& line, const char* group) {
  const std::string gid = group != nullptr ? std::to_string(Gid(group)) : "65534";
  return "setpriv --reuid=65534 --regid=" + gid + " --clear-groups sh -c '" + line + "'";
}

// ---------------------------------------------------------------------------
// Looking at the results.


FileInfo Info(const SandboxResult& r, const std::string& path) {
  FileInfo f;
  struct stat st;
  const std::string host = r.Upper(path);
  if (lstat(host.c_str(), &st) != 0) return f;
  // A whiteout: the run deleted what the starting state held there.
  if (S_ISCHR(st.st_mode) && st.st_rdev == 0) return f;
  f.exists = true;
  f.type = st.st_mode & S_IFMT;
  f.mode = st.st_mode & 07777;
  f.uid = st.st_uid;
  f.gid = st.st_gid;
  if (S_ISLNK(st.st_mode)) {
    char buf[4096];
    ssize_t n = readlink(host.c_str(), buf, sizeof buf);
    if (n > 0) f.link.assign(buf, static_cast<size_t>(n));
  }
  return f;
}

gid_t Gid(const char* group) {
  const struct group* g = getgrnam(group);
  return g != nullptr ? g->gr_gid : static_cast<gid_t>(-1);
}

// A file (or directory) with that mode, and that group when given.
void ExpectFile(const SandboxResult& r, const std::string& path, mode_t type, mode_t mode, const char* group) {
  SCOPED_TRACE(path);
  FileInfo f = Info(r, path);
  ASSERT_TRUE(f.exists) << "missing";
  EXPECT_EQ(f.type, type);
  EXPECT_EQ(f.mode, mode) << std::oct << f.mode;
  if (group != nullptr) {
    EXPECT_EQ(f.gid, Gid(group));
  }
}

void ExpectAbsent(const SandboxResult& r, const std::string& path) {
  EXPECT_FALSE(Info(r, path).exists) << path << " should not be there";
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  for (size_t at = 0; at <= dirs.size();) {
    size_t colon = dirs.find(':', at);
    if (colon == std::string::npos) colon = dirs.size();
    if (access((dirs.substr(at, colon - at) + "/" + program).c_str(), X_OK) == 0) return true;
    at = colon + 1;
  }
  return false;
}

int PlayStat(const std::string& json, const std::string& kind, const std::string& host) {
  size_t at = json.rfind("\"stats\"");
  if (at == std::string::npos) return -1;
  if (!host.empty() && (at = json.find("\"" + host + "\": {", at)) == std::string::npos) return -1;
  const size_t end = json.find('}', at);
  at = json.find("\"" + kind + "\":", at);
  if (at == std::string::npos || at > end) return -1;
  return std::atoi(json.c_str() + at + kind.size() + 3);
}

// The value printed as "<name>=<value>" on a line of out; "" when absent.
std::string Printed(const std::string& out, const std::string& name) {
  size_t at = 0;
  const std::string key = name + "=";
  while ((at = out.find(key, at)) != std::string::npos) {
    if (at == 0 || out[at - 1] == '\n') {
      size_t end = out.find('\n', at);
      return out.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
    }
    at += key.size();
  }
  return "";
}

// The settings file after the package list's sed edit.
std::string EditedSettings() {
  std::string text = Sample("pkg/lib/vpxx.cfg");
  auto replace = [&text](const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
      text.replace(at, from.size(), to);
  };
  replace("@VERSION@", "3.00.42");
  replace("@PRODUCT@", "Vexla print software");
  return text;
}

// Whether the package list's line "v >= 2.6 v < 9" holds on this kernel.
bool ModernKernel() {
  struct utsname u;
  if (uname(&u) != 0) return false;
  return std::strcmp(u.release, "2.6") >= 0 && std::strcmp(u.release, "9") < 0;
}

const std::string kBanner = "#!/bin/sh\n" + std::string(63, '#') + "\n";
extern const char kUpgradedAndCleaned[];
const char kUpgradedAndCleaned[] = "vpqadmin -upgrade\nvpqadmin -clean\n";

// Everything one complete installation of the sample into d leaves behind:
// the tree and spool directories, the flag file, the link under /usr, the
// scripts, what the package list places, the set-user-ID programs, the
// administration tool's runs, and no work files.
void ExpectInstalled(const SandboxResult& r, const std::string& d, const std::string& spooler,
                     const std::string& adminRuns) {
  const std::string a = d + "/Vexla/vpxx";
  ExpectFile(r, a, S_IFDIR, 0775);
  ExpectFile(r, a + "/.PrintError", S_IFREG, 0666);
  ExpectFile(r, "/var/spool/Vexla", S_IFDIR, 0775);
  ExpectFile(r, "/var/spool/Vexla/vpxx", S_IFDIR, 0775);
  ExpectFile(r, "/var/spool/Vexla/vpxx/__vpa_download__", S_IFDIR, 01777);
  ExpectFile(r, a + "/.vp_cfg", S_IFREG, 0644);
  EXPECT_EQ(r.Read(a + "/.vp_cfg"), spooler);

  FileInfo usrLink = Info(r, "/usr/Vexla");
  if (d == "/usr") {
    EXPECT_EQ(usrLink.type, static_cast<mode_t>(S_IFDIR)) << "no link when installing into /usr";
  } else {
    EXPECT_EQ(usrLink.type, static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(usrLink.link, d + "/Vexla");
  }

  for (const char* script : {"/VexlaPrintvpxx", "/VexlaVSF"}) {
    ExpectFile(r, a + script, S_IFREG, 0755);
    std::string text = r.Read(a + script);
    EXPECT_EQ(text.substr(0, kBanner.size()), kBanner) << script;
    EXPECT_TRUE(Contains(text, "ToolPath=\"" + a + "\"\n")) << script;
    EXPECT_TRUE(text.size() > 5 && text.compare(text.size() - 5, 5, "\nesac") == 0) << script;
  }
  EXPECT_TRUE(Contains(r.Read(a + "/VexlaVSF"), "SpoolDir=\"/var/spool/Vexla/vpxx\"\n"));

  // The package list.
  ExpectFile(r, a + "/lib", S_IFDIR, 0755, "lp");
  ExpectFile(r, a + "/lib/forms", S_IFDIR, 0755, "lp");
  ExpectFile(r, a + "/lib/forms/a4.frm", S_IFREG, 0644, "lp");
  ExpectFile(r, a + "/lib/forms/letter.frm", S_IFREG, 0644, "lp");
  ExpectFile(r, a + "/lib/vpxx.cfg", S_IFREG, 0644, "lp");
  EXPECT_EQ(r.Read(a + "/lib/vpxx.cfg"), EditedSettings());
  EXPECT_EQ(r.Read("/usr/share/ppd/Vexla/Vexla-vpxx.ppd"), Sample("pkg/ppd/Vexla/Vexla-vpxx.ppd"));
  ExpectAbsent(r, a + "/ppd");
  ExpectFile(r, a + "/vpqadmin", S_IFREG, 0755, "root");
  EXPECT_EQ(Info(r, "/usr/bin/vpqadmin").link, a + "/vpqadmin");
  ExpectFile(r, a + "/VPrintD", S_IFREG, 0755, "lp");
  ExpectFile(r, a + "/VPrintUI", S_IFREG, 0755);
  ExpectFile(r, a + "/vprvpxxtty", S_IFREG, 04755, "lp");
  ExpectFile(r, a + "/vsf", S_IFREG, 04755, "lp");
  EXPECT_EQ(Info(r, a + "/vsf").uid, 0u);
  ExpectFile(r, a + "/bin/vprint", S_IFREG, 0755);
  ExpectFile(r, "/usr/bin/vprint", S_IFREG, 0755);
  const std::string wrapper = r.Read("/usr/bin/vprint");
  EXPECT_EQ(wrapper.substr(0, kBanner.size()), kBanner);
  EXPECT_TRUE(Contains(wrapper, "\ncd " + a + "\nexec " + a + "/bin/vprint $*\n")) << wrapper;
  ExpectFile(r, a + "/VPrintD.log", S_IFREG, 0666, "lp");
  EXPECT_EQ(r.Read(a + "/VPrintD.log"), "");
  if (ModernKernel()) {
    ExpectFile(r, a + "/usbport.conf", S_IFREG, 0644);
    EXPECT_EQ(r.Read(a + "/usbport.conf"), Sample("pkg/usbport.modern"));
  }
  ExpectAbsent(r, a + "/usbport.modern");
  ExpectAbsent(r, a + "/usbport.old");
  ExpectFile(r, a + "/vpxx.txt", S_IFREG, 0444);

  EXPECT_EQ(r.Read(a + "/vpqadmin.log"), adminRuns);
  ExpectAbsent(r, "/tmp/VexlaInstall");
  ExpectAbsent(r, a + "/lib/vpxx.cfg.setup-edit");
  // Every held folder has its mode back (checked above), and no record of them is left.
  ExpectAbsent(r, "/var/lib/setup-Vexla.held");
  ExpectAbsent(r, "/tmp/Linuxi386Vpxx.tar.Z");
}

// Nothing of the product reached the machine.
void ExpectNothingInstalled(const SandboxResult& r) {
  for (const char* path : {"/opt/Vexla", "/usr/Vexla", "/var/spool/Vexla", "/usr/bin/vprint", "/usr/bin/vpqadmin",
                           "/usr/share/ppd"})
    EXPECT_FALSE(r.Changed(path)) << path;
}

// Whether the sandbox's tree is the host's again, outside /tmp, /root, the
// lock's files and the history (which keeps the runs' lines):
// nothing added or deleted, and every folder the run touched has the
// host's kind, mode and owners. Names what differs.
std::string DifferencesFromTheHost(const SandboxResult& r) {
  std::string out;
  for (const std::string& change : r.changes) {
    const std::string path = change.substr(2);
    // (The lock and the file naming its holder stay, as every lock file
    // does, and the history keeps the run's line.)
    if (path.rfind("/tmp/", 0) == 0 || path.rfind("/root/", 0) == 0 || path == kLockFile || path == kLockHolderFile ||
        path == kHistoryFile)
      continue;
    if (change[0] != 'M') {
      out += change + "\n";
      continue;
    }
    struct stat host, now;
    if (lstat(path.c_str(), &host) != 0 || lstat(r.Upper(path).c_str(), &now) != 0 || host.st_mode != now.st_mode ||
        host.st_uid != now.st_uid || host.st_gid != now.st_gid)
      out += change + " (kind, mode or owner)\n";
  }
  return out;
}
