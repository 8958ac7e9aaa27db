// The installer: start-up and command line, the built-in message tables, the
// free-space check, the package list, the install sequence, installation
// media, generated scripts and clean-up, the disks list and archive pieces.
// What was built beyond it, the installation's record (record/record.h)
// and the run's guards (guards/guards.h), sits above it: the installer
// reaches them only through the two interfaces of setup_extensions.h,
// which the program's entry connects.
//
// Files of the module:
//   main.cpp            the program's entry (not part of the library): it
//                       connects the record and the guards
//   setup.cpp           start-up, command line, installer state
//   setup_messages.cpp  the six message tables and NlsSetupStrCvt
//   setup_notes.cpp     the failed steps of a run, the preview's notes
//   setup_paths.cpp     paths as texts: the escaped form of the run's
//                       records, PathTextWithin, ResolvedWithin
//   setup_space.cpp     the free-space check
//   setup_pkglist.cpp   the package list: checking it and carrying it out
//   setup_previous.cpp  an earlier installation, the directory dialogue,
//                       the print daemons to stop
//   setup_install.cpp   the install sequence
//   setup_host.cpp      small host operations the parts share
//   setup_disks.cpp     the disks list and the joining of the archive pieces
//   setup_media.cpp     installation sites and diskette sets
//   setup_menu.cpp      the main menu of menu mode
//   setup_scripts.cpp   generated scripts and the final clean-up
//   setup_extensions.cpp  the record and the guards as connected, and the
//                       medium's signer they share (setup_extensions.h)
//   setup_hold.cpp      the hold of the folders a run works in (setup_hold.h)
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <utility>
#include <string>
#include <vector>

#include "MediumLayout.h"
#include "utils.h"  // my_name, pToolPath

// ---------------------------------------------------------------------------
// Installer state, living for the whole run.

constexpr int kNameSize = 256;
constexpr int kAppDirSize = 512;

extern char* pTmpDir;           // the work area, "/tmp" unless the command line names one
extern char* pVexlaInstallDir;  // the work directory: <work area>/VexlaInstall
extern char* pInstallDir;       // installation directory known at start, or NULL
extern unsigned char flMenu;       // menu mode
extern unsigned char flInstalled;  // a complete installation is in place
// The word keep: a complete upgrade keeps the saved earlier installation,
// and one without room to save it is refused.
extern unsigned char flKeepEarlier;
extern const char* InstallInfo[6];      // install-directory dialogue lines, NULL-ended
extern const char* InstallSiteInfo[5];  // site-directory dialogue lines, NULL-ended
extern char AppDir[kAppDirSize];  // <installation directory>/Vexla/vpxx once known
extern char Name[kNameSize];      // shared directory-name buffer

// What the command line asks for: an installation (or the menu), a
// preview of one, the verify, removal or rollback of an installation, or
// the host's history of setup runs.
enum SetupAction { kActionInstall, kActionPreview, kActionVerify, kActionRemove, kActionRollback, kActionHistory };
extern SetupAction RequestedAction;

constexpr const char* kVersion = "3.00.42";

// Longest directory text the command line and the dialogues accept: it
// leaves room for the product paths built below it in the 256-byte name
// buffers and the command lines.
constexpr size_t kMaxDirText = 200;

// Steps of this run that failed without ending it: a copy of the package
// list, a write of the installer's own files, a sed edit that could not be
// copied back, a set-user-ID mode. Each is noted with a text that names
// it; a run that noted one is no success.
SETUP_PRINTF(1, 2) void NoteFailedStep(const char* format, ...);
int FailedStepCount();

// Prints every noted step ("ERROR: <text>"), then how many failed and
// where the log is, on standard error; returns their number.
int ReportFailedSteps();

// Standard output flushed, then format filled on standard error: how the
// installer writes there what is no entry of its message tables alone
// (those go through SayError, SayWarning and SayNamed).
SETUP_PRINTF(1, 2) void SayToStderr(const char* format, ...);

// A question met the end of input: says so on standard output. Nobody
// answered, so the run that asked ends with status 1.
void SayInputEnded();

// Entry of the program; never returns.
[[noreturn]] void SetupMain(int argc, char** argv);

// Shortens text in place to the directory above the product tree (cut at
// "vpxx", then at "Vexla", then one trailing '/'). NULL gives NULL.
char* StripToBaseName(char* text);

