// Converting the program's ISO 8859-1 texts for a UTF-8 terminal, at the
// standard streams.
#include "TerminalCharset.h"

#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "Fd.h"

namespace {

bool converting = false;

const char* FirstSet(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && value[0] != '\0') return value;
  }
  return nullptr;
}

// The codeset of a locale name ("fr_FR.UTF-8@euro" gives "UTF-8") is UTF-8
// however it is written: UTF-8, utf8, Utf-8.
bool NamesUtf8(const char* locale) {
  const char* dot = locale != nullptr ? std::strchr(locale, '.') : nullptr;
  if (dot == nullptr) return false;
  std::string codeset;
  for (const char* p = dot + 1; *p != '\0' && *p != '@'; ++p)
    if (*p != '-' && *p != '_') codeset += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p - 'A' + 'a' : *p);
  return codeset == "utf8";
}

// The write function of a converting stream; the cookie is the descriptor.
ssize_t WriteConverted(void* cookie, const char* buffer, size_t size) {
  const int fd = static_cast<int>(reinterpret_cast<intptr_t>(cookie));
  const std::string converted = Latin1ToUtf8(buffer, size);
  return WriteAll(fd, converted.data(), converted.size()) ? static_cast<ssize_t>(size) : -1;
}

FILE* ConvertingStream(int fd, int buffering) {
  cookie_io_functions_t io{};
  io.write = WriteConverted;
  FILE* f = fopencookie(reinterpret_cast<void*>(static_cast<intptr_t>(fd)), "w", io);
  if (f != nullptr) setvbuf(f, nullptr, buffering, BUFSIZ);
  return f;
}

}  // namespace

const char* MessagesLocaleName() { return FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"}); }

bool LocaleIsUtf8() { return NamesUtf8(FirstSet({"LC_ALL", "LC_CTYPE", "LANG"})); }

void UseTerminalCharset() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!LocaleIsUtf8()) return;
  std::fflush(stdout);
  std::fflush(stderr);
  // Buffered as the C library buffers the streams it opens: output by line
  // on a terminal and by block elsewhere, errors not at all.
  FILE* out = ConvertingStream(STDOUT_FILENO, isatty(STDOUT_FILENO) ? _IOLBF : _IOFBF);
  FILE* err = ConvertingStream(STDERR_FILENO, _IONBF);
  if (out == nullptr || err == nullptr) {
    if (out != nullptr) std::fclose(out);
    if (err != nullptr) std::fclose(err);
    return;
  }
  stdout = out;
  stderr = err;
  converting = true;
}

bool TerminalConverts() { return converting; }

std::string Latin1ToUtf8(const char* text, size_t length) {
  std::string out;
  out.reserve(length + length / 8);
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string ShownWithoutControls(const std::string& text) {
  std::string shown = text;
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32 || c == 127) c = '?';
  return shown;
}

size_t Utf8ToLatin1InPlace(char* text) {
  if (text == nullptr) return 0;
  const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
  char* out = text;
  while (*in != '\0') {
    const unsigned char c = *in;
    // The length a lead byte announces, and whether its followers are there.
    const size_t length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 1;
    bool whole = length > 1;
    for (size_t k = 1; whole && k < length; ++k) whole = (in[k] & 0xC0) == 0x80;
    if (!whole) {
      *out++ = static_cast<char>(c);
      ++in;
      continue;
    }
    if (length == 2 && c <= 0xC3) {
      *out++ = static_cast<char>(((c & 0x03) << 6) | (in[1] & 0x3F));
    } else {
      *out++ = '?';
    }
    in += length;
  }
  *out = '\0';
  return static_cast<size_t>(out - text);
}
