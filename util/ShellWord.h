// Texts that enter a host command line: one judgement of every character,
// and the quoting that makes any printable text one literal word.
//
// The runner hands every table command to the shell as
//     <sh> -c "<command> <flags> <arguments> <redirections>"
// through system(), so an argument passes two shells: the outer one reads
// the double-quoted -c text, inside which $ ` \ and " still act, and the
// inner one splits what is left into words and expands them. A pipe line
// (popen) passes one shell.
//
// How a character fares:
//   plain    letters, digits and / . _ - + , @ : =
//            pass as they are everywhere.
//   pattern  * ? [ ] ~ % # and the tab
//            pass as they are where the shell's file-name patterns are
//            meant (words of the package list: "c lib/*.so"; a tab splits
//            there like a blank); quoted where a literal word is needed.
//   quoted   the blank, every other printable character and the bytes from
//            128 up (Latin-1 and UTF-8 names)
//            reach the command only inside quotes made for the line's
//            shells (ShellWord).
//   refused  the control characters (below 32 but the tab, and 127), and
//            the empty text
//            no log line and no shell line may carry them.
#pragma once

#include <string>

// The worst class among the characters of text, in the order above.
enum ShellWordClass { kShellPlain, kShellPattern, kShellQuoted, kShellRefused };

// Class of text; NULL and "" are refused.
ShellWordClass JudgeShellWord(const char* text);

// text as one literal word for a line that shells shells read (1: a pipe
// line; 2: a table command of the runner): a plain text as it stands, any
// other in single quotes that the outer double quotes leave intact. ""
// when the text is refused.
std::string ShellWord(const char* text, int shells);

// Whether text may stand as shell words of its own inside the runner's
// double-quoted -c text (a sed script with its options, "-e 's/a/b/'"):
// nothing in it ends the quotes or expands at the outer level (no " or `,
// no $ before a name, a digit,
// a special parameter, ( or {, no backslash before " ` or $), and no
// control character but the tab.
bool IsSafeShellArguments(const char* text);
