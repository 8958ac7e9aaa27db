#include "UtilText.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <iterator>

namespace {

// In the order of UtilText.
constexpr const char* kEnglish[] = {
    "couldn't open %s",
    "can't open file, %s",
    "couldn't write %s",
    "Unable to allocate memory",
    "unable to locate system command '%s'",
    "the command that failed: %.*s",
    "could not be started (%s)",
    "exit status %d",
    "killed by signal %d",
    "ended with wait status %d",
    "command line too long",
    "it is not owned by root (uid %u)",
    "it is writable by others than root (mode %04o)",
    "it is a symbolic link",
    "it is not a folder",
    "it is not a regular file",
    "it has %lu links",
    "is a symbolic link not owned by root",
    "is a symbolic link in a folder that others may write",
    "is not a path below the root folder",
    "is not root's (uid %u)",
    "cannot be reached: %s",
    "cannot be opened: %s",
    "is a symbolic link that cannot be followed",
    "it is too long for a key file",
    "it holds a byte 0 or an overlong line",
    "it does not begin with an untrusted comment",
    "line 2 is not the base64 of a public key",
    "it is not an Ed25519 key",
    "it holds more than two lines",
    "it is too long for a signature file",
    "it holds fewer than four lines",
    "line 2 is not the base64 of a signature",
    "it is of the legacy form, not prehashed (ED)",
    "it is not an Ed25519 signature",
    "line 3 is not a trusted comment",
    "line 4 is not the base64 of a signature",
    "it holds more than four lines",
    "the signature library cannot start",
    "it is by key %s, not %s",
    "the signature does not match the file",
    "the trusted comment does not match its signature",
    "A number is needed here.",
    "This page cannot be shown: there is not enough memory for its layout.\n",
    "This page cannot be shown: its layout is longer than %d lines.\n",
    "Cannot load file %s: the help viewer holds %d files, no more\n",
};
static_assert(std::size(kEnglish) == kUtilTexts);

UtilTextSource source = nullptr;

std::string Format(const char* format, va_list args) {
  const int err = errno;
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  errno = err;
  return text;
}

}  // namespace

const char* EnglishUtilText(UtilText id) {
  const int i = static_cast<int>(id);
  return i >= 0 && i < kUtilTexts ? kEnglish[i] : "";
}

void SetUtilTextSource(UtilTextSource s) { source = s; }

const char* RunUtilText(UtilText id) {
  const char* text = source != nullptr ? source(id) : nullptr;
  return text != nullptr && text[0] != '\0' ? text : EnglishUtilText(id);
}

std::string UtilFormat(UtilText id, ...) {
  va_list args;
  va_start(args, id);
  std::string text = Format(RunUtilText(id), args);
  va_end(args);
  return text;
}

std::string EnglishUtilFormat(UtilText id, ...) {
  va_list args;
  va_start(args, id);
  std::string text = Format(EnglishUtilText(id), args);
  va_end(args);
  return text;
}

void SayUtilError(UtilText id, ...) {
  va_list args;
  va_start(args, id);
  const std::string text = Format(RunUtilText(id), args);
  va_end(args);
  std::fflush(stdout);
  std::fprintf(stderr, "ERROR: %s\n", text.c_str());
}
