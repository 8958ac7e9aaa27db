// Times setup against the floor of the host commands it has to run, inside
// the sandbox (tests/scenario/sandbox.sh), with interleaved repetitions and
// medians, and prints each ratio:
//   (a) setup install /opt of a product of 1000 small files (one
//       "c NAME mode 644" line each), against the replay of the command
//       lines it ran, one by one through system() by a program that does
//       nothing else, and against the same lines as a plain sh script;
//   (b) the same for about 100 MB in 2000 files under one "dir" line;
//   (c) setup -v against sh -c true;
//   (d) mkmedium of the 100 MB product against tar | compress | split.
//
// The replayed lines are every line setup handed to the shell (system and
// popen), taken from one run under strace: the lines its run log shows,
// made whole (the log leaves off their redirection and closing quote), and
// the few it runs unlogged (the joining of the pieces, the removal of the
// work directory, its queries), so that the replay does the same work.
//
//   install_bench [ROUNDS]      (default 5; needs root for the sandbox)
//
// BENCH_SETUP and BENCH_MKMEDIUM name other builds of the two programs to
// measure (the string databases are taken from db/ beside BENCH_SETUP).
//
// Run by hand; it is never part of the test suite. The machine is shared
// and noisy: compare the ratios of one run, not times across runs.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Where the benchmark keeps its products, media and replays in the sandbox.
constexpr const char* kRoot = "/bench";
constexpr const char* kBin = "/bench/bin";
constexpr const char* kLog = "/tmp/setup.log";
constexpr const char* kWorkDir = "/tmp/VexlaInstall";

[[noreturn, gnu::format(printf, 1, 2)]] void Die(const char* format, ...) {
  std::fflush(stdout);
  std::fputs("install_bench: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  std::exit(1);
}

// Runs argv in cwd with standard input from /dev/null and its output to
// out (/dev/null unless given); returns the wait status.
int Run(const std::vector<std::string>& argv, const std::string& cwd, const char* out = "/dev/null") {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) Die("cannot fork: %s", std::strerror(errno));
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int to = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || to < 0 || dup2(in, 0) < 0 || dup2(to, 1) < 0 || dup2(to, 2) < 0 || chdir(cwd.c_str()) != 0)
      _exit(126);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) Die("cannot wait: %s", std::strerror(errno));
  return status;
}

// Seconds a run of argv takes; unless judged is false, a run that fails
// ends the benchmark.
double TimeRun(const std::vector<std::string>& argv, const std::string& cwd, bool judged = true) {
  const auto start = std::chrono::steady_clock::now();
  const int status = Run(argv, cwd);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (judged && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))
    Die("%s failed (wait status %d)", argv[0].c_str(), status);
  return took.count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Runs each contestant once a round, the one that goes first rotating, and
// prints the medians and each one's ratio to the first; then the ratio
// round by round (the median and the range), which a machine whose speed
// drifts between rounds moves less.
void Compare(const char* title, int rounds, const std::vector<std::pair<std::string, std::function<double()>>>& runs,
             const char* goal) {
  std::vector<std::vector<double>> times(runs.size());
  for (int r = 0; r < rounds; ++r)
    for (size_t k = 0; k < runs.size(); ++k) {
      const size_t i = (k + static_cast<size_t>(r)) % runs.size();
      times[i].push_back(runs[i].second());
    }
  std::printf("%s (median of %d interleaved rounds)\n", title, rounds);
  const double first = Median(times[0]);
  for (size_t i = 0; i < runs.size(); ++i) {
    const double m = Median(times[i]);
    std::printf("  %-44s %9.4f s", runs[i].first.c_str(), m);
    if (i > 0) {
      std::printf("   ratio %s / this: %.2f", runs[0].first.c_str(), m > 0 ? first / m : 0);
      std::vector<double> ratios;
      for (size_t r = 0; r < times[i].size(); ++r)
        if (times[i][r] > 0) ratios.push_back(times[0][r] / times[i][r]);
      if (!ratios.empty())
        std::printf(" (round by round %.2f, %.2f to %.2f)", Median(ratios),
                    *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()));
    }
    std::printf("\n");
  }
  std::printf("  goal: %s\n\n", goal);
  std::fflush(stdout);
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) Die("cannot write %s", path.c_str());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Product (a): 1000 small files, one "c NAME mode 644" line each.
void MakeSmallProduct(const std::string& dir) {
  fs::create_directories(dir + "/pkg");
  std::string list;
  char name[32];
  for (int i = 1; i <= 1000; ++i) {
    std::snprintf(name, sizeof name, "f%04d", i);
    WriteFile(dir + "/pkg/" + name, std::string("file ") + name + "\n");
    list += std::string("c ") + name + " mode 644\n";
  }
  WriteFile(dir + "/pkg/pkg.list", list);
}

