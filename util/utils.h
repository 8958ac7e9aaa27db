// Core utilities shared by every part of the installer: the tokenizer and
// keyword lists, saved strings, files and lines, directory listings, the run
// log, error reports and the program's knowledge of its host.
//
// The module is split over several files in this folder, one per concern:
//   utils_token.cpp  tokenizer, keyword lists, string search, path names
//   utils_str.cpp    saved strings and small helpers
//   utils_file.cpp   files and lines, the shared buffers
//   utils_dir.cpp    directory listings and entry lookup
//   utils_log.cpp    the run log and environment copies
//   utils_err.cpp    error reports
//   utils_host.cpp   program path and the nearest existing path
//   utils_state.cpp  the program's identity shared by every module
//   ReplacingFile.cpp a file written beside its target and renamed into place
//   RegularFile.cpp  a file opened for reading only when it is a regular file
//   PathTrust.cpp    the symbolic links on the way to a path that root may follow
//   TerminalCharset.cpp the terminal's character set, converted at the standard streams
//   Sha256.cpp       the SHA-256 digest: the portable rounds and the processor's (Sha256.h)
//   Sha256File.cpp   the digests of files: one, many on a few threads, and hashed ahead
//   Minisign.cpp     minisign's public keys and signatures read and checked (Minisign.h)
//   MinisignSign.cpp the packager's side: secret keys, signing, new key pairs (MinisignSign.h)
// The seam to the host is HostOps.h; what runs host commands (the file
// operations that make and remove, the user and spooler probes) lives
// above, in syscmd/.
#pragma once

#include <dirent.h>

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "UtilText.h"

#define SETUP_PRINTF(fmt, first) [[gnu::format(printf, fmt, first)]]

// How a failure is met, for the command runner, the file openers and the
// error reports: silently, as a warning on which the run goes on, or as
// the end of the run.
enum Severity : int { kSevSilent = 0, kSevWarning = 1, kSevFatal = 2 };

// ---------------------------------------------------------------------------
// The program's identity, set once at start-up.

extern char* my_name;    // program base name; names the log file, starts fatal messages
extern char* pToolPath;  // absolute directory of the running program (the medium)

// ---------------------------------------------------------------------------
// Tokenizer, keyword lists, string search and path names.

constexpr int kTokenBufSize = 255;   // tokens of up to 254 characters
constexpr int kStripPathSize = 128;  // StripPath result buffer
constexpr int kStripFnSize = 256;    // StripFn result buffer
constexpr int kFramedWordSize = 512; // separator + word + separator

// The one scan of the program. szTokenIn is the scan position as it stood
// when the last GetToken/GetTokenParse returned; chTokenDel the last
// delimiter consumed (0 when none). GetTokenBuf holds GetToken's token.
extern char* szTokenIn;
extern char chTokenDel;
extern char GetTokenBuf[kTokenBufSize];

// Reads one line from standard input into buffer (at most size - 1
// characters, the line feed not stored); on a terminal that converts
// (TerminalCharset.h) the line is made ISO 8859-1 again. Returns buffer, or NULL when input
// ended before any character was stored.
char* Gets(char* buffer, int size);

// Starts (or resumes) the scan at text without reading a token.
void SetTokenBuf(char* text);

// Next token of the scan (text starts a new one, NULL continues), copied into
// GetTokenBuf with \n, \r, \t translated and other escapes taken literally.
// A token longer than GetTokenBuf holds is cut at 254 characters; the rest
// of it is consumed. Returns NULL when there is no further token.
char* GetToken(const char* text, const char* delimiters);

// The same scan done in place: consumed delimiters are overwritten with NUL
// and the result points into text, which must be writable.
char* GetTokenParse(char* text, const char* delimiters);

// The n-th token (from 1; n <= 1 gives the first) of a new scan of text, or
// of the current scan when text is NULL. NULL when there are fewer tokens.
char* GetTokenN(const char* text, const char* delimiters, int n);

