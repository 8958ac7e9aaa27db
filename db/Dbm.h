// The record database: a file of keyed records (a text key, a value of
// bytes), held in memory as one image and reloaded when the file changes.
// The menu engine's string database is such a file. Reading is Dbm.cpp;
// encoding and writing databases (for the database tool) is DbmWrite.cpp.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Layouts.
//
// Headered (DbType 2, also the fresh image DbType 0): "TVDBAA", the record
// count in decimal digits, a NUL, filler up to 16 bytes; then records of
//   RecLen (2, big-endian) KeyLen (2, big-endian) key+NUL (scrambled) value (scrambled)
// Plain (DbType 1): records from offset 0 of
//   RecLen (2, host order) block (RecLen bytes, scrambled) =
//     KeyLen (2, host order) key+NUL value
// RecLen counts everything after itself: 2 + KeyLen + value length.
// A block is scrambled by an XOR chain: s[i] = b[i] ^ b[i+1], s[n-1] = b[n-1].

constexpr char kDbMagic[] = "TVDBAA";
constexpr int kDbHeaderSize = 16;
constexpr int kDbCountDigits = 9;     // at most 9 digits of record count
constexpr int kDbKeyBufSize = 4096;   // a key with its NUL must fit: keys of 4096+ chars are refused
constexpr int kDbWorkBufSize = 65535; // shared work buffer of the plain layout
constexpr int kDbMaxRecLen = 65535;   // RecLen is 16 bits

constexpr unsigned kDbNoCheck = 2;  // OpenFlags: keep the first image, never look at the file again

enum : int { kDbTypeNew = 0, kDbTypePlain = 1, kDbTypeHeadered = 2 };

// A database in use. Create with DbTOpen, release with DbTClose.
struct DbTHandle {
  char* pDbName;          // owned copy of the name: absolute path, or bare name under <tool dir>/db
  unsigned char flSwap;   // 16-bit length fields are byte-reversed when read
  unsigned OpenFlags;     // kDbNoCheck; other bits are for writers
  char* pDbImage;         // the file's content, or a fresh header; NULL when nothing is loaded
  int DbSize;             // valid bytes in the image
  timespec FileTime;      // modification time of the file the image came from
  int ReadPos;            // where the next scrambled block is decoded
  int NextPos;            // offset of the next record of the walk
  int RecordCnt;          // record count from the header
  unsigned char flChanged;  // set when the image has been (re)loaded
  int DbType;             // kDbTypeNew, kDbTypePlain or kDbTypeHeadered
};

// One record of a walk. For the plain layout pKey points at the decoded key,
// followed directly by the decoded value, in the shared work buffer (valid
// until the next walk step); for the headered layout it is NULL and the
// handle's ReadPos stands at the scrambled key.
struct TRecord {
  uint16_t RecLen;  // length after the record's own length field
  uint16_t KeyLen;  // key length including its NUL
  char* pKey;
};

// ---------------------------------------------------------------------------
// Handles.

// A fresh handle for the database name (nothing is loaded until the first
// lookup or DbTUpDate). NULL for a NULL or empty name.
DbTHandle* DbTOpen(const char* name, unsigned flags);

// Releases the handle and its image. NULL is ignored.
void DbTClose(DbTHandle* handle);

// The file a handle name stands for: a name beginning with '/' is the path
// (".vdb" appended when its last component holds no '.'), any other name is
// "<pToolPath>/db/<name>.vdb". False when the result does not fit size bytes.
bool DbTFilePath(const char* name, char* path, size_t size);

// ---------------------------------------------------------------------------
// Reading. Every function accepts a NULL handle and then finds nothing.

// Loads the file the first time, or again when its modification time
// changed. A missing file leaves the image as it is. A file that exists but
// cannot be read is tried 10 times, one second apart (through the HostOps
// sleep); an empty or unreadable file gives an empty database with a fresh
// header (DbType 0).
void DbTUpDate(DbTHandle* handle);

