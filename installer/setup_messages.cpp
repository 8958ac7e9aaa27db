// The installer's own texts in six languages, and the choice of one table for
// the run. The bytes in the program are the bytes the terminal gets, ISO
// 8859-1: letters beyond ASCII are written as \x escapes (write them in
// UTF-8 and let scripts/latin1-literals.py turn them into escapes).
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "TerminalCharset.h"
#include "installer.h"

// ---------------------------------------------------------------------------
// English texts. The other tables translate them entry by entry and keep
// their conversions in the same order, so one call serves every language.

static const char setup_007[] = "\nEnter the new installation directory [%s]: ";
static const char setup_008[] = "Do you want to use %s";
static const char setup_009[] = "Do you want to return to Setup Menu";
static const char setup_010[] = "This entry must be a full path to the installation directory.\n";
static const char setup_011[] = "You must specify an installation directory which will be used";
static const char setup_012[] = "to install the Vexla directory along with its support files and";
static const char setup_013[] = "directories. This utility will create the install directory";
static const char setup_014[] = "if it doesn't already exist.";
static const char setup_017[] = "to create the installation site. This utility will create the";
static const char setup_018[] = "install directory if it doesn't already exist.";
static const char setup_020[] =
    "\nWarning defining another installation directory will invalidate any defined print "
    "queues [%s]\n ";
static const char setup_021[] = "can't open file, %sInstall/disks";
static const char setup_035[] = "%s is logged in\nYou must become root to run %s\n";
static const char setup_042[] = "\nExisting installation directory [%s]\n ";
static const char setup_049[] =
    "There isn't enough space in %s to perform the installation activities. "
    "The temporary work area should be at least %e bytes. "
    "Restart the installation procedure using a work area that has enough space. "
    "\nie: 1. Use /new_work_area_path in place of /tmp"
    "\n    2. Run `setup /new_work_area_path`\n";
static const char setup_055[] =
    "There isn't enough space in %s to perform the installation activities. "
    "The install area should be at least %e bytes. "
    "Restart the installation procedure using an install area that has enough space. "
    "\nie: 1. Use /new_install_path in place of the default location"
    "\n    2. Run 'setup install /new_install_path'\n";
static const char setup_056[] =
    "There isn't enough space to perform the installation activities. "
    "As you are using a working directory, %s on the same partition as the install directory "
    "you have selected, %s this install requires %e bytes free. "
    "Please re-run the install specifing a different location for a working directory "
    "or install directory. Please see the readme if you need help with the syntax.";
static const char setup_057[] = "";
static const char setup_058[] = "setup: ERROR";
static const char setup_059[] = "killed VPrintD %s\n";
static const char setup_060[] = "failed ts get version";
static const char setup_062[] =
    "\nIf you currently have %s printer software installed that uses VPrintD"
    "\nprint daemon, you must delete all your %s print queues prior to installing"
    "\nthis package.\n"
    "\nNOTE: VPrintD is located in <install directory>/%s/%s\n";
static const char setup_063[] = "\nDo You want to continue with the installation? [yn] ";
static const char setup_065[] =
    "Could not determine how much space needed for install, missing isize.\n";
static const char setup_066[] =
    "\nThe following processes are running."
    "\nThe installer can not continue until these terminate:\n";
static const char setup_067[] = "Would you like to:\n";
static const char setup_068[] = "1.  Wait 30 seconds for these processes to terminate\n";
static const char setup_069[] = "2.  Quit the installation\n";
static const char setup_070[] = "\nEnter a selection:  ";

// The texts of what was built later, from 200 on: the lock, preview, verify,
// remove, the saved earlier installation and rollback, the checks of the
// medium, the failed steps, the refusals of the command line.
static const char setup_200[] = "and %d more";
static const char setup_201[] = "%d step of the installation failed; the log %s/%s.log tells more";
static const char setup_202[] = "%d steps of the installation failed; the log %s/%s.log tells more";
static const char setup_203[] = "end of input at a question: nothing more is installed";
static const char setup_204[] = "refused: %s";
static const char setup_205[] = "the work area cannot be resolved";
static const char setup_206[] = "the installation directory must be a full path";
static const char setup_207[] = "the program's path is too long (at most 200 characters)";
static const char setup_208[] = "--json goes with preview, verify or history";
static const char setup_209[] = "the work area may not lie inside %s, which the installation writes";
static const char setup_210[] =
    "the installation would write %s inside the work directory, which is removed at the "
    "end";
static const char setup_211[] = "no directory given";
static const char setup_212[] = "the directory name is too long (at most 200 characters)";
static const char setup_213[] = "a directory name may hold only letters, digits and / . _ - + , @ : =";
static const char setup_214[] = "the lock file %s cannot be locked: %s; nothing was done";
static const char setup_215[] = "the lock file of setup cannot be made (no lock folder); nothing was done";
static const char setup_216[] = "the lock file %s cannot be made (%s); nothing was done";
static const char setup_217[] = "another setup (process %s) is changing this host; nothing was done";
static const char setup_218[] = "waiting for another setup (process %s) to finish";
static const char setup_219[] = "an installation is under way (process %s): what is shown may change";
static const char setup_220[] = "%s cannot be written (%s): a run that is stopped leaves the held folders so";
static const char setup_221[] = "%s is not used: %s";
static const char setup_222[] = "can't change to directory %s";
static const char setup_223[] = "can't change to directory %s : %s";
static const char setup_224[] = "%s: not changed";
static const char setup_225[] = "%s: %s not changed";
static const char setup_226[] = "%s was not changed: %s";
static const char setup_227[] = "path too long: %s";
static const char setup_228[] = "path too long: %s/%s";
static const char setup_229[] = "command line too long, not run: %.60s...";
static const char setup_230[] = "%s is not root's own program: not run";
static const char setup_231[] = "%s was not run";
static const char setup_232[] = "is a symbolic link root may not follow";
static const char setup_233[] = "is not root's (uid %u)";
static const char setup_234[] = "has %lu links";
static const char setup_235[] = "%s is missing from %s, whose disks list names it: the medium is not complete";
static const char setup_236[] =
    "the medium carries no checksum file and is not signed, and this host installs only "
    "media signed by a key of %s";
static const char setup_237[] = "the checksum file %s cannot be read as a file: the medium is damaged";
static const char setup_238[] = "the checksum file %s holds a byte 0: the medium is damaged";
static const char setup_239[] = "%s is missing from %s, whose checksum file names it: the medium is not complete";
static const char setup_240[] = "the checksum file %s/%s is damaged, line %d";
static const char setup_241[] = "the checksum file %s/%s holds no line: the medium is damaged";
static const char setup_242[] = "%s has no line in the checksum file %s/%s: the medium is damaged";
static const char setup_243[] = "%s in %s cannot be read as a file: the medium is damaged";
static const char setup_244[] = "%s/%s does not match its checksum: the medium is damaged";
static const char setup_245[] = "the key folder %s cannot be trusted: %s";
static const char setup_246[] = "the key folder %s cannot be opened: %s";
static const char setup_247[] = "it is a symbolic link";
static const char setup_248[] = "it is not a folder";
static const char setup_249[] = "the key folder %s cannot be read: %s";
static const char setup_250[] = "the key %s cannot be trusted: %s";
static const char setup_251[] = "the key %s cannot be read: %s";
static const char setup_252[] = "the key %s is damaged: %s";
static const char setup_253[] = "the signature file %s is not a regular file: the medium is damaged";
static const char setup_254[] = "the signature file %s cannot be read: %s";
static const char setup_255[] = "the signature file %s is damaged: %s";
static const char setup_256[] = "the medium is not signed, and this host installs only media signed by a key of %s";
static const char setup_257[] =
    "The medium is signed by key %s; its signature was not checked: no key is kept in "
    "%s\n";
static const char setup_258[] = "the signature %s/%s by key %s is bad: %s: the medium is damaged or was changed";
static const char setup_259[] = "the medium is signed by key %s, which %s does not hold: nothing was installed";
static const char setup_260[] = "signature: none, the medium is not signed";
static const char setup_261[] = "signature: not recorded";
static const char setup_262[] = "signature: key %s, checked against %s; trusted comment: %s";
static const char setup_263[] = "signature: key %s, not checked, no key is kept in %s; trusted comment: %s";
static const char setup_264[] = "the disks list names a file that cannot be used: %s";
static const char setup_265[] = "the disks list in %s names no archive piece";
static const char setup_266[] = "archive piece %s is missing from %s";
static const char setup_267[] = "archive piece %s in %s cannot be read as a regular file";
static const char setup_268[] = "archive path too long";
static const char setup_269[] = "the product archive %s is cut short: a piece of the medium is damaged";
static const char setup_270[] = "can't create the work directory %s afresh: %s";
static const char setup_271[] = "the work directory %s is not the one just made";
static const char setup_272[] = "the directory name holds a control character";
static const char setup_273[] = "couldn't write %s";
static const char setup_274[] = "is not a directory of its own";
static const char setup_275[] = "belongs to another user";
static const char setup_276[] = "is writable by others";
static const char setup_277[] = "is writable by its group";
static const char setup_278[] = "the work directory %s %s";
static const char setup_279[] = "%s is missing from %s, whose disks list names it";
static const char setup_280[] = "%s in %s cannot be read as a regular file: the medium is damaged";
static const char setup_281[] =
    "the medium %s lies in the work directory %s, which an installation replaces; run "
    "setup from elsewhere or name another work area";
static const char setup_282[] = "the notes %s are not used: %s";
static const char setup_283[] = "they are damaged, line %d";
static const char setup_284[] = "%s was not written: %s";
static const char setup_285[] = "manifest %s";
static const char setup_286[] = "the earlier manifest %s is not used: %s; the new one replaces it";
static const char setup_287[] = "the manifest %s was not written";
static const char setup_288[] = "%s was not removed";
static const char setup_289[] = "missing";
static const char setup_290[] = "type";
static const char setup_291[] = "mode";
static const char setup_292[] = "owner";
static const char setup_293[] = "group";
static const char setup_294[] = "size";
static const char setup_295[] = "content";
static const char setup_296[] = "link";
static const char setup_297[] = "unreadable";
static const char setup_298[] = "%s %s: %s is %s";
static const char setup_299[] = "%zu paths checked against %s: %d differ";
static const char setup_300[] = "the manifest %s is damaged, line %d";
static const char setup_301[] = "no manifest %s: %s";
static const char setup_302[] = "the manifest %s is not trusted: %s; %s";
static const char setup_303[] = "nothing to verify";
static const char setup_304[] = "nothing is removed";
static const char setup_305[] = "nothing to roll back to";
static const char setup_306[] = "it is no longer what the installation made";
static const char setup_307[] = "the link now points to %s";
static const char setup_308[] = "it changed while it was looked at";
static const char setup_309[] = "it was changed since the installation";
static const char setup_310[] = "%s. Remove it anyway? [y/N] ";
static const char setup_311[] = "its set-user-ID bits could not be taken off: %s";
static const char setup_312[] = "it is not empty";
static const char setup_313[] = "kept %s: %s";
static const char setup_314[] = "%s is removed";
static const char setup_315[] = "%zu paths were kept; %s lists what remains";
static const char setup_316[] = "%zu paths were kept; %s could not be rewritten";
static const char setup_317[] = "it has no manifest";
static const char setup_318[] = "its manifest is not trusted: %s";
static const char setup_319[] = "a run over it was stopped (%s)";
static const char setup_320[] = "there is no earlier installation in %s to keep (keep); nothing was done";
static const char setup_321[] = "the earlier installation in %s cannot be kept (keep): %s; nothing was done";
static const char setup_322[] = "the upgrade is not complete; the earlier installation is saved in %s";
static const char setup_323[] = "to go back to it: setup rollback install %s";
static const char setup_324[] = "there is no room to keep the earlier installation (keep); nothing was done";
static const char setup_325[] = "there is no room to save the earlier installation; the upgrade goes on without";
static const char setup_326[] = "the earlier installation saved in %s";
static const char setup_327[] = "the earlier installation saved in %s is kept as it is";
static const char setup_328[] = "the earlier installation in %s is not saved: %s";
static const char setup_329[] = "the earlier installation could not be saved in %s (the log %s/%s.log tells why)";
static const char setup_330[] = "keep was asked for; nothing of the installation was changed";
static const char setup_331[] = "the earlier installation is saved in %s";
static const char setup_332[] = "the earlier installation is saved in %s, in place of an older one";
static const char setup_333[] = "the earlier installation is kept in %s: setup rollback install %s puts it back";
static const char setup_334[] = "the earlier installation saved in %s stays: setup rollback puts it back\n";
static const char setup_335[] = "took off %s";
static const char setup_336[] = "not restored %s: %s";
static const char setup_337[] = "a symbolic link that root does not own leads there";
static const char setup_338[] = "something other than a folder stands where the earlier installation had one";
static const char setup_339[] = "a folder stands where the earlier installation had a file";
static const char setup_340[] =
    "%s is not rolled back completely: its tree and manifest are restored, %d outside "
    "paths restored, %d of the new installation's taken off, %d left as they are (named "
    "above)";
static const char setup_341[] = "the rollback is not complete; the earlier installation stays saved in %s";
static const char setup_342[] = "once the paths named are cleared, setup rollback install %s can be made again";
static const char setup_343[] = "nothing to roll back to: %s is not a complete saved installation";
static const char setup_344[] = "nothing to roll back to: no saved installation %s";
static const char setup_345[] =
    "%s is rolled back to the earlier installation: its tree and manifest restored, %d "
    "outside paths restored, %d of the new installation's taken off";
static const char setup_346[] = "the preview's JSON output cannot be set up";
static const char setup_347[] = "the preview cannot go on: %s";
static const char setup_348[] = "no private directory can be made in the work area";
static const char setup_349[] =
    "Preview of an installation from %s (a diskette set in the work directory) into "
    "%s/Vexla/vpxx; nothing is changed.";
static const char setup_350[] =
    "Preview of an installation from %s (an installation site) into %s/Vexla/vpxx; "
    "nothing is changed.";
static const char setup_351[] = "work directory: %s";
static const char setup_352[] = "earlier installation: %s";
static const char setup_353[] = "earlier installation: none";
static const char setup_354[] = "kernel release: %s";
static const char setup_355[] = "kernel release: unknown";
static const char setup_356[] = "free space: enough in the work area %s and in %s";
static const char setup_357[] = "free space: not checked (no_space_check)";
static const char setup_358[] = "\nThe installation would run, in this order:";
static const char setup_359[] = "\nIt would write, and ask:";
static const char setup_360[] = "a question: go on over the earlier installation in %s? (y goes on)";
static const char setup_361[] = "link /usr/Vexla -> %s/Vexla";
static const char setup_362[] = "link /usr/Vexla/vpxx -> %s/Vexla/vpxx";
static const char setup_363[] = "/usr/Vexla/vpxx exists and is not a link; not linked";
static const char setup_364[] = "%s is not made set-user-ID: the installation is not complete";
static const char setup_365[] = "%s was not made set-user-ID";
static const char setup_366[] = "file %s: \"%s\"";
static const char setup_367[] = "%s was not written";
static const char setup_368[] = "can't remove the stale %s";
static const char setup_369[] = "can't create %s fresh: %s";
static const char setup_370[] = "the sed edit of %s was not put in place";
static const char setup_371[] = "link %s -> %s/%s";
static const char setup_372[] = "wrapper name too long: %s";
static const char setup_373[] = "package list, line %d: %s %s failed";
static const char setup_374[] = "%s, line %d: %s";
static const char setup_375[] = "package list path too long";
static const char setup_376[] = "a question: wait for the running programs %s or quit?";
static const char setup_377[] = "script %s";
static const char setup_378[] = "a release condition needs an operator and a release";
static const char setup_379[] = "the line names no file";
static const char setup_380[] = "dirto needs a destination";
static const char setup_381[] = "a name holds a character the shell would misread: %s";
static const char setup_382[] = "the value of %s holds a character the shell would misread: %s";
static const char setup_383[] = "it is damaged, line %d";
static const char setup_384[] = "preview, verify, remove, rollback and history go alone: one of them a run";
static const char setup_385[] = "%s is not there";
static const char setup_386[] = "%s cannot be opened: %s";
static const char setup_387[] = "%s is not root's";
static const char setup_388[] = "%s, and it cannot be set aside: %s";
static const char setup_389[] = "the history %s is not used: %s; it is set aside as %s and a new history is begun";
static const char setup_390[] = "it keeps changing";
static const char setup_391[] = "the history %s cannot be written (%s): this run is not recorded there";
static const char setup_392[] = "no history yet: %s does not exist";
static const char setup_393[] = "the history %s is not used: %s";
static const char setup_394[] = "the history %s cannot be read: %s";
static const char setup_395[] = "%s, line %d, is not a JSON object: passed over";
static const char setup_396[] = "the history %s holds no run";
static const char setup_397[] = "no medium";
static const char setup_398[] = "medium %s without checksums";
static const char setup_399[] = "medium %s sha256 %s...";
static const char setup_400[] = "status %d (1 failed step)";
static const char setup_401[] = "status %d (%d failed steps)";
static const char setup_402[] = "signed by %s";
static const char setup_403[] = "the line was cut short";
// The texts of util/ and syscmd/ (UtilText.h, in its order), from 404 on.
static const char setup_404[] = "couldn't open %s";
static const char setup_405[] = "can't open file, %s";
static const char setup_406[] = "couldn't write %s";
static const char setup_407[] = "Unable to allocate memory";
static const char setup_408[] = "unable to locate system command '%s'";
static const char setup_409[] = "the command that failed: %.*s";
static const char setup_410[] = "could not be started (%s)";
static const char setup_411[] = "exit status %d";
static const char setup_412[] = "killed by signal %d";
static const char setup_413[] = "ended with wait status %d";
static const char setup_414[] = "command line too long";
static const char setup_415[] = "it is not owned by root (uid %u)";
static const char setup_416[] = "it is writable by others than root (mode %04o)";
static const char setup_417[] = "it is a symbolic link";
static const char setup_418[] = "it is not a folder";
static const char setup_419[] = "it is not a regular file";
static const char setup_420[] = "it has %lu links";
static const char setup_421[] = "is a symbolic link not owned by root";
static const char setup_422[] = "is a symbolic link in a folder that others may write";
static const char setup_423[] = "is not a path below the root folder";
static const char setup_424[] = "is not root's (uid %u)";
static const char setup_425[] = "cannot be reached: %s";
static const char setup_426[] = "cannot be opened: %s";
static const char setup_427[] = "is a symbolic link that cannot be followed";
static const char setup_428[] = "it is too long for a key file";
static const char setup_429[] = "it holds a byte 0 or an overlong line";
static const char setup_430[] = "it does not begin with an untrusted comment";
static const char setup_431[] = "line 2 is not the base64 of a public key";
static const char setup_432[] = "it is not an Ed25519 key";
static const char setup_433[] = "it holds more than two lines";
static const char setup_434[] = "it is too long for a signature file";
static const char setup_435[] = "it holds fewer than four lines";
static const char setup_436[] = "line 2 is not the base64 of a signature";
static const char setup_437[] = "it is of the legacy form, not prehashed (ED)";
static const char setup_438[] = "it is not an Ed25519 signature";
static const char setup_439[] = "line 3 is not a trusted comment";
static const char setup_440[] = "line 4 is not the base64 of a signature";
static const char setup_441[] = "it holds more than four lines";
static const char setup_442[] = "the signature library cannot start";
static const char setup_443[] = "it is by key %s, not %s";
static const char setup_444[] = "the signature does not match the file";
static const char setup_445[] = "the trusted comment does not match its signature";
// The explanation of the usage text, after its synopsis lines.
static const char setup_446[] = "A number is needed here.";
static const char setup_447[] = "This page cannot be shown: there is not enough memory for its layout.\n";
static const char setup_448[] = "This page cannot be shown: its layout is longer than %d lines.\n";
static const char setup_449[] = "Cannot load file %s: the help viewer holds %d files, no more\n";
static const char setup_450[] =
    "\n"
    "Installs the Vexla print software from the medium it is run from (as root).\n"
    "\n"
    "  install DIR     install into DIR/Vexla/vpxx (a full path); without it the\n"
    "                  directory of an earlier installation, else /usr\n"
    "  menu            offer the menu: install, make an installation site, mark\n"
    "                  the work directory as a diskette source\n"
    "  manual          keep the work files at the end\n"
    "  no_space_check  do not check the free space first\n"
    "  WORK_AREA       any other word: the work area (default /tmp), which holds\n"
    "                  the work directory WORK_AREA/VexlaInstall; it may not lie\n"
    "                  inside DIR/Vexla, /var/spool/Vexla or /usr/Vexla\n"
    "  -v              print the version on standard error\n"
    "  preview         show what an installation would do here, changing nothing\n"
    "                  (no root needed): its command lines, files and questions\n"
    "  verify          compare the installation with its manifest\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), one line a difference\n"
    "  remove          take the installation off as its manifest lists it\n"
    "  history         list the runs that changed this host, one line a run\n"
    "                  (/var/log/setup-Vexla.history; reading it needs root)\n"
    "  --json          preview, verify, history: the result as one JSON object\n"
    "                  on standard output (setup(8) describes it)\n"
    "  keep            an upgrade saves the earlier installation in\n"
    "                  DIR/Vexla/.vpxx.previous until it is complete; with keep\n"
    "                  the saved copy stays (none can be made: status 1)\n"
    "  rollback        put the kept earlier installation back, its manifest too\n"
    "                  (status 2: nothing to roll back to)\n"
    "  wait            when another setup is changing this host, wait for it to\n"
    "                  end instead of ending at once with status 1\n"
    "  -h, --help      print this text\n"
    "\n"
    "One setup at a time changes the host: an installation, a removal or a\n"
    "rollback holds the lock /run/setup-Vexla.lock to its end.\n"
    "Questions are answered on standard input (printf 'y\\n' | setup install /opt);\n"
    "input that ends at a question is no answer. Everything an installation runs\n"
    "is logged in /tmp/setup.log, and each run that changed the host appends\n"
    "one line to /var/log/setup-Vexla.history.\n"
    "\n"
    "Exit status: 0 done (verify: all match); 1 failed or not done, a step that\n"
    "failed, a damaged medium, end of input at a question (verify: something\n"
    "differs; remove: something was kept); 2 a directory that does not exist or\n"
    "cannot be used (verify, remove: no manifest, or one that root alone could\n"
    "not have written, or a damaged one).\n";

// The indexes no dialogue shows hold this empty text; they keep every
// message at its number in every language.
static const char kFree[] = "";

// Indexes 71 to 199 are free: the later texts begin at 200, apart from the
// first ones.
#define SETUP_FREE_71_TO_199                                                                \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 71-80 */        \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 81-90 */        \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 91-100 */       \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 101-110 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 111-120 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 121-130 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 131-140 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 141-150 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 151-160 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 161-170 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 171-180 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, /* 181-190 */      \
  kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree, kFree /* 191-199 */

// The tables are constant expressions so that the build checks them: an entry
// too many does not compile, an entry too few would be a null pointer and
// fails the check that follows the tables.

