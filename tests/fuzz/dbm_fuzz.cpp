// The record database reader on a hostile file, in whichever layout its
// first bytes claim (headered "TVDBAA..." or plain): load, walk every
// record, and look up the keys the walk found and a few that no file has.
#include <cstring>
#include <string>
#include <vector>

#include "Dbm.h"
#include "MemMgr.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const std::string path = FuzzFile("fuzz.vdb", std::string(reinterpret_cast<const char*>(data), size));
  DbTHandle* db = DbTOpen(path.c_str(), 0);
  DbTUpDate(db);
  FuzzCheck(db->pDbImage != nullptr, "nothing loaded");
  FuzzCheck(db->DbType == kDbTypeNew || db->DbType == kDbTypePlain || db->DbType == kDbTypeHeadered, "bad type");

  std::vector<std::string> keys = {"25_1001", "x", std::string(kDbKeyBufSize, 'k')};
  TRecord record{};
  int walked = 0;
  for (TRecord* r = WalkDbTRecords(db, &record, 0); r != nullptr; r = WalkDbTRecords(db, &record, 1)) {
    FuzzCheck(r->RecLen >= 2 && r->KeyLen <= r->RecLen - 2, "a record out of shape");
    FuzzCheck(++walked <= db->DbSize / 4 + 1, "more records than the image holds");
    if (keys.size() > 16 || r->KeyLen == 0) continue;
    char key[kDbKeyBufSize] = "";
    if (db->DbType == kDbTypePlain) {
      std::memcpy(key, r->pKey, std::min<size_t>(r->KeyLen, sizeof key - 1));
    } else if (DbmTGetData(db, key, std::min<int>(r->KeyLen, sizeof key - 1)) == 0) {
      continue;
    }
    keys.emplace_back(key, strnlen(key, sizeof key - 1));
  }

  // Looked up with kDbNoCheck: the image that was walked is the one read.
  db->OpenFlags = kDbNoCheck;
  for (const std::string& key : keys) {
    TRecord found{};
    if (FindTRecord(db, key.c_str(), &found) != 0) FuzzCheck(found.KeyLen == key.size() + 1, "found another key");
    std::vector<char> value(kDbMaxRecLen + 1);
    const int len = DbmTGetRecord(db, key.c_str(), value.data());
    FuzzCheck(len >= 0 && len <= kDbMaxRecLen, "a value longer than a record");
    char small[8] = "";
    char* buffer = small;
    const int lenV = DbmTGetRecordV(db, key.c_str(), &buffer, sizeof small);
    FuzzCheck(lenV == len, "the two readers disagree");
    if (buffer != small) PutMem(buffer);
  }
  DbTClose(db);
  return 0;
}
