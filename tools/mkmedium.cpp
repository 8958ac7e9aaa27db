// mkmedium: makes an installation medium for setup from a product folder.
//
// The product folder holds pkg/pkg.list and the files it names. mkmedium
// packs the folder with tar, compresses the stream with compress, cuts it
// into pieces pkg_tar.001, pkg_tar.002, ... as it comes, and writes beside
// them the disks list, the two size files, the marker, the checksum file
// and copies of the installer program and its help file.
//
// This file holds the command line (the usage text, the options read and
// their defaults) and the order of the work; mkmedium.h names the files
// that hold its steps.
#include <getopt.h>
#include <sys/stat.h>

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "mkmedium.h"

namespace fs = std::filesystem;

namespace mkmedium {

namespace {

enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

// Where the built program keeps its string database: beside it.
constexpr const char* kDbBesideProgram = "db/drvcore.vdb";

const char kUsageText[] =
    "Usage: mkmedium [options] -o DIR -p PROGRAM PRODUCT\n"
    "       mkmedium --generate-key KEYFILE [--password-file F | --no-password]\n"
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
    "      --sign KEYFILE      sign the checksum file with the minisign secret key\n"
    "                          KEYFILE (made by minisign -G or --generate-key):\n"
    "                          sha256.minisig (SHA256.SIG with --dos), which\n"
    "                          minisign -Vm sha256 -p KEY.pub checks\n"
    "      --password-file F   the key's password is the first line of F (for\n"
    "                          unattended builds); default: asked on the terminal\n"
    "      --generate-key KEYFILE  make a key pair instead of a medium: the secret\n"
    "                          key KEYFILE (mode 600) and the public key beside it\n"
    "                          (X.key gives X.pub, any other name NAME.pub)\n"
    "      --no-password       store the generated secret key without a password\n"
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
    "  sha256.minisig   with --sign: minisign's signature of sha256 (Ed25519 over\n"
    "                   its BLAKE2b-512 hash); its trusted comment names the\n"
    "                   product folder, the pieces and the SHA-256 of sha256\n"
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
    "With SOURCE_DATE_EPOCH set (seconds since 1970, such as the time of the\n"
    "product's last commit), the medium is reproducible: no time in the archive\n"
    "is later than it, folders and programs are packed with mode 755 and other\n"
    "files with 644 whatever the umask, and isize and tsize are counted from the\n"
    "contents; two builds of equal products with the same program, databases,\n"
    "key and product folder name are then equal byte for byte.\n"
    "\n"
    "Needs GNU tar and compress (Debian package ncompress) on PATH.\n"
    "\n"
    "Exit status: 0 the medium is made; 1 it could not be made (bad product\n"
    "folder, output folder not new or empty or not writable, a tool missing or\n"
    "failing); 2 the command line (or SOURCE_DATE_EPOCH) is wrong. On failure\n"
    "nothing is left in DIR.\n";

// The hint after a wrong command line; the exit status for it.
int TryHelp() {
  std::fprintf(stderr, "Try '%s --help'.\n", kTool);
  return kUsage;
}

int UsageError(const char* what) {
  Complain("%s", what);
  return TryHelp();
}

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

// The options that have a long name only.
enum LongOnly { kHelpFile = 256, kDiskette, kDos, kDb, kNoDb, kSign, kPasswordFile, kGenerateKey, kNoPassword };

const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"output", required_argument, nullptr, 'o'},
    {"program", required_argument, nullptr, 'p'},
    {"help-file", required_argument, nullptr, kHelpFile},
    {"piece-size", required_argument, nullptr, 's'},
    {"diskette", no_argument, nullptr, kDiskette},
    {"dos", no_argument, nullptr, kDos},
    {"db", required_argument, nullptr, kDb},
    {"no-db", no_argument, nullptr, kNoDb},
    {"sign", required_argument, nullptr, kSign},
    {"password-file", required_argument, nullptr, kPasswordFile},
    {"generate-key", required_argument, nullptr, kGenerateKey},
    {"no-password", no_argument, nullptr, kNoPassword},
    {nullptr, 0, nullptr, 0},
};

// The options that name a file or folder, and the field each fills.
const struct {
  int option;
  std::string Options::*field;
} kPathOptions[] = {
    {'o', &Options::output}, {'p', &Options::program}, {kHelpFile, &Options::helpFile}, {kDb, &Options::dbFile},
    {kSign, &Options::signKey}, {kPasswordFile, &Options::passwordFile}, {kGenerateKey, &Options::generateKey}};

// The options that switch something on, and the field each sets.
const struct {
  int option;
  bool Options::*field;
} kSwitchOptions[] = {{kDiskette, &Options::diskette}, {kDos, &Options::dos}, {kNoDb, &Options::noDb},
                         {kNoPassword, &Options::noPassword}};

