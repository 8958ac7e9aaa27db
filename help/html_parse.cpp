// The help file cache and the in-place scanner: a source is cut into tags
// and compacted text runs without copying, every string of the model
// pointing into the source text itself.
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "MemMgr.h"
#include "html.h"
#include "html_impl.h"
#include "utils.h"

HtmlFile* aFile[kHtmlMaxFiles];
int FileIndex = 0;
int CurrentFile = 0;
HtmlPage* pCurrentPage = nullptr;

// The HTML 4.01 Latin-1 names, in code-point order from 160.
#define HTML_LATIN1_NAMES(X)                                                                                       \
  X("nbsp") X("iexcl") X("cent") X("pound") X("curren") X("yen") X("brvbar") X("sect") X("uml") X("copy")         \
  X("ordf") X("laquo") X("not") X("shy") X("reg") X("macr") X("deg") X("plusmn") X("sup2") X("sup3") X("acute")   \
  X("micro") X("para") X("middot") X("cedil") X("sup1") X("ordm") X("raquo") X("frac14") X("frac12") X("frac34")  \
  X("iquest") X("Agrave") X("Aacute") X("Acirc") X("Atilde") X("Auml") X("Aring") X("AElig") X("Ccedil")          \
  X("Egrave") X("Eacute") X("Ecirc") X("Euml") X("Igrave") X("Iacute") X("Icirc") X("Iuml") X("ETH") X("Ntilde")  \
  X("Ograve") X("Oacute") X("Ocirc") X("Otilde") X("Ouml") X("times") X("Oslash") X("Ugrave") X("Uacute")         \
  X("Ucirc") X("Uuml") X("Yacute") X("THORN") X("szlig") X("agrave") X("aacute") X("acirc") X("atilde") X("auml") \
  X("aring") X("aelig") X("ccedil") X("egrave") X("eacute") X("ecirc") X("euml") X("igrave") X("iacute")          \
  X("icirc") X("iuml") X("eth") X("ntilde") X("ograve") X("oacute") X("ocirc") X("otilde") X("ouml") X("divide")  \
  X("oslash") X("ugrave") X("uacute") X("ucirc") X("uuml") X("yacute") X("thorn") X("yuml")

#define HTML_KEY_WORD(name) name ";,"
#define HTML_KEY_SIZE(name) static_cast<int>(sizeof(name)),  // the name and its ';'
#define HTML_KEY_COUNT(name) +1
const char HTMLKeys[] = "," HTML_LATIN1_NAMES(HTML_KEY_WORD);
const int HTMLKeySizes[kHtmlCharRefs + 1] = {0, HTML_LATIN1_NAMES(HTML_KEY_SIZE)};
static_assert(0 HTML_LATIN1_NAMES(HTML_KEY_COUNT) == kHtmlCharRefs);
#undef HTML_KEY_WORD
#undef HTML_KEY_SIZE
#undef HTML_KEY_COUNT

namespace {

constexpr std::array<unsigned char, kHtmlCharRefs + 1> MakeHtmlChars() {
  std::array<unsigned char, kHtmlCharRefs + 1> chars{};
  for (int i = 1; i <= kHtmlCharRefs; ++i) chars[i] = static_cast<unsigned char>(159 + i);
  return chars;
}

}  // namespace

const std::array<unsigned char, kHtmlCharRefs + 1> HTMLChars = MakeHtmlChars();

