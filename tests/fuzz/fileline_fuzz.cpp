// GetFileLine over a hostile file: overlong lines, continuations, NULs,
// no final line end.
#include <cstring>

#include "fuzz_support.h"
#include "utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  FuzzInputFile(std::string(reinterpret_cast<const char*>(data), size));
  int lines = 0;
  while (GetFileLine()) {
    FuzzCheck(std::strlen(LineBuf) < static_cast<size_t>(kLineBufSize), "a line beyond its buffer");
    FuzzCheck(LineLen >= 0 && LineLen < kLineBufSize, "LineLen out of range");
    FuzzCheck(++lines <= static_cast<int>(size) + 1, "more lines than bytes");
  }
  FuzzCheck(pIn == nullptr && FileStatus == 1, "the file is not closed at its end");
  return 0;
}
