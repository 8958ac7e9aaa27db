// The texts the libraries build for a person: file and memory failures,
// the host commands' failures, and the reasons why a file, a way or a
// signature is not trusted. They are English here; a program that speaks
// another language (setup, from its message tables) hands in a source of
// its own at start-up, and the tools, which set none, stay English. The
// system's own error texts (strerror) are the C library's.
#pragma once

#include <string>

// One entry per text; the comment is its English form, a printf format.
enum class UtilText : int {
  kCouldNotOpen,         // "couldn't open %s"
  kCannotOpenFile,       // "can't open file, %s"
  kCouldNotWrite,        // "couldn't write %s"
  kNoMemory,             // "Unable to allocate memory"
  kNoSystemCommand,      // "unable to locate system command '%s'"
  kFailedCommand,        // "the command that failed: %.*s"
  kNotStarted,           // "could not be started (%s)"
  kExitStatus,           // "exit status %d"
  kKilledBySignal,       // "killed by signal %d"
  kWaitStatus,           // "ended with wait status %d"
  kLineTooLong,          // "command line too long"
  kNotRootsOwner,        // "it is not owned by root (uid %u)"
  kWritableByOthers,     // "it is writable by others than root (mode %04o)"
  kIsSymbolicLink,       // "it is a symbolic link"
  kNotAFolder,           // "it is not a folder"
  kNotARegularFile,      // "it is not a regular file"
  kHasLinks,             // "it has %lu links"
  kLinkNotRoots,         // "is a symbolic link not owned by root"
  kLinkInSharedFolder,   // "is a symbolic link in a folder that others may write"
  kNotBelowRoot,         // "is not a path below the root folder"
  kFolderNotRoots,       // "is not root's (uid %u)"
  kCannotBeReached,      // "cannot be reached: %s"
  kCannotBeOpened,       // "cannot be opened: %s"
  kLinkNotFollowed,      // "is a symbolic link that cannot be followed"
  kKeyTooLong,           // "it is too long for a key file"
  kZeroOrLongLine,       // "it holds a byte 0 or an overlong line"
  kNoUntrustedComment,   // "it does not begin with an untrusted comment"
  kKeyLineNotBase64,     // "line 2 is not the base64 of a public key"
  kNotEd25519Key,        // "it is not an Ed25519 key"
  kKeyTooManyLines,      // "it holds more than two lines"
  kSignatureTooLong,     // "it is too long for a signature file"
  kSignatureTooShort,    // "it holds fewer than four lines"
  kSignatureNotBase64,   // "line 2 is not the base64 of a signature"
  kLegacySignature,      // "it is of the legacy form, not prehashed (ED)"
  kNotEd25519Signature,  // "it is not an Ed25519 signature"
  kNoTrustedComment,     // "line 3 is not a trusted comment"
  kGlobalNotBase64,      // "line 4 is not the base64 of a signature"
  kSignatureTooManyLines,// "it holds more than four lines"
  kNoSignatureLibrary,   // "the signature library cannot start"
  kOtherKey,             // "it is by key %s, not %s"
  kSignatureMismatch,    // "the signature does not match the file"
  kCommentMismatch,      // "the trusted comment does not match its signature"
  kNumberNeeded,         // "A number is needed here."
  kPageNoMemory,         // "This page cannot be shown: there is not enough memory for its layout.\n"
  kPageTooLong,          // "This page cannot be shown: its layout is longer than %d lines.\n"
  kHelpFilesFull,        // "Cannot load file %s: the help viewer holds %d files, no more\n"
  kCount
};
constexpr int kUtilTexts = static_cast<int>(UtilText::kCount);

// The English text of id (the empty text for an id out of range).
const char* EnglishUtilText(UtilText id);

// Where the run's texts come from: a function that gives the text of an
// id in the run's language, with the English conversions in their order.
// nullptr (the start) is English. One source for the whole program.
using UtilTextSource = const char* (*)(UtilText id);
void SetUtilTextSource(UtilTextSource source);

// The text of id in the run's language: the source's, or the English one
// when there is no source or it gives nothing.
const char* RunUtilText(UtilText id);

// The run's text of id as a printf format filled with the arguments (in
// English with english set: the run log stays in one language). errno is
// left as it was, so that a report of a system error may be built first.
std::string UtilFormat(UtilText id, ...);
std::string EnglishUtilFormat(UtilText id, ...);

// "ERROR: <the run's text of id, filled>" and a line end on standard error,
// standard output flushed first; the prefix stays English, for the scripts
// that match it.
void SayUtilError(UtilText id, ...);