// True when directory dir holds an entry called name.
bool TestConfigFlag(const char* dir, const char* name);

// The medium's marker ("installf.rom", or "INSTALLF.ROM" on a DOS diskette)
// says 'd'iskette, or there is no marker at all.
bool IsDisketteMedium();

// Reads the option words left to right (manual, install DIR, menu, -v,
// no_space_check, or a work area) into the installer state and the two
// flags; ends the program for -v (0) and for a refused or missing work area
// or installation directory (2).
void ReadCommandLine(int argc, char** argv, unsigned char* flCleanWork, unsigned char* flSpaceCheck);

// Ends the run with status 2: "<program>: <why>" and "<program>: refused:
// <dir>" on standard error, control characters of dir shown as '?'.
[[noreturn]] void RefuseDirectory(const char* why, const char* dir);

// Ends the run with status 2 (RefuseDirectory) when the work directory
// <work area>/VexlaInstall lies inside a folder the installation writes
// (installDir/Vexla when installDir is given, /var/spool/Vexla, /usr/Vexla),
// or one of these inside the work directory: the one would race the other,
// and the clean-up would remove it. Paths are compared resolved.
void RefuseWorkAreaAmongInstalled(const char* installDir);

// Why a directory text given on the command line or in a dialogue is
// refused (empty, too long, or a character other than the plain ones of a
// shell line: these directories go into every command line and generated
// script unquoted), or NULL when it is acceptable.
const char* CheckDirectoryText(const char* dir);

// ---------------------------------------------------------------------------
// Message tables.

using SetupMessage = const char*;
// Entries 0 to 70 are the installer's first texts; those of what was built
// later (preview, verify, remove, rollback, the lock, the checks of the
// medium, the saved earlier installation) begin at 200, apart from them.
// The indexes between are free.
constexpr int kFirstLaterMessage = 200;
constexpr int kLaterMessages = 251;
constexpr int kSetupMessages = kFirstLaterMessage + kLaterMessages;
// The texts util/ and syscmd/ build (UtilText.h), in its order, and the
// explanation of the usage text that follows its synopsis.
constexpr int kFirstUtilMessage = 404;
constexpr int kUsageMessage = kFirstUtilMessage + kUtilTexts;
static_assert(kUsageMessage < kSetupMessages);

extern const SetupMessage NLS_ENGLISH[kSetupMessages];
extern const SetupMessage NLS_SPANISH[kSetupMessages];
extern const SetupMessage NLS_ITALIAN[kSetupMessages];
extern const SetupMessage NLS_FRENCH[kSetupMessages];
extern const SetupMessage NLS_GERMAN[kSetupMessages];
extern const SetupMessage NLS_PORTUGUESE[kSetupMessages];
extern const SetupMessage* pCurLang;  // the run's table, NULL until the first call

// Entry index (0 to kSetupMessages - 1) of the run's table; the first call chooses the table
// from the locale for messages (LC_ALL, LC_MESSAGES, LANG) by its language
// and territory: en_US, es_ES, it_IT, fr_FR, de_DE or ge_GE, pt_BR or
// pr_BR, with any codeset or modifier after them; English otherwise.
const char* NlsSetupStrCvt(int index);

// The name of the run's language as the medium's folders spell it
// ("fr_FR", "ge_GE" for German, "pr_BR" for Portuguese), or NULL for
// English. Chooses the table when no
// table is chosen yet, so that the message tables and the menu engine's
// string database speak the same language.
const char* SetupLanguageName();

// From here on the run speaks English, whatever the locale: a run whose
// output a program reads (--json) answers in one language.
void UseEnglishTexts();

// Makes util/ and syscmd/ take their texts from the run's table (entries
// kFirstUtilMessage on), so that they follow UseEnglishTexts too.
void UseSetupTextsInLibraries();

// Entry message of the run's table as a printf format, filled with the
// arguments: written to stream as it is (SayText); after "<program>: ",
// with a line end (SayNamed); with a line end alone (SayLine); on standard error after "ERROR: " or
// "WARNING: ", which scripts match and which stay English, with a line end
// (SayError, SayWarning); or returned (SetupText). Standard output is
// flushed before anything goes to standard error.
void SayText(FILE* stream, int message, ...);
void SayNamed(FILE* stream, int message, ...);
void SayLine(FILE* stream, int message, ...);
void SayError(int message, ...);
void SayWarning(int message, ...);
std::string SetupText(int message, ...);