// Product (b): 2000 files of 52000 bytes (about 100 MB) of text that
// compresses like documentation, under one "dir data" line.
void MakeLargeProduct(const std::string& dir) {
  fs::create_directories(dir + "/pkg/data");
  static const char* const kWords[] = {"printer", "queue",  "daemon", "spool",  "page",    "driver",
                                       "filter",  "vexla",  "ppd",    "option", "tray",    "paper",
                                       "toner",   "status", "job",    "host",   "network", "admin"};
  constexpr size_t kFile = 52000;
  std::string text;
  unsigned seed = 12345;
  while (text.size() < (1u << 20) + kFile) {
    seed = seed * 1103515245u + 12345u;
    text += kWords[(seed >> 16) % (sizeof kWords / sizeof kWords[0])];
    text += (seed >> 8) % 11 == 0 ? "\n" : " ";
  }
  char name[32];
  for (int i = 0; i < 2000; ++i) {
    std::snprintf(name, sizeof name, "/pkg/data/d%04d.txt", i);
    WriteFile(dir + name, text.substr((static_cast<size_t>(i) * 7919) % (1u << 20), kFile));
  }
  WriteFile(dir + "/pkg/pkg.list", "dir data\n");
}

void MakeMedium(const std::string& product, const std::string& medium) {
  fs::remove_all(medium);
  if (Run({std::string(kBin) + "/mkmedium", "-o", medium, "-p", std::string(kBin) + "/setup", product}, kRoot) != 0)
    Die("mkmedium could not make %s", medium.c_str());
}

// Takes away what an installation into /opt made, so that every run starts
// from the same state. setup makes its work directory itself, not through
// a command; a replay finds it made (empty), as the commands expect.
void CleanInstallation(bool forReplay = false) {
  for (const char* path : {"/opt/Vexla", "/usr/Vexla", "/var/spool/Vexla", kWorkDir, kLog, "/tmp/setup.tmp"})
    fs::remove_all(path);
  if (forReplay) fs::create_directory(kWorkDir);
}

// One C-style string of strace at text[at] (at its opening quote); at
// moves past it.
std::string ParseQuoted(const std::string& text, size_t& at) {
  std::string s;
  if (at >= text.size() || text[at] != '"') return s;
  for (++at; at < text.size() && text[at] != '"'; ++at) {
    if (text[at] != '\\' || at + 1 >= text.size()) {
      s += text[at];
      continue;
    }
    const char c = text[++at];
    if (c >= '0' && c <= '7') {
      int v = 0;
      for (int k = 0; k < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7'; ++k) v = v * 8 + (text[at++] - '0');
      --at;
      s += static_cast<char>(v);
    } else if (c == 'x' && at + 2 < text.size()) {
      s += static_cast<char>(std::stoi(text.substr(at + 1, 2), nullptr, 16));
      at += 2;
    } else {
      static const std::map<char, char> kEscapes = {{'n', '\n'}, {'t', '\t'}, {'r', '\r'}, {'v', '\v'}, {'f', '\f'}};
      const auto e = kEscapes.find(c);
      s += e != kEscapes.end() ? e->second : c;
    }
  }
  ++at;
  return s;
}

// The lines setup handed to the shell in the trace (its own children that
// execute "sh -c LINE"), in order. A child's execve may come before its
// parent's clone returns, so the parents are known first.
std::vector<std::string> ShellLinesOf(const std::string& trace) {
  std::vector<std::string> records;
  std::istringstream in(trace);
  for (std::string line; std::getline(in, line);) records.push_back(line);
  if (records.empty()) return {};
  const long root = std::strtol(records[0].c_str(), nullptr, 10);
  std::map<long, long> parent;
  for (const std::string& line : records) {
    const size_t eq = line.rfind(" = ");
    if ((line.find("clone") != std::string::npos || line.find("fork") != std::string::npos) && eq != std::string::npos) {
      const long child = std::strtol(line.c_str() + eq + 3, nullptr, 10);
      if (child > 0) parent[child] = std::strtol(line.c_str(), nullptr, 10);
    }
  }
  std::vector<std::string> lines;
  for (const std::string& line : records) {
    const long pid = std::strtol(line.c_str(), nullptr, 10);
    const size_t call = line.find("execve(");
    if (call == std::string::npos || pid == root || parent[pid] != root) continue;
    size_t at = call + 7;
    ParseQuoted(line, at);  // the program
    if (line.compare(at, 3, ", [") != 0) continue;
    at += 3;
    std::vector<std::string> argv;
    while (at < line.size() && line[at] == '"') {
      argv.push_back(ParseQuoted(line, at));
      if (line.compare(at, 2, ", ") == 0) at += 2;
    }
    if (argv.size() == 3 && argv[0] == "sh" && argv[1] == "-c") lines.push_back(argv[2]);
  }
  return lines;
}

// How many of the lines the run log shows: a logged line is the command
// line without its redirection into the log and its closing quote.
int LoggedCount(const std::vector<std::string>& lines, const std::string& log) {
  std::set<std::string> shown;
  std::istringstream in(log);
  for (std::string l; std::getline(in, l);) shown.insert(l);
  const std::string redirection = " 1>>/tmp/setup.log 2>>/tmp/setup.log";
  int n = 0;
  for (std::string l : lines) {
    if (!l.empty() && l.back() == '"') l.pop_back();
    if (l.size() >= redirection.size() && l.compare(l.size() - redirection.size(), redirection.size(), redirection) == 0)
      l.resize(l.size() - redirection.size());
    n += shown.count(l) != 0 ? 1 : 0;
  }
  return n;
}

size_t CountFiles(const std::string& dir) {
  size_t n = 0;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) ++n;
  return n;
}

