// mkmedium: makes an installation medium for setup from a product folder.
//
// The product folder holds pkg/pkg.list and the files it names. mkmedium
// packs the folder with tar, compresses the stream with compress, cuts it
// into pieces pkg_tar.001, pkg_tar.002, ... as it comes, and writes beside
// them the disks list, the two size files, the marker, the checksum file
// and copies of the installer program and its help file. tar and compress
// are started directly (fork/exec, never through a shell), run side by
// side, and their exit statuses are checked.
#include <fcntl.h>
#include <getopt.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Sha256.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTool = "mkmedium";
constexpr unsigned long long kDisketteBytes = 1474560;  // 1440 KiB
// The installer reads at most this much of the disks list.
constexpr size_t kMaxDisksListBytes = 4095;
// Piece names carry a three-digit number.
constexpr unsigned kMaxPieces = 999;
// Sizes are counted in whole blocks of the usual file systems of the target.
constexpr unsigned long long kBlock = 4096;

enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

// File names on the medium: the plain set, and the upper-case set of a
// DOS-formatted diskette, which holds only upper-case 8.3 names.
struct MediumNames {
  const char* program;
  const char* helpFile;
  const char* marker;
  const char* isize;
  const char* tsize;
  const char* disks;
  const char* piecePrefix;
  const char* dbFolder;  // the menu engine's string database: <dbFolder>/<dbFile>
  const char* dbFile;
  const char* checksums;
};
const MediumNames kUnixNames = {"setup", "setup.hlp", "installf.rom", "isize", "tsize",
                                "disks", "pkg_tar.",  "db",           "drvcore.vdb", "sha256"};
const MediumNames kDosNames = {"SETUP", "SETUP.HLP", "INSTALLF.ROM", "ISIZE", "TSIZE",
                               "DISKS", "PKG_TAR.",  "DB",           "DRVCORE.VDB", "SHA256"};
// Where the built program keeps its string database: beside it.
constexpr const char* kDbBesideProgram = "db/drvcore.vdb";

const char kUsageText[] =
    "Usage: mkmedium [options] -o DIR -p PROGRAM PRODUCT\n"
    "\n"
    "Makes an installation medium for setup in the new or empty folder DIR from\n"
    "the product folder PRODUCT, which holds pkg/pkg.list and the files it names.\n"
    "\n"
    "Options:\n"
    "  -o, --output DIR        the medium folder to write; it must not exist yet\n"
    "                          (its parent must) or be empty\n"
    "  -p, --program PATH      the installer program, copied in as \"setup\"\n"
    "      --help-file PATH    a help file, copied in as \"setup.hlp\"\n"
    "      --db FILE           the menu engine's English string database (made\n"
    "                          from nls/drvcore.txt by the build), copied in as\n"
    "                          db/drvcore.vdb, with its translations LANG/NAME\n"
    "                          beside it (NAME the name of FILE, LANG such as\n"
    "                          fr_FR), copied in as db/LANG/drvcore.vdb; default:\n"
    "                          db/drvcore.vdb beside PROGRAM when there is one\n"
    "                          (the build puts it and db/LANG/drvcore.vdb there)\n"
    "      --no-db             put no string database on the medium (the menus\n"
    "                          of setup then show \"Error\" for their texts)\n"
    "  -s, --piece-size SIZE   bytes per archive piece; a K (1024) or M (1048576)\n"
    "                          suffix multiplies; default 1440K = 1474560, a diskette\n"
    "      --diskette          mark the medium as a diskette set (the marker\n"
    "                          installf.rom says \"diskette\"); default: an\n"
    "                          installation site (\"installation site\")\n"
    "      --dos               DOS diskette names: every file of the medium gets its\n"
    "                          upper-case name (SETUP, SETUP.HLP, INSTALLF.ROM, ISIZE,\n"
    "                          TSIZE, DISKS, PKG_TAR.001, ..., DB/DRVCORE.VDB,\n"
    "                          DB/FR_FR/DRVCORE.VDB), and so does every name in\n"
    "                          the list DISKS\n"
    "  -h, --help              print this text and exit\n"
    "\n"
    "What the medium holds:\n"
    "  pkg_tar.001 ...  the product archive (tar of PRODUCT's contents, owner and\n"
    "                   group root, then compress) cut into pieces of SIZE bytes;\n"
    "                   all pieces but the last are exactly SIZE bytes\n"
    "  disks            every file of the medium, one a line, the list itself\n"
    "                   included, then the line end_of_list\n"
    "  isize            kilobyte blocks the installed product needs: what du -sk\n"
    "                   reports for PRODUCT, every file and folder counted in whole\n"
    "                   4 KiB blocks at least\n"
    "  tsize            kilobyte blocks the work area holds at its peak during an\n"
    "                   install: the work folder with a copy of every file of the\n"
    "                   medium, the joined compressed archive, the uncompressed tar\n"
    "                   and the unpacked tree, counted the same way\n"
    "  installf.rom     \"installation site\" or \"diskette\", without a line end\n"
    "  sha256           the SHA-256 of every other file the disks list names but\n"
    "                   the marker (which the menu of setup rewrites), one\n"
    "                   \"<64 hex digits>  <name>\" a line, as sha256sum writes them\n"
    "                   (sha256sum -c sha256 checks a medium by hand); setup checks\n"
    "                   every file against it before it joins the archive\n"
    "  setup, setup.hlp the installer program (mode 755) and its help file\n"
    "  db/drvcore.vdb   the string database, where setup looks for it, and its\n"
    "  db/LANG/...      translations (setup opens the one of the language that\n"
    "                   LANG chooses, English otherwise); the disks list names\n"
    "                   them too, so that copies of the medium (a site made\n"
    "                   from the menu of setup) take them along\n"
    "\n"
    "When standard output is a terminal, the pieces and bytes written so far\n"
    "are shown on one line while the archive is cut; otherwise only the closing\n"
    "report is printed.\n"
    "\n"
    "Needs GNU tar and compress (Debian package ncompress) on PATH.\n"
    "\n"
    "Exit status: 0 the medium is made; 1 it could not be made (bad product\n"
    "folder, output folder not new or empty or not writable, a tool missing or\n"
    "failing); 2 the command line is wrong. On failure nothing is left in DIR.\n";

