#include "NlsUtils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "MemMgr.h"
#include "test_support.h"

namespace {

struct HandleCloser {
  void operator()(DbTHandle* handle) const { DbTClose(handle); }
};
using HandlePtr = std::unique_ptr<DbTHandle, HandleCloser>;

// What a call printed on a stream of its own.
template <typename Fn>
std::string Printed(Fn fn) {
  char* text = nullptr;
  size_t size = 0;
  FILE* stream = open_memstream(&text, &size);
  fn(stream);
  std::fclose(stream);
  std::string result(text, size);
  std::free(text);
  return result;
}

class NlsTest : public ::testing::Test {
 protected:
  HandlePtr MakeDb(const std::string& source) {
    std::vector<DbRecordIn> records;
    std::string err;
    EXPECT_TRUE(DbParseSource(source, &records, &err)) << err;
    std::string path = dir.File("strings.vdb");
    EXPECT_TRUE(DbWriteFile(path.c_str(), kDbTypeHeadered, records, &err)) << err;
    return HandlePtr(DbTOpen(path.c_str(), 0));
  }
  ScratchDir dir;
};

}  // namespace

TEST_F(NlsTest, NoDatabasePrintsTheSharedErrorText) {
  EXPECT_EQ(pDrvCoreDB, nullptr);
  EXPECT_EQ(Printed([](FILE* f) { Nlsfprintf(f, nullptr, 25, 1001); }), "Error");
  // The shared text survived the first call.
  EXPECT_EQ(Printed([](FILE* f) { Nlsfprintf(f, nullptr, 25, 1001, 42, "unused"); }), "Error");
  char* first = NlsFetchString(nullptr, nullptr, 0, 25, 1001);
  EXPECT_TRUE(NlsIsErrorText(first));
  NlsFreeString(first);  // never given back
  char* second = NlsFetchString(nullptr, nullptr, 0, 25, 1000);
  EXPECT_EQ(second, first);
  EXPECT_STREQ(second, "Error");
}

TEST_F(NlsTest, ZeroSectionOrNumberWithoutDatabaseFailsAtOnce) {
  char out[16] = "untouched";
  EXPECT_TRUE(NlsIsErrorText(NlsFetchString(nullptr, out, 0, 0, 1001)));
  EXPECT_TRUE(NlsIsErrorText(NlsFetchString(nullptr, out, 0, 25, 0)));
  EXPECT_TRUE(NlsIsErrorText(NlsFetchString(nullptr, out, 1, "key")));
  EXPECT_EQ(NlsFetchString(nullptr, out, 2, "key"), out);
  EXPECT_EQ(NlsFetchString(nullptr, out, 3, 0, 7), out);
  EXPECT_STREQ(out, "untouched");
}

TEST_F(NlsTest, MessageIsPrintedAsAFormat) {
  HandlePtr db = MakeDb("25_7\tcount=%d of %s\\n\n");
  EXPECT_EQ(Printed([&](FILE* f) { Nlsfprintf(f, db.get(), 25, 7, 3, "five"); }), "count=3 of five\n");
  EXPECT_EQ(Printed([&](FILE* f) { Nlsfprintf(f, db.get(), 25, 8, 3, "five"); }), "Error");
}