// Makes the medium of a product, runs setup from it once under strace and
// writes the replay of what it ran: <name>.lines (one line a NUL, for the
// system() replay) and <name>.sh. Checks that the replay installs as much.
void PrepareReplay(const std::string& name, const std::string& medium) {
  CleanInstallation();
  const std::string trace = std::string(kRoot) + "/" + name + ".trace";
  const int status = Run({"/usr/bin/strace", "-f", "-qq", "-s", "65536", "-e", "trace=execve,clone,clone3,fork,vfork",
                          "-o", trace, "./setup", "install", "/opt"},
                         medium);
  if (status != 0) Die("setup install /opt from %s failed under strace (wait status %d)", medium.c_str(), status);
  const size_t installed = CountFiles("/opt/Vexla");
  const std::vector<std::string> lines = ShellLinesOf(ReadFile(trace));
  const int logged = LoggedCount(lines, ReadFile(kLog));
  std::string nul, script;
  for (const std::string& l : lines) {
    nul += l + '\0';
    script += l + '\n';
  }
  WriteFile(std::string(kRoot) + "/" + name + ".lines", nul);
  WriteFile(std::string(kRoot) + "/" + name + ".sh", script);
  CleanInstallation(true);
  Run({std::string(kBin) + "/install_bench", "--replay", std::string(kRoot) + "/" + name + ".lines"}, kWorkDir);
  const size_t replayed = CountFiles("/opt/Vexla");
  // setup writes four files itself: .vp_cfg, its two scripts and the manifest.
  constexpr size_t kWrittenBySetup = 4;
  std::printf("%s: setup ran %zu shell lines, %d of them shown in its run log; the replay makes %zu of the %zu "
              "paths under /opt/Vexla%s\n",
              name.c_str(), lines.size(), logged, replayed, installed,
              replayed + kWrittenBySetup >= installed ? " (setup writes .vp_cfg, two scripts and the manifest itself)"
                                                      : "  <- the replay does less than setup");
  std::fflush(stdout);
}

void CompareInstall(const char* title, const std::string& name, const std::string& medium, int rounds,
                    const char* goal) {
  PrepareReplay(name, medium);
  const std::string lines = std::string(kRoot) + "/" + name + ".lines";
  const std::string script = std::string(kRoot) + "/" + name + ".sh";
  // Only setup itself is judged by its status: a replay ends with that of
  // its last line.
  // setup starts on its medium and moves into the work directory before it
  // unpacks; the replay's lines before that name full paths.
  auto timed = [medium](std::vector<std::string> argv, bool replay) {
    return [medium, argv, replay] {
      CleanInstallation(replay);
      return TimeRun(argv, replay ? kWorkDir : medium, !replay);
    };
  };
  Compare(title, rounds,
          {{"setup install /opt", timed({"./setup", "install", "/opt"}, false)},
           {"its lines through system()", timed({std::string(kBin) + "/install_bench", "--replay", lines}, true)},
           {"its lines as an sh script", timed({"/bin/sh", script}, true)}},
          goal);
}

