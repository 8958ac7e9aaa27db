// The installation's record: what an installation made and owns, noted as
// it goes (and kept on the disk beside the manifest, so that a stopped run
// leaves them claimed), the manifest written at its end, and what is built
// on the manifest: verify, remove, the earlier installation saved through
// an upgrade and rollback, which puts it back. The installer reaches it
// through its InstallationRecord interface (setup_extensions.h), which
// ConnectInstallationRecord connects; it uses the installer below it.
//
// Files of the module:
//   record.h              this header: what the installer and the tools use
//   record_format.h       the manifest's entries and lines, the trust in a
//                         manifest read back, remove's order and rollback's
//                         choices (for the module's own files and tests)
//   record_format.cpp     the lines, the entry of a path as the host has it,
//                         the manifest and notes read back
//   record_manifest.cpp   the notes of an installation and the manifest
//                         written from them on a thread of its own
//   record_verify.cpp     verify: the host compared with the manifest
//   record_remove.cpp     remove: an installation taken off as listed
//   record_rollback.cpp   the earlier installation saved, and rollback
//   record_history.cpp    the host's history of setup runs
//                         (record_history.h)
//   record_connect.cpp    the InstallationRecord the installer calls
#pragma once

#include <string>
#include <vector>

// Connects the record to the installer (ConnectRecord).
void ConnectInstallationRecord();

// ---------------------------------------------------------------------------
// The manifest of an installation: <application directory>/setup.manifest
// (record_manifest.cpp; verify is record_verify.cpp).

constexpr const char* kManifestName = "setup.manifest";

// Starts the notes of one installation.
void ManifestBegin();
// Before path is made: it, and every folder above it that does not exist
// yet, are made by this installation. A relative path is not noted.
void ManifestNoteMade(const char* path);
// path is the installation's own (a wrapper it writes, a link it makes),
// whether something was there before or not.
void ManifestNoteOwn(const char* path);
// Once the application directory exists, the paths noted as made outside
// it are kept in notes beside the manifest (setup.made), brought up to
// date by every note: a run that is stopped leaves them for the next run
// to claim. This brings them up to date now.
void ManifestKeepNotes();
// Before the tree source is copied to dest: the paths of dest that do not
// exist yet are made by it (a file it overwrites is not), and the content
// of its files counts. Returns the files the copy places.
std::vector<std::string> ManifestNoteCopy(const char* source, const char* dest);
// The content of the file path (or of every file below the folder path)
// counts: a copy of the archive, or a script the installer writes.
void ManifestNoteContent(const char* path);
void ManifestNoteRename(const char* from, const char* to);
// Whether the notes say path will be made (a preview asks, since nothing
// is copied in it).
bool ManifestWouldExist(const char* path);
// Begins the manifest of the installation in AppDir: it is made on a
// thread of its own while the installer's last commands run (a product of
// large files takes a while to hash), from the host as it is now.
void BeginManifest();
bool ManifestPending();
// Writes the manifest begun (begun now when it was not); a write that
// fails is a failed step.
bool WriteManifest();

// Compares the host with the manifest of appDir, one line a difference,
// then a summary: 0 all match, 1 something differs, 2 no manifest, or one
// that root alone could not have written (a link, not a regular file, not
// root's, writable by others, more than one link); a damaged one ends the
// program with status 2. Writes nothing. With json the result is one JSON
// object on standard output instead (setup verify --json in setup(8)),
// a damaged manifest included (status 2).
int VerifyInstallation(const char* appDir, bool json = false);
// Takes the installation of appDir off as its manifest lists it (files and
// links only while they are what the installation left, a changed copy
// only when the administrator confirms, folders only when empty), through
// the folders it holds open, never through a link root does not own: 0
// all is gone, 1 something was kept (the manifest then lists it), 2 no
// manifest that can be trusted (as for verify). (record_remove.cpp)
int RemoveInstallation(const char* appDir);

// ---------------------------------------------------------------------------
// The earlier installation kept through an upgrade (record_rollback.cpp).

// Where the earlier installation of appDir is saved: the root-only folder
// .vpxx.previous beside it.
std::string SavedInstallationDir(const char* appDir);

// The room (in the units of the free-space check) that saving the earlier
// installation in installDir takes: 0 when none would be saved (none
// there, no manifest root trusts, or a complete saved copy already).
double SavedCopyNeed(const char* installDir);

// With keep: ends the run with status 1, before anything has changed,
// when no copy of the earlier installation in installDir can be kept (none
// is there, its manifest is not trusted, a run over it was stopped) and
// none stands saved already.
void RefuseKeepWithoutCopy(const char* installDir);

// The free-space check found no room for the saved copy: with keep, says
// so and ends the run with status 1 (nothing has changed); otherwise warns
// that the upgrade goes on without one.
void NoRoomToSaveEarlier();

// Before an upgrade changes the application directory AppDir: copies the
// earlier installation (the tree, and the files and links outside it that
// its trusted manifest lists) into the saved folder through the command
// table, marking it complete last. A complete saved copy is kept as it is.
// Without a trusted manifest, or room, it says so and saves nothing; with
// keep a copy that cannot be made ends the run with status 1.
void SaveEarlierInstallation();

// At the end of a run: a complete upgrade removes the saved copy (keeps it
// with keep, and says so); any other end says that setup rollback puts
// the earlier installation back, as the last lines and in the log.
void EndSavedInstallation(bool complete);

// remove: names a saved earlier installation beside appDir, which stays.
void SayWhenEarlierIsSaved(const char* appDir);

// setup rollback: puts the saved earlier installation of appDir back
// (the daemon stopped, the new installation's own outside paths that the
// earlier one lacks taken off as remove does, the tree and the earlier
// outside paths restored, the saved copy removed). Each step can be made
// again, so an interrupted rollback run again finishes. 0 done, 1
// something was kept, 2 nothing to roll back to.
int RollbackInstallation(const char* appDir);
