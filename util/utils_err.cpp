// Error reports on standard error: the fatal system error and the warning or
// error line.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "utils.h"

const char common_116[] = "ERROR: %s\n";

namespace {
ExitHandler exitHandler = nullptr;
}  // namespace

void ExitProgram(int status) {
  if (exitHandler != nullptr) exitHandler(status);
  std::exit(status);
}

ExitHandler SetExitHandler(ExitHandler handler) {
  ExitHandler old = exitHandler;
  exitHandler = handler;
  return old;
}

void SysError(const char* format, ...) {
  const int err = errno;
  std::fflush(stdout);
  std::fprintf(stderr, "\n%s: ", my_name != nullptr ? my_name : "setup");
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fprintf(stderr, " : %s\n", std::strerror(err));
  ExitProgram(1);
}

namespace {

[[noreturn]] void ExitWithError(int status) {
  std::fflush(stdout);
  std::fprintf(stderr, common_116, Line);
  ExitProgram(status);
}

}  // namespace

void ErrorMsg(int type, int status, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(Line, sizeof Line, format, args);
  va_end(args);
  if (type == kSevWarning) {
    std::fflush(stdout);
    std::fprintf(stderr, "WARNING: %s\n", Line);
  } else if (type == kSevFatal) {
    ExitWithError(status);
  }
}

void FatalError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(Line, sizeof Line, format, args);
  va_end(args);
  ExitWithError(1);
}
