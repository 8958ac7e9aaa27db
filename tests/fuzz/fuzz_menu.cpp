#include "fuzz_menu.h"

#include "NlsUtils.h"
#include "TextMenu.h"
#include "test_menus.h"

namespace {

int Done(TtyMenu*, TtyMenuItem*) { return 0; }
int Refuse(TtyMenu*, TtyMenuItem*) { return 1; }
int EndLoop(TtyMenu*, TtyMenuItem*) {
  flExitTextMenu = 1;
  return 0;
}
void* Apply(TtyMenu* menu) { return menu; }
void Refresh(TtyMenu*) {}

TtyMenuItem Choice(const char* title, unsigned type, const char* states, const char* rules) {
  TtyMenuItem item = Item(title, type, Done, rules);
  item.pStates = states;
  return item;
}

}  // namespace

FuzzMenus::FuzzMenus(uint16_t flags) {
  int i = 0;
  topItems[i++] = Item("Settings of the fuzzed printer", kItemText);
  topItems[i++] = Item("Do it", kItemAction, Done);
  topItems[i++] = Item("Refuse it", kItemAction, Refuse);
  topItems[i++] = Choice("Duplex", kItemChoice, "on,off", "N0{5} H1{6} S0{8.7} P*{4}");
  topItems[i++] = Choice("Tray", kItemChoice, "upper, middle,lower,_manual,,envelope", "H2{7} N3,4{9}");
  topItems[i++] = Choice("Finish", kItemSet, "staple,punch, fold,_bind,sort", "N1{3} S2{4.2}");
  topItems[i++] = Item("Name", kItemRequired, nullptr, "A(1,20)+-+_");
  topItems[i++] = Item("Comment", kItemOptional, nullptr, "!(none)");
  topItems[i++] = Item("Copies", kItemInteger, Done, "d(1,999)");
  topItems[i++] = Item("Scale", kItemFraction, nullptr, "f(0,10)");
  topItems[i] = Item("Sub-menu", kItemSubMenu);
  topItems[i++].Value.pMenu = &sub;
  topItems[i] = Item("Chosen sub-menu", kItemSubMenu, nullptr, "3.0&!4.2 +1.1A|(5.4)");
  topItems[i++].Value.ppMenus = conditional;
  topItems[i] = Item("Bar", kItemBar);
  topItems[i++].Value.Int = 2;
  topItems[i++] = Item("~a Alpha", kItemAction, Done);
  topItems[i++] = Item("~b Beta", kItemAction, EndLoop);
  topItems[i++] = Item("Gamma", kItemAction, Done);
  topItems[i++] = Item("Apply", kItemApplyNamed, Done);
  topItems[i++] = Item("~e Exit", kItemLeave);
  topItems[i] = TtyMenuItem{};
  top.pTitle = "Fuzzed printer";
  top.TitleAlign = kAlignCenter;
  top.pLeaveQuestion = "Keep the changes";
  top.pfnApply = Apply;
  top.pfnRefresh = Refresh;
  top.pItems = topItems;
  top.Flags = flags;

  i = 0;
  subItems[i++] = Choice("Mode", kItemChoice, "a,b,c", "H0{2}");
  subItems[i++] = Item("Level", kItemInteger, nullptr, "x(0,ff)");
  subItems[i++] = Item("Label", kItemRequired, nullptr, "t(2,8)");
  subItems[i] = Item("Back to the top", kItemSubMenu);
  subItems[i++].Value.pMenu = &top;
  subItems[i++] = Item("~q Quit", kItemApply, Done);
  subItems[i] = TtyMenuItem{};
  static const char* subName = "Details";
  sub.pTitle = "Details";
  sub.TitleAlign = kAlignLeft;
  sub.ppName = &subName;
  sub.pItems = subItems;
  sub.Flags = kMenuKeep | kMenuNoBlankLines;

  otherItems[0] = Item("Word", kItemOptional, nullptr, "a(0,5)+x");
  otherItems[1] = Item("~l Leave", kItemLeave);
  otherItems[2] = TtyMenuItem{};
  other.pTitle = "Other";
  other.TitleAlign = kAlignRight;
  other.pItems = otherItems;
  other.Flags = kMenuEmptySelects | kMenuReinit;
  conditional[0] = &other;
  conditional[1] = &sub;
}

FuzzMenus::~FuzzMenus() {
  FreeMenu(&top);
  FreeMenu(&sub);
  FreeMenu(&other);
}

void FuzzOpenDrvCore() {
  if (pDrvCoreDB != nullptr) return;
  pDrvCoreDB = DbTOpen(DRVCORE_VDB, kDbNoCheck);
  DbTUpDate(pDrvCoreDB);
}