constexpr SetupMessage NLS_ENGLISH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    setup_007,
    setup_008,
    setup_009,
    setup_010,
    setup_011,
    setup_012,
    setup_013,
    setup_014,
    kFree, kFree,  // 15-16
    setup_017,
    setup_018,
    kFree,  // 19
    setup_020,
    setup_021,
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    setup_035,
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    setup_042,
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    setup_049,
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    setup_055,
    setup_056,
    setup_057,
    setup_058,
    setup_059,
    setup_060,
    kFree,  // 61
    setup_062,
    setup_063,
    kFree,  // 64
    setup_065,
    setup_066,
    setup_067,
    setup_068,
    setup_069,
    setup_070,
    SETUP_FREE_71_TO_199,
    setup_200,
    setup_201,
    setup_202,
    setup_203,
    setup_204,
    setup_205,
    setup_206,
    setup_207,
    setup_208,
    setup_209,
    setup_210,
    setup_211,
    setup_212,
    setup_213,
    setup_214,
    setup_215,
    setup_216,
    setup_217,
    setup_218,
    setup_219,
    setup_220,
    setup_221,
    setup_222,
    setup_223,
    setup_224,
    setup_225,
    setup_226,
    setup_227,
    setup_228,
    setup_229,
    setup_230,
    setup_231,
    setup_232,
    setup_233,
    setup_234,
    setup_235,
    setup_236,
    setup_237,
    setup_238,
    setup_239,
    setup_240,
    setup_241,
    setup_242,
    setup_243,
    setup_244,
    setup_245,
    setup_246,
    setup_247,
    setup_248,
    setup_249,
    setup_250,
    setup_251,
    setup_252,
    setup_253,
    setup_254,
    setup_255,
    setup_256,
    setup_257,
    setup_258,
    setup_259,
    setup_260,
    setup_261,
    setup_262,
    setup_263,
    setup_264,
    setup_265,
    setup_266,
    setup_267,
    setup_268,
    setup_269,
    setup_270,
    setup_271,
    setup_272,
    setup_273,
    setup_274,
    setup_275,
    setup_276,
    setup_277,
    setup_278,
    setup_279,
    setup_280,
    setup_281,
    setup_282,
    setup_283,
    setup_284,
    setup_285,
    setup_286,
    setup_287,
    setup_288,
    setup_289,
    setup_290,
    setup_291,
    setup_292,
    setup_293,
    setup_294,
    setup_295,
    setup_296,
    setup_297,
    setup_298,
    setup_299,
    setup_300,
    setup_301,
    setup_302,
    setup_303,
    setup_304,
    setup_305,
    setup_306,
    setup_307,
    setup_308,
    setup_309,
    setup_310,
    setup_311,
    setup_312,
    setup_313,
    setup_314,
    setup_315,
    setup_316,
    setup_317,
    setup_318,
    setup_319,
    setup_320,
    setup_321,
    setup_322,
    setup_323,
    setup_324,
    setup_325,
    setup_326,
    setup_327,
    setup_328,
    setup_329,
    setup_330,
    setup_331,
    setup_332,
    setup_333,
    setup_334,
    setup_335,
    setup_336,
    setup_337,
    setup_338,
    setup_339,
    setup_340,
    setup_341,
    setup_342,
    setup_343,
    setup_344,
    setup_345,
    setup_346,
    setup_347,
    setup_348,
    setup_349,
    setup_350,
    setup_351,
    setup_352,
    setup_353,
    setup_354,
    setup_355,
    setup_356,
    setup_357,
    setup_358,
    setup_359,
    setup_360,
    setup_361,
    setup_362,
    setup_363,
    setup_364,
    setup_365,
    setup_366,
    setup_367,
    setup_368,
    setup_369,
    setup_370,
    setup_371,
    setup_372,
    setup_373,
    setup_374,
    setup_375,
    setup_376,
    setup_377,
    setup_378,
    setup_379,
    setup_380,
    setup_381,
    setup_382,
    setup_383,
    setup_384,
    setup_385,
    setup_386,
    setup_387,
    setup_388,
    setup_389,
    setup_390,
    setup_391,
    setup_392,
    setup_393,
    setup_394,
    setup_395,
    setup_396,
    setup_397,
    setup_398,
    setup_399,
    setup_400,
    setup_401,
    setup_402,
    setup_403,
    setup_404,
    setup_405,
    setup_406,
    setup_407,
    setup_408,
    setup_409,
    setup_410,
    setup_411,
    setup_412,
    setup_413,
    setup_414,
    setup_415,
    setup_416,
    setup_417,
    setup_418,
    setup_419,
    setup_420,
    setup_421,
    setup_422,
    setup_423,
    setup_424,
    setup_425,
    setup_426,
    setup_427,
    setup_428,
    setup_429,
    setup_430,
    setup_431,
    setup_432,
    setup_433,
    setup_434,
    setup_435,
    setup_436,
    setup_437,
    setup_438,
    setup_439,
    setup_440,
    setup_441,
    setup_442,
    setup_443,
    setup_444,
    setup_445,
    setup_446,
    setup_447,
    setup_448,
    setup_449,
    setup_450,
};

constexpr SetupMessage NLS_SPANISH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nIntroduzca el nuevo directorio de instalaci\xF3n [%s]: ",
    /* 8 */ "\xBF" "Desea usar %s",
    /* 9 */ "\xBF" "Desea volver al men\xFA de Setup",
    /* 10 */ "Esta entrada debe ser una ruta completa al directorio de instalaci\xF3n.\n",
    /* 11 */ "Debe especificar un directorio de instalaci\xF3n que se usar\xE1",
    /* 12 */ "para instalar el directorio Vexla junto con sus archivos y",
    /* 13 */ "directorios de soporte. Esta utilidad crear\xE1 el directorio de instalaci\xF3n",
    /* 14 */ "si todav\xED" "a no existe.",
    kFree, kFree,  // 15-16
    /* 17 */ "para crear la ubicaci\xF3n de instalaci\xF3n. Esta utilidad crear\xE1 el",
    /* 18 */ "directorio de instalaci\xF3n si todav\xED" "a no existe.",
    kFree,  // 19
    /* 20 */
    "\nAdvertencia: definir otro directorio de instalaci\xF3n anular\xE1 todas las colas de "
    "impresi\xF3n definidas [%s]\n ",
    /* 21 */ "no se puede abrir el archivo, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s ha iniciado sesi\xF3n\nDebe ser root para ejecutar %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDirectorio de instalaci\xF3n existente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "No hay espacio suficiente en %s para realizar las tareas de instalaci\xF3n. "
    "El \xE1rea de trabajo temporal debe tener un tama\xF1o m\xEDnimo de %e bytes. "
    "Reinicie el procedimiento de instalaci\xF3n con un \xE1rea de trabajo que tenga espacio "
    "suficiente. "
    "\np. ej.: 1. Use /nueva_ruta_de_trabajo en lugar de /tmp"
    "\n        2. Ejecute `setup /nueva_ruta_de_trabajo`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "No hay espacio suficiente en %s para realizar las tareas de instalaci\xF3n. "
    "El \xE1rea de instalaci\xF3n debe tener un tama\xF1o m\xEDnimo de %e bytes. "
    "Reinicie el procedimiento de instalaci\xF3n con un \xE1rea de instalaci\xF3n que tenga espacio "
    "suficiente. "
    "\np. ej.: 1. Use /nueva_ruta_de_instalacion en lugar de la ubicaci\xF3n predeterminada"
    "\n        2. Ejecute 'setup install /nueva_ruta_de_instalacion'\n",
    /* 56 */
    "No hay espacio suficiente para realizar las tareas de instalaci\xF3n. "
    "Como est\xE1 usando un directorio de trabajo, %s, en la misma partici\xF3n que el directorio "
    "de instalaci\xF3n seleccionado, %s, esta instalaci\xF3n necesita %e bytes libres. "
    "Vuelva a ejecutar la instalaci\xF3n indicando otra ubicaci\xF3n para el directorio de trabajo "
    "o para el directorio de instalaci\xF3n. Consulte el archivo readme si necesita ayuda con "
    "la sintaxis.",
    setup_057,
    setup_058,  // the English text
    /* 59 */ "VPrintD %s terminado\n",
    /* 60 */ "no se pudo obtener la versi\xF3n",
    kFree,  // 61
    /* 62 */
    "\nSi tiene instalado software de impresora %s que usa el demonio de"
    "\nimpresi\xF3n VPrintD, debe eliminar todas sus colas de impresi\xF3n %s antes de"
    "\ninstalar este paquete.\n"
    "\nNOTA: VPrintD se encuentra en <directorio de instalaci\xF3n>/%s/%s\n",
    /* 63 */ "\n\xBF" "Desea continuar con la instalaci\xF3n? [yn] ",
    kFree,  // 64
    /* 65 */ "No se pudo determinar el espacio necesario para la instalaci\xF3n: falta isize.\n",
    /* 66 */
    "\nLos siguientes procesos est\xE1n en ejecuci\xF3n."
    "\nEl instalador no puede continuar hasta que terminen:\n",
    /* 67 */ "\xBFQu\xE9 desea hacer?\n",
    /* 68 */ "1.  Esperar 30 segundos a que terminen estos procesos\n",
    /* 69 */ "2.  Salir de la instalaci\xF3n\n",
    /* 70 */ "\nIntroduzca una opci\xF3n:  ",
    SETUP_FREE_71_TO_199,
    /* 200 */ "y %d m\xE1s",
    /* 201 */ "%d paso de la instalaci\xF3n ha fallado; el registro %s/%s.log da m\xE1s detalles",
    /* 202 */ "%d pasos de la instalaci\xF3n han fallado; el registro %s/%s.log da m\xE1s detalles",
    /* 203 */ "fin de la entrada en una pregunta: no se instala nada m\xE1s",
    /* 204 */ "rechazado: %s",
    /* 205 */ "no se puede resolver el \xE1rea de trabajo",
    /* 206 */ "el directorio de instalaci\xF3n debe ser una ruta completa",
    /* 207 */ "la ruta del programa es demasiado larga (200 caracteres como m\xE1ximo)",
    /* 208 */ "--json solo se usa con preview, verify o history",
    /* 209 */ "el \xE1rea de trabajo no puede estar dentro de %s, donde escribe la instalaci\xF3n",
    /* 210 */ "la instalaci\xF3n escribir\xED" "a %s dentro del directorio de trabajo, que se elimina al final",
    /* 211 */ "no se ha indicado ning\xFAn directorio",
    /* 212 */ "el nombre del directorio es demasiado largo (200 caracteres como m\xE1ximo)",
    /* 213 */ "un nombre de directorio solo puede contener letras, cifras y / . _ - + , @ : =",
    /* 214 */ "el archivo de bloqueo %s no se puede bloquear: %s; no se ha hecho nada",
    /* 215 */
    "no se puede crear el archivo de bloqueo de setup (no hay directorio de bloqueo); no se ha hecho nada",
    /* 216 */ "no se puede crear el archivo de bloqueo %s (%s); no se ha hecho nada",
    /* 217 */ "otro setup (proceso %s) est\xE1 modificando este equipo; no se ha hecho nada",
    /* 218 */ "esperando a que termine otro setup (proceso %s)",
    /* 219 */ "hay una instalaci\xF3n en curso (proceso %s): lo que se muestra puede cambiar",
    /* 220 */ "no se puede escribir %s (%s): una ejecuci\xF3n interrumpida deja as\xED los directorios retenidos",
    /* 221 */ "%s no se usa: %s",
    /* 222 */ "no se puede cambiar al directorio %s",
    /* 223 */ "no se puede cambiar al directorio %s : %s",
    /* 224 */ "%s: no modificado",
    /* 225 */ "%s: %s no modificado",
    /* 226 */ "%s no se ha modificado: %s",
    /* 227 */ "ruta demasiado larga: %s",
    /* 228 */ "ruta demasiado larga: %s/%s",
    /* 229 */ "l\xEDnea de comandos demasiado larga, no se ejecuta: %.60s...",
    /* 230 */ "%s no es un programa propio de root: no se ejecuta",
    /* 231 */ "%s no se ha ejecutado",
    /* 232 */ "es un enlace simb\xF3lico que root no puede seguir",
    /* 233 */ "no pertenece a root (uid %u)",
    /* 234 */ "tiene %lu enlaces",
    /* 235 */ "falta %s en %s, cuya lista disks lo nombra: el soporte no est\xE1 completo",
    /* 236 */
    "el soporte no lleva archivo de sumas de comprobaci\xF3n ni est\xE1 firmado, y este equipo solo instala soportes "
    "firmados con una clave de %s",
    /* 237 */ "el archivo de sumas de comprobaci\xF3n %s no se puede leer como archivo: el soporte est\xE1 da\xF1" "ado",
    /* 238 */ "el archivo de sumas de comprobaci\xF3n %s contiene un byte 0: el soporte est\xE1 da\xF1" "ado",
    /* 239 */ "falta %s en %s, cuyo archivo de sumas de comprobaci\xF3n lo nombra: el soporte no est\xE1 completo",
    /* 240 */ "el archivo de sumas de comprobaci\xF3n %s/%s est\xE1 da\xF1" "ado, l\xEDnea %d",
    /* 241 */ "el archivo de sumas de comprobaci\xF3n %s/%s no contiene ninguna l\xEDnea: el soporte est\xE1 da\xF1" "ado",
    /* 242 */ "%s no tiene l\xEDnea en el archivo de sumas de comprobaci\xF3n %s/%s: el soporte est\xE1 da\xF1" "ado",
    /* 243 */ "%s en %s no se puede leer como archivo: el soporte est\xE1 da\xF1" "ado",
    /* 244 */ "%s/%s no coincide con su suma de comprobaci\xF3n: el soporte est\xE1 da\xF1" "ado",
    /* 245 */ "el directorio de claves %s no es de confianza: %s",
    /* 246 */ "no se puede abrir el directorio de claves %s: %s",
    /* 247 */ "es un enlace simb\xF3lico",
    /* 248 */ "no es un directorio",
    /* 249 */ "no se puede leer el directorio de claves %s: %s",
    /* 250 */ "la clave %s no es de confianza: %s",
    /* 251 */ "no se puede leer la clave %s: %s",
    /* 252 */ "la clave %s est\xE1 da\xF1" "ada: %s",
    /* 253 */ "el archivo de firma %s no es un archivo normal: el soporte est\xE1 da\xF1" "ado",
    /* 254 */ "no se puede leer el archivo de firma %s: %s",
    /* 255 */ "el archivo de firma %s est\xE1 da\xF1" "ado: %s",
    /* 256 */ "el soporte no est\xE1 firmado, y este equipo solo instala soportes firmados con una clave de %s",
    /* 257 */
    "El soporte est\xE1 firmado con la clave %s; su firma no se ha comprobado: no hay ninguna clave guardada en %s\n",
    /* 258 */ "la firma %s/%s con la clave %s no es v\xE1lida: %s: el soporte est\xE1 da\xF1" "ado o ha sido modificado",
    /* 259 */ "el soporte est\xE1 firmado con la clave %s, que no est\xE1 en %s: no se ha instalado nada",
    /* 260 */ "firma: ninguna, el soporte no est\xE1 firmado",
    /* 261 */ "firma: no registrada",
    /* 262 */ "firma: clave %s, comprobada con %s; comentario de confianza: %s",
    /* 263 */ "firma: clave %s, no comprobada, no hay ninguna clave guardada en %s; comentario de confianza: %s",
    /* 264 */ "la lista disks nombra un archivo que no se puede usar: %s",
    /* 265 */ "la lista disks de %s no nombra ninguna parte del archivo",
    /* 266 */ "falta la parte del archivo %s en %s",
    /* 267 */ "la parte del archivo %s en %s no se puede leer como archivo normal",
    /* 268 */ "ruta del archivo demasiado larga",
    /* 269 */ "el archivo del producto %s est\xE1 incompleto: una parte del soporte est\xE1 da\xF1" "ada",
    /* 270 */ "no se puede volver a crear el directorio de trabajo %s: %s",
    /* 271 */ "el directorio de trabajo %s no es el que se acaba de crear",
    /* 272 */ "el nombre del directorio contiene un car\xE1" "cter de control",
    /* 273 */ "no se ha podido escribir %s",
    /* 274 */ "no es un directorio propio",
    /* 275 */ "pertenece a otro usuario",
    /* 276 */ "otros pueden escribir en \xE9l",
    /* 277 */ "su grupo puede escribir en \xE9l",
    /* 278 */ "el directorio de trabajo %s: %s",
    /* 279 */ "falta %s en %s, cuya lista disks lo nombra",
    /* 280 */ "%s en %s no se puede leer como archivo normal: el soporte est\xE1 da\xF1" "ado",
    /* 281 */
    "el soporte %s est\xE1 en el directorio de trabajo %s, que una instalaci\xF3n reemplaza; ejecute setup desde otro "
    "lugar o indique otra \xE1rea de trabajo",
    /* 282 */ "las notas %s no se usan: %s",
    /* 283 */ "est\xE1n da\xF1" "adas, l\xEDnea %d",
    /* 284 */ "%s no se ha escrito: %s",
    /* 285 */ "manifiesto %s",
    /* 286 */ "el manifiesto anterior %s no se usa: %s; el nuevo lo reemplaza",
    /* 287 */ "el manifiesto %s no se ha escrito",
    /* 288 */ "%s no se ha eliminado",
    /* 289 */ "falta",
    /* 290 */ "tipo",
    /* 291 */ "modo",
    /* 292 */ "propietario",
    /* 293 */ "grupo",
    /* 294 */ "tama\xF1o",
    /* 295 */ "contenido",
    /* 296 */ "enlace",
    /* 297 */ "ilegible",
    /* 298 */ "%s %s: %s, ahora %s",
    /* 299 */ "%zu rutas comprobadas con %s: %d difieren",
    /* 300 */ "el manifiesto %s est\xE1 da\xF1" "ado, l\xEDnea %d",
    /* 301 */ "no hay manifiesto %s: %s",
    /* 302 */ "el manifiesto %s no es de confianza: %s; %s",
    /* 303 */ "no hay nada que comprobar",
    /* 304 */ "no se elimina nada",
    /* 305 */ "no hay ninguna instalaci\xF3n a la que volver",
    /* 306 */ "ya no es lo que cre\xF3 la instalaci\xF3n",
    /* 307 */ "el enlace apunta ahora a %s",
    /* 308 */ "cambi\xF3 mientras se examinaba",
    /* 309 */ "se ha modificado desde la instalaci\xF3n",
    /* 310 */ "%s. \xBF" "Desea eliminarlo de todos modos? [y/N] ",
    /* 311 */ "no se han podido quitar sus bits set-user-ID: %s",
    /* 312 */ "no est\xE1 vac\xEDo",
    /* 313 */ "conservado %s: %s",
    /* 314 */ "%s se ha eliminado",
    /* 315 */ "se han conservado %zu rutas; %s enumera lo que queda",
    /* 316 */ "se han conservado %zu rutas; %s no se ha podido reescribir",
    /* 317 */ "no tiene manifiesto",
    /* 318 */ "su manifiesto no es de confianza: %s",
    /* 319 */ "una ejecuci\xF3n sobre ella se interrumpi\xF3 (%s)",
    /* 320 */ "no hay ninguna instalaci\xF3n anterior en %s que conservar (keep); no se ha hecho nada",
    /* 321 */ "la instalaci\xF3n anterior de %s no se puede conservar (keep): %s; no se ha hecho nada",
    /* 322 */ "la actualizaci\xF3n no est\xE1 completa; la instalaci\xF3n anterior est\xE1 guardada en %s",
    /* 323 */ "para volver a ella: setup rollback install %s",
    /* 324 */ "no hay espacio para conservar la instalaci\xF3n anterior (keep); no se ha hecho nada",
    /* 325 */ "no hay espacio para guardar la instalaci\xF3n anterior; la actualizaci\xF3n contin\xFA" "a sin guardarla",
    /* 326 */ "la instalaci\xF3n anterior, guardada en %s",
    /* 327 */ "la instalaci\xF3n anterior guardada en %s se conserva tal cual",
    /* 328 */ "la instalaci\xF3n anterior de %s no se guarda: %s",
    /* 329 */ "no se ha podido guardar la instalaci\xF3n anterior en %s (el registro %s/%s.log indica el motivo)",
    /* 330 */ "se ha pedido keep; no se ha modificado nada de la instalaci\xF3n",
    /* 331 */ "la instalaci\xF3n anterior est\xE1 guardada en %s",
    /* 332 */ "la instalaci\xF3n anterior est\xE1 guardada en %s, en lugar de otra m\xE1s antigua",
    /* 333 */ "la instalaci\xF3n anterior se conserva en %s: setup rollback install %s la restablece",
    /* 334 */ "la instalaci\xF3n anterior guardada en %s se conserva: setup rollback la restablece\n",
    /* 335 */ "eliminado %s",
    /* 336 */ "no restablecido %s: %s",
    /* 337 */ "un enlace simb\xF3lico que no pertenece a root lleva hasta ah\xED",
    /* 338 */ "hay algo que no es un directorio donde la instalaci\xF3n anterior ten\xED" "a uno",
    /* 339 */ "hay un directorio donde la instalaci\xF3n anterior ten\xED" "a un archivo",
    /* 340 */
    "%s no se ha revertido por completo: su \xE1rbol y su manifiesto se han restablecido, %d rutas externas "
    "restablecidas, %d de la nueva instalaci\xF3n eliminadas, %d se quedan como est\xE1n (nombradas arriba)",
    /* 341 */ "la reversi\xF3n no est\xE1 completa; la instalaci\xF3n anterior sigue guardada en %s",
    /* 342 */ "una vez despejadas las rutas nombradas, se puede volver a ejecutar setup rollback install %s",
    /* 343 */ "no hay ninguna instalaci\xF3n a la que volver: %s no es una instalaci\xF3n guardada completa",
    /* 344 */ "no hay ninguna instalaci\xF3n a la que volver: no existe la instalaci\xF3n guardada %s",
    /* 345 */
    "%s ha vuelto a la instalaci\xF3n anterior: su \xE1rbol y su manifiesto restablecidos, %d rutas externas "
    "restablecidas, %d de la nueva instalaci\xF3n eliminadas",
    /* 346 */ "no se puede preparar la salida JSON de la vista previa",
    /* 347 */ "la vista previa no puede continuar: %s",
    /* 348 */ "no se puede crear un directorio privado en el \xE1rea de trabajo",
    /* 349 */
    "Vista previa de una instalaci\xF3n desde %s (un juego de disquetes en el directorio de trabajo) en "
    "%s/Vexla/vpxx; no se modifica nada.",
    /* 350 */
    "Vista previa de una instalaci\xF3n desde %s (una ubicaci\xF3n de instalaci\xF3n) en %s/Vexla/vpxx; no se modifica nada.",
    /* 351 */ "directorio de trabajo: %s",
    /* 352 */ "instalaci\xF3n anterior: %s",
    /* 353 */ "instalaci\xF3n anterior: ninguna",
    /* 354 */ "versi\xF3n del kernel: %s",
    /* 355 */ "versi\xF3n del kernel: desconocida",
    /* 356 */ "espacio libre: suficiente en el \xE1rea de trabajo %s y en %s",
    /* 357 */ "espacio libre: no comprobado (no_space_check)",
    /* 358 */ "\nLa instalaci\xF3n ejecutar\xED" "a, en este orden:",
    /* 359 */ "\nEscribir\xED" "a y preguntar\xED" "a:",
    /* 360 */ "una pregunta: \xBF" "continuar sobre la instalaci\xF3n anterior de %s? (y contin\xFA" "a)",
    /* 361 */ "enlace /usr/Vexla -> %s/Vexla",
    /* 362 */ "enlace /usr/Vexla/vpxx -> %s/Vexla/vpxx",
    /* 363 */ "/usr/Vexla/vpxx existe y no es un enlace; no se enlaza",
    /* 364 */ "%s no se hace set-user-ID: la instalaci\xF3n no est\xE1 completa",
    /* 365 */ "%s no se ha hecho set-user-ID",
    /* 366 */ "archivo %s: \"%s\"",
    /* 367 */ "%s no se ha escrito",
    /* 368 */ "no se puede eliminar el %s obsoleto",
    /* 369 */ "no se puede crear %s de nuevo: %s",
    /* 370 */ "la edici\xF3n sed de %s no se ha colocado en su sitio",
    /* 371 */ "enlace %s -> %s/%s",
    /* 372 */ "nombre de script envoltorio demasiado largo: %s",
    /* 373 */ "lista de paquetes, l\xEDnea %d: %s %s ha fallado",
    /* 374 */ "%s, l\xEDnea %d: %s",
    /* 375 */ "ruta de la lista de paquetes demasiado larga",
    /* 376 */ "una pregunta: \xBF" "esperar a los programas en ejecuci\xF3n %s o salir?",
    /* 377 */ "script %s",
    /* 378 */ "una condici\xF3n de versi\xF3n necesita un operador y una versi\xF3n",
    /* 379 */ "la l\xEDnea no nombra ning\xFAn archivo",
    /* 380 */ "dirto necesita un destino",
    /* 381 */ "un nombre contiene un car\xE1" "cter que el shell interpretar\xED" "a mal: %s",
    /* 382 */ "el valor de %s contiene un car\xE1" "cter que el shell interpretar\xED" "a mal: %s",
    /* 383 */ "est\xE1 da\xF1" "ado, l\xEDnea %d",
    /* 384 */ "preview, verify, remove, rollback e history van solos: uno de ellos por ejecuci\xF3n",
    /* 385 */ "%s no existe",
    /* 386 */ "no se puede abrir %s: %s",
    /* 387 */ "%s no pertenece a root",
    /* 388 */ "%s, y no se puede apartar: %s",
    /* 389 */ "el historial %s no se usa: %s; se aparta como %s y se empieza un historial nuevo",
    /* 390 */ "cambia sin cesar",
    /* 391 */ "no se puede escribir el historial %s (%s): esta ejecuci\xF3n no queda registrada en \xE9l",
    /* 392 */ "a\xFAn no hay historial: %s no existe",
    /* 393 */ "el historial %s no se usa: %s",
    /* 394 */ "no se puede leer el historial %s: %s",
    /* 395 */ "%s, l\xEDnea %d, no es un objeto JSON: se omite",
    /* 396 */ "el historial %s no contiene ninguna ejecuci\xF3n",
    /* 397 */ "sin soporte",
    /* 398 */ "soporte %s sin sumas de comprobaci\xF3n",
    /* 399 */ "soporte %s sha256 %s...",
    /* 400 */ "estado %d (1 paso fallido)",
    /* 401 */ "estado %d (%d pasos fallidos)",
    /* 402 */ "firmado por %s",
    /* 403 */ "la l\xEDnea qued\xF3 cortada",
    /* 404 */ "no se pudo abrir %s",
    /* 405 */ "no se puede abrir el archivo, %s",
    /* 406 */ "no se pudo escribir %s",
    /* 407 */ "No se puede asignar memoria",
    /* 408 */ "no se encuentra el comando del sistema '%s'",
    /* 409 */ "el comando que fall\xF3: %.*s",
    /* 410 */ "no se pudo iniciar (%s)",
    /* 411 */ "estado de salida %d",
    /* 412 */ "terminado por la se\xF1" "al %d",
    /* 413 */ "termin\xF3 con el estado de espera %d",
    /* 414 */ "l\xEDnea de comandos demasiado larga",
    /* 415 */ "no pertenece a root (uid %u)",
    /* 416 */ "otros usuarios adem\xE1s de root pueden escribir en \xE9l (modo %04o)",
    /* 417 */ "es un enlace simb\xF3lico",
    /* 418 */ "no es un directorio",
    /* 419 */ "no es un archivo normal",
    /* 420 */ "tiene %lu enlaces",
    /* 421 */ "es un enlace simb\xF3lico que no pertenece a root",
    /* 422 */ "es un enlace simb\xF3lico en un directorio en el que otros pueden escribir",
    /* 423 */ "no es una ruta bajo el directorio ra\xEDz",
    /* 424 */ "no pertenece a root (uid %u)",
    /* 425 */ "no se puede alcanzar: %s",
    /* 426 */ "no se puede abrir: %s",
    /* 427 */ "es un enlace simb\xF3lico que no se puede seguir",
    /* 428 */ "es demasiado largo para un archivo de clave",
    /* 429 */ "contiene un byte 0 o una l\xEDnea demasiado larga",
    /* 430 */ "no empieza por un comentario no fiable",
    /* 431 */ "la l\xEDnea 2 no es el base64 de una clave p\xFA" "blica",
    /* 432 */ "no es una clave Ed25519",
    /* 433 */ "contiene m\xE1s de dos l\xEDneas",
    /* 434 */ "es demasiado largo para un archivo de firma",
    /* 435 */ "contiene menos de cuatro l\xEDneas",
    /* 436 */ "la l\xEDnea 2 no es el base64 de una firma",
    /* 437 */ "tiene la forma antigua, sin prehash (ED)",
    /* 438 */ "no es una firma Ed25519",
    /* 439 */ "la l\xEDnea 3 no es un comentario de confianza",
    /* 440 */ "la l\xEDnea 4 no es el base64 de una firma",
    /* 441 */ "contiene m\xE1s de cuatro l\xEDneas",
    /* 442 */ "la biblioteca de firmas no puede iniciarse",
    /* 443 */ "es de la clave %s, no de %s",
    /* 444 */ "la firma no corresponde al archivo",
    /* 445 */ "el comentario de confianza no corresponde a su firma",
    /* 446 */ "Aqu\xED se necesita un n\xFAmero.",
    /* 447 */ "Esta p\xE1gina no se puede mostrar: no hay memoria suficiente para su dise\xF1o.\n",
    /* 448 */ "Esta p\xE1gina no se puede mostrar: su dise\xF1o tiene m\xE1s de %d l\xEDneas.\n",
    /* 449 */ "No se puede cargar el archivo %s: el visor de ayuda admite %d archivos, no m\xE1s\n",
    /* 450 */
    "\n"
    "Instala el software de impresi\xF3n Vexla desde el soporte desde el que se\n"
    "ejecuta (como root).\n"
    "\n"
    "  install DIR     instalar en DIR/Vexla/vpxx (una ruta completa); sin \xE9l, en\n"
    "                  el directorio de una instalaci\xF3n anterior, si no en /usr\n"
    "  menu            ofrecer el men\xFA: instalar, crear una ubicaci\xF3n de\n"
    "                  instalaci\xF3n, marcar el directorio de trabajo como origen\n"
    "                  de disquetes\n"
    "  manual          conservar los archivos de trabajo al final\n"
    "  no_space_check  no comprobar antes el espacio libre\n"
    "  WORK_AREA       cualquier otra palabra: el \xE1rea de trabajo (por omisi\xF3n\n"
    "                  /tmp), que contiene el directorio de trabajo\n"
    "                  WORK_AREA/VexlaInstall; no puede estar dentro de\n"
    "                  DIR/Vexla, /var/spool/Vexla ni /usr/Vexla\n"
    "  -v              mostrar la versi\xF3n en la salida de error est\xE1ndar\n"
    "  preview         mostrar lo que har\xED" "a aqu\xED una instalaci\xF3n, sin cambiar nada\n"
    "                  (no hace falta root): sus l\xEDneas de comandos, archivos y\n"
    "                  preguntas\n"
    "  verify          comparar la instalaci\xF3n con su manifiesto\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), una l\xEDnea por diferencia\n"
    "  remove          quitar la instalaci\xF3n tal como la enumera su manifiesto\n"
    "  history         listar las ejecuciones que cambiaron este host, una l\xEDnea\n"
    "                  por ejecuci\xF3n (/var/log/setup-Vexla.history; leerlo\n"
    "                  requiere root)\n"
    "  --json          preview, verify, history: el resultado como un solo objeto\n"
    "                  JSON en la salida est\xE1ndar (lo describe setup(8))\n"
    "  keep            una actualizaci\xF3n guarda la instalaci\xF3n anterior en\n"
    "                  DIR/Vexla/.vpxx.previous hasta que termina; con keep la\n"
    "                  copia guardada se conserva (si no se puede hacer: estado 1)\n"
    "  rollback        restablecer la instalaci\xF3n anterior guardada, tambi\xE9n su\n"
    "                  manifiesto (estado 2: nada que restablecer)\n"
    "  wait            cuando otro setup est\xE1 cambiando este host, esperar a que\n"
    "                  termine en lugar de terminar enseguida con el estado 1\n"
    "  -h, --help      mostrar este texto\n"
    "\n"
    "Un solo setup a la vez cambia el host: una instalaci\xF3n, una eliminaci\xF3n o un\n"
    "rollback mantiene el bloqueo /run/setup-Vexla.lock hasta su final.\n"
    "Las preguntas se contestan en la entrada est\xE1ndar (printf 'y\\n' | setup\n"
    "install /opt); una entrada que termina en una pregunta no es una respuesta.\n"
    "Todo lo que ejecuta una instalaci\xF3n se registra en /tmp/setup.log, y cada\n"
    "ejecuci\xF3n que cambi\xF3 el host a\xF1" "ade una l\xEDnea a /var/log/setup-Vexla.history.\n"
    "\n"
    "Estado de salida: 0 hecho (verify: todo coincide); 1 fall\xF3 o no se hizo, un\n"
    "paso que fall\xF3, un soporte da\xF1" "ado, fin de la entrada en una pregunta\n"
    "(verify: algo difiere; remove: algo se conserv\xF3); 2 un directorio que no\n"
    "existe o no se puede usar (verify, remove: ning\xFAn manifiesto, o uno que root\n"
    "solo no podr\xED" "a haber escrito, o uno da\xF1" "ado).\n",
};

