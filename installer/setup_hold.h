// While a run changes the host, no other user can change the folders it
// works in. Every folder of root's that a walk to a path of the run opens
// (PathTrust.h), and the application directory's tree, loses the write
// bits of group and others, set on the folder's own descriptor, until the
// run ends: what root judged then stays what root acts on. Shared sticky
// folders (/tmp, the download folder) are left as they are: nobody else
// can change root's entries in them. At the end, however the run ends,
// each folder gets back its mode (the one a command of the run gave it,
// else its earlier one). A record of root's lists the held folders, so
// that the next run puts back what a killed run left held.
#pragma once

#include <sys/stat.h>

#include <string>

// Where the record of the held folders lives while a run holds any.
constexpr const char* kHoldRecordPath = "/var/lib/setup-Vexla.held";

// Starts holding for a run of root's that changes the host: takes over the
// folders a killed run's record lists, holds every folder a walk opens
// from now on, and gives the modes back when this process exits. Nothing
// for any other user.
void BeginFolderHold(const char* recordPath = kHoldRecordPath);

// Holds the folders on the way to path and, when path is a folder, it and
// every folder below it.
void HoldTree(const std::string& path);

// A command of the run has just made the folder path or set its mode or
// group (tree: those of every folder below it too): the mode it has now is
// the one it gets back at the end, and it is held again.
void HoldAfterCommand(const std::string& path, bool tree);

// A command has just copied the tree source (a folder of root's own) to
// target, folders' modes included: every folder of target that source has
// keeps the mode it now has, to get back at the end; any other folder of
// target keeps the mode it had. All of them are held.
void HoldCopiedTree(const std::string& source, const std::string& target);

// Gives the folders of the tree copy, a copy of the tree original made
// while the original was held, the modes the original's folders get back,
// so that the copy, put back later, has the modes the installation gave.
void GiveCopyHeldModes(const std::string& original, const std::string& copy);

// The mode of the file st shows as the run leaves it: a held folder's mode
// to give back, else its own. (Safe on any thread.)
mode_t ModeAfterHold(const struct stat& st);

// Gives every held folder its mode back and removes the record; the run
// ends without a hold. (Also done when the process exits.)
void EndFolderHold();
