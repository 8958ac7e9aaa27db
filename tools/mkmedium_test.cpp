// Tests of the medium builder: they run the built mkmedium on small products
// made in a scratch folder, and on the sample product, and look at the media.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "test_support.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs mkmedium (or the program given) with the arguments; TMPDIR points
// into the scratch folder, and PATH is replaced when one is given.
ToolRun RunMkmedium(const ScratchDir& scratch, const std::vector<std::string>& args, const char* path = nullptr,
                    const char* program = MKMEDIUM_PATH) {
  std::string tmp = scratch.File("tmp");
  fs::create_directories(tmp);
  std::vector<std::string> env = {"TMPDIR=" + tmp};
  for (char** e = environ; *e != nullptr; ++e) {
    if (std::strncmp(*e, "TMPDIR=", 7) == 0) continue;
    if (path != nullptr && std::strncmp(*e, "PATH=", 5) == 0) continue;
    env.push_back(*e);
  }
  if (path != nullptr) env.push_back(std::string("PATH=") + path);
  std::vector<char*> envp, argv = {const_cast<char*>(program)};
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> copy = args;
  for (std::string& a : copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::string outFile = scratch.File("run.out"), errFile = scratch.File("run.err");
  pid_t pid = fork();
  if (pid == 0) {
    int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    execve(program, argv.data(), envp.data());
    _exit(127);
  }
  ToolRun run;
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadWholeFile(outFile);
  run.err = ReadWholeFile(errFile);
  return run;
}

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen());
  return s;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) names.insert(e.path().filename());
  return names;
}

// Relative path -> content of every regular file below dir.
std::map<std::string, std::string> TreeContents(const std::string& dir) {
  std::map<std::string, std::string> tree;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) tree[fs::relative(e.path(), dir)] = ReadWholeFile(e.path());
  return tree;
}

unsigned long long DuKiB(const std::string& path) {
  std::string out = path + ".du";
  std::string cmd = "du -sk '" + path + "' > '" + out + "'";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return std::strtoull(ReadWholeFile(out).c_str(), nullptr, 10);
}

unsigned long long FileSize(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_size) : 0;
}

// The names of the disks list before end_of_list; expects end_of_list to
// be its last line.
std::vector<std::string> ListedNames(const std::string& list) {
  std::vector<std::string> lines = Lines(list);
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return {};
  EXPECT_EQ(lines.back(), "end_of_list");
  lines.pop_back();
  return lines;
}

// Joins the pieces the list names, as the installer does, uncompresses the
// archive and unpacks it into dir/unpacked, the way the installer does.
// Returns the size of the uncompressed tar.
unsigned long long Unpack(const std::string& medium, const std::vector<std::string>& listed, const std::string& dir,
                          const char* prefix) {
  std::string cmd = "cat";
  for (const std::string& name : listed)
    if (name.rfind(prefix, 0) == 0) cmd += " '" + medium + "/" + name + "'";
  cmd += " > '" + dir + "/a.tar.Z' && uncompress '" + dir + "/a.tar.Z' && mkdir '" + dir + "/unpacked' && cd '" + dir +
         "/unpacked' && tar xfp ../a.tar";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return FileSize(dir + "/a.tar");
}

class Mkmedium : public ::testing::Test {
 protected:
  Mkmedium() {
    program = scratch.Write("setup-program", "#!/bin/sh\necho setup stand-in\n");
    helpFile = scratch.Write("help.html", "<html>help</html>\n");
  }
  // A product of a list, a binary file, an executable and a small tree.
  std::string SmallProduct(size_t binaryBytes = 6000) {
    std::string p = scratch.File("product");
    scratch.Write("product/pkg/pkg.list", "c data.bin\nc tool mode 755\ndir lib\n");
    scratch.Write("product/pkg/data.bin", RandomBytes(binaryBytes, 7));
    scratch.Write("product/pkg/tool", "#!/bin/sh\necho tool\n");
    chmod((p + "/pkg/tool").c_str(), 0755);
    scratch.Write("product/pkg/lib/a/b.txt", "b\n");
    scratch.Write("product/pkg/lib/c.txt", std::string(5000, 'c'));
    return p;
  }
  ToolRun Make(const std::string& product, std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"-o", medium(), "-p", program};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(product);
    return RunMkmedium(scratch, args);
  }
  std::string medium() const { return scratch.File("medium"); }

  ScratchDir scratch;
  std::string program, helpFile;
};