// ---------------------------------------------------------------------------
// Host operations shared by the installer parts.

// Makes dir the current directory. On failure: fatal ends the program
// through SysError; otherwise a warning, and false.
bool EnterDirectory(const char* dir, bool fatal);

// True when the two paths name one existing file (links followed).
bool IsSameFile(const char* a, const char* b);

// True when dir/name is the very file the medium holds under that name, so
// that the work area's clean-up never removes the running medium's files.
bool IsMediumFile(const char* dir, const char* name);

// Opens path for reading only when root alone could have written it: a
// regular file (opened without following a link and without waiting on a
// FIFO), owned by root, writable by nobody else, with a single link.
// Otherwise NULL, and *why says why ("it is a symbolic link", ...); errno
// is ENOENT when nothing is at path.
FilePtr OpenTrustedFile(const std::string& path, std::string* why);

// Whether a host command may change path in place (chmod, chown, touch, a
// copy onto it, a link or a file moved into it): true unless a symbolic
// link on the way, path itself included, belongs to neither root nor the
// owner of what it points to. Such a path is named ("ERROR: <link> is a
// symbolic link: not changed") and noted as a failed step, and false. A
// preview judges nothing.
bool MayChangeInPlace(const char* path);

// CreateFile of dir (and of name in it when given) when MayChangeInPlace
// allows the path.
void CreateInPlace(const char* dir, const char* name, const char* mode);

// Runs one of the installed product's own tools (vpqadmin): its output goes
// to the terminal, nothing is logged and its result is not examined. The
// line's first word is the program: it runs only when it is a plain file of
// root's that nobody else may write, reached through no planted link
// (otherwise a warning and a failed step).
SETUP_PRINTF(1, 2) void RunProductCommand(const char* format, ...);

// ---------------------------------------------------------------------------
// Paths as texts (setup_paths.cpp).

// A path, name or link target as a field of the run's records (the
// manifest, its notes, the held folders): bytes below 33 or above 126 and
// the % as %XX. Unescaping is false for a % that does not start %XX.
std::string EscapeManifestText(const std::string& text);
bool UnescapeManifestText(const std::string& text, std::string* out);

// Whether path is absolute and every step of it a name: none empty, "."
// or "..", no NUL byte.
bool IsCleanManifestPath(const std::string& path);

// Whether the text path is dir or lies below it, compared as texts: no
// link is followed, no ".." read (for paths already clean, as a manifest
// lists them).
bool PathTextWithin(const std::string& path, const std::string& dir);

// The application directory of the installation in installDir,
// <installDir>/Vexla/vpxx, into out (size bytes); false, and cut short,
// when it does not fit.
bool AppDirOf(const char* installDir, char* out, size_t size);

// A full path as the host would follow it: the part that exists resolved
// (links, "." and ".."), the rest appended step by step as it reads; ""
// for a path that is not a full one.
std::string ResolvedPath(const char* path);

// Whether path, resolved, is dir itself or lies below it (ResolvedPath):
// the check for paths a person or a link may have written.
bool ResolvedWithin(const char* path, const char* dir);

// ---------------------------------------------------------------------------
// Generated scripts and clean-up.

extern const char ScriptShShell[];         // "#!/bin/sh"
extern const char ScriptCopyRight[];       // the 63-column banner, %d the year
extern const char SimpleScript[];          // command wrapper: AppDir, AppDir, program
extern const char VexlaPrintvpxxScript[];  // print interface: AppDir and six names
extern const char VexlaVSFScript[];        // VSF filter: AppDir, spool directory

// Writes path: shellLine, the banner with this year, then templ filled with
// the arguments; then chmod 755. A file that cannot be opened or written is
// reported on standard error and left without the mode change.
SETUP_PRINTF(3, 4) void GenSimpleScript(const char* path, const char* shellLine, const char* templ, ...);

// The final clean-up: removes the work files when removeWork is set (never
// the medium's own), prints a line end, and lets the installed
// administration tool tidy up after a complete installation.
void VexlaClean(unsigned char removeWork);

// ---------------------------------------------------------------------------
// The preview's side of the installer: what an installation would do here,
// changing nothing (the preview itself is guards/guards.h's).

// Set while a preview runs: the host commands are printed, not run, and
// the installer's own writes become notes.
extern unsigned char flPreview;

