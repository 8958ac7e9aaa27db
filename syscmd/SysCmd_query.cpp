// Queries on the output of host commands: running processes (ps -ace),
// free space (df) and directory sizes (du -s).
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "MemMgr.h"
#include "SysCmd.h"
#include "utils.h"

namespace {

constexpr char kWordDelims[] = " \t\n";

// The word at position n (from 0) of text, split at blanks, tabs and line
// feeds. Empty when the text has fewer words. The program's shared scan is
// left alone: queries run in the middle of other scans.
std::string_view WordAt(const char* text, int n) {
  const char* p = text;
  for (int i = 0;; ++i) {
    p += std::strspn(p, kWordDelims);
    if (*p == '\0') return {};
    size_t len = std::strcspn(p, kWordDelims);
    if (i == n) return {p, len};
    p += len;
  }
}

// Owns a response list for the length of a query.
struct ResponseList {
  ResponseNode* head;
  ~ResponseList() { FreeResponseList(head); }
};

}  // namespace

char* GetSysPsIdList(const char* name) {
  if (name == nullptr || name[0] == '\0') return nullptr;
  Line[0] = '\0';
  size_t len = 0;
  ResponseList list{GetCmdResponse(kCmdPs, name, "%s", "")};
  for (ResponseNode* node = list.head; node != nullptr; node = node->pNext) {
    // ps -ace: PID, CLS, PRI, TTY, TIME, CMD.
    if (WordAt(node->pText, 5) != name) continue;
    std::string_view pid = WordAt(node->pText, 0);
    // " <pid>" and room for the closing blank.
    if (len + pid.size() + 2 >= sizeof Line) break;
    Line[len++] = ' ';
    std::memcpy(Line + len, pid.data(), pid.size());
    len += pid.size();
    Line[len] = '\0';
  }
  if (len == 0) return nullptr;
  Line[len++] = ' ';
  Line[len] = '\0';
  return SaveText(Line);
}

char* CheckProcTableForExecs(const char* names) {
  if (names == nullptr) return nullptr;
  char report[1024] = "";
  size_t len = 0;
  bool any = false;
  for (const char* p = names; *p != '\0';) {
    size_t n = std::strcspn(p, ",");
    char item[kStripFnSize];
    if (n > 0 && n < sizeof item) {
      std::memcpy(item, p, n);
      item[n] = '\0';
      if (char* ids = GetSysPsIdList(item)) {
        any = true;
        // Whole lines only: a line that does not fit is left out.
        if (FormatText(report + len, sizeof report - len, "%s (%s)\n", item, ids)) {
          len += std::strlen(report + len);
        } else {
          report[len] = '\0';
        }
        PutMem(ids);
      }
    }
    p += n;
    if (*p == ',') ++p;
  }
  return any ? SaveText(report) : nullptr;
}

unsigned char GetDiskSpace(const char* path, DiskSpaceInfo* info) {
  info->Avail = 0;
  info->szDfLine[0] = '\0';
  ResponseList list{GetCmdResponse(kCmdDf, "", "%s", path)};
  if (list.head == nullptr) return 0;

  int column = -1;
  for (int i = 0;; ++i) {
    std::string_view word = WordAt(list.head->pText, i);
    if (word.empty()) break;
    if (word.size() >= 5 && strncasecmp(word.data(), "avail", 5) == 0) {
      column = i;
      break;
    }
  }
  if (column < 0) return 0;

  const ResponseNode* data = list.head->pNext;
  if (data == nullptr) return 1;
  CopyText(info->szDfLine, sizeof info->szDfLine, data->pText);
  std::string_view amount = WordAt(data->pText, column);
  if (amount.empty()) return 0;
  // The word ends at a delimiter, so strtod stops within it.
  info->Avail = std::strtod(amount.data(), nullptr);
  return 1;
}

double DUPath(const char* path) {
  ResponseList list{GetCmdResponse(kCmdDu, "", "%s", path)};
  if (list.head == nullptr) return 0;
  return std::strtod(list.head->pText, nullptr);
}