// Sets DbType, and flSwap: on for every type but the plain layout when the
// host is little-endian.
void DbTSetDbType(DbTHandle* handle, int type);

// Writes "TVDBAA<RecordCnt>" and its NUL at the start of the image, random
// filler after it up to 16 bytes. The image must hold 16 bytes.
void UpdateHeader(DbTHandle* handle);

// First record (flag 0) or the next one; NULL at the end. A record that does
// not fit in the image, or whose key does not fit in the record, is corrupt:
// the image is cut before it (DbSize) and the walk ends.
TRecord* WalkDbTRecords(DbTHandle* handle, TRecord* record, int flag);

// Decodes the n-byte scrambled block at ReadPos into destination and moves
// ReadPos past it. Returns n, or 0 (nothing written, ReadPos unchanged) when
// the block does not lie inside the image.
int DbmTGetData(DbTHandle* handle, void* destination, int n);

// 1 when a record with this key exists (record then describes it; for the
// headered layout ReadPos stands at the scrambled value), else 0. Empty keys
// and keys of 4096 or more characters are never found.
int FindTRecord(DbTHandle* handle, const char* key, TRecord* record);

// Copies the value of record key into destination, which must hold the
// whole value, and returns its length; 0 when there is none. Checks the file
// first (DbTUpDate) unless the handle has kDbNoCheck and an image.
int DbmTGetRecord(DbTHandle* handle, const char* key, void* destination);

// The same into *buffer of size bytes; a longer value is read into a new
// zero-filled allocation (value length + 1 bytes, so a text stays
// terminated) that replaces *buffer and that the caller gives back with
// PutMem.
int DbmTGetRecordV(DbTHandle* handle, const char* key, char** buffer, int size);

// ---------------------------------------------------------------------------
// Scrambling, shared by the reader and the writer. in and out may be equal.

void DbXorEncode(const void* in, void* out, int n);
void DbXorDecode(const void* in, void* out, int n);

// ---------------------------------------------------------------------------
// Writing (DbmWrite.cpp).

struct DbRecordIn {
  std::string key;    // without NUL
  std::string value;  // the value bytes as stored
};

// Encodes the records in the layout (kDbTypePlain or kDbTypeHeadered) into
// image. The headered header carries the record count and NUL filler, so
// the same records always give the same bytes. False with *err set when a
// key is empty, holds a NUL, has 4096 or more characters or repeats, when a
// record exceeds 65535 bytes, or when a plain image would read as headered.
bool DbEncodeImage(int type, const std::vector<DbRecordIn>& records, std::string* image,
                   std::string* err);

// Encodes and writes the database to path (through a temporary file in the
// same directory, renamed into place, mode 644). False with *err set.
bool DbWriteFile(const char* path, int type, const std::vector<DbRecordIn>& records,
                 std::string* err);

// Reads the text source of a string database: one record a line, the key up
// to the first tab or blank, the value everything after that one character,
// with the escapes \n, \t, \\ and \xHH. Lines whose first character is '#'
// and lines of blanks and tabs only are skipped. Each value is stored as a
// text with its terminating NUL. False with *err starting "line N: ".
bool DbParseSource(const std::string& text, std::vector<DbRecordIn>* records, std::string* err);

// The source form of a stored value: one trailing NUL dropped, backslash,
// line feed and tab written as escapes, other control bytes as \xHH.
std::string DbEscapeValue(const std::string& value);

// Text sources are written in UTF-8; the string databases hold ISO 8859-1,
// the terminal's bytes. Turns every character of utf8 into its ISO 8859-1
// byte. False with *err starting "line N: " for a character that ISO 8859-1
// lacks (such as the euro sign or curly quotes) or bytes that are not UTF-8.
bool DbLatin1FromUtf8(const std::string& utf8, std::string* latin1, std::string* err);

// The reverse, for showing stored texts: every byte from 0x80 on becomes
// the UTF-8 form of its ISO 8859-1 character.
std::string DbUtf8FromLatin1(const std::string& latin1);
