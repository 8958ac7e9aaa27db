// Navigation between help pages: targets in the current file, links to
// other files, and the history of jumps that Back and Contents use.
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "html.h"
#include "html_impl.h"
#include "UtilText.h"

HtmlHistoryEntry History[kHtmlHistorySize];
int HistoryI = 0;
int TargetPos = 0;

namespace {

bool NamesAFile(const char* target) {
  return strncasecmp(target, "http://", 7) == 0 || strncasecmp(target, "file://", 7) == 0 || target[0] != '#';
}

// Why name could not be loaded: a full cache takes no further file
// (whether it exists or not); else readError, then the name. The name is
// shown as page text is, so that no help source controls the terminal.
std::string LoadFailure(const char* readError, const char* name) {
  const std::string shown = HtmlShownText(name);
  if (FileIndex >= kHtmlMaxFiles)
    return UtilFormat(UtilText::kHelpFilesFull, shown.c_str(), kHtmlMaxFiles);
  return readError + shown + "\n";
}

}  // namespace

int HtmlHelp(const char* name, char* buffer) {
  if (name == nullptr) return 0;
  HistoryI = 0;
  // The load cuts the name at its '#'; the caller's text stays as it is.
  std::string copy(name);
  if (ParseHtmlFile(copy.data(), buffer) != nullptr) return 1;
  if (buffer != nullptr && FileIndex < kHtmlMaxFiles)
    std::printf("Error reading HTML buffer\n");
  else
    std::printf("%s", LoadFailure("Error in reading HTML file ", name).c_str());
  return 0;
}

std::string FollowLink(HtmlLink* link) {
  if (link == nullptr || link->pTarget == nullptr) return "";
  char* target = link->pTarget;
  if (!NamesAFile(target)) {
    GoToTarget(target);
    return "";
  }
  if (HtmlFile* file = FindHtmlFile(target); file != nullptr && FirstPage(file) != nullptr) {
    pCurrentPage = FirstPage(file);
    return "";
  }
  if (ParseHtmlFile(target, nullptr) != nullptr) return "";
  return LoadFailure("Error in reading file ", target);
}

void ProcessLink(HtmlLink* link) { std::printf("%s", FollowLink(link).c_str()); }

void GoToTarget(const char* target) {
  if (target == nullptr || CurrentFile < 0 || CurrentFile >= FileIndex) return;
  if (*target == '#') ++target;
  HtmlFile* file = aFile[CurrentFile];
  for (ListNode* node = file->Pages.pFirst; node != nullptr; node = node->pNext) {
    auto* page = static_cast<HtmlPage*>(node->pItem);
    if (page->pPageName != nullptr && std::strcmp(page->pPageName, target) == 0) {
      TargetPos = 0;
      SetHistory();
      pCurrentPage = page;
      return;
    }
    for (ListNode* l = page->Links.pFirst; l != nullptr; l = l->pNext) {
      const HtmlLink* anchor = *static_cast<HtmlLink**>(l->pItem);
      if (anchor->Kind == kLinkAnchor && anchor->pTarget != nullptr && std::strcmp(anchor->pTarget, target) == 0) {
        SetHistory();
        pCurrentPage = page;
        TargetPos = anchor->Start;
        return;
      }
    }
  }
}

void SetHistory() {
  if (HistoryI >= kHtmlHistorySize) return;
  History[HistoryI++] = {CurrentFile, pCurrentPage, TargetPos};
}

int HtmlSetHistory(int mode) {
  if (HistoryI == 0 || (mode != 0 && mode != -1)) return 0;
  if (mode == 0) {
    HistoryI = 0;
    CurrentFile = 0;
    pCurrentPage = FirstPage(aFile[0]);
  } else {
    const HtmlHistoryEntry& back = History[--HistoryI];
    CurrentFile = back.FileIndex;
    pCurrentPage = back.pPage;
  }
  return 1;
}
