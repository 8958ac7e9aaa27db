// Menu and item records: preparing and releasing a menu, item states, the
// state rules that tie items together and the conditions that pick a
// sub-menu. The full-screen chooser of states is TextMenu_chooser.cpp.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "MemMgr.h"
#include "NlsUtils.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"

namespace {

enum : int {
  kMsgRequiredEmpty = 1011,
};

// One change runs at most this many targets of P rules, however deep or
// wide they branch.
constexpr int kMaxRuleRuns = 256;
// Conditions in parentheses nest at most this deep.
constexpr int kMaxConditionDepth = 64;

// The current state names, one text per item, kept for the run so that
// pCurState can point at it.
std::unordered_map<const TtyMenuItem*, std::string>& CurrentStates() {
  static std::unordered_map<const TtyMenuItem*, std::string> names;
  return names;
}

void SetCurrentState(TtyMenuItem* item, const std::string* name) {
  if (name == nullptr) {
    item->pCurState = nullptr;
    return;
  }
  std::string& kept = CurrentStates()[item];
  kept = *name;
  item->pCurState = kept.c_str();
}

bool HoldsNumber(unsigned kind) {
  return kind != kItemSubMenu && kind != kItemRequired && kind != kItemOptional && kind != kItemFraction;
}

// ---------------------------------------------------------------------------
// Rule words: the text split at any of "{,.} ", each word with the one
// delimiter that ended it (0 at the end of the text), escapes \n \r \t
// translated as the program's tokenizer does.

struct RuleWord {
  std::string text;
  char ended;
};

std::vector<RuleWord> SplitRule(const char* text) {
  static const char kDelimiters[] = "{,.} ";
  std::vector<RuleWord> words;
  const char* p = text;
  while (*p != '\0') {
    while (*p != '\0' && std::strchr(kDelimiters, *p) != nullptr) ++p;
    if (*p == '\0') break;
    RuleWord w{{}, 0};
    while (*p != '\0') {
      if (*p == '\\' && p[1] != '\0') {
        char c = p[1];
        w.text.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c);
        p += 2;
        continue;
      }
      if (std::strchr(kDelimiters, *p) != nullptr) {
        w.ended = *p++;
        break;
      }
      w.text.push_back(*p++);
    }
    words.push_back(std::move(w));
  }
  return words;
}

bool EndsRule(const RuleWord& w) { return w.ended == '}' || w.ended == ' ' || w.ended == '\0'; }

// The item index a target word names, or -1.
int TargetIndex(const TtyMenu* menu, const std::string& word) {
  const char* p = word.c_str();
  long n = 0;
  if (!ReadNumber(&p, &n) || *p != '\0' || n >= MenuItemCount(menu)) return -1;
  return static_cast<int>(n);
}

// The state rules applied for one change, with the rules its P rules run
// in turn. Every P target spends one run of the pass, so that rules naming
// items many times end soon; an item whose rules are being applied already
// (one that a P rule reaches again) only has its action run.
struct RulePass {
  int runsLeft = kMaxRuleRuns;
  std::vector<const TtyMenuItem*> running;
};

void ApplyRules(TtyMenu* menu, int index, RulePass& pass);

void ApplyRule(TtyMenu* menu, char letter, bool match, int target, long v, RulePass& pass) {
  if (target < 0) return;
  TtyMenuItem& t = menu->pItems[target];
  switch (letter) {
    case 'N':
      t.State = match ? kStateDimmed : kStateAvailable;
      break;
    case 'H':
      t.State = match ? kStateHidden : kStateAvailable;
      break;
    case 'P':
      if (!match || pass.runsLeft <= 0) break;
      --pass.runsLeft;
      ApplyRules(menu, target, pass);
      if (t.pfnAction != nullptr) t.pfnAction(menu, &t);
      break;
    case 'S':
      // Only a value that is a number can be set; a text buffer or a
      // sub-menu is never overwritten with one.
      if (!HoldsNumber(t.Type)) break;
      if (match) {
        t.SavedValue = static_cast<int>(t.Value.Int);
        t.Value.Int = v;
      } else if (t.SavedValue >= 0) {
        t.Value.Int = t.SavedValue;
        t.SavedValue = -1;
      } else {
        break;
      }
      if (t.Type == kItemChoice || t.Type == kItemSet) UpdateStateSelection(&t);
      break;
    default:
      break;  // other letters: the targets are passed over
  }
}

