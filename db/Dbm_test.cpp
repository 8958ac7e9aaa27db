#include "Dbm.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "MemMgr.h"
#include "test_support.h"
#include "utils.h"

namespace {

struct HandleCloser {
  void operator()(DbTHandle* handle) const { DbTClose(handle); }
};
using HandlePtr = std::unique_ptr<DbTHandle, HandleCloser>;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

std::string Encode(int type, const std::vector<DbRecordIn>& records) {
  std::string image, err;
  EXPECT_TRUE(DbEncodeImage(type, records, &image, &err)) << err;
  return image;
}

// The value of key through DbmTGetRecordV, exactly as stored; "<none>" when absent.
std::string Lookup(DbTHandle* handle, const std::string& key) {
  char small[8];
  char* buffer = small;
  int len = DbmTGetRecordV(handle, key.c_str(), &buffer, sizeof small);
  if (len == 0) return "<none>";
  std::string value(buffer, static_cast<size_t>(len));
  if (buffer != small) PutMem(buffer);
  return value;
}

void SetMtime(const std::string& path, time_t seconds) {
  timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

class DbTest : public ::testing::Test {
 protected:
  // Writes the database file and opens a handle on it.
  HandlePtr Make(const std::string& file, const std::string& content, unsigned flags = 0) {
    std::string path = dir.Write(file, content);
    return HandlePtr(DbTOpen(path.c_str(), flags));
  }
  ScratchDir dir;
};

const std::vector<DbRecordIn> kTwoRecords = {{"a", "x"}, {"bb", "yz"}};

}  // namespace

// ---------------------------------------------------------------------------
// Scrambling and the exact layouts.

TEST(DbXor, ChainOfFourBytes) {
  const char block[4] = {'a', 'b', 'c', '\0'};
  char scrambled[4];
  DbXorEncode(block, scrambled, 4);
  EXPECT_EQ(std::string(scrambled, 4), Bytes({0x03, 0x01, 0x63, 0x00}));
  char back[4];
  DbXorDecode(scrambled, back, 4);
  EXPECT_EQ(std::memcmp(back, block, 4), 0);
}

TEST(DbXor, InPlaceRoundTrip) {
  std::string block;
  for (int i = 0; i < 300; ++i) block.push_back(static_cast<char>(i * 37));
  std::string work = block;
  DbXorEncode(work.data(), work.data(), static_cast<int>(work.size()));
  EXPECT_NE(work, block);
  DbXorDecode(work.data(), work.data(), static_cast<int>(work.size()));
  EXPECT_EQ(work, block);
}

TEST(DbWriter, HeaderedLayoutBytes) {
  std::string expected = std::string("TVDBAA1", 7) + std::string(9, '\0');
  // RecLen 5 and KeyLen 2 big-endian, "a\0" scrambled, "x" scrambled.
  expected += Bytes({0x00, 0x05, 0x00, 0x02, 'a', 0x00, 'x'});
  EXPECT_EQ(Encode(kDbTypeHeadered, {{"a", "x"}}), expected);
}

TEST(DbWriter, PlainLayoutBytes) {
  // RecLen 5 in host order, then KeyLen 2 (host order) "a\0" "x" scrambled as one block.
  uint16_t recLen = 5, keyLen = 2;
  std::string block(reinterpret_cast<const char*>(&keyLen), 2);
  block += std::string("a\0x", 3);
  std::string scrambled(block.size(), '\0');
  DbXorEncode(block.data(), scrambled.data(), static_cast<int>(block.size()));
  std::string expected(reinterpret_cast<const char*>(&recLen), 2);
  expected += scrambled;
  EXPECT_EQ(Encode(kDbTypePlain, {{"a", "x"}}), expected);
  EXPECT_EQ(expected, Bytes({0x05, 0x00, 0x02, 0x61, 0x61, 0x78, 0x78}));  // x86
}

TEST(DbWriter, RefusesWhatTheReaderCouldNotFind) {
  struct Case {
    std::vector<DbRecordIn> records;
    const char* error;
  } cases[] = {
      {{{"", "v"}}, "empty key"},
      {{{std::string("a\0b", 3), "v"}}, "key holds a NUL byte"},
      {{{std::string(4096, 'k'), "v"}}, "keys must be shorter than 4096"},
      {{{"k", std::string(65532, 'v')}}, "a record holds at most 65535"},
      {{{"k", "1"}, {"k", "2"}}, "key \"k\" appears twice"},
  };
  for (const Case& c : cases) {
    std::string image, err;
    for (int type : {kDbTypePlain, kDbTypeHeadered}) {
      EXPECT_FALSE(DbEncodeImage(type, c.records, &image, &err));
      EXPECT_NE(err.find(c.error), std::string::npos) << err;
    }
  }
  std::string image, err;
  EXPECT_FALSE(DbEncodeImage(7, kTwoRecords, &image, &err));
}

TEST(DbWriter, RefusesPlainImageThatReadsAsHeadered) {
  // A first record whose RecLen bytes are "TV" and whose scrambled block
  // starts "DBA": KeyLen 68 (0x44, 0x00), key starting 'B', 0x03.
  std::string key = std::string("B\x03", 2) + std::string(65, 'k');
  DbRecordIn record{key, std::string(22100 - 2 - 68, 'v')};
  std::string image, err;
  EXPECT_FALSE(DbEncodeImage(kDbTypePlain, {record}, &image, &err));
  EXPECT_NE(err.find("would read as the headered layout"), std::string::npos) << err;
  EXPECT_TRUE(DbEncodeImage(kDbTypeHeadered, {record}, &image, &err)) << err;
}

// ---------------------------------------------------------------------------
// Reading back what the writer wrote.

TEST_F(DbTest, BothLayoutsReadBackByteForByte) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary.push_back(static_cast<char>(i));
  const std::vector<DbRecordIn> records = {
      {"a", "x"},
      {"bb", "yz"},
      {"binary", binary},
      {std::string(4095, 'K'), "longest key"},
      {"big", std::string(65535 - 2 - 4 - 1, 'B') + "!"},  // the largest record
      {"25_1000", std::string("text\0", 5)},
  };
  for (int type : {kDbTypePlain, kDbTypeHeadered}) {
    SCOPED_TRACE(type);
    HandlePtr db = Make("both.vdb", Encode(type, records));
    for (const DbRecordIn& r : records) EXPECT_EQ(Lookup(db.get(), r.key), r.value);
    EXPECT_EQ(db->DbType, type);
    EXPECT_EQ(Lookup(db.get(), "b"), "<none>");
    EXPECT_EQ(Lookup(db.get(), "bbb"), "<none>");
    if (type == kDbTypeHeadered) {
      EXPECT_EQ(db->RecordCnt, 6);
    }
  }
}

