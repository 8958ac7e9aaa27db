// The package list: every line through the line parser against a few
// kernel releases, then the whole list through the check the install
// sequence makes before it builds the product tree (a damaged list ends
// that run; here it ends the input).
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "installer.h"
#include "utils.h"

namespace {

void CheckStep(const PkgStep& step) {
  FuzzCheck(!step.name.empty(), "a step without a file");
  for (const auto& [key, value] : step.attributes) FuzzCheck(!key.empty() && !value.empty(), "an empty attribute");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const std::string list(reinterpret_cast<const char*>(data), size);
  FuzzInputFile(list);
  while (GetFileLine()) {
    const std::string line = LineBuf;
    for (const char* release : {"6.1.0-18-amd64", "2.4.20", static_cast<const char*>(nullptr)}) {
      PkgStep step;
      std::string error;
      if (ParsePkgLine(line.c_str(), release, &step, &error)) CheckStep(step);
    }
  }
  const std::string path = FuzzFile("pkg.list", list);
  FuzzRun([&] {
    for (const PkgStep& step : ReadPkgList(path.c_str())) CheckStep(step);
  });
  CloseInputFile();
  return 0;
}