[[gnu::format(printf, 1, 2)]] void Complain(const char* format, ...) {
  std::fprintf(stderr, "%s: ", kTool);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

// The message for a failed call, from errno.
[[gnu::format(printf, 1, 2)]] void ComplainErrno(const char* format, ...) {
  int saved = errno;
  std::fprintf(stderr, "%s: ", kTool);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fprintf(stderr, ": %s\n", std::strerror(saved));
}

int UsageError(const char* what) {
  Complain("%s", what);
  std::fprintf(stderr, "Try '%s --help'.\n", kTool);
  return kUsage;
}

// An open file descriptor, closed when the object goes.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now; false when the close reports an error (a lost write).
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// Reads "1474560", "1440K" or "2M" (the suffix in either case) into bytes.
// False for anything else, for 0 and for sizes past 4 GiB.
bool ParseSize(const char* text, unsigned long long* bytes) {
  if (text == nullptr || *text < '0' || *text > '9') return false;
  unsigned long long value = 0;
  const char* p = text;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > (1ULL << 32)) return false;
  }
  unsigned long long scale = 1;
  if (*p == 'K' || *p == 'k') {
    scale = 1024, ++p;
  } else if (*p == 'M' || *p == 'm') {
    scale = 1024 * 1024, ++p;
  }
  if (*p != '\0') return false;
  value *= scale;
  if (value == 0 || value > (1ULL << 32)) return false;
  *bytes = value;
  return true;
}

// The full path of program on PATH, or empty when there is none.
std::string FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    std::string full = dir + "/" + program;
    struct stat st;
    if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0) return full;
    start = end + 1;
  }
  return {};
}

// Starts the program with the arguments (args[0] is its name), its standard
// input and output from the descriptors given (-1: this program's own;
// our other descriptors are opened close-on-exec). The process id, or -1
// after saying why.
pid_t StartTool(const std::string& program, const std::vector<std::string>& args, int in = -1, int out = -1) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid < 0) {
    ComplainErrno("cannot start %s", args[0].c_str());
    return -1;
  }
  if (pid == 0) {
    if ((in >= 0 && dup2(in, 0) < 0) || (out >= 0 && dup2(out, 1) < 0)) _exit(127);
    // We ignore SIGPIPE; the tools must see a closed pipe the usual way.
    signal(SIGPIPE, SIG_DFL);
    execv(program.c_str(), argv.data());
    std::fprintf(stderr, "%s: cannot run %s: %s\n", kTool, program.c_str(), std::strerror(errno));
    _exit(127);
  }
  return pid;
}