namespace {

constexpr int kCharRefReach = 15;  // a named reference's ';' lies at most this far after its '&'
const char kWhiteSpace[] = " \t\n\r";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

bool StartsWithC(const char* text, const char* prefix) { return strncasecmp(text, prefix, std::strlen(prefix)) == 0; }

// The names of the characters that markup gives a meaning of its own; help
// that shows code or markup writes them so.
struct MarkupRef {
  const char* name;  // with its ';'
  char ch;
};
constexpr MarkupRef kMarkupRefs[] = {{"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}};

// A numeric reference: "&#" and decimal digits, or "&#x" and hexadecimal
// ones, then ';'. Its character is shown as a text run shows it; a value
// of 0, a control code or one beyond Latin-1 shows '?'. False when the
// digits or the ';' are missing: the '&' is then text.
bool ReadNumericRef(const char* amp, char* ch, size_t* taken) {
  const bool hex = amp[2] == 'x' || amp[2] == 'X';
  const char* digits = amp + (hex ? 3 : 2);
  const char* p = digits;
  unsigned value = 0;
  for (;; ++p) {
    const auto c = static_cast<unsigned char>(*p);
    unsigned digit = 0;
    if (std::isdigit(c))
      digit = c - '0';
    else if (hex && std::isxdigit(c))
      digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
    else
      break;
    value = std::min(value * (hex ? 16 : 10) + digit, 256u);  // any value past 255 is one too many
  }
  if (p == digits || *p != ';') return false;
  *ch = value == 0 || value > 255 ? '?' : HtmlShownChar(static_cast<char>(value));
  *taken = static_cast<size_t>(p - amp) + 1;
  return true;
}

// Reads the character reference at amp ('&'): its byte and the characters
// it takes. False when the '&' starts no reference.
bool ReadCharRef(const char* amp, char* ch, size_t* taken) {
  if (amp[1] == '#') return ReadNumericRef(amp, ch, taken);
  if (StartsWithC(amp + 1, "quot;")) {
    *ch = '"';
    *taken = 6;
    return true;
  }
  int reach = 1;
  while (reach <= kCharRefReach && amp[reach] != '\0' && amp[reach] != ';') ++reach;
  if (reach > kCharRefReach || amp[reach] != ';') return false;
  char name[kCharRefReach + 1];
  std::memcpy(name, amp + 1, static_cast<size_t>(reach));
  name[reach] = '\0';
  if (const unsigned i = FindToken(name, HTMLKeys); i != 0 && i <= kHtmlCharRefs) {
    *ch = static_cast<char>(HTMLChars[i]);
    *taken = static_cast<size_t>(HTMLKeySizes[i]) + 1;
    return true;
  }
  for (const MarkupRef& ref : kMarkupRefs) {
    if (std::strcmp(name, ref.name) != 0) continue;
    *ch = ref.ch;
    *taken = static_cast<size_t>(reach) + 1;
    return true;
  }
  return false;
}

// Drops every CR that comes before a line feed, so that a source written
// with CR LF line ends (as DOS writes them) reads as one with LF ends.
void DropCarriageReturns(char* text) {
  char* out = text;
  for (const char* in = text; *in != '\0'; ++in)
    if (in[0] != '\r' || in[1] != '\n') *out++ = *in;
  *out = '\0';
}

// Splits a tag text in place into its name (leading white space skipped)
// and its attribute text, which starts after the white space that ends the
// name.
char* SplitTag(char* text, char** attributes) {
  while (IsSpace(*text)) ++text;
  char* end = text;
  while (*end != '\0' && !IsSpace(*end)) ++end;
  if (*end != '\0') *end++ = '\0';
  *attributes = end;
  return text;
}

// Reads the name and href attributes of an a tag in place.
void ReadLinkAttributes(HtmlLink* link, char* attributes) {
  for (char* token = GetTokenParse(attributes, kWhiteSpace); token != nullptr;
       token = GetTokenParse(nullptr, kWhiteSpace)) {
    char* value = std::strchr(token, '=');
    if (value == nullptr) continue;
    *value++ = '\0';
    if (*value == '"') {
      ++value;
      if (char* quote = std::strchr(value, '"')) *quote = '\0';
    }
    switch (TagPosition(token, ",name,href,")) {
      case 1:
        link->pTarget = value;
        link->Kind = kLinkAnchor;
        break;
      case 2:
        link->pTarget = value;
        link->Kind = kLinkHref;
        break;
      default:
        break;
    }
  }
}

// An html tag: skips a "SkipPage" section, or opens a page (or continues
// the current one). Returns the page that is current afterwards.
HtmlPage* OpenSection(HtmlFile* file, char* attributes, HtmlPage* current) {
  if (std::strstr(attributes, "SkipPage") != nullptr) {
    if (char* end = StrCaseStr(file->pCur, "/HTML"))
      if (char* close = std::strchr(end, '>')) file->pCur = close + 1;
    return current;
  }
  char* name = StrCaseStr(attributes, "page=\"");
  if (name != nullptr) {
    name += 6;
    if (char* quote = std::strchr(name, '"')) *quote = '\0';
  }
  if (current != nullptr && name == nullptr) return current;
  auto* page = ListPushT<HtmlPage>(&file->Pages);
  if (page == nullptr) return current;
  page->pPageName = name;
  return page;
}

void FreeFile(HtmlFile* file) {
  if (file == nullptr) return;
  for (auto* page = static_cast<HtmlPage*>(ListWalk(&file->Pages, 0)); page != nullptr;
       page = static_cast<HtmlPage*>(ListWalk(&file->Pages, 1)))
    FreePage(page);
  ListFree(&file->Pages);
  PutMem(file->pFileName);
  if (file->flOwnContent) PutMem(file->pContent);
  PutMem(file);
}

// Lays out every page of a committed file, then shows its first page and,
// when one is asked for, the target.
void LayOutPages(HtmlFile* file, const char* target) {
  for (auto* page = static_cast<HtmlPage*>(ListWalk(&file->Pages, 0)); page != nullptr;
       page = static_cast<HtmlPage*>(ListWalk(&file->Pages, 1))) {
    pCurrentPage = page;
    PrintTextImage(file);
  }
  pCurrentPage = FirstPage(file);
  if (target != nullptr && *target != '\0') GoToTarget(target);
}

}  // namespace

char HtmlShownChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u != 0 && u < 32 && u != '\t' && u != '\n') || (u >= 127 && u <= 159)) return '?';
  return c;
}

