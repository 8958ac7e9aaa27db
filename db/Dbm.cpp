// Reading record databases: loading and reloading the image, the walk over
// its records and the lookups by key.
#include "Dbm.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "MemMgr.h"
#include "HostOps.h"
#include "utils.h"

namespace {

constexpr int kReadAttempts = 10;

// Decoded plain records land here; allocated on the first walk of a plain
// database and kept for the run.
char* pWorkBuf = nullptr;

bool HostIsBigEndian() {
  static const unsigned char probe[4] = {1, 2, 3, 4};
  uint32_t value;
  std::memcpy(&value, probe, sizeof value);
  return value == 0x01020304u;
}

uint16_t ReadLength(const DbTHandle* handle, int pos) {
  uint16_t value;
  std::memcpy(&value, handle->pDbImage + pos, 2);
  if (handle->flSwap) value = static_cast<uint16_t>((value >> 8) | (value << 8));
  return value;
}

bool SameTime(const timespec& a, const timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Record count of a headered image: the digits at offset 6, within the header.
int HeaderCount(const DbTHandle* handle) {
  int count = 0;
  int end = handle->DbSize < kDbHeaderSize ? handle->DbSize : kDbHeaderSize;
  for (int i = 6; i < end && i < 6 + kDbCountDigits; ++i) {
    char c = handle->pDbImage[i];
    if (c < '0' || c > '9') break;
    count = count * 10 + (c - '0');
  }
  return count;
}

void DropImage(DbTHandle* handle) {
  PutMem(handle->pDbImage);
  handle->pDbImage = nullptr;
}

// An empty database: a 16-byte image holding only a header with count 0.
void MakeFreshImage(DbTHandle* handle) {
  DropImage(handle);
  handle->DbSize = 0;
  handle->FileTime = timespec{};
  handle->ReadPos = 0;
  handle->NextPos = 0;
  handle->RecordCnt = 0;
  handle->pDbImage = static_cast<char*>(GetMem(kDbHeaderSize));
  if (handle->pDbImage == nullptr) return;  // no memory: nothing loaded
  UpdateHeader(handle);
  handle->DbSize = kDbHeaderSize;
  handle->flChanged = 1;
  DbTSetDbType(handle, kDbTypeNew);
}

// Ends the walk at the corrupt record at pos: nothing from there on is read.
TRecord* CutImage(DbTHandle* handle, int pos) {
  handle->DbSize = pos;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// Handles.

bool DbTFilePath(const char* name, char* path, size_t size) {
  if (name == nullptr || *name == '\0') return false;
  if (name[0] == '/') {
    // Only the file's own name counts: a '.' in a directory is no extension.
    const char* base = std::strrchr(name, '/') + 1;
    return std::strchr(base, '.') != nullptr ? CopyText(path, size, name)
                                             : FormatText(path, size, "%s.vdb", name);
  }
  return FormatText(path, size, "%s/db/%s.%s", pToolPath ? pToolPath : ".", name, "vdb");
}

DbTHandle* DbTOpen(const char* name, unsigned flags) {
  if (name == nullptr || *name == '\0') return nullptr;
  auto* handle = static_cast<DbTHandle*>(GetMem(sizeof(DbTHandle)));
  if (handle == nullptr) return nullptr;
  handle->pDbName = SaveText(name);
  handle->OpenFlags = flags;
  return handle;
}

void DbTClose(DbTHandle* handle) {
  if (handle == nullptr) return;
  PutMem(handle->pDbImage);
  PutMem(handle->pDbName);
  PutMem(handle);
}

// ---------------------------------------------------------------------------
// Loading.

void DbTSetDbType(DbTHandle* handle, int type) {
  if (handle == nullptr) return;
  handle->DbType = type;
  handle->flSwap = type != kDbTypePlain && !HostIsBigEndian();
}

void UpdateHeader(DbTHandle* handle) {
  if (handle == nullptr || handle->pDbImage == nullptr) return;
  char count[16];
  std::snprintf(count, sizeof count, "%i", handle->RecordCnt);
  count[kDbCountDigits] = '\0';
  char* image = handle->pDbImage;
  int len = std::snprintf(image, kDbHeaderSize, "%s%s", kDbMagic, count);
  for (int i = len + 1; i < kDbHeaderSize; ++i) image[i] = static_cast<char>(std::rand() % 256);
}

void DbTUpDate(DbTHandle* handle) {
  if (handle == nullptr || handle->pDbName == nullptr) return;
  char path[kInputFileNameSize];
  if (!DbTFilePath(handle->pDbName, path, sizeof path)) return;
  struct stat st;
  if (stat(path, &st) != 0) return;
  if (handle->pDbImage != nullptr && SameTime(handle->FileTime, st.st_mtim)) return;

  DropImage(handle);
  handle->flChanged = 1;
  char* image = nullptr;
  for (int attempt = 1; attempt <= kReadAttempts; ++attempt) {
    image = GetSavedFileContent(path, nullptr);
    if (image != nullptr || SavedFileSize == 0) break;
    if (attempt < kReadAttempts) GetHostOps().pfnSleep(1);
  }
  if (image == nullptr) {
    MakeFreshImage(handle);
    return;
  }
  // GetSavedFileContent allocated SavedFileSize + 1 zeroed bytes, so the
  // image is exactly that long whatever the read delivered.
  handle->pDbImage = image;
  handle->DbSize = SavedFileSize;
  handle->FileTime = st.st_mtim;
  handle->ReadPos = 0;
  handle->NextPos = 0;
  if (handle->DbSize >= 5 && std::memcmp(image, kDbMagic, 5) == 0) {
    handle->RecordCnt = HeaderCount(handle);
    DbTSetDbType(handle, kDbTypeHeadered);
  } else {
    handle->RecordCnt = 0;
    DbTSetDbType(handle, kDbTypePlain);
  }
}

// ---------------------------------------------------------------------------
// Walking and lookups.

TRecord* WalkDbTRecords(DbTHandle* handle, TRecord* record, int flag) {
  if (handle == nullptr || handle->pDbImage == nullptr || record == nullptr) return nullptr;
  const bool plain = handle->DbType == kDbTypePlain;
  if (flag == 0) {
    handle->NextPos = plain ? 0 : kDbHeaderSize;
    if (plain && pWorkBuf == nullptr) {
      pWorkBuf = static_cast<char*>(GetMem(kDbWorkBufSize));
      if (pWorkBuf == nullptr) return nullptr;
    }
  }
  const int pos = handle->NextPos;
  if (pos < 0 || pos >= handle->DbSize) return nullptr;
  if (handle->DbSize - pos < 2) return CutImage(handle, pos);
  handle->ReadPos = pos;
  record->RecLen = ReadLength(handle, pos);
  // Every record holds at least its key length field.
  if (record->RecLen < 2 || record->RecLen > handle->DbSize - pos - 2) return CutImage(handle, pos);
  handle->ReadPos += 2;

  if (plain) {
    if (DbmTGetData(handle, pWorkBuf, record->RecLen) == 0) return CutImage(handle, pos);
    std::memcpy(&record->KeyLen, pWorkBuf, 2);
    record->pKey = pWorkBuf + 2;
  } else {
    record->KeyLen = ReadLength(handle, handle->ReadPos);
    record->pKey = nullptr;
    handle->ReadPos += 2;
  }
  if (record->KeyLen > record->RecLen - 2) return CutImage(handle, pos);
  handle->NextPos = pos + 2 + record->RecLen;
  return record;
}

int DbmTGetData(DbTHandle* handle, void* destination, int n) {
  if (handle == nullptr || handle->pDbImage == nullptr || destination == nullptr) return 0;
  if (n <= 0 || handle->ReadPos < 0 || n > handle->DbSize - handle->ReadPos) return 0;
  DbXorDecode(handle->pDbImage + handle->ReadPos, destination, n);
  handle->ReadPos += n;
  return n;
}

int FindTRecord(DbTHandle* handle, const char* key, TRecord* record) {
  if (handle == nullptr || handle->pDbImage == nullptr || key == nullptr || *key == '\0' ||
      record == nullptr)
    return 0;
  const size_t k = std::strlen(key) + 1;
  if (k > static_cast<size_t>(kDbKeyBufSize)) return 0;
  char keyBuf[kDbKeyBufSize];
  for (TRecord* r = WalkDbTRecords(handle, record, 0); r != nullptr;
       r = WalkDbTRecords(handle, record, 1)) {
    if (r->KeyLen != k) continue;
    if (handle->DbType == kDbTypePlain) {
      if (std::memcmp(r->pKey, key, k) == 0) return 1;
    } else if (DbmTGetData(handle, keyBuf, static_cast<int>(k)) != 0 &&
               std::memcmp(keyBuf, key, k) == 0) {
      return 1;
    }
  }
  return 0;
}

namespace {

// Looks key up and returns the length of its value (0 when none), leaving
// the record ready to be copied by CopyValue.
int LocateValue(DbTHandle* handle, const char* key, TRecord* record) {
  if (handle == nullptr || key == nullptr) return 0;
  if ((handle->OpenFlags & kDbNoCheck) == 0 || handle->pDbImage == nullptr) DbTUpDate(handle);
  if (!FindTRecord(handle, key, record)) return 0;
  return record->RecLen - record->KeyLen - 2;
}

void CopyValue(DbTHandle* handle, const TRecord& record, void* destination, int len) {
  if (len <= 0) return;
  if (handle->DbType == kDbTypePlain)
    std::memcpy(destination, record.pKey + record.KeyLen, static_cast<size_t>(len));
  else
    DbmTGetData(handle, destination, len);
}

}  // namespace

int DbmTGetRecord(DbTHandle* handle, const char* key, void* destination) {
  if (destination == nullptr) return 0;
  TRecord record{};
  int len = LocateValue(handle, key, &record);
  CopyValue(handle, record, destination, len);
  return len;
}

int DbmTGetRecordV(DbTHandle* handle, const char* key, char** buffer, int size) {
  if (buffer == nullptr) return 0;
  TRecord record{};
  int len = LocateValue(handle, key, &record);
  if (len <= 0) return 0;
  if (len > size || *buffer == nullptr) {
    char* bigger = static_cast<char*>(GetMem(static_cast<size_t>(len) + 1));
    if (bigger == nullptr) return 0;
    *buffer = bigger;
  }
  CopyValue(handle, record, *buffer, len);
  return len;
}

// ---------------------------------------------------------------------------
// Scrambling.

void DbXorEncode(const void* in, void* out, int n) {
  const auto* b = static_cast<const unsigned char*>(in);
  auto* s = static_cast<unsigned char*>(out);
  for (int i = 0; i < n - 1; ++i) s[i] = static_cast<unsigned char>(b[i] ^ b[i + 1]);
  if (n > 0) s[n - 1] = b[n - 1];
}

void DbXorDecode(const void* in, void* out, int n) {
  const auto* s = static_cast<const unsigned char*>(in);
  auto* b = static_cast<unsigned char*>(out);
  if (n <= 0) return;
  b[n - 1] = s[n - 1];
  for (int i = n - 2; i >= 0; --i) b[i] = static_cast<unsigned char>(s[i] ^ b[i + 1]);
}
