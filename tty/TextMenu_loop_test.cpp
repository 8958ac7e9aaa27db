#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "TextMenu.h"
#include "TextMenu_testing.h"
#include "test_menus.h"
#include "test_support.h"

namespace {

std::vector<std::string> calls;
std::string lastOption;
int Record(TtyMenu*, TtyMenuItem* item) {
  calls.push_back(item->pTitle);
  lastOption = pOption != nullptr ? pOption : "";
  return 0;
}
int Refuse(TtyMenu*, TtyMenuItem* item) {
  calls.push_back(std::string("refused ") + item->pTitle);
  return 1;
}
int EndLoop(TtyMenu*, TtyMenuItem* item) {
  calls.push_back(item->pTitle);
  flExitTextMenu = 1;
  return 0;
}
void* Apply(TtyMenu* menu) {
  calls.push_back("apply");
  return menu->pItems;
}
void Refresh(TtyMenu*) { calls.push_back("refresh"); }

// The main menu of the installer, as its table has it.
Menu InstallerLikeMenu() {
  return Menu("Install Print Driver and Utilities",
              {Item("Install Driver and Utilities", kItemAction, Record),
               Item("Create an installation site.", kItemAction, Record),
               Item("Create installation diskettes.", kItemAction, Record), Item("~e Exit", kItemLeave),
               Item("", kItemText)},
              kMenuEmptySelects);
}

const std::string kInstallerMenu = "\f\n" + std::string(23, ' ') +
                                   "Install Print Driver and Utilities\n\n"
                                   " 1) Install Driver and Utilities \n\n"
                                   " 2) Create an installation site. \n\n"
                                   " 3) Create installation diskettes. \n\n"
                                   " e) Exit \n\n"
                                   " \n\n"
                                   "\nEnter a selection: ";

class MenuLoop : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    calls.clear();
    lastOption.clear();
    savedName_ = my_name;
    my_name = const_cast<char*>("prog");
  }
  void TearDown() override {
    my_name = savedName_;
    MenuTest::TearDown();
  }
  static std::string Print(Menu& m) {
    int width = InitMenu(&m.menu);
    int titleLength = static_cast<int>(std::strcspn(m.menu.pTitle, "\n\r"));
    return Run("", [&] { PrintMenu(&m.menu, width, titleLength); });
  }
  static std::string Loop(Menu& m, const std::string& input) {
    return Run(input, [&] { EXPECT_EQ(RunMenu(&m.menu, nullptr, 1), nullptr); });
  }
  ScratchDir dir;

 private:
  char* savedName_ = nullptr;
};

}  // namespace

// ---------------------------------------------------------------------------
// Printing.

TEST_F(MenuLoop, TheInstallerMenuIsPrintedExactly) {
  Menu m = InstallerLikeMenu();
  EXPECT_EQ(Print(m), kInstallerMenu);
}

TEST_F(MenuLoop, HeadingsByAlignment) {
  const char* title = "A heading of thirty characters";  // 30
  ASSERT_EQ(std::strlen(title), 30u);
  struct Case {
    int align;
    std::string heading;
  } cases[] = {{kAlignLeft, "\f\nA heading of thirty characters:\n\n"},
               {kAlignCenter, "\f\n" + std::string(25, ' ') + title + "\n\n"},
               {kAlignRight, "\f\n" + std::string(50, ' ') + title + "\n\n"}};
  for (const Case& c : cases) {
    Menu m(title, {}, kMenuEmptySelects, c.align);
    EXPECT_EQ(Print(m), c.heading + kPromptLine) << c.align;
  }
  // Only the first line of a title counts for centring.
  Menu twoLines("Top\nsecond line is longer", {}, kMenuEmptySelects);
  EXPECT_EQ(Print(twoLines).substr(0, 2 + 38 + 4), "\f\n" + std::string(38, ' ') + "Top\n");
}