constexpr SetupMessage NLS_ITALIAN[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nImmettere la nuova directory di installazione [%s]: ",
    /* 8 */ "Si desidera usare %s",
    /* 9 */ "Si desidera tornare al menu di Setup",
    /* 10 */ "Il valore immesso deve essere il percorso completo della directory di installazione.\n",
    /* 11 */ "Occorre specificare una directory di installazione che verr\xE0 usata",
    /* 12 */ "per installare la directory Vexla insieme ai file e alle",
    /* 13 */ "directory di supporto. Questo programma creer\xE0 la directory di installazione",
    /* 14 */ "se non esiste gi\xE0.",
    kFree, kFree,  // 15-16
    /* 17 */ "per creare la posizione di installazione. Questo programma creer\xE0 la",
    /* 18 */ "directory di installazione se non esiste gi\xE0.",
    kFree,  // 19
    /* 20 */
    "\nAttenzione: definire un'altra directory di installazione invalider\xE0 tutte le code di "
    "stampa definite [%s]\n ",
    /* 21 */ "impossibile aprire il file, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "Utente corrente: %s\nOccorre essere root per eseguire %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDirectory di installazione esistente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "Spazio insufficiente in %s per eseguire le operazioni di installazione. "
    "L'area di lavoro temporanea deve disporre di almeno %e byte. "
    "Riavviare la procedura di installazione usando un'area di lavoro con spazio sufficiente. "
    "\nes.: 1. Usare /nuovo_percorso_di_lavoro al posto di /tmp"
    "\n     2. Eseguire `setup /nuovo_percorso_di_lavoro`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "Spazio insufficiente in %s per eseguire le operazioni di installazione. "
    "L'area di installazione deve disporre di almeno %e byte. "
    "Riavviare la procedura di installazione usando un'area di installazione con spazio "
    "sufficiente. "
    "\nes.: 1. Usare /nuovo_percorso_di_installazione al posto della posizione predefinita"
    "\n     2. Eseguire 'setup install /nuovo_percorso_di_installazione'\n",
    /* 56 */
    "Spazio insufficiente per eseguire le operazioni di installazione. "
    "Poich\xE9 la directory di lavoro in uso, %s, si trova sulla stessa partizione della "
    "directory di installazione selezionata, %s, questa installazione richiede %e byte liberi. "
    "Rieseguire l'installazione specificando una posizione diversa per la directory di lavoro "
    "o per la directory di installazione. Per un aiuto sulla sintassi consultare il file "
    "readme.",
    setup_057,
    /* 58 */ "setup: ERRORE",
    /* 59 */ "VPrintD %s terminato\n",
    /* 60 */ "impossibile ottenere la versione",
    kFree,  // 61
    /* 62 */
    "\nSe \xE8 installato un software di stampa %s che usa il daemon di stampa"
    "\nVPrintD, occorre eliminare tutte le code di stampa %s prima di installare"
    "\nquesto pacchetto.\n"
    "\nNOTA: VPrintD si trova in <directory di installazione>/%s/%s\n",
    /* 63 */ "\nSi desidera continuare con l'installazione? [yn] ",
    kFree,  // 64
    /* 65 */
    "Impossibile determinare lo spazio necessario per l'installazione: manca isize.\n",
    /* 66 */
    "\nI seguenti processi sono in esecuzione."
    "\nL'installazione non pu\xF2 continuare finch\xE9 non terminano:\n",
    /* 67 */ "Scegliere una delle opzioni:\n",
    /* 68 */ "1.  Attendere 30 secondi che questi processi terminino\n",
    /* 69 */ "2.  Uscire dall'installazione\n",
    /* 70 */ "\nScegliere un\'opzione:  ",
    SETUP_FREE_71_TO_199,
    /* 200 */ "e altri %d",
    /* 201 */ "%d passo dell'installazione non \xE8 riuscito; il log %s/%s.log fornisce maggiori dettagli",
    /* 202 */ "%d passi dell'installazione non sono riusciti; il log %s/%s.log fornisce maggiori dettagli",
    /* 203 */ "fine dell'input a una domanda: non viene installato altro",
    /* 204 */ "rifiutato: %s",
    /* 205 */ "impossibile risolvere l'area di lavoro",
    /* 206 */ "la directory di installazione deve essere un percorso completo",
    /* 207 */ "il percorso del programma \xE8 troppo lungo (al massimo 200 caratteri)",
    /* 208 */ "--json si usa solo con preview, verify o history",
    /* 209 */ "l'area di lavoro non pu\xF2 trovarsi all'interno di %s, in cui scrive l'installazione",
    /* 210 */
    "l'installazione scriverebbe %s all'interno della directory di lavoro, che viene rimossa alla fine",
    /* 211 */ "nessuna directory indicata",
    /* 212 */ "il nome della directory \xE8 troppo lungo (al massimo 200 caratteri)",
    /* 213 */ "un nome di directory pu\xF2 contenere solo lettere, cifre e / . _ - + , @ : =",
    /* 214 */ "impossibile bloccare il file di blocco %s: %s; non \xE8 stato fatto nulla",
    /* 215 */
    "impossibile creare il file di blocco di setup (nessuna directory per il blocco); non \xE8 stato fatto nulla",
    /* 216 */ "impossibile creare il file di blocco %s (%s); non \xE8 stato fatto nulla",
    /* 217 */ "un altro setup (processo %s) sta modificando questo host; non \xE8 stato fatto nulla",
    /* 218 */ "in attesa che un altro setup (processo %s) termini",
    /* 219 */ "\xE8 in corso un'installazione (processo %s): quanto mostrato pu\xF2 cambiare",
    /* 220 */ "impossibile scrivere %s (%s): un'esecuzione interrotta lascia cos\xEC le directory trattenute",
    /* 221 */ "%s non viene usato: %s",
    /* 222 */ "impossibile passare alla directory %s",
    /* 223 */ "impossibile passare alla directory %s : %s",
    /* 224 */ "%s: non modificato",
    /* 225 */ "%s: %s non modificato",
    /* 226 */ "%s non \xE8 stato modificato: %s",
    /* 227 */ "percorso troppo lungo: %s",
    /* 228 */ "percorso troppo lungo: %s/%s",
    /* 229 */ "riga di comando troppo lunga, non eseguita: %.60s...",
    /* 230 */ "%s non \xE8 un programma di root: non eseguito",
    /* 231 */ "%s non \xE8 stato eseguito",
    /* 232 */ "\xE8 un collegamento simbolico che root non pu\xF2 seguire",
    /* 233 */ "non appartiene a root (uid %u)",
    /* 234 */ "ha %lu collegamenti",
    /* 235 */ "%s manca in %s, il cui elenco disks lo nomina: il supporto non \xE8 completo",
    /* 236 */
    "il supporto non contiene il file dei checksum e non \xE8 firmato, e questo host installa solo supporti firmati "
    "con una chiave di %s",
    /* 237 */ "il file dei checksum %s non pu\xF2 essere letto come file: il supporto \xE8 danneggiato",
    /* 238 */ "il file dei checksum %s contiene un byte 0: il supporto \xE8 danneggiato",
    /* 239 */ "%s manca in %s, il cui file dei checksum lo nomina: il supporto non \xE8 completo",
    /* 240 */ "il file dei checksum %s/%s \xE8 danneggiato, riga %d",
    /* 241 */ "il file dei checksum %s/%s non contiene righe: il supporto \xE8 danneggiato",
    /* 242 */ "%s non ha una riga nel file dei checksum %s/%s: il supporto \xE8 danneggiato",
    /* 243 */ "%s in %s non pu\xF2 essere letto come file: il supporto \xE8 danneggiato",
    /* 244 */ "%s/%s non corrisponde al suo checksum: il supporto \xE8 danneggiato",
    /* 245 */ "la directory delle chiavi %s non \xE8 attendibile: %s",
    /* 246 */ "impossibile aprire la directory delle chiavi %s: %s",
    /* 247 */ "\xE8 un collegamento simbolico",
    /* 248 */ "non \xE8 una directory",
    /* 249 */ "impossibile leggere la directory delle chiavi %s: %s",
    /* 250 */ "la chiave %s non \xE8 attendibile: %s",
    /* 251 */ "impossibile leggere la chiave %s: %s",
    /* 252 */ "la chiave %s \xE8 danneggiata: %s",
    /* 253 */ "il file della firma %s non \xE8 un file normale: il supporto \xE8 danneggiato",
    /* 254 */ "impossibile leggere il file della firma %s: %s",
    /* 255 */ "il file della firma %s \xE8 danneggiato: %s",
    /* 256 */ "il supporto non \xE8 firmato, e questo host installa solo supporti firmati con una chiave di %s",
    /* 257 */
    "Il supporto \xE8 firmato con la chiave %s; la sua firma non \xE8 stata verificata: nessuna chiave \xE8 conservata in "
    "%s\n",
    /* 258 */ "la firma %s/%s con la chiave %s non \xE8 valida: %s: il supporto \xE8 danneggiato o \xE8 stato modificato",
    /* 259 */ "il supporto \xE8 firmato con la chiave %s, che non si trova in %s: non \xE8 stato installato nulla",
    /* 260 */ "firma: nessuna, il supporto non \xE8 firmato",
    /* 261 */ "firma: non registrata",
    /* 262 */ "firma: chiave %s, verificata con %s; commento attendibile: %s",
    /* 263 */ "firma: chiave %s, non verificata, nessuna chiave \xE8 conservata in %s; commento attendibile: %s",
    /* 264 */ "l'elenco disks nomina un file che non pu\xF2 essere usato: %s",
    /* 265 */ "l'elenco disks in %s non nomina alcuna parte dell'archivio",
    /* 266 */ "la parte dell'archivio %s manca in %s",
    /* 267 */ "la parte dell'archivio %s in %s non pu\xF2 essere letta come file normale",
    /* 268 */ "percorso dell'archivio troppo lungo",
    /* 269 */ "l'archivio del prodotto %s \xE8 troncato: una parte del supporto \xE8 danneggiata",
    /* 270 */ "impossibile ricreare la directory di lavoro %s: %s",
    /* 271 */ "la directory di lavoro %s non \xE8 quella appena creata",
    /* 272 */ "il nome della directory contiene un carattere di controllo",
    /* 273 */ "impossibile scrivere %s",
    /* 274 */ "non \xE8 una directory a s\xE9 stante",
    /* 275 */ "appartiene a un altro utente",
    /* 276 */ "\xE8 scrivibile da altri",
    /* 277 */ "\xE8 scrivibile dal suo gruppo",
    /* 278 */ "la directory di lavoro %s %s",
    /* 279 */ "%s manca in %s, il cui elenco disks lo nomina",
    /* 280 */ "%s in %s non pu\xF2 essere letto come file normale: il supporto \xE8 danneggiato",
    /* 281 */
    "il supporto %s si trova nella directory di lavoro %s, che un'installazione sostituisce; eseguire setup da "
    "un'altra posizione o indicare un'altra area di lavoro",
    /* 282 */ "le note %s non vengono usate: %s",
    /* 283 */ "sono danneggiate, riga %d",
    /* 284 */ "%s non \xE8 stato scritto: %s",
    /* 285 */ "file manifest %s",
    /* 286 */ "il manifest precedente %s non viene usato: %s; il nuovo lo sostituisce",
    /* 287 */ "il manifest %s non \xE8 stato scritto",
    /* 288 */ "%s non \xE8 stato rimosso",
    /* 289 */ "mancante",
    /* 290 */ "tipo",
    /* 291 */ "modo",
    /* 292 */ "proprietario",
    /* 293 */ "gruppo",
    /* 294 */ "dimensione",
    /* 295 */ "contenuto",
    /* 296 */ "collegamento",
    /* 297 */ "illeggibile",
    /* 298 */ "%s %s: %s, ora %s",
    /* 299 */ "%zu percorsi verificati con %s: %d differiscono",
    /* 300 */ "il manifest %s \xE8 danneggiato, riga %d",
    /* 301 */ "nessun manifest %s: %s",
    /* 302 */ "il manifest %s non \xE8 attendibile: %s; %s",
    /* 303 */ "niente da verificare",
    /* 304 */ "non viene rimosso nulla",
    /* 305 */ "nessuna installazione a cui tornare",
    /* 306 */ "non \xE8 pi\xF9 ci\xF2 che l'installazione ha creato",
    /* 307 */ "il collegamento ora punta a %s",
    /* 308 */ "\xE8 cambiato mentre veniva esaminato",
    /* 309 */ "\xE8 stato modificato dopo l'installazione",
    /* 310 */ "%s. Rimuoverlo comunque? [y/N] ",
    /* 311 */ "impossibile togliere i suoi bit set-user-ID: %s",
    /* 312 */ "non \xE8 vuota",
    /* 313 */ "mantenuto %s: %s",
    /* 314 */ "%s \xE8 stato rimosso",
    /* 315 */ "%zu percorsi sono stati mantenuti; %s elenca ci\xF2 che rimane",
    /* 316 */ "%zu percorsi sono stati mantenuti; impossibile riscrivere %s",
    /* 317 */ "non ha un manifest",
    /* 318 */ "il suo manifest non \xE8 attendibile: %s",
    /* 319 */ "un'esecuzione su di essa \xE8 stata interrotta (%s)",
    /* 320 */ "non c'\xE8 alcuna installazione precedente in %s da conservare (keep); non \xE8 stato fatto nulla",
    /* 321 */ "l'installazione precedente in %s non pu\xF2 essere conservata (keep): %s; non \xE8 stato fatto nulla",
    /* 322 */ "l'aggiornamento non \xE8 completo; l'installazione precedente \xE8 salvata in %s",
    /* 323 */ "per tornare a essa: setup rollback install %s",
    /* 324 */ "non c'\xE8 spazio per conservare l'installazione precedente (keep); non \xE8 stato fatto nulla",
    /* 325 */ "non c'\xE8 spazio per salvare l'installazione precedente; l'aggiornamento prosegue senza salvarla",
    /* 326 */ "l'installazione precedente, salvata in %s",
    /* 327 */ "l'installazione precedente salvata in %s viene conservata cos\xEC com'\xE8",
    /* 328 */ "l'installazione precedente in %s non viene salvata: %s",
    /* 329 */ "impossibile salvare l'installazione precedente in %s (il log %s/%s.log ne indica il motivo)",
    /* 330 */ "\xE8 stato richiesto keep; non \xE8 stato modificato nulla dell'installazione",
    /* 331 */ "l'installazione precedente \xE8 salvata in %s",
    /* 332 */ "l'installazione precedente \xE8 salvata in %s, al posto di una pi\xF9 vecchia",
    /* 333 */ "l'installazione precedente \xE8 conservata in %s: setup rollback install %s la ripristina",
    /* 334 */ "l'installazione precedente salvata in %s rimane: setup rollback la ripristina\n",
    /* 335 */ "rimosso %s",
    /* 336 */ "non ripristinato %s: %s",
    /* 337 */ "vi conduce un collegamento simbolico che non appartiene a root",
    /* 338 */ "c'\xE8 qualcosa che non \xE8 una directory dove l'installazione precedente ne aveva una",
    /* 339 */ "c'\xE8 una directory dove l'installazione precedente aveva un file",
    /* 340 */
    "%s non \xE8 stato ripristinato completamente: albero e manifest ripristinati, %d percorsi esterni ripristinati, "
    "%d della nuova installazione rimossi, %d lasciati come sono (indicati sopra)",
    /* 341 */ "il ripristino non \xE8 completo; l'installazione precedente resta salvata in %s",
    /* 342 */ "una volta liberati i percorsi indicati, \xE8 possibile eseguire di nuovo setup rollback install %s",
    /* 343 */ "nessuna installazione a cui tornare: %s non \xE8 un'installazione salvata completa",
    /* 344 */ "nessuna installazione a cui tornare: non esiste l'installazione salvata %s",
    /* 345 */
    "%s \xE8 tornato all'installazione precedente: albero e manifest ripristinati, %d percorsi esterni ripristinati, "
    "%d della nuova installazione rimossi",
    /* 346 */ "impossibile preparare l'output JSON dell'anteprima",
    /* 347 */ "l'anteprima non pu\xF2 proseguire: %s",
    /* 348 */ "impossibile creare una directory privata nell'area di lavoro",
    /* 349 */
    "Anteprima di un'installazione da %s (una serie di dischetti nella directory di lavoro) in %s/Vexla/vpxx; non "
    "viene modificato nulla.",
    /* 350 */
    "Anteprima di un'installazione da %s (una posizione di installazione) in %s/Vexla/vpxx; non viene modificato "
    "nulla.",
    /* 351 */ "directory di lavoro: %s",
    /* 352 */ "installazione precedente: %s",
    /* 353 */ "installazione precedente: nessuna",
    /* 354 */ "versione del kernel: %s",
    /* 355 */ "versione del kernel: sconosciuta",
    /* 356 */ "spazio libero: sufficiente nell'area di lavoro %s e in %s",
    /* 357 */ "spazio libero: non verificato (no_space_check)",
    /* 358 */ "\nL'installazione eseguirebbe, in quest'ordine:",
    /* 359 */ "\nScriverebbe e chiederebbe:",
    /* 360 */ "una domanda: proseguire sopra l'installazione precedente in %s? (y prosegue)",
    /* 361 */ "collegamento /usr/Vexla -> %s/Vexla",
    /* 362 */ "collegamento /usr/Vexla/vpxx -> %s/Vexla/vpxx",
    /* 363 */ "/usr/Vexla/vpxx esiste e non \xE8 un collegamento; non collegato",
    /* 364 */ "%s non viene reso set-user-ID: l'installazione non \xE8 completa",
    /* 365 */ "%s non \xE8 stato reso set-user-ID",
    /* 366 */ "file %s: \"%s\"",
    /* 367 */ "%s non \xE8 stato scritto",
    /* 368 */ "impossibile rimuovere il file obsoleto %s",
    /* 369 */ "impossibile creare %s da capo: %s",
    /* 370 */ "la modifica sed di %s non \xE8 stata messa al suo posto",
    /* 371 */ "collegamento %s -> %s/%s",
    /* 372 */ "nome dello script wrapper troppo lungo: %s",
    /* 373 */ "elenco dei pacchetti, riga %d: %s %s non riuscito",
    /* 374 */ "%s, riga %d: %s",
    /* 375 */ "percorso dell'elenco dei pacchetti troppo lungo",
    /* 376 */ "una domanda: attendere i programmi in esecuzione %s o uscire?",
    /* 377 */ "script %s",
    /* 378 */ "una condizione di versione richiede un operatore e una versione",
    /* 379 */ "la riga non nomina alcun file",
    /* 380 */ "dirto richiede una destinazione",
    /* 381 */ "un nome contiene un carattere che la shell interpreterebbe male: %s",
    /* 382 */ "il valore di %s contiene un carattere che la shell interpreterebbe male: %s",
    /* 383 */ "\xE8 danneggiato, riga %d",
    /* 384 */ "preview, verify, remove, rollback e history vanno da soli: uno di essi per esecuzione",
    /* 385 */ "%s non esiste",
    /* 386 */ "impossibile aprire %s: %s",
    /* 387 */ "%s non appartiene a root",
    /* 388 */ "%s, e non pu\xF2 essere messa da parte: %s",
    /* 389 */ "la cronologia %s non viene usata: %s; viene messa da parte come %s e si inizia una nuova cronologia",
    /* 390 */ "continua a cambiare",
    /* 391 */ "impossibile scrivere la cronologia %s (%s): questa esecuzione non vi viene registrata",
    /* 392 */ "ancora nessuna cronologia: %s non esiste",
    /* 393 */ "la cronologia %s non viene usata: %s",
    /* 394 */ "impossibile leggere la cronologia %s: %s",
    /* 395 */ "%s, riga %d, non \xE8 un oggetto JSON: ignorata",
    /* 396 */ "la cronologia %s non contiene alcuna esecuzione",
    /* 397 */ "nessun supporto",
    /* 398 */ "supporto %s senza checksum",
    /* 399 */ "supporto %s sha256 %s...",
    /* 400 */ "stato %d (1 passo non riuscito)",
    /* 401 */ "stato %d (%d passi non riusciti)",
    /* 402 */ "firmato da %s",
    /* 403 */ "la riga \xE8 stata troncata",
    /* 404 */ "impossibile aprire %s",
    /* 405 */ "impossibile aprire il file, %s",
    /* 406 */ "impossibile scrivere %s",
    /* 407 */ "Impossibile allocare memoria",
    /* 408 */ "impossibile trovare il comando di sistema '%s'",
    /* 409 */ "il comando non riuscito: %.*s",
    /* 410 */ "avvio non riuscito (%s)",
    /* 411 */ "stato di uscita %d",
    /* 412 */ "terminato dal segnale %d",
    /* 413 */ "terminato con lo stato di attesa %d",
    /* 414 */ "riga di comando troppo lunga",
    /* 415 */ "non appartiene a root (uid %u)",
    /* 416 */ "\xE8 scrivibile da altri oltre a root (modo %04o)",
    /* 417 */ "\xE8 un collegamento simbolico",
    /* 418 */ "non \xE8 una directory",
    /* 419 */ "non \xE8 un file regolare",
    /* 420 */ "ha %lu collegamenti",
    /* 421 */ "\xE8 un collegamento simbolico che non appartiene a root",
    /* 422 */ "\xE8 un collegamento simbolico in una directory scrivibile da altri",
    /* 423 */ "non \xE8 un percorso sotto la directory radice",
    /* 424 */ "non appartiene a root (uid %u)",
    /* 425 */ "non \xE8 raggiungibile: %s",
    /* 426 */ "non pu\xF2 essere aperto: %s",
    /* 427 */ "\xE8 un collegamento simbolico che non si pu\xF2 seguire",
    /* 428 */ "\xE8 troppo lungo per un file di chiave",
    /* 429 */ "contiene un byte 0 o una riga troppo lunga",
    /* 430 */ "non inizia con un commento non attendibile",
    /* 431 */ "la riga 2 non \xE8 il base64 di una chiave pubblica",
    /* 432 */ "non \xE8 una chiave Ed25519",
    /* 433 */ "contiene pi\xF9 di due righe",
    /* 434 */ "\xE8 troppo lungo per un file di firma",
    /* 435 */ "contiene meno di quattro righe",
    /* 436 */ "la riga 2 non \xE8 il base64 di una firma",
    /* 437 */ "ha la forma obsoleta, senza prehash (ED)",
    /* 438 */ "non \xE8 una firma Ed25519",
    /* 439 */ "la riga 3 non \xE8 un commento attendibile",
    /* 440 */ "la riga 4 non \xE8 il base64 di una firma",
    /* 441 */ "contiene pi\xF9 di quattro righe",
    /* 442 */ "la libreria delle firme non pu\xF2 avviarsi",
    /* 443 */ "\xE8 della chiave %s, non di %s",
    /* 444 */ "la firma non corrisponde al file",
    /* 445 */ "il commento attendibile non corrisponde alla sua firma",
    /* 446 */ "Qui \xE8 necessario un numero.",
    /* 447 */ "Questa pagina non pu\xF2 essere mostrata: la memoria non basta per la sua impaginazione.\n",
    /* 448 */ "Questa pagina non pu\xF2 essere mostrata: la sua impaginazione supera le %d righe.\n",
    /* 449 */ "Impossibile caricare il file %s: il visualizzatore della guida contiene %d file, non di pi\xF9\n",
    /* 450 */
    "\n"
    "Installa il software di stampa Vexla dal supporto da cui viene eseguito\n"
    "(come root).\n"
    "\n"
    "  install DIR     installare in DIR/Vexla/vpxx (un percorso completo); senza,\n"
    "                  nella directory di un'installazione precedente, altrimenti\n"
    "                  in /usr\n"
    "  menu            offrire il menu: installare, creare una posizione di\n"
    "                  installazione, indicare la directory di lavoro come\n"
    "                  origine di dischetti\n"
    "  manual          conservare i file di lavoro alla fine\n"
    "  no_space_check  non controllare prima lo spazio libero\n"
    "  WORK_AREA       qualsiasi altra parola: l'area di lavoro (predefinita\n"
    "                  /tmp), che contiene la directory di lavoro\n"
    "                  WORK_AREA/VexlaInstall; non pu\xF2 trovarsi dentro\n"
    "                  DIR/Vexla, /var/spool/Vexla o /usr/Vexla\n"
    "  -v              stampare la versione sullo standard error\n"
    "  preview         mostrare che cosa farebbe qui un'installazione, senza\n"
    "                  cambiare nulla (root non serve): le righe di comando, i\n"
    "                  file e le domande\n"
    "  verify          confrontare l'installazione con il suo manifest\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), una riga per differenza\n"
    "  remove          togliere l'installazione come la elenca il suo manifest\n"
    "  history         elencare le esecuzioni che hanno modificato questo host,\n"
    "                  una riga per esecuzione (/var/log/setup-Vexla.history;\n"
    "                  leggerla richiede root)\n"
    "  --json          preview, verify, history: il risultato come un solo\n"
    "                  oggetto JSON sullo standard output (lo descrive setup(8))\n"
    "  keep            un aggiornamento salva l'installazione precedente in\n"
    "                  DIR/Vexla/.vpxx.previous finch\xE9 non \xE8 completo; con keep\n"
    "                  la copia salvata resta (se non si pu\xF2 fare: stato 1)\n"
    "  rollback        ripristinare l'installazione precedente conservata, anche\n"
    "                  il suo manifest (stato 2: nulla da ripristinare)\n"
    "  wait            quando un altro setup sta modificando questo host,\n"
    "                  attendere che termini invece di terminare subito con lo\n"
    "                  stato 1\n"
    "  -h, --help      stampare questo testo\n"
    "\n"
    "Un solo setup alla volta modifica l'host: un'installazione, una rimozione o\n"
    "un rollback tiene il blocco /run/setup-Vexla.lock fino alla fine.\n"
    "Alle domande si risponde sullo standard input (printf 'y\\n' | setup install\n"
    "/opt); un input che termina a una domanda non \xE8 una risposta. Tutto ci\xF2 che\n"
    "un'installazione esegue \xE8 registrato in /tmp/setup.log, e ogni esecuzione che\n"
    "ha modificato l'host aggiunge una riga a /var/log/setup-Vexla.history.\n"
    "\n"
    "Stato di uscita: 0 fatto (verify: tutto corrisponde); 1 non riuscito o non\n"
    "fatto, un passo non riuscito, un supporto danneggiato, fine dell'input a una\n"
    "domanda (verify: qualcosa differisce; remove: qualcosa \xE8 stato conservato);\n"
    "2 una directory che non esiste o non si pu\xF2 usare (verify, remove: nessun\n"
    "manifest, o uno che root da solo non avrebbe potuto scrivere, o uno\n"
    "danneggiato).\n",
};

