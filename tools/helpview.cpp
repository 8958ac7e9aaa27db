// helpview: the help viewer for help authors. Shows a help source in the
// terminal through the same help menu the menu engine opens, or prints
// every page's laid-out text so that a source can be checked without one.
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Dbm.h"
#include "HelpTty.h"
#include "NlsUtils.h"
#include "TerminalCharset.h"
#include "html.h"
#include "utils.h"

namespace {

const char kTool[] = "helpview";
enum Status { kOk = 0, kFailed = 1, kUsage = 2 };

const char kUsageText[] =
    "Usage: helpview [--title TEXT] [--db FILE] FILE[#TARGET]\n"
    "       helpview --dump FILE\n"
    "       helpview --help\n"
    "\n"
    "Shows the help source FILE as the installer's help viewer does: each page\n"
    "as a menu whose first item is the page's text, its links as numbered\n"
    "items, and the commands e (Exit Help), c (Contents: the first page of the\n"
    "first file) and b (Back). FILE#TARGET opens the page or anchor TARGET.\n"
    "helpview works in FILE's folder, so links to other files are read from\n"
    "there.\n"
    "\n"
    "Options:\n"
    "      --title TEXT  the title of the help menu (default \"Help\")\n"
    "      --db FILE     the menu engine's string database for the prompt line;\n"
    "                    default: db/drvcore.vdb beside helpview (the build puts\n"
    "                    it there)\n"
    "      --dump        print the text of every page of FILE, each under a line\n"
    "                    \"=== page N: NAME\" (NAME is the page=\"...\" name, or\n"
    "                    \"(no name)\"), exactly as the help menu shows it, and\n"
    "                    exit; no terminal is needed\n"
    "  -h, --help        print this text and exit\n"
    "\n"
    "Help sources are a small HTML subset: sections <html page=\"NAME\"> open\n"
    "pages, <head><title> gives the centred title, and the body knows p, br,\n"
    "h1 to h6, div, ol and li, a with href (a link) or name (an anchor), and\n"
    "table (border, cellpadding, width) with tr and td. Text is Latin-1; the\n"
    "96 Latin-1 character references such as &copy; and &eacute; are known,\n"
    "as are &lt;, &gt;, &amp;, &quot; and numeric ones (&#233; or &#xE9;),\n"
    "and control characters are shown as '?'. CR LF line ends read as LF.\n"
    "\n"
    "Exit status: 0 the user chose Exit Help, or the pages were printed;\n"
    "1 FILE could not be loaded (the viewer's message says so), or the\n"
    "terminal's input ended; 2 the command line is wrong.\n";

int UsageError(const char* what) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kTool, what, kTool);
  return kUsage;
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Opens the string database of the prompt line's texts, when there is one.
void OpenStrings(const std::string& db) {
  std::string path = db;
  if (path.empty() && pToolPath != nullptr) path = std::string(pToolPath) + "/db/drvcore.vdb";
  if (!IsRegularFile(path)) return;
  pDrvCoreDB = DbTOpen(path.c_str(), kDbNoCheck);
  DbTUpDate(pDrvCoreDB);
}

// Goes into the folder of the help source named (FILE or FILE#TARGET)
// and returns the source relative to it.
std::string EnterSourceFolder(const std::string& source) {
  const std::string file = source.substr(0, source.find('#'));
  const size_t slash = file.rfind('/');
  if (slash == std::string::npos) return source;
  const std::string folder = slash == 0 ? "/" : file.substr(0, slash);
  if (chdir(folder.c_str()) != 0) return source;  // the load then says what is wrong
  return source.substr(slash + 1);
}

// The page text of a dump needs no links followed: the source is read
// where it was named, and a failure names it so.
int Dump(const std::string& source) {
  if (HtmlHelp(source.c_str(), nullptr) == 0) return kFailed;
  int n = 0;
  for (ListNode* node = aFile[CurrentFile]->Pages.pFirst; node != nullptr; node = node->pNext) {
    const auto* page = static_cast<const HtmlPage*>(node->pItem);
    const std::string name = page->pPageName != nullptr ? HtmlShownText(page->pPageName) : "(no name)";
    std::printf("=== page %d: %s\n", ++n, name.c_str());
    std::fputs(page->pImage != nullptr ? page->pImage : "", stdout);
  }
  return kOk;
}

// The viewer reads links to other files from the source's folder, where
// it works. The source is first loaded where it was named, so that a
// failure names it as the user gave it.
int View(const std::string& source, const std::string& title) {
  if (HtmlHelp(source.c_str(), nullptr) == 0) return kFailed;
  HtmlClearCache();
  TtyHtmlHelp(EnterSourceFolder(source).c_str(), nullptr, title.c_str());
  // The viewer has told the user when the source could not be loaded.
  return FileIndex > 0 ? kOk : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  UseTerminalCharset();
  static char name[] = "helpview";
  my_name = name;
  pToolPath = GetToolPath(argv[0]);
  enum { kTitle = 256, kDump, kDb };
  static const option kLong[] = {
      {"help", no_argument, nullptr, 'h'},   {"title", required_argument, nullptr, kTitle},
      {"dump", no_argument, nullptr, kDump}, {"db", required_argument, nullptr, kDb},
      {nullptr, 0, nullptr, 0},
  };
  std::string title = pTtyHtmlTitle;
  std::string db;
  bool dump = false;
  int c;
  while ((c = getopt_long(argc, argv, "h", kLong, nullptr)) != -1) {
    switch (c) {
      case 'h':
        std::fputs(kUsageText, stdout);
        return kOk;
      case kTitle:
        title = optarg;
        break;
      case kDump:
        dump = true;
        break;
      case kDb:
        db = optarg;
        break;
      default:  // getopt_long has said what is wrong
        std::fprintf(stderr, "Try '%s --help'.\n", kTool);
        return kUsage;
    }
  }
  if (optind >= argc) return UsageError("no help file given");
  if (optind + 1 < argc) return UsageError("more than one help file given");
  if (dump) return Dump(argv[optind]);
  OpenStrings(db);
  return View(argv[optind], title);
}
