// A small program for scenario tests: starts up like the installer (log on,
// tool path, program name, command table) and prints what one host probe or
// query answers, so a test can ask it inside the sandbox.
//
//   probe_driver lprng | cups | user | toolpath
//   probe_driver ps NAME | procs NAME,NAME... | df PATH | du PATH
//   probe_driver existing PATH
//   probe_driver syscmd SEVERITY INDEX ARGUMENTS
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "SysCmd.h"
#include "utils.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: probe_driver lprng|cups|user|toolpath\n"
               "       probe_driver ps NAME | procs NAMES | df PATH | du PATH | existing PATH\n"
               "       probe_driver syscmd SEVERITY INDEX ARGUMENTS\n");
  return 2;
}

void PrintText(const char* text) { std::printf("%s\n", text ? text : "(none)"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  flUseLog = 1;
  pToolPath = GetToolPath(argv[0]);
  my_name = SaveText(StripPath(argv[0]));
  InitSysCmdList();

  const char* probe = argv[1];
  const char* arg = argc > 2 ? argv[2] : nullptr;
  if (std::strcmp(probe, "lprng") == 0) {
    std::printf("%d\n", SniffLprng() ? 1 : 0);
  } else if (std::strcmp(probe, "cups") == 0) {
    std::printf("%d\n", SniffCUPS() ? 1 : 0);
  } else if (std::strcmp(probe, "user") == 0) {
    PrintText(GetUserName());
  } else if (std::strcmp(probe, "toolpath") == 0) {
    PrintText(pToolPath);
  } else if (std::strcmp(probe, "ps") == 0 && arg) {
    const char* ids = GetSysPsIdList(arg);
    std::printf("[%s]\n", ids ? ids : "");
  } else if (std::strcmp(probe, "procs") == 0 && arg) {
    const char* report = CheckProcTableForExecs(arg);
    std::fputs(report ? report : "(none)\n", stdout);
  } else if (std::strcmp(probe, "df") == 0 && arg) {
    DiskSpaceInfo info;
    int ok = GetDiskSpace(arg, &info);
    std::printf("%d %.0f\n%s", ok, info.Avail, info.szDfLine);
  } else if (std::strcmp(probe, "du") == 0 && arg) {
    std::printf("%.0f\n", DUPath(arg));
  } else if (std::strcmp(probe, "existing") == 0 && arg) {
    int exists = 0;
    std::printf("%s %d\n", FindExistingPath(arg, &exists), exists);
  } else if (std::strcmp(probe, "syscmd") == 0 && argc > 4) {
    int result = SysCmd(std::atoi(argv[3]), std::atoi(argv[2]), "%s", argv[4]);
    std::printf("\nresult=%d\n", result);
  } else {
    return Usage();
  }
  return 0;
}