constexpr SetupMessage NLS_FRENCH[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nEntrez le nouveau r\xE9pertoire d'installation [%s] : ",
    /* 8 */ "Voulez-vous utiliser %s\xA0",
    /* 9 */ "Voulez-vous revenir au menu Setup\xA0",
    /* 10 */ "La valeur saisie doit \xEAtre le chemin complet du r\xE9pertoire d'installation.\n",
    /* 11 */ "Vous devez indiquer un r\xE9pertoire d'installation qui servira",
    /* 12 */ "\xE0 installer le r\xE9pertoire Vexla avec ses fichiers et",
    /* 13 */ "r\xE9pertoires annexes. Cet utilitaire cr\xE9" "era le r\xE9pertoire d'installation",
    /* 14 */ "s'il n'existe pas encore.",
    kFree, kFree,  // 15-16
    /* 17 */ "\xE0 cr\xE9" "er le site d'installation. Cet utilitaire cr\xE9" "era le",
    /* 18 */ "r\xE9pertoire d'installation s'il n'existe pas encore.",
    kFree,  // 19
    /* 20 */
    "\nAttention : d\xE9" "finir un autre r\xE9pertoire d'installation invalidera toutes les files "
    "d'impression d\xE9" "finies [%s]\n ",
    /* 21 */ "impossible d'ouvrir le fichier, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s est connect\xE9\nVous devez \xEAtre root pour ex\xE9" "cuter %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nR\xE9pertoire d'installation existant [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "Il n'y a pas assez d'espace dans %s pour effectuer l'installation. "
    "La zone de travail temporaire doit disposer d'au moins %e octets. "
    "Relancez la proc\xE9" "dure d'installation avec une zone de travail disposant de suffisamment "
    "d'espace. "
    "\nex. : 1. Utilisez /nouveau_chemin_de_travail au lieu de /tmp"
    "\n      2. Ex\xE9" "cutez `setup /nouveau_chemin_de_travail`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "Il n'y a pas assez d'espace dans %s pour effectuer l'installation. "
    "La zone d'installation doit disposer d'au moins %e octets. "
    "Relancez la proc\xE9" "dure d'installation avec une zone d'installation disposant de "
    "suffisamment d'espace. "
    "\nex. : 1. Utilisez /nouveau_chemin_d_installation au lieu de l'emplacement par d\xE9" "faut"
    "\n      2. Ex\xE9" "cutez 'setup install /nouveau_chemin_d_installation'\n",
    /* 56 */
    "Il n'y a pas assez d'espace pour effectuer l'installation. "
    "Comme vous utilisez un r\xE9pertoire de travail, %s, situ\xE9 sur la m\xEAme partition que le "
    "r\xE9pertoire d'installation choisi, %s, cette installation n\xE9" "cessite %e octets libres. "
    "Relancez l'installation en indiquant un autre emplacement pour le r\xE9pertoire de travail "
    "ou le r\xE9pertoire d'installation. Consultez le fichier readme si vous avez besoin d'aide "
    "sur la syntaxe.",
    setup_057,
    /* 58 */ "setup : ERREUR",
    /* 59 */ "VPrintD %s arr\xEAt\xE9\n",
    /* 60 */ "impossible d'obtenir la version",
    kFree,  // 61
    /* 62 */
    "\nSi un logiciel d'impression %s utilisant le d\xE9mon d'impression VPrintD"
    "\nest install\xE9, vous devez supprimer toutes vos files d'impression %s avant"
    "\nd'installer ce paquet.\n"
    "\nREMARQUE : VPrintD se trouve dans <r\xE9pertoire d'installation>/%s/%s\n",
    /* 63 */ "\nVoulez-vous poursuivre l'installation ? [yn] ",
    kFree,  // 64
    /* 65 */
    "Impossible de d\xE9terminer l'espace requis pour l'installation : fichier isize absent.\n",
    /* 66 */
    "\nLes processus suivants sont en cours d'ex\xE9" "cution."
    "\nL'installation ne peut pas continuer tant qu'ils ne sont pas termin\xE9s :\n",
    /* 67 */ "Voulez-vous :\n",
    /* 68 */ "1.  Attendre 30 secondes que ces processus se terminent\n",
    /* 69 */ "2.  Quitter l'installation\n",
    /* 70 */ "\nEntrez votre choix :  ",
    SETUP_FREE_71_TO_199,
    /* 200 */ "et %d de plus",
    /* 201 */ "%d \xE9tape de l'installation a \xE9" "chou\xE9\xA0; le journal %s/%s.log en dit plus",
    /* 202 */ "%d \xE9tapes de l'installation ont \xE9" "chou\xE9\xA0; le journal %s/%s.log en dit plus",
    /* 203 */ "fin de l'entr\xE9" "e \xE0 une question\xA0: rien de plus n'est install\xE9",
    /* 204 */ "refus\xE9\xA0: %s",
    /* 205 */ "la zone de travail ne peut pas \xEAtre r\xE9solue",
    /* 206 */ "le r\xE9pertoire d'installation doit \xEAtre un chemin complet",
    /* 207 */ "le chemin du programme est trop long (200 caract\xE8res au plus)",
    /* 208 */ "--json ne s'emploie qu'avec preview, verify ou history",
    /* 209 */ "la zone de travail ne peut pas se trouver dans %s, o\xF9 \xE9" "crit l'installation",
    /* 210 */ "l'installation \xE9" "crirait %s dans le r\xE9pertoire de travail, qui est supprim\xE9 \xE0 la fin",
    /* 211 */ "aucun r\xE9pertoire indiqu\xE9",
    /* 212 */ "le nom du r\xE9pertoire est trop long (200 caract\xE8res au plus)",
    /* 213 */ "un nom de r\xE9pertoire ne peut contenir que des lettres, des chiffres et / . _ - + , @ : =",
    /* 214 */ "le fichier de verrou %s ne peut pas \xEAtre verrouill\xE9\xA0: %s\xA0; rien n'a \xE9t\xE9 fait",
    /* 215 */
    "le fichier de verrou de setup ne peut pas \xEAtre cr\xE9\xE9 (aucun r\xE9pertoire de verrou)\xA0; rien n'a \xE9t\xE9 fait",
    /* 216 */ "le fichier de verrou %s ne peut pas \xEAtre cr\xE9\xE9 (%s)\xA0; rien n'a \xE9t\xE9 fait",
    /* 217 */ "un autre setup (processus %s) modifie cet h\xF4te\xA0; rien n'a \xE9t\xE9 fait",
    /* 218 */ "attente de la fin d'un autre setup (processus %s)",
    /* 219 */ "une installation est en cours (processus %s)\xA0: ce qui est affich\xE9 peut changer",
    /* 220 */ "%s ne peut pas \xEAtre \xE9" "crit (%s)\xA0: une ex\xE9" "cution interrompue laisse ainsi les r\xE9pertoires retenus",
    /* 221 */ "%s n'est pas utilis\xE9\xA0: %s",
    /* 222 */ "impossible de passer au r\xE9pertoire %s",
    /* 223 */ "impossible de passer au r\xE9pertoire %s\xA0: %s",
    /* 224 */ "%s\xA0: non modifi\xE9",
    /* 225 */ "%s\xA0: %s non modifi\xE9",
    /* 226 */ "%s n'a pas \xE9t\xE9 modifi\xE9\xA0: %s",
    /* 227 */ "chemin trop long\xA0: %s",
    /* 228 */ "chemin trop long\xA0: %s/%s",
    /* 229 */ "ligne de commande trop longue, non ex\xE9" "cut\xE9" "e\xA0: %.60s...",
    /* 230 */ "%s n'est pas un programme de root\xA0: non ex\xE9" "cut\xE9",
    /* 231 */ "%s n'a pas \xE9t\xE9 ex\xE9" "cut\xE9",
    /* 232 */ "est un lien symbolique que root ne peut pas suivre",
    /* 233 */ "n'appartient pas \xE0 root (uid %u)",
    /* 234 */ "a %lu liens",
    /* 235 */ "%s manque dans %s, dont la liste disks le nomme\xA0: le support n'est pas complet",
    /* 236 */
    "le support ne contient pas de fichier des sommes de contr\xF4le et n'est pas sign\xE9, et cet h\xF4te n'installe que "
    "des supports sign\xE9s par une cl\xE9 de %s",
    /* 237 */
    "le fichier des sommes de contr\xF4le %s ne peut pas \xEAtre lu comme un fichier\xA0: le support est endommag\xE9",
    /* 238 */ "le fichier des sommes de contr\xF4le %s contient un octet 0\xA0: le support est endommag\xE9",
    /* 239 */
    "%s manque dans %s, dont le fichier des sommes de contr\xF4le le nomme\xA0: le support n'est pas complet",
    /* 240 */ "le fichier des sommes de contr\xF4le %s/%s est endommag\xE9, ligne %d",
    /* 241 */ "le fichier des sommes de contr\xF4le %s/%s ne contient aucune ligne\xA0: le support est endommag\xE9",
    /* 242 */ "%s n'a pas de ligne dans le fichier des sommes de contr\xF4le %s/%s\xA0: le support est endommag\xE9",
    /* 243 */ "%s dans %s ne peut pas \xEAtre lu comme un fichier\xA0: le support est endommag\xE9",
    /* 244 */ "%s/%s ne correspond pas \xE0 sa somme de contr\xF4le\xA0: le support est endommag\xE9",
    /* 245 */ "le r\xE9pertoire des cl\xE9s %s n'est pas digne de confiance\xA0: %s",
    /* 246 */ "le r\xE9pertoire des cl\xE9s %s ne peut pas \xEAtre ouvert\xA0: %s",
    /* 247 */ "c'est un lien symbolique",
    /* 248 */ "ce n'est pas un r\xE9pertoire",
    /* 249 */ "le r\xE9pertoire des cl\xE9s %s ne peut pas \xEAtre lu\xA0: %s",
    /* 250 */ "la cl\xE9 %s n'est pas digne de confiance\xA0: %s",
    /* 251 */ "la cl\xE9 %s ne peut pas \xEAtre lue\xA0: %s",
    /* 252 */ "la cl\xE9 %s est endommag\xE9" "e\xA0: %s",
    /* 253 */ "le fichier de signature %s n'est pas un fichier ordinaire\xA0: le support est endommag\xE9",
    /* 254 */ "le fichier de signature %s ne peut pas \xEAtre lu\xA0: %s",
    /* 255 */ "le fichier de signature %s est endommag\xE9\xA0: %s",
    /* 256 */ "le support n'est pas sign\xE9, et cet h\xF4te n'installe que des supports sign\xE9s par une cl\xE9 de %s",
    /* 257 */
    "Le support est sign\xE9 par la cl\xE9 %s\xA0; sa signature n'a pas \xE9t\xE9 v\xE9rifi\xE9" "e\xA0: aucune cl\xE9 n'est conserv\xE9" "e dans %s\n",
    /* 258 */
    "la signature %s/%s par la cl\xE9 %s n'est pas valide\xA0: %s\xA0: le support est endommag\xE9 ou a \xE9t\xE9 modifi\xE9",
    /* 259 */ "le support est sign\xE9 par la cl\xE9 %s, que %s ne contient pas\xA0: rien n'a \xE9t\xE9 install\xE9",
    /* 260 */ "signature\xA0: aucune, le support n'est pas sign\xE9",
    /* 261 */ "signature\xA0: non enregistr\xE9" "e",
    /* 262 */ "signature\xA0: cl\xE9 %s, v\xE9rifi\xE9" "e avec %s\xA0; commentaire de confiance\xA0: %s",
    /* 263 */
    "signature\xA0: cl\xE9 %s, non v\xE9rifi\xE9" "e, aucune cl\xE9 n'est conserv\xE9" "e dans %s\xA0; commentaire de confiance\xA0: %s",
    /* 264 */ "la liste disks nomme un fichier inutilisable\xA0: %s",
    /* 265 */ "la liste disks de %s ne nomme aucune partie de l'archive",
    /* 266 */ "la partie d'archive %s manque dans %s",
    /* 267 */ "la partie d'archive %s dans %s ne peut pas \xEAtre lue comme un fichier ordinaire",
    /* 268 */ "chemin de l'archive trop long",
    /* 269 */ "l'archive du produit %s est tronqu\xE9" "e\xA0: une partie du support est endommag\xE9" "e",
    /* 270 */ "impossible de recr\xE9" "er le r\xE9pertoire de travail %s\xA0: %s",
    /* 271 */ "le r\xE9pertoire de travail %s n'est pas celui qui vient d'\xEAtre cr\xE9\xE9",
    /* 272 */ "le nom du r\xE9pertoire contient un caract\xE8re de contr\xF4le",
    /* 273 */ "impossible d'\xE9" "crire %s",
    /* 274 */ "n'est pas un r\xE9pertoire \xE0 part enti\xE8re",
    /* 275 */ "appartient \xE0 un autre utilisateur",
    /* 276 */ "est modifiable par d'autres",
    /* 277 */ "est modifiable par son groupe",
    /* 278 */ "le r\xE9pertoire de travail %s %s",
    /* 279 */ "%s manque dans %s, dont la liste disks le nomme",
    /* 280 */ "%s dans %s ne peut pas \xEAtre lu comme un fichier ordinaire\xA0: le support est endommag\xE9",
    /* 281 */
    "le support %s se trouve dans le r\xE9pertoire de travail %s, qu'une installation remplace\xA0; lancez setup depuis "
    "un autre endroit ou indiquez une autre zone de travail",
    /* 282 */ "les notes %s ne sont pas utilis\xE9" "es\xA0: %s",
    /* 283 */ "elles sont endommag\xE9" "es, ligne %d",
    /* 284 */ "%s n'a pas \xE9t\xE9 \xE9" "crit\xA0: %s",
    /* 285 */ "manifeste %s",
    /* 286 */ "le manifeste pr\xE9" "c\xE9" "dent %s n'est pas utilis\xE9\xA0: %s\xA0; le nouveau le remplace",
    /* 287 */ "le manifeste %s n'a pas \xE9t\xE9 \xE9" "crit",
    /* 288 */ "%s n'a pas \xE9t\xE9 supprim\xE9",
    /* 289 */ "manquant",
    /* 290 */ "type",
    /* 291 */ "mode",
    /* 292 */ "propri\xE9taire",
    /* 293 */ "groupe",
    /* 294 */ "taille",
    /* 295 */ "contenu",
    /* 296 */ "lien",
    /* 297 */ "illisible",
    /* 298 */ "%s %s\xA0: %s, maintenant %s",
    /* 299 */ "%zu chemins v\xE9rifi\xE9s avec %s\xA0: %d diff\xE8rent",
    /* 300 */ "le manifeste %s est endommag\xE9, ligne %d",
    /* 301 */ "pas de manifeste %s\xA0: %s",
    /* 302 */ "le manifeste %s n'est pas digne de confiance\xA0: %s\xA0; %s",
    /* 303 */ "rien \xE0 v\xE9rifier",
    /* 304 */ "rien n'est supprim\xE9",
    /* 305 */ "aucune installation vers laquelle revenir",
    /* 306 */ "ce n'est plus ce que l'installation a cr\xE9\xE9",
    /* 307 */ "le lien pointe maintenant vers %s",
    /* 308 */ "il a chang\xE9 pendant son examen",
    /* 309 */ "il a \xE9t\xE9 modifi\xE9 depuis l'installation",
    /* 310 */ "%s. Le supprimer quand m\xEAme\xA0? [y/N] ",
    /* 311 */ "ses bits set-user-ID n'ont pas pu \xEAtre retir\xE9s\xA0: %s",
    /* 312 */ "il n'est pas vide",
    /* 313 */ "conserv\xE9 %s\xA0: %s",
    /* 314 */ "%s est supprim\xE9",
    /* 315 */ "%zu chemins ont \xE9t\xE9 conserv\xE9s\xA0; %s \xE9num\xE8re ce qui reste",
    /* 316 */ "%zu chemins ont \xE9t\xE9 conserv\xE9s\xA0; %s n'a pas pu \xEAtre r\xE9\xE9" "crit",
    /* 317 */ "elle n'a pas de manifeste",
    /* 318 */ "son manifeste n'est pas digne de confiance\xA0: %s",
    /* 319 */ "une ex\xE9" "cution par-dessus a \xE9t\xE9 interrompue (%s)",
    /* 320 */ "il n'y a pas d'installation pr\xE9" "c\xE9" "dente dans %s \xE0 conserver (keep)\xA0; rien n'a \xE9t\xE9 fait",
    /* 321 */ "l'installation pr\xE9" "c\xE9" "dente dans %s ne peut pas \xEAtre conserv\xE9" "e (keep)\xA0: %s\xA0; rien n'a \xE9t\xE9 fait",
    /* 322 */ "la mise \xE0 jour n'est pas compl\xE8te\xA0; l'installation pr\xE9" "c\xE9" "dente est sauvegard\xE9" "e dans %s",
    /* 323 */ "pour y revenir\xA0: setup rollback install %s",
    /* 324 */ "il n'y a pas assez d'espace pour conserver l'installation pr\xE9" "c\xE9" "dente (keep)\xA0; rien n'a \xE9t\xE9 fait",
    /* 325 */
    "il n'y a pas assez d'espace pour sauvegarder l'installation pr\xE9" "c\xE9" "dente\xA0; la mise \xE0 jour continue sans elle",
    /* 326 */ "l'installation pr\xE9" "c\xE9" "dente, sauvegard\xE9" "e dans %s",
    /* 327 */ "l'installation pr\xE9" "c\xE9" "dente sauvegard\xE9" "e dans %s est conserv\xE9" "e telle quelle",
    /* 328 */ "l'installation pr\xE9" "c\xE9" "dente dans %s n'est pas sauvegard\xE9" "e\xA0: %s",
    /* 329 */
    "l'installation pr\xE9" "c\xE9" "dente n'a pas pu \xEAtre sauvegard\xE9" "e dans %s (le journal %s/%s.log dit pourquoi)",
    /* 330 */ "keep a \xE9t\xE9 demand\xE9\xA0; rien de l'installation n'a \xE9t\xE9 modifi\xE9",
    /* 331 */ "l'installation pr\xE9" "c\xE9" "dente est sauvegard\xE9" "e dans %s",
    /* 332 */ "l'installation pr\xE9" "c\xE9" "dente est sauvegard\xE9" "e dans %s, \xE0 la place d'une plus ancienne",
    /* 333 */ "l'installation pr\xE9" "c\xE9" "dente est conserv\xE9" "e dans %s\xA0: setup rollback install %s la r\xE9tablit",
    /* 334 */ "l'installation pr\xE9" "c\xE9" "dente sauvegard\xE9" "e dans %s reste\xA0: setup rollback la r\xE9tablit\n",
    /* 335 */ "retir\xE9 %s",
    /* 336 */ "non r\xE9tabli %s\xA0: %s",
    /* 337 */ "un lien symbolique qui n'appartient pas \xE0 root y m\xE8ne",
    /* 338 */ "autre chose qu'un r\xE9pertoire se trouve l\xE0 o\xF9 l'installation pr\xE9" "c\xE9" "dente en avait un",
    /* 339 */ "un r\xE9pertoire se trouve l\xE0 o\xF9 l'installation pr\xE9" "c\xE9" "dente avait un fichier",
    /* 340 */
    "%s n'est pas enti\xE8rement revenu en arri\xE8re\xA0: son arborescence et son manifeste sont r\xE9tablis, %d chemins "
    "ext\xE9rieurs r\xE9tablis, %d de la nouvelle installation retir\xE9s, %d laiss\xE9s tels quels (nomm\xE9s ci-dessus)",
    /* 341 */ "le retour en arri\xE8re n'est pas complet\xA0; l'installation pr\xE9" "c\xE9" "dente reste sauvegard\xE9" "e dans %s",
    /* 342 */ "une fois les chemins nomm\xE9s d\xE9gag\xE9s, setup rollback install %s peut \xEAtre relanc\xE9",
    /* 343 */ "aucune installation vers laquelle revenir\xA0: %s n'est pas une installation sauvegard\xE9" "e compl\xE8te",
    /* 344 */ "aucune installation vers laquelle revenir\xA0: pas d'installation sauvegard\xE9" "e %s",
    /* 345 */
    "%s est revenu \xE0 l'installation pr\xE9" "c\xE9" "dente\xA0: son arborescence et son manifeste r\xE9tablis, %d chemins ext\xE9rieurs "
    "r\xE9tablis, %d de la nouvelle installation retir\xE9s",
    /* 346 */ "la sortie JSON de l'aper\xE7u ne peut pas \xEAtre pr\xE9par\xE9" "e",
    /* 347 */ "l'aper\xE7u ne peut pas continuer\xA0: %s",
    /* 348 */ "aucun r\xE9pertoire priv\xE9 ne peut \xEAtre cr\xE9\xE9 dans la zone de travail",
    /* 349 */
    "Aper\xE7u d'une installation depuis %s (un jeu de disquettes dans le r\xE9pertoire de travail) dans %s/Vexla/vpxx\xA0; "
    "rien n'est modifi\xE9.",
    /* 350 */
    "Aper\xE7u d'une installation depuis %s (un site d'installation) dans %s/Vexla/vpxx\xA0; rien n'est modifi\xE9.",
    /* 351 */ "r\xE9pertoire de travail\xA0: %s",
    /* 352 */ "installation pr\xE9" "c\xE9" "dente\xA0: %s",
    /* 353 */ "installation pr\xE9" "c\xE9" "dente\xA0: aucune",
    /* 354 */ "version du noyau\xA0: %s",
    /* 355 */ "version du noyau\xA0: inconnue",
    /* 356 */ "espace libre\xA0: suffisant dans la zone de travail %s et dans %s",
    /* 357 */ "espace libre\xA0: non v\xE9rifi\xE9 (no_space_check)",
    /* 358 */ "\nL'installation ex\xE9" "cuterait, dans cet ordre\xA0:",
    /* 359 */ "\nElle \xE9" "crirait et demanderait\xA0:",
    /* 360 */ "une question\xA0: poursuivre par-dessus l'installation pr\xE9" "c\xE9" "dente dans %s\xA0? (y poursuit)",
    /* 361 */ "lien /usr/Vexla -> %s/Vexla",
    /* 362 */ "lien /usr/Vexla/vpxx -> %s/Vexla/vpxx",
    /* 363 */ "/usr/Vexla/vpxx existe et n'est pas un lien\xA0; pas de lien cr\xE9\xE9",
    /* 364 */ "%s n'est pas rendu set-user-ID\xA0: l'installation n'est pas compl\xE8te",
    /* 365 */ "%s n'a pas \xE9t\xE9 rendu set-user-ID",
    /* 366 */ "fichier %s\xA0: \"%s\"",
    /* 367 */ "%s n'a pas \xE9t\xE9 \xE9" "crit",
    /* 368 */ "impossible de supprimer le fichier p\xE9rim\xE9 %s",
    /* 369 */ "impossible de cr\xE9" "er %s \xE0 neuf\xA0: %s",
    /* 370 */ "la modification sed de %s n'a pas \xE9t\xE9 mise en place",
    /* 371 */ "lien %s -> %s/%s",
    /* 372 */ "nom de script d'appel trop long\xA0: %s",
    /* 373 */ "liste des paquets, ligne %d\xA0: %s %s a \xE9" "chou\xE9",
    /* 374 */ "%s, ligne %d\xA0: %s",
    /* 375 */ "chemin de la liste des paquets trop long",
    /* 376 */ "une question\xA0: attendre les programmes en cours d'ex\xE9" "cution %s ou quitter\xA0?",
    /* 377 */ "script %s",
    /* 378 */ "une condition de version demande un op\xE9rateur et une version",
    /* 379 */ "la ligne ne nomme aucun fichier",
    /* 380 */ "dirto demande une destination",
    /* 381 */ "un nom contient un caract\xE8re que le shell interpr\xE9terait mal\xA0: %s",
    /* 382 */ "la valeur de %s contient un caract\xE8re que le shell interpr\xE9terait mal\xA0: %s",
    /* 383 */ "il est endommag\xE9, ligne %d",
    /* 384 */ "preview, verify, remove, rollback et history s'emploient seuls\xA0: un seul d'entre eux par ex\xE9" "cution",
    /* 385 */ "%s n'existe pas",
    /* 386 */ "%s ne peut pas \xEAtre ouvert\xA0: %s",
    /* 387 */ "%s n'appartient pas \xE0 root",
    /* 388 */ "%s, et il ne peut pas \xEAtre mis de c\xF4t\xE9\xA0: %s",
    /* 389 */ "l'historique %s n'est pas utilis\xE9\xA0: %s\xA0; il est mis de c\xF4t\xE9 sous le nom %s et un nouvel historique est commenc\xE9",
    /* 390 */ "il ne cesse de changer",
    /* 391 */ "l'historique %s ne peut pas \xEAtre \xE9" "crit (%s)\xA0: cette ex\xE9" "cution n'y est pas enregistr\xE9" "e",
    /* 392 */ "pas encore d'historique\xA0: %s n'existe pas",
    /* 393 */ "l'historique %s n'est pas utilis\xE9\xA0: %s",
    /* 394 */ "l'historique %s ne peut pas \xEAtre lu\xA0: %s",
    /* 395 */ "%s, ligne %d, n'est pas un objet JSON\xA0: ignor\xE9" "e",
    /* 396 */ "l'historique %s ne contient aucune ex\xE9" "cution",
    /* 397 */ "aucun support",
    /* 398 */ "support %s sans sommes de contr\xF4le",
    /* 399 */ "support %s sha256 %s...",
    /* 400 */ "statut %d (1 \xE9tape \xE9" "chou\xE9" "e)",
    /* 401 */ "statut %d (%d \xE9tapes \xE9" "chou\xE9" "es)",
    /* 402 */ "sign\xE9 par %s",
    /* 403 */ "la ligne a \xE9t\xE9 tronqu\xE9" "e",
    /* 404 */ "impossible d'ouvrir %s",
    /* 405 */ "impossible d'ouvrir le fichier, %s",
    /* 406 */ "impossible d'\xE9" "crire %s",
    /* 407 */ "Impossible d'allouer de la m\xE9moire",
    /* 408 */ "impossible de trouver la commande syst\xE8me '%s'",
    /* 409 */ "la commande qui a \xE9" "chou\xE9\xA0: %.*s",
    /* 410 */ "lancement impossible (%s)",
    /* 411 */ "code de sortie %d",
    /* 412 */ "arr\xEAt\xE9 par le signal %d",
    /* 413 */ "termin\xE9 avec l'\xE9tat d'attente %d",
    /* 414 */ "ligne de commande trop longue",
    /* 415 */ "il n'appartient pas \xE0 root (uid %u)",
    /* 416 */ "d'autres que root peuvent y \xE9" "crire (mode %04o)",
    /* 417 */ "c'est un lien symbolique",
    /* 418 */ "ce n'est pas un r\xE9pertoire",
    /* 419 */ "ce n'est pas un fichier ordinaire",
    /* 420 */ "il a %lu liens",
    /* 421 */ "est un lien symbolique qui n'appartient pas \xE0 root",
    /* 422 */ "est un lien symbolique dans un r\xE9pertoire o\xF9 d'autres peuvent \xE9" "crire",
    /* 423 */ "n'est pas un chemin sous le r\xE9pertoire racine",
    /* 424 */ "n'appartient pas \xE0 root (uid %u)",
    /* 425 */ "ne peut pas \xEAtre atteint\xA0: %s",
    /* 426 */ "ne peut pas \xEAtre ouvert\xA0: %s",
    /* 427 */ "est un lien symbolique qui ne peut pas \xEAtre suivi",
    /* 428 */ "il est trop long pour un fichier de cl\xE9",
    /* 429 */ "il contient un octet 0 ou une ligne trop longue",
    /* 430 */ "il ne commence pas par un commentaire non fiable",
    /* 431 */ "la ligne 2 n'est pas le base64 d'une cl\xE9 publique",
    /* 432 */ "ce n'est pas une cl\xE9 Ed25519",
    /* 433 */ "il contient plus de deux lignes",
    /* 434 */ "il est trop long pour un fichier de signature",
    /* 435 */ "il contient moins de quatre lignes",
    /* 436 */ "la ligne 2 n'est pas le base64 d'une signature",
    /* 437 */ "il est de l'ancienne forme, sans prehash (ED)",
    /* 438 */ "ce n'est pas une signature Ed25519",
    /* 439 */ "la ligne 3 n'est pas un commentaire de confiance",
    /* 440 */ "la ligne 4 n'est pas le base64 d'une signature",
    /* 441 */ "il contient plus de quatre lignes",
    /* 442 */ "la biblioth\xE8que de signatures ne peut pas d\xE9marrer",
    /* 443 */ "c'est la cl\xE9 %s, pas %s",
    /* 444 */ "la signature ne correspond pas au fichier",
    /* 445 */ "le commentaire de confiance ne correspond pas \xE0 sa signature",
    /* 446 */ "Un nombre est attendu ici.",
    /* 447 */ "Cette page ne peut pas \xEAtre affich\xE9" "e\xA0: la m\xE9moire ne suffit pas pour sa mise en page.\n",
    /* 448 */ "Cette page ne peut pas \xEAtre affich\xE9" "e\xA0: sa mise en page d\xE9passe %d lignes.\n",
    /* 449 */ "Impossible de charger le fichier %s\xA0: l'afficheur d'aide contient %d fichiers, pas plus\n",
    /* 450 */
    "\n"
    "Installe le logiciel d'impression Vexla depuis le support d'o\xF9 il est lanc\xE9\n"
    "(en tant que root).\n"
    "\n"
    "  install DIR     installer dans DIR/Vexla/vpxx (un chemin complet)\xA0; sans\n"
    "                  cela, dans le r\xE9pertoire d'une installation pr\xE9" "c\xE9" "dente,\n"
    "                  sinon dans /usr\n"
    "  menu            proposer le menu\xA0: installer, cr\xE9" "er un site\n"
    "                  d'installation, marquer le r\xE9pertoire de travail comme\n"
    "                  source de disquettes\n"
    "  manual          conserver les fichiers de travail \xE0 la fin\n"
    "  no_space_check  ne pas v\xE9rifier d'abord l'espace libre\n"
    "  WORK_AREA       tout autre mot\xA0: la zone de travail (par d\xE9" "faut /tmp), qui\n"
    "                  contient le r\xE9pertoire de travail WORK_AREA/VexlaInstall\xA0;\n"
    "                  elle ne peut pas se trouver dans DIR/Vexla,\n"
    "                  /var/spool/Vexla ou /usr/Vexla\n"
    "  -v              afficher la version sur la sortie d'erreur standard\n"
    "  preview         montrer ce qu'une installation ferait ici, sans rien\n"
    "                  modifier (root n'est pas n\xE9" "cessaire)\xA0: ses lignes de\n"
    "                  commande, ses fichiers et ses questions\n"
    "  verify          comparer l'installation avec son manifeste\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), une ligne par diff\xE9rence\n"
    "  remove          retirer l'installation telle que son manifeste l'\xE9num\xE8re\n"
    "  history         lister les ex\xE9" "cutions qui ont modifi\xE9 cet h\xF4te, une ligne\n"
    "                  par ex\xE9" "cution (/var/log/setup-Vexla.history\xA0; le lire\n"
    "                  demande root)\n"
    "  --json          preview, verify, history\xA0: le r\xE9sultat en un seul objet\n"
    "                  JSON sur la sortie standard (setup(8) le d\xE9" "crit)\n"
    "  keep            une mise \xE0 niveau sauvegarde l'installation pr\xE9" "c\xE9" "dente\n"
    "                  dans DIR/Vexla/.vpxx.previous jusqu'\xE0 ce qu'elle soit\n"
    "                  termin\xE9" "e\xA0; avec keep, la copie sauvegard\xE9" "e reste (si\n"
    "                  aucune ne peut \xEAtre faite\xA0: statut 1)\n"
    "  rollback        r\xE9tablir l'installation pr\xE9" "c\xE9" "dente conserv\xE9" "e, son\n"
    "                  manifeste aussi (statut 2\xA0: rien \xE0 r\xE9tablir)\n"
    "  wait            quand un autre setup modifie cet h\xF4te, attendre qu'il se\n"
    "                  termine au lieu de s'arr\xEAter aussit\xF4t avec le statut 1\n"
    "  -h, --help      afficher ce texte\n"
    "\n"
    "Un seul setup \xE0 la fois modifie l'h\xF4te\xA0: une installation, une suppression\n"
    "ou un rollback d\xE9tient le verrou /run/setup-Vexla.lock jusqu'\xE0 sa fin.\n"
    "On r\xE9pond aux questions sur l'entr\xE9" "e standard (printf 'y\\n' | setup install\n"
    "/opt)\xA0; une entr\xE9" "e qui se termine \xE0 une question n'est pas une r\xE9ponse. Tout\n"
    "ce qu'une installation ex\xE9" "cute est journalis\xE9 dans /tmp/setup.log, et chaque\n"
    "ex\xE9" "cution qui a modifi\xE9 l'h\xF4te ajoute une ligne \xE0\n"
    "/var/log/setup-Vexla.history.\n"
    "\n"
    "Code de sortie\xA0: 0 fait (verify\xA0: tout correspond)\xA0; 1 \xE9" "chec ou non fait, une\n"
    "\xE9tape qui a \xE9" "chou\xE9, un support endommag\xE9, la fin de l'entr\xE9" "e \xE0 une question\n"
    "(verify\xA0: quelque chose diff\xE8re\xA0; remove\xA0: quelque chose a \xE9t\xE9 conserv\xE9)\xA0;\n"
    "2 un r\xE9pertoire qui n'existe pas ou ne peut pas \xEAtre utilis\xE9 (verify,\n"
    "remove\xA0: aucun manifeste, ou un manifeste que root seul n'aurait pas pu\n"
    "\xE9" "crire, ou un manifeste endommag\xE9).\n",
};