void ApplyRules(TtyMenu* menu, int index, RulePass& pass) {
  if (index < 0 || index >= MenuItemCount(menu)) return;
  TtyMenuItem& item = menu->pItems[index];
  if (item.pFormat == nullptr || item.State != kStateAvailable) return;
  if (item.Type != kItemChoice && item.Type != kItemSet && item.Type != kItemInteger) return;
  if (std::find(pass.running.begin(), pass.running.end(), &item) != pass.running.end()) return;
  pass.running.push_back(&item);
  // The rule text is split once, so that rules run by P rules (which split
  // their own texts) cannot disturb this scan.
  const std::vector<RuleWord> words = SplitRule(item.pFormat);
  const int value = static_cast<int>(item.Value.Int);
  size_t i = 0;
  while (i < words.size()) {
    const RuleWord& head = words[i++];
    const char letter = head.text[0];
    const bool match = TestFormatState(head.text.c_str() + 1, value) != 0;
    if (EndsRule(head)) continue;  // a rule without targets
    while (i < words.size()) {
      const RuleWord& target = words[i++];
      const RuleWord* last = &target;
      long v = 0;
      if (letter == 'S') {
        if (i >= words.size()) break;
        last = &words[i++];
        const char* p = last->text.c_str();
        if (!ReadNumber(&p, &v) || *p != '\0') v = -1;
      }
      if (letter != 'S' || v >= 0) ApplyRule(menu, letter, match, TargetIndex(menu, target.text), v, pass);
      if (EndsRule(*last)) break;
    }
  }
  pass.running.pop_back();
}

// ---------------------------------------------------------------------------
// Conditions: expression := term { '|' term }, term := factor { '&' factor },
// factor := '!' factor | '(' expression ')' | atom [ 'A' ].

class ConditionReader {
 public:
  ConditionReader(TtyMenu* menu, const char* text, int index) : menu_(menu), p_(text), index_(index) {}

  bool Read() {
    bool result = Expression();
    return ok_ && *p_ == '\0' && result;
  }

 private:
  bool Expression() {
    if (++depth_ > kMaxConditionDepth) return Fail();
    bool result = Term();
    while (ok_ && *p_ == '|') {
      ++p_;
      bool next = Term();
      result = result || next;
    }
    --depth_;
    return result;
  }
  bool Term() {
    bool result = Factor();
    while (ok_ && *p_ == '&') {
      ++p_;
      bool next = Factor();
      result = result && next;
    }
    return result;
  }
  bool Factor() {
    if (!ok_) return false;
    if (*p_ == '!') {
      ++p_;
      if (++depth_ > kMaxConditionDepth) return Fail();
      bool result = !Factor();
      --depth_;
      return result;
    }
    if (*p_ == '(') {
      ++p_;
      bool result = Expression();
      if (*p_ != ')') return Fail();
      ++p_;
      return result;
    }
    std::string atom;
    while (*p_ != '\0' && (IsDigit(*p_) || *p_ == '.' || *p_ == '+' || *p_ == '-')) atom.push_back(*p_++);
    if (atom.empty()) return Fail();
    int state = TestState(menu_, atom.c_str(), index_);
    if (*p_ == 'A') {
      ++p_;
      return state == 2;
    }
    return state != 0;
  }
  bool Fail() {
    ok_ = false;
    return false;
  }

  TtyMenu* menu_;
  const char* p_;
  int index_;
  int depth_ = 0;
  bool ok_ = true;
};


}  // namespace

// ---------------------------------------------------------------------------

bool ReadNumber(const char** p, long* n) {
  if (!IsDigit(**p)) return false;
  long v = 0;
  for (; IsDigit(**p); ++*p)
    if (v < 100000000) v = v * 10 + (**p - '0');
  *n = v;
  return true;
}

void EnsureTextBuffer(TtyMenuItem* item) {
  if (item->Value.pText != nullptr) return;
  item->Value.pText = GetMemT<char>(kItemTextSize);
  if (item->Value.pText == nullptr) SysError("%s", RunUtilText(UtilText::kNoMemory));
}

int MenuItemCount(const TtyMenu* menu) {
  if (menu == nullptr || menu->pItems == nullptr) return 0;
  int n = 0;
  while (menu->pItems[n].pTitle != nullptr) ++n;
  return n;
}

std::vector<std::string> ItemStateNames(const TtyMenuItem* item) {
  std::vector<std::string> names;
  if (item->pStates == nullptr || item->pStates[0] == '\0') return names;
  // Every comma separates two names, empty ones too: states keep their
  // numbers however they are written.
  std::string name;
  for (const char* p = item->pStates;; ++p) {
    if (*p == ',' || *p == '\0') {
      names.push_back(name);
      name.clear();
      if (*p == '\0') break;
    } else {
      name.push_back(*p);
    }
  }
  return names;
}

std::string ShownStateName(const std::string& name) {
  return !name.empty() && name[0] == '_' ? name.substr(1) : name;
}

const char* ShownTitle(const TtyMenuItem* item) {
  const char* t = item->pTitle != nullptr ? item->pTitle : "";
  if (t[0] == '~' && t[1] != '\0') return t[2] != '\0' ? t + 3 : t + 2;
  return t;
}

