// The six message tables: the same conversions in every language, the bytes
// of ISO 8859-1, the line structure of the English texts, and the choice of
// a table from LANG.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "RootFile.h"
#include "installer.h"
#include "test_support.h"

namespace {

struct Language {
  const char* name;
  const SetupMessage* table;
};

const Language kLanguages[] = {
    {"English", NLS_ENGLISH}, {"Spanish", NLS_SPANISH}, {"Italian", NLS_ITALIAN},
    {"French", NLS_FRENCH},   {"German", NLS_GERMAN},   {"Portuguese", NLS_PORTUGUESE},
};

// The messages the installer shows; every other index is free.
const int kShown[] = {7,  8,  9,  10, 11, 12, 13, 14, 17, 18, 20, 21, 35, 42, 49,
                      55, 56, 57, 58, 59, 60, 62, 63, 65, 66, 67, 68, 69, 70};

TEST(SetupMessagesConversions, ParserReadsWholeSpecifications) {
  struct Case {
    const char* format;
    bool valid;
    std::vector<std::string> conversions;
  };
  const Case cases[] = {
      {"plain", true, {}},
      {"100%% of %s", true, {"%s"}},
      {"%-10.3ls|%+08.2e|%*.*d|%lld|%hhx|%zu", true,
       {"%-10.3ls", "%+08.2e", "%*.*d", "%lld", "%hhx", "%zu"}},
      {"%2$s %1$s", true, {"%2$s", "%1$s"}},
      {"%", false, {}},
      {"%5", false, {}},
      {"50% off", true, {"% o"}},  // a stray '%' is read as printf reads it
      {"%y", false, {}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> got;
    bool valid = FormatConversions(c.format, &got);
    EXPECT_EQ(valid, c.valid) << c.format;
    if (valid && c.valid) {
      EXPECT_EQ(got, c.conversions) << c.format;
    }
  }
}

TEST(SetupMessagesConversions, EveryEntryHasTheEnglishConversionsInOrder) {
  for (int i = 0; i < kSetupMessages; ++i) {
    std::vector<std::string> english;
    ASSERT_TRUE(FormatConversions(NLS_ENGLISH[i], &english)) << "English " << i;
    for (const Language& lang : kLanguages) {
      ASSERT_NE(lang.table[i], nullptr) << lang.name << " " << i;
      std::vector<std::string> translated;
      EXPECT_TRUE(FormatConversions(lang.table[i], &translated)) << lang.name << " " << i;
      EXPECT_EQ(translated, english) << lang.name << " " << i;
    }
  }
}

// Line ends at the start, blanks and line ends at the end, and the number of
// line ends: what decides where the answer is typed and how lines join.
struct Shape {
  size_t leading = 0;
  std::string trailing;
  size_t lineEnds = 0;
  bool operator==(const Shape&) const = default;
};

Shape ShapeOf(const char* text) {
  Shape shape;
  std::string s(text);
  while (shape.leading < s.size() && s[shape.leading] == '\n') ++shape.leading;
  size_t end = s.find_last_not_of(" \n");
  shape.trailing = end == std::string::npos ? s : s.substr(end + 1);
  for (char c : s) shape.lineEnds += c == '\n';
  return shape;
}

TEST(SetupMessagesText, TranslationsKeepTheEnglishLineStructure) {
  for (int i = 0; i < kSetupMessages; ++i) {
    Shape english = ShapeOf(NLS_ENGLISH[i]);
    for (const Language& lang : kLanguages) {
      Shape shape = ShapeOf(lang.table[i]);
      EXPECT_EQ(shape.leading, english.leading) << lang.name << " " << i;
      EXPECT_EQ(shape.trailing, english.trailing) << lang.name << " " << i;
      // The usage's explanation is laid out anew in each language.
      if (i != kUsageMessage) {
        EXPECT_EQ(shape.lineEnds, english.lineEnds) << lang.name << " " << i;
      }
    }
  }
}

TEST(SetupMessagesText, EnglishTextsStandAsTheSystemShowsThem) {
  // One line each, exactly as the installer prints them (typos included).
  const std::pair<int, const char*> texts[] = {
    {7, "\nEnter the new installation directory [%s]: "},
    {8, "Do you want to use %s"},
    {9, "Do you want to return to Setup Menu"},
    {10, "This entry must be a full path to the installation directory.\n"},
    {11, "You must specify an installation directory which will be used"},
    {12, "to install the Vexla directory along with its support files and"},
    {13, "directories. This utility will create the install directory"},
    {14, "if it doesn't already exist."},
    {17, "to create the installation site. This utility will create the"},
    {18, "install directory if it doesn't already exist."},
    {20, "\nWarning defining another installation directory will invalidate any defined print queues [%s]\n "},
    {21, "can't open file, %sInstall/disks"},
    {35, "%s is logged in\nYou must become root to run %s\n"},
    {42, "\nExisting installation directory [%s]\n "},
    {49, "There isn't enough space in %s to perform the installation activities. The temporary work area should be at least %e bytes. Restart the installation procedure using a work area that has enough space. \nie: 1. Use /new_work_area_path in place of /tmp\n    2. Run `setup /new_work_area_path`\n"},
    {55, "There isn't enough space in %s to perform the installation activities. The install area should be at least %e bytes. Restart the installation procedure using an install area that has enough space. \nie: 1. Use /new_install_path in place of the default location\n    2. Run 'setup install /new_install_path'\n"},
    {56, "There isn't enough space to perform the installation activities. As you are using a working directory, %s on the same partition as the install directory you have selected, %s this install requires %e bytes free. Please re-run the install specifing a different location for a working directory or install directory. Please see the readme if you need help with the syntax."},
    {58, "setup: ERROR"},
    {59, "killed VPrintD %s\n"},
    {60, "failed ts get version"},
    {62, "\nIf you currently have %s printer software installed that uses VPrintD\nprint daemon, you must delete all your %s print queues prior to installing\nthis package.\n\nNOTE: VPrintD is located in <install directory>/%s/%s\n"},
    {63, "\nDo You want to continue with the installation? [yn] "},
    {65, "Could not determine how much space needed for install, missing isize.\n"},
    {66, "\nThe following processes are running.\nThe installer can not continue until these terminate:\n"},
    {67, "Would you like to:\n"},
    {68, "1.  Wait 30 seconds for these processes to terminate\n"},
    {69, "2.  Quit the installation\n"},
    {70, "\nEnter a selection:  "},
  };
  for (const auto& [index, text] : texts) EXPECT_STREQ(NLS_ENGLISH[index], text) << index;
}

// The libraries' texts: the English table holds util's own English, byte
// for byte (a tool and setup say the same), and once setup hands its tables
// in, a reason built in util speaks the run's language, --json's English
// included.
TEST(SetupMessagesText, LibraryTextsComeFromTheTables) {
  for (int i = 0; i < kUtilTexts; ++i)
    EXPECT_STREQ(NLS_ENGLISH[kFirstUtilMessage + i], EnglishUtilText(static_cast<UtilText>(i))) << i;
  struct stat link {};
  link.st_mode = S_IFLNK | 0777;
  struct stat shared {};
  shared.st_mode = S_IFREG | 0666;
  shared.st_nlink = 1;
  const SetupMessage* saved = pCurLang;
  UseSetupTextsInLibraries();
  pCurLang = NLS_GERMAN;
  EXPECT_EQ(WhyNotRootsFile(link), "es ist ein symbolischer Link");
  EXPECT_EQ(WhyNotRootsFile(shared), "andere als root d\xFC" "rfen es schreiben (Modus 0666)");
  EXPECT_EQ(EnglishUtilFormat(UtilText::kExitStatus, 3), "exit status 3");
  UseEnglishTexts();
  EXPECT_EQ(WhyNotRootsFile(shared), "it is writable by others than root (mode 0666)");
  SetUtilTextSource(nullptr);
  pCurLang = saved;
}

TEST(SetupMessagesText, SharedAndEmptyEntries) {
  for (const Language& lang : kLanguages) EXPECT_STREQ(lang.table[57], "") << lang.name;
  EXPECT_STREQ(NLS_SPANISH[58], NLS_ENGLISH[58]);
  // Every other shown entry is translated, and none is left empty.
  for (int i : kShown) {
    for (const Language& lang : kLanguages) {
      if (i == 57) continue;
      EXPECT_STRNE(lang.table[i], "") << lang.name << " " << i;
      if (lang.table == NLS_ENGLISH || (lang.table == NLS_SPANISH && i == 58)) continue;
      EXPECT_STRNE(lang.table[i], NLS_ENGLISH[i]) << lang.name << " " << i;
    }
  }
}

// The texts from 200 on are shown in every language: none is empty, and
// each translation differs from the English, but for the few words that
// are the same in a language (the kinds "type" and "mode", "file",
// "script").
TEST(SetupMessagesText, LaterTextsAreTranslated) {
  const int kSameWord[] = {290, 291, 366, 377};
  for (int i = kFirstLaterMessage; i < kSetupMessages; ++i) {
    const bool mayBeSame = std::find(std::begin(kSameWord), std::end(kSameWord), i) != std::end(kSameWord);
    for (const Language& lang : kLanguages) {
      EXPECT_STRNE(lang.table[i], "") << lang.name << " " << i;
      if (lang.table != NLS_ENGLISH && !mayBeSame) {
        EXPECT_STRNE(lang.table[i], NLS_ENGLISH[i]) << lang.name << " " << i;
      }
    }
  }
}

// French sets a no-break space before ? ! : and ; (the list of characters
// a directory name may hold, 213, names them with plain blanks).
TEST(SetupMessagesText, FrenchPunctuationHasNoBreakSpaces) {
  for (int i = kFirstLaterMessage; i < kSetupMessages; ++i) {
    if (i == 213) continue;
    for (const char* plain : {" ?", " !", " :", " ;"})
      EXPECT_EQ(strstr(NLS_FRENCH[i], plain), nullptr) << i << " holds \"" << plain << "\"";
  }
}

TEST(SetupMessagesBytes, AccentedLettersAreIso88591) {
  // Test texts are written with escapes: this file itself is compiled as UTF-8.
  const struct {
    const SetupMessage* table;
    int index;
    const char* part;
  } cases[] = {
      {NLS_FRENCH, 7, "r\xE9pertoire"},          // é
      {NLS_FRENCH, 9, "Setup\xA0"},              // no-break space before the ?
      {NLS_FRENCH, 35, "\xEAtre root"},          // ê
      {NLS_GERMAN, 9, "zur\xFC" "ckkehren"},     // ü
      {NLS_GERMAN, 49, "gro\xDF"},               // ß
      {NLS_GERMAN, 21, "ge\xF6" "ffnet"},        // ö
      {NLS_PORTUGUESE, 10, "instala\xE7\xE3o"},  // ç ã
      {NLS_SPANISH, 49, "tama\xF1o"},            // ñ
      {NLS_SPANISH, 8, "\xBF" "Desea"},          // ¿
      {NLS_ITALIAN, 11, "verr\xE0"},             // à
      {NLS_ITALIAN, 20, "invalider\xE0"},        // à
  };
  for (const auto& c : cases) {
    EXPECT_NE(strstr(c.table[c.index], c.part), nullptr) << c.index << ": " << c.part;
  }
}

TEST(SetupMessagesBytes, NoUtf8AndNoControlBytes) {
  for (const Language& lang : kLanguages) {
    for (int i = 0; i < kSetupMessages; ++i) {
      const auto* text = reinterpret_cast<const unsigned char*>(lang.table[i]);
      for (size_t k = 0; text[k] != 0; ++k) {
        unsigned char c = text[k];
        // Printable ASCII, the line end, or a printable Latin-1 character.
        EXPECT_TRUE((c >= 0x20 && c < 0x7F) || c == '\n' || c >= 0xA0)
            << lang.name << " " << i << " byte " << k << " is " << int(c);
        // The UTF-8 form of a Latin-1 letter: lead byte 0xC2/0xC3, then
        // 0x80-0xBF.
        if (c == 0xC2 || c == 0xC3) {
          EXPECT_FALSE(text[k + 1] >= 0x80 && text[k + 1] <= 0xBF)
              << lang.name << " " << i << " holds UTF-8 at byte " << k;
        }
      }
    }
  }
}

// Each case starts with no table chosen and LANG as the case says.
class SetupLanguage : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* lang = getenv("LANG")) saved_ = lang;
    pCurLang = nullptr;
  }
  void TearDown() override {
    if (saved_) {
      setenv("LANG", saved_->c_str(), 1);
    } else {
      unsetenv("LANG");
    }
    pCurLang = nullptr;
  }
  static void SetLang(const char* value) {
    if (value == nullptr) {
      unsetenv("LANG");
    } else {
      setenv("LANG", value, 1);
    }
  }
  std::optional<std::string> saved_;
  // The variables that come before LANG are out of the way.
  EnvScope all_{"LC_ALL", nullptr};
  EnvScope messages_{"LC_MESSAGES", nullptr};
};