constexpr SetupMessage NLS_GERMAN[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nGeben Sie das neue Installationsverzeichnis ein [%s]: ",
    /* 8 */ "M\xF6" "chten Sie %s verwenden",
    /* 9 */ "M\xF6" "chten Sie zum Setup-Men\xFC zur\xFC" "ckkehren",
    /* 10 */ "Diese Eingabe muss ein vollst\xE4ndiger Pfad zum Installationsverzeichnis sein.\n",
    /* 11 */ "Sie m\xFCssen ein Installationsverzeichnis angeben, das dazu dient,",
    /* 12 */ "das Vexla-Verzeichnis samt seinen Hilfsdateien und",
    /* 13 */
    "Unterverzeichnissen zu installieren. Dieses Programm legt das Verzeichnis an,",
    /* 14 */ "falls es noch nicht vorhanden ist.",
    kFree, kFree,  // 15-16
    /* 17 */ "den Installationsort anzulegen. Dieses Programm legt das",
    /* 18 */ "Installationsverzeichnis an, falls es noch nicht vorhanden ist.",
    kFree,  // 19
    /* 20 */
    "\nWarnung: Ein anderes Installationsverzeichnis macht alle eingerichteten "
    "Druckwarteschlangen ung\xFCltig [%s]\n ",
    /* 21 */ "Datei kann nicht ge\xF6" "ffnet werden, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s ist angemeldet\nSie m\xFCssen root sein, um %s auszuf\xFChren\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nVorhandenes Installationsverzeichnis [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "In %s ist nicht genug Platz f\xFCr die Installation. "
    "Der tempor\xE4re Arbeitsbereich muss mindestens %e Bytes gro\xDF sein. "
    "Starten Sie die Installation erneut mit einem Arbeitsbereich, der genug Platz bietet. "
    "\nz. B.: 1. Verwenden Sie /neuer_arbeitsbereich statt /tmp"
    "\n      2. Rufen Sie `setup /neuer_arbeitsbereich` auf\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "In %s ist nicht genug Platz f\xFCr die Installation. "
    "Der Installationsbereich muss mindestens %e Bytes gro\xDF sein. "
    "Starten Sie die Installation erneut mit einem Installationsbereich, der genug Platz "
    "bietet. "
    "\nz. B.: 1. Verwenden Sie /neuer_installationspfad statt des Standardorts"
    "\n      2. Rufen Sie 'setup install /neuer_installationspfad' auf\n",
    /* 56 */
    "Es ist nicht genug Platz f\xFCr die Installation vorhanden. "
    "Da Ihr Arbeitsverzeichnis %s auf derselben Partition liegt wie das gew\xE4hlte "
    "Installationsverzeichnis %s, ben\xF6tigt diese Installation %e Bytes freien Platz. "
    "Starten Sie die Installation erneut und geben Sie einen anderen Ort f\xFCr das "
    "Arbeitsverzeichnis oder das Installationsverzeichnis an. Hilfe zur Syntax finden Sie "
    "in der Readme-Datei.",
    setup_057,
    /* 58 */ "setup: FEHLER",
    /* 59 */ "VPrintD %s beendet\n",
    /* 60 */ "Version konnte nicht ermittelt werden",
    kFree,  // 61
    /* 62 */
    "\nWenn bereits %s-Druckersoftware installiert ist, die den Druckdienst"
    "\nVPrintD verwendet, m\xFCssen Sie vor der Installation dieses Pakets alle"
    "\nIhre %s-Druckwarteschlangen l\xF6schen.\n"
    "\nHINWEIS: VPrintD befindet sich in <Installationsverzeichnis>/%s/%s\n",
    /* 63 */ "\nM\xF6" "chten Sie mit der Installation fortfahren? [yn] ",
    kFree,  // 64
    /* 65 */
    "Der f\xFCr die Installation ben\xF6tigte Platz kann nicht ermittelt werden: isize fehlt.\n",
    /* 66 */
    "\nDie folgenden Prozesse laufen."
    "\nDie Installation kann erst fortgesetzt werden, wenn sie beendet sind:\n",
    /* 67 */ "Was m\xF6" "chten Sie tun?\n",
    /* 68 */ "1.  30 Sekunden auf das Ende dieser Prozesse warten\n",
    /* 69 */ "2.  Installation abbrechen\n",
    /* 70 */ "\nIhre Auswahl:  ",
    SETUP_FREE_71_TO_199,
    /* 200 */ "und %d weitere",
    /* 201 */ "%d Schritt der Installation ist fehlgeschlagen; das Protokoll %s/%s.log nennt Einzelheiten",
    /* 202 */ "%d Schritte der Installation sind fehlgeschlagen; das Protokoll %s/%s.log nennt Einzelheiten",
    /* 203 */ "Ende der Eingabe bei einer Frage: es wird nichts weiter installiert",
    /* 204 */ "abgelehnt: %s",
    /* 205 */ "der Arbeitsbereich kann nicht aufgel\xF6st werden",
    /* 206 */ "das Installationsverzeichnis muss ein vollst\xE4ndiger Pfad sein",
    /* 207 */ "der Pfad des Programms ist zu lang (h\xF6" "chstens 200 Zeichen)",
    /* 208 */ "--json gilt nur zusammen mit preview, verify oder history",
    /* 209 */ "der Arbeitsbereich darf nicht in %s liegen, wohin die Installation schreibt",
    /* 210 */ "die Installation w\xFCrde %s im Arbeitsverzeichnis anlegen, das am Ende entfernt wird",
    /* 211 */ "kein Verzeichnis angegeben",
    /* 212 */ "der Verzeichnisname ist zu lang (h\xF6" "chstens 200 Zeichen)",
    /* 213 */ "ein Verzeichnisname darf nur Buchstaben, Ziffern und / . _ - + , @ : = enthalten",
    /* 214 */ "die Sperrdatei %s kann nicht gesperrt werden: %s; es wurde nichts getan",
    /* 215 */
    "die Sperrdatei von setup kann nicht angelegt werden (kein Verzeichnis f\xFCr die Sperre); es wurde nichts getan",
    /* 216 */ "die Sperrdatei %s kann nicht angelegt werden (%s); es wurde nichts getan",
    /* 217 */ "ein anderes setup (Prozess %s) \xE4ndert diesen Rechner; es wurde nichts getan",
    /* 218 */ "warte auf das Ende eines anderen setup (Prozess %s)",
    /* 219 */ "eine Installation l\xE4uft (Prozess %s): das Angezeigte kann sich \xE4ndern",
    /* 220 */
    "%s kann nicht geschrieben werden (%s): ein abgebrochener Lauf l\xE4sst die festgehaltenen Verzeichnisse so",
    /* 221 */ "%s wird nicht verwendet: %s",
    /* 222 */ "Wechsel in das Verzeichnis %s nicht m\xF6glich",
    /* 223 */ "Wechsel in das Verzeichnis %s nicht m\xF6glich : %s",
    /* 224 */ "%s: nicht ge\xE4ndert",
    /* 225 */ "%s: %s nicht ge\xE4ndert",
    /* 226 */ "%s wurde nicht ge\xE4ndert: %s",
    /* 227 */ "Pfad zu lang: %s",
    /* 228 */ "Pfad zu lang: %s/%s",
    /* 229 */ "Befehlszeile zu lang, nicht ausgef\xFChrt: %.60s...",
    /* 230 */ "%s ist kein eigenes Programm von root: nicht ausgef\xFChrt",
    /* 231 */ "%s wurde nicht ausgef\xFChrt",
    /* 232 */ "ist ein symbolischer Link, dem root nicht folgen darf",
    /* 233 */ "geh\xF6rt nicht root (uid %u)",
    /* 234 */ "hat %lu Links",
    /* 235 */ "%s fehlt in %s, dessen Liste disks sie nennt: das Medium ist nicht vollst\xE4ndig",
    /* 236 */
    "das Medium enth\xE4lt keine Pr\xFC" "fsummendatei und ist nicht signiert, und dieser Rechner installiert nur Medien, "
    "die mit einem Schl\xFCssel aus %s signiert sind",
    /* 237 */ "die Pr\xFC" "fsummendatei %s kann nicht als Datei gelesen werden: das Medium ist besch\xE4" "digt",
    /* 238 */ "die Pr\xFC" "fsummendatei %s enth\xE4lt ein Byte 0: das Medium ist besch\xE4" "digt",
    /* 239 */ "%s fehlt in %s, dessen Pr\xFC" "fsummendatei sie nennt: das Medium ist nicht vollst\xE4ndig",
    /* 240 */ "die Pr\xFC" "fsummendatei %s/%s ist besch\xE4" "digt, Zeile %d",
    /* 241 */ "die Pr\xFC" "fsummendatei %s/%s enth\xE4lt keine Zeile: das Medium ist besch\xE4" "digt",
    /* 242 */ "%s hat keine Zeile in der Pr\xFC" "fsummendatei %s/%s: das Medium ist besch\xE4" "digt",
    /* 243 */ "%s in %s kann nicht als Datei gelesen werden: das Medium ist besch\xE4" "digt",
    /* 244 */ "%s/%s stimmt nicht mit seiner Pr\xFC" "fsumme \xFC" "berein: das Medium ist besch\xE4" "digt",
    /* 245 */ "dem Schl\xFCsselverzeichnis %s kann nicht vertraut werden: %s",
    /* 246 */ "das Schl\xFCsselverzeichnis %s kann nicht ge\xF6" "ffnet werden: %s",
    /* 247 */ "es ist ein symbolischer Link",
    /* 248 */ "es ist kein Verzeichnis",
    /* 249 */ "das Schl\xFCsselverzeichnis %s kann nicht gelesen werden: %s",
    /* 250 */ "dem Schl\xFCssel %s kann nicht vertraut werden: %s",
    /* 251 */ "der Schl\xFCssel %s kann nicht gelesen werden: %s",
    /* 252 */ "der Schl\xFCssel %s ist besch\xE4" "digt: %s",
    /* 253 */ "die Signaturdatei %s ist keine regul\xE4re Datei: das Medium ist besch\xE4" "digt",
    /* 254 */ "die Signaturdatei %s kann nicht gelesen werden: %s",
    /* 255 */ "die Signaturdatei %s ist besch\xE4" "digt: %s",
    /* 256 */
    "das Medium ist nicht signiert, und dieser Rechner installiert nur Medien, die mit einem Schl\xFCssel aus %s "
    "signiert sind",
    /* 257 */
    "Das Medium ist mit dem Schl\xFCssel %s signiert; seine Signatur wurde nicht gepr\xFC" "ft: in %s liegt kein Schl\xFCssel\n",
    /* 258 */
    "die Signatur %s/%s mit dem Schl\xFCssel %s ist ung\xFCltig: %s: das Medium ist besch\xE4" "digt oder wurde ver\xE4ndert",
    /* 259 */ "das Medium ist mit dem Schl\xFCssel %s signiert, der in %s fehlt: es wurde nichts installiert",
    /* 260 */ "Signatur: keine, das Medium ist nicht signiert",
    /* 261 */ "Signatur: nicht vermerkt",
    /* 262 */ "Signatur: Schl\xFCssel %s, gepr\xFC" "ft mit %s; vertrauensw\xFCrdiger Kommentar: %s",
    /* 263 */
    "Signatur: Schl\xFCssel %s, nicht gepr\xFC" "ft, in %s liegt kein Schl\xFCssel; vertrauensw\xFCrdiger Kommentar: %s",
    /* 264 */ "die Liste disks nennt eine Datei, die nicht verwendet werden kann: %s",
    /* 265 */ "die Liste disks in %s nennt kein Teilst\xFC" "ck des Archivs",
    /* 266 */ "das Teilst\xFC" "ck %s des Archivs fehlt in %s",
    /* 267 */ "das Teilst\xFC" "ck %s des Archivs in %s kann nicht als regul\xE4re Datei gelesen werden",
    /* 268 */ "Pfad des Archivs zu lang",
    /* 269 */ "das Produktarchiv %s ist abgeschnitten: ein Teilst\xFC" "ck des Mediums ist besch\xE4" "digt",
    /* 270 */ "das Arbeitsverzeichnis %s kann nicht neu angelegt werden: %s",
    /* 271 */ "das Arbeitsverzeichnis %s ist nicht das soeben angelegte",
    /* 272 */ "der Verzeichnisname enth\xE4lt ein Steuerzeichen",
    /* 273 */ "%s konnte nicht geschrieben werden",
    /* 274 */ "ist kein eigenes Verzeichnis",
    /* 275 */ "geh\xF6rt einem anderen Benutzer",
    /* 276 */ "ist f\xFCr andere beschreibbar",
    /* 277 */ "ist f\xFCr seine Gruppe beschreibbar",
    /* 278 */ "das Arbeitsverzeichnis %s %s",
    /* 279 */ "%s fehlt in %s, dessen Liste disks sie nennt",
    /* 280 */ "%s in %s kann nicht als regul\xE4re Datei gelesen werden: das Medium ist besch\xE4" "digt",
    /* 281 */
    "das Medium %s liegt im Arbeitsverzeichnis %s, das eine Installation ersetzt; starten Sie setup von anderswo "
    "oder geben Sie einen anderen Arbeitsbereich an",
    /* 282 */ "die Notizen %s werden nicht verwendet: %s",
    /* 283 */ "sie sind besch\xE4" "digt, Zeile %d",
    /* 284 */ "%s wurde nicht geschrieben: %s",
    /* 285 */ "Manifest-Datei %s",
    /* 286 */ "das fr\xFChere Manifest %s wird nicht verwendet: %s; das neue ersetzt es",
    /* 287 */ "das Manifest %s wurde nicht geschrieben",
    /* 288 */ "%s wurde nicht entfernt",
    /* 289 */ "fehlt",
    /* 290 */ "Typ",
    /* 291 */ "Modus",
    /* 292 */ "Eigent\xFCmer",
    /* 293 */ "Gruppe",
    /* 294 */ "Gr\xF6\xDF" "e",
    /* 295 */ "Inhalt",
    /* 296 */ "Link",
    /* 297 */ "unlesbar",
    /* 298 */ "%s %s: %s, jetzt %s",
    /* 299 */ "%zu Pfade mit %s verglichen: %d weichen ab",
    /* 300 */ "das Manifest %s ist besch\xE4" "digt, Zeile %d",
    /* 301 */ "kein Manifest %s: %s",
    /* 302 */ "dem Manifest %s wird nicht vertraut: %s; %s",
    /* 303 */ "nichts zu pr\xFC" "fen",
    /* 304 */ "es wird nichts entfernt",
    /* 305 */ "keine Installation, zu der zur\xFC" "ckgekehrt werden kann",
    /* 306 */ "es ist nicht mehr, was die Installation angelegt hat",
    /* 307 */ "der Link zeigt jetzt auf %s",
    /* 308 */ "es hat sich ge\xE4ndert, w\xE4hrend es gepr\xFC" "ft wurde",
    /* 309 */ "es wurde seit der Installation ge\xE4ndert",
    /* 310 */ "%s. Trotzdem entfernen? [y/N] ",
    /* 311 */ "seine set-user-ID-Bits konnten nicht entfernt werden: %s",
    /* 312 */ "es ist nicht leer",
    /* 313 */ "behalten %s: %s",
    /* 314 */ "%s ist entfernt",
    /* 315 */ "%zu Pfade wurden behalten; %s f\xFChrt auf, was bleibt",
    /* 316 */ "%zu Pfade wurden behalten; %s konnte nicht neu geschrieben werden",
    /* 317 */ "sie hat kein Manifest",
    /* 318 */ "ihrem Manifest wird nicht vertraut: %s",
    /* 319 */ "ein Lauf dar\xFC" "ber wurde abgebrochen (%s)",
    /* 320 */ "in %s gibt es keine fr\xFChere Installation zum Aufbewahren (keep); es wurde nichts getan",
    /* 321 */ "die fr\xFChere Installation in %s kann nicht aufbewahrt werden (keep): %s; es wurde nichts getan",
    /* 322 */ "die Aktualisierung ist nicht vollst\xE4ndig; die fr\xFChere Installation ist in %s gesichert",
    /* 323 */ "um zu ihr zur\xFC" "ckzukehren: setup rollback install %s",
    /* 324 */ "es ist kein Platz, um die fr\xFChere Installation aufzubewahren (keep); es wurde nichts getan",
    /* 325 */
    "es ist kein Platz, um die fr\xFChere Installation zu sichern; die Aktualisierung l\xE4uft ohne Sicherung weiter",
    /* 326 */ "die fr\xFChere Installation, gesichert in %s",
    /* 327 */ "die in %s gesicherte fr\xFChere Installation bleibt, wie sie ist",
    /* 328 */ "die fr\xFChere Installation in %s wird nicht gesichert: %s",
    /* 329 */
    "die fr\xFChere Installation konnte nicht in %s gesichert werden (das Protokoll %s/%s.log nennt den Grund)",
    /* 330 */ "keep wurde verlangt; an der Installation wurde nichts ge\xE4ndert",
    /* 331 */ "die fr\xFChere Installation ist in %s gesichert",
    /* 332 */ "die fr\xFChere Installation ist in %s gesichert, anstelle einer \xE4lteren",
    /* 333 */
    "die fr\xFChere Installation bleibt in %s aufbewahrt: setup rollback install %s stellt sie wieder her",
    /* 334 */ "die in %s gesicherte fr\xFChere Installation bleibt: setup rollback stellt sie wieder her\n",
    /* 335 */ "entfernt %s",
    /* 336 */ "nicht wiederhergestellt %s: %s",
    /* 337 */ "ein symbolischer Link, der nicht root geh\xF6rt, f\xFChrt dorthin",
    /* 338 */ "wo die fr\xFChere Installation ein Verzeichnis hatte, steht etwas anderes",
    /* 339 */ "wo die fr\xFChere Installation eine Datei hatte, steht ein Verzeichnis",
    /* 340 */
    "%s ist nicht vollst\xE4ndig zur\xFC" "ckgesetzt: Baum und Manifest sind wiederhergestellt, %d Pfade au\xDF" "erhalb "
    "wiederhergestellt, %d der neuen Installation entfernt, %d unver\xE4ndert gelassen (oben genannt)",
    /* 341 */ "das Zur\xFC" "cksetzen ist nicht vollst\xE4ndig; die fr\xFChere Installation bleibt in %s gesichert",
    /* 342 */ "sobald die genannten Pfade frei sind, kann setup rollback install %s erneut ausgef\xFChrt werden",
    /* 343 */
    "keine Installation, zu der zur\xFC" "ckgekehrt werden kann: %s ist keine vollst\xE4ndig gesicherte Installation",
    /* 344 */ "keine Installation, zu der zur\xFC" "ckgekehrt werden kann: keine gesicherte Installation %s",
    /* 345 */
    "%s ist auf die fr\xFChere Installation zur\xFC" "ckgesetzt: Baum und Manifest wiederhergestellt, %d Pfade au\xDF" "erhalb "
    "wiederhergestellt, %d der neuen Installation entfernt",
    /* 346 */ "die JSON-Ausgabe der Vorschau kann nicht eingerichtet werden",
    /* 347 */ "die Vorschau kann nicht fortfahren: %s",
    /* 348 */ "im Arbeitsbereich kann kein privates Verzeichnis angelegt werden",
    /* 349 */
    "Vorschau einer Installation von %s (ein Diskettensatz im Arbeitsverzeichnis) nach %s/Vexla/vpxx; es wird "
    "nichts ge\xE4ndert.",
    /* 350 */
    "Vorschau einer Installation von %s (ein Installationsort) nach %s/Vexla/vpxx; es wird nichts ge\xE4ndert.",
    /* 351 */ "Arbeitsverzeichnis: %s",
    /* 352 */ "fr\xFChere Installation: %s",
    /* 353 */ "fr\xFChere Installation: keine",
    /* 354 */ "Kernel-Version: %s",
    /* 355 */ "Kernel-Version: unbekannt",
    /* 356 */ "freier Platz: genug im Arbeitsbereich %s und in %s",
    /* 357 */ "freier Platz: nicht gepr\xFC" "ft (no_space_check)",
    /* 358 */ "\nDie Installation w\xFCrde in dieser Reihenfolge ausf\xFChren:",
    /* 359 */ "\nSie w\xFCrde schreiben und fragen:",
    /* 360 */ "eine Frage: \xFC" "ber der fr\xFCheren Installation in %s fortfahren? (y f\xE4hrt fort)",
    /* 361 */ "Link /usr/Vexla -> %s/Vexla",
    /* 362 */ "Link /usr/Vexla/vpxx -> %s/Vexla/vpxx",
    /* 363 */ "/usr/Vexla/vpxx ist vorhanden und kein Link; nicht verkn\xFCpft",
    /* 364 */ "%s wird nicht set-user-ID: die Installation ist nicht vollst\xE4ndig",
    /* 365 */ "%s wurde nicht set-user-ID",
    /* 366 */ "Datei %s: \"%s\"",
    /* 367 */ "%s wurde nicht geschrieben",
    /* 368 */ "die veraltete Datei %s kann nicht entfernt werden",
    /* 369 */ "%s kann nicht neu angelegt werden: %s",
    /* 370 */ "die sed-\xC4nderung von %s wurde nicht \xFC" "bernommen",
    /* 371 */ "Link %s -> %s/%s",
    /* 372 */ "Name des Aufrufskripts zu lang: %s",
    /* 373 */ "Paketliste, Zeile %d: %s %s fehlgeschlagen",
    /* 374 */ "%s, Zeile %d: %s",
    /* 375 */ "Pfad der Paketliste zu lang",
    /* 376 */ "eine Frage: auf die laufenden Programme %s warten oder abbrechen?",
    /* 377 */ "Skript %s",
    /* 378 */ "eine Versionsbedingung braucht einen Operator und eine Version",
    /* 379 */ "die Zeile nennt keine Datei",
    /* 380 */ "dirto braucht ein Ziel",
    /* 381 */ "ein Name enth\xE4lt ein Zeichen, das die Shell falsch lesen w\xFCrde: %s",
    /* 382 */ "der Wert von %s enth\xE4lt ein Zeichen, das die Shell falsch lesen w\xFCrde: %s",
    /* 383 */ "es ist besch\xE4" "digt, Zeile %d",
    /* 384 */ "preview, verify, remove, rollback und history stehen allein: eines davon je Lauf",
    /* 385 */ "%s ist nicht vorhanden",
    /* 386 */ "%s kann nicht ge\xF6" "ffnet werden: %s",
    /* 387 */ "%s geh\xF6rt nicht root",
    /* 388 */ "%s, und er kann nicht beiseitegelegt werden: %s",
    /* 389 */ "der Verlauf %s wird nicht verwendet: %s; er wird als %s beiseitegelegt und ein neuer Verlauf begonnen",
    /* 390 */ "er \xE4ndert sich st\xE4ndig",
    /* 391 */ "der Verlauf %s kann nicht geschrieben werden (%s): dieser Lauf wird dort nicht festgehalten",
    /* 392 */ "noch kein Verlauf: %s ist nicht vorhanden",
    /* 393 */ "der Verlauf %s wird nicht verwendet: %s",
    /* 394 */ "der Verlauf %s kann nicht gelesen werden: %s",
    /* 395 */ "%s, Zeile %d, ist kein JSON-Objekt: \xFC" "bergangen",
    /* 396 */ "der Verlauf %s enth\xE4lt keinen Lauf",
    /* 397 */ "kein Medium",
    /* 398 */ "Medium %s ohne Pr\xFC" "fsummen",
    /* 399 */ "Medium %s sha256 %s...",
    /* 400 */ "Status %d (1 fehlgeschlagener Schritt)",
    /* 401 */ "Status %d (%d fehlgeschlagene Schritte)",
    /* 402 */ "signiert von %s",
    /* 403 */ "die Zeile wurde abgeschnitten",
    /* 404 */ "%s konnte nicht ge\xF6" "ffnet werden",
    /* 405 */ "Datei kann nicht ge\xF6" "ffnet werden, %s",
    /* 406 */ "%s konnte nicht geschrieben werden",
    /* 407 */ "Speicher kann nicht belegt werden",
    /* 408 */ "der Systembefehl '%s' ist nicht zu finden",
    /* 409 */ "der fehlgeschlagene Befehl: %.*s",
    /* 410 */ "konnte nicht gestartet werden (%s)",
    /* 411 */ "Exit-Status %d",
    /* 412 */ "durch Signal %d beendet",
    /* 413 */ "mit Wartestatus %d beendet",
    /* 414 */ "Befehlszeile zu lang",
    /* 415 */ "es geh\xF6rt nicht root (uid %u)",
    /* 416 */ "andere als root d\xFCrfen es schreiben (Modus %04o)",
    /* 417 */ "es ist ein symbolischer Link",
    /* 418 */ "es ist kein Verzeichnis",
    /* 419 */ "es ist keine regul\xE4re Datei",
    /* 420 */ "es hat %lu Links",
    /* 421 */ "ist ein symbolischer Link, der nicht root geh\xF6rt",
    /* 422 */ "ist ein symbolischer Link in einem Verzeichnis, in das andere schreiben d\xFCrfen",
    /* 423 */ "ist kein Pfad unterhalb des Wurzelverzeichnisses",
    /* 424 */ "geh\xF6rt nicht root (uid %u)",
    /* 425 */ "ist nicht erreichbar: %s",
    /* 426 */ "kann nicht ge\xF6" "ffnet werden: %s",
    /* 427 */ "ist ein symbolischer Link, dem nicht gefolgt werden kann",
    /* 428 */ "zu lang f\xFCr eine Schl\xFCsseldatei",
    /* 429 */ "enth\xE4lt ein Byte 0 oder eine zu lange Zeile",
    /* 430 */ "beginnt nicht mit einem nicht vertrauensw\xFCrdigen Kommentar",
    /* 431 */ "Zeile 2 ist nicht das Base64 eines \xF6" "ffentlichen Schl\xFCssels",
    /* 432 */ "es ist kein Ed25519-Schl\xFCssel",
    /* 433 */ "enth\xE4lt mehr als zwei Zeilen",
    /* 434 */ "zu lang f\xFCr eine Signaturdatei",
    /* 435 */ "enth\xE4lt weniger als vier Zeilen",
    /* 436 */ "Zeile 2 ist nicht das Base64 einer Signatur",
    /* 437 */ "hat die alte Form, ohne Prehash (ED)",
    /* 438 */ "es ist keine Ed25519-Signatur",
    /* 439 */ "Zeile 3 ist kein vertrauensw\xFCrdiger Kommentar",
    /* 440 */ "Zeile 4 ist nicht das Base64 einer Signatur",
    /* 441 */ "enth\xE4lt mehr als vier Zeilen",
    /* 442 */ "die Signaturbibliothek kann nicht starten",
    /* 443 */ "sie ist von Schl\xFCssel %s, nicht von %s",
    /* 444 */ "die Signatur passt nicht zur Datei",
    /* 445 */ "der vertrauensw\xFCrdige Kommentar passt nicht zu seiner Signatur",
    /* 446 */ "Hier wird eine Zahl ben\xF6tigt.",
    /* 447 */ "Diese Seite kann nicht angezeigt werden: f\xFCr ihr Layout reicht der Speicher nicht.\n",
    /* 448 */ "Diese Seite kann nicht angezeigt werden: ihr Layout ist l\xE4nger als %d Zeilen.\n",
    /* 449 */ "Die Datei %s kann nicht geladen werden: die Hilfeanzeige fasst %d Dateien, nicht mehr\n",
    /* 450 */
    "\n"
    "Installiert die Vexla-Drucksoftware von dem Medium, von dem es gestartet\n"
    "wird (als root).\n"
    "\n"
    "  install DIR     nach DIR/Vexla/vpxx installieren (ein vollst\xE4ndiger Pfad);\n"
    "                  ohne es in das Verzeichnis einer fr\xFCheren Installation,\n"
    "                  sonst nach /usr\n"
    "  menu            das Men\xFC anbieten: installieren, einen Installationsort\n"
    "                  anlegen, das Arbeitsverzeichnis als Disketten-Quelle\n"
    "                  kennzeichnen\n"
    "  manual          die Arbeitsdateien am Ende behalten\n"
    "  no_space_check  den freien Platz nicht zuerst pr\xFC" "fen\n"
    "  WORK_AREA       jedes andere Wort: der Arbeitsbereich (Standard /tmp), der\n"
    "                  das Arbeitsverzeichnis WORK_AREA/VexlaInstall enth\xE4lt; er\n"
    "                  darf nicht in DIR/Vexla, /var/spool/Vexla oder /usr/Vexla\n"
    "                  liegen\n"
    "  -v              die Version auf der Standardfehlerausgabe ausgeben\n"
    "  preview         zeigen, was eine Installation hier tun w\xFCrde, ohne etwas\n"
    "                  zu \xE4ndern (kein root n\xF6tig): ihre Befehlszeilen, Dateien\n"
    "                  und Fragen\n"
    "  verify          die Installation mit ihrem Manifest vergleichen\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), eine Zeile je Unterschied\n"
    "  remove          die Installation entfernen, wie ihr Manifest sie auff\xFChrt\n"
    "  history         die L\xE4ufe auflisten, die diesen Rechner ge\xE4ndert haben,\n"
    "                  eine Zeile je Lauf (/var/log/setup-Vexla.history; ihn zu\n"
    "                  lesen erfordert root)\n"
    "  --json          preview, verify, history: das Ergebnis als ein JSON-Objekt\n"
    "                  auf der Standardausgabe (setup(8) beschreibt es)\n"
    "  keep            ein Upgrade sichert die fr\xFChere Installation in\n"
    "                  DIR/Vexla/.vpxx.previous, bis es vollst\xE4ndig ist; mit keep\n"
    "                  bleibt die gesicherte Kopie (kann keine angelegt werden:\n"
    "                  Status 1)\n"
    "  rollback        die aufbewahrte fr\xFChere Installation zur\xFC" "cksetzen, auch ihr\n"
    "                  Manifest (Status 2: nichts zum Zur\xFC" "cksetzen)\n"
    "  wait            wenn ein anderes setup diesen Rechner \xE4ndert, auf sein Ende\n"
    "                  warten, statt sofort mit Status 1 zu enden\n"
    "  -h, --help      diesen Text ausgeben\n"
    "\n"
    "Nur ein setup zugleich \xE4ndert den Rechner: eine Installation, eine Entfernung\n"
    "oder ein Rollback h\xE4lt die Sperre /run/setup-Vexla.lock bis zu seinem Ende.\n"
    "Fragen werden auf der Standardeingabe beantwortet (printf 'y\\n' | setup\n"
    "install /opt); eine Eingabe, die bei einer Frage endet, ist keine Antwort.\n"
    "Alles, was eine Installation ausf\xFChrt, wird in /tmp/setup.log protokolliert,\n"
    "und jeder Lauf, der den Rechner ge\xE4ndert hat, h\xE4ngt eine Zeile an\n"
    "/var/log/setup-Vexla.history an.\n"
    "\n"
    "Exit-Status: 0 erledigt (verify: alles stimmt \xFC" "berein); 1 fehlgeschlagen oder\n"
    "nicht erledigt, ein fehlgeschlagener Schritt, ein besch\xE4" "digtes Medium, Ende\n"
    "der Eingabe bei einer Frage (verify: etwas weicht ab; remove: etwas wurde\n"
    "behalten); 2 ein Verzeichnis, das nicht existiert oder nicht verwendet werden\n"
    "kann (verify, remove: kein Manifest, oder eines, das root allein nicht\n"
    "geschrieben haben k\xF6nnte, oder ein besch\xE4" "digtes).\n",
};