int InitMenu(TtyMenu* menu) {
  const int count = MenuItemCount(menu);
  // SavedValue is left as the table has it: the 0 of a static table is a
  // saved value, so the first pass of an S rule that does not match sets its
  // target to 0.
  int width = 0;
  unsigned number = 1;
  for (int i = 0; i < count; ++i) {
    TtyMenuItem& item = menu->pItems[i];
    item.TitleLen = static_cast<int>(std::strlen(item.pTitle));
    width = std::max(width, item.TitleLen);
    switch (item.Type) {
      case kItemChoice:
      case kItemSet:
        item.Count = static_cast<int>(ItemStateNames(&item).size());
        if (item.Type == kItemChoice) {
          item.Value.Int = item.Default.Int;
        } else if (item.Value.Int == 0) {
          item.Default.Int = 1;
          item.Value.Int = 1;
        }
        item.PrevValue = static_cast<int>(item.Default.Int);
        UpdateStateSelection(&item);
        ProcessStateFormat(menu, i);
        break;
      case kItemInteger:
        item.Value.Int = item.Default.Int;
        break;
      case kItemFraction:
        item.Value.Float = item.Default.Float;
        break;
      case kItemRequired:
      case kItemOptional:
        EnsureTextBuffer(&item);
        CopyText(item.Value.pText, kItemTextSize, item.Default.pConst != nullptr ? item.Default.pConst : "");
        break;
      default:
        break;
    }
    if (item.Type < kItemApplyNamed)
      item.Key = 0;
    else if (item.pTitle[0] == '~')
      item.Key = static_cast<unsigned char>(item.pTitle[1]);
    else
      item.Key = number++;
  }
  return width;
}

void FreeMenu(TtyMenu* menu) {
  const int count = MenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    TtyMenuItem& item = menu->pItems[i];
    if (item.Type != kItemRequired && item.Type != kItemOptional) continue;
    PutMem(item.Value.pText);
    item.Value.pText = nullptr;
  }
}

void UpdateStateSelection(TtyMenuItem* item) {
  const std::vector<std::string> names = ItemStateNames(item);
  const int tries = item->Count > 0 ? item->Count : 1;
  for (int i = 0; i < tries; ++i) {
    const intptr_t v = item->Value.Int;
    const std::string* name = v >= 0 && v < static_cast<intptr_t>(names.size()) ? &names[v] : nullptr;
    SetCurrentState(item, name);
    if (name == nullptr || (*name)[0] != ' ') return;
    if (item->Type == kItemChoice && item->Count > 0) {
      item->PrevValue = static_cast<int>(v);
      item->Value.Int = (v + 1) % item->Count;
    }
  }
}

unsigned char TestNames(TtyMenu* menu) {
  const int count = MenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const TtyMenuItem& item = menu->pItems[i];
    if (item.State == kStateHidden) break;
    if (item.Type == kItemRequired && (item.Value.pText == nullptr || item.Value.pText[0] == '\0')) {
      PostNlsMsg(kMsgRequiredEmpty);
      return 0;
    }
  }
  return 1;
}

unsigned char TestFormatState(const char* list, int value) {
  if (list == nullptr) return 0;
  if (std::strchr(list, '*') != nullptr) return 1;
  for (const char* p = list; *p != '\0';) {
    long n = 0;
    if (ReadNumber(&p, &n)) {
      if (n == value) return 1;
    } else {
      ++p;
    }
  }
  return 0;
}

void ProcessStateFormat(TtyMenu* menu, int index) {
  RulePass pass;
  ApplyRules(menu, index, pass);
}

int TestState(TtyMenu* menu, const char* atom, int index) {
  if (atom == nullptr) return 0;
  const char* p = atom;
  char sign = 0;
  if (*p == '+' || *p == '-') sign = *p++;
  long n = 0;
  long v = 0;
  if (!ReadNumber(&p, &n) || *p++ != '.') return 0;
  bool negative = *p == '-';
  if (negative) ++p;
  if (!ReadNumber(&p, &v)) return 0;
  if (negative) v = -v;
  long target = sign == '+' ? index + n : sign == '-' ? index - n : n;
  if (target < 0 || target >= MenuItemCount(menu)) return 0;
  const TtyMenuItem& item = menu->pItems[target];
  bool holds = false;
  if (item.Type == kItemFraction)
    holds = item.Value.Float == static_cast<float>(v);
  else if (HoldsNumber(item.Type))
    holds = item.Value.Int == v;
  if (!holds) return 0;
  return item.State != kStateAvailable ? 2 : 1;
}

unsigned char TestStateCondition(TtyMenu* menu, const char* text, int index) {
  if (text == nullptr) return 0;
  return ConditionReader(menu, text, index).Read() ? 1 : 0;
}

TtyMenu* ValidateMenu(TtyMenu* menu, int index) {
  if (index < 0 || index >= MenuItemCount(menu)) return nullptr;
  const TtyMenuItem& item = menu->pItems[index];
  if (item.Type != kItemSubMenu || item.State != kStateAvailable) return nullptr;
  if (item.pFormat == nullptr) return item.Value.pMenu;
  if (item.Value.ppMenus == nullptr) return nullptr;
  int position = 0;
  std::string condition;
  for (const char* p = item.pFormat;; ++p) {
    if (*p == ' ' || *p == '\0') {
      if (!condition.empty()) {
        if (TestStateCondition(menu, condition.c_str(), index)) return item.Value.ppMenus[position];
        ++position;
        condition.clear();
      }
      if (*p == '\0') break;
    } else {
      condition.push_back(*p);
    }
  }
  return nullptr;
}
