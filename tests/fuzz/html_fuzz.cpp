// The help viewer on a hostile help source: parsed into pages, every page
// laid out and its menu items built, and every link that stays in the
// file followed (a link to another file is not: it would read the host's
// files). The layout must keep to its grid and every link offset to its
// page text. (A page's Links list holds HtmlLink pointers.)
#include <cstring>
#include <string>
#include <vector>

#include "HelpTty.h"
#include "fuzz_support.h"
#include "html.h"

namespace {

void LayOutEveryPage(HtmlFile* file) {
  for (ListNode* node = file->Pages.pFirst; node != nullptr; node = node->pNext) {
    pCurrentPage = static_cast<HtmlPage*>(node->pItem);
    PrintTextImage(file);
    const size_t length = pCurrentPage->pImage != nullptr ? std::strlen(pCurrentPage->pImage) : 0;
    for (ListNode* l = pCurrentPage->Links.pFirst; l != nullptr; l = l->pNext) {
      const HtmlLink* link = *static_cast<HtmlLink* const*>(l->pItem);
      FuzzCheck(link->Start >= 0 && link->End >= link->Start && static_cast<size_t>(link->End) <= length + 1,
                "a link offset outside its page text");
    }
    TtyHelpBuildMenuItems();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  HtmlClearCache();
  // The source is cut up in place and must live as long as the cache.
  static std::vector<char> source;
  source.assign(data, data + size);
  source.push_back('\0');
  FuzzRun([] {
    if (HtmlHelp("fuzz.hlp", source.data()) == 0) return;
    HtmlFile* file = aFile[CurrentFile];
    LayOutEveryPage(file);
    for (ListNode* page = file->Pages.pFirst; page != nullptr; page = page->pNext) {
      for (ListNode* l = static_cast<HtmlPage*>(page->pItem)->Links.pFirst; l != nullptr; l = l->pNext) {
        const HtmlLink* link = *static_cast<HtmlLink* const*>(l->pItem);
        if (link->pTarget != nullptr && link->pTarget[0] == '#') GoToTarget(link->pTarget);
      }
    }
    HtmlSetHistory(-1);
    HtmlSetHistory(0);
  });
  HtmlClearCache();
  return 0;
}
