// Fetching and printing the menu engine's texts from a string database.
#include "NlsUtils.h"

#include <cstdarg>
#include <cstring>

#include "MemMgr.h"
#include "utils.h"

DbTHandle* pDrvCoreDB = nullptr;

namespace {

// "Error", made on the first fetch and shared by every caller for the run.
char* ErrBuf = nullptr;

constexpr int kKeySize = 32;  // "%d_%d" of two ints

}  // namespace

bool NlsIsErrorText(const char* text) { return text != nullptr && text == ErrBuf; }

void NlsFreeString(char* text) {
  if (text != nullptr && !NlsIsErrorText(text)) PutMem(text);
}

char* NlsFetchString(DbTHandle* db, char* out, int mode, ...) {
  if (ErrBuf == nullptr) ErrBuf = SaveText("Error");

  int section = 0;
  int number = 0;
  const char* givenKey = nullptr;
  va_list args;
  va_start(args, mode);
  if (mode == 0 || mode == 3) {
    section = va_arg(args, int);
    number = va_arg(args, int);
  } else if (mode == 1 || mode == 2) {
    givenKey = va_arg(args, const char*);
  }
  va_end(args);

  // Modes outside 0 to 3 name no record at all.
  if (mode < 0 || mode > 3) return out;
  if (db == nullptr && (section == 0 || number == 0)) return mode <= 1 ? ErrBuf : out;

  char numberKey[kKeySize];
  const char* key = givenKey;
  if (mode == 0 || mode == 3) {
    FormatText(numberKey, sizeof numberKey, "%d_%d", section, number);
    key = numberKey;
  }

  // One byte more than the texts it takes, zeroed, so a text that fills it
  // stays terminated; a longer text comes back in an allocation of its own.
  char small[kNlsFetchBufSize + 1] = {};
  char* buffer = small;
  int len = key != nullptr ? DbmTGetRecordV(db, key, &buffer, kNlsFetchBufSize) : 0;
  if (len <= 0) {
    if (mode == 0 || mode == 3) return ErrBuf;
    return const_cast<char*>(givenKey);  // modes 1 and 2: the key, unchanged
  }
  const bool allocated = buffer != small;
  if (out == nullptr || mode == 3) {
    if (allocated) return buffer;
    return SaveText(buffer);
  }
  std::strncpy(out, buffer, static_cast<size_t>(len));
  if (allocated) PutMem(buffer);
  return out;
}

void Nlsfprintf(FILE* stream, DbTHandle* db, int section, int number, ...) {
  char* text = NlsFetchString(db, nullptr, 0, section, number);
  if (text == nullptr) {
    std::fputs("Error", stream);
    return;
  }
  va_list args;
  va_start(args, number);
  std::vfprintf(stream, text, args);
  va_end(args);
  NlsFreeString(text);
}

char* NlsFetchHelpItem(DbTHandle* db, NlsHelpItem item) {
  const char* english = item == kNlsHelpExit ? "~e Exit Help" : item == kNlsHelpContents ? "~c Contents" : "~b Back";
  char* text = NlsFetchString(db, nullptr, 0, kNlsSection, static_cast<int>(item));
  if (!NlsIsErrorText(text) && text[0] == '~' && text[1] == english[1] && text[2] == ' ' && text[3] != '\0') return text;
  NlsFreeString(text);
  return SaveText(english);
}
