// The manifest of an installation on a hostile text, verified against a
// small application directory (a file "a" holding "abc"): a damaged line
// ends the run with 2 (here the input); any other line is only compared,
// never acted on.
#include <string>

#include "fuzz_support.h"
#include "installer.h"
#include "record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  static const std::string app = [] {
    FuzzFile("a", "abc");
    return FuzzScratchDir();
  }();
  FuzzFile(kManifestName, std::string(reinterpret_cast<const char*>(data), size));
  FuzzRun([] {
    const int status = VerifyInstallation(app.c_str());
    FuzzCheck(status >= 0 && status <= 2, "a status verify does not document");
  });
  return 0;
}
