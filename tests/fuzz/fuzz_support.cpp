#include "fuzz_support.h"

#include <fcntl.h>
#include <stdio_ext.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "MemMgr.h"
#include "SysCmd.h"
#include "utils.h"

namespace {

std::string scratch;
FILE* memoryStdin = nullptr;

[[noreturn]] void EndOfInput(int status) { throw FuzzExit{status}; }

// The host as the harnesses see it: every command succeeds with no output,
// nothing runs, nothing sleeps.
int NoSystem(const char*) { return W_EXITCODE(0, 0); }
FILE* NoPopen(const char*) { return std::fopen("/dev/null", "r"); }
int NoPclose(FILE* f) { return std::fclose(f) == 0 ? 0 : -1; }
unsigned NoSleep(unsigned) { return 0; }
int NoKill(pid_t, int) { return 0; }

void RemoveScratch() {
  std::error_code ec;
  if (!scratch.empty()) std::filesystem::remove_all(scratch, ec);
}

}  // namespace

void FuzzSetUp() {
  static bool done = false;
  if (done) return;
  done = true;
  // A harness writes a file or two per input: in memory (/dev/shm) that
  // costs microseconds, on a disk's file system a millisecond.
  const char* base = std::getenv("TMPDIR");
  struct stat st;
  if (base == nullptr || *base == '\0') base = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
  std::string templ = std::string(base) + "/setup-fuzz.XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr || chdir(buf.data()) != 0) std::abort();
  scratch = buf.data();
  std::atexit(RemoveScratch);

  int null = open("/dev/null", O_RDWR);
  if (null < 0) std::abort();
  dup2(null, 0);
  dup2(null, 1);
  close(null);
  SetHostOps(HostOps{NoSystem, NoPopen, NoPclose, NoSleep, NoKill});
  SetExitHandler(EndOfInput);
  flUseLog = 0;
  my_name = const_cast<char*>("setup-fuzz");
  static void* keep = GetMem(1);
  (void)keep;
}

const std::string& FuzzScratchDir() { return scratch; }

std::vector<std::string> FuzzParts(const uint8_t* data, size_t size, size_t max) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i < size && parts.size() + 1 < max; ++i) {
    if (data[i] != 0) continue;
    parts.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
    start = i + 1;
  }
  parts.emplace_back(reinterpret_cast<const char*>(data) + start, size - start);
  while (parts.size() < max) parts.emplace_back();
  return parts;
}

std::string FuzzText(const uint8_t* data, size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  return std::string(text, strnlen(text, size));
}

void FuzzStdin(const std::string& text) {
  static std::string held;
  if (memoryStdin != nullptr) std::fclose(memoryStdin);
  held = text;
  // fmemopen refuses an empty buffer: an empty input is /dev/null's.
  memoryStdin = held.empty() ? std::fopen("/dev/null", "r") : fmemopen(held.data(), held.size(), "r");
  if (memoryStdin == nullptr) std::abort();
  stdin = memoryStdin;
}

void FuzzInputFile(const std::string& text) {
  static std::string held;
  CloseInputFile();
  held = text;
  pIn = held.empty() ? std::fopen("/dev/null", "r") : fmemopen(held.data(), held.size(), "r");
  if (pIn == nullptr) std::abort();
  FileStatus = 0;
}

std::string FuzzFile(const char* name, const std::string& text) {
  const std::string path = scratch + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return path;
}

void FuzzCheck(bool what, const char* message) {
  if (what) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", message);
  std::abort();
}