// Seconds of one run of argv, the mean of a batch of runs.
double TimeBatch(const std::vector<std::string>& argv, const std::string& cwd) {
  constexpr int kBatch = 20;
  double total = 0;
  for (int i = 0; i < kBatch; ++i) total += TimeRun(argv, cwd);
  return total / kBatch;
}

int Inside(int rounds) {
  const std::string root = kRoot;
  std::printf("making the products and media in the sandbox...\n");
  std::fflush(stdout);
  MakeSmallProduct(root + "/p1");
  MakeLargeProduct(root + "/p2");
  MakeMedium(root + "/p1", root + "/m1");
  MakeMedium(root + "/p2", root + "/m2");

  CompareInstall("(a) 1000 small files, one c line each", "a", root + "/m1", rounds,
                 "setup no more than 1.05 times the system() replay");
  CompareInstall("(b) about 100 MB in 2000 files under one dir line", "b", root + "/m2", rounds,
                 "setup no more than 1.05 times the system() replay");
  Compare("(c) start-up (one run, the mean of 20)", rounds,
          {{"setup -v", [&] { return TimeBatch({"./setup", "-v"}, root + "/m1"); }},
           {"sh -c true", [&] { return TimeBatch({"/bin/sh", "-c", "true"}, root); }}},
          "setup -v no more than 3 times sh -c true");

  const std::string made = root + "/d-medium";
  const std::string hand = root + "/d-hand";
  Compare("(d) the medium of the 100 MB product", rounds,
          {{"mkmedium",
            [&] {
              fs::remove_all(made);
              return TimeRun({std::string(kBin) + "/mkmedium", "-o", made, "-p", std::string(kBin) + "/setup",
                              root + "/p2"},
                             root);
            }},
           {"tar | compress | split by hand",
            [&] {
              fs::remove_all(hand);
              fs::create_directories(hand);
              return TimeRun({"/bin/sh", "-c",
                              "tar -cf - -C " + root + "/p2 pkg | compress -c | "
                              "split -b 1474560 -a 3 --numeric-suffixes=1 - pkg_tar."},
                             hand);
            }}},
          "mkmedium no more than 1.1 times by hand");
  return 0;
}

// Runs every NUL-ended line of the file through system(), one by one.
int Replay(const char* file) {
  const std::string text = ReadFile(file);
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\0', at);
    if (end == std::string::npos) break;
    (void)std::system(text.substr(at, end - at).c_str());
    at = end + 1;
  }
  return 0;
}

// Starts the measurements in a sandbox with the built programs copied in.
int Outside(const char* rounds) {
  struct stat st;
  if (stat("/usr/bin/strace", &st) != 0) Die("needs strace (/usr/bin/strace) to see what setup runs");
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) Die("cannot find this program");
  self[n] = '\0';
  const std::string bin = kBin;
  const char* otherSetup = std::getenv("BENCH_SETUP");
  const char* otherMkmedium = std::getenv("BENCH_MKMEDIUM");
  const std::string setup = otherSetup != nullptr ? otherSetup : SETUP_PROGRAM;
  const std::string db = otherSetup != nullptr ? fs::path(otherSetup).parent_path() / "db" : fs::path(SETUP_DB_DIR);
  const std::string mkmedium = otherMkmedium != nullptr ? otherMkmedium : MKMEDIUM_PROGRAM;
  std::vector<std::string> argv = {"/bin/sh", SANDBOX_SH, "--timeout", "7200",
                                   "--copy", setup + ":" + bin + "/setup",
                                   "--copy", db + ":" + bin + "/db",
                                   "--copy", mkmedium + ":" + bin + "/mkmedium",
                                   "--copy", std::string(self) + ":" + bin + "/install_bench",
                                   "--", bin + "/install_bench", "--inside", rounds};
  std::vector<char*> args;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  std::printf("running in a sandbox; the figures come at the end (several minutes)\n");
  std::fflush(stdout);
  execv(args[0], args.data());
  Die("cannot run %s: %s", args[0], std::strerror(errno));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) return Replay(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "--inside") == 0) return Inside(std::max(1, std::atoi(argv[2])));
  if (argc > 2 || (argc == 2 && std::atoi(argv[1]) < 1)) {
    std::fprintf(stderr, "usage: install_bench [ROUNDS]\n");
    return 2;
  }
  return Outside(argc == 2 ? argv[1] : "5");
}