// Waits for the program started as pid. True when it exited with status 0;
// otherwise says why (when report is true).
bool WaitTool(pid_t pid, const std::string& name, bool report = true) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      ComplainErrno("cannot wait for %s", name.c_str());
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (!report) return false;
  if (WIFEXITED(status))
    Complain("%s failed with exit status %d", name.c_str(), WEXITSTATUS(status));
  else if (WIFSIGNALED(status))
    Complain("%s was killed by signal %d", name.c_str(), WTERMSIG(status));
  else
    Complain("%s ended abnormally", name.c_str());
  return false;
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Makes the new file path (never through an existing entry) with exactly
// the mode given, whatever the umask.
Fd CreateNew(const std::string& path, mode_t mode) {
  Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd.ok()) {
    ComplainErrno("cannot create %s", path.c_str());
    return fd;
  }
  if (fchmod(fd.get(), mode) != 0) {
    ComplainErrno("cannot set the mode of %s", path.c_str());
    return Fd();
  }
  return fd;
}

bool FinishFile(Fd& fd, const std::string& path) {
  if (!fd.Close()) {
    ComplainErrno("cannot write %s", path.c_str());
    return false;
  }
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& text, mode_t mode) {
  Fd fd = CreateNew(path, mode);
  if (!fd.ok()) return false;
  if (!WriteAll(fd.get(), text.data(), text.size())) {
    ComplainErrno("cannot write %s", path.c_str());
    return false;
  }
  return FinishFile(fd, path);
}

// Copies the regular file from into the new file to with the given mode.
bool CopyFile(const std::string& from, const std::string& to, mode_t mode) {
  Fd in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (!in.ok()) {
    ComplainErrno("cannot read %s", from.c_str());
    return false;
  }
  Fd out = CreateNew(to, mode);
  if (!out.ok()) return false;
  char buf[65536];
  for (;;) {
    ssize_t n = read(in.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ComplainErrno("cannot read %s", from.c_str());
      return false;
    }
    if (n == 0) break;
    if (!WriteAll(out.get(), buf, static_cast<size_t>(n))) {
      ComplainErrno("cannot write %s", to.c_str());
      return false;
    }
  }
  return FinishFile(out, to);
}

// Kilobyte blocks an entry of this size occupies: whole 4 KiB blocks, or
// what the file system here allocates when that is more.
unsigned long long EntryKiB(unsigned long long bytes, unsigned long long allocated = 0) {
  unsigned long long rounded = (bytes + kBlock - 1) / kBlock * kBlock;
  if (allocated > rounded) rounded = allocated;
  return (rounded + 1023) / 1024;
}

unsigned long long FileKiB(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return 0;
  return EntryKiB(static_cast<unsigned long long>(st.st_size), static_cast<unsigned long long>(st.st_blocks) * 512);
}

// Kilobyte blocks the tree dir occupies, dir itself included; hard-linked
// files count once, as du counts them. False on a read error.
bool TreeKiB(const std::string& dir, unsigned long long* total) {
  *total += FileKiB(dir);
  std::set<std::pair<dev_t, ino_t>> seen;
  std::error_code ec;
  fs::recursive_directory_iterator it(dir, fs::directory_options::none, ec);
  for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    struct stat st;
    if (lstat(it->path().c_str(), &st) != 0) {
      ComplainErrno("cannot read %s", it->path().c_str());
      return false;
    }
    if (st.st_nlink > 1 && !S_ISDIR(st.st_mode) && !seen.insert({st.st_dev, st.st_ino}).second) continue;
    *total +=
        EntryKiB(static_cast<unsigned long long>(st.st_size), static_cast<unsigned long long>(st.st_blocks) * 512);
  }
  if (ec) {
    Complain("cannot read the product folder %s: %s", dir.c_str(), ec.message().c_str());
    return false;
  }
  return true;
}

