// The free-space check made before anything is copied: the work area must
// hold the unpacked archive and the installation directory the product.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "MediumLayout.h"
#include "MemMgr.h"
#include "SysCmd.h"
#include "installer.h"
#include "utils.h"

namespace {

constexpr double kMargin = 40;

// The amount a size file of the medium names, plus the margin; ends the
// program with message 65 when the file cannot be read. The refusals end
// with status 1: nothing was installed, and a caller must not read success.
double NeededFrom(const char* sizeFile, const char* dosName) {
  // A DOS diskette carries the name in upper case.
  if (!GetFileContent(pToolPath, sizeFile) && !GetFileContent(pToolPath, dosName)) {
    std::printf("%s", NlsSetupStrCvt(65));
    std::fflush(stdout);
    ExitProgram(1);
  }
  return std::strtod(LineBuf, nullptr) + kMargin;
}

struct SideSpace {
  DiskSpaceInfo df{};
  bool measured = false;
  double avail = 0;
  char* existing = nullptr;  // deepest existing directory on the path
};

// Measures the file system that will hold path, adding what path already
// occupies when it exists (it is replaced by the installation).
SideSpace Measure(const char* path) {
  SideSpace side;
  int exists = 0;
  side.existing = FindExistingPath(path, &exists);
  side.measured = GetDiskSpace(side.existing, &side.df) != 0;
  if (!side.measured) return side;
  side.avail = side.df.Avail;
  if (exists) side.avail += DUPath(path);
  return side;
}

[[noreturn]] void Refuse(int message, const char* a, const char* b, double need) {
  if (b == nullptr)
    std::printf(NlsSetupStrCvt(message), a, need);
  else
    std::printf(NlsSetupStrCvt(message), a, b, need);
  std::fflush(stdout);
  ExitProgram(1);
}

}  // namespace

bool FreeSpaceForInstall(const char* workDir, const char* installDir, const char* productDir, double keepNeed) {
  const double needInstall = NeededFrom(kUnixMediumNames.isize, kDosMediumNames.isize);
  const double needWork = NeededFrom(kUnixMediumNames.tsize, kDosMediumNames.tsize);

  SideSpace work = Measure(workDir);
  if (!work.measured) {
    PutMem(work.existing);
    return true;
  }
  char* productPath = SaveStr("%s/%s", installDir, productDir);
  SideSpace install = Measure(productPath);

  // A failed query for the install side says nothing about its partition:
  // it is then taken as a partition of its own with no room measured.
  const bool samePartition = install.measured && std::strcmp(work.df.szDfLine, install.df.szDfLine) == 0;
  bool roomToKeep;
  if (!samePartition) {
    if (work.avail < needWork) Refuse(49, pTmpDir, nullptr, needWork);
    if (install.avail < needInstall) Refuse(55, pInstallDir, nullptr, needInstall);
    roomToKeep = install.avail >= needInstall + keepNeed;
  } else {
    DiskSpaceInfo fresh{};
    GetDiskSpace(install.existing, &fresh);
    const double free = fresh.Avail;
    double avail;
    if (free < work.avail || free < install.avail)
      avail = work.avail + install.avail - free;  // space of existing contents counted once each
    else
      avail = MaxD(work.avail, install.avail);
    if (avail < needInstall + needWork) Refuse(56, workDir, pInstallDir, needInstall + needWork);
    roomToKeep = avail >= needInstall + needWork + keepNeed;
  }
  PutMem(productPath);
  PutMem(work.existing);
  PutMem(install.existing);
  return roomToKeep;
}
