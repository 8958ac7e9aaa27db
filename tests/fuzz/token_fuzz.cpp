// The tokenizer, keyword lists, string searches and path splitters on a
// hostile text, delimiter set, word and keyword list:
//   text NUL delimiters NUL word NUL list
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "utils.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  const std::vector<std::string> p = FuzzParts(data, size, 4);
  const std::string& text = p[0];
  const char* delimiters = p[1].c_str();

  for (char* t = GetToken(text.c_str(), delimiters); t != nullptr; t = GetToken(nullptr, delimiters))
    FuzzCheck(std::strlen(t) < static_cast<size_t>(kTokenBufSize), "a token longer than its buffer");
  std::string writable = text;
  for (char* t = GetTokenParse(writable.data(), delimiters); t != nullptr; t = GetTokenParse(nullptr, delimiters))
    FuzzCheck(t >= writable.data() && t <= writable.data() + writable.size(), "a parsed token outside its text");
  for (int n = 0; n < 4; ++n) GetTokenN(text.c_str(), delimiters, n);
  SetTokenBuf(nullptr);

  const unsigned at = FindToken(p[2].c_str(), p[3].c_str());
  const unsigned atC = FindTokenC(p[2].c_str(), p[3].c_str());
  FuzzCheck(at == 0 || atC != 0, "a word found as it is but not ignoring case");
  FuzzCheck(at <= p[3].size() && atC <= p[3].size(), "a position beyond the list");

  FuzzCheck(std::strlen(StripPath(text.c_str())) < static_cast<size_t>(kStripPathSize), "StripPath overran");
  FuzzCheck(std::strlen(StripFn(text.c_str())) < static_cast<size_t>(kStripFnSize), "StripFn overran");
  const char* found = StrStr(text.c_str(), delimiters);
  FuzzCheck(found == nullptr || std::strncmp(found, delimiters, std::strlen(delimiters)) == 0, "StrStr found a non-match");
  StrCaseStr(text.c_str(), delimiters);
  return 0;
}
