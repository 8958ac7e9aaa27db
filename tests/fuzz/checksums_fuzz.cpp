// The medium's checksum file on a hostile text, checked against a small
// medium (a file "a" holding "abc", a file "db/b" holding "b"): a damaged
// line, a name that cannot be used, a missing or changed file end the run
// (here the input).
#include <sys/stat.h>

#include <string>

#include "fuzz_support.h"
#include "guards.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  static const std::string medium = [] {
    FuzzFile("a", "abc");
    mkdir((FuzzScratchDir() + "/db").c_str(), 0755);
    FuzzFile("db/b", "b");
    return FuzzScratchDir();
  }();
  FuzzFile("sha256", std::string(reinterpret_cast<const char*>(data), size));
  FuzzRun([] { FuzzCheck(CheckMediumChecksums(medium.c_str()) >= 0, "a negative count"); });
  return 0;
}
