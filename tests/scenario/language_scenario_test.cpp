// The installer speaks the language of the locale in everything it says
// to a person, in the sandbox: a preview, an installation, an upgrade kept
// over it, verify with a difference, verify refusing a manifest others may
// write (a reason util builds), rollback, a removal refused by another
// run's lock and then made, a damaged medium, the history and the usage. Under French and
// German no English text of the installer is left and the accented letters
// reach the UTF-8 terminal as UTF-8; under English the texts are the
// English ones, byte for byte.
#include <string>
#include <vector>

#include "install_fixtures.h"
#include "sandbox.h"

namespace {

// One run of setup: its shell line, the status it ends with, and a text it
// says in each language (this file is UTF-8, as the terminal is).
struct Action {
  const char* name;
  std::string line;
  const char* status;
  const char* english;
  const char* french;
  const char* german;
};

// Runs the action's line as root and records it as /root/<name> and "<name>=<status>".
std::string Recorded(const Action& a) {
  return "(" + a.line + ") > /root/" + a.name + " 2>&1; echo " + a.name + "=$?; ";
}

const std::string kFile = "/opt/Vexla/vpxx/vpxx.txt";
const std::string kManifest = "/opt/Vexla/vpxx/setup.manifest";
const std::string kLock = std::string("touch ") + kLockFile + " && chmod 600 " + kLockFile + " && flock " + kLockFile +
                          " sh -c 'touch /root/held; sleep 3' & until [ -e /root/held ]; do sleep 0.05; done; ";

const Action kActions[] = {
    {"preview", "./setup preview install /opt", "0", "Preview of an installation from /media (an installation site)",
     "Aperçu d'une installation depuis /media (un site d'installation)",
     "Vorschau einer Installation von /media (ein Installationsort)"},
    {"first", "./setup install /opt", "0", "", "", ""},
    {"keep", "printf 'y\\n' | ./setup install /opt keep", "0",
     "setup: the earlier installation is kept in /opt/Vexla/.vpxx.previous: setup rollback install /opt puts it back",
     "setup: l'installation précédente est conservée dans /opt/Vexla/.vpxx.previous\xC2\xA0: setup rollback install "
     "/opt la rétablit",
     "setup: die frühere Installation bleibt in /opt/Vexla/.vpxx.previous aufbewahrt"},
    {"verify", "chmod 600 " + kFile + " && ./setup verify install /opt", "1", "mode /opt/Vexla/vpxx/vpxx.txt: 0444 is 0600",
     "mode /opt/Vexla/vpxx/vpxx.txt\xC2\xA0: 0444, maintenant 0600", "Modus /opt/Vexla/vpxx/vpxx.txt: 0444, jetzt 0600"},
    {"planted", "chmod 666 " + kManifest + " && ./setup verify install /opt; s=$?; chmod 644 " + kManifest + "; exit $s",
     "2", "it is writable by others than root (mode 0666)", "d'autres que root peuvent y écrire (mode 0666)",
     "andere als root dürfen es schreiben (Modus 0666)"},
    {"rollback", "./setup rollback install /opt", "0", "/opt/Vexla/vpxx is rolled back to the earlier installation",
     "/opt/Vexla/vpxx est revenu à l'installation précédente",
     "/opt/Vexla/vpxx ist auf die frühere Installation zurückgesetzt"},
    {"locked", kLock + "./setup remove install /opt; s=$?; wait; exit $s", "1",
     "setup: another setup (process ?) is changing this host; nothing was done",
     "setup: un autre setup (processus ?) modifie cet hôte\xC2\xA0; rien n'a été fait",
     "setup: ein anderes setup (Prozess ?) ändert diesen Rechner; es wurde nichts getan"},
    {"remove", "./setup remove install /opt", "0", "/opt/Vexla/vpxx is removed", "/opt/Vexla/vpxx est supprimé",
     "/opt/Vexla/vpxx ist entfernt"},
    {"damaged", "cp -a /media /root/bad && printf x >> /root/bad/pkg_tar.001 && cd /root/bad && ./setup install /opt",
     "1", "ERROR: /root/bad/pkg_tar.001 does not match its checksum: the medium is damaged",
     "ERROR: /root/bad/pkg_tar.001 ne correspond pas à sa somme de contrôle\xC2\xA0: le support est endommagé",
     "ERROR: /root/bad/pkg_tar.001 stimmt nicht mit seiner Prüfsumme überein: das Medium ist beschädigt"},
    {"history", "./setup history", "0", "status 0 (0 failed steps)", "statut 0 (0 étapes échouées)",
     "Status 0 (0 fehlgeschlagene Schritte)"},
    // The synopsis stays as it is, a line beginning "setup history" among
    // it, which programs match; the explanation after it is translated.
    {"help", "./setup --help", "0", "\n       setup history [--json]\n\nInstalls the Vexla print software",
     "\n       setup history [--json]\n\nInstalle le logiciel d'impression Vexla",
     "\n       setup history [--json]\n\nInstalliert die Vexla-Drucksoftware"},
};

// English texts of the installer that these runs show; under another
// language none may be left.
const char* const kEnglishTexts[] = {
    "Preview of an installation", "work directory: ", "earlier installation: ", "kernel release: ",
    "free space: ", "in this order:", "It would write, and ask:", "signature: ", "manifest /opt",
    "the earlier installation", "Do You want to continue", "paths checked against", " is 0",
    "rolled back", "another setup", "nothing was done", " is removed", "does not match its checksum",
    "the medium is damaged", "If you currently have", "writable by others", "failed steps", "print this text",
};

std::vector<std::string> RunActions(const std::string& name, const std::string& lang, SandboxResult* r) {
  SandboxOptions o = FromSite();
  o.env = {"LANG=" + lang};
  o.timeoutSeconds = 150;
  std::string line;
  for (const Action& a : kActions) line += Recorded(a);
  *r = RunInSandbox(name, o, Shell(line));
  std::vector<std::string> said;
  for (const Action& a : kActions) {
    EXPECT_EQ(Printed(r->out, a.name), a.status) << lang << " " << a.name << "\n" << r->Read(std::string("/root/") + a.name);
    said.push_back(r->Read(std::string("/root/") + a.name));
  }
  return said;
}

TEST(LanguageScenario, EveryTextInTheLanguageOfTheLocale) {
  SETUP_REQUIRE_SANDBOX();
  const struct {
    const char* lang;
    const char* Action::*text;
    bool english;
  } languages[] = {{"fr_FR.UTF-8", &Action::french, false},
                   {"de_DE.UTF-8", &Action::german, false},
                   {"en_US.UTF-8", &Action::english, true}};
  for (const auto& l : languages) {
    SCOPED_TRACE(l.lang);
    SandboxResult r;
    const std::vector<std::string> said = RunActions(std::string("language-") + l.lang, l.lang, &r);
    for (size_t i = 0; i < said.size(); ++i) {
      const Action& a = kActions[i];
      EXPECT_TRUE(Contains(said[i], a.*l.text)) << a.name << ": " << a.*l.text << "\n" << said[i];
      if (l.english) continue;
      for (const char* english : kEnglishTexts)
        EXPECT_FALSE(Contains(said[i], english)) << a.name << " says \"" << english << "\"\n" << said[i];
    }
    if (l.english) {
      // Everything the list names is there in English: it names what the
      // runs show.
      std::string all;
      for (const std::string& s : said) all += s;
      for (const char* english : kEnglishTexts) EXPECT_TRUE(Contains(all, english)) << english;
    }
  }
}

}  // namespace