// 1-based position of word in the keyword list (first character is the
// separator), 0 when absent. FindTokenC ignores letter case. A word too long
// to frame in 512 bytes is never found.
unsigned FindToken(const char* word, const char* list);
unsigned FindTokenC(const char* word, const char* list);

// Last component of path (static 128-byte result; a longer component is
// cut), and everything before its last '/' (static 256-byte result, "."
// when there is none; a longer directory is cut). Valid until the next call.
char* StripPath(const char* path);
char* StripFn(const char* path);
// Everything before the last '/' of path (the folder that holds it): "."
// when there is none, "/" when it is the first character; not bounded.
std::string DirectoryOf(const std::string& path);

int StrLen(const char* text);
// First occurrence of pattern in text; NULL for NULL arguments, an empty
// pattern or no occurrence. StrCaseStr compares upper-case forms.
char* StrStr(const char* text, const char* pattern);
char* StrCaseStr(const char* text, const char* pattern);

// ---------------------------------------------------------------------------
// Strings.

// A new managed string holding format filled in printf-style (at most 8191
// characters, or more for very long formats; a longer result is cut).
// Ends the program through SysError when no memory can be had.
// Never pass a text that may hold '%' as the format: use SaveText.
SETUP_PRINTF(1, 2) char* SaveStr(const char* format, ...);

// A new managed copy of text, taken as it stands. Same failure as SaveStr.
char* SaveText(const char* text);

// Copies length bytes, reversing their order when reverse is set.
void SetVarContent(void* destination, const void* source, int length, bool reverse);

double MaxD(double a, double b);

// Copies source into a buffer of size bytes, always terminated. Returns
// false (and leaves the cut text) when source did not fit.
bool CopyText(char* buffer, size_t size, const char* source);

// snprintf into a buffer of size bytes. Returns false when the result was cut.
SETUP_PRINTF(3, 4) bool FormatText(char* buffer, size_t size, const char* format, ...);

// ---------------------------------------------------------------------------
// Files and lines.

// A stdio stream that closes itself. Where a write must be known to have
// reached the disk, close it by hand (fclose(f.release())) and look at the
// result.
struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr int kLineBufSize = 4096;
constexpr int kLineSize = 65535;
constexpr int kInputFileNameSize = 256;
constexpr int kMaxFileLine = 510;  // characters of one physical line

extern char LineBuf[kLineBufSize];  // shared scratch line
extern char Line[kLineSize];        // large shared scratch text
extern FILE* pIn;                   // the current input file
extern FILE* pOut;                  // shared output stream (menus, media)
extern char InputFileName[kInputFileNameSize];
extern int FileStatus;     // 0 open, 1 closed or at its end, 2 last open failed
extern int LineLen;        // characters of the continued segments of the last line
extern int SavedFileSize;  // size of the last file GetSavedFileContent examined

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed, so
// that no file opened later takes the place of standard input, output or
// error: a question would read it, printf would write into it.
void OpenStandardStreams();

// Closes previous (when not NULL) and opens path with the fopen mode. On
// failure: onError 2 ends the program through SysError, 1 says on standard
// error that it can't (UtilText::kCannotOpenFile), 0 is silent; NULL is returned after 1 and 0.
FILE* OpenFile(FILE* previous, const char* path, const char* mode, int onError);

// Size from stat (links followed), 0 when the file cannot be examined.
int GetFileSize(const char* path);

// What lstat finds at a path.
enum FileType : int { kNoFile = 0, kDirectoryFile = 1, kLinkFile = 2, kOtherFile = 3 };
int GetFileType(const char* path);

// First line of the file that contains pattern (or its first line when
// pattern is NULL), in a static 512-byte buffer with its line feed; NULL
// when none. The file is opened through OpenFile with onError.
char* FileSearch(const char* path, const char* pattern, int onError);

// Makes path the current input file. On failure ErrorMsg(onError, 0, ...)
// reports it (onError 2 ends the program with status 1), and false.
bool OpenInputFile(const char* path, int onError);
void CloseInputFile();