// The output folder: new or empty. Unless Keep() is called, whatever was
// written into it goes again (and the folder too, when it was made here).
class OutputDir {
 public:
  bool Open(const std::string& path) {
    path_ = path;
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode)) {
        Complain("the output %s exists and is not a folder", path.c_str());
        return false;
      }
      std::error_code ec;
      if (!fs::is_empty(path, ec) || ec) {
        Complain("the output folder %s is not empty; give a new or empty folder", path.c_str());
        return false;
      }
      if (access(path.c_str(), W_OK | X_OK) != 0) {
        ComplainErrno("cannot write into the output folder %s", path.c_str());
        return false;
      }
      opened_ = true;
      return true;
    }
    if (errno != ENOENT && errno != ENOTDIR) {
      ComplainErrno("cannot use the output folder %s", path.c_str());
      return false;
    }
    if (mkdir(path.c_str(), 0755) != 0) {
      ComplainErrno("cannot create the output folder %s", path.c_str());
      return false;
    }
    made_ = true;
    opened_ = true;
    return true;
  }
  void Keep() { keep_ = true; }
  ~OutputDir() {
    if (!opened_ || keep_) return;
    std::error_code ec;
    if (made_) {
      fs::remove_all(path_, ec);
      return;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(path_, ec)) {
      std::error_code ignored;
      fs::remove_all(e.path(), ignored);
    }
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  bool opened_ = false;
  bool made_ = false;
  bool keep_ = false;
};

struct Options {
  std::string product;
  std::string output;
  std::string program;
  std::string helpFile;
  std::string dbFile;
  std::vector<std::string> languages;  // translations of dbFile found beside it
  bool noDb = false;
  unsigned long long pieceSize = kDisketteBytes;
  bool diskette = false;
  bool dos = false;
};

// A language folder's name: two lower-case letters, '_' and two upper-case
// ones, as the LANG values that setup understands (fr_FR, ge_GE, pr_BR).
bool IsLanguageName(const std::string& name) {
  return name.size() == 5 && std::islower(static_cast<unsigned char>(name[0])) &&
         std::islower(static_cast<unsigned char>(name[1])) && name[2] == '_' &&
         std::isupper(static_cast<unsigned char>(name[3])) && std::isupper(static_cast<unsigned char>(name[4]));
}

// The languages whose translation of the database dbFile lies beside it, as
// <its folder>/<LANG>/<its name> (the build places them so), sorted.
std::vector<std::string> FindTranslations(const std::string& dbFile) {
  const fs::path db(dbFile);
  std::vector<std::string> languages;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(db.parent_path().empty() ? "." : db.parent_path(), ec)) {
    const std::string name = e.path().filename();
    struct stat st;
    if (IsLanguageName(name) && stat((e.path() / db.filename()).c_str(), &st) == 0 && S_ISREG(st.st_mode))
      languages.push_back(name);
  }
  std::sort(languages.begin(), languages.end());
  return languages;
}

// The translation's file beside the database dbFile.
std::string TranslationFile(const std::string& dbFile, const std::string& language) {
  const fs::path db(dbFile);
  return db.parent_path() / language / db.filename();
}

// The name of the string database on the medium: <db>/<file> for English
// (language empty), <db>/<LANG>/<file> for a translation; upper case on a
// DOS medium.
std::string MediumDbName(const MediumNames& names, const std::string& language) {
  std::string folder = language;
  if (&names == &kDosNames)
    for (char& c : folder) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return std::string(names.dbFolder) + "/" + (folder.empty() ? "" : folder + "/") + names.dbFile;
}

// Reads the command line into opts. Returns -1 to go on, else the exit status.
int ReadOptions(int argc, char** argv, Options* opts) {
  enum { kHelpFile = 256, kDiskette, kDos, kDb, kNoDb };
  static const option kLong[] = {
      {"help", no_argument, nullptr, 'h'},
      {"output", required_argument, nullptr, 'o'},
      {"program", required_argument, nullptr, 'p'},
      {"help-file", required_argument, nullptr, kHelpFile},
      {"piece-size", required_argument, nullptr, 's'},
      {"diskette", no_argument, nullptr, kDiskette},
      {"dos", no_argument, nullptr, kDos},
      {"db", required_argument, nullptr, kDb},
      {"no-db", no_argument, nullptr, kNoDb},
      {nullptr, 0, nullptr, 0},
  };
  int c;
  while ((c = getopt_long(argc, argv, "ho:p:s:", kLong, nullptr)) != -1) {
    switch (c) {
      case 'h':
        std::fputs(kUsageText, stdout);
        return kOk;
      case 'o':
        opts->output = optarg;
        break;
      case 'p':
        opts->program = optarg;
        break;
      case kHelpFile:
        opts->helpFile = optarg;
        break;
      case 's':
        if (!ParseSize(optarg, &opts->pieceSize)) {
          Complain("bad piece size '%s': give a number of bytes from 1 to 4G, optionally with K or M", optarg);
          std::fprintf(stderr, "Try '%s --help'.\n", kTool);
          return kUsage;
        }
        break;
      case kDiskette:
        opts->diskette = true;
        break;
      case kDos:
        opts->dos = true;
        break;
      case kDb:
        opts->dbFile = optarg;
        break;
      case kNoDb:
        opts->noDb = true;
        break;
      default:  // getopt_long has said what is wrong
        std::fprintf(stderr, "Try '%s --help'.\n", kTool);
        return kUsage;
    }
  }
  if (optind >= argc) return UsageError("no product folder given");
  if (optind + 1 < argc) return UsageError("more than one product folder given");
  opts->product = argv[optind];
  if (opts->output.empty()) return UsageError("no output folder given (-o DIR)");
  if (opts->program.empty()) return UsageError("no installer program given (-p PROGRAM)");
  if (opts->noDb && !opts->dbFile.empty()) return UsageError("--db and --no-db exclude each other");
  if (!opts->noDb && opts->dbFile.empty()) {
    std::string beside = fs::path(opts->program).parent_path() / kDbBesideProgram;
    struct stat st;
    if (stat(beside.c_str(), &st) == 0 && S_ISREG(st.st_mode)) opts->dbFile = beside;
  }
  if (!opts->dbFile.empty()) opts->languages = FindTranslations(opts->dbFile);
  return -1;
}