std::string HtmlShownText(const char* text) {
  std::string shown = text != nullptr ? text : "";
  for (char& c : shown) c = HtmlShownChar(c);
  return shown;
}

HtmlPage* FirstPage(const HtmlFile* file) {
  if (file == nullptr || file->Pages.pFirst == nullptr) return nullptr;
  return static_cast<HtmlPage*>(file->Pages.pFirst->pItem);
}

unsigned TagPosition(const char* name, const char* list) {
  if (name == nullptr || std::strchr(name, list[0]) != nullptr) return 0;
  return FindTokenC(name, list);
}

void FreePage(HtmlPage* page) {
  for (List* list : {&page->Head, &page->Body}) {
    for (auto* e = static_cast<HtmlElement*>(ListWalk(list, 0)); e != nullptr;
         e = static_cast<HtmlElement*>(ListWalk(list, 1))) {
      if (e->flMeasured) {
        auto* table = static_cast<TableLayout*>(e->pData);
        PutMem(table->pRowHeights);
        PutMem(table->pColWidths);
        PutMem(table);
      } else if (e->pTag != nullptr && strcasecmp(e->pTag, "a") == 0) {
        PutMem(e->pData);
      }
    }
    ListFree(list);
  }
  ListFree(&page->Links);
  PutMem(page->pImage);
  page->pImage = nullptr;
}

HtmlFile* FindHtmlFile(const char* name) {
  if (name == nullptr) return nullptr;
  for (int i = 0; i < FileIndex; ++i) {
    if (std::strcmp(aFile[i]->pFileName, name) == 0) {
      CurrentFile = i;
      return aFile[i];
    }
  }
  return nullptr;
}

char* GetKeyWord(HtmlFile* file) {
  char* open = std::strchr(file->pCur, '<');
  if (open == nullptr) {
    file->pCur += std::strlen(file->pCur);
    return nullptr;
  }
  *open = '\0';
  char* tag = open + 1;
  char* close = std::strchr(tag, '>');
  if (close == nullptr) {
    file->pCur = tag + std::strlen(tag);
    return nullptr;
  }
  *close = '\0';
  file->pCur = close + 1;
  return tag;
}

void AddAtribute(List* list, char* tag, char* data) {
  auto* element = ListPushT<HtmlElement>(list);
  if (element == nullptr) return;
  element->pTag = tag;
  element->pData = data;
  element->Len = StrLen(data);
  if (tag == nullptr || strcasecmp(tag, "a") != 0) return;
  // Every a tag holds a link, so that nobody takes attribute text for one.
  auto* link = GetMemT<HtmlLink>(sizeof(HtmlLink));
  element->pData = link;
  if (link != nullptr && data != nullptr) ReadLinkAttributes(link, data);
}

