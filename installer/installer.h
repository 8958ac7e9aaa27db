// The installer: start-up and command line, the built-in message tables, the
// free-space check, the package list, the install sequence, installation
// media, generated scripts and clean-up, the disks list and archive pieces.
//
// Files of the module:
//   setup.cpp           start-up, command line, installer state
//   setup_messages.cpp  the six message tables and NlsSetupStrCvt
#pragma once

#include <cstddef>

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
