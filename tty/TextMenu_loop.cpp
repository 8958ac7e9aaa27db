// The menu loop: a menu printed as numbered lines, one answer line read,
// the chosen item carried out, again until the menu is left; and the
// settings files that save and restore the values of a menu tree.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MemMgr.h"
#include "NlsUtils.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"

const char setup_056[] = "Enter the settings file name: ";

char* pOption = nullptr;

namespace {

enum : int {
  kMsgStoreKey = 230,   // the settings can be stored
  kMsgHelpKey = 231,    // help is offered
  kMsgLeaveKey = 232,   // Enter leaves
  kMsgSetOpen = 270,    // opens the value of a set of states
  kMsgSetDefault = 271, // only the first state is chosen
  kMsgPrompt = 510,     // %s %s %s: the three texts above, or empty texts
  kMsgLeaveMenu = 1017,     // %s the menu's name
  kMsgLeaveProgram = 1018,  // %s the program's name
};

constexpr int kScreenWidth = 80;
// Sub-menus run inside their parents' loops, and settings files nest
// sub-menu blocks: both stop at this depth, so that a menu that reaches
// itself again cannot exhaust the stack.
constexpr int kMaxMenuDepth = 16;
constexpr int kMaxEntry = kItemTextSize - 1;  // characters of a typed entry or file name

int runDepth = 0;

// One level of runDepth for as long as a menu loop runs, however it is left.
struct RunLevel {
  RunLevel() { ++runDepth; }
  ~RunLevel() { --runDepth; }
  RunLevel(const RunLevel&) = delete;
  RunLevel& operator=(const RunLevel&) = delete;
};

char* Fetch(int number) { return NlsFetchString(pDrvCoreDB, nullptr, 0, kNlsSection, number); }

bool IsHotKeyTitle(const char* title) { return title[0] == '~'; }

bool HasValue(unsigned kind) { return kind >= kItemChoice && kind <= kItemFraction; }

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

// The value part of a kind-9 to kind-14 item, after its title.
void PrintValue(const TtyMenuItem& item, int width) {
  for (int i = item.TitleLen; i < width; ++i) std::fputc('.', stdout);
  switch (item.Type) {
    case kItemChoice: {
      const char* name = item.pCurState;
      if (name == nullptr || name[0] == ' ')
        std::printf(" [ ]");
      else
        std::printf(" [%i. %s]", static_cast<int>(item.Value.Int) + 1, name[0] == '_' ? name + 1 : name);
      break;
    }
    case kItemSet: {
      char* open = Fetch(kMsgSetOpen);
      std::printf("%s", open);
      NlsFreeString(open);
      if (item.Value.Int == 1) {
        char* def = Fetch(kMsgSetDefault);
        std::printf("%s", def);
        NlsFreeString(def);
      } else {
        const char* separator = "";
        for (int bit = 0; bit < kMaxSetStates; ++bit) {
          if ((item.Value.Int >> bit & 1) == 0) continue;
          std::printf("%s%d", separator, bit + 1);
          separator = ",";
        }
      }
      std::printf("]");
      break;
    }
    case kItemInteger:
      std::printf(" [%i]", static_cast<int>(item.Value.Int));
      break;
    case kItemFraction:
      std::printf(" [%.3f]", static_cast<double>(item.Value.Float));
      break;
    default:  // the text kinds
      std::printf(" [%s]", item.Value.pText != nullptr ? item.Value.pText : "");
      break;
  }
}

// Stores the menu's settings in the file at path; false when it cannot be
// created.
bool StoreSettings(TtyMenu* menu, const char* path) {
  FilePtr f(OpenFile(nullptr, path, "wt", kSevWarning));
  if (!f) return false;
  FILE* saved = pOut;
  pOut = f.get();
  StoreMenu(menu);
  pOut = saved;
  if (std::fclose(f.release()) != 0) {
    std::fprintf(stderr, "ERROR: couldn't write %s\n", path);
    return false;
  }
  return true;
}

// Asks for a settings file name and stores the settings there.
void StoreSettingsAsked(TtyMenu* menu) {
  std::printf("%s", setup_056);
  std::fflush(stdout);
  if (Gets(LineBuf, kLineBufSize) == nullptr) EndOfTerminalInput();
  // The check below shows its messages through LineBuf: keep the name.
  char name[kLineBufSize];
  CopyText(name, sizeof name, LineBuf);
  if (ValidateEntry(name, kDirectoryPattern) != 0) return;
  StoreSettings(menu, name);
}

// An entry typed for a kind-11 to kind-14 item, checked: false when it is
// too long or does not fit the item's pattern (the user has been told).
bool CheckEntry(const TtyMenuItem& item, const char* answer) {
  if (std::strlen(answer) > static_cast<size_t>(kMaxEntry)) {
    PostMsg(setup_046, 1, kMaxEntry);
    return false;
  }
  return ValidateEntry(answer, item.pFormat) == 0;
}

unsigned char ProcessEntry(TtyMenuItem& item, const char* option) {
  char answer[kLineBufSize];
  if (option != nullptr && option[0] != '\0') {
    CopyText(answer, sizeof answer, option);
  } else {
    std::printf("%s: ", item.pPrompt != nullptr ? item.pPrompt : ShownTitle(&item));
    std::fflush(stdout);
    if (Gets(LineBuf, kLineBufSize) == nullptr) EndOfTerminalInput();
    if (LineBuf[0] == '\0') return 0;
    CopyText(answer, sizeof answer, LineBuf);
  }
  if (!CheckEntry(item, answer)) return 0;
  switch (item.Type) {
    case kItemRequired:
    case kItemOptional:
      EnsureTextBuffer(&item);
      CopyText(item.Value.pText, kItemTextSize, answer);
      break;
    case kItemInteger:
      item.Value.Int = std::atoi(answer);
      break;
    default:
      item.Value.Float = static_cast<float>(std::atof(answer));
      break;
  }
  return 1;
}

unsigned char ProcessChoice(TtyMenu* menu, int index, const char* option) {
  TtyMenuItem& item = menu->pItems[index];
  const std::vector<std::string> names = ItemStateNames(&item);
  const int count = std::min(item.Count, static_cast<int>(names.size()));
  if (count <= 0) return 0;
  auto available = [&](int s) { return names[s][0] != ' '; };
  int chosen = -1;
  int from = static_cast<int>(item.Value.Int);
  if (option != nullptr && std::isdigit(static_cast<unsigned char>(option[0]))) {
    int n = std::atoi(option);
    if (n >= 1 && n <= count) {
      if (available(n - 1)) chosen = n - 1;
      from = n - 1;
    }
  }
  for (int step = 1; chosen < 0 && step <= count; ++step) {
    int s = ((from + step) % count + count) % count;
    if (available(s)) chosen = s;
  }
  if (chosen < 0) return 0;
  item.PrevValue = static_cast<int>(item.Value.Int);
  item.Value.Int = chosen;
  UpdateStateSelection(&item);
  ProcessStateFormat(menu, index);
  return 1;
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
  if (std::strlen(word) > static_cast<size_t>(kMaxEntry)) return;

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

// The leave dialogue after an empty answer: true when the menu is to end.
bool LeaveDialogue(TtyMenu* menu, bool changed) {
  if (menu->pLeaveQuestion != nullptr) {
    if (changed && PromptYN("%s", menu->pLeaveQuestion)) {
      if (!TestNames(menu)) return false;  // back to the menu, to fill it in
      if (menu->pfnApply != nullptr) menu->pfnApply(menu);
      return true;
    }
  } else if (menu->pfnApply != nullptr) {
    menu->pfnApply(menu);
  }
  const bool named = menu->ppName != nullptr && *menu->ppName != nullptr;
  char* question = Fetch(named ? kMsgLeaveMenu : kMsgLeaveProgram);
  int yes = PromptYN(question, named ? *menu->ppName : (my_name != nullptr ? my_name : "setup"));
  NlsFreeString(question);
  if (yes) {
    if (!named) {
      std::fputc('\n', stdout);
      std::fflush(stdout);
    }
    return true;
  }
  if (menu->pfnRefresh != nullptr) menu->pfnRefresh(menu);
  return false;
}

int TitleLength(const char* title) {
  if (title == nullptr) return 0;
  return static_cast<int>(std::strcspn(title, "\n\r"));
}

}  // namespace

int PrintMenu(TtyMenu* menu, int width, int titleLength) {
  const char* title = menu->pTitle != nullptr ? menu->pTitle : "";
  switch (menu->TitleAlign) {
    case kAlignCenter:
      std::printf("\f\n%*s%s\n\n", titleLength > kScreenWidth ? 0 : (kScreenWidth - titleLength) / 2, "", title);
      break;
    case kAlignRight:
      std::printf("\f\n%*s%s\n\n", titleLength > kScreenWidth ? 0 : kScreenWidth - titleLength, "", title);
      break;
    default:  // kAlignLeft
      std::printf("\f\n%s:\n\n", title);
      break;
  }
  const char* separator = (menu->Flags & kMenuNoBlankLines) != 0 ? "" : "\n";
  int index = 0;
  int number = 0;
  TtyMenuItem* items = menu->pItems;
  while (items != nullptr && items[index].pTitle != nullptr) {
    TtyMenuItem& item = items[index];
    if (item.Type >= kItemApplyNamed) ++number;
    bool printed = true;
    if (item.Type == kItemBar || item.Type == kItemBar1) {
      TtyMenuItem* last = PrintMenuBarItem(&item, item.Type, &index, &number);
      index = static_cast<int>(last - items) + 1;
      std::printf("\n%s", separator);
      continue;
    }
    if (item.State == kStateHidden) {
      printed = false;  // hidden, whatever its kind
    } else if (item.Type == kItemSubMenu) {
      TtyMenu* sub = ValidateMenu(menu, index);
      if (sub != nullptr)
        std::printf("%2i) %s ", number, sub->pTitle != nullptr ? sub->pTitle : "");
      else
        printed = false;
    } else if (item.Type == kItemText) {
      std::printf("%s ", item.pTitle);
    } else if (item.State == kStateDimmed) {
      std::printf("%*s  %s ", 2, "", item.pTitle);
    } else if (IsHotKeyTitle(item.pTitle)) {
      std::printf(" %c) %s ", item.pTitle[1], ShownTitle(&item));
    } else {
      std::printf("%2i) %s ", number, item.pTitle);
    }
    if (printed && HasValue(item.Type)) PrintValue(item, width);
    if (printed) std::printf("\n%s", separator);
    ++index;
  }

  char* store = Fetch(kMsgStoreKey);
  char* help = Fetch(kMsgHelpKey);
  char* leave = Fetch(kMsgLeaveKey);
  char* prompt = Fetch(kMsgPrompt);
  std::printf(prompt, (menu->Flags & (kMenuStoreAsk | kMenuStoreAndEnd)) != 0 ? store : "",
              (menu->Flags & kMenuHelp) != 0 ? help : "", (menu->Flags & kMenuEmptySelects) == 0 ? leave : "");
  std::fflush(stdout);
  for (char* text : {store, help, leave, prompt}) NlsFreeString(text);
  return index;
}

TtyMenuItem* PrintMenuBarItem(TtyMenuItem* item, unsigned, int* index, int* number) {
  int columns = item->Value.Int > 0 ? static_cast<int>(item->Value.Int) : 3;
  int width = kScreenWidth / columns;
  int position = 0;
  TtyMenuItem* last = item;
  for (TtyMenuItem* it = item + 1; it->pTitle != nullptr; ++it) {
    last = it;
    ++*index;
    if (it->Type == kItemBar || it->Type == kItemBar1) {
      std::printf("\n");
      columns = it->Value.Int > 0 && it->Value.Int <= kScreenWidth ? static_cast<int>(it->Value.Int) : 3;
      width = kScreenWidth / columns;
      position = 0;
      continue;
    }
    const int len = static_cast<int>(std::strlen(it->pTitle));
    if (position + len > kScreenWidth || (position != 0 && len > width - 5)) {
      std::printf("\n");
      position = 0;
    }
    ++*number;
    if (it->State == kStateHidden) continue;
    char cell[kLineBufSize];
    if (IsHotKeyTitle(it->pTitle))
      std::snprintf(cell, sizeof cell, " %c) %s%*s ", it->pTitle[1], ShownTitle(it), width - len - 5 + 2 > 0 ? width - len - 5 + 2 : 0, "");
    else
      std::snprintf(cell, sizeof cell, "%2i) %s%*s", *number, it->pTitle, width - len - 5 > 0 ? width - len - 5 : 0, "");
    if (width >= 2 && static_cast<int>(std::strlen(cell)) >= width - 1) {
      cell[width - 2] = ' ';
      cell[width - 1] = '\0';
    }
    std::printf("%s", cell);
    if (len > width - columns) {
      std::printf("\n");
      position = 0;
    } else {
      position += width;
    }
  }
  return last;
}

int FindSelection(TtyMenu* menu, int count) {
  char* p = LineBuf;
  while (*p == ' ' || *p == '\t') ++p;
  while (*p != '\0' && *p != ' ' && *p != '\t') ++p;
  while (*p == ' ' || *p == '\t') ++p;
  pOption = p;

  TtyMenuItem* items = menu->pItems;
  const int n = std::min(count, MenuItemCount(menu));
  const unsigned char first = static_cast<unsigned char>(LineBuf[0]);
  if (std::isdigit(first)) {
    const long key = std::strtol(LineBuf, nullptr, 10);
    for (int i = 0; i < n && key > 0; ++i)
      if (!IsHotKeyTitle(items[i].pTitle) && items[i].State == kStateAvailable &&
          items[i].Key == static_cast<unsigned long>(key))
        return i + 1;
    return 0;
  }
  const unsigned key = static_cast<unsigned>(std::tolower(first));
  if (key == 'h' && (menu->Flags & kMenuHelp) != 0) {
    TtyHtmlHelp(pTtyHtmlName, pTtyHtmlData, pTtyHtmlTitle);
    return 0;
  }
  if (key == 's' && (menu->Flags & kMenuStoreAsk) != 0) {
    StoreSettingsAsked(menu);
    return 0;
  }
  if (key == 's' && (menu->Flags & kMenuStoreAndEnd) != 0) {
    if (StoreSettings(menu, ".settings")) {
      std::fflush(stdout);
      ExitProgram(0);
    }
    return 0;
  }
  if (key == 0) return 0;
  for (int i = 0; i < n; ++i)
    if (IsHotKeyTitle(items[i].pTitle) && items[i].State == kStateAvailable && items[i].Key == key)
      return i + 1;
  return 0;
}

unsigned char ProcessSelection(TtyMenu* menu, int index, const char* option) {
  if (index < 0 || index >= MenuItemCount(menu)) return 0;
  TtyMenuItem& item = menu->pItems[index];
  unsigned char result = 0;
  switch (item.Type) {
    case kItemApplyNamed:
      if (!TestNames(menu)) return 0;
      [[fallthrough]];
    case kItemApply:
    case kItemLeave:
    case kItemAction:
      return item.pfnAction == nullptr || item.pfnAction(menu, &item) == 0 ? 1 : 0;
    case kItemSubMenu:
      if (TtyMenu* sub = ValidateMenu(menu, index)) {
        if (runDepth < kMaxMenuDepth) RunMenu(sub, nullptr, 1);
        if (menu->pfnRefresh != nullptr) menu->pfnRefresh(menu);
      }
      break;
    case kItemChoice:
      if (item.Count < 3)
        result = ProcessChoice(menu, index, option);
      else
        ProcessStateValue(menu, index, option);
      break;
    case kItemSet:
      ProcessStateValue(menu, index, option);
      break;
    case kItemRequired:
    case kItemOptional:
    case kItemInteger:
    case kItemFraction:
      result = ProcessEntry(item, option);
      break;
    default:
      return 0;
  }
  if (result == 1 && item.pfnAction != nullptr) item.pfnAction(menu, &item);
  return result;
}

TtyMenuItem* FindTextMenuItem(TtyMenu* menu, unsigned kind) {
  const int count = MenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (menu->pItems[i].Type == kind) return &menu->pItems[i];
  return nullptr;
}

void LoadMenu(TtyMenu* menu) { LoadMenuAt(menu, 0); }

void StoreMenu(TtyMenu* menu) { StoreMenuAt(menu, 0); }

void* RunMenu(TtyMenu* menu, const char* settingsPath, int interactive) {
  if (menu == nullptr) return nullptr;
  if (menu->pfnRefresh != nullptr) menu->pfnRefresh(menu);
  int width = InitMenu(menu);
  if (settingsPath != nullptr) {
    const bool usable = std::strlen(settingsPath) <= static_cast<size_t>(kMaxEntry);
    if (!usable || !OpenInputFile(settingsPath, 0)) {
      // The action's int result comes back in the pointer, so its 0 is NULL.
      TtyMenuItem* fallback = FindTextMenuItem(menu, kItemApply);
      if (fallback == nullptr || fallback->pfnAction == nullptr) return fallback;
      return reinterpret_cast<void*>(static_cast<intptr_t>(fallback->pfnAction(menu, fallback)));
    }
    LoadMenu(menu);
    CloseInputFile();
  }
  if (interactive == 0) return menu->pfnApply != nullptr ? menu->pfnApply(menu) : menu;

  const int titleLength = TitleLength(menu->pTitle);
  bool changed = false;
  RunLevel level;
  for (;;) {
    const int count = PrintMenu(menu, width, titleLength);
    if (Gets(LineBuf, kLineBufSize) == nullptr) EndOfTerminalInput();
    const bool empty = LineBuf[0] == '\0';
    if (!empty || (menu->Flags & kMenuEmptySelects) != 0) {
      const int selected = FindSelection(menu, count);
      if (selected == 0) continue;
      TtyMenuItem& item = menu->pItems[selected - 1];
      unsigned kind = item.Type;
      const unsigned char done = ProcessSelection(menu, selected - 1, pOption);
      if ((menu->Flags & kMenuKindBefore) == 0) kind = item.Type;
      if (flExitTextMenu) break;
      if (done && (kind == kItemApplyNamed || kind == kItemApply || kind == kItemLeave)) break;
      if (done && kind == kItemAction && (menu->Flags & kMenuReinit) != 0)
        width = InitMenu(menu);
      else if (done)
        changed = true;
      continue;
    }
    if (LeaveDialogue(menu, changed)) {
      FreeMenu(menu);
      return nullptr;
    }
  }
  if ((menu->Flags & kMenuKeep) == 0) FreeMenu(menu);
  return nullptr;
}
