#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "TextMenu.h"
#include "TextMenu_impl.h"
#include "TextMenu_testing.h"
#include "test_menus.h"

namespace {

TtyMenuItem Number(intptr_t value, const char* rules = nullptr) {
  TtyMenuItem item = Item("number", kItemInteger);
  item.Default.Int = value;
  item.pFormat = rules;
  return item;
}

TtyMenuItem Choice(const char* states, intptr_t value, const char* rules = nullptr) {
  TtyMenuItem item = Item("choice", kItemChoice);
  item.pStates = states;
  item.Default.Int = value;
  item.pFormat = rules;
  return item;
}

int actionCalls = 0;
int CountAction(TtyMenu*, TtyMenuItem*) { return ++actionCalls; }

}  // namespace

// ---------------------------------------------------------------------------
// Preparing and releasing.

TEST(MenuModel, InitMenuNumbersItemsAndGivesHotKeys) {
  Menu m({Item("A text line", kItemText), Item("First", kItemAction), Item("~x Leave", kItemLeave),
          Item("Second, the longest title", kItemAction), Item("bar", kItemBar), Item("Third", kItemApply)});
  EXPECT_EQ(InitMenu(&m.menu), static_cast<int>(std::strlen("Second, the longest title")));
  std::vector<unsigned> keys;
  for (int i = 0; i < 6; ++i) keys.push_back(m[i].Key);
  EXPECT_EQ(keys, (std::vector<unsigned>{0, 1, 'x', 2, 0, 3}));
  EXPECT_EQ(m[1].TitleLen, 5);
}

TEST(MenuModel, InitMenuSetsInitialValues) {
  TtyMenuItem text = Item("Name", kItemRequired);
  text.Default.pConst = "abc";
  TtyMenuItem empty = Item("Other", kItemOptional);
  TtyMenuItem set = Item("Set", kItemSet);
  set.pStates = "a,b,c,d";
  TtyMenuItem fraction = Item("Fraction", kItemFraction);
  fraction.Default.Float = 2.5f;
  Menu m({text, empty, set, fraction, Choice(" a,b,c", 0), Choice("a,,b", 2)});
  InitMenu(&m.menu);
  EXPECT_STREQ(m[0].Value.pText, "abc");
  EXPECT_STREQ(m[1].Value.pText, "");
  EXPECT_EQ(m[2].Value.Int, 1) << "an empty set starts with the first state";
  EXPECT_EQ(m[2].Default.Int, 1);
  EXPECT_EQ(m[2].Count, 4);
  EXPECT_EQ(m[3].Value.Float, 2.5f);
  // The first state is unavailable: the choice starts on the second.
  EXPECT_EQ(m[4].Value.Int, 1);
  EXPECT_STREQ(m[4].pCurState, "b");
  EXPECT_EQ(m[4].Count, 3);
  // An empty name is a state of its own.
  EXPECT_EQ(m[5].Count, 3);
  EXPECT_STREQ(m[5].pCurState, "b");
  FreeMenu(&m.menu);
  EXPECT_EQ(m[0].Value.pText, nullptr);
  EXPECT_EQ(m[1].Value.pText, nullptr);
}

TEST(MenuModel, UpdateStateSelectionStepsPastUnavailableStates) {
  TtyMenuItem item = Choice("a, b, c,d", 1);
  item.Value.Int = 1;
  item.Count = 4;
  UpdateStateSelection(&item);
  EXPECT_EQ(item.Value.Int, 3);
  EXPECT_STREQ(item.pCurState, "d");
  EXPECT_EQ(item.PrevValue, 2);
  // Every state unavailable: it gives up after Count steps.
  TtyMenuItem none = Choice(" a, b", 0);
  none.Count = 2;
  UpdateStateSelection(&none);
  EXPECT_NE(none.pCurState, nullptr);
  EXPECT_EQ(none.pCurState[0], ' ');
  // A value without a state has no name.
  item.Value.Int = 9;
  UpdateStateSelection(&item);
  EXPECT_EQ(item.pCurState, nullptr);
}

class MenuModelTest : public MenuTest {};