TEST_F(DbTest, GetRecordCopiesIntoCallersBuffer) {
  HandlePtr db = Make("two.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  char out[8] = {};
  EXPECT_EQ(DbmTGetRecord(db.get(), "bb", out), 2);
  EXPECT_STREQ(out, "yz");
  EXPECT_EQ(DbmTGetRecord(db.get(), "b", out), 0);
}

TEST_F(DbTest, GetRecordVKeepsSmallValuesInTheGivenBuffer) {
  HandlePtr db = Make("two.vdb", Encode(kDbTypePlain, kTwoRecords));
  char buf[4] = {};
  char* p = buf;
  EXPECT_EQ(DbmTGetRecordV(db.get(), "bb", &p, sizeof buf), 2);
  EXPECT_EQ(p, buf);
  EXPECT_EQ(DbmTGetRecordV(db.get(), "bb", &p, 1), 2);  // longer than 1: a new allocation
  ASSERT_NE(p, buf);
  EXPECT_STREQ(p, "yz");  // terminated
  PutMem(p);
}

TEST_F(DbTest, FileWithoutMagicIsReadAsPlainFromOffsetZero) {
  HandlePtr db = Make("plain.vdb", Encode(kDbTypePlain, kTwoRecords));
  DbTUpDate(db.get());
  EXPECT_EQ(db->DbType, kDbTypePlain);
  EXPECT_EQ(db->flSwap, 0);
  TRecord record{};
  ASSERT_NE(WalkDbTRecords(db.get(), &record, 0), nullptr);
  EXPECT_EQ(record.KeyLen, 2);
  EXPECT_STREQ(record.pKey, "a");
}

TEST_F(DbTest, EmptyFileIsAFreshEmptyDatabase) {
  HandlePtr db = Make("empty.vdb", "");
  EXPECT_EQ(Lookup(db.get(), "a"), "<none>");
  ASSERT_NE(db->pDbImage, nullptr);
  EXPECT_EQ(db->DbType, kDbTypeNew);
  EXPECT_EQ(db->DbSize, 16);
  EXPECT_STREQ(db->pDbImage, "TVDBAA0");
  EXPECT_EQ(db->flSwap, 1);  // little-endian host, headered layout
}

TEST_F(DbTest, MissingFileKeepsNoImageUntilItExists) {
  std::string path = dir.File("late.vdb");
  HandlePtr db(DbTOpen(path.c_str(), 0));
  EXPECT_EQ(Lookup(db.get(), "a"), "<none>");
  EXPECT_EQ(db->pDbImage, nullptr);
  dir.Write("late.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  EXPECT_EQ(Lookup(db.get(), "a"), "x");
}

TEST_F(DbTest, NewModificationTimeReloads) {
  HandlePtr db = Make("r.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  SetMtime(dir.File("r.vdb"), 1000000);
  EXPECT_EQ(Lookup(db.get(), "a"), "x");
  db->flChanged = 0;
  EXPECT_EQ(Lookup(db.get(), "a"), "x");
  EXPECT_EQ(db->flChanged, 0);  // same time: the image is kept

  dir.Write("r.vdb", Encode(kDbTypePlain, {{"a", "new"}}));
  SetMtime(dir.File("r.vdb"), 1000001);
  EXPECT_EQ(Lookup(db.get(), "a"), "new");
  EXPECT_EQ(db->flChanged, 1);
  EXPECT_EQ(db->DbType, kDbTypePlain);
}

TEST_F(DbTest, NoCheckFlagKeepsTheFirstImage) {
  HandlePtr db = Make("n.vdb", Encode(kDbTypeHeadered, kTwoRecords), kDbNoCheck);
  SetMtime(dir.File("n.vdb"), 1000000);
  EXPECT_EQ(Lookup(db.get(), "a"), "x");  // the first lookup still loads it
  dir.Write("n.vdb", Encode(kDbTypeHeadered, {{"a", "new"}}));
  SetMtime(dir.File("n.vdb"), 1000001);
  EXPECT_EQ(Lookup(db.get(), "a"), "x");
}

TEST_F(DbTest, UnreadableFileIsTriedTenTimesThenEmpty) {
  // A directory has a size but cannot be read as a file.
  ASSERT_EQ(mkdir(dir.File("dir.vdb").c_str(), 0755), 0);
  HandlePtr db(DbTOpen(dir.File("dir.vdb").c_str(), 0));
  HostRecorder host;
  DbTUpDate(db.get());
  EXPECT_EQ(host.sleeps, std::vector<unsigned>(9, 1u));
  EXPECT_EQ(db->DbType, kDbTypeNew);
  EXPECT_EQ(db->DbSize, 16);
}

TEST_F(DbTest, BareNameIsLookedUpInTheToolDirectory) {
  dir.Write("db/strings.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  std::string toolPath = dir.path();
  char* saved = pToolPath;
  pToolPath = toolPath.data();
  HandlePtr db(DbTOpen("strings", 0));
  EXPECT_EQ(Lookup(db.get(), "bb"), "yz");
  pToolPath = saved;
}

TEST(DbFilePath, NamesAndExtensions) {
  char path[64];
  ASSERT_TRUE(DbTFilePath("/srv/strings", path, sizeof path));
  EXPECT_STREQ(path, "/srv/strings.vdb");
  ASSERT_TRUE(DbTFilePath("/srv/strings.db", path, sizeof path));
  EXPECT_STREQ(path, "/srv/strings.db");
  ASSERT_TRUE(DbTFilePath("/srv/v1.2/strings", path, sizeof path));
  EXPECT_STREQ(path, "/srv/v1.2/strings.vdb");
  char small[8];
  EXPECT_FALSE(DbTFilePath("/srv/strings", small, sizeof small));
  EXPECT_FALSE(DbTFilePath("", path, sizeof path));
}

// ---------------------------------------------------------------------------
// Corrupt files: the image is cut before the bad record.

TEST_F(DbTest, CorruptRecordCutsTheImage) {
  for (int type : {kDbTypePlain, kDbTypeHeadered}) {
    SCOPED_TRACE(type);
    const std::string good = Encode(type, {{"a", "x"}, {"bb", "yz"}});
    const int start = type == kDbTypePlain ? 0 : 16;
    const int second = start + 7;  // the first record is 7 bytes long
    struct Case {
      const char* what;
      std::string content;
    } cases[] = {
        // A length that runs past the end of the file.
        {"RecLen too long", good.substr(0, second) + Bytes({0x7F, 0x7F}) + good.substr(second + 2)},
        // The file ends inside the second record, or inside its length.
        {"file cut short", good.substr(0, good.size() - 1)},
        {"one byte left", good.substr(0, second + 1)},
        // RecLen 0 cannot even hold the key length.
        {"RecLen 0", good.substr(0, second) + Bytes({0x00, 0x00}) + good.substr(second + 2)},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      HandlePtr db = Make("bad.vdb", c.content);
      EXPECT_EQ(Lookup(db.get(), "a"), "x");
      EXPECT_EQ(Lookup(db.get(), "bb"), "<none>");
      EXPECT_EQ(db->DbSize, second);
    }
  }
}

TEST_F(DbTest, KeyLongerThanItsRecordCutsTheImage) {
  // Plain: the decoded KeyLen says 200 in a 5-byte record.
  std::string plain = Encode(kDbTypePlain, {{"a", "x"}});
  std::string block = Bytes({200, 0x00, 'b', 0x00, 'y'});
  std::string scrambled(block.size(), '\0');
  DbXorEncode(block.data(), scrambled.data(), 5);
  plain += Bytes({0x05, 0x00}) + scrambled;
  // Headered: KeyLen 4 in a record of RecLen 5 (room for a key of 3 only).
  std::string headered = Encode(kDbTypeHeadered, {{"a", "x"}}) + Bytes({0x00, 0x05, 0x00, 0x04, 'b', 0, 'y'});
  for (const std::string& content : {plain, headered}) {
    HandlePtr db = Make("key.vdb", content);
    EXPECT_EQ(Lookup(db.get(), "b"), "<none>");
    EXPECT_EQ(Lookup(db.get(), "a"), "x");
    EXPECT_EQ(db->DbSize, static_cast<int>(content.size()) - 7);
  }
}

TEST_F(DbTest, ShortHeaderedFilesHoldNoRecords) {
  for (const char* content : {"TVDBA", "TVDBAA12", "T"}) {
    HandlePtr db = Make("short.vdb", content);
    EXPECT_EQ(Lookup(db.get(), "a"), "<none>");
  }
}

// ---------------------------------------------------------------------------
// Keys and NULL arguments.

TEST_F(DbTest, KeysOf4096CharactersAreRefused) {
  HandlePtr db = Make("k.vdb", Encode(kDbTypeHeadered, {{std::string(4095, 'k'), "v"}}));
  DbTUpDate(db.get());
  TRecord record{};
  EXPECT_EQ(FindTRecord(db.get(), std::string(4095, 'k').c_str(), &record), 1);
  EXPECT_EQ(FindTRecord(db.get(), std::string(4096, 'k').c_str(), &record), 0);
  EXPECT_EQ(FindTRecord(db.get(), std::string(70000, 'k').c_str(), &record), 0);
  EXPECT_EQ(FindTRecord(db.get(), "", &record), 0);
}

TEST_F(DbTest, NullArgumentsFindNothing) {
  HandlePtr db = Make("two.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  char out[8];
  char* p = out;
  TRecord record{};
  EXPECT_EQ(DbmTGetRecord(nullptr, "a", out), 0);
  EXPECT_EQ(DbmTGetRecord(db.get(), nullptr, out), 0);
  EXPECT_EQ(DbmTGetRecord(db.get(), "a", nullptr), 0);
  EXPECT_EQ(DbmTGetRecordV(nullptr, "a", &p, 8), 0);
  EXPECT_EQ(DbmTGetRecordV(db.get(), "a", nullptr, 8), 0);
  EXPECT_EQ(FindTRecord(nullptr, "a", &record), 0);
  EXPECT_EQ(WalkDbTRecords(nullptr, &record, 0), nullptr);
  EXPECT_EQ(WalkDbTRecords(db.get(), &record, 0), nullptr);  // nothing loaded yet
  EXPECT_EQ(DbmTGetData(nullptr, out, 1), 0);
  DbTUpDate(nullptr);
  DbTSetDbType(nullptr, 1);
  UpdateHeader(nullptr);
  DbTClose(nullptr);
  EXPECT_EQ(DbTOpen(nullptr, 0), nullptr);
  EXPECT_EQ(DbTOpen("", 0), nullptr);
}

TEST_F(DbTest, GetDataStaysInsideTheImage) {
  HandlePtr db = Make("two.vdb", Encode(kDbTypeHeadered, kTwoRecords));
  DbTUpDate(db.get());
  char out[64];
  db->ReadPos = db->DbSize - 2;
  EXPECT_EQ(DbmTGetData(db.get(), out, 3), 0);
  EXPECT_EQ(db->ReadPos, db->DbSize - 2);
  EXPECT_EQ(DbmTGetData(db.get(), out, 2), 2);
  EXPECT_EQ(db->ReadPos, db->DbSize);
}

TEST(DbHeader, UpdateHeaderWritesCountAndFiller) {
  DbTHandle handle{};
  char image[16];
  std::memset(image, 'Z', sizeof image);
  handle.pDbImage = image;
  handle.RecordCnt = 1234567890;  // cut to 9 digits
  UpdateHeader(&handle);
  EXPECT_EQ(std::string(image, 15), std::string("TVDBAA123456789", 15));
  handle.RecordCnt = 42;
  UpdateHeader(&handle);
  EXPECT_STREQ(image, "TVDBAA42");
}

// ---------------------------------------------------------------------------
// Text source and files.

TEST(DbSource, ParsesRecords) {
  std::vector<DbRecordIn> records;
  std::string err;
  ASSERT_TRUE(DbParseSource("# comment\n"
                            "\n"
                            "  \t \n"
                            "k1\tplain value\n"
                            "k2 two words\n"
                            "k3\t leading blank\n"
                            "k4\tline\\nfeed\\ttab\\\\back\\x7F\n"
                            "k5\t\n"
                            "k6\t#not a comment",
                            &records, &err))
      << err;
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"k1", "plain value"}, {"k2", "two words"}, {"k3", " leading blank"},
      {"k4", "line\nfeed\ttab\\back\x7F"}, {"k5", ""}, {"k6", "#not a comment"}};
  ASSERT_EQ(records.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(records[i].key, expected[i].first);
    EXPECT_EQ(records[i].value, expected[i].second + std::string(1, '\0'));
  }
}

TEST(DbSource, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* error;
  } cases[] = {
      {"a\tx\nlonely\n", "line 2: key \"lonely\" has no value"},
      {"\n a\tx\n", "line 2: the line starts with a blank"},
      {"a\tbad \\q escape\n", "line 1: unknown escape \\q"},
      {"a\tends in \\", "line 1: backslash at the end of the line"},
      {"a\t\\xZ1\n", "line 1: \\x needs two hexadecimal digits"},
      {"a\t\\x00\n", "line 1: \\x needs two hexadecimal digits"},
      {"a\tdos\r\n", "line 1: carriage return"},
      {"a\t1\n#\nb\t2\na\t3\n", "line 4: key \"a\" already given on line 1"},
  };
  for (const Case& c : cases) {
    std::vector<DbRecordIn> records;
    std::string err;
    EXPECT_FALSE(DbParseSource(c.text, &records, &err)) << c.text;
    EXPECT_EQ(err.rfind(c.error, 0), 0u) << err;
  }
  std::vector<DbRecordIn> records;
  std::string err;
  EXPECT_FALSE(DbParseSource(std::string(4096, 'k') + "\tv\n", &records, &err));
  EXPECT_EQ(err, "line 1: key has 4096 characters; keys must be shorter than 4096");
}

TEST(DbSource, EscapedValuesParseBack) {
  std::string value = std::string("a\\b\nc\td\x01\x7F \xE9", 11) + '\0';
  std::string escaped = DbEscapeValue(value);
  EXPECT_EQ(escaped, "a\\\\b\\nc\\td\\x01\\x7F \xE9");
  std::vector<DbRecordIn> records;
  std::string err;
  ASSERT_TRUE(DbParseSource("k\t" + escaped + "\n", &records, &err)) << err;
  EXPECT_EQ(records[0].value, value);
}

TEST(DbSource, Utf8SourcesBecomeIso88591AndBack) {
  std::string latin1, err;
  ASSERT_TRUE(DbLatin1FromUtf8("caf\xC3\xA9 \xC3\x9F \xC2\xAB\xC2\xBB \xC3\xBF ascii", &latin1, &err)) << err;
  EXPECT_EQ(latin1, "caf\xE9 \xDF \xAB\xBB \xFF ascii");
  EXPECT_EQ(DbUtf8FromLatin1(latin1), "caf\xC3\xA9 \xC3\x9F \xC2\xAB\xC2\xBB \xC3\xBF ascii");
  // Every byte survives the way through the text form.
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  ASSERT_TRUE(DbLatin1FromUtf8(DbUtf8FromLatin1(all), &latin1, &err)) << err;
  EXPECT_EQ(latin1, all);

  struct Case {
    const char* text;
    const char* error;
  } refused[] = {
      {"a\n\xC5\x93uvre", "line 2: \"\xC5\x93\" (U+0153) is not in ISO 8859-1"},
      {"\xE2\x82\xAC", "line 1: \"\xE2\x82\xAC\" (U+20AC) is not in ISO 8859-1"},
      {"a\n\nLatin-1 \xE9", "line 3: bytes that are not UTF-8"},
      {"\xC3", "line 1: bytes that are not UTF-8"},
      {"\xC0\xA9", "line 1: bytes that are not UTF-8"},      // overlong
      {"\xE0\x80\xA9", "line 1: bytes that are not UTF-8"},  // overlong
  };
  for (const Case& c : refused) {
    EXPECT_FALSE(DbLatin1FromUtf8(c.text, &latin1, &err)) << c.text;
    EXPECT_EQ(err.rfind(c.error, 0), 0u) << err;
  }
}

TEST_F(DbTest, WriteFileReplacesTheFileWhole) {
  std::string path = dir.File("out.vdb");
  std::string err;
  ASSERT_TRUE(DbWriteFile(path.c_str(), kDbTypeHeadered, kTwoRecords, &err)) << err;
  EXPECT_EQ(ReadWholeFile(path), Encode(kDbTypeHeadered, kTwoRecords));
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  // A failed encoding leaves the old file as it was, and no stray file.
  EXPECT_FALSE(DbWriteFile(path.c_str(), kDbTypeHeadered, {{"", "v"}}, &err));
  EXPECT_EQ(ReadWholeFile(path), Encode(kDbTypeHeadered, kTwoRecords));
  EXPECT_FALSE(DbWriteFile(dir.File("no/such/dir/x.vdb").c_str(), kDbTypePlain, kTwoRecords, &err));
  EXPECT_NE(err.find("no/such/dir/x.vdb"), std::string::npos) << err;
  size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST_F(DbTest, DamagedFilesNeverReadOutsideTheImage) {
  // Every single-byte change and every cut of a small database: lookups may
  // find less, but stay inside the image (checked by the sanitizer build).
  const std::vector<DbRecordIn> records = {{"a", "x"}, {"bb", "yz"}, {"ccc", std::string(40, 'v')}};
  for (int type : {kDbTypePlain, kDbTypeHeadered}) {
    const std::string good = Encode(type, records);
    std::vector<std::string> variants;
    for (size_t i = 0; i < good.size(); ++i) {
      for (int delta : {1, 0x80, 0xFF}) {
        std::string bad = good;
        bad[i] = static_cast<char>(bad[i] + delta);
        variants.push_back(bad);
      }
      variants.push_back(good.substr(0, i));
    }
    for (const std::string& content : variants) {
      HandlePtr db = Make("damaged.vdb", content, kDbNoCheck);
      for (const char* key : {"a", "bb", "ccc", "zz"}) {
        std::string value = Lookup(db.get(), key);
        if (value != "<none>") {
          EXPECT_LE(value.size(), content.size());
        }
      }
      // An empty file becomes a 16-byte fresh image; others are never longer than the file.
      EXPECT_LE(db->DbSize, std::max<int>(16, static_cast<int>(content.size())));
    }
  }
}
