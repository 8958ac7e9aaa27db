// Helpers of the help viewer's tests: sources loaded from memory and kept
// alive for the test, and a fixture that starts every test with an empty
// file cache.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "html.h"

class HelpSources {
 public:
  HelpSources() { HtmlClearCache(); }
  ~HelpSources() { HtmlClearCache(); }
  HelpSources(const HelpSources&) = delete;
  HelpSources& operator=(const HelpSources&) = delete;

  // Loads source (cut up in place, so kept here) under name.
  HtmlFile* Load(const std::string& source, const std::string& name = "test.html") {
    sources_.push_back(source);
    names_.push_back(name);
    return ParseHtmlFile(names_.back().data(), sources_.back().data());
  }

  // The text of the first page of source, loaded under a name of its own.
  std::string Text(const std::string& source) {
    HtmlFile* file = Load(source, "page" + std::to_string(names_.size()) + ".html");
    EXPECT_NE(file, nullptr) << source;
    return file != nullptr && pCurrentPage != nullptr ? pCurrentPage->pImage : "";
  }

  // The body of source laid out as a page without a title.
  std::string Body(const std::string& body) { return Text("<html><body>" + body + "</body></html>"); }

  static HtmlPage* Page(HtmlFile* file, int index) {
    ListNode* node = file->Pages.pFirst;
    for (int i = 0; node != nullptr && i < index; ++i) node = node->pNext;
    return node != nullptr ? static_cast<HtmlPage*>(node->pItem) : nullptr;
  }

  static std::vector<HtmlLink*> Links(const HtmlPage* page) {
    std::vector<HtmlLink*> links;
    for (ListNode* node = page->Links.pFirst; node != nullptr; node = node->pNext)
      links.push_back(*static_cast<HtmlLink**>(node->pItem));
    return links;
  }

 private:
  std::deque<std::string> sources_;
  std::deque<std::string> names_;
};

class HelpTest : public testing::Test, public HelpSources {};