TEST_F(MenuModelTest, TestNamesWantsEveryRequiredEntryBeforeTheFirstHiddenItem) {
  Menu m({Item("Name", kItemRequired), Item("Hidden", kItemAction), Item("Later", kItemRequired)});
  InitMenu(&m.menu);
  CopyText(m[0].Value.pText, kItemTextSize, "given");
  EXPECT_EQ(TestNames(&m.menu), 0);  // the later one is empty
  m[1].State = kStateHidden;
  std::string out = Run("", [&] { EXPECT_EQ(TestNames(&m.menu), 1); });
  EXPECT_EQ(out, "");
  m[0].Value.pText[0] = '\0';
  out = Run("\n", [&] { EXPECT_EQ(TestNames(&m.menu), 0); });
  EXPECT_EQ(out, std::string("A required entry is empty; please fill it in.") + kPressEnter);
}

// ---------------------------------------------------------------------------
// State rules.

TEST(StateRules, ValueLists) {
  struct Case {
    const char* list;
    int value;
    int holds;
  } cases[] = {{"1 3", 3, 1}, {"1 3", 2, 0}, {"*", 7, 1},   {"13", 1, 0},  {"13", 13, 1}, {"0", 0, 1},
               {"", 0, 0},    {nullptr, 0, 0}, {"1;2-5", 5, 1}, {"x", 0, 0}, {"9999999999", 5, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(TestFormatState(c.list, c.value), c.holds) << (c.list ? c.list : "NULL") << " " << c.value;
}

TEST(StateRules, HideAndNumberlessFollowTheValue) {
  Menu m({Item("t", kItemText), Item("t", kItemText), Choice("a,b,c", 0, "H1{4} N0{3,5}"), Item("x", kItemAction),
          Item("y", kItemAction), Item("z", kItemAction)});
  InitMenu(&m.menu);
  EXPECT_EQ(m[4].State, kStateAvailable);
  EXPECT_EQ(m[3].State, kStateDimmed);
  EXPECT_EQ(m[5].State, kStateDimmed);
  m[2].Value.Int = 1;
  ProcessStateFormat(&m.menu, 2);
  EXPECT_EQ(m[4].State, kStateHidden) << "value 1 hides item 4";
  EXPECT_EQ(m[3].State, kStateAvailable);
  EXPECT_EQ(m[5].State, kStateAvailable);
  m[2].Value.Int = 2;
  ProcessStateFormat(&m.menu, 2);
  EXPECT_EQ(m[4].State, kStateAvailable) << "any other value shows it again";
  // An item that is not available applies no rules.
  m[2].State = kStateDimmed;
  m[2].Value.Int = 1;
  ProcessStateFormat(&m.menu, 2);
  EXPECT_EQ(m[4].State, kStateAvailable);
}

TEST(StateRules, SetRuleSavesAndRestoresTheTargetsValue) {
  Menu m({Number(5), Choice("a,b", 0, "S1{0.7}")});
  InitMenu(&m.menu);
  // The 0 a table holds counts as saved: the first pass that does not match
  // restores it.
  EXPECT_EQ(m[0].Value.Int, 0);
  EXPECT_EQ(m[0].SavedValue, -1);
  m[0].Value.Int = 5;
  m[1].Value.Int = 1;
  ProcessStateFormat(&m.menu, 1);
  EXPECT_EQ(m[0].Value.Int, 7);
  EXPECT_EQ(m[0].SavedValue, 5);
  m[1].Value.Int = 0;
  ProcessStateFormat(&m.menu, 1);
  EXPECT_EQ(m[0].Value.Int, 5);
  EXPECT_EQ(m[0].SavedValue, -1);
  ProcessStateFormat(&m.menu, 1);
  EXPECT_EQ(m[0].Value.Int, 5) << "nothing saved: a pass that does not match leaves the value";
}

TEST(StateRules, SetRuleNeverOverwritesATextOrASubMenu) {
  Menu m({Choice("a,b", 1, "S1{1.7,2.9}"), Item("text", kItemOptional), Item("sub", kItemSubMenu)});
  InitMenu(&m.menu);
  char* buffer = m[1].Value.pText;
  ProcessStateFormat(&m.menu, 0);
  EXPECT_EQ(m[1].Value.pText, buffer);
  EXPECT_EQ(m[2].Value.pMenu, nullptr);
}

TEST(StateRules, RunRuleAppliesTheTargetsRulesAndAction) {
  TtyMenuItem target = Number(3, "H3{2}");
  target.pfnAction = CountAction;
  Menu m({Choice("a,b", 0, "P1{1}"), target, Item("shown", kItemAction)});
  InitMenu(&m.menu);
  actionCalls = 0;
  m[0].Value.Int = 1;
  ProcessStateFormat(&m.menu, 0);
  EXPECT_EQ(actionCalls, 1);
  EXPECT_EQ(m[2].State, kStateHidden);
}

TEST(StateRules, RulesThatRunThemselvesOrBranchWideEndAtOnce) {
  // A P rule that reaches an item whose rules are running runs only its
  // action; a chain of items that each run the next four times stops when
  // the pass has run its share of targets.
  std::vector<std::string> chain;
  for (int i = 1; i <= 20; ++i) {
    const std::string next = std::to_string(i);
    chain.push_back("P*{" + next + "," + next + "," + next + "," + next + "}");
  }
  struct Case {
    const char* what;
    std::vector<std::string> rules;
    int minCalls, maxCalls;
  } cases[] = {
      {"each other", {"P*{1}", "P*{0}"}, 2, 2},
      {"itself four times", {"P*{0,0,0,0}"}, 4, 4},
      {"four times wide, twenty deep", chain, 1, 1000},
  };
  for (const Case& c : cases) {
    std::vector<TtyMenuItem> items;
    for (const std::string& r : c.rules) {
      items.push_back(Number(1, r.c_str()));
      items.back().pfnAction = CountAction;
    }
    items.push_back(Number(1));
    Menu m(items);
    InitMenu(&m.menu);
    actionCalls = 0;
    ProcessStateFormat(&m.menu, 0);
    EXPECT_GE(actionCalls, c.minCalls) << c.what;
    EXPECT_LE(actionCalls, c.maxCalls) << c.what;
  }
}

TEST(StateRules, MalformedRulesArePassedOver) {
  for (const char* rules : {"H1{99}", "H", "H1", "Q1{1}", "{}{},,..", "S1{1}", "S1{1.x}", "H1{-1}", "N1{1a}",
                            "\\", "H1{1", "H0 H1{1}"}) {
    Menu m({Choice("a,b", 1, rules), Item("x", kItemAction)});
    InitMenu(&m.menu);
    ProcessStateFormat(&m.menu, 0);
    // Only a rule with a valid target changes anything.
    const bool hides = std::strcmp(rules, "H0 H1{1}") == 0 || std::strcmp(rules, "H1{1") == 0;
    EXPECT_EQ(m[1].State, hides ? kStateHidden : kStateAvailable) << rules;
  }
}

// ---------------------------------------------------------------------------
// Conditions.

class Conditions : public ::testing::Test {
 protected:
  Conditions() : m({Number(1), Number(2), Number(3), Number(0), Number(0), Number(0), Number(0)}) {
    InitMenu(&m.menu);
    m[2].State = kStateDimmed;
  }
  Menu m;
};

TEST_F(Conditions, Atoms) {
  EXPECT_EQ(TestState(&m.menu, "0.1", 0), 1);
  EXPECT_EQ(TestState(&m.menu, "0.2", 0), 0);
  EXPECT_EQ(TestState(&m.menu, "2.3", 0), 2) << "held, but not available";
  EXPECT_EQ(TestState(&m.menu, "+1.0", 5), 1) << "from item 5 forward: item 6";
  EXPECT_EQ(TestState(&m.menu, "+1.1", 5), 0);
  EXPECT_EQ(TestState(&m.menu, "-4.2", 5), 1) << "from item 5 backward: item 1";
  EXPECT_EQ(TestState(&m.menu, "-9.1", 5), 0);
  EXPECT_EQ(TestState(&m.menu, "99.0", 0), 0);
  EXPECT_EQ(TestState(&m.menu, "1", 0), 0);
  EXPECT_EQ(TestState(&m.menu, "", 0), 0);
}

TEST_F(Conditions, OperatorsTakeTheirUsualPrecedence) {
  struct Case {
    const char* text;
    int holds;
  } cases[] = {
      {"0.1", 1},
      {"0.2", 0},
      {"2.3", 1},
      {"2.3A", 1},
      {"0.1A", 0},
      {"!0.2", 1},
      {"!0.1", 0},
      {"0.1&1.2", 1},
      {"0.1&1.3", 0},
      {"0.2|1.2", 1},
      {"0.2|1.3", 0},
      // & binds tighter than |: 0.1 | (0.2 & 1.9).
      {"0.1|0.2&1.9", 1},
      {"(0.1|0.2)&1.9", 0},
      {"1.9&0.2|0.1", 1},
      // ! binds tightest.
      {"!0.1|1.2", 1},
      {"!(0.1|1.2)", 0},
      {"!0.1&1.2", 0},
      {"!!0.1", 1},
      {"!2.3A", 0},
      {"((0.1))", 1},
      // Malformed: false.
      {"0.1&", 0},
      {"((0.1)", 0},
      {"0.1)", 0},
      {"x", 0},
      {"", 0},
      {"0.1 0.1", 0},
      {"&", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(TestStateCondition(&m.menu, c.text, 0), c.holds) << c.text;
}

TEST_F(Conditions, DeepNestingIsFalseNotACrash) {
  std::string deep = std::string(10, '(') + "0.1" + std::string(10, ')');
  EXPECT_EQ(TestStateCondition(&m.menu, deep.c_str(), 0), 1);
  std::string tooDeep = std::string(100000, '(') + "0.1" + std::string(100000, ')');
  EXPECT_EQ(TestStateCondition(&m.menu, tooDeep.c_str(), 0), 0);
  std::string nots = std::string(100000, '!') + "0.1";
  EXPECT_EQ(TestStateCondition(&m.menu, nots.c_str(), 0), 0);
}

TEST(SubMenus, ValidateMenuPicksTheSubMenuOfTheFirstConditionThatHolds) {
  TtyMenu a{}, b{};
  TtyMenu* subs[] = {&a, &b};
  TtyMenuItem sub = Item("sub", kItemSubMenu);
  sub.pFormat = "0.1 0.2|0.3";
  sub.Value.ppMenus = subs;
  TtyMenuItem plain = Item("plain", kItemSubMenu);
  plain.Value.pMenu = &a;
  Menu m({Number(1), sub, plain, Number(0)});
  InitMenu(&m.menu);
  EXPECT_EQ(ValidateMenu(&m.menu, 1), &a);
  m[0].Value.Int = 3;
  EXPECT_EQ(ValidateMenu(&m.menu, 1), &b);
  m[0].Value.Int = 4;
  EXPECT_EQ(ValidateMenu(&m.menu, 1), nullptr);
  EXPECT_EQ(ValidateMenu(&m.menu, 2), &a);
  m[2].State = kStateDimmed;
  EXPECT_EQ(ValidateMenu(&m.menu, 2), nullptr);
  EXPECT_EQ(ValidateMenu(&m.menu, 3), nullptr) << "not a sub-menu item";
  EXPECT_EQ(ValidateMenu(&m.menu, 9), nullptr);
}

// ---------------------------------------------------------------------------
// The chooser on the screen grid.

class Chooser : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    GetTermInfo(&screen);
  }
  void TearDown() override {
    PutMem(screen.pCells);
    MenuTest::TearDown();
  }
  std::string Row(int row) const {
    std::string r(screen.pCells + row * screen.Cols, static_cast<size_t>(screen.Cols));
    return r.substr(0, r.find_last_not_of(' ') + 1);
  }
  TtyScreen screen;
};

TEST_F(Chooser, OneColumnWithMarkerNumbersAndNames) {
  TtyMenuItem item = Choice("alpha,beta,_gamma, delta", 1);
  item.pTitle = "Pick one";
  Menu m({item});
  InitMenu(&m.menu);
  EXPECT_EQ(DrawStateChooser(&screen, &m[0], 0), 4);
  EXPECT_EQ(Row(0), std::string(36, ' ') + "Pick one");
  EXPECT_EQ(Row(1), "");
  EXPECT_EQ(Row(2), "     1) alpha");
  EXPECT_EQ(Row(3), " ->  2) beta");
  EXPECT_EQ(Row(4), "     3) gamma");
  EXPECT_EQ(Row(5), "         delta") << "an unavailable state has no number";
  EXPECT_EQ(Row(21), "s) Save and return" + std::string(40 - 18, ' ') + "c) Cancel");
  EXPECT_EQ(Row(22), "Current selection: beta");
  EXPECT_EQ(Row(23), "Enter the numbers to choose, s or c:");
}

TEST_F(Chooser, ColumnsAreSpreadOverTheWidth) {
  std::string states;
  for (int i = 1; i <= 30; ++i) states += (i > 1 ? "," : "") + std::string("s") + (i < 10 ? "0" : "") + std::to_string(i);
  TtyMenuItem item = Item("Set", kItemSet);
  item.pStates = states.c_str();
  item.Default.Int = 0x5;  // states 1 and 3
  item.Value.Int = 0x5;
  Menu m({item});
  InitMenu(&m.menu);
  EXPECT_EQ(DrawStateChooser(&screen, &m[0], 0), 30);
  // 18 rows per column; two columns of 3 + 7 = 10, the second shifted by
  // (80 - 20) / 2 = 30 to column 40.
  EXPECT_EQ(Row(2), " ->  1) s01" + std::string(40 - 11 + 4, ' ') + "19) s19");
  EXPECT_EQ(Row(4), " ->  3) s03" + std::string(33, ' ') + "21) s21");
  EXPECT_EQ(Row(13), "    12) s12" + std::string(33, ' ') + "30) s30");
  EXPECT_EQ(Row(14), "    13) s13");
  EXPECT_EQ(Row(19), "    18) s18");
  EXPECT_EQ(Row(22), "Current selection: s01 s03");
}

TEST_F(Chooser, PagesOfStatesThatDoNotFit) {
  std::string states;
  for (int i = 1; i <= 40; ++i) states += (i > 1 ? "," : "") + std::string(50, 'a' + i % 26);
  TtyMenuItem item = Choice(states.c_str(), 0);
  Menu m({item});
  InitMenu(&m.menu);
  EXPECT_EQ(DrawStateChooser(&screen, &m[0], 0), 18) << "one column of 57 fits, two do not";
  PutMem(screen.pCells);
  GetTermInfo(&screen);
  EXPECT_EQ(DrawStateChooser(&screen, &m[0], 18), 18);
  EXPECT_EQ(Row(2).substr(0, 8), "    19) ");
  PutMem(screen.pCells);
  GetTermInfo(&screen);
  EXPECT_EQ(DrawStateChooser(&screen, &m[0], 36), 4);
  EXPECT_EQ(Row(5).substr(0, 8), "    40) ");
}

TEST_F(Chooser, ALongNameInTheFirstColumnIsCut) {
  std::string states = "short," + std::string(100, 'n') + ",x";
  TtyMenuItem item = Choice(states.c_str(), 0);
  Menu m({item});
  InitMenu(&m.menu);
  DrawStateChooser(&screen, &m[0], 0);
  EXPECT_EQ(Row(3), "     2) " + std::string(69, 'n') + "...");
  EXPECT_EQ(Row(3).size(), 80u);
}

TEST_F(Chooser, TheLastLinesWhenTheSelectionIsTooLong) {
  std::string states;
  for (int i = 0; i < 12; ++i) states += (i > 0 ? "," : "") + std::string(10, 'a' + i);
  TtyMenuItem item = Item("Set", kItemSet);
  item.pStates = states.c_str();
  item.Value.Int = 0xfff;
  Menu m({item});
  InitMenu(&m.menu);
  DrawStateChooser(&screen, &m[0], 0);
  EXPECT_EQ(Row(22).size(), 80u);
  EXPECT_EQ(Row(22).substr(0, 30), "Current selection: aaaaaaaaaa ");
  EXPECT_EQ(Row(22).substr(77), "...");
}

// ---------------------------------------------------------------------------
// The chooser driven through standard input.

TEST_F(Chooser, NumbersChooseAndSaveKeepsTheValue) {
  Menu m({Choice("a,b,c,d", 0, "H2{1}"), Item("switched", kItemAction)});
  InitMenu(&m.menu);
  actionCalls = 0;
  m[0].pfnAction = CountAction;
  std::string out = Run("3\ns\n", [&] { ProcessStateValue(&m.menu, 0, ""); });
  EXPECT_EQ(m[0].Value.Int, 2);
  EXPECT_EQ(m[0].PrevValue, 0);
  EXPECT_STREQ(m[0].pCurState, "c");
  EXPECT_EQ(m[1].State, kStateHidden) << "the rules follow the value";
  EXPECT_EQ(actionCalls, 1);
  EXPECT_EQ(Count(out, "Current selection: "), 2) << "drawn once per answer before the save";
  EXPECT_NE(out.find("\033[24;38H"), std::string::npos) << "the cursor waits behind the prompt";
}

TEST_F(Chooser, CancelRestoresTheValueAndWhatItsRulesSwitched) {
  Menu m({Choice("a,b,c,d", 0, "H2{1}"), Item("switched", kItemAction)});
  InitMenu(&m.menu);
  Run("3\n2,4\nc\n", [&] { ProcessStateValue(&m.menu, 0, ""); });
  EXPECT_EQ(m[0].Value.Int, 0);
  EXPECT_STREQ(m[0].pCurState, "a");
  EXPECT_EQ(m[1].State, kStateAvailable);
}

TEST_F(Chooser, UnavailableStatesAreIgnoredInASetAndSteppedPastInAChoice) {
  TtyMenuItem item = Item("Set", kItemSet);
  item.pStates = "a,b, c,d";
  Menu m({item, Choice("a,b, c,d", 0)});
  InitMenu(&m.menu);
  // The given answer comes first; 3 is unavailable, 9 does not exist.
  Run("1,4\ns\n", [&] { ProcessStateValue(&m.menu, 0, "2 3 9 x"); });
  EXPECT_EQ(m[0].Value.Int, 0xA) << "b and d";
  // The last number wins, and from the unavailable c the choice moves on.
  Run("s\n", [&] { ProcessStateValue(&m.menu, 1, "2 3"); });
  EXPECT_EQ(m[1].Value.Int, 3);
  EXPECT_STREQ(m[1].pCurState, "d");
}

TEST_F(Chooser, AnEmptyAnswerShowsTheNextPage) {
  std::string states;
  for (int i = 1; i <= 40; ++i) states += (i > 1 ? "," : "") + std::string(50, 'a' + i % 26);
  Menu m({Choice(states.c_str(), 0)});
  InitMenu(&m.menu);
  std::string out = Run("\n\n37\n\ns\n", [&] { ProcessStateValue(&m.menu, 0, ""); });
  EXPECT_EQ(m[0].Value.Int, 36) << "state 37 lies on the third page";
  EXPECT_NE(out.find("19) "), std::string::npos);
  EXPECT_NE(out.find("37) "), std::string::npos);
  // After the last page the first comes again.
  EXPECT_GE(Count(out, " 1) "), 2);
}

TEST_F(Chooser, ATerminalTooSmallForTheListChangesNothing) {
  std::string states = "a," + std::string(130, 'w') + ",c";
  Menu m({Choice(states.c_str(), 0)});
  InitMenu(&m.menu);
  std::string out = Run("3\nmore\n", [&] { ProcessStateValue(&m.menu, 0, ""); });
  EXPECT_EQ(out,
            "\nThe terminal is too small to show this list.\nIt has 80 columns and 24 lines; at least 85 columns and 7 "
            "lines are needed. Press Enter to go back.\n");
  EXPECT_EQ(m[0].Value.Int, 0);
}

TEST_F(Chooser, EndOfInputEndsTheProgram) {
  Menu m({Choice("a,b,c", 0)});
  InitMenu(&m.menu);
  EXPECT_EXIT(Run("2\n", [&] { ProcessStateValue(&m.menu, 0, ""); }), testing::ExitedWithCode(1), kEndOfInput);
}
