// mkmedium, the medium builder: what its files share. The tool is split
// over several files in this folder, one a step of the work:
//   mkmedium.cpp           the command line (usage text, options read and
//                          defaulted) and the order of the work: MakeMedium, main
//   mkmedium_io.cpp        messages, files written,
//                          created new and copied, the output folder
//   mkmedium_files.cpp     the medium's files: their names (plain or DOS),
//                          the inputs checked, the string databases and their
//                          translations, the file list and the disks list, the
//                          marker, the copies of program, help file and databases
//   mkmedium_sizes.cpp     the size files: blocks of the product tree (isize)
//                          and of the work area at its peak (tsize)
//   mkmedium_pack.cpp      packing the product: tar and compress started and
//                          waited for, the stream cut into pieces as it comes
//   mkmedium_checksums.cpp the checksum file
//   mkmedium_sign.cpp      the signature of the checksum file, the key and its
//                          password read, key pairs made
//   mkmedium_progress.cpp  the progress line while the archive is cut, and the
//                          closing report
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "Fd.h"
#include "MediumLayout.h"
#include "MinisignSign.h"
#include "utils.h"  // SETUP_PRINTF

namespace mkmedium {

constexpr const char* kTool = "mkmedium";
constexpr unsigned long long kDisketteBytes = 1474560;  // 1440 KiB

// What the command line asks for.
struct Options {
  std::string product;
  std::string output;
  std::string program;
  std::string helpFile;
  std::string dbFile;
  std::vector<std::string> languages;  // translations of dbFile found beside it
  bool noDb = false;
  unsigned long long pieceSize = kDisketteBytes;
  bool diskette = false;
  bool dos = false;
  std::string signKey;       // a minisign secret-key file: sign the checksum file
  std::string passwordFile;  // its password in the first line (else asked on the terminal)
  std::string generateKey;   // make a key pair here (and its .pub) instead of a medium
  bool noPassword = false;   // a generated key is stored without a password
  // SOURCE_DATE_EPOCH, its digits, when it is set: the medium is then built
  // reproducibly (times clamped to it, modes normalised, sizes counted from
  // the contents rather than from the builder's file system).
  std::string sourceDateEpoch;
  bool Reproducible() const { return !sourceDateEpoch.empty(); }
};

// File names on the medium: MediumNames (MediumLayout.h).

// What packing the product gave: the archive's size compressed and as tar,
// and the pieces cut from it with the digest of each.
struct Archive {
  unsigned long long bytes = 0;
  unsigned long long tarBytes = 0;
  std::vector<std::string> pieceDigests;  // of pkg_tar.001, pkg_tar.002, ...
};

// ---------------------------------------------------------------------------
// mkmedium_io.cpp

// "mkmedium: " and the message on standard error.
SETUP_PRINTF(1, 2) void Complain(const char* format, ...);
// The same for a failed call, with the reason from errno after it.
SETUP_PRINTF(1, 2) void ComplainErrno(const char* format, ...);

// Makes the new file path (never through an existing entry) with exactly
// the mode given, whatever the umask; not ok() after saying why.
Fd CreateNew(const std::string& path, mode_t mode);
// Closes a file written; false after saying why.
bool FinishFile(Fd& fd, const std::string& path);
// The new file path holding text; false after saying why.
bool WriteTextFile(const std::string& path, const std::string& text, mode_t mode);
// Copies the regular file from into the new file to with the given mode;
// false after saying why.
bool CopyFile(const std::string& from, const std::string& to, mode_t mode);

// The output folder: new or empty. Unless Keep() is called, whatever was
// written into it goes again (and the folder too, when it was made here).
class OutputDir {
 public:
  // False after saying why the folder cannot be used.
  bool Open(const std::string& path);
  void Keep() { keep_ = true; }
  ~OutputDir();
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  bool UseEmpty(const struct stat& st);
  bool MakeNew(int statErrno);