TEST_F(Mkmedium, PiecesJoinToTheProductByteForByte) {
  std::string product = SmallProduct();
  ToolRun run = Make(product, {"--piece-size", "1K", "--help-file", helpFile});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");

  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  std::multiset<std::string> listedSet(listed.begin(), listed.end());
  std::set<std::string> onMedium = FilesIn(medium());
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), onMedium);
  EXPECT_EQ(listedSet.size(), onMedium.size()) << "a name listed twice";
  for (const char* name : {"setup", "setup.hlp", "installf.rom", "isize", "tsize", "disks", "pkg_tar.001"})
    EXPECT_EQ(onMedium.count(name), 1u) << name;

  // Pieces in the order listed: all but the last exactly 1024 bytes.
  std::vector<std::string> pieces;
  for (const std::string& n : listed)
    if (n.rfind("pkg_tar.", 0) == 0) pieces.push_back(n);
  ASSERT_GE(pieces.size(), 3u);
  for (size_t i = 0; i < pieces.size(); ++i) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "pkg_tar.%03zu", i + 1);
    EXPECT_EQ(pieces[i], expected);
    unsigned long long size = FileSize(medium() + "/" + pieces[i]);
    if (i + 1 < pieces.size()) {
      EXPECT_EQ(size, 1024u) << pieces[i];
    } else {
      EXPECT_TRUE(size > 0 && size <= 1024) << size;
    }
  }

  unsigned long long tarBytes = Unpack(medium(), listed, scratch.path(), "pkg_tar.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(product));
  EXPECT_EQ(FilesIn(scratch.File("unpacked")), std::set<std::string>{"pkg"});
  struct stat st;
  ASSERT_EQ(stat(scratch.File("unpacked/pkg/tool").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_EQ(st.st_uid, 0u) << "the archive stores owner root";

  EXPECT_EQ(ReadWholeFile(medium() + "/installf.rom"), "installation site");
  EXPECT_EQ(ReadWholeFile(medium() + "/setup"), ReadWholeFile(program));
  ASSERT_EQ(stat((medium() + "/setup").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0755u);
  EXPECT_EQ(ReadWholeFile(medium() + "/setup.hlp"), ReadWholeFile(helpFile));

  // Sizes in kilobyte blocks: the installed product at least what du says
  // of the product; the work area at least a copy of the medium, the joined
  // and the uncompressed archive and the tree.
  std::string isizeText = ReadWholeFile(medium() + "/isize"), tsizeText = ReadWholeFile(medium() + "/tsize");
  unsigned long long isize = std::strtoull(isizeText.c_str(), nullptr, 10);
  unsigned long long tsize = std::strtoull(tsizeText.c_str(), nullptr, 10);
  EXPECT_EQ(isizeText, std::to_string(isize) + "\n");
  EXPECT_EQ(tsizeText, std::to_string(tsize) + "\n");
  unsigned long long duProduct = DuKiB(product), duMedium = DuKiB(medium());
  unsigned long long archiveKiB = 0;
  for (const std::string& p : pieces) archiveKiB += FileSize(medium() + "/" + p);
  archiveKiB = (archiveKiB + 1023) / 1024;
  EXPECT_GE(isize, duProduct);
  EXPECT_LE(isize, duProduct + 4 * 10);
  unsigned long long least = duMedium + isize + archiveKiB + (tarBytes + 1023) / 1024;
  EXPECT_GE(tsize, least);
  EXPECT_LE(tsize, least + 4 * (onMedium.size() + 10));

  EXPECT_NE(run.out.find("pkg_tar.001"), std::string::npos) << run.out;
  EXPECT_TRUE(FilesIn(scratch.File("tmp")).empty()) << "temporary folder left behind";
}

TEST_F(Mkmedium, DefaultPieceIsADiskette) {
  // Random bytes do not compress: the archive needs two pieces.
  ToolRun run = Make(SmallProduct(1600000));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(FileSize(medium() + "/pkg_tar.001"), 1474560u);
  EXPECT_GT(FileSize(medium() + "/pkg_tar.002"), 0u);
  EXPECT_EQ(FilesIn(medium()).count("pkg_tar.003"), 0u);
  EXPECT_EQ(FilesIn(medium()).count("setup.hlp"), 0u) << "no help file given";
}

TEST_F(Mkmedium, PieceSizeSuffixes) {
  struct Case {
    const char* size;
    unsigned long long bytes;
  } cases[] = {{"1000", 1000}, {"2k", 2048}, {"1M", 1048576}};
  std::string product = SmallProduct();
  for (const Case& c : cases) {
    fs::remove_all(medium());
    ToolRun run = Make(product, {"-s", c.size});
    ASSERT_EQ(run.status, 0) << c.size << run.err;
    unsigned long long total = 0;
    for (const std::string& n : FilesIn(medium()))
      if (n.rfind("pkg_tar.", 0) == 0) total += FileSize(medium() + "/" + n);
    EXPECT_EQ(FileSize(medium() + "/pkg_tar.001"), std::min(c.bytes, total)) << c.size;
  }
}

// On a terminal the cutting shows the pieces and bytes written so far, on
// one line rewritten in place; into a file or pipe nothing of it.
TEST_F(Mkmedium, ShowsProgressOnATerminalOnly) {
  if (access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "no script(1) to give it a terminal";
  const std::string product = SmallProduct(20000);
  ToolRun quiet = Make(product, {"-s", "4k"});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.out.find("written,"), std::string::npos) << quiet.out;
  unsigned long long total = 0;
  size_t pieces = 0;
  for (const std::string& n : FilesIn(medium()))
    if (n.rfind("pkg_tar.", 0) == 0) total += FileSize(medium() + "/" + n), ++pieces;
  ASSERT_GT(pieces, 2u);

  fs::remove_all(medium());
  ToolRun shown = RunMkmedium(
      scratch, {"-c", std::string(MKMEDIUM_PATH) + " -s 4k -o " + medium() + " -p " + program + " " + product,
                "-q", "-e", "/dev/null"},
      nullptr, "/usr/bin/script");
  ASSERT_EQ(shown.status, 0) << shown.err;
  EXPECT_NE(shown.out.find("\rmkmedium: 1 piece written, 4096 bytes"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("\rmkmedium: " + std::to_string(pieces) + " pieces written, " + std::to_string(total) +
                               " bytes\r\n"),
            std::string::npos)
      << shown.out;
}

TEST_F(Mkmedium, DisketteMarkerAndDosNames) {
  ToolRun run = Make(SmallProduct(), {"--diskette", "--dos", "--piece-size=2K", "--help-file", helpFile});
  ASSERT_EQ(run.status, 0) << run.err;
  std::set<std::string> onMedium = FilesIn(medium());
  for (const std::string& n : onMedium) {
    std::string upper = n;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(n, upper);
  }
  for (const char* name : {"SETUP", "SETUP.HLP", "INSTALLF.ROM", "ISIZE", "TSIZE", "DISKS", "PKG_TAR.001"})
    EXPECT_EQ(onMedium.count(name), 1u) << name;
  EXPECT_EQ(ReadWholeFile(medium() + "/INSTALLF.ROM"), "diskette");
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/DISKS"));
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), onMedium);
  EXPECT_EQ(listed.size(), onMedium.size());
  Unpack(medium(), listed, scratch.path(), "PKG_TAR.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(scratch.File("product")));
}

TEST_F(Mkmedium, CommandLineErrorsExitWithStatus2) {
  std::string product = SmallProduct();
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"-o", medium(), "-p", program}, "no product folder given"},
      {{"-o", medium(), "-p", program, product, product}, "more than one product folder"},
      {{"-p", program, product}, "no output folder given"},
      {{"-o", medium(), product}, "no installer program given"},
      {{"-o", medium(), "-p", program, "--bogus", product}, "unrecognized option"},
      {{"-o", medium(), "-p", program, "-s", product}, "bad piece size"},  // -s took the product
  };
  for (const Case& c : cases) {
    ToolRun run = RunMkmedium(scratch, c.args);
    EXPECT_EQ(run.status, 2) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Try 'mkmedium --help'."), std::string::npos) << run.err;
  }
  for (const char* size : {"0", "", "abc", "12X", "-5", "1.5K", "1KK", "99999999999", "5000M", "K"}) {
    ToolRun run = Make(product, {"--piece-size", size});
    EXPECT_EQ(run.status, 2) << size;
    EXPECT_NE(run.err.find(std::string("bad piece size '") + size + "'"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(medium()));
}

TEST_F(Mkmedium, HelpSaysHowToUseIt) {
  ToolRun run = RunMkmedium(scratch, {"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* text :
       {"Usage: mkmedium", "--piece-size", "--dos", "--diskette", "--help-file", "isize", "tsize", "Exit status"})
    EXPECT_NE(run.out.find(text), std::string::npos) << text;
}

TEST_F(Mkmedium, FailuresExitWithStatus1AndLeaveNoMedium) {
  std::string product = SmallProduct();
  std::string file = scratch.Write("a-file", "x");
  std::string bin = scratch.File("bin");
  fs::create_directories(bin);
  std::string tarOnly = scratch.File("taronly");
  fs::create_directories(tarOnly);
  fs::create_symlink("/usr/bin/tar", tarOnly + "/tar");
  std::string failing = scratch.File("failing");
  fs::create_directories(failing);
  fs::create_symlink("/usr/bin/tar", failing + "/tar");
  scratch.Write("failing/compress", "#!/bin/sh\nexit 3\n");
  chmod((failing + "/compress").c_str(), 0755);
  scratch.Write("nolist/pkg/x", "x");

  struct Case {
    std::vector<std::string> args;
    const char* path;
    const char* message;
  } cases[] = {
      {{"-o", medium(), "-p", program, scratch.File("nolist")}, nullptr, "no package list"},
      {{"-o", medium(), "-p", program, scratch.File("missing")}, nullptr, "no product folder"},
      {{"-o", medium(), "-p", program, file}, nullptr, "is not a folder"},
      {{"-o", medium(), "-p", scratch.File("missing"), product}, nullptr, "no installer program"},
      {{"-o", medium(), "-p", bin, product}, nullptr, "is not a regular file"},
      {{"-o", medium(), "-p", program, "--help-file", scratch.File("missing"), product}, nullptr, "no help file"},
      {{"-o", file, "-p", program, product}, nullptr, "exists and is not a folder"},
      {{"-o", file + "/sub", "-p", program, product}, nullptr, "cannot create the output folder"},
      {{"-o", medium(), "-p", program, product}, bin.c_str(), "cannot find the program tar"},
      {{"-o", medium(), "-p", program, product}, tarOnly.c_str(), "cannot find the program compress"},
      {{"-o", medium(), "-p", program, product}, failing.c_str(), "compress failed with exit status 3"},
      {{"-o", medium(), "-p", program, "-s", "1", product}, nullptr, "give a larger --piece-size"},
      // Fails after the pieces are written: they go again.
      {{"-o", medium(), "-p", program, "--help-file", "/proc/self/mem", product},
       nullptr,
       "cannot read /proc/self/mem"},
  };
  for (const Case& c : cases) {
    ToolRun run = RunMkmedium(scratch, c.args, c.path);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.rfind("mkmedium: ", 0), 0u) << run.err;
    EXPECT_FALSE(fs::exists(medium())) << c.message;
    EXPECT_TRUE(FilesIn(scratch.File("tmp")).empty()) << c.message;
  }
  EXPECT_EQ(ReadWholeFile(file), "x");

  // A folder that holds something is refused and left as it was; an empty
  // one is used and, on failure, left empty.
  scratch.Write("medium/keep", "k");
  ToolRun run = Make(product);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("is not empty"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(medium()), std::set<std::string>{"keep"});
  fs::remove(medium() + "/keep");
  run = Make(product, {"--help-file", "/proc/self/mem"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(fs::exists(medium()));
  EXPECT_TRUE(FilesIn(medium()).empty());
  run = Make(product);
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST_F(Mkmedium, RefusesADisksListTheInstallerCannotReadWhole) {
  // The installer reads 4095 bytes of the list: about 340 names.
  std::string product = SmallProduct(20000);
  ASSERT_EQ(Make(product).status, 0);
  unsigned long long archive = FileSize(medium() + "/pkg_tar.001");
  fs::remove_all(medium());
  ToolRun run = Make(product, {"-s", std::to_string(archive / 400 + 1)});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the disks list would be"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("reads only 4095"), std::string::npos) << run.err;
  run = Make(product, {"-s", std::to_string(archive / 250 + 1)});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_LE(FileSize(medium() + "/disks"), 4095u);
}

// --- The sample product -----------------------------------------------------

const std::string kSample = SAMPLE_PRODUCT_DIR;

std::vector<std::string> SampleScripts() {
  std::vector<std::string> scripts;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(kSample))
    if (e.is_regular_file() && ReadWholeFile(e.path()).rfind("#!/bin/sh\n", 0) == 0) scripts.push_back(e.path());
  return scripts;
}

TEST(SampleProduct, StandInsAreShellScriptsThatParse) {
  std::set<std::string> names;
  for (const std::string& script : SampleScripts()) {
    names.insert(fs::relative(script, kSample + "/pkg"));
    std::string cmd = "sh -n '" + script + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << script;
    EXPECT_NE(ReadWholeFile(script).find("Stand-in for"), std::string::npos) << script;
    EXPECT_EQ(access(script.c_str(), X_OK), 0) << script;
  }
  EXPECT_EQ(names, (std::set<std::string>{"vpqadmin", "vprvpxxtty", "vsf", "VPrintD", "VPrintUI", "bin/vprint"}));
}

TEST(SampleProduct, ListUsesEveryKeywordAndAttributeOnFilesItHas) {
  std::string list = ReadWholeFile(kSample + "/pkg/pkg.list");
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.find('\t'), std::string::npos) << "a tab joins words";
  std::set<std::string> keywords, attributes;
  const std::set<std::string> known = {"dir", "dirto", "t", "c", "m", "#", "v", "s", "newdir", "checkps"};
  struct utsname host;
  ASSERT_EQ(uname(&host), 0);
  int conditionsHeld = 0, conditionsFailed = 0;
  for (const std::string& line : Lines(list)) {
    EXPECT_LE(line.size(), 510u);
    EXPECT_TRUE(line.empty() || line.back() != '\\') << line;
    std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    keywords.insert(known.count(w[0]) ? w[0] : "other");
    if (w[0] == "#") continue;
    size_t i = 0;
    bool holds = true;
    for (; i + 2 < w.size() && w[i] == "v"; i += 3) {
      int cmp = std::strcmp(host.release, w[i + 2].c_str());
      const std::string& op = w[i + 1];
      holds = holds && ((op == "<" && cmp < 0) || (op == "<=" && cmp <= 0) || (op == "=" && cmp == 0) ||
                        (op == ">" && cmp > 0) || (op == ">=" && cmp >= 0));
    }
    if (i > 0) (holds ? conditionsHeld : conditionsFailed)++;
    ASSERT_LT(i + 1, w.size()) << line;
    const std::string& kw = w[i];
    const std::string& name = w[i + 1];
    if (kw == "checkps" || kw == "t" || kw == "newdir") {
      i += 2;
    } else {
      EXPECT_TRUE(fs::exists(kSample + "/pkg/" + name)) << line;
      i += kw == "dirto" ? 3 : 2;
    }
    if (kw == "dirto") {
      EXPECT_EQ(w[i - 1][0], '/') << "absolute destination: " << line;
    }
    for (; i + 1 < w.size(); i += 2) {
      attributes.insert(w[i]);
      if (w[i] == "sed") {
        EXPECT_NE(line.find("' -e '"), std::string::npos) << "a script with blanks and quotes: " << line;
        break;
      }
      // Owners and groups that exist on every Debian host; links in /usr/bin.
      if (w[i] == "owner") {
        EXPECT_EQ(w[i + 1], "root");
      } else if (w[i] == "group") {
        EXPECT_TRUE(w[i + 1] == "root" || w[i + 1] == "lp") << line;
      } else if (w[i] == "link") {
        EXPECT_EQ(w[i + 1].rfind("/usr/bin/", 0), 0u) << line;
      }
    }
  }
  std::set<std::string> allKeywords = known;
  allKeywords.insert("other");
  EXPECT_EQ(keywords, allKeywords);
  EXPECT_EQ(attributes, (std::set<std::string>{"mode", "bat", "owner", "group", "link", "name", "sed"}));
  EXPECT_GE(conditionsHeld, 1) << host.release;
  EXPECT_GE(conditionsFailed, 1) << host.release;
  for (const char* delivered : {"c vprvpxxtty ", "c vsf ", "c vpqadmin ", "c VPrintD "})
    EXPECT_NE(list.find(std::string("\n") + delivered), std::string::npos) << delivered;
}

TEST(SampleProduct, MakesACompleteMedium) {
  ScratchDir scratch;
  std::string program = scratch.Write("setup", "stand-in program\n");
  std::string medium = scratch.File("medium");
  ToolRun run = RunMkmedium(scratch, {"-o", medium, "-p", program, kSample});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium + "/disks"));
  EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), FilesIn(medium));
  EXPECT_EQ(listed.size(), FilesIn(medium).size());
  for (const char* name : {"setup", "installf.rom", "isize", "tsize", "disks", "pkg_tar.001"})
    EXPECT_TRUE(fs::exists(medium + "/" + name)) << name;
  Unpack(medium, listed, scratch.path(), "pkg_tar.");
  EXPECT_EQ(TreeContents(scratch.File("unpacked")), TreeContents(kSample));
  for (const std::string& script : SampleScripts()) {
    std::string unpacked = scratch.File("unpacked/" + fs::relative(script, kSample).string());
    EXPECT_EQ(access(unpacked.c_str(), X_OK), 0) << unpacked;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The menu engine's string database on the medium.

class MkmediumDb : public Mkmedium {
 protected:
  // The database as the build places it: db/drvcore.vdb beside the program.
  std::string DbBesideProgram() { return scratch.Write("db/drvcore.vdb", "TVDBAA0\n-database-"); }
  // Translations beside it, and a folder that names no language.
  void TranslationsBesideProgram() {
    scratch.Write("db/fr_FR/drvcore.vdb", "-french-");
    scratch.Write("db/ge_GE/drvcore.vdb", "-german-");
    scratch.Write("db/notes/drvcore.vdb", "-not a language-");
  }
  unsigned Mode(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
};

TEST_F(MkmediumDb, TheDatabasesBesideTheProgramArePutInTheDbFolderAndListed) {
  std::string db = DbBesideProgram();
  TranslationsBesideProgram();
  ToolRun run = Make(SmallProduct());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(medium() + "/db/drvcore.vdb"), ReadWholeFile(db));
  EXPECT_EQ(ReadWholeFile(medium() + "/db/fr_FR/drvcore.vdb"), "-french-");
  EXPECT_EQ(ReadWholeFile(medium() + "/db/ge_GE/drvcore.vdb"), "-german-");
  for (const char* folder : {"/db", "/db/fr_FR", "/db/ge_GE"}) EXPECT_EQ(Mode(medium() + folder), 0755u) << folder;
  EXPECT_EQ(Mode(medium() + "/db/drvcore.vdb"), 0644u);
  EXPECT_EQ(Mode(medium() + "/db/fr_FR/drvcore.vdb"), 0644u);
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  for (const char* name : {"db/drvcore.vdb", "db/fr_FR/drvcore.vdb", "db/ge_GE/drvcore.vdb"})
    EXPECT_EQ(std::count(listed.begin(), listed.end(), name), 1) << name;
  EXPECT_EQ(FilesIn(medium() + "/db"), (std::set<std::string>{"drvcore.vdb", "fr_FR", "ge_GE"}));
}

TEST_F(MkmediumDb, AGivenDatabaseWinsAndNoDbLeavesItOut) {
  DbBesideProgram();
  std::string other = scratch.Write("other.vdb", "other texts");
  ToolRun run = Make(SmallProduct(), {"--db", other});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadWholeFile(medium() + "/db/drvcore.vdb"), "other texts");

  fs::remove_all(medium());
  run = Make(SmallProduct(), {"--no-db"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(medium() + "/db"));
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/disks"));
  EXPECT_EQ(std::count(listed.begin(), listed.end(), "db/drvcore.vdb"), 0);
}

TEST_F(MkmediumDb, WithoutADatabaseAnywhereTheMediumHasNone) {
  ToolRun run = Make(SmallProduct());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(medium() + "/db"));
}

TEST_F(MkmediumDb, DosNamesAndRefusals) {
  DbBesideProgram();
  TranslationsBesideProgram();
  ToolRun run = Make(SmallProduct(), {"--dos", "--diskette"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> listed = ListedNames(ReadWholeFile(medium() + "/DISKS"));
  for (const char* name : {"DB/DRVCORE.VDB", "DB/FR_FR/DRVCORE.VDB", "DB/GE_GE/DRVCORE.VDB"}) {
    EXPECT_TRUE(fs::is_regular_file(medium() + "/" + name)) << name;
    EXPECT_EQ(std::count(listed.begin(), listed.end(), name), 1) << name;
  }

  fs::remove_all(medium());
  run = Make(SmallProduct(), {"--db", scratch.File("missing.vdb")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no string database"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(medium()));
  run = Make(SmallProduct(), {"--db", scratch.File("db/drvcore.vdb"), "--no-db"});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("exclude each other"), std::string::npos) << run.err;
}