bool CheckRegularFile(const std::string& path, const char* what) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    ComplainErrno("no %s %s", what, path.c_str());
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    Complain("the %s %s is not a regular file", what, path.c_str());
    return false;
  }
  if (access(path.c_str(), R_OK) != 0) {
    ComplainErrno("cannot read the %s %s", what, path.c_str());
    return false;
  }
  return true;
}

bool CheckProduct(const std::string& product) {
  struct stat st;
  if (stat(product.c_str(), &st) != 0) {
    ComplainErrno("no product folder %s", product.c_str());
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    Complain("the product %s is not a folder", product.c_str());
    return false;
  }
  return CheckRegularFile(product + "/pkg/pkg.list", "package list");
}

// The entries of the product folder, sorted, for tar's command line.
bool ProductEntries(const std::string& product, std::vector<std::string>* names) {
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(product, ec)) names->push_back(e.path().filename());
  if (ec) {
    Complain("cannot read the product folder %s: %s", product.c_str(), ec.message().c_str());
    return false;
  }
  std::sort(names->begin(), names->end());
  return true;
}

std::string PieceName(const MediumNames& names, unsigned n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s%03u", names.piecePrefix, n);
  return buf;
}

// What packing the product gave: the archive's size compressed and as tar,
// and the pieces cut from it with the digest of each.
struct Archive {
  unsigned long long bytes = 0;
  unsigned long long tarBytes = 0;
  std::vector<std::string> pieceDigests;  // of pkg_tar.001, pkg_tar.002, ...
};

// How far the cutting is, on one line rewritten in place, when standard
// output is a terminal; nothing otherwise.
class Progress {
 public:
  Progress() : on_(isatty(STDOUT_FILENO) == 1) {}
  void Show(size_t pieces, unsigned long long bytes) {
    if (!on_) return;
    std::printf("\r%s: %zu piece%s written, %llu bytes", kTool, pieces, pieces == 1 ? "" : "s", bytes);
    std::fflush(stdout);
    shown_ = true;
  }
  void End() {
    if (shown_) std::printf("\n");
    shown_ = false;
  }

 private:
  bool on_;
  bool shown_ = false;
};

// Copies the tar stream into compress, counting its bytes; closes both ends.
void ForwardTar(int from, int to, unsigned long long* bytes) {
  std::vector<char> buf(65536);
  for (;;) {
    ssize_t n = read(from, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0 || !WriteAll(to, buf.data(), static_cast<size_t>(n))) break;
    *bytes += static_cast<unsigned long long>(n);
  }
  close(from);
  close(to);
}

