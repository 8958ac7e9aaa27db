// The help menu of the menu engine: pages shown as menus, links as items.
#include "HelpTty.h"

#include <algorithm>
#include <string>

#include "MemMgr.h"
#include "NlsUtils.h"
#include "utils.h"

const char common_004[] = "~e Exit Help";
const char common_005[] = "~c Contents";
const char common_006[] = "~b Back";

TtyMenuItem HelpCommonItems[6] = {
    {.pTitle = "", .Type = kItemBar, .Value = {.Int = 1}},
    {.pTitle = "", .Type = kItemBar, .Value = {.Int = 3}},
    {.pTitle = common_004, .Type = kItemLeave, .Key = 'e'},
    {.pTitle = common_005, .Type = kItemAction, .pfnAction = TtyHelpContents, .Key = 'c'},
    {.pTitle = common_006, .Type = kItemAction, .pfnAction = TtyHelpBack, .Key = 'b'},
    {.pTitle = nullptr},
};

TtyMenu HelpMenu = {
    .pTitle = nullptr,
    .TitleAlign = 1,
    .pItems = nullptr,
    .Flags = kMenuEmptySelects | kMenuReinit | kMenuKindBefore | kMenuNoBlankLines,
};

TtyMenuItem* HelpMenuItems = nullptr;
int HelpMenuItemCnt = 0;

namespace {

constexpr int kFixedItems = 8;  // the page text, the message and HelpCommonItems
const char kCut[] = "...";

char* titleCopy = nullptr;  // HelpMenu's title, a copy of the caller's

// What the last link could not do. The page is printed again after the
// choice, and a page about as long as the screen would scroll a message
// printed before it away: it is shown among the items instead, just above
// the commands and the prompt, until the next choice.
std::string linkMessage;

// The text of a link without its brackets, in new managed memory. A longer
// text is cut and ends in "..."; a leading '~' would make the engine take
// the text for a command key, so a blank goes in front of it.
char* LinkText(const HtmlPage* page, const HtmlLink* link) {
  const int len = std::max(0, link->End - link->Start - 2);
  const char* from = page->pImage + link->Start + 1;
  std::string text(len > 0 && from[0] == '~' ? " " : "");
  text.append(from, static_cast<size_t>(len));
  if (text.size() > kHelpLinkTextMax) text = text.substr(0, kHelpLinkTextMax - (sizeof kCut - 1)) + kCut;
  return SaveText(text.c_str());
}

// The three commands in the language of the engine's string database
// (English without one); their keys stay e, c and b.
void TakeCommandTitles() {
  static char* fetched[3] = {};
  static const NlsHelpItem kItems[3] = {kNlsHelpExit, kNlsHelpContents, kNlsHelpBack};
  for (int i = 0; i < 3; ++i) {
    char* title = NlsFetchHelpItem(pDrvCoreDB, kItems[i]);
    if (title == nullptr) continue;
    NlsFreeString(fetched[i]);
    fetched[i] = title;
    HelpCommonItems[2 + i].pTitle = title;
  }
}

bool IsLinkItem(const TtyMenuItem& item) { return item.pfnAction == TtyHelpGotoLink; }

// Room for count items; false (the array as it was) when memory is short.
bool ReserveItems(int count) {
  if (HelpMenuItemCnt >= count) return true;
  void* items = AdjustMem(HelpMenuItems, sizeof(TtyMenuItem) * static_cast<size_t>(count));
  if (items == nullptr) return false;
  HelpMenuItems = static_cast<TtyMenuItem*>(items);
  HelpMenuItemCnt = count;
  HelpMenu.pItems = HelpMenuItems;
  return true;
}

}  // namespace

void TtyHelpBuildMenuItems() {
  HtmlPage* page = pCurrentPage;
  if (page == nullptr) return;
  ReserveItems(page->Links.Count + kFixedItems);
  if (HelpMenuItemCnt < kFixedItems) return;
  // The texts of the last build go back.
  for (int i = 1; i < HelpMenuItemCnt && HelpMenuItems[i].pTitle != nullptr && IsLinkItem(HelpMenuItems[i]); ++i)
    PutMem(const_cast<char*>(HelpMenuItems[i].pTitle));

  HelpMenuItems[0] = {.pTitle = page->pImage != nullptr ? page->pImage : "", .Type = kItemText};
  int n = 1;
  const int lastLink = HelpMenuItemCnt - (kFixedItems - 1);  // room for the message and the commands
  for (ListNode* node = page->Links.pFirst; node != nullptr && n < lastLink; node = node->pNext) {
    HtmlLink* link = *static_cast<HtmlLink**>(node->pItem);
    if (link->Kind != kLinkHref || link->Width == 0) continue;
    HelpMenuItems[n] = {.pTitle = LinkText(page, link),
                        .Type = kItemAction,
                        .pfnAction = TtyHelpGotoLink,
                        .pUserData = link,
                        .Key = static_cast<unsigned>(n)};
    ++n;
  }
  if (!linkMessage.empty()) HelpMenuItems[n++] = {.pTitle = linkMessage.c_str(), .Type = kItemText};
  std::copy(std::begin(HelpCommonItems), std::end(HelpCommonItems), HelpMenuItems + n);
  HelpMenu.pItems = HelpMenuItems;
}

int TtyHelpGotoLink(TtyMenu*, TtyMenuItem* item) {
  linkMessage = FollowLink(static_cast<HtmlLink*>(item->pUserData));
  if (!linkMessage.empty() && linkMessage.back() == '\n') linkMessage.pop_back();
  TtyHelpBuildMenuItems();
  return 0;
}

// The items are built again even when the page stays: the message of a
// link chosen before goes.
int TtyHelpContents(TtyMenu*, TtyMenuItem*) {
  HtmlSetHistory(0);
  linkMessage.clear();
  TtyHelpBuildMenuItems();
  return 0;
}

int TtyHelpBack(TtyMenu*, TtyMenuItem*) {
  HtmlSetHistory(-1);
  linkMessage.clear();
  TtyHelpBuildMenuItems();
  return 0;
}

void TtyHtmlHelp(const char* name, char* buffer, const char* title) {
  if (name == nullptr || title == nullptr) return;
  if (HtmlHelp(name, buffer) == 0) return;
  PutMem(titleCopy);
  titleCopy = SaveText(title);
  HelpMenu.pTitle = titleCopy;
  linkMessage.clear();
  TakeCommandTitles();
  TtyHelpBuildMenuItems();
  RunMenu(&HelpMenu, nullptr, 1);
}
