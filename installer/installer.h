// The installer: start-up and command line, the built-in message tables, the
// free-space check, the package list, the install sequence, installation
// media, generated scripts and clean-up, the disks list and archive pieces.
//
// Files of the module:
//   setup.cpp           start-up, command line, installer state
//   setup_messages.cpp  the six message tables and NlsSetupStrCvt
#pragma once

#include <cstddef>
#include <utility>
#include <string>
#include <vector>

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
extern const char* InstallInfo[6];      // install-directory dialogue lines, NULL-ended
extern const char* InstallSiteInfo[5];  // site-directory dialogue lines, NULL-ended
extern char AppDir[kAppDirSize];  // <installation directory>/Vexla/vpxx once known
extern char Name[kNameSize];      // shared directory-name buffer

constexpr const char* kVersion = "3.00.42";

// Longest directory text the command line and the dialogues accept: it
// leaves room for the product paths built below it in the 256-byte name
// buffers and the command lines.
constexpr size_t kMaxDirText = 200;

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

// True when text holds only letters, digits and / . _ - + , @ : = : the
// characters a directory may carry into a shell command line.
bool IsSafePathText(const char* text);

// Why a directory text given on the command line or in a dialogue is
// refused (too long, or a character a shell line must not carry), or NULL
// when it is acceptable.
const char* CheckDirectoryText(const char* dir);

// ---------------------------------------------------------------------------
// Message tables.

using SetupMessage = const char*;
constexpr int kSetupMessages = 71;

extern const SetupMessage NLS_ENGLISH[kSetupMessages];
extern const SetupMessage NLS_SPANISH[kSetupMessages];
extern const SetupMessage NLS_ITALIAN[kSetupMessages];
extern const SetupMessage NLS_FRENCH[kSetupMessages];
extern const SetupMessage NLS_GERMAN[kSetupMessages];
extern const SetupMessage NLS_PORTUGUESE[kSetupMessages];
extern const SetupMessage* pCurLang;  // the run's table, NULL until the first call

// Entry index (0 to 70) of the run's table; the first call chooses the table
// from LANG.
const char* NlsSetupStrCvt(int index);

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

// Runs one of the installed product's own tools (vpqadmin): its output goes
// to the terminal, nothing is logged and its result is not examined.
SETUP_PRINTF(1, 2) void RunProductCommand(const char* format, ...);

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

// ---------------------------------------------------------------------------
// Free-space check.

// Returns when the work area and the installation directory have room for
// the amounts the medium's isize and tsize name (or when the work side
// cannot be measured); otherwise prints the matching message and ends the
// program with status 1.
void FreeSpaceForInstall(const char* workDir, const char* installDir, const char* productDir);

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

// One complete installation: 0 when complete, and when the user abandoned
// the directory dialogue; 1 when the package list was abandoned at a
// running-programs question; 2 when the user is not root. The arguments
// are those the menu engine passes to item actions; they are not used.
int Install(TtyMenu* menu = nullptr, TtyMenuItem* item = nullptr);

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
constexpr const char* kHelpFileName = "setup.hlp";
constexpr const char* kHelpFileDosName = "SETUP.HLP";

// Runs the main menu in menu mode, offering the medium's help when it has one.
void RunMainMenu();

// When the medium (pToolPath) carries a help file that loads, makes the
// main menu offer it (the help flag, and pTtyHtmlName naming the file) and
// returns true; otherwise the main menu is the plain one.
bool OfferMediumHelp();

// The menu engine's string database on the medium: "drvcore", which is
// <medium>/db/drvcore.vdb, or its DOS form DB/DRVCORE.VDB there. The disks
// list names it as db/drvcore.vdb, so that it travels with the medium.
constexpr const char* kDrvCoreDbName = "drvcore";
constexpr const char* kDrvCoreDbDosPath = "DB/DRVCORE.VDB";

// Opens that database as pDrvCoreDB when the medium holds it; without it
// the engine's texts stay the error text "Error".
void OpenDriverCoreDb();
