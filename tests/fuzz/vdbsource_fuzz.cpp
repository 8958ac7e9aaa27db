// The text source of a string database (what vdbtool compiles): parsed,
// encoded in both layouts, read back, and every value's source form
// parsed again to the same bytes.
#include <string>
#include <vector>

#include "Dbm.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  std::vector<DbRecordIn> records;
  std::string err;
  if (!DbParseSource(std::string(reinterpret_cast<const char*>(data), size), &records, &err)) {
    FuzzCheck(err.rfind("line ", 0) == 0, "an error that names no line");
    return 0;
  }
  for (int type : {kDbTypePlain, kDbTypeHeadered}) {
    std::string image;
    if (!DbEncodeImage(type, records, &image, &err)) continue;
    const std::string path = FuzzFile("source.vdb", image);
    DbTHandle* db = DbTOpen(path.c_str(), kDbNoCheck);
    for (const DbRecordIn& r : records) {
      std::vector<char> value(r.value.size() + 1);
      const int len = DbmTGetRecord(db, r.key.c_str(), value.data());
      FuzzCheck(std::string(value.data(), static_cast<size_t>(len)) == r.value, "a value read back differs");
    }
    DbTClose(db);
  }
  std::string source;
  for (const DbRecordIn& r : records) source += r.key + " " + DbEscapeValue(r.value) + "\n";
  std::vector<DbRecordIn> again;
  FuzzCheck(DbParseSource(source, &again, &err), "the source form does not parse");
  FuzzCheck(again.size() == records.size(), "the source form has other records");
  for (size_t i = 0; i < again.size(); ++i)
    FuzzCheck(again[i].key == records[i].key && again[i].value == records[i].value, "the source form changed a record");
  return 0;
}