TEST_F(NlsTest, ModesAndWhatTheyReturn) {
  HandlePtr db = MakeDb("25_7\t100%s done\nplain\tvalue\n");
  // Mode 0: a new copy of the text, taken as it stands (no format applied).
  char* copy = NlsFetchString(db.get(), nullptr, 0, 25, 7);
  EXPECT_STREQ(copy, "100%s done");
  EXPECT_FALSE(NlsIsErrorText(copy));
  char* again = NlsFetchString(db.get(), nullptr, 0, 25, 7);
  EXPECT_NE(again, copy);
  NlsFreeString(copy);
  NlsFreeString(again);
  EXPECT_TRUE(NlsIsErrorText(NlsFetchString(db.get(), nullptr, 0, 25, 9)));

  // Mode 0 into the caller's buffer.
  char out[32];
  std::memset(out, 'Z', sizeof out);
  EXPECT_EQ(NlsFetchString(db.get(), out, 0, 25, 7), out);
  EXPECT_STREQ(out, "100%s done");

  // Modes 1 and 2: a key; with no record the very key pointer.
  const char* missing = "no_such_key";
  EXPECT_EQ(NlsFetchString(db.get(), nullptr, 1, missing), missing);
  EXPECT_EQ(NlsFetchString(db.get(), out, 2, missing), missing);
  char* byKey = NlsFetchString(db.get(), nullptr, 1, "plain");
  EXPECT_STREQ(byKey, "value");
  NlsFreeString(byKey);
  EXPECT_EQ(NlsFetchString(db.get(), out, 2, "plain"), out);
  EXPECT_STREQ(out, "value");

  // Mode 3: always a new copy, or the error text.
  char* three = NlsFetchString(db.get(), out, 3, 25, 7);
  EXPECT_NE(three, out);
  EXPECT_STREQ(three, "100%s done");
  NlsFreeString(three);
  EXPECT_TRUE(NlsIsErrorText(NlsFetchString(db.get(), out, 3, 25, 9)));

  // Modes that name no record give out back.
  EXPECT_EQ(NlsFetchString(db.get(), out, 4), out);
  EXPECT_EQ(NlsFetchString(db.get(), out, -1), out);
}

TEST_F(NlsTest, TextsLongerThanTheBufferAreReadWhole) {
  const std::string longText(5000, 'L');
  HandlePtr db = MakeDb("25_7\t" + longText + "\nkey\t" + longText + "\n");
  for (int mode : {0, 3}) {
    char* text = NlsFetchString(db.get(), nullptr, mode, 25, 7);
    EXPECT_EQ(text, longText) << mode;
    NlsFreeString(text);
  }
  for (int mode : {1, 2}) {
    char* text = NlsFetchString(db.get(), nullptr, mode, "key");
    EXPECT_EQ(text, longText) << mode;
    NlsFreeString(text);
  }
  std::string out(6000, 'Z');
  EXPECT_EQ(NlsFetchString(db.get(), out.data(), 0, 25, 7), out.data());
  EXPECT_EQ(std::string(out.c_str()), longText);
  // Exactly the buffer's size still comes back terminated.
  HandlePtr exact = MakeDb("25_1\t" + std::string(kNlsFetchBufSize, 'E') + "\n");
  char* text = NlsFetchString(exact.get(), nullptr, 0, 25, 1);
  EXPECT_EQ(std::string(text), std::string(kNlsFetchBufSize, 'E'));
  NlsFreeString(text);
}

// ---------------------------------------------------------------------------
// The engine's own string database, as the build makes it.

