// The disks list of a medium: read from the file as the installer finds it
// ("disks", or "DISKS" on a DOS diskette, whose names are made upper case),
// its archive pieces and its file lines, every name judged as a file of
// the medium (a name that cannot be used ends the run, here the input).
// The first byte chooses the file name.
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "installer.h"
#include "utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  if (size == 0) return 0;
  const bool dos = (data[0] & 1) != 0;
  FuzzFile(dos ? "DISKS" : "disks", std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  std::remove((FuzzScratchDir() + (dos ? "/disks" : "/DISKS")).c_str());
  FuzzRun([] {
    GetDisksData(FuzzScratchDir().c_str());
    for (const std::string& piece : DisksListPieces()) {
      FuzzCheck(piece.size() >= 8 && piece.size() < static_cast<size_t>(kTokenBufSize), "a piece name out of shape");
      CheckMediumFileName(piece.c_str());
    }
    for (const std::vector<std::string>& line : DisksListFiles())
      for (const std::string& name : line) {
        FuzzCheck(!name.empty() && name != "end_of_list", "an empty or end word listed");
        CheckMediumFileName(name.c_str());
      }
  });
  return 0;
}
