// ValidateEntry with a hostile pattern and value: value NUL pattern. The
// messages it shows wait for Enter on standard input, which is at its end.
#include <string>

#include "TextMenu.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  FuzzStdin("");
  const std::vector<std::string> p = FuzzParts(data, size, 2);
  const int fault = ValidateEntry(p[0].c_str(), p[1].c_str());
  FuzzCheck(fault >= 0 && fault <= 4, "a fault kind out of range");
  return 0;
}
