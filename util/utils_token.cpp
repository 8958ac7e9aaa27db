// Tokenizer, keyword lists, string search and path names. One scan position
// is shared by GetToken and GetTokenParse for the whole program.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "TerminalCharset.h"
#include "utils.h"

char* szTokenIn = nullptr;
char chTokenDel = 0;
char GetTokenBuf[kTokenBufSize];

namespace {

char* szIn = nullptr;

bool IsDelimiter(char c, const char* delimiters) {
  return c != '\0' && delimiters != nullptr && std::strchr(delimiters, c) != nullptr;
}

char Unescape(char c) {
  switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return c;
  }
}

}  // namespace

char* Gets(char* buffer, int size) {
  if (buffer == nullptr || size < 2) {
    if (buffer != nullptr && size == 1) buffer[0] = '\0';
    return nullptr;
  }
  int n = 0;
  bool sawAnything = false;
  for (;;) {
    if (n == size - 1) break;
    int c = std::getchar();
    if (c == EOF) break;
    sawAnything = true;
    if (c == '\n') break;
    buffer[n++] = static_cast<char>(c);
  }
  buffer[n] = '\0';
  // A UTF-8 terminal types UTF-8: the answer is judged in ISO 8859-1, the
  // character set of every text it is compared with.
  if (TerminalConverts()) Utf8ToLatin1InPlace(buffer);
  return sawAnything ? buffer : nullptr;
}

void SetTokenBuf(char* text) {
  szIn = text;
  szTokenIn = text;
}

char* GetToken(const char* text, const char* delimiters) {
  chTokenDel = 0;
  if (text != nullptr) szIn = const_cast<char*>(text);
  GetTokenBuf[0] = '\0';
  if (szIn == nullptr) {
    szTokenIn = nullptr;
    return nullptr;
  }
  int fill = 0;
  int count = 0;
  // Characters beyond what the buffer holds are consumed but not stored, so
  // an overlong token comes back cut and the scan stays in step.
  auto store = [&fill](char c) {
    if (fill < kTokenBufSize - 1) GetTokenBuf[fill++] = c;
  };
  for (;;) {
    char c = *szIn;
    if (c == '\0') break;
    if (c == '\\') {
      if (szIn[1] == '\0') {
        // A trailing backslash escapes nothing: the text is exhausted.
        ++szIn;
        break;
      }
      store(Unescape(szIn[1]));
      szIn += 2;
      ++count;
      continue;
    }
    if (IsDelimiter(c, delimiters)) {
      chTokenDel = c;
      ++szIn;
      if (count == 0) continue;
      break;
    }
    store(c);
    ++szIn;
    ++count;
  }
  GetTokenBuf[fill] = '\0';
  szTokenIn = szIn;
  return GetTokenBuf[0] != '\0' ? GetTokenBuf : nullptr;
}

char* GetTokenParse(char* text, const char* delimiters) {
  chTokenDel = 0;
  if (text != nullptr) szIn = text;
  if (szIn == nullptr) {
    szTokenIn = nullptr;
    return nullptr;
  }
  char* start = szIn;
  int count = 0;
  for (;;) {
    char c = *szIn;
    if (c == '\0') break;
    if (c == '\\') {
      if (szIn[1] == '\0') {
        // The token ends before a trailing backslash, as in GetToken.
        *szIn++ = '\0';
        break;
      }
      szIn += 2;
      ++count;
      continue;
    }
    if (IsDelimiter(c, delimiters)) {
      *szIn++ = '\0';
      chTokenDel = c;
      if (count == 0) {
        start = szIn;
        continue;
      }
      break;
    }
    ++szIn;
    ++count;
  }
  szTokenIn = szIn;
  return *start != '\0' ? start : nullptr;
}

char* GetTokenN(const char* text, const char* delimiters, int n) {
  char* token = GetToken(text, delimiters);
  for (int i = 2; i <= n && token != nullptr; ++i) token = GetToken(nullptr, delimiters);
  return token;
}

unsigned FindToken(const char* word, const char* list) {
  if (word == nullptr || list == nullptr || list[0] == '\0') return 0;
  const char sep = list[0];
  char framed[kFramedWordSize];
  if (!FormatText(framed, sizeof framed, "%c%s%c", sep, word, sep)) return 0;
  const char* match = StrStr(list, framed);
  if (match == nullptr) {
    // The last word of a list written without a closing separator.
    const char* last = std::strrchr(list, sep);
    if (last != nullptr && std::strcmp(word, last + 1) == 0) match = last;
  }
  if (match == nullptr) return 0;
  unsigned position = 0;
  for (const char* p = list; p <= match; ++p) position += (*p == sep);
  return position;
}

unsigned FindTokenC(const char* word, const char* list) {
  if (word == nullptr || list == nullptr || list[0] == '\0') return 0;
  const char sep = list[0];
  const size_t wordLen = std::strlen(word);
  if (wordLen + 3 > kFramedWordSize) return 0;
  unsigned position = 0;
  for (const char* p = list; *p != '\0'; ++p) {
    if (*p != sep) continue;
    ++position;
    if (strncasecmp(p + 1, word, wordLen) == 0 && (p[1 + wordLen] == sep || p[1 + wordLen] == '\0'))
      return position;
  }
  return 0;
}

char* StripPath(const char* path) {
  static char result[kStripPathSize];
  result[0] = '\0';
  if (path == nullptr) return result;
  const char* end = path + std::strlen(path);
  while (end > path && end[-1] == '/') --end;
  if (end == path) {
    // Empty, or made only of '/': it comes back unchanged.
    CopyText(result, sizeof result, path);
    return result;
  }
  const char* begin = end;
  while (begin > path && begin[-1] != '/') --begin;
  size_t len = static_cast<size_t>(end - begin);
  if (len >= sizeof result) len = sizeof result - 1;  // an overlong name is cut
  std::memcpy(result, begin, len);
  result[len] = '\0';
  return result;
}

char* StripFn(const char* path) {
  static char result[kStripFnSize];
  if (path == nullptr || path[0] == '\0') return std::strcpy(result, ".");
  const char* slash = std::strrchr(path, '/');
  if (slash == nullptr) return std::strcpy(result, ".");
  if (slash == path) return std::strcpy(result, "/");
  size_t len = static_cast<size_t>(slash - path);
  if (len >= sizeof result) {
    // A cut directory would name another directory: give none at all.
    result[0] = '\0';
    return result;
  }
  std::memcpy(result, path, len);
  result[len] = '\0';
  return result;
}

int StrLen(const char* text) { return text == nullptr ? 0 : static_cast<int>(std::strlen(text)); }

char* StrStr(const char* text, const char* pattern) {
  if (text == nullptr || pattern == nullptr || pattern[0] == '\0') return nullptr;
  return const_cast<char*>(std::strstr(text, pattern));
}

char* StrCaseStr(const char* text, const char* pattern) {
  if (text == nullptr || pattern == nullptr || pattern[0] == '\0') return nullptr;
  for (const char* t = text; *t != '\0'; ++t) {
    const char* a = t;
    const char* b = pattern;
    while (*a != '\0' && *b != '\0' &&
           std::toupper(static_cast<unsigned char>(*a)) == std::toupper(static_cast<unsigned char>(*b))) {
      ++a;
      ++b;
    }
    if (*b == '\0') return const_cast<char*>(t);
  }
  return nullptr;
}
