// The run's guards: one setup at a time (the host's lock), the preview,
// which shows what an installation would do here and changes nothing, and
// the medium's checksums and signature, which stop a damaged or foreign
// medium before it installs anything. The
// installer reaches them through its RunGuards interface (setup_extensions.h),
// which ConnectRunGuards connects; they use the installer below them.
//
// Files of the module:
//   guards_lock.cpp     the host's lock and the file naming its holder
//   guards_preview.cpp  the preview
//   guards_checksums.cpp  the medium's checksum file
//   guards_signature.cpp  the medium's signature against the keys root
//                       keeps (guards_signature.h)
//   guards_connect.cpp  the RunGuards the installer calls
#pragma once

#include <string>

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

// ---------------------------------------------------------------------------
// The medium's checksum file (guards_checksums.cpp).

// Checks every file that the checksum file of dir ("sha256", or "SHA256"
// on a DOS diskette) names against it. dir may hold a copy of the medium
// (the work directory, a preview's private one): every message names the
// file in mediumDir, the medium's own directory (dir when NULL). The file
// must cover every file the disks list of dir names but the marker and
// itself; a listed file without a line, a checksum file without lines, a
// damaged line, or a file that is missing, is no regular file or does not
// match ends the run with status 1, naming it. A directory without a checksum file (nor one in its
// list) is logged and passes. Returns the number of files checked.
int CheckMediumChecksums(const char* dir, const char* mediumDir = nullptr);
// The SHA-256 (64 lower-case hex digits) of the checksum file the last
// check found all files matching; empty before, or for a medium without one.
const std::string& MediumDigest();
// The medium's directory the last check named (its mediumDir); empty
// before the first.
const std::string& CheckedMediumDir();
