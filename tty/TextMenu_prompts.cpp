// Line-oriented dialogue under the menus: yes/no questions, messages that
// wait for Enter, and the validator of typed entries.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "NlsUtils.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"
#include "UtilText.h"

const char setup_044[] = "This number must be between %i to %i.";
const char setup_045[] = "This number must be between %x to %x.";
const char setup_046[] = "This text length must be from %i to %i characters long.";
const char textmenu_060[] = "This number must be between %f to %f.";

namespace {

// Texts of the driver core string database used here.
enum : int {
  kMsgPressEnter = 1001,
  kMsgBadNumberChar = 1006,  // %c
  kMsgBadChar = 1007,        // %c, allowed characters, text accepted so far
  kMsgBadLetter = 1008,      // the same for letter-only elements
  kMsgForbidden = 1009,      // %s the value
  kMsgTwoPoints = 1020,
  kMsgEndOfInput = 1016,
};

char* VPostMsg(const char* format, va_list args) {
  if (format != nullptr) std::vprintf(format, args);
  Nlsfprintf(stdout, pDrvCoreDB, kNlsSection, kMsgPressEnter);
  std::fflush(stdout);
  return Gets(LineBuf, kLineBufSize);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// One check of a value against a pattern.
class Validator {
 public:
  Validator(const char* value, const char* pattern) : value_(value), v_(value), p_(pattern) {}

  int Run();

 private:
  // The value characters from..to have been accepted by an element.
  void Accept(const char* from, const char* to) {
    for (; from < to && collectedLen_ < kCollectedSize - 1; ++from) collected_[collectedLen_++] = *from;
    collected_[collectedLen_] = '\0';
  }
  // Reads "min,max)" the way the patterns write them: unsigned decimal
  // numbers, each followed by one character that is skipped.
  int PatternNumber();
  void PatternRange(int* min, int* max) {
    *min = PatternNumber();
    *max = PatternNumber();
  }
  bool OutOfRange(long long n, int min, int max) const { return max != 0 && (n < min || n > max); }
  // A length rule on the whole value: 0, or 2 after telling the user.
  int CheckLength(int min, int max);

  int Integer(int base);
  int Fraction();
  int Characters(bool digits);
  int Forbidden();
  int Literal();

  static constexpr int kCollectedSize = 512;
  const char* value_;
  const char* v_;  // current position in the value
  const char* p_;  // current position in the pattern
  char collected_[kCollectedSize] = {};
  int collectedLen_ = 0;
};

int Validator::PatternNumber() {
  long long n = 0;
  while (IsDigit(*p_)) {
    if (n < 1000000000) n = n * 10 + (*p_ - '0');  // larger ranges are no ranges of ours
    ++p_;
  }
  if (*p_ != '\0') ++p_;
  return static_cast<int>(n);
}

int Validator::CheckLength(int min, int max) {
  long long len = static_cast<long long>(std::strlen(value_));
  if (!OutOfRange(len, min, max)) return 0;
  PostMsg(setup_046, min, max);
  return 2;
}

int Validator::Integer(int base) {
  int min, max;
  PatternRange(&min, &max);
  char* end = nullptr;
  long long n = std::strtoll(v_, &end, base);
  // Where no number stands the value fits no range, and the user is told so.
  if (end == v_) {
    PostMsg("%s", RunUtilText(UtilText::kNumberNeeded));
    return 1;
  }
  Accept(v_, end);
  v_ = end;
  if (*v_ != '\0') {
    Accept(v_, v_ + 1);
    ++v_;
  }
  if (!OutOfRange(n, min, max)) return 0;
  if (base == 16)
    PostMsg(setup_045, static_cast<unsigned>(min), static_cast<unsigned>(max));
  else
    PostMsg(setup_044, min, max);
  return 1;
}

int Validator::Fraction() {
  char* end = nullptr;
  double min = std::strtod(p_, &end);
  p_ = end;
  if (*p_ == ',') ++p_;
  double max = std::strtod(p_, &end);
  p_ = end;
  const char* close = std::strchr(p_, ')');
  p_ = close != nullptr ? close + 1 : p_ + std::strlen(p_);

  int points = 0;
  for (const char* c = v_; *c != '\0'; ++c) {
    if (*c == '.') {
      ++points;
    } else if (!IsDigit(*c)) {
      PostNlsMsg(kMsgBadNumberChar, *c);
      return 3;
    }
  }
  if (points > 1) {
    PostNlsMsg(kMsgTwoPoints);
    return 1;
  }
  double n = std::strtod(v_, &end);
  if (end == v_) {  // only a point, or nothing
    PostMsg("%s", RunUtilText(UtilText::kNumberNeeded));
    return 1;
  }
  Accept(v_, end);
  v_ = end;
  if (max == 0 || (n >= min && n <= max)) return 0;
  PostMsg(textmenu_060, min, max);
  return 1;
}

int Validator::Characters(bool digits) {
  int min, max;
  PatternRange(&min, &max);
  std::string listed;
  while (p_[0] == '+' && p_[1] != '\0') {
    listed.push_back(p_[1]);
    p_ += 2;
  }
  for (; *v_ != '\0'; ++v_) {
    char c = *v_;
    if (IsLetter(c) || (digits && IsDigit(c)) || listed.find(c) != std::string::npos) {
      Accept(v_, v_ + 1);
      continue;
    }
    // What was allowed, written so that it reads the same in any language.
    std::string allowed = digits ? "A-Z a-z 0-9" : "A-Z a-z";
    for (char l : listed) {
      allowed.push_back(' ');
      allowed.push_back(l);
    }
    PostNlsMsg(digits ? kMsgBadChar : kMsgBadLetter, c, allowed.c_str(), collected_);
    return 3;
  }
  return CheckLength(min, max);
}

int Validator::Forbidden() {
  const char* text = p_;
  const char* close = std::strchr(text, ')');
  size_t len = close != nullptr ? static_cast<size_t>(close - text) : std::strlen(text);
  if (std::strlen(value_) == len && std::strncmp(value_, text, len) == 0) {
    PostNlsMsg(kMsgForbidden, value_);
    return 4;
  }
  return 0;
}

int Validator::Literal() {
  if (*v_ == *p_) {
    Accept(v_, v_ + 1);
    ++v_;
    ++p_;
    return 0;
  }
  const char expected[2] = {*p_, '\0'};
  // A value that ends here is shown with a blank where the character is missing.
  PostNlsMsg(kMsgBadChar, *v_ != '\0' ? *v_ : ' ', expected, collected_);
  return 3;
}

// Whether an element starts at p: every element letter does, whether or not
// a '(' follows, except t, which is a plain character without one.
bool StartsElement(const char* p) {
  return (*p != '\0' && std::strchr("dxfAa!", *p) != nullptr) || (*p == 't' && p[1] == '(');
}

int Validator::Run() {
  for (;;) {
    const char element = *p_;
    if (element == '\0' || element == '|') return 0;
    if (!StartsElement(p_)) {
      if (const int fault = Literal(); fault != 0) return fault;
      continue;
    }
    // The character after the letter is taken as its '(', whatever it is.
    p_ += p_[1] != '\0' ? 2 : 1;
    int fault = 0;
    switch (element) {
      case 'd':
      case 'x':
        fault = Integer(element == 'x' ? 16 : 10);
        break;
      case 'f':
        fault = Fraction();
        break;
      case 't': {
        int min, max;
        PatternRange(&min, &max);
        fault = CheckLength(min, max);
        break;
      }
      case '!':
        return Forbidden();
      default:  // A, a
        fault = Characters(element == 'A');
        break;
    }
    if (fault != 0) return fault;
  }
}

}  // namespace

// (The format comes from the string database, so there is no format
// attribute; the database's test checks its texts against the arguments
// passed here.)
char* PostNlsMsg(int number, ...) {
  char* text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, number);
  va_list args;
  va_start(args, number);
  char* line = VPostMsg(text, args);
  va_end(args);
  NlsFreeString(text);
  return line;
}

void EndOfTerminalInput() {
  char* text = NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, kMsgEndOfInput);
  SysError("%s", text);
}

int PromptYN(const char* format, ...) {
  for (;;) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputs("? [y/n] ", stdout);
    std::fflush(stdout);
    if (Gets(LineBuf, kLineBufSize) == nullptr) {
      // No answer will ever come: take it as no rather than asking forever.
      std::fputc('\n', stdout);
      std::fflush(stdout);
      return 0;
    }
    if (LineBuf[0] == 'y') return 1;
    if (LineBuf[0] == 'n') return 0;
  }
}

char* PostMsg(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char* line = VPostMsg(format, args);
  va_end(args);
  return line;
}

int ValidateEntry(const char* value, const char* pattern) {
  if (pattern == nullptr || *pattern == '\0') return 0;
  return Validator(value != nullptr ? value : "", pattern).Run();
}