// Takes the option c that getopt_long read (its argument in optarg) into
// opts. Returns -1 to go on, else the exit status.
int TakeOption(int c, Options* opts) {
  for (const auto& path : kPathOptions) {
    if (path.option != c) continue;
    opts->*path.field = optarg;
    return -1;
  }
  for (const auto& on : kSwitchOptions) {
    if (on.option != c) continue;
    opts->*on.field = true;
    return -1;
  }
  switch (c) {
    case 'h':
      std::fputs(kUsageText, stdout);
      return kOk;
    case 's':
      if (ParseSize(optarg, &opts->pieceSize)) return -1;
      Complain("bad piece size '%s': give a number of bytes from 1 to 4G, optionally with K or M", optarg);
      return TryHelp();
    default:  // getopt_long has said what is wrong
      return TryHelp();
  }
}

// The string database: the one given, else the one beside the program
// unless --no-db; and the translations beside it.
void ChooseDatabases(Options* opts) {
  if (!opts->noDb && opts->dbFile.empty()) {
    std::string beside = fs::path(opts->program).parent_path() / kDbBesideProgram;
    struct stat st;
    if (stat(beside.c_str(), &st) == 0 && S_ISREG(st.st_mode)) opts->dbFile = beside;
  }
  if (!opts->dbFile.empty()) opts->languages = FindTranslations(opts->dbFile);
}

// SOURCE_DATE_EPOCH into opts: unset or empty, the build is as always;
// digits, the build is reproducible; anything else is refused rather than
// taken for a build that is not what was asked. Returns -1 to go on, else
// the exit status.
int ReadSourceDateEpoch(Options* opts) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (epoch == nullptr || *epoch == '\0') return -1;
  const size_t digits = std::strspn(epoch, "0123456789");
  // Eleven digits reach past the year 5000, well inside tar's times.
  if (epoch[digits] != '\0' || digits > 11) {
    Complain("SOURCE_DATE_EPOCH '%s' is not a time in seconds since 1970", epoch);
    return kUsage;
  }
  opts->sourceDateEpoch = epoch;
  return -1;
}

// Reads the command line into opts. Returns -1 to go on, else the exit status.
int ReadOptions(int argc, char** argv, Options* opts) {
  int c;
  while ((c = getopt_long(argc, argv, "ho:p:s:", kLongOptions, nullptr)) != -1)
    if (const int status = TakeOption(c, opts); status >= 0) return status;
  if (!opts->generateKey.empty()) {
    if (optind < argc || !opts->signKey.empty() || !opts->output.empty())
      return UsageError("--generate-key makes a key pair alone: no medium, no --sign");
    if (opts->noPassword && !opts->passwordFile.empty())
      return UsageError("--password-file and --no-password exclude each other");
    return -1;
  }
  if (opts->noPassword) return UsageError("--no-password goes with --generate-key");
  if (!opts->passwordFile.empty() && opts->signKey.empty()) return UsageError("--password-file needs --sign");
  if (optind >= argc) return UsageError("no product folder given");
  if (optind + 1 < argc) return UsageError("more than one product folder given");
  opts->product = argv[optind];
  if (opts->output.empty()) return UsageError("no output folder given (-o DIR)");
  if (opts->program.empty()) return UsageError("no installer program given (-p PROGRAM)");
  if (opts->noDb && !opts->dbFile.empty()) return UsageError("--db and --no-db exclude each other");
  ChooseDatabases(opts);
  return ReadSourceDateEpoch(opts);
}

// Packs the product into pieces, then writes the rest of the medium beside
// them; the checksum file last, once every file it covers is there. On
// failure the output folder is removed again.
int MakeMedium(const Options& opts) {
  const MediumNames& names = MediumNamesFor(opts.dos);
  if (!CheckInputs(opts)) return kFailed;
  MinisignSecretKey key;
  if (!opts.signKey.empty() && !OpenSigningKey(opts, &key)) return kFailed;
  unsigned long long treeKiB = 0;
  if (!TreeKiB(opts.product, opts.Reproducible(), &treeKiB)) return kFailed;

  OutputDir out;
  if (!out.Open(opts.output)) return kFailed;
  Archive archive;
  if (!PackProduct(opts, out, names, &archive)) return kFailed;
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
  if (!opts.signKey.empty() && !WriteSignature(opts, out, names, pieces, key)) return kFailed;

  out.Keep();
  PrintReport(opts, out, files, archive, pieces, isize, tsize);
  return kOk;
}

}  // namespace

}  // namespace mkmedium

int main(int argc, char** argv) {
  // A tool that ends early shows as its exit status, not as our death.
  signal(SIGPIPE, SIG_IGN);
  mkmedium::Options opts;
  int status = mkmedium::ReadOptions(argc, argv, &opts);
  if (status >= 0) return status;
  if (!opts.generateKey.empty()) return mkmedium::GenerateKeyPair(opts) ? 0 : 1;
  return mkmedium::MakeMedium(opts);
}