// Cuts the compressed stream into pieces of pieceSize bytes in the medium
// folder, each hashed as it is written. Past the most pieces a list can
// name the stream is only counted. False after saying why.
bool CutPieces(int from, const OutputDir& out, const MediumNames& names, unsigned long long pieceSize,
               Archive* archive) {
  Progress progress;
  std::vector<char> buf(65536);
  std::unique_ptr<Fd> piece;
  std::string path;
  Sha256 sum;
  unsigned long long inPiece = 0;
  auto finishPiece = [&] {
    inPiece = 0;
    if (!piece) return true;
    const bool ok = FinishFile(*piece, path);
    piece.reset();
    archive->pieceDigests.push_back(sum.HexDigest());
    progress.Show(archive->pieceDigests.size(), archive->bytes);
    return ok;
  };
  for (;;) {
    ssize_t got = read(from, buf.data(), buf.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      ComplainErrno("cannot read the output of compress");
      return false;
    }
    if (got == 0) break;
    for (size_t at = 0; at < static_cast<size_t>(got);) {
      if (inPiece == 0 && archive->pieceDigests.size() < kMaxPieces) {
        path = out.File(PieceName(names, static_cast<unsigned>(archive->pieceDigests.size() + 1)));
        piece = std::make_unique<Fd>(CreateNew(path, 0644));
        if (!piece->ok()) return false;
        sum = Sha256();
      }
      const size_t n = static_cast<size_t>(std::min<unsigned long long>(pieceSize - inPiece, got - at));
      if (piece && !WriteAll(piece->get(), buf.data() + at, n)) {
        ComplainErrno("cannot write %s", path.c_str());
        return false;
      }
      if (piece) sum.Update(buf.data() + at, n);
      at += n;
      inPiece += n;
      archive->bytes += n;
      if (inPiece == pieceSize && !finishPiece()) return false;
    }
  }
  const bool ok = inPiece == 0 || finishPiece();
  progress.End();
  return ok;
}

// Packs the product with tar, compresses the stream with compress and cuts
// it into the pieces of the medium, all at once: tar and compress run side
// by side, and no archive is kept anywhere but in the pieces.
bool PackProduct(const std::string& product, const OutputDir& out, const MediumNames& names,
                 unsigned long long pieceSize, Archive* archive) {
  std::string tar = FindOnPath("tar");
  if (tar.empty()) {
    Complain("cannot find the program tar on PATH");
    return false;
  }
  std::string compress = FindOnPath("compress");
  if (compress.empty()) {
    Complain("cannot find the program compress on PATH (on Debian it comes with the package ncompress)");
    return false;
  }
  std::vector<std::string> entries;
  if (!ProductEntries(product, &entries)) return false;
  // Owner and group root: the installer unpacks as root and copies with
  // cp -p, so the packager's own ids must not reach the target.
  std::vector<std::string> tarArgs = {
      "tar", "-cf",   "-", "--format=ustar", "--owner=0", "--group=0", "--numeric-owner", "--sort=name",
      "-C",  product, "--"};
  tarArgs.insert(tarArgs.end(), entries.begin(), entries.end());
  int tarOut[2], zIn[2], zOut[2];
  if (pipe2(tarOut, O_CLOEXEC) != 0 || pipe2(zIn, O_CLOEXEC) != 0 || pipe2(zOut, O_CLOEXEC) != 0) {
    ComplainErrno("cannot make a pipe");
    return false;
  }
  const pid_t tarPid = StartTool(tar, tarArgs, -1, tarOut[1]);
  close(tarOut[1]);
  // -f: compress even when that saves nothing, instead of refusing.
  const pid_t zPid = StartTool(compress, {"compress", "-c", "-f"}, zIn[0], zOut[1]);
  close(zIn[0]);
  close(zOut[1]);
  std::thread forward(ForwardTar, tarOut[0], zIn[1], &archive->tarBytes);
  bool cut = CutPieces(zOut[0], out, names, pieceSize, archive);
  // Closing our end stops compress, and so tar, when the cutting failed.
  close(zOut[0]);
  forward.join();
  // A tool stopped because the cutting failed has nothing to add, nor has
  // a tar stopped because compress ended.
  const bool zOk = zPid > 0 && WaitTool(zPid, "compress", cut);
  const bool tarOk = tarPid > 0 && WaitTool(tarPid, "tar", cut && zOk);
  if (!cut || !tarOk || !zOk) return false;
  if (archive->bytes == 0) {
    Complain("compress made no archive");
    return false;
  }
  return true;
}

// Whether the checksum file covers name: every file but the marker and
// itself.
bool Checksummed(const std::string& name, const MediumNames& names) {
  return name != names.marker && name != names.checksums;
}

// Bytes of the checksum file: one line of 64 digits, two blanks and the
// name for each file it covers.
unsigned long long ChecksumFileBytes(const std::vector<std::string>& files, const MediumNames& names) {
  unsigned long long bytes = 0;
  for (const std::string& f : files)
    if (Checksummed(f, names)) bytes += 64 + 2 + f.size() + 1;
  return bytes;
}