  std::string path_;
  bool opened_ = false;
  bool made_ = false;
  bool keep_ = false;
};

// ---------------------------------------------------------------------------
// mkmedium_files.cpp

// The names of the DOS diskette when dos is true, the plain ones otherwise.
const MediumNames& MediumNamesFor(bool dos);
// The name of archive piece n: pkg_tar.001 for 1.
std::string PieceName(const MediumNames& names, unsigned n);
// The languages whose translation of the database dbFile lies beside it, as
// <its folder>/<LANG>/<its name> (the build places them so), sorted.
std::vector<std::string> FindTranslations(const std::string& dbFile);
// Every input named on the command line is there before anything is made;
// false after saying which is not.
bool CheckInputs(const Options& opts);
// Every file of the medium, in the order of the disks list.
std::vector<std::string> MediumFiles(const Options& opts, const MediumNames& names, unsigned pieces);
// The text of the disks list; empty after saying why, when the installer
// could not read it whole.
std::string DisksList(const std::vector<std::string>& files);
// What the marker says the medium is.
const char* Marker(const Options& opts);
// Copies the installer program, its help file and the string databases
// (in the db folder, one folder a language in it) onto the medium.
bool CopyInputs(const Options& opts, const OutputDir& out, const MediumNames& names);

// ---------------------------------------------------------------------------
// mkmedium_sizes.cpp

// Adds the kilobyte blocks the tree dir occupies, dir itself included, to
// *total; hard-linked files count once, as du counts them. byContent: each
// entry is counted from what it holds (a folder from its names), never from
// what this file system allocates, so that every copy of a tree counts
// alike. False after saying why, on a read error.
bool TreeKiB(const std::string& dir, bool byContent, unsigned long long* total);
// The work area at its peak during an install, in KiB, once every file of
// the medium but tsize and the checksum file is written.
unsigned long long WorkAreaKiB(const Options& opts, const OutputDir& out, const MediumNames& names,
                               const std::vector<std::string>& files, const Archive& archive,
                               unsigned long long treeKiB);

// ---------------------------------------------------------------------------
// mkmedium_pack.cpp

// Packs opts.product with tar, compresses the stream with compress and cuts
// it into pieces of opts.pieceSize, hashing each; false after saying why.
// With opts.sourceDateEpoch every time in the archive is clamped to it and
// modes are 755 for folders and programs, 644 for the rest.
bool PackProduct(const Options& opts, const OutputDir& out, const MediumNames& names, Archive* archive);
// The number of pieces the archive was cut into; 0 after saying why, when
// that is more than piece names can number.
unsigned CountPieces(const Archive& archive, unsigned long long pieceSize);

// ---------------------------------------------------------------------------
// mkmedium_checksums.cpp

// Bytes of the checksum file of the medium holding files.
unsigned long long ChecksumFileBytes(const std::vector<std::string>& files, const MediumNames& names);
// Writes the checksum file of the medium, once every other file is there;
// false after saying why.
bool WriteChecksums(const OutputDir& out, const std::vector<std::string>& files, const MediumNames& names,
                    const Archive& archive);

// ---------------------------------------------------------------------------
// mkmedium_sign.cpp

// Reads and opens the secret key of opts.signKey (its password from
// opts.passwordFile, else asked on the terminal); false after saying why.
// Done before anything is packed, so that a wrong password costs nothing.
bool OpenSigningKey(const Options& opts, MinisignSecretKey* key);
// Writes the signature of the checksum file just written; its trusted
// comment names the product folder, the pieces and the file's SHA-256.
// False after saying why.
bool WriteSignature(const Options& opts, const OutputDir& out, const MediumNames& names, unsigned pieces,
                    const MinisignSecretKey& key);
// Makes a key pair: opts.generateKey and its public key beside it (X.key
// gives X.pub, any other name NAME.pub); false after saying why.
bool GenerateKeyPair(const Options& opts);

// ---------------------------------------------------------------------------
// mkmedium_progress.cpp

// How far the cutting is, on one line rewritten in place, when standard
// output is a terminal; nothing otherwise.
class Progress {
 public:
  Progress();
  void Show(size_t pieces, unsigned long long bytes);
  // Ends the line, when one was shown.
  void End();

 private:
  bool on_;
  bool shown_ = false;
};

// The closing report on standard output: the medium, each of its files
// with its size, the archive and the two sizes.
void PrintReport(const Options& opts, const OutputDir& out, const std::vector<std::string>& files,
                 const Archive& archive, unsigned pieces, unsigned long long isize, unsigned long long tsize);

}  // namespace mkmedium