TEST_F(MenuLoop, ItemStatesValuesAndThePromptLine) {
  TtyMenuItem choice = Item("Choice", kItemChoice);
  choice.pStates = "a,_b,c";
  choice.Default.Int = 1;
  TtyMenuItem off = Item("Off", kItemChoice);
  off.pStates = "a, b";
  off.Default.Int = 1;
  off.Count = 2;
  TtyMenuItem set = Item("Set", kItemSet);
  set.pStates = "a,b,c";
  TtyMenuItem bits = Item("Bits", kItemSet);
  bits.pStates = "a,b,c";
  bits.Value.Int = 5;
  TtyMenuItem number = Item("Number", kItemInteger);
  number.Default.Int = 42;
  TtyMenuItem fraction = Item("Fraction", kItemFraction);
  fraction.Default.Float = 2.5f;
  TtyMenuItem text = Item("Longest title", kItemOptional);
  text.Default.pConst = "some text";
  TtyMenuItem dimmed = Item("Dimmed", kItemAction);
  dimmed.State = kStateDimmed;
  TtyMenuItem hidden = Item("Hidden", kItemAction);
  hidden.State = kStateHidden;
  TtyMenuItem hiddenText = Item("Hidden text", kItemText);
  hiddenText.State = kStateHidden;
  Menu m("T",
         {choice, off, set, bits, number, fraction, text, dimmed, hidden, hiddenText, Item("~q Quit", kItemLeave)},
         kMenuStoreAsk | kMenuHelp | kMenuNoBlankLines, kAlignLeft);
  InitMenu(&m.menu);
  m[1].Value.Int = 1;  // a state that is unavailable and stays so
  m[1].pCurState = " b";
  std::string out = Run("", [&] { PrintMenu(&m.menu, 13, 1); });
  EXPECT_EQ(out,
            "\f\nT:\n\n"
            " 1) Choice ....... [2. b]\n"
            " 2) Off .......... [ ]\n"
            " 3) Set .......... [default]\n"
            " 4) Bits ......... [1,3]\n"
            " 5) Number ....... [42]\n"
            " 6) Fraction ..... [2.500]\n"
            " 7) Longest title  [some text]\n"
            "    Dimmed \n"
            " q) Quit \n"
            "\nEnter a selection, s to save the settings, h for help, Enter to leave: ");
}

TEST_F(MenuLoop, BarsPrintCellsInColumns) {
  TtyMenuItem head = Item("", kItemBar);
  head.Value.Int = 3;
  TtyMenuItem one = Item("", kItemBar1);
  one.Value.Int = 2;
  for (TtyMenuItem bar : {head, one}) {
    Menu m("B", {Item("Alpha", kItemAction), bar, Item("Beta", kItemAction), Item("Gamma", kItemAction),
                 Item("Delta", kItemAction), Item("~x Exit", kItemLeave)},
           kMenuEmptySelects, kAlignLeft);
    std::string out = Print(m);
    const int w = 80 / static_cast<int>(bar.Value.Int);
    auto cell = [&](const std::string& text) { return text + std::string(static_cast<size_t>(w - 1) - text.size(), ' '); };
    std::string rows;
    std::vector<std::string> cells = {" 2) Beta", " 3) Gamma", " 4) Delta", " x) Exit"};
    for (size_t i = 0; i < cells.size(); ++i) {
      rows += cell(cells[i]);
      if ((i + 1) % static_cast<size_t>(bar.Value.Int) == 0 && i + 1 < cells.size()) rows += "\n";
    }
    EXPECT_EQ(out, "\f\nB:\n\n 1) Alpha \n\n" + rows + "\n\n" + kPromptLine) << bar.Type;
  }
}

TEST_F(MenuLoop, ThreeColumnCellsArePrintedAs25Characters) {
  TtyMenuItem head = Item("", kItemBar);
  std::string longTitle(40, 'L');
  Menu m("B", {head, Item("Short", kItemAction), Item(longTitle.c_str(), kItemAction)}, kMenuEmptySelects, kAlignLeft);
  std::string out = Print(m);
  std::string expectedCell = " 1) Short" + std::string(16, ' ');
  ASSERT_EQ(expectedCell.size(), 25u);
  EXPECT_NE(out.find("\n\n" + expectedCell + "\n"), std::string::npos) << out;
  // A long title is cut to the cell, its last character a blank.
  EXPECT_NE(out.find("\n 2) " + std::string(20, 'L') + " \n"), std::string::npos) << out;
}

// ---------------------------------------------------------------------------
// Selecting.