// Next logical line of the current input file into LineBuf: physical lines
// of at most 510 characters, a backslash-newline joining the next one.
bool GetFileLine();

// Reads dir/name (or dir alone when name is NULL) whole into LineBuf, at
// most 4095 bytes. False when the file cannot be opened or the path does
// not fit.
bool GetFileContent(const char* dir, const char* name);

// The whole file in fresh managed memory (caller frees it with PutMem);
// NULL when it is missing, empty or unreadable. A one-byte file gives an
// empty text.
char* GetSavedFileContent(const char* dir, const char* name);

// Writes one formatted text into path, then sets permissions when not 0.
// Mode "w" (or "wt") writes a new file beside path and renames it over
// path (ReplacingFile.h), so a link planted at path is replaced, never
// followed; mode "a" appends to the file as it stands. Says that it
// couldn't open it (UtilText::kCouldNotOpen) and returns false when it cannot be opened, and says so and returns false
// when the text did not reach the disk whole.
SETUP_PRINTF(4, 5)
bool CreateTextFile(const char* path, const char* mode, int permissions, const char* format, ...);

// ---------------------------------------------------------------------------
// Directory listing and entry lookup.

// Name of the next entry of an open directory stream, NULL at its end.
char* ReadDir(DIR* dir);

// Blank list of all entry names of path (" . .. a b "), in managed memory
// (caller frees with PutMem); NULL when the directory cannot be opened.
char* GetDirFileList(const char* path);

// Whether directory dir holds an entry called name. dir NULL: name is a full
// path. name NULL or empty: dir is split into parent and last component.
bool FindFile(const char* dir, const char* name);

// ---------------------------------------------------------------------------
// Run log and environment.

extern unsigned char flUseLog;  // logging on
extern const char* pLogPath;    // directory of the log, "/tmp"
extern FILE* pLog;              // the log stream while a message is written

// Appends one message to /tmp/<my_name>.log when logging is on; the first
// message of a run empties the file. The log is never written through a
// link: before the first message a symbolic link, a file that is not plain,
// has more links or (as root) belongs to another user is removed, and the
// log is made anew with mode 666.
SETUP_PRINTF(1, 2) void PutLogMsg(const char* format, ...);

// A managed copy of the environment variable's value, NULL when unset.
char* GetEnv(const char* name);

// ---------------------------------------------------------------------------
// Error reports.

extern const char common_116[];  // "ERROR: %s\n"

// Ends the program with status, through the handler in force (std::exit
// unless SetExitHandler replaced it). A handler must not return; should it,
// the program ends all the same. Every end of the run inside the libraries
// goes through here, so that a harness that feeds them hostile input can
// take the end of a run as the end of one input.
using ExitHandler = void (*)(int status);
[[noreturn]] void ExitProgram(int status);
// Replaces the handler (NULL restores std::exit) and returns the old one.
ExitHandler SetExitHandler(ExitHandler handler);

// "\n<my_name>: <message> : <system error text>\n" on standard error, exit 1.
[[noreturn]] SETUP_PRINTF(1, 2) void SysError(const char* format, ...);

// Formats the message into Line. type 1: "WARNING: %s\n" on standard error;
// type 2: "ERROR: %s\n" and exit with status; other types print nothing.
SETUP_PRINTF(3, 4) void ErrorMsg(int type, int status, const char* format, ...);

// The fatal form: "ERROR: %s\n" on standard error, exit with status 1.
[[noreturn]] SETUP_PRINTF(1, 2) void FatalError(const char* format, ...);

// ---------------------------------------------------------------------------
// Program path and host probes.

// Absolute directory that holds the program, from argv[0]; managed. Leading
// "./" and "../" steps are resolved against the working directory.
char* GetToolPath(const char* invocation);

// Longest existing leading part of path, managed; sets *exists to 1 when that
// is path itself (otherwise leaves it untouched).
char* FindExistingPath(const char* path, int* exists);