constexpr SetupMessage NLS_PORTUGUESE[] = {
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 0-6
    /* 7 */ "\nDigite o novo diret\xF3rio de instala\xE7\xE3o [%s]: ",
    /* 8 */ "Deseja usar %s",
    /* 9 */ "Deseja voltar ao menu do Setup",
    /* 10 */ "Esta entrada deve ser um caminho completo para o diret\xF3rio de instala\xE7\xE3o.\n",
    /* 11 */ "Voc\xEA deve especificar um diret\xF3rio de instala\xE7\xE3o que ser\xE1 usado",
    /* 12 */ "para instalar o diret\xF3rio Vexla com seus arquivos e",
    /* 13 */ "diret\xF3rios de suporte. Este utilit\xE1rio criar\xE1 o diret\xF3rio de instala\xE7\xE3o",
    /* 14 */ "se ele ainda n\xE3o existir.",
    kFree, kFree,  // 15-16
    /* 17 */ "para criar o local de instala\xE7\xE3o. Este utilit\xE1rio criar\xE1 o",
    /* 18 */ "diret\xF3rio de instala\xE7\xE3o se ele ainda n\xE3o existir.",
    kFree,  // 19
    /* 20 */
    "\nAviso: definir outro diret\xF3rio de instala\xE7\xE3o invalidar\xE1 todas as filas de impress\xE3o "
    "definidas [%s]\n ",
    /* 21 */ "n\xE3o \xE9 poss\xEDvel abrir o arquivo, %sInstall/disks",
    kFree, kFree, kFree, kFree, kFree, kFree, kFree,  // 22-28
    kFree, kFree, kFree, kFree, kFree, kFree,         // 29-34
    /* 35 */ "%s est\xE1 conectado\nVoc\xEA deve ser root para executar %s\n",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 36-41
    /* 42 */ "\nDiret\xF3rio de instala\xE7\xE3o existente [%s]\n ",
    kFree, kFree, kFree, kFree, kFree, kFree,  // 43-48
    /* 49 */
    "N\xE3o h\xE1 espa\xE7o suficiente em %s para realizar as atividades de instala\xE7\xE3o. "
    "A \xE1rea de trabalho tempor\xE1ria deve ter pelo menos %e bytes. "
    "Reinicie o procedimento de instala\xE7\xE3o usando uma \xE1rea de trabalho com espa\xE7o suficiente. "
    "\nex.: 1. Use /novo_caminho_de_trabalho em vez de /tmp"
    "\n     2. Execute `setup /novo_caminho_de_trabalho`\n",
    kFree, kFree, kFree, kFree, kFree,  // 50-54
    /* 55 */
    "N\xE3o h\xE1 espa\xE7o suficiente em %s para realizar as atividades de instala\xE7\xE3o. "
    "A \xE1rea de instala\xE7\xE3o deve ter pelo menos %e bytes. "
    "Reinicie o procedimento de instala\xE7\xE3o usando uma \xE1rea de instala\xE7\xE3o com espa\xE7o "
    "suficiente. "
    "\nex.: 1. Use /novo_caminho_de_instalacao em vez do local padr\xE3o"
    "\n     2. Execute 'setup install /novo_caminho_de_instalacao'\n",
    /* 56 */
    "N\xE3o h\xE1 espa\xE7o suficiente para realizar as atividades de instala\xE7\xE3o. "
    "Como voc\xEA est\xE1 usando um diret\xF3rio de trabalho, %s, na mesma parti\xE7\xE3o do diret\xF3rio de "
    "instala\xE7\xE3o selecionado, %s, esta instala\xE7\xE3o requer %e bytes livres. "
    "Execute a instala\xE7\xE3o novamente especificando outro local para o diret\xF3rio de trabalho "
    "ou para o diret\xF3rio de instala\xE7\xE3o. Consulte o arquivo readme se precisar de ajuda com a "
    "sintaxe.",
    setup_057,
    /* 58 */ "setup: ERRO",
    /* 59 */ "VPrintD %s encerrado\n",
    /* 60 */ "falha ao obter a vers\xE3o",
    kFree,  // 61
    /* 62 */
    "\nSe voc\xEA tiver instalado um software de impress\xE3o %s que usa o daemon"
    "\nde impress\xE3o VPrintD, dever\xE1 excluir todas as suas filas de impress\xE3o %s"
    "\nantes de instalar este pacote.\n"
    "\nNOTA: VPrintD est\xE1 localizado em <diret\xF3rio de instala\xE7\xE3o>/%s/%s\n",
    /* 63 */ "\nDeseja continuar com a instala\xE7\xE3o? [yn] ",
    kFree,  // 64
    /* 65 */
    "N\xE3o foi poss\xEDvel determinar o espa\xE7o necess\xE1rio para a instala\xE7\xE3o: isize ausente.\n",
    /* 66 */
    "\nOs seguintes processos est\xE3o em execu\xE7\xE3o."
    "\nO instalador n\xE3o pode continuar at\xE9 que eles terminem:\n",
    /* 67 */ "O que deseja fazer?\n",
    /* 68 */ "1.  Aguardar 30 segundos at\xE9 que esses processos terminem\n",
    /* 69 */ "2.  Sair da instala\xE7\xE3o\n",
    /* 70 */ "\nDigite uma op\xE7\xE3o:  ",
    SETUP_FREE_71_TO_199,
    /* 200 */ "e mais %d",
    /* 201 */ "%d etapa da instala\xE7\xE3o falhou; o log %s/%s.log traz mais detalhes",
    /* 202 */ "%d etapas da instala\xE7\xE3o falharam; o log %s/%s.log traz mais detalhes",
    /* 203 */ "fim da entrada em uma pergunta: nada mais \xE9 instalado",
    /* 204 */ "recusado: %s",
    /* 205 */ "n\xE3o \xE9 poss\xEDvel resolver a \xE1rea de trabalho",
    /* 206 */ "o diret\xF3rio de instala\xE7\xE3o deve ser um caminho completo",
    /* 207 */ "o caminho do programa \xE9 longo demais (no m\xE1ximo 200 caracteres)",
    /* 208 */ "--json s\xF3 se usa com preview, verify ou history",
    /* 209 */ "a \xE1rea de trabalho n\xE3o pode ficar dentro de %s, onde a instala\xE7\xE3o grava",
    /* 210 */ "a instala\xE7\xE3o gravaria %s dentro do diret\xF3rio de trabalho, que \xE9 removido no final",
    /* 211 */ "nenhum diret\xF3rio informado",
    /* 212 */ "o nome do diret\xF3rio \xE9 longo demais (no m\xE1ximo 200 caracteres)",
    /* 213 */ "um nome de diret\xF3rio s\xF3 pode conter letras, d\xEDgitos e / . _ - + , @ : =",
    /* 214 */ "o arquivo de bloqueio %s n\xE3o pode ser bloqueado: %s; nada foi feito",
    /* 215 */
    "n\xE3o \xE9 poss\xEDvel criar o arquivo de bloqueio do setup (nenhum diret\xF3rio de bloqueio); nada foi feito",
    /* 216 */ "n\xE3o \xE9 poss\xEDvel criar o arquivo de bloqueio %s (%s); nada foi feito",
    /* 217 */ "outro setup (processo %s) est\xE1 alterando este host; nada foi feito",
    /* 218 */ "aguardando o t\xE9rmino de outro setup (processo %s)",
    /* 219 */ "h\xE1 uma instala\xE7\xE3o em andamento (processo %s): o que \xE9 mostrado pode mudar",
    /* 220 */ "n\xE3o \xE9 poss\xEDvel gravar %s (%s): uma execu\xE7\xE3o interrompida deixa assim os diret\xF3rios retidos",
    /* 221 */ "%s n\xE3o \xE9 usado: %s",
    /* 222 */ "n\xE3o \xE9 poss\xEDvel mudar para o diret\xF3rio %s",
    /* 223 */ "n\xE3o \xE9 poss\xEDvel mudar para o diret\xF3rio %s : %s",
    /* 224 */ "%s: n\xE3o alterado",
    /* 225 */ "%s: %s n\xE3o alterado",
    /* 226 */ "%s n\xE3o foi alterado: %s",
    /* 227 */ "caminho longo demais: %s",
    /* 228 */ "caminho longo demais: %s/%s",
    /* 229 */ "linha de comando longa demais, n\xE3o executada: %.60s...",
    /* 230 */ "%s n\xE3o \xE9 um programa do pr\xF3prio root: n\xE3o executado",
    /* 231 */ "%s n\xE3o foi executado",
    /* 232 */ "\xE9 um v\xEDnculo simb\xF3lico que root n\xE3o pode seguir",
    /* 233 */ "n\xE3o pertence a root (uid %u)",
    /* 234 */ "tem %lu v\xEDnculos",
    /* 235 */ "%s est\xE1 faltando em %s, cuja lista disks o cita: a m\xED" "dia n\xE3o est\xE1 completa",
    /* 236 */
    "a m\xED" "dia n\xE3o traz arquivo de somas de verifica\xE7\xE3o e n\xE3o est\xE1 assinada, e este host s\xF3 instala m\xED" "dias assinadas "
    "por uma chave de %s",
    /* 237 */ "o arquivo de somas de verifica\xE7\xE3o %s n\xE3o pode ser lido como arquivo: a m\xED" "dia est\xE1 danificada",
    /* 238 */ "o arquivo de somas de verifica\xE7\xE3o %s cont\xE9m um byte 0: a m\xED" "dia est\xE1 danificada",
    /* 239 */ "%s est\xE1 faltando em %s, cujo arquivo de somas de verifica\xE7\xE3o o cita: a m\xED" "dia n\xE3o est\xE1 completa",
    /* 240 */ "o arquivo de somas de verifica\xE7\xE3o %s/%s est\xE1 danificado, linha %d",
    /* 241 */ "o arquivo de somas de verifica\xE7\xE3o %s/%s n\xE3o cont\xE9m nenhuma linha: a m\xED" "dia est\xE1 danificada",
    /* 242 */ "%s n\xE3o tem linha no arquivo de somas de verifica\xE7\xE3o %s/%s: a m\xED" "dia est\xE1 danificada",
    /* 243 */ "%s em %s n\xE3o pode ser lido como arquivo: a m\xED" "dia est\xE1 danificada",
    /* 244 */ "%s/%s n\xE3o confere com sua soma de verifica\xE7\xE3o: a m\xED" "dia est\xE1 danificada",
    /* 245 */ "o diret\xF3rio de chaves %s n\xE3o \xE9 confi\xE1vel: %s",
    /* 246 */ "n\xE3o \xE9 poss\xEDvel abrir o diret\xF3rio de chaves %s: %s",
    /* 247 */ "\xE9 um v\xEDnculo simb\xF3lico",
    /* 248 */ "n\xE3o \xE9 um diret\xF3rio",
    /* 249 */ "n\xE3o \xE9 poss\xEDvel ler o diret\xF3rio de chaves %s: %s",
    /* 250 */ "a chave %s n\xE3o \xE9 confi\xE1vel: %s",
    /* 251 */ "n\xE3o \xE9 poss\xEDvel ler a chave %s: %s",
    /* 252 */ "a chave %s est\xE1 danificada: %s",
    /* 253 */ "o arquivo de assinatura %s n\xE3o \xE9 um arquivo comum: a m\xED" "dia est\xE1 danificada",
    /* 254 */ "n\xE3o \xE9 poss\xEDvel ler o arquivo de assinatura %s: %s",
    /* 255 */ "o arquivo de assinatura %s est\xE1 danificado: %s",
    /* 256 */ "a m\xED" "dia n\xE3o est\xE1 assinada, e este host s\xF3 instala m\xED" "dias assinadas por uma chave de %s",
    /* 257 */
    "A m\xED" "dia est\xE1 assinada pela chave %s; sua assinatura n\xE3o foi verificada: nenhuma chave \xE9 mantida em %s\n",
    /* 258 */ "a assinatura %s/%s pela chave %s \xE9 inv\xE1lida: %s: a m\xED" "dia est\xE1 danificada ou foi alterada",
    /* 259 */ "a m\xED" "dia est\xE1 assinada pela chave %s, que n\xE3o est\xE1 em %s: nada foi instalado",
    /* 260 */ "assinatura: nenhuma, a m\xED" "dia n\xE3o est\xE1 assinada",
    /* 261 */ "assinatura: n\xE3o registrada",
    /* 262 */ "assinatura: chave %s, verificada com %s; coment\xE1rio confi\xE1vel: %s",
    /* 263 */ "assinatura: chave %s, n\xE3o verificada, nenhuma chave \xE9 mantida em %s; coment\xE1rio confi\xE1vel: %s",
    /* 264 */ "a lista disks cita um arquivo que n\xE3o pode ser usado: %s",
    /* 265 */ "a lista disks em %s n\xE3o cita nenhuma parte do arquivo compactado",
    /* 266 */ "a parte %s do arquivo compactado est\xE1 faltando em %s",
    /* 267 */ "a parte %s do arquivo compactado em %s n\xE3o pode ser lida como arquivo comum",
    /* 268 */ "caminho do arquivo compactado longo demais",
    /* 269 */ "o arquivo compactado do produto %s est\xE1 truncado: uma parte da m\xED" "dia est\xE1 danificada",
    /* 270 */ "n\xE3o \xE9 poss\xEDvel recriar o diret\xF3rio de trabalho %s: %s",
    /* 271 */ "o diret\xF3rio de trabalho %s n\xE3o \xE9 o que acabou de ser criado",
    /* 272 */ "o nome do diret\xF3rio cont\xE9m um caractere de controle",
    /* 273 */ "n\xE3o foi poss\xEDvel gravar %s",
    /* 274 */ "n\xE3o \xE9 um diret\xF3rio pr\xF3prio",
    /* 275 */ "pertence a outro usu\xE1rio",
    /* 276 */ "pode ser gravado por outros",
    /* 277 */ "pode ser gravado pelo seu grupo",
    /* 278 */ "o diret\xF3rio de trabalho %s %s",
    /* 279 */ "%s est\xE1 faltando em %s, cuja lista disks o cita",
    /* 280 */ "%s em %s n\xE3o pode ser lido como arquivo comum: a m\xED" "dia est\xE1 danificada",
    /* 281 */
    "a m\xED" "dia %s est\xE1 no diret\xF3rio de trabalho %s, que uma instala\xE7\xE3o substitui; execute o setup de outro lugar ou "
    "informe outra \xE1rea de trabalho",
    /* 282 */ "as notas %s n\xE3o s\xE3o usadas: %s",
    /* 283 */ "est\xE3o danificadas, linha %d",
    /* 284 */ "%s n\xE3o foi gravado: %s",
    /* 285 */ "manifesto %s",
    /* 286 */ "o manifesto anterior %s n\xE3o \xE9 usado: %s; o novo o substitui",
    /* 287 */ "o manifesto %s n\xE3o foi gravado",
    /* 288 */ "%s n\xE3o foi removido",
    /* 289 */ "ausente",
    /* 290 */ "tipo",
    /* 291 */ "modo",
    /* 292 */ "dono",
    /* 293 */ "grupo",
    /* 294 */ "tamanho",
    /* 295 */ "conte\xFA" "do",
    /* 296 */ "v\xEDnculo",
    /* 297 */ "ileg\xEDvel",
    /* 298 */ "%s %s: %s, agora %s",
    /* 299 */ "%zu caminhos verificados com %s: %d diferem",
    /* 300 */ "o manifesto %s est\xE1 danificado, linha %d",
    /* 301 */ "n\xE3o h\xE1 manifesto %s: %s",
    /* 302 */ "o manifesto %s n\xE3o \xE9 confi\xE1vel: %s; %s",
    /* 303 */ "nada a verificar",
    /* 304 */ "nada \xE9 removido",
    /* 305 */ "n\xE3o h\xE1 instala\xE7\xE3o \xE0 qual voltar",
    /* 306 */ "j\xE1 n\xE3o \xE9 o que a instala\xE7\xE3o criou",
    /* 307 */ "o v\xEDnculo agora aponta para %s",
    /* 308 */ "mudou enquanto era examinado",
    /* 309 */ "foi alterado desde a instala\xE7\xE3o",
    /* 310 */ "%s. Remover mesmo assim? [y/N] ",
    /* 311 */ "n\xE3o foi poss\xEDvel retirar seus bits set-user-ID: %s",
    /* 312 */ "n\xE3o est\xE1 vazio",
    /* 313 */ "mantido %s: %s",
    /* 314 */ "%s foi removido",
    /* 315 */ "%zu caminhos foram mantidos; %s lista o que resta",
    /* 316 */ "%zu caminhos foram mantidos; n\xE3o foi poss\xEDvel regravar %s",
    /* 317 */ "ela n\xE3o tem manifesto",
    /* 318 */ "seu manifesto n\xE3o \xE9 confi\xE1vel: %s",
    /* 319 */ "uma execu\xE7\xE3o sobre ela foi interrompida (%s)",
    /* 320 */ "n\xE3o h\xE1 instala\xE7\xE3o anterior em %s para manter (keep); nada foi feito",
    /* 321 */ "a instala\xE7\xE3o anterior em %s n\xE3o pode ser mantida (keep): %s; nada foi feito",
    /* 322 */ "a atualiza\xE7\xE3o n\xE3o est\xE1 completa; a instala\xE7\xE3o anterior est\xE1 salva em %s",
    /* 323 */ "para voltar a ela: setup rollback install %s",
    /* 324 */ "n\xE3o h\xE1 espa\xE7o para manter a instala\xE7\xE3o anterior (keep); nada foi feito",
    /* 325 */ "n\xE3o h\xE1 espa\xE7o para salvar a instala\xE7\xE3o anterior; a atualiza\xE7\xE3o continua sem ela",
    /* 326 */ "a instala\xE7\xE3o anterior, salva em %s",
    /* 327 */ "a instala\xE7\xE3o anterior salva em %s \xE9 mantida como est\xE1",
    /* 328 */ "a instala\xE7\xE3o anterior em %s n\xE3o \xE9 salva: %s",
    /* 329 */ "n\xE3o foi poss\xEDvel salvar a instala\xE7\xE3o anterior em %s (o log %s/%s.log diz por qu\xEA)",
    /* 330 */ "keep foi pedido; nada da instala\xE7\xE3o foi alterado",
    /* 331 */ "a instala\xE7\xE3o anterior est\xE1 salva em %s",
    /* 332 */ "a instala\xE7\xE3o anterior est\xE1 salva em %s, no lugar de uma mais antiga",
    /* 333 */ "a instala\xE7\xE3o anterior \xE9 mantida em %s: setup rollback install %s a restaura",
    /* 334 */ "a instala\xE7\xE3o anterior salva em %s permanece: setup rollback a restaura\n",
    /* 335 */ "retirado %s",
    /* 336 */ "n\xE3o restaurado %s: %s",
    /* 337 */ "um v\xEDnculo simb\xF3lico que n\xE3o pertence a root leva at\xE9 l\xE1",
    /* 338 */ "h\xE1 algo que n\xE3o \xE9 um diret\xF3rio onde a instala\xE7\xE3o anterior tinha um",
    /* 339 */ "h\xE1 um diret\xF3rio onde a instala\xE7\xE3o anterior tinha um arquivo",
    /* 340 */
    "%s n\xE3o foi revertido por completo: sua \xE1rvore e seu manifesto foram restaurados, %d caminhos externos "
    "restaurados, %d da nova instala\xE7\xE3o retirados, %d deixados como est\xE3o (citados acima)",
    /* 341 */ "a revers\xE3o n\xE3o est\xE1 completa; a instala\xE7\xE3o anterior continua salva em %s",
    /* 342 */ "depois de liberados os caminhos citados, setup rollback install %s pode ser executado de novo",
    /* 343 */ "n\xE3o h\xE1 instala\xE7\xE3o \xE0 qual voltar: %s n\xE3o \xE9 uma instala\xE7\xE3o salva completa",
    /* 344 */ "n\xE3o h\xE1 instala\xE7\xE3o \xE0 qual voltar: n\xE3o existe a instala\xE7\xE3o salva %s",
    /* 345 */
    "%s voltou \xE0 instala\xE7\xE3o anterior: sua \xE1rvore e seu manifesto restaurados, %d caminhos externos restaurados, %d "
    "da nova instala\xE7\xE3o retirados",
    /* 346 */ "n\xE3o \xE9 poss\xEDvel preparar a sa\xED" "da JSON da pr\xE9-visualiza\xE7\xE3o",
    /* 347 */ "a pr\xE9-visualiza\xE7\xE3o n\xE3o pode continuar: %s",
    /* 348 */ "n\xE3o \xE9 poss\xEDvel criar um diret\xF3rio privado na \xE1rea de trabalho",
    /* 349 */
    "Pr\xE9-visualiza\xE7\xE3o de uma instala\xE7\xE3o a partir de %s (um conjunto de disquetes no diret\xF3rio de trabalho) em "
    "%s/Vexla/vpxx; nada \xE9 alterado.",
    /* 350 */
    "Pr\xE9-visualiza\xE7\xE3o de uma instala\xE7\xE3o a partir de %s (um local de instala\xE7\xE3o) em %s/Vexla/vpxx; nada \xE9 alterado.",
    /* 351 */ "diret\xF3rio de trabalho: %s",
    /* 352 */ "instala\xE7\xE3o anterior: %s",
    /* 353 */ "instala\xE7\xE3o anterior: nenhuma",
    /* 354 */ "vers\xE3o do kernel: %s",
    /* 355 */ "vers\xE3o do kernel: desconhecida",
    /* 356 */ "espa\xE7o livre: suficiente na \xE1rea de trabalho %s e em %s",
    /* 357 */ "espa\xE7o livre: n\xE3o verificado (no_space_check)",
    /* 358 */ "\nA instala\xE7\xE3o executaria, nesta ordem:",
    /* 359 */ "\nEla gravaria e perguntaria:",
    /* 360 */ "uma pergunta: continuar sobre a instala\xE7\xE3o anterior em %s? (y continua)",
    /* 361 */ "v\xEDnculo /usr/Vexla -> %s/Vexla",
    /* 362 */ "v\xEDnculo /usr/Vexla/vpxx -> %s/Vexla/vpxx",
    /* 363 */ "/usr/Vexla/vpxx existe e n\xE3o \xE9 um v\xEDnculo; n\xE3o vinculado",
    /* 364 */ "%s n\xE3o se torna set-user-ID: a instala\xE7\xE3o n\xE3o est\xE1 completa",
    /* 365 */ "%s n\xE3o foi tornado set-user-ID",
    /* 366 */ "arquivo %s: \"%s\"",
    /* 367 */ "%s n\xE3o foi gravado",
    /* 368 */ "n\xE3o \xE9 poss\xEDvel remover o arquivo obsoleto %s",
    /* 369 */ "n\xE3o \xE9 poss\xEDvel criar %s do zero: %s",
    /* 370 */ "a edi\xE7\xE3o sed de %s n\xE3o foi colocada no lugar",
    /* 371 */ "v\xEDnculo %s -> %s/%s",
    /* 372 */ "nome do script de chamada longo demais: %s",
    /* 373 */ "lista de pacotes, linha %d: %s %s falhou",
    /* 374 */ "%s, linha %d: %s",
    /* 375 */ "caminho da lista de pacotes longo demais",
    /* 376 */ "uma pergunta: aguardar os programas em execu\xE7\xE3o %s ou sair?",
    /* 377 */ "script %s",
    /* 378 */ "uma condi\xE7\xE3o de vers\xE3o precisa de um operador e de uma vers\xE3o",
    /* 379 */ "a linha n\xE3o cita nenhum arquivo",
    /* 380 */ "dirto precisa de um destino",
    /* 381 */ "um nome cont\xE9m um caractere que o shell interpretaria mal: %s",
    /* 382 */ "o valor de %s cont\xE9m um caractere que o shell interpretaria mal: %s",
    /* 383 */ "est\xE1 danificado, linha %d",
    /* 384 */ "preview, verify, remove, rollback e history s\xE3o usados sozinhos: um deles por execu\xE7\xE3o",
    /* 385 */ "%s n\xE3o existe",
    /* 386 */ "n\xE3o \xE9 poss\xEDvel abrir %s: %s",
    /* 387 */ "%s n\xE3o pertence a root",
    /* 388 */ "%s, e n\xE3o \xE9 poss\xEDvel p\xF4-lo de lado: %s",
    /* 389 */ "o hist\xF3rico %s n\xE3o \xE9 usado: %s; ele \xE9 posto de lado como %s e um novo hist\xF3rico \xE9 iniciado",
    /* 390 */ "ele muda sem parar",
    /* 391 */ "n\xE3o \xE9 poss\xEDvel escrever o hist\xF3rico %s (%s): esta execu\xE7\xE3o n\xE3o fica registrada nele",
    /* 392 */ "ainda n\xE3o h\xE1 hist\xF3rico: %s n\xE3o existe",
    /* 393 */ "o hist\xF3rico %s n\xE3o \xE9 usado: %s",
    /* 394 */ "n\xE3o \xE9 poss\xEDvel ler o hist\xF3rico %s: %s",
    /* 395 */ "%s, linha %d, n\xE3o \xE9 um objeto JSON: ignorada",
    /* 396 */ "o hist\xF3rico %s n\xE3o cont\xE9m nenhuma execu\xE7\xE3o",
    /* 397 */ "sem m\xED" "dia",
    /* 398 */ "m\xED" "dia %s sem somas de verifica\xE7\xE3o",
    /* 399 */ "m\xED" "dia %s sha256 %s...",
    /* 400 */ "status %d (1 etapa com falha)",
    /* 401 */ "status %d (%d etapas com falha)",
    /* 402 */ "assinado por %s",
    /* 403 */ "a linha ficou cortada",
    /* 404 */ "n\xE3o foi poss\xEDvel abrir %s",
    /* 405 */ "n\xE3o \xE9 poss\xEDvel abrir o arquivo, %s",
    /* 406 */ "n\xE3o foi poss\xEDvel gravar %s",
    /* 407 */ "N\xE3o \xE9 poss\xEDvel alocar mem\xF3ria",
    /* 408 */ "n\xE3o foi poss\xEDvel encontrar o comando do sistema '%s'",
    /* 409 */ "o comando que falhou: %.*s",
    /* 410 */ "n\xE3o p\xF4" "de ser iniciado (%s)",
    /* 411 */ "status de sa\xED" "da %d",
    /* 412 */ "encerrado pelo sinal %d",
    /* 413 */ "terminou com o status de espera %d",
    /* 414 */ "linha de comando longa demais",
    /* 415 */ "n\xE3o pertence a root (uid %u)",
    /* 416 */ "outros al\xE9m de root podem grav\xE1-lo (modo %04o)",
    /* 417 */ "\xE9 um v\xEDnculo simb\xF3lico",
    /* 418 */ "n\xE3o \xE9 um diret\xF3rio",
    /* 419 */ "n\xE3o \xE9 um arquivo comum",
    /* 420 */ "tem %lu v\xEDnculos",
    /* 421 */ "\xE9 um v\xEDnculo simb\xF3lico que n\xE3o pertence a root",
    /* 422 */ "\xE9 um v\xEDnculo simb\xF3lico em um diret\xF3rio em que outros podem gravar",
    /* 423 */ "n\xE3o \xE9 um caminho abaixo do diret\xF3rio raiz",
    /* 424 */ "n\xE3o pertence a root (uid %u)",
    /* 425 */ "n\xE3o pode ser alcan\xE7" "ado: %s",
    /* 426 */ "n\xE3o pode ser aberto: %s",
    /* 427 */ "\xE9 um v\xEDnculo simb\xF3lico que n\xE3o pode ser seguido",
    /* 428 */ "\xE9 longo demais para um arquivo de chave",
    /* 429 */ "cont\xE9m um byte 0 ou uma linha longa demais",
    /* 430 */ "n\xE3o come\xE7" "a com um coment\xE1rio n\xE3o confi\xE1vel",
    /* 431 */ "a linha 2 n\xE3o \xE9 o base64 de uma chave p\xFA" "blica",
    /* 432 */ "n\xE3o \xE9 uma chave Ed25519",
    /* 433 */ "cont\xE9m mais de duas linhas",
    /* 434 */ "\xE9 longo demais para um arquivo de assinatura",
    /* 435 */ "cont\xE9m menos de quatro linhas",
    /* 436 */ "a linha 2 n\xE3o \xE9 o base64 de uma assinatura",
    /* 437 */ "tem a forma antiga, sem prehash (ED)",
    /* 438 */ "n\xE3o \xE9 uma assinatura Ed25519",
    /* 439 */ "a linha 3 n\xE3o \xE9 um coment\xE1rio confi\xE1vel",
    /* 440 */ "a linha 4 n\xE3o \xE9 o base64 de uma assinatura",
    /* 441 */ "cont\xE9m mais de quatro linhas",
    /* 442 */ "a biblioteca de assinaturas n\xE3o pode ser iniciada",
    /* 443 */ "\xE9 da chave %s, n\xE3o de %s",
    /* 444 */ "a assinatura n\xE3o corresponde ao arquivo",
    /* 445 */ "o coment\xE1rio confi\xE1vel n\xE3o corresponde \xE0 sua assinatura",
    /* 446 */ "Aqui \xE9 necess\xE1rio um n\xFAmero.",
    /* 447 */ "Esta p\xE1gina n\xE3o pode ser exibida: n\xE3o h\xE1 mem\xF3ria suficiente para o seu layout.\n",
    /* 448 */ "Esta p\xE1gina n\xE3o pode ser exibida: o seu layout tem mais de %d linhas.\n",
    /* 449 */ "N\xE3o \xE9 poss\xEDvel carregar o arquivo %s: o visualizador de ajuda comporta %d arquivos, n\xE3o mais\n",
    /* 450 */
    "\n"
    "Instala o software de impress\xE3o Vexla a partir da m\xED" "dia de onde \xE9 executado\n"
    "(como root).\n"
    "\n"
    "  install DIR     instalar em DIR/Vexla/vpxx (um caminho completo); sem ele,\n"
    "                  no diret\xF3rio de uma instala\xE7\xE3o anterior, sen\xE3o em /usr\n"
    "  menu            oferecer o menu: instalar, criar um local de instala\xE7\xE3o,\n"
    "                  marcar o diret\xF3rio de trabalho como origem de disquetes\n"
    "  manual          manter os arquivos de trabalho no final\n"
    "  no_space_check  n\xE3o verificar antes o espa\xE7o livre\n"
    "  WORK_AREA       qualquer outra palavra: a \xE1rea de trabalho (padr\xE3o /tmp),\n"
    "                  que cont\xE9m o diret\xF3rio de trabalho WORK_AREA/VexlaInstall;\n"
    "                  ela n\xE3o pode ficar dentro de DIR/Vexla, /var/spool/Vexla\n"
    "                  ou /usr/Vexla\n"
    "  -v              mostrar a vers\xE3o na sa\xED" "da de erro padr\xE3o\n"
    "  preview         mostrar o que uma instala\xE7\xE3o faria aqui, sem alterar nada\n"
    "                  (n\xE3o precisa de root): suas linhas de comando, arquivos e\n"
    "                  perguntas\n"
    "  verify          comparar a instala\xE7\xE3o com seu manifesto\n"
    "                  (DIR/Vexla/vpxx/setup.manifest), uma linha por diferen\xE7" "a\n"
    "  remove          retirar a instala\xE7\xE3o como seu manifesto a lista\n"
    "  history         listar as execu\xE7\xF5" "es que alteraram este host, uma linha por\n"
    "                  execu\xE7\xE3o (/var/log/setup-Vexla.history; l\xEA-lo exige root)\n"
    "  --json          preview, verify, history: o resultado como um \xFAnico objeto\n"
    "                  JSON na sa\xED" "da padr\xE3o (setup(8) o descreve)\n"
    "  keep            uma atualiza\xE7\xE3o guarda a instala\xE7\xE3o anterior em\n"
    "                  DIR/Vexla/.vpxx.previous at\xE9 estar completa; com keep a\n"
    "                  c\xF3pia guardada fica (se nenhuma puder ser feita: status 1)\n"
    "  rollback        restaurar a instala\xE7\xE3o anterior mantida, tamb\xE9m seu\n"
    "                  manifesto (status 2: nada a restaurar)\n"
    "  wait            quando outro setup est\xE1 alterando este host, esperar que\n"
    "                  ele termine em vez de terminar logo com status 1\n"
    "  -h, --help      mostrar este texto\n"
    "\n"
    "Um setup por vez altera o host: uma instala\xE7\xE3o, uma remo\xE7\xE3o ou um rollback\n"
    "mant\xE9m o bloqueio /run/setup-Vexla.lock at\xE9 o fim.\n"
    "As perguntas s\xE3o respondidas na entrada padr\xE3o (printf 'y\\n' | setup install\n"
    "/opt); uma entrada que termina em uma pergunta n\xE3o \xE9 resposta. Tudo o que uma\n"
    "instala\xE7\xE3o executa \xE9 registrado em /tmp/setup.log, e cada execu\xE7\xE3o que\n"
    "alterou o host acrescenta uma linha a /var/log/setup-Vexla.history.\n"
    "\n"
    "Status de sa\xED" "da: 0 conclu\xED" "do (verify: tudo confere); 1 falhou ou n\xE3o foi\n"
    "feito, uma etapa que falhou, uma m\xED" "dia danificada, fim da entrada em uma\n"
    "pergunta (verify: algo difere; remove: algo foi mantido); 2 um diret\xF3rio que\n"
    "n\xE3o existe ou n\xE3o pode ser usado (verify, remove: nenhum manifesto, ou um que\n"
    "root sozinho n\xE3o poderia ter escrito, ou um danificado).\n",
};