TEST_F(MenuLoop, NumbersAndHotKeysSelect) {
  Menu m = InstallerLikeMenu();
  int count = InitMenu(&m.menu);
  count = 5;
  struct Case {
    const char* line;
    int selected;
    const char* option;
  } cases[] = {{"2", 2, ""},       {"3   /a/path now", 3, "/a/path now"}, {"e", 4, ""}, {"E", 4, ""},
               {"4", 0, ""},       {"0", 0, ""},  {"", 0, ""},       {" 1", 0, ""}, {"x", 0, ""},
               {"1junk", 1, ""}};
  for (const Case& c : cases) {
    CopyText(LineBuf, kLineBufSize, c.line);
    EXPECT_EQ(FindSelection(&m.menu, count), c.selected) << c.line;
    EXPECT_STREQ(pOption, c.option) << c.line;
  }
  m[1].State = kStateDimmed;
  CopyText(LineBuf, kLineBufSize, "2");
  EXPECT_EQ(FindSelection(&m.menu, count), 0) << "an item without its number cannot be chosen";
}

TEST_F(MenuLoop, TheInstallerMenuRunsItsActionsAndLeavesWithE) {
  Menu m = InstallerLikeMenu();
  std::string out = Loop(m, "2\n\n3 /x\nE\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"Create an installation site.", "Create installation diskettes."}));
  EXPECT_EQ(lastOption, "/x");
  EXPECT_EQ(out, kInstallerMenu + kInstallerMenu + kInstallerMenu + kInstallerMenu) << "an empty line shows it again";
}

TEST_F(MenuLoop, EndOfInputAtTheMenuEndsTheProgram) {
  Menu m = InstallerLikeMenu();
  EXPECT_EXIT(Loop(m, "1\n"), testing::ExitedWithCode(1), std::string("\nprog: ") + kEndOfInput);
}

TEST_F(MenuLoop, AnActionThatSetsTheExitFlagEndsTheLoop) {
  Menu m("M", {Item("Install", kItemAction, EndLoop), Item("Other", kItemAction, Record)}, kMenuEmptySelects);
  Loop(m, "1\n2\n");
  EXPECT_EQ(calls, std::vector<std::string>{"Install"});
}

TEST_F(MenuLoop, LeaveItemsAndFailedActions) {
  Menu m("M", {Item("Apply", kItemApply, Refuse), Item("Leave", kItemLeave, Record)}, kMenuEmptySelects);
  Loop(m, "1\n2\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"refused Apply", "Leave"})) << "a refusing action does not leave";
}

TEST_F(MenuLoop, TheLeaveDialogueAsksForTheProgramOrTheMenu) {
  Menu m("M", {Item("A", kItemAction, Record)});
  m.menu.pfnApply = Apply;
  m.menu.pfnRefresh = Refresh;
  std::string out = Loop(m, "\nn\n\ny\n");
  EXPECT_EQ(Count(out, "Do you want to quit prog? [y/n] "), 2);
  EXPECT_EQ(out.substr(out.size() - 2), " \n") << "a line end after the answer yes";
  EXPECT_EQ(calls, (std::vector<std::string>{"refresh", "apply", "refresh", "apply"}));
  EXPECT_NE(out.find(", Enter to leave: "), std::string::npos);

  const char* name = "Options";
  Menu named("M", {Item("A", kItemAction, Record)});
  named.menu.ppName = &name;
  out = Loop(named, "\ny\n");
  EXPECT_NE(out.find("Do you want to leave Options? [y/n] "), std::string::npos);
}

TEST_F(MenuLoop, TheLeaveQuestionOfAChangedMenuChecksRequiredEntries) {
  TtyMenuItem name = Item("Name", kItemRequired);
  name.pPrompt = "Your name";
  Menu m("M", {name, Item("A", kItemAction, Record)});
  m.menu.pLeaveQuestion = "Keep the changes";
  m.menu.pfnApply = Apply;
  // A change, then leave: yes, but the name is missing; then fill it in.
  std::string out = Loop(m, "2\n\ny\n\n1 Bob\n\ny\n");
  EXPECT_EQ(Count(out, "Keep the changes? [y/n] "), 2);
  EXPECT_EQ(Count(out, "A required entry is empty; please fill it in."), 1);
  EXPECT_EQ(calls, (std::vector<std::string>{"A", "apply"}));
  EXPECT_EQ(out.find("Do you want to quit"), std::string::npos);
}

TEST_F(MenuLoop, RequiredEntriesComeBeforeAKind4Action) {
  TtyMenuItem name = Item("Name", kItemRequired);
  name.pPrompt = "Your name";
  Menu m("M", {name, Item("Go", kItemApplyNamed, Record)}, kMenuEmptySelects);
  std::string out = Loop(m, "2\n\n1\n\n1\nAnn\n2\n");
  EXPECT_EQ(Count(out, "A required entry is empty"), 1);
  EXPECT_EQ(Count(out, "Your name: "), 2) << "an empty answer changes nothing";
  EXPECT_EQ(calls, std::vector<std::string>{"Go"});
}

TEST_F(MenuLoop, EntriesAreValidatedAndBounded) {
  TtyMenuItem dir = Item("Directory", kItemOptional, Record);
  dir.pPrompt = "Directory";
  dir.pFormat = kDirectoryPattern;
  TtyMenuItem number = Item("Copies", kItemInteger);
  number.pFormat = "d(1,10)";
  TtyMenuItem fraction = Item("Scale", kItemFraction);
  TtyMenuItem note = Item("Note", kItemOptional, Record);
  Menu m("M", {dir, number, fraction, note, Item("~e Exit", kItemLeave)}, kMenuEmptySelects);
  std::string tooLong = "/" + std::string(300, 'a');
  std::string out = Loop(m, "1 /opt/x\n1 rel\n\n1 " + tooLong + "\n\n2 42\n\n2 7\n3 1.25\n4 " +
                                std::string(300, 'n') + "\ne\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"Directory", "Note"})) << "the action runs for an accepted entry only";
  EXPECT_NE(out.find(" [" + std::string(255, 'n') + "]"), std::string::npos) << "a longer text is cut, not refused";
  EXPECT_NE(out.find("This text length must be from 1 to 255 characters long."), std::string::npos);
  EXPECT_NE(out.find("This number must be between 1 to 10."), std::string::npos);
  EXPECT_NE(out.find(" [/opt/x]"), std::string::npos);
  EXPECT_NE(out.find(" [7]"), std::string::npos);
  EXPECT_NE(out.find(" [1.250]"), std::string::npos);
}

TEST_F(MenuLoop, EndOfInputInAnEntryEndsTheProgram) {
  TtyMenuItem text = Item("Text", kItemOptional);
  text.pPrompt = "Text";
  Menu m("M", {text}, kMenuEmptySelects);
  EXPECT_EXIT(Loop(m, "1\n"), testing::ExitedWithCode(1), kEndOfInput);
}

TEST_F(MenuLoop, TwoStatesCycle) {
  TtyMenuItem onOff = Item("Switch", kItemChoice, Record);
  onOff.pStates = "off,on";
  Menu m("M", {onOff, Item("~e Exit", kItemLeave)}, kMenuEmptySelects);
  std::string out = Loop(m, "1\n1\n1 2\ne\n");
  EXPECT_NE(out.find("[2. on]"), std::string::npos);
  EXPECT_EQ(m[0].Value.Int, 1);
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(MenuLoop, SubMenusRunNestedAndTheParentRefreshes) {
  Menu sub("Sub", {Item("Inner", kItemAction, Record), Item("~b Back", kItemLeave)}, kMenuEmptySelects);
  TtyMenuItem item = Item("ignored", kItemSubMenu);
  item.Value.pMenu = &sub.menu;
  Menu m("Top", {item, Item("~e Exit", kItemLeave)}, kMenuEmptySelects);
  m.menu.pfnRefresh = Refresh;
  std::string out = Loop(m, "1\n1\nb\ne\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"refresh", "Inner", "refresh"}));
  EXPECT_NE(out.find(" 1) Sub \n"), std::string::npos) << "shown under the sub-menu's title";
}

TEST_F(MenuLoop, HelpKeyCallsTheHelpEntryWithTheHelpSource) {
  Menu m("M", {Item("~e Exit", kItemLeave)}, kMenuEmptySelects | kMenuHelp);
  char name[] = "setup.hlp";
  pTtyHtmlName = name;
  static std::string shown;
  shown.clear();
  std::string out = Loop(m, "h\ne\n");
  EXPECT_EQ(Count(out, "Enter a selection, h for help: "), 2) << "no entry: h shows nothing";
  pfnTtyHelp = [](const char* help, char* buffer, const char* title) {
    shown = std::string(help) + (buffer == nullptr ? " from the file" : " in memory") + " under " + title;
  };
  out = Loop(m, "h\ne\n");
  pfnTtyHelp = nullptr;
  pTtyHtmlName = nullptr;
  EXPECT_EQ(shown, "setup.hlp from the file under Help");
  EXPECT_EQ(Count(out, "Enter a selection, h for help: "), 2);
}

// ---------------------------------------------------------------------------
// Settings files.

class Settings : public MenuLoop {
 protected:
  Settings()
      : sub("Sub", {Number(9), Item("~b Back", kItemLeave)}),
        top("Top", {Choice(), Text(), Number(42), Fraction(), SubItem(), Item("~e Exit", kItemLeave)}) {}
  TtyMenuItem Number(intptr_t v) {
    TtyMenuItem item = Item("Number", kItemInteger);
    item.Default.Int = v;
    return item;
  }
  static TtyMenuItem Choice() {
    TtyMenuItem item = Item("Choice", kItemChoice);
    item.pStates = "a,b,c";
    return item;
  }
  static TtyMenuItem Text() {
    TtyMenuItem item = Item("Text", kItemOptional);
    item.Default.pConst = "hello world";
    return item;
  }
  static TtyMenuItem Fraction() {
    TtyMenuItem item = Item("Fraction", kItemFraction);
    item.Default.Float = 1.5f;
    return item;
  }
  TtyMenuItem SubItem() {
    TtyMenuItem item = Item("sub", kItemSubMenu);
    item.Value.pMenu = &sub.menu;
    return item;
  }
  void Prepare() {
    InitMenu(&top.menu);
    InitMenu(&sub.menu);
  }
  std::string Stored() {
    std::string path = dir.File("stored");
    FILE* f = std::fopen(path.c_str(), "w");
    pOut = f;
    StoreMenu(&top.menu);
    pOut = nullptr;
    std::fclose(f);
    return ReadWholeFile(path);
  }
  void Load(const std::string& content) {
    ASSERT_TRUE(OpenInputFile(dir.Write("load", content).c_str(), 0));
    LoadMenu(&top.menu);
    CloseInputFile();
  }
  Menu sub;
  Menu top;
};

const char kStoredTree[] =
    "0[0] 9 0\n"
    "1[hello world] 12 0\n"
    "2[42] 13 0\n"
    "3[1.500] 14 0\n"
    "4{\n"
    "0[9] 13 0\n"
    "}\n";

TEST_F(Settings, StoreWritesValueLinesThenSubMenuBlocks) {
  Prepare();
  EXPECT_EQ(Stored(), kStoredTree);
}

TEST_F(Settings, LoadRestoresWhatStoreWrote) {
  Prepare();
  Load("0[2] 9 0\n1[a text with blanks] 12 1\n2[-7] 13 2\n3[0.250] 14 0\n4{\n0[3] 13 0\n}\n");
  EXPECT_EQ(top[0].Value.Int, 2);
  EXPECT_STREQ(top[0].pCurState, "c") << "the shown state follows the loaded value";
  EXPECT_STREQ(top[1].Value.pText, "a text with blanks") << "a text comes back whole";
  EXPECT_EQ(top[1].State, kStateDimmed);
  EXPECT_EQ(top[2].Value.Int, -7);
  EXPECT_EQ(top[2].State, kStateHidden);
  EXPECT_EQ(top[3].Value.Float, 0.25f);
  EXPECT_EQ(sub[0].Value.Int, 3);
  const std::string again = Stored();
  EXPECT_EQ(again, "0[2] 9 0\n1[a text with blanks] 12 1\n2[-7] 13 2\n3[0.250] 14 0\n4{\n0[3] 13 0\n}\n");
}

TEST_F(Settings, AKindChangeStaysWithinTheValuesRepresentation) {
  Prepare();
  Load("1[x] 11 0\n2[5] 11 0\n0[1] 8 0\n");
  EXPECT_EQ(top[1].Type, kItemRequired) << "optional text may become required";
  EXPECT_EQ(top[2].Type, kItemInteger) << "a number never becomes a text";
  EXPECT_EQ(top[2].Value.Int, 5);
  EXPECT_EQ(top[0].Type, kItemChoice);
}

TEST_F(Settings, MalformedFilesAreReadWithoutHarm) {
  const std::string tooLong(300, 'x');
  const std::vector<std::string> files = {
      "0[1] 99 0\n",                   // kind out of range
      "0[1] 9 7\n",                    // state out of range
      "17[1] 13 0\n-1[1] 13 0\n",      // no such item
      "0 1 9 0\n0[1\n0]\n0[1]\n",      // brackets missing, or nothing after them
      "x[1] 9 0\n[1] 9 0\n\n}\n",      // no index; an early end of the menu
      "9{\n2[5] 13 0\n}\n",            // the block of no item: its lines are passed over
      "2{\n2[5] 13 0\n}\n",            // the block of an item that is no sub-menu
      "4{\n0[5] 13 0\n",               // a block never closed
      "4{\n4{\n4{\n2[5] 13 0\n}\n}\n}\n",  // blocks of a sub-menu that has none
  };
  for (const std::string& content : files) {
    Prepare();
    Load(content);
    EXPECT_EQ(Stored(), std::string(kStoredTree).replace(std::string(kStoredTree).find("0[9]"), 4,
                                                          content.rfind("4{\n0[5]", 0) == 0 ? "0[5]" : "0[9]"))
        << content;
  }
  Prepare();
  Load("1[" + tooLong + "] 12 0\n");
  EXPECT_EQ(top[1].Value.pText, std::string(255, 'x')) << "a text longer than its buffer is cut";
}

TEST_F(Settings, NestingIsBoundedForAMenuThatContainsItself) {
  TtyMenuItem self = Item("self", kItemSubMenu);
  Menu loop("Loop", {Number(1), self});
  loop[1].Value.pMenu = &loop.menu;
  InitMenu(&loop.menu);
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "1{\n0[" + std::to_string(i) + "] 13 0\n";
  ASSERT_TRUE(OpenInputFile(dir.Write("deep", deep).c_str(), 0));
  LoadMenu(&loop.menu);
  CloseInputFile();
  EXPECT_EQ(loop[0].Value.Int, 14) << "values of blocks past the depth limit are not applied";
  std::string path = dir.File("out");
  FILE* f = std::fopen(path.c_str(), "w");
  pOut = f;
  StoreMenu(&loop.menu);
  pOut = nullptr;
  std::fclose(f);
  EXPECT_EQ(Count(ReadWholeFile(path), "1{\n"), 15);
}

TEST_F(Settings, RunMenuLoadsAFileOrRunsTheFallbackItem) {
  Menu m("M", {Number(1), Item("Fallback", kItemApply, Refuse), Item("Later", kItemApply, Record)});
  std::string path = dir.Write("settings", "0[77] 13 0\n");
  EXPECT_EQ(RunMenu(&m.menu, path.c_str(), 0), &m.menu) << "no pfnApply: the menu itself";
  EXPECT_EQ(m[0].Value.Int, 77);
  m.menu.pfnApply = Apply;
  EXPECT_EQ(RunMenu(&m.menu, path.c_str(), 0), m.menu.pItems);
  // No file: the first kind-5 item's action, its result as the pointer.
  EXPECT_EQ(RunMenu(&m.menu, dir.File("missing").c_str(), 0), reinterpret_cast<void*>(1));
  std::string longPath = "/" + std::string(300, 'p');
  m[1].pfnAction = Record;
  EXPECT_EQ(RunMenu(&m.menu, longPath.c_str(), 0), nullptr);
  m[1].pfnAction = nullptr;
  EXPECT_EQ(RunMenu(&m.menu, longPath.c_str(), 0), &m[1]) << "without an action: the item";
  EXPECT_EQ(calls, (std::vector<std::string>{"apply", "refused Fallback", "Fallback"}));
}

TEST_F(Settings, TheStoreKeyAsksForAValidFileName) {
  Prepare();
  top.menu.Flags = kMenuStoreAsk | kMenuEmptySelects;
  // A file name the user may type: letters, digits, - _ and / only.
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/setup_menu_XXXXXX";
  const char* plain = "/-_ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  if (std::strspn(templ.c_str(), plain) != templ.size()) GTEST_SKIP() << "no plain temporary folder name";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  ASSERT_NE(mkdtemp(buf.data()), nullptr);
  const std::string folder = buf.data();
  const std::string path = folder + "/saved_settings";
  std::string out = Loop(top, "s\nrelative\n\ns\n" + path + "\ne\n");
  const std::string stored = ReadWholeFile(path);
  std::remove(path.c_str());
  rmdir(folder.c_str());
  EXPECT_EQ(Count(out, "Enter the settings file name: "), 2);
  EXPECT_NE(out.find("The character 'r' is not allowed here"), std::string::npos) << out;
  EXPECT_EQ(stored, kStoredTree);
}

TEST_F(Settings, TheStoreAndEndKeyWritesDotSettingsAndEnds) {
  Prepare();
  top.menu.Flags = kMenuStoreAndEnd | kMenuEmptySelects;
  const std::string here = dir.path();
  EXPECT_EXIT(
      {
        if (chdir(here.c_str()) != 0) std::exit(3);
        Loop(top, "s\n");
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadWholeFile(dir.File(".settings")), kStoredTree);
}
