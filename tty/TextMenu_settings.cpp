// Settings files: the values of a menu tree saved as lines
// "index[value] kind state", a sub-menu's values inside "index{" ... "}",
// and read back into the same tree.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ReplacingFile.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"

namespace {

// Kinds whose values share one representation; a settings file may turn an
// item into another kind of its own group only.
int ValueGroup(unsigned kind) {
  switch (kind) {
    case kItemSubMenu: return 1;
    case kItemChoice: return 2;
    case kItemSet: return 3;
    case kItemRequired:
    case kItemOptional: return 4;
    case kItemInteger: return 5;
    case kItemFraction: return 6;
    default: return 0;
  }
}

// Skips the rest of a block of a settings file (up to its closing line,
// nested blocks included).
void SkipBlock() {
  int depth = 1;
  while (depth > 0 && GetFileLine()) {
    if (LineBuf[0] == '}') {
      --depth;
      continue;
    }
    const char* p = LineBuf;
    if (*p == '-' || *p == '+') ++p;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    if (p != LineBuf && *p == '{') ++depth;
  }
}

// One value line "index[value] kind state" for the menu; lines that do not
// fit it are passed over.
void LoadValueLine(TtyMenu* menu, int count, long index) {
  // The value runs from the '[' to the last ']', so that a text with blanks
  // (or brackets) comes back whole.
  char* open = std::strchr(LineBuf, '[');
  char* close = std::strrchr(LineBuf, ']');
  if (open == nullptr || close == nullptr || close < open || index < 0 || index >= count) return;
  int kind = 0;
  int state = 0;
  if (std::sscanf(close + 1, "%d %d", &kind, &state) != 2) return;
  if (kind < 0 || kind >= static_cast<int>(kItemKinds) || state < 0 || state > static_cast<int>(kStateHidden)) return;
  *close = '\0';
  const char* word = open + 1;

  TtyMenuItem& item = menu->pItems[index];
  item.State = static_cast<unsigned>(state);
  switch (item.Type) {
    case kItemChoice:
    case kItemInteger:
      item.Value.Int = std::atoi(word);
      if (item.Type == kItemChoice) UpdateStateSelection(&item);
      break;
    case kItemRequired:
    case kItemOptional:
      // As a typed entry: a text longer than the item holds is cut.
      EnsureTextBuffer(&item);
      CopyText(item.Value.pText, kItemTextSize, word);
      break;
    case kItemFraction:
      item.Value.Float = static_cast<float>(std::atof(word));
      break;
    default:
      break;
  }
  if (kind != 0 && ValueGroup(static_cast<unsigned>(kind)) == ValueGroup(item.Type))
    item.Type = static_cast<unsigned>(kind);
}

void LoadMenuAt(TtyMenu* menu, int depth) {
  const int count = MenuItemCount(menu);
  while (GetFileLine()) {
    if (LineBuf[0] == '}') {
      if (TtyMenuItem* first = FindTextMenuItem(menu, kItemApplyNamed))
        if (first->pfnAction != nullptr) first->pfnAction(menu, first);
      return;
    }
    char* end = nullptr;
    long index = std::strtol(LineBuf, &end, 10);
    if (end == LineBuf) continue;
    if (*end == '{') {
      TtyMenu* sub = index >= 0 && index < count ? ValidateMenu(menu, static_cast<int>(index)) : nullptr;
      if (sub != nullptr && depth + 1 < kMaxMenuDepth)
        LoadMenuAt(sub, depth + 1);
      else
        SkipBlock();
      continue;
    }
    LoadValueLine(menu, count, index);
  }
}

void StoreMenuAt(TtyMenu* menu, int depth) {
  if (pOut == nullptr) return;
  const int count = MenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const TtyMenuItem& item = menu->pItems[i];
    switch (item.Type) {
      case kItemChoice:
      case kItemInteger:
        std::fprintf(pOut, "%i[%i] %i %i\n", i, static_cast<int>(item.Value.Int), item.Type, item.State);
        break;
      case kItemRequired:
      case kItemOptional:
        std::fprintf(pOut, "%i[%s] %i %i\n", i, item.Value.pText != nullptr ? item.Value.pText : "", item.Type,
                     item.State);
        break;
      case kItemFraction:
        std::fprintf(pOut, "%i[%.3f] %i %i\n", i, static_cast<double>(item.Value.Float), item.Type, item.State);
        break;
      default:
        break;
    }
  }
  if (depth + 1 >= kMaxMenuDepth) return;
  for (int i = 0; i < count; ++i) {
    if (menu->pItems[i].Type != kItemSubMenu) continue;
    TtyMenu* sub = ValidateMenu(menu, i);
    if (sub == nullptr) continue;
    std::fprintf(pOut, "%i{\n", i);
    StoreMenuAt(sub, depth + 1);
    std::fprintf(pOut, "}\n");
  }
}

}  // namespace

// Stores the menu's settings in the file at path; false when it cannot be
// created.
bool StoreSettings(TtyMenu* menu, const char* path) {
  ReplacingFile f(path);
  if (f.get() == nullptr) {
    SayUtilError(UtilText::kCannotOpenFile, path);
    return false;
  }
  FILE* saved = pOut;
  pOut = f.get();
  StoreMenu(menu);
  pOut = saved;
  if (!f.Commit(0)) {
    std::fprintf(stderr, "ERROR: couldn't write %s\n", path);
    return false;
  }
  return true;
}

void LoadMenu(TtyMenu* menu) { LoadMenuAt(menu, 0); }

void StoreMenu(TtyMenu* menu) { StoreMenuAt(menu, 0); }