static constexpr bool EveryEntrySet(const SetupMessage (&table)[kSetupMessages]) {
  for (SetupMessage text : table) {
    if (text == nullptr) return false;
  }
  return true;
}
static_assert(EveryEntrySet(NLS_ENGLISH) && EveryEntrySet(NLS_SPANISH) &&
              EveryEntrySet(NLS_ITALIAN) && EveryEntrySet(NLS_FRENCH) &&
              EveryEntrySet(NLS_GERMAN) && EveryEntrySet(NLS_PORTUGUESE));

const SetupMessage* pCurLang = nullptr;

namespace {

// The languages, in the order of Tables: the names of the medium's
// folders (and of older hosts' LANG values), and those of today's locales.
const SetupMessage* const Tables[] = {NLS_ENGLISH, NLS_SPANISH, NLS_ITALIAN,
                                      NLS_FRENCH,  NLS_GERMAN,  NLS_PORTUGUESE};
const char* const LanguageNames[] = {"en_US", "es_ES", "it_IT", "fr_FR", "ge_GE", "pr_BR"};
const char* const LocaleNames[] = {"en_US", "es_ES", "it_IT", "fr_FR", "de_DE", "pt_BR"};
static_assert(std::size(LanguageNames) == std::size(Tables) && std::size(LocaleNames) == std::size(Tables));

// The locale for messages chooses by its language and territory; a codeset
// or modifier after them ("fr_FR.UTF-8", "fr_FR@euro") does not count.
// Anything else, and no locale at all, is English.
const SetupMessage* ChooseTable() {
  const char* locale = MessagesLocaleName();
  if (locale == nullptr) return NLS_ENGLISH;
  const std::string name(locale, std::strcspn(locale, ".@"));
  for (size_t i = 0; i < std::size(Tables); ++i)
    if (name == LanguageNames[i] || name == LocaleNames[i]) return Tables[i];
  return NLS_ENGLISH;
}

}  // namespace