// Writes the checksum file of the medium, once every other file is there;
// the pieces were hashed as they were cut.
bool WriteChecksums(const OutputDir& out, const std::vector<std::string>& files, const MediumNames& names,
                    const Archive& archive) {
  std::map<std::string, std::string> known;
  for (size_t i = 0; i < archive.pieceDigests.size(); ++i)
    known[PieceName(names, static_cast<unsigned>(i + 1))] = archive.pieceDigests[i];
  std::string text;
  for (const std::string& f : files) {
    if (!Checksummed(f, names)) continue;
    std::string hex;
    if (auto k = known.find(f); k != known.end()) {
      hex = k->second;
    } else if (!Sha256File(out.File(f).c_str(), &hex)) {
      ComplainErrno("cannot read %s for its checksum", out.File(f).c_str());
      return false;
    }
    text += hex + "  " + f + "\n";
  }
  return WriteTextFile(out.File(names.checksums), text, 0644);
}

// What the marker says the medium is.
const char* Marker(const Options& opts) { return opts.diskette ? "diskette" : "installation site"; }

// Every input named on the command line is there before anything is made.
bool CheckInputs(const Options& opts) {
  if (!CheckProduct(opts.product)) return false;
  if (!CheckRegularFile(opts.program, "installer program")) return false;
  if (!opts.helpFile.empty() && !CheckRegularFile(opts.helpFile, "help file")) return false;
  if (!opts.dbFile.empty() && !CheckRegularFile(opts.dbFile, "string database")) return false;
  for (const std::string& language : opts.languages)
    if (!CheckRegularFile(TranslationFile(opts.dbFile, language), "string database")) return false;
  return true;
}

// The number of pieces the archive was cut into; 0 after saying why, when
// that is more than piece names can number.
unsigned CountPieces(const Archive& archive, unsigned long long pieceSize) {
  const unsigned long long count = (archive.bytes + pieceSize - 1) / pieceSize;
  if (count > kMaxPieces) {
    Complain(
        "the archive of %llu bytes would make %llu pieces of %llu bytes; at most %u can be named: "
        "give a larger --piece-size",
        archive.bytes, count, pieceSize, kMaxPieces);
    return 0;
  }
  return static_cast<unsigned>(count);
}

// Every file of the medium, in the order of the disks list.
std::vector<std::string> MediumFiles(const Options& opts, const MediumNames& names, unsigned pieces) {
  std::vector<std::string> files = {names.program};
  if (!opts.helpFile.empty()) files.push_back(names.helpFile);
  if (!opts.dbFile.empty()) files.push_back(MediumDbName(names, ""));
  for (const std::string& language : opts.languages) files.push_back(MediumDbName(names, language));
  files.insert(files.end(), {names.marker, names.isize, names.tsize, names.disks, names.checksums});
  for (unsigned n = 1; n <= pieces; ++n) files.push_back(PieceName(names, n));
  return files;
}

// The text of the disks list; empty after saying why, when the installer
// could not read it whole.
std::string DisksList(const std::vector<std::string>& files) {
  std::string list;
  for (const std::string& f : files) list += f + "\n";
  list += "end_of_list\n";
  if (list.size() > kMaxDisksListBytes) {
    Complain(
        "the disks list would be %zu bytes, but the installer reads only %zu: "
        "give a larger --piece-size",
        list.size(), kMaxDisksListBytes);
    return "";
  }
  return list;
}

// Copies the installer program, its help file and the string databases
// (in the db folder, one folder a language in it) onto the medium.
bool CopyInputs(const Options& opts, const OutputDir& out, const MediumNames& names) {
  if (!CopyFile(opts.program, out.File(names.program), 0755)) return false;
  if (!opts.helpFile.empty() && !CopyFile(opts.helpFile, out.File(names.helpFile), 0644)) return false;
  if (opts.dbFile.empty()) return true;
  std::vector<std::string> folders = {names.dbFolder};
  for (const std::string& language : opts.languages)
    folders.push_back(fs::path(MediumDbName(names, language)).parent_path());
  for (const std::string& folder : folders) {
    if (mkdir(out.File(folder).c_str(), 0755) != 0 || chmod(out.File(folder).c_str(), 0755) != 0) {
      ComplainErrno("cannot create the folder %s", out.File(folder).c_str());
      return false;
    }
  }
  if (!CopyFile(opts.dbFile, out.File(MediumDbName(names, "")), 0644)) return false;
  for (const std::string& language : opts.languages)
    if (!CopyFile(TranslationFile(opts.dbFile, language), out.File(MediumDbName(names, language)), 0644))
      return false;
  return true;
}

