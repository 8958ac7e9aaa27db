// The run's guards: one setup at a time (the host's lock), and the preview,
// which shows what an installation would do here and changes nothing. The
// installer reaches them through its RunGuards interface (setup_extensions.h),
// which ConnectRunGuards connects; they use the installer below them.
//
// Files of the module:
//   guards_lock.cpp     the host's lock and the file naming its holder
//   guards_preview.cpp  the preview
//   guards_connect.cpp  the RunGuards the installer calls
#pragma once

// Connects the guards to the installer (ConnectGuards).
void ConnectRunGuards();

// ---------------------------------------------------------------------------
// One setup at a time (guards_lock.cpp).

// The lock file (mode 0600) and the file that names its holder's process
// (mode 0644), in /run (or /var/run) when root owns it and nobody else may
// write it.
constexpr const char* kLockFileName = "setup-Vexla.lock";
constexpr const char* kLockHolderName = "setup-Vexla.pid";

// Takes the host's lock for a run that changes the host (as root; other
// users change nothing of root's and take none), before it touches
// anything, for the rest of the run. When another run holds it: says so,
// naming that run's process, and ends with status 1; with wait it says
// once that it waits and waits. A lock file that cannot be made ends the
// run with status 1 as well.
void TakeHostLock(bool wait);

// For runs that only read (preview, verify): says on standard error when
// another run holds the lock, since what they show may then change (a user
// who may not open the lock judges by whether its named holder runs).
void SayWhenHostLocked();

// The process id that the holder's file in the open folder names: a
// positive number and a line end, in a file root alone could have written;
// 0 otherwise.
long LockHolderNamed(int folder);

// ---------------------------------------------------------------------------
// The preview (guards_preview.cpp).

// setup preview: unpacks the archive into a private directory (mode 700,
// removed at the end), checks free space unless spaceCheck is 0, finds the
// earlier installation, and prints every command line of the installation
// in the form of the run log, then the notes. 0, or 1 with the reason when
// the installation would fail. With json, standard output holds one JSON
// object instead (setup preview --json in setup(8)), written at the end of
// the run however it ends.
int RunPreview(unsigned char spaceCheck, bool json = false);