const char* SetupLanguageName() {
  if (pCurLang == nullptr) pCurLang = ChooseTable();
  for (size_t i = 1; i < std::size(Tables); ++i)
    if (pCurLang == Tables[i]) return LanguageNames[i];
  return nullptr;
}

const char* NlsSetupStrCvt(int index) {
  if (pCurLang == nullptr) pCurLang = ChooseTable();
  // Callers pass constants, but a read past the table would hand out a wild
  // pointer; an index outside it gets the empty text instead.
  if (index < 0 || index >= kSetupMessages) return kFree;
  return pCurLang[index];
}

void UseEnglishTexts() { pCurLang = NLS_ENGLISH; }

void UseSetupTextsInLibraries() {
  SetUtilTextSource([](UtilText id) { return NlsSetupStrCvt(kFirstUtilMessage + static_cast<int>(id)); });
}

namespace {

void WriteText(FILE* stream, int message, va_list args) { std::vfprintf(stream, NlsSetupStrCvt(message), args); }

// "<prefix>text\n" on stream, standard output flushed first.
void WriteLine(FILE* stream, const char* prefix, int message, va_list args) {
  std::fflush(stdout);
  std::fputs(prefix, stream);
  WriteText(stream, message, args);
  std::fputc('\n', stream);
}

}  // namespace

void SayText(FILE* stream, int message, ...) {
  va_list args;
  va_start(args, message);
  WriteText(stream, message, args);
  va_end(args);
}

void SayNamed(FILE* stream, int message, ...) {
  const std::string prefix = std::string(my_name != nullptr ? my_name : "setup") + ": ";
  va_list args;
  va_start(args, message);
  WriteLine(stream, prefix.c_str(), message, args);
  va_end(args);
}

void SayLine(FILE* stream, int message, ...) {
  va_list args;
  va_start(args, message);
  WriteLine(stream, "", message, args);
  va_end(args);
}

void SayError(int message, ...) {
  va_list args;
  va_start(args, message);
  WriteLine(stderr, "ERROR: ", message, args);
  va_end(args);
}

void SayWarning(int message, ...) {
  va_list args;
  va_start(args, message);
  WriteLine(stderr, "WARNING: ", message, args);
  va_end(args);
}

std::string SetupText(int message, ...) {
  va_list args;
  va_start(args, message);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, NlsSetupStrCvt(message), args);
  va_end(args);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, NlsSetupStrCvt(message), again);
  va_end(again);
  return text;
}