namespace {

// The argument types a printf format takes, one letter each: d int, u
// unsigned, f double, c char, s text, p pointer, '*' a width or precision;
// length modifiers stand in front of the letter. "?" for a broken format.
std::string Conversions(const char* format) {
  std::vector<std::string> conversions;
  const bool complete = FormatConversions(format, &conversions);
  std::string out;
  for (const std::string& conversion : conversions) {
    for (char c : conversion)
      if (c == '*') out += "* ";
    std::string length;
    for (size_t i = conversion.size() - 1; i > 0 && std::strchr("hlLqjzt", conversion[i - 1]) != nullptr; --i)
      length.insert(length.begin(), conversion[i - 1]);
    char kind;
    switch (conversion.back()) {
      case 'd': case 'i': kind = 'd'; break;
      case 'o': case 'u': case 'x': case 'X': kind = 'u'; break;
      case 'c': case 's': case 'p': kind = conversion.back(); break;
      case 'n': return out + "?";
      default: kind = 'f'; break;
    }
    out += length + kind + " ";
  }
  if (!complete) return out + "?";
  if (!out.empty()) out.pop_back();
  return out;
}

// Every text of section 25 the menu engine uses, with the arguments its
// caller passes: the chooser texts, the chooser's too-small messages
// (columns and lines it has, columns and lines it needs), the prompt line
// (510 filled with 230 to 232), the set value texts, the press-Enter request,
// the entry-check messages (a character; a character, what was allowed, the
// text accepted so far; the value), the leave questions (menu or program name).
const std::map<int, const char*> kEngineTexts = {
    {200, ""},      {201, ""},      {202, ""},     {203, "s"},    {204, "s"},
    {205, ""},      {206, ""},      {207, "d d"},  {208, "d d"},  {230, ""},
    {231, ""},      {232, ""},      {270, ""},     {271, ""},     {510, "s s s"},
    {1000, ""},     {1001, ""},     {1002, ""},    {1006, "c"},   {1007, "c s s"},
    {1008, "c s s"}, {1009, "s"},   {1011, ""},    {1016, ""},    {1017, "s"},
    {1018, "s"},    {1020, ""},     {240, ""},     {241, ""},     {242, ""},
};

// The six databases the build makes: English in db/, the translations in
// db/<LANG>/.
const char* const kLanguages[] = {"", "es_ES/", "it_IT/", "fr_FR/", "ge_GE/", "pr_BR/"};

HandlePtr OpenBuilt(const std::string& folder) {
  HandlePtr db(DbTOpen((std::string(DRVCORE_DB_DIR) + "/" + folder + "drvcore.vdb").c_str(), 0));
  DbTUpDate(db.get());
  return db;
}

// A text of a built database as a string ("" when it is missing).
std::string Text(DbTHandle* db, int number) {
  char* text = NlsFetchString(db, nullptr, 0, kNlsSection, number);
  std::string result = NlsIsErrorText(text) ? "" : text;
  NlsFreeString(text);
  return result;
}

}  // namespace

TEST(NlsConversions, ReadsFormats) {
  EXPECT_EQ(Conversions("plain 100%% text"), "");
  EXPECT_EQ(Conversions("%c at %s: %-5d %i %x %.3f %*s %ld %%"), "c s d d u f * s ld");
  EXPECT_EQ(Conversions("broken %"), "?");
  EXPECT_EQ(Conversions("%y"), "?");
}

TEST(DrvCoreDb, EveryLanguageHoldsEveryEngineTextWithTheCallersConversions) {
  for (const char* folder : kLanguages) {
    SCOPED_TRACE(std::string("db/") + folder);
    HandlePtr db = OpenBuilt(folder);
    ASSERT_EQ(db->DbType, kDbTypeHeadered);
    EXPECT_EQ(db->RecordCnt, static_cast<int>(kEngineTexts.size()));
    for (const auto& [number, conversions] : kEngineTexts) {
      const std::string text = Text(db.get(), number);
      ASSERT_FALSE(text.empty()) << "25_" << number << " is missing";
      EXPECT_EQ(Conversions(text.c_str()), conversions) << "25_" << number << ": " << text;
    }
    // Nothing else is in it: every record is one of the engine's texts.
    TRecord record{};
    int count = 0;
    for (TRecord* r = WalkDbTRecords(db.get(), &record, 0); r != nullptr; r = WalkDbTRecords(db.get(), &record, 1))
      ++count;
    EXPECT_EQ(count, static_cast<int>(kEngineTexts.size()));
  }
}