// The work area at its peak, in KiB: the work folder itself, a copy of
// every file of the medium (tsize, still to be written, holds a short
// number: one block; the checksum file is counted from its line lengths),
// the joined archive, the tar it uncompresses to and the tree.
unsigned long long WorkAreaKiB(const Options& opts, const OutputDir& out, const MediumNames& names,
                               const std::vector<std::string>& files, const Archive& archive,
                               unsigned long long treeKiB) {
  const unsigned long long workFolderKiB = EntryKiB(1), tsizeFileKiB = EntryKiB(1);
  unsigned long long tsize = workFolderKiB + tsizeFileKiB;
  // The db folder and its language folders in the work folder.
  if (!opts.dbFile.empty()) tsize += EntryKiB(1) * (1 + opts.languages.size());
  for (const std::string& f : files) {
    if (f == names.checksums) {
      tsize += EntryKiB(ChecksumFileBytes(files, names));
    } else if (f != names.tsize) {
      tsize += FileKiB(out.File(f));
    }
  }
  return tsize + EntryKiB(archive.bytes) + EntryKiB(archive.tarBytes) + treeKiB;
}

void PrintReport(const Options& opts, const OutputDir& out, const std::vector<std::string>& files,
                 const Archive& archive, unsigned pieces, unsigned long long isize, unsigned long long tsize) {
  std::printf("%s: made the medium %s (%s%s) from %s:\n", kTool, opts.output.c_str(), Marker(opts),
              opts.dos ? ", DOS names" : "", opts.product.c_str());
  for (const std::string& f : files) {
    struct stat fst;
    long long bytes = stat(out.File(f).c_str(), &fst) == 0 ? static_cast<long long>(fst.st_size) : 0;
    std::printf("  %-14s %10lld bytes\n", f.c_str(), bytes);
  }
  std::printf("  archive %llu bytes compressed (%llu as tar) in %u piece%s of at most %llu bytes\n", archive.bytes,
              archive.tarBytes, pieces, pieces == 1 ? "" : "s", opts.pieceSize);
  std::printf("  isize %llu KiB, tsize %llu KiB\n", isize, tsize);
}

// Packs the product into pieces, then writes the rest of the medium beside
// them; the checksum file last, once every file it covers is there. On
// failure the output folder is removed again.
int MakeMedium(const Options& opts) {
  const MediumNames& names = opts.dos ? kDosNames : kUnixNames;
  if (!CheckInputs(opts)) return kFailed;
  unsigned long long treeKiB = 0;
  if (!TreeKiB(opts.product, &treeKiB)) return kFailed;

  OutputDir out;
  if (!out.Open(opts.output)) return kFailed;
  Archive archive;
  if (!PackProduct(opts.product, out, names, opts.pieceSize, &archive)) return kFailed;
  const unsigned pieces = CountPieces(archive, opts.pieceSize);
  if (pieces == 0) return kFailed;
  const std::vector<std::string> files = MediumFiles(opts, names, pieces);
  const std::string list = DisksList(files);
  if (list.empty()) return kFailed;

  if (!CopyInputs(opts, out, names)) return kFailed;
  if (!WriteTextFile(out.File(names.marker), Marker(opts), 0644)) return kFailed;
  if (!WriteTextFile(out.File(names.disks), list, 0644)) return kFailed;
  const unsigned long long isize = treeKiB;
  if (!WriteTextFile(out.File(names.isize), std::to_string(isize) + "\n", 0644)) return kFailed;
  const unsigned long long tsize = WorkAreaKiB(opts, out, names, files, archive, treeKiB);
  if (!WriteTextFile(out.File(names.tsize), std::to_string(tsize) + "\n", 0644)) return kFailed;
  if (!WriteChecksums(out, files, names, archive)) return kFailed;

  out.Keep();
  PrintReport(opts, out, files, archive, pieces, isize, tsize);
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  // A tool that ends early shows as its exit status, not as our death.
  signal(SIGPIPE, SIG_IGN);
  Options opts;
  int status = ReadOptions(argc, argv, &opts);
  if (status >= 0) return status;
  return MakeMedium(opts);
}