// Notes a file, script or link the installation would write, or a
// question it would ask; the preview prints the notes after the commands.
SETUP_PRINTF(1, 2) void PreviewNote(const char* format, ...);

// The notes in the order noted, each once.
const std::vector<std::string>& PreviewNotes();

// The archive pieces of the work directory joined, uncompressed, unpacked
// there, and the package list checked: the first steps of an installation.
void UnpackArchive();

// Copies every file the disks list in LineBuf names from one directory to
// another (made when missing, folders of the medium included); a file that
// is missing, or is no regular file, ends the run before the first is
// copied. With hashCopies each copy
// is hashed while the next is made, for the checksum check that follows.
void CopyListedFiles(const char* from, const char* to, bool hashCopies);

// ---------------------------------------------------------------------------
// Disks list and archive pieces.

extern const char kArchiveBase[];  // "Linuxi386Vpxx": the joined archive's name

// Reads the disks list of dir ("disks", else "DISKS" with its names made
// upper case) into LineBuf; ends the program with status 1 when there is
// none.
void GetDisksData(const char* dir);

// The archive pieces the list in LineBuf names, in order, up to the word
// end_of_list (words separated by blanks and line ends only).
std::vector<std::string> DisksListPieces();

// The files the list in LineBuf names, line by line up to the line
// end_of_list; within a line, up to a word end_of_list.
std::vector<std::vector<std::string>> DisksListFiles();

// Ends the program with status 1 when a name from the list could not be
// used safely as a file of the directory in a shell command line. A name
// may lie in a folder of the medium ("db/drvcore.vdb"): a relative path
// without empty, "." or ".." steps.
void CheckMediumFileName(const char* word);

// Joins the pieces the work directory's list names into
// <work directory>/Linuxi386Vpxx.tar.Z. A missing piece, or a list naming
// none, ends the program with status 1 before anything is joined.
int GenZFile();

// Whether the tar archive at path is whole: a multiple of 512 bytes that
// ends with the two zero blocks tar writes after its last member. An
// archive cut short, even at a member's end (where tar itself unpacks what
// there is and reports success), is not.
bool IsCompleteTarArchive(const char* path);

// Ends the program with status 1 when the archive that the pieces joined
// to, uncompressed (<work directory>/Linuxi386Vpxx.tar), is not whole: a
// piece cut short may still uncompress without a complaint.
void CheckUnpackedArchive();

// ---------------------------------------------------------------------------
// Free-space check.

// Returns when the work area and the installation directory have room for
// the amounts the medium's isize and tsize name (or when the work side
// cannot be measured); otherwise prints the matching message and ends the
// program with status 1. True when the installation side also has room
// for keepNeed more (the saved earlier installation).
bool FreeSpaceForInstall(const char* workDir, const char* installDir, const char* productDir, double keepNeed = 0);

// ---------------------------------------------------------------------------
// Earlier installations and running processes.

// The installation directory of an earlier installation (in Name), found
// through the command wrapper /bin/vprint or /usr/bin/vprint; NULL when
// there is none.
char* LocatePreviousInstallation();

// The directory dialogue: proposes proposal (and first an earlier
// installation when offerPrevious is set), explains with the info lines and
// lets the user type a full path. True when a directory was accepted (it is
// in Name); false when the user declined, chose the way back to the menu,
// or input ended.
bool GetDirName(const char* const* info, const char* proposal, unsigned char offerPrevious);

// Kills the running print daemons VPrintD and VPD.
void StopDemon();

// Holds the installation while any of the comma-separated programs runs:
// 0 once none runs, 1 when the user chose to quit (or input ended).
int QuitForRunningProcesses(const char* programs);

// ---------------------------------------------------------------------------
// Package list.

// Keyword positions in the list of package-list commands; any other first
// word copies like c. kPkgAttributesOnly marks a release condition that
// could not be tested: only its attribute pairs are applied.
enum PkgKeyword {
  kPkgCopyOther = 0, kPkgDir, kPkgDirTo, kPkgTouch, kPkgCopy, kPkgModify, kPkgComment,
  kPkgCondition, kPkgSet, kPkgNewDir, kPkgCheckPs, kPkgAttributesOnly = 100,
};

// One line of the package list, read and checked: what to do with which
// file, and the attribute pairs to apply to AppDir/name afterwards.
struct PkgStep {
  int line = 0;
  int keyword = kPkgCopyOther;
  std::string keywordText;
  std::string name;
  std::string dest;  // dirto only
  std::vector<std::pair<std::string, std::string>> attributes;
};

