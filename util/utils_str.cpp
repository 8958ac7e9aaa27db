// Saved strings and small string helpers.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "MemMgr.h"
#include "utils.h"

namespace {

char* AllocText(size_t len) {
  char* p = GetMemT<char>(len + 1);
  if (p == nullptr) SysError("%s", RunUtilText(UtilText::kNoMemory));
  return p;
}

}  // namespace

char* SaveStr(const char* format, ...) {
  if (format == nullptr) return nullptr;
  // The result is measured first, so it is never cut and no scratch area
  // has to guess its size.
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int len = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (len < 0) len = 0;
  char* text = AllocText(static_cast<size_t>(len));
  std::vsnprintf(text, static_cast<size_t>(len) + 1, format, again);
  va_end(again);
  return text;
}

char* SaveText(const char* text) {
  if (text == nullptr) return nullptr;
  size_t len = std::strlen(text);
  char* copy = AllocText(len);
  std::memcpy(copy, text, len + 1);
  return copy;
}

void SetVarContent(void* destination, const void* source, int length, bool reverse) {
  auto* d = static_cast<unsigned char*>(destination);
  const auto* s = static_cast<const unsigned char*>(source);
  if (d == nullptr || s == nullptr || length <= 0) return;
  if (!reverse) {
    std::memmove(d, s, static_cast<size_t>(length));
    return;
  }
  for (int j = 0; j < length / 2; ++j) {
    unsigned char lo = s[j];
    unsigned char hi = s[length - 1 - j];
    d[j] = hi;
    d[length - 1 - j] = lo;
  }
  if (length % 2) d[length / 2] = s[length / 2];
}

double MaxD(double a, double b) { return a > b ? a : b; }

bool CopyText(char* buffer, size_t size, const char* source) {
  if (buffer == nullptr || size == 0) return false;
  if (source == nullptr) source = "";
  size_t len = std::strlen(source);
  bool fits = len < size;
  if (!fits) len = size - 1;
  std::memmove(buffer, source, len);
  buffer[len] = '\0';
  return fits;
}

bool FormatText(char* buffer, size_t size, const char* format, ...) {
  if (buffer == nullptr || size == 0) return false;
  va_list args;
  va_start(args, format);
  int len = std::vsnprintf(buffer, size, format, args);
  va_end(args);
  return len >= 0 && static_cast<size_t>(len) < size;
}
