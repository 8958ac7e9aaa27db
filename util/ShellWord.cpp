// Judging and quoting the texts of host command lines.
#include "ShellWord.h"

#include <cctype>
#include <cstring>

namespace {

ShellWordClass ClassOf(unsigned char c) {
  if (std::isalnum(c) && c < 128) return kShellPlain;
  if (c != '\0' && std::strchr("/._-+,@:=", c) != nullptr) return kShellPlain;
  if (c != '\0' && std::strchr("*?[]~%#\t", c) != nullptr) return kShellPattern;
  if (c < 32 || c == 127) return kShellRefused;
  return kShellQuoted;
}

// Characters the double quotes of the runner's -c text still act on.
bool ActsInDoubleQuotes(char c) { return c == '$' || c == '`' || c == '\\' || c == '"'; }

}  // namespace

ShellWordClass JudgeShellWord(const char* text) {
  if (text == nullptr || *text == '\0') return kShellRefused;
  ShellWordClass worst = kShellPlain;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != '\0'; ++p) {
    ShellWordClass c = ClassOf(*p);
    if (c > worst) worst = c;
  }
  return worst;
}

std::string ShellWord(const char* text, int shells) {
  switch (JudgeShellWord(text)) {
    case kShellPlain:
      return text;
    case kShellRefused:
      return "";
    default:
      break;
  }
  // The inner shell reads 'text' with every ' written as '\''; for the
  // outer shell the characters that act inside its double quotes get a
  // backslash, which it removes again.
  std::string inner = "'";
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p == '\'') {
      inner += "'\\''";
    } else {
      inner += *p;
    }
  }
  inner += '\'';
  if (shells < 2) return inner;
  std::string outer;
  for (char c : inner) {
    if (ActsInDoubleQuotes(c)) outer += '\\';
    outer += c;
  }
  return outer;
}

bool IsSafeShellArguments(const char* text) {
  if (text == nullptr) return false;
  for (size_t i = 0; text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const char next = text[i + 1];
    if ((c < 32 && c != '\t') || c == 127) return false;
    if (c == '"' || c == '`') return false;
    if (c == '$' && (std::isalnum(static_cast<unsigned char>(next)) || std::strchr("({_!$?#*@-", next) != nullptr) &&
        next != '\0')
      return false;
    if (c == '\\' && next != '\0' && std::strchr("\"`$", next) != nullptr) return false;
  }
  return true;
}