TEST(DrvCoreDb, EveryLanguageKeepsTheKeysTheEngineReads) {
  for (const char* folder : kLanguages) {
    SCOPED_TRACE(std::string("db/") + folder);
    HandlePtr db = OpenBuilt(folder);
    // The chooser's save and cancel keys: the first letters of 201 and 202,
    // two different letters, both named by its prompt 205.
    const std::string save = Text(db.get(), 201), cancel = Text(db.get(), 202), prompt = Text(db.get(), 205);
    ASSERT_GE(save.size(), 3u);
    ASSERT_GE(cancel.size(), 3u);
    EXPECT_TRUE(std::islower(static_cast<unsigned char>(save[0])) && save[1] == ')') << save;
    EXPECT_TRUE(std::islower(static_cast<unsigned char>(cancel[0])) && cancel[1] == ')') << cancel;
    EXPECT_NE(save[0], cancel[0]);
    auto names = [&](char key) {  // as a word of its own
      for (size_t at = prompt.find(std::string(" ") + key); at != std::string::npos;
           at = prompt.find(std::string(" ") + key, at + 1))
        if (std::isalpha(static_cast<unsigned char>(prompt[at + 2])) == 0) return true;
      return false;
    };
    EXPECT_TRUE(names(save[0]) && names(cancel[0])) << prompt;
    // The menu loop's own keys s (settings) and h (help).
    EXPECT_EQ(Text(db.get(), 230).rfind(", s ", 0), 0u);
    EXPECT_EQ(Text(db.get(), 231).rfind(", h ", 0), 0u);
    // The help menu's fixed items come from the database with their keys.
    const struct {
      NlsHelpItem item;
      const char* key;
    } items[] = {{kNlsHelpExit, "~e "}, {kNlsHelpContents, "~c "}, {kNlsHelpBack, "~b "}};
    for (const auto& [item, key] : items) {
      char* title = NlsFetchHelpItem(db.get(), item);
      EXPECT_EQ(std::string(title), Text(db.get(), item));
      EXPECT_EQ(std::string(title).rfind(key, 0), 0u) << title;
      NlsFreeString(title);
    }
  }
}

TEST(DrvCoreDb, TranslationsAreIso88591) {
  // The bytes the terminal gets, as the installer's own tables have them.
  const struct {
    const char* folder;
    int number;
    const char* text;
  } cases[] = {
      {"fr_FR/", 203, "S\xE9lection actuelle : %s"},
      {"fr_FR/", 1009, "La valeur \xAB %s \xBB n'est pas autoris\xE9" "e."},
      {"ge_GE/", 201, "s) Speichern und zur\xFC" "ck"},
      {"ge_GE/", 242, "~b Zur\xFC" "ck"},
      {"es_ES/", 1017, "\xBF" "Desea salir de %s"},
      {"it_IT/", 1006, "Il carattere '%c' non \xE8 consentito in un numero."},
      {"pr_BR/", 203, "Sele\xE7\xE3o atual: %s"},
  };
  for (const auto& c : cases) {
    HandlePtr db = OpenBuilt(c.folder);
    EXPECT_EQ(Text(db.get(), c.number), c.text) << c.folder << c.number;
  }
}

TEST(DrvCoreDb, PrintsTheTextsTheEngineShows) {
  HandlePtr db = OpenBuilt("");
  EXPECT_EQ(Printed([&](FILE* f) {
              Nlsfprintf(f, db.get(), 25, 510, ", s to save the settings", "", ", Enter to leave");
            }),
            "\nEnter a selection, s to save the settings, Enter to leave: ");
  HandlePtr french = OpenBuilt("fr_FR/");
  EXPECT_EQ(Printed([&](FILE* f) { Nlsfprintf(f, french.get(), 25, 1007, 'u', "/", "ab"); }),
            "Le caract\xE8re 'u' n'est pas autoris\xE9 ici ; / attendu apr\xE8s \xAB ab \xBB.");
}

TEST(NlsHelpItems, AMissingOrBrokenTextGivesTheEnglishTitle) {
  ScratchDir dir;
  std::vector<DbRecordIn> records;
  std::string err;
  ASSERT_TRUE(DbParseSource("25_240\t~q Quitter\n25_241\tSommaire\n", &records, &err)) << err;
  const std::string path = dir.File("broken.vdb");
  ASSERT_TRUE(DbWriteFile(path.c_str(), kDbTypeHeadered, records, &err)) << err;
  HandlePtr db(DbTOpen(path.c_str(), 0));
  for (DbTHandle* handle : {db.get(), static_cast<DbTHandle*>(nullptr)}) {
    const struct {
      NlsHelpItem item;
      const char* english;
    } cases[] = {{kNlsHelpExit, "~e Exit Help"}, {kNlsHelpContents, "~c Contents"}, {kNlsHelpBack, "~b Back"}};
    for (const auto& [item, english] : cases) {
      char* title = NlsFetchHelpItem(handle, item);
      EXPECT_STREQ(title, english);
      EXPECT_FALSE(NlsIsErrorText(title));
      NlsFreeString(title);
    }
  }
}
