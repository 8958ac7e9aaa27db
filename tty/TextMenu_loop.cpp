// The menu loop: a menu printed as numbered lines, one answer line read,
// the chosen item carried out, again until the menu is left. The settings
// files it saves and restores are TextMenu_settings.cpp.
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
  if (ValidateEntry(answer, item.pFormat) != 0) return 0;
  switch (item.Type) {
    case kItemRequired:
    case kItemOptional:
      // The item holds 255 characters: longer text is cut, not refused.
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

// The form feed that starts a fresh screen and the menu's title, aligned as
// the menu asks.
void PrintTitle(const TtyMenu* menu, int titleLength) {
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
}

// One item's line but its line end, numbered number where it takes a
// number; false when the item shows no line (hidden, or a sub-menu that no
// condition picks).
bool PrintItem(TtyMenu* menu, int index, int number, int width) {
  TtyMenuItem& item = menu->pItems[index];
  if (item.State == kStateHidden) return false;  // hidden, whatever its kind
  if (item.Type == kItemSubMenu) {
    TtyMenu* sub = ValidateMenu(menu, index);
    if (sub == nullptr) return false;
    std::printf("%2i) %s ", number, sub->pTitle != nullptr ? sub->pTitle : "");
  } else if (item.Type == kItemText) {
    std::printf("%s ", item.pTitle);
  } else if (item.State == kStateDimmed) {
    std::printf("%*s  %s ", 2, "", item.pTitle);
  } else if (IsHotKeyTitle(item.pTitle)) {
    std::printf(" %c) %s ", item.pTitle[1], ShownTitle(&item));
  } else {
    std::printf("%2i) %s ", number, item.pTitle);
  }
  if (HasValue(item.Type)) PrintValue(item, width);
  return true;
}

// The prompt line, naming the keys this menu offers.
void PrintPrompt(const TtyMenu* menu) {
  char* store = Fetch(kMsgStoreKey);
  char* help = Fetch(kMsgHelpKey);
  char* leave = Fetch(kMsgLeaveKey);
  char* prompt = Fetch(kMsgPrompt);
  std::printf(prompt, (menu->Flags & (kMenuStoreAsk | kMenuStoreAndEnd)) != 0 ? store : "",
              (menu->Flags & kMenuHelp) != 0 ? help : "", (menu->Flags & kMenuEmptySelects) == 0 ? leave : "");
  std::fflush(stdout);
  for (char* text : {store, help, leave, prompt}) NlsFreeString(text);
}

}  // namespace

int PrintMenu(TtyMenu* menu, int width, int titleLength) {
  PrintTitle(menu, titleLength);
  const char* separator = (menu->Flags & kMenuNoBlankLines) != 0 ? "" : "\n";
  int index = 0;
  int number = 0;
  TtyMenuItem* items = menu->pItems;
  while (items != nullptr && items[index].pTitle != nullptr) {
    TtyMenuItem& item = items[index];
    if (item.Type >= kItemApplyNamed) ++number;
    if (item.Type == kItemBar || item.Type == kItemBar1) {
      TtyMenuItem* last = PrintMenuBarItem(&item, item.Type, &index, &number);
      index = static_cast<int>(last - items) + 1;
      std::printf("\n%s", separator);
      continue;
    }
    if (PrintItem(menu, index, number, width)) std::printf("\n%s", separator);
    ++index;
  }
  PrintPrompt(menu);
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
    if (pfnTtyHelp != nullptr) pfnTtyHelp(pTtyHtmlName, pTtyHtmlData, pTtyHtmlTitle);
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
