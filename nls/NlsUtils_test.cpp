#include "NlsUtils.h"

#include <gtest/gtest.h>

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
  std::string out;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p != '\0' && std::strchr("-+ #0'", *p) != nullptr) ++p;
    auto field = [&] {
      if (*p == '*') {
        out += "* ";
        ++p;
      }
      while (*p >= '0' && *p <= '9') ++p;
    };
    field();
    if (*p == '.') {
      ++p;
      field();
    }
    std::string length;
    while (*p != '\0' && std::strchr("hlLqjzt", *p) != nullptr) length.push_back(*p++);
    if (*p == '\0') return out + "?";
    char kind;
    switch (*p) {
      case 'd': case 'i': kind = 'd'; break;
      case 'o': case 'u': case 'x': case 'X': kind = 'u'; break;
      case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': kind = 'f'; break;
      case 'c': case 's': case 'p': kind = *p; break;
      default: return out + "?";
    }
    out += length + kind + " ";
  }
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
    {1018, "s"},    {1020, ""},
};

}  // namespace

TEST(NlsConversions, ReadsFormats) {
  EXPECT_EQ(Conversions("plain 100%% text"), "");
  EXPECT_EQ(Conversions("%c at %s: %-5d %i %x %.3f %*s %ld %%"), "c s d d u f * s ld");
  EXPECT_EQ(Conversions("broken %"), "?");
  EXPECT_EQ(Conversions("%y"), "?");
}

TEST(DrvCoreDb, HoldsEveryEngineTextWithTheRightConversions) {
  HandlePtr db(DbTOpen(DRVCORE_VDB, 0));
  ASSERT_NE(db, nullptr);
  DbTUpDate(db.get());
  ASSERT_EQ(db->DbType, kDbTypeHeadered) << DRVCORE_VDB;
  EXPECT_EQ(db->RecordCnt, static_cast<int>(kEngineTexts.size()));
  for (const auto& [number, conversions] : kEngineTexts) {
    char* text = NlsFetchString(db.get(), nullptr, 0, kNlsSection, number);
    ASSERT_FALSE(NlsIsErrorText(text)) << "25_" << number << " is missing";
    EXPECT_GT(std::strlen(text), 0u) << number;
    EXPECT_EQ(Conversions(text), conversions) << "25_" << number << ": " << text;
    NlsFreeString(text);
  }
  // Nothing else is in it: every record is one of the engine's texts.
  TRecord record{};
  int count = 0;
  for (TRecord* r = WalkDbTRecords(db.get(), &record, 0); r != nullptr;
       r = WalkDbTRecords(db.get(), &record, 1))
    ++count;
  EXPECT_EQ(count, static_cast<int>(kEngineTexts.size()));
}

TEST(DrvCoreDb, PrintsTheTextsTheEngineShows) {
  HandlePtr db(DbTOpen(DRVCORE_VDB, 0));
  EXPECT_EQ(Printed([&](FILE* f) {
              Nlsfprintf(f, db.get(), 25, 510, ", s to save the settings", "", ", Enter to leave");
            }),
            "\nEnter a selection, s to save the settings, Enter to leave: ");
  EXPECT_EQ(Printed([&](FILE* f) { Nlsfprintf(f, db.get(), 25, 1007, 'u', "/", ""); }),
            "The character 'u' is not allowed here; expected / after \"\".");
  // The save and cancel keys of the chooser are the first characters of its texts.
  char* save = NlsFetchString(db.get(), nullptr, 0, 25, 201);
  char* cancel = NlsFetchString(db.get(), nullptr, 0, 25, 202);
  EXPECT_EQ(save[0], 's');
  EXPECT_EQ(cancel[0], 'c');
  NlsFreeString(save);
  NlsFreeString(cancel);
}