// True when the kernel release hostRelease compared as a text with release
// satisfies op (<, <=, =, >, >=); any other op is false.
bool ReleaseConditionHolds(const char* op, const char* hostRelease, const char* release);

// Reads one logical line (release conditions tested against release, NULL
// when it could not be read). True with step filled when the line has
// something to do; false for a line that does nothing, with error set when
// the line is damaged (a missing operand, a word the shell would misread).
bool ParsePkgLine(const char* text, const char* release, PkgStep* step, std::string* error);

// Reads and checks the whole list; a list that cannot be opened, or a
// damaged line, ends the program with status 1 before anything is done.
std::vector<PkgStep> ReadPkgList(const char* path);

// Carries out one step through the host commands: 0, or 1 when the user
// chose to quit at a running-programs question.
int CarryOutPkgStep(const PkgStep& step, const char* package);

// Reads and checks <work directory>/<package>/pkg.list without carrying
// anything out; a list that cannot be opened, or a damaged line, ends the
// program with status 1. Lets the install sequence refuse a damaged list
// before it makes the product tree.
void CheckPkgList(const char* package);

// Carries out <work directory>/<package>/pkg.list: 0 when done, 1 when the
// user chose to quit at a running-programs question.
int ProcessPkgList(const char* package);

// ---------------------------------------------------------------------------
// Install sequence and installation media.

struct TtyMenu;
struct TtyMenuItem;

// Whether the run is root's, as an installation, remove and rollback need
// (a preview does not): false, with the message that says so, for anybody
// else.
bool RunByRoot();

// One complete installation: 0 when complete, and when the user abandoned
// the directory dialogue; 1 when the package list was abandoned at a
// running-programs question; 2 when the user is not root. The arguments
// are those the menu engine passes to item actions; they are not used.
int Install(TtyMenu* menu = nullptr, TtyMenuItem* item = nullptr);

// Why a work directory found in place (a diskette set read into it) is not
// safe to take files from, as lstat showed it, for the running user: not a
// directory of its own (a link), another user's (root's is trusted), or
// writable by others or by a group other than its owner's own; NULL when
// it is safe.
const char* WhyWorkDirectoryIsUnsafe(const struct stat& st, uid_t user);

// Ends the run with status 1, naming the reason, when the work directory
// is there and not safe (WhyWorkDirectoryIsUnsafe).
void CheckFoundWorkDirectory();

// The install entries for a site and for a diskette medium: they run the
// install sequence when the installation directory is known, else the main
// menu, and return the install sequence's result (0 after the menu).
int InstallFromSite();
int InstallFromDiskette();

// Menu actions: make an installation site in a directory the user chooses;
// mark the work directory as a diskette source. Both return 0.
int GenInstallSite(TtyMenu* menu = nullptr, TtyMenuItem* item = nullptr);
int GenInstallDisks(TtyMenu* menu = nullptr, TtyMenuItem* item = nullptr);

// The main menu of menu mode (its items are MainMenuItems).
extern TtyMenu MainMenu;

// The medium's help file, and its name on a DOS diskette.
constexpr const char* kHelpFileName = kUnixMediumNames.helpFile;
constexpr const char* kHelpFileDosName = kDosMediumNames.helpFile;

// Runs the main menu in menu mode, offering the medium's help when it has one.
void RunMainMenu();

// When the medium (pToolPath) carries a help file that loads, makes the
// main menu offer it (the help flag, and pTtyHtmlName naming the file) and
// returns true; otherwise the main menu is the plain one.
bool OfferMediumHelp();

// The menu engine's string databases on the medium: the English "drvcore",
// which is <medium>/db/drvcore.vdb, and a translation <LANG>/drvcore, which
// is <medium>/db/<LANG>/drvcore.vdb; on a DOS medium their upper-case forms
// DB/DRVCORE.VDB and DB/<LANG>/DRVCORE.VDB. The disks list names them, so
// that they travel with the medium.
constexpr const char* kDrvCoreDbName = "drvcore";

// Opens the database of the run's language (SetupLanguageName) as
// pDrvCoreDB, the English one when the medium lacks it, and none when the
// medium holds neither: the engine's texts are then the error text "Error".
void OpenDriverCoreDb();