void ParseHtml(HtmlFile* file, List* list, const char* endName) {
  char* cur = file->pCur;
  char* out = nullptr;  // where the open run's next character goes
  char* run = nullptr;  // start of the open run
  while (*cur != '\0') {
    if (*cur == '<') {
      *cur++ = '\0';
      if (run != nullptr) {
        *out = '\0';
        AddAtribute(list, nullptr, run);
        run = nullptr;
      }
      char* text = cur;
      if (char* close = std::strchr(cur, '>')) {
        *close = '\0';
        cur = close + 1;
      } else {
        cur += std::strlen(cur);
      }
      char* attributes = nullptr;
      char* name = SplitTag(text, &attributes);
      if (name[0] == '/' && strcasecmp(name + 1, endName) == 0) {
        file->pCur = cur;
        return;
      }
      AddAtribute(list, name, attributes);
      continue;
    }
    if (run == nullptr && IsBlank(*cur)) {
      *cur++ = '\0';
      continue;
    }
    if (*cur == '&') {
      char ch = 0;
      size_t taken = 0;
      if (run == nullptr) run = out = cur;
      if (ReadCharRef(cur, &ch, &taken)) {
        *out++ = ch;
        cur += taken;
      } else {
        *out++ = *cur++;  // no reference: the '&' is text
      }
      continue;
    }
    if (run == nullptr) run = out = cur;
    const bool space = IsSpace(*cur);
    *out++ = HtmlShownChar(*cur++);
    if (space)
      while (IsSpace(*cur)) ++cur;
  }
  // A run the text ends in is dropped.
  file->pCur = cur;
}

HtmlFile* ParseHtmlFile(char* name, char* buffer) {
  if (name == nullptr || StartsWithC(name, "http://")) return nullptr;
  if (StartsWithC(name, "file://")) name += 7;
  char* target = std::strchr(name, '#');
  if (target != nullptr) *target++ = '\0';
  if (HtmlFile* cached = FindHtmlFile(name); cached != nullptr && FirstPage(cached) != nullptr) {
    pCurrentPage = FirstPage(cached);
    return cached;
  }
  // A full cache takes no further file: nothing is written past it.
  if (FileIndex >= kHtmlMaxFiles) return nullptr;
  char* text = buffer != nullptr ? buffer : GetSavedFileContent(name, nullptr);
  if (text == nullptr) return nullptr;
  auto* file = GetMemT<HtmlFile>(sizeof(HtmlFile));
  if (file == nullptr) {
    if (buffer == nullptr) PutMem(text);
    return nullptr;
  }
  file->pFileName = SaveText(name);
  file->pContent = file->pCur = text;
  file->flOwnContent = buffer == nullptr;
  DropCarriageReturns(text);

  HtmlPage* page = nullptr;  // sections before the first page-opening tag are skipped
  while (char* tag = GetKeyWord(file)) {
    char* attributes = nullptr;
    switch (TagPosition(SplitTag(tag, &attributes), ",html,head,body,/html,")) {
      case 1:
        page = OpenSection(file, attributes, page);
        break;
      case 2:
        if (page != nullptr && page->Head.Count == 0) ParseHtml(file, &page->Head, "head");
        break;
      case 3:
        if (page != nullptr) ParseHtml(file, &page->Body, "body");
        break;
      default:
        break;
    }
  }
  if (FirstPage(file) == nullptr) {
    // What was shown before stays shown.
    FreeFile(file);
    return nullptr;
  }
  aFile[FileIndex] = file;
  CurrentFile = FileIndex++;
  LayOutPages(file, target);
  return file;
}

void HtmlClearCache() {
  for (int i = 0; i < FileIndex; ++i) {
    FreeFile(aFile[i]);
    aFile[i] = nullptr;
  }
  FileIndex = 0;
  CurrentFile = 0;
  pCurrentPage = nullptr;
  HistoryI = 0;
  TargetPos = 0;
}