// The locale chooses by language and territory, today's names and the
// older ones alike; a codeset or modifier after them does not count, and
// LC_ALL and LC_MESSAGES come before LANG as in the C library.
TEST_F(SetupLanguage, ChosenFromTheLocale) {
  const struct {
    const char* lang;  // nullptr: unset
    const SetupMessage* table;
    const char* lcAll = nullptr;
    const char* lcMessages = nullptr;
  } cases[] = {
      {nullptr, NLS_ENGLISH},          {"", NLS_ENGLISH},
      {"C", NLS_ENGLISH},              {"de_DE", NLS_GERMAN},
      {"pt_BR", NLS_PORTUGUESE},       {"EN_US", NLS_ENGLISH},
      {"FR_FR", NLS_ENGLISH},          {"es_ES.ISO8859-1", NLS_SPANISH},
      {"en_US.UTF-8", NLS_ENGLISH},    {"es", NLS_ENGLISH},
      {"en_US", NLS_ENGLISH},          {"es_ES", NLS_SPANISH},
      {"it_IT", NLS_ITALIAN},          {"fr_FR", NLS_FRENCH},
      {"ge_GE", NLS_GERMAN},           {"pr_BR", NLS_PORTUGUESE},
      {"fr_FR.UTF-8", NLS_FRENCH},     {"fr_FR@euro", NLS_FRENCH},
      {"de_DE.utf8", NLS_GERMAN},      {"de_AT.UTF-8", NLS_ENGLISH},
      {"fr_FR", NLS_ENGLISH, "C"},     {"fr_FR", NLS_ITALIAN, nullptr, "it_IT.UTF-8"},
      {"fr_FR", NLS_GERMAN, "de_DE.UTF-8", "it_IT"}, {"fr_FR", NLS_FRENCH, "", ""},
  };
  for (const auto& c : cases) {
    const std::string name = std::string(c.lang ? c.lang : "(unset)") + " LC_ALL=" + (c.lcAll ? c.lcAll : "-") +
                             " LC_MESSAGES=" + (c.lcMessages ? c.lcMessages : "-");
    EnvScope all("LC_ALL", c.lcAll);
    EnvScope messages("LC_MESSAGES", c.lcMessages);
    pCurLang = nullptr;
    SetLang(c.lang);
    const char* text = NlsSetupStrCvt(10);
    EXPECT_EQ(pCurLang, c.table) << name;
    EXPECT_EQ(text, c.table[10]) << name;
  }
}

TEST_F(SetupLanguage, ChoiceIsKeptForTheRun) {
  SetLang("ge_GE");
  EXPECT_EQ(NlsSetupStrCvt(69), NLS_GERMAN[69]);
  SetLang("fr_FR");
  EXPECT_EQ(NlsSetupStrCvt(69), NLS_GERMAN[69]);
  SetLang(nullptr);
  EXPECT_EQ(NlsSetupStrCvt(70), NLS_GERMAN[70]);
  EXPECT_EQ(pCurLang, NLS_GERMAN);
}

TEST_F(SetupLanguage, IndexOutsideTheTableGivesTheEmptyText) {
  SetLang("fr_FR");
  for (int index : {-1, kSetupMessages, INT_MIN, INT_MAX}) {
    const char* text = NlsSetupStrCvt(index);
    ASSERT_NE(text, nullptr) << index;
    EXPECT_STREQ(text, "") << index;
  }
  // The first call chose the table even though its index was refused.
  EXPECT_EQ(pCurLang, NLS_FRENCH);
  EXPECT_EQ(NlsSetupStrCvt(70), NLS_FRENCH[70]);
}

}  // namespace
