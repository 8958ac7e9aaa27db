// What every fuzz harness shares: the one-time set-up that keeps a harness
// away from the host and the terminal, the end of a run taken as the end of
// one input, and the cutting of an input into its parts.
//
// A harness defines LLVMFuzzerTestOneInput. Built with clang and libFuzzer
// (scripts/fuzz.sh) it is a fuzzer; linked with replay_main.cpp it replays
// saved inputs in the ordinary suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Called at the start of every input; the first call sets up the process:
// standard input at its end, standard output into /dev/null, the host seam
// answering every command with success and running none, the exit handler
// that ends the input instead of the process, a scratch directory (in
// /dev/shm unless TMPDIR names another place) as the working directory,
// and one allocation held for good so that the memory manager keeps its
// first block instead of mapping it again per input.
void FuzzSetUp();

// The scratch directory the set-up made (the working directory).
const std::string& FuzzScratchDir();

// Runs body; a run that ends the program (FatalError, SysError, the end of
// terminal input...) comes back here. Returns the exit status, or -1 when
// body returned.
template <typename Body>
int FuzzRun(Body body);

// The input cut at its NUL bytes into at most max parts (the last part
// keeps any further NULs); missing parts are empty.
std::vector<std::string> FuzzParts(const uint8_t* data, size_t size, size_t max);

// Input bytes as a text (without NULs: a NUL ends the text).
std::string FuzzText(const uint8_t* data, size_t size);

// Makes text the content of standard input until the next call, without a
// file: reads of descriptor 0 are not redirected, only the stdin stream.
void FuzzStdin(const std::string& text);

// Makes text the current input file (pIn), read from memory.
void FuzzInputFile(const std::string& text);

// Writes text to the scratch directory's file name; its full path.
std::string FuzzFile(const char* name, const std::string& text);

// Aborts (a finding) when what does not hold.
void FuzzCheck(bool what, const char* message);

// ---------------------------------------------------------------------------

struct FuzzExit {
  int status;
};

template <typename Body>
int FuzzRun(Body body) {
  try {
    body();
  } catch (const FuzzExit& e) {
    return e.status;
  }
  return -1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
