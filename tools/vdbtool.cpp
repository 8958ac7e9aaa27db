// vdbtool: makes string databases from a text source and inspects them.
// For packagers and translators; it reads databases through the same
// reader the menu engine uses.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Dbm.h"
#include "MemMgr.h"
#include "utils.h"

namespace {

constexpr char kUsage[] =
    "Usage: vdbtool make [--headered|--plain] SOURCE OUT\n"
    "       vdbtool list DB\n"
    "       vdbtool get DB KEY\n"
    "       vdbtool --help\n";

constexpr char kHelp[] =
    "Makes and inspects record databases (.vdb), such as the menu engine's\n"
    "string database.\n"
    "\n"
    "  make SOURCE OUT   write the records of the text file SOURCE to the\n"
    "                    database OUT, in the headered layout (the default,\n"
    "                    --headered: \"TVDBAA\" header with the record count,\n"
    "                    big-endian lengths) or the plain layout (--plain: no\n"
    "                    header, lengths in this host's byte order). OUT is\n"
    "                    replaced as a whole; an error leaves it untouched.\n"
    "  list DB           print every record as KEY<tab>VALUE, one a line, in\n"
    "                    the source form, so the output can be made again\n"
    "  get DB KEY        print the value of KEY, followed by a line feed\n"
    "\n"
    "DB is the database file; \".vdb\" is appended when its file name (the part\n"
    "after the last '/') holds no '.', so db/v1.2/drvcore means\n"
    "db/v1.2/drvcore.vdb.\n"
    "\n"
    "Text source: one record a line. The key runs up to the first tab or\n"
    "blank; everything after that one character is the value, so a value may\n"
    "start with blanks. Escapes in values: \\n line feed, \\t tab, \\\\ backslash,\n"
    "\\xHH any other byte. Lines starting with '#' and blank lines are skipped.\n"
    "Keys are unique and shorter than 4096 characters. Each value is stored as\n"
    "a text with its terminating NUL.\n"
    "\n"
    "Character set: the source is UTF-8 and the database holds ISO 8859-1 (the\n"
    "bytes the terminal gets), so a source may use every character of ISO 8859-1\n"
    "(accented letters, the sharp s, guillemets) and no other; list and get show\n"
    "the stored texts in UTF-8 again.\n"
    "\n"
    "Exit status: 0 success, 1 failure (the message names the file and line),\n"
    "2 wrong usage.\n";

int Usage(const char* why) {
  std::fprintf(stderr, "vdbtool: %s\n%s", why, kUsage);
  return 2;
}

SETUP_PRINTF(1, 2) int Fail(const char* format, ...) {
  std::fputs("vdbtool: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
  return 1;
}

struct HandleCloser {
  void operator()(DbTHandle* handle) const { DbTClose(handle); }
};
using HandlePtr = std::unique_ptr<DbTHandle, HandleCloser>;

// The reader takes absolute names as paths; relative ones are made absolute
// against the current directory.
std::string AbsolutePath(const char* path) {
  if (path[0] == '/') return path;
  char cwd[4096];
  if (getcwd(cwd, sizeof cwd) == nullptr) return path;
  return std::string(cwd) + "/" + path;
}

// Opens and loads the database, or reports why it cannot be read.
HandlePtr LoadDatabase(const char* name, std::string* filePath) {
  std::string absolute = AbsolutePath(name);
  char path[kInputFileNameSize];
  if (!DbTFilePath(absolute.c_str(), path, sizeof path)) {
    Fail("%s: path too long (at most %d characters)", absolute.c_str(), kInputFileNameSize - 1);
    return nullptr;
  }
  *filePath = path;
  struct stat st;
  if (stat(path, &st) != 0) {
    Fail("cannot read %s: %s", path, std::strerror(errno));
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    Fail("%s is not a file", path);
    return nullptr;
  }
  HandlePtr handle(DbTOpen(absolute.c_str(), kDbNoCheck));
  if (handle) DbTUpDate(handle.get());
  if (!handle || handle->pDbImage == nullptr) {
    Fail("cannot load %s", path);
    return nullptr;
  }
  return handle;
}

int Make(int argc, char** argv) {
  int type = kDbTypeHeadered;
  int at = 0;
  if (at < argc && std::strcmp(argv[at], "--plain") == 0) {
    type = kDbTypePlain;
    ++at;
  } else if (at < argc && std::strcmp(argv[at], "--headered") == 0) {
    ++at;
  }
  if (at < argc && argv[at][0] == '-' && argv[at][1] != '\0')
    return Usage((std::string("unknown option ") + argv[at]).c_str());
  if (argc - at != 2) return Usage("make needs SOURCE and OUT");
  const char* source = argv[at];
  const char* out = argv[at + 1];

  std::ifstream in(source, std::ios::binary);
  if (!in) return Fail("cannot read %s: %s", source, std::strerror(errno));
  std::stringstream text;
  text << in.rdbuf();
  if (in.bad()) return Fail("cannot read %s", source);

  std::vector<DbRecordIn> records;
  std::string err, latin1;
  if (!DbLatin1FromUtf8(text.str(), &latin1, &err) || !DbParseSource(latin1, &records, &err))
    return Fail("%s: %s", source, err.c_str());
  if (!DbWriteFile(out, type, records, &err)) return Fail("%s", err.c_str());
  return 0;
}

// Key and value of the record the walk stands on.
void ReadRecord(DbTHandle* handle, const TRecord& record, std::string* key, std::string* value) {
  const int valueLen = record.RecLen - 2 - record.KeyLen;
  if (handle->DbType == kDbTypePlain) {
    key->assign(record.pKey, record.KeyLen);
    value->assign(record.pKey + record.KeyLen, static_cast<size_t>(valueLen));
    return;
  }
  key->assign(record.KeyLen, '\0');
  value->assign(static_cast<size_t>(valueLen), '\0');
  DbmTGetData(handle, key->data(), record.KeyLen);
  DbmTGetData(handle, value->data(), valueLen);
}

int List(int argc, char** argv) {
  if (argc != 1) return Usage("list needs DB");
  std::string path;
  HandlePtr handle = LoadDatabase(argv[0], &path);
  if (!handle) return 1;
  const int fileSize = handle->DbSize;
  int count = 0;
  TRecord record{};
  std::string key, value;
  for (TRecord* r = WalkDbTRecords(handle.get(), &record, 0); r != nullptr;
       r = WalkDbTRecords(handle.get(), &record, 1)) {
    ReadRecord(handle.get(), record, &key, &value);
    if (!key.empty() && key.back() == '\0') key.pop_back();
    std::printf("%s\t%s\n", DbUtf8FromLatin1(key).c_str(), DbUtf8FromLatin1(DbEscapeValue(value)).c_str());
    ++count;
  }
  std::fflush(stdout);
  if (handle->DbSize < fileSize)
    return Fail("%s: corrupt record at offset %d; the %d bytes from there on were not read",
                path.c_str(), handle->DbSize, fileSize - handle->DbSize);
  if (handle->DbType == kDbTypeHeadered) {
    if (handle->DbSize < kDbHeaderSize)
      return Fail("%s: header cut short (%d of %d bytes)", path.c_str(), handle->DbSize,
                  kDbHeaderSize);
    if (handle->RecordCnt != count)
      return Fail("%s: header counts %d records, the file holds %d", path.c_str(),
                  handle->RecordCnt, count);
  }
  return 0;
}

int Get(int argc, char** argv) {
  if (argc != 2) return Usage("get needs DB and KEY");
  const char* key = argv[1];
  if (*key == '\0') return Usage("the key is empty");
  if (std::strlen(key) >= static_cast<size_t>(kDbKeyBufSize))
    return Fail("keys are shorter than %d characters", kDbKeyBufSize);
  std::string path;
  HandlePtr handle = LoadDatabase(argv[0], &path);
  if (!handle) return 1;
  char small[256];
  char* buffer = small;
  int len = DbmTGetRecordV(handle.get(), key, &buffer, sizeof small);
  if (len == 0) return Fail("%s: no record with key \"%s\"", path.c_str(), key);
  size_t n = static_cast<size_t>(len);
  if (buffer[n - 1] == '\0') --n;
  const std::string shown = DbUtf8FromLatin1(std::string(buffer, n));
  std::fwrite(shown.data(), 1, shown.size(), stdout);
  std::fputc('\n', stdout);
  if (buffer != small) PutMem(buffer);
  return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the value: %s", std::strerror(errno));
}

}  // namespace

int main(int argc, char** argv) {
  static char name[] = "vdbtool";
  my_name = name;
  if (argc < 2) return Usage("no command given");
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 ||
      std::strcmp(command, "help") == 0) {
    std::fputs(kUsage, stdout);
    std::fputs("\n", stdout);
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (std::strcmp(command, "make") == 0) return Make(argc - 2, argv + 2);
  if (std::strcmp(command, "list") == 0) return List(argc - 2, argv + 2);
  if (std::strcmp(command, "get") == 0) return Get(argc - 2, argv + 2);
  return Usage((std::string("unknown command ") + command).c_str());
}
