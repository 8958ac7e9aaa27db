// The manifest of an installation as the record writes it and verify,
// remove and rollback read it back: its entries (the format is described
// at the top of record_manifest.cpp), the entry of a path as the host has
// it now, and the trust root puts in a file it reads, which must be one
// that root alone could have written (record_format.cpp). The functions
// that remove and rollback share are record_remove.cpp's.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "setup_extensions.h"
#include "utils.h"

// One line of a manifest.
struct ManifestEntry {
  char type = 'o';  // d, f, n, l or o
  unsigned mode = 0;
  std::string owner, group;
  std::string size = "-", sha = "-";
  std::string path, target;
};

// Beside the manifest: the paths outside the application directory that an
// installation noted as made, kept up to date while it runs, so that a run
// that was stopped and is made again still claims them.
constexpr const char* kMadeNotesName = "setup.made";

// The outside paths that the notes beside the manifest of appDir list;
// none when there are no notes, or when they cannot be trusted or are
// damaged, which is said.
std::set<std::string> ReadMadeNotes(const char* appDir);
// Whether there are notes beside the manifest of appDir that root alone
// could have written: the record of a run over it that was stopped. Notes
// anybody else could have written record nothing; they are named, once a
// run, as ReadMadeNotes names them.
bool HasMadeNotes(const char* appDir);

std::string ManifestPath(const char* appDir);
std::string MadeNotesPath(const char* appDir);

// The two comment lines a manifest starts with.
std::string ManifestHeading();
// The comment lines after them that record the medium the installation
// came from ("# medium sha256 <64 hex digits>\n", the digest of its
// checksum file) and its signer ("# medium signature STATE [KEYID
// [COMMENT]]\n", the texts escaped); none for a digest that is empty.
std::string ManifestMediumRecord(const std::string& digest, const MediumSigner& signer);
// An entry as its line of the manifest, line end included.
std::string FormatManifestEntry(const ManifestEntry& e);

// The entry of path as the host has it now (a held folder with the mode
// it gets back), a file's content hashed when withContent; false when
// nothing is there. Unhashed: the size alone, the digest left "-".
bool DescribeEntry(const std::string& path, bool withContent, ManifestEntry* e);
bool DescribeEntryUnhashed(const std::string& path, bool withContent, ManifestEntry* e);
// A file's digest as the manifest shows it: "unreadable" for a file that
// could not be read (an empty digest).
std::string DigestOrUnreadable(const std::string& digest);

// How reading a manifest went.
enum ManifestRead { kManifestRead, kManifestMissing, kManifestUntrusted, kManifestDamaged };

// Reads the manifest at path when it can be trusted (OpenTrustedFile);
// *why says why not, or which line is damaged (*badLine, from 1). The
// medium's digest goes to *medium and its signer to *signer when given
// and the manifest records them (a signer line that cannot be read is left
// as it is: the line is a comment).
ManifestRead ReadTrustedManifest(const std::string& path, std::vector<ManifestEntry>* entries, std::string* why,
                                 int* badLine, std::string* medium = nullptr, MediumSigner* signer = nullptr);

// The manifest for verify and remove; false, said on standard error, when
// there is none or it is not trusted (nothing says what is then not done).
// A damaged line is said and ends the program with status 2.
bool LoadManifest(const std::string& path, const char* nothing, std::vector<ManifestEntry>* entries);

// Takes one entry off as remove does (record_remove.cpp): a file or link
// only while it is what the installation left (a changed copy only when
// the administrator confirms), a folder only when empty, each reached
// through folders held open. True when it is gone (or was not there);
// false with *why when it is kept.
bool TakeOffListed(const ManifestEntry& e, std::string* why);
// Says on standard output that path is kept, and why ("kept PATH: WHY"),
// its control characters shown as '?'.
void SayKept(const std::string& path, const std::string& why);
// The entries, deepest paths first, so that a folder is emptied before it
// is taken off.
std::vector<const ManifestEntry*> DeepestFirst(const std::vector<ManifestEntry>& entries);
// The order in which remove takes the entries of the installation in
// appDir off: first every entry but the application directory and the
// folders above it, deepest first; then those holders, deepest first, once
// nothing else is kept.
struct RemovalOrder {
  std::vector<const ManifestEntry*> first, holders;
};
RemovalOrder OrderOfRemoval(const std::vector<ManifestEntry>& entries, const std::string& appDir);

// Rollback's choices (record_rollback.cpp). The files and links of a
// manifest outside appDir that a saved copy holds: not folders, nothing
// else, and only paths that are plain words of a shell line.
std::vector<const ManifestEntry*> OutsideFiles(const std::vector<ManifestEntry>& entries, const std::string& appDir);
// The entries outside appDir that the new installation's manifest (now)
// lists and the earlier one does not, each once: what rollback takes off.
std::vector<ManifestEntry> NewOutsideEntries(const std::vector<ManifestEntry>& now,
                                             const std::vector<ManifestEntry>& earlier, const std::string& appDir);
