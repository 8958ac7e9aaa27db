// The names of an installation medium's files, as mkmedium writes them and
// setup reads them: the plain set, and the upper-case set of a
// DOS-formatted diskette, which holds only upper-case 8.3 names.
#pragma once

struct MediumNames {
  const char* program;     // the installer
  const char* helpFile;    // its help file
  const char* marker;      // "installation site" or "diskette"
  const char* isize;       // kilobyte blocks of the installed product
  const char* tsize;       // kilobyte blocks of the work area at its peak
  const char* disks;       // the disks list
  const char* piecePrefix;  // the archive's pieces: <piecePrefix><n>
  const char* dbFolder;    // the menu engine's string database: <dbFolder>/<dbFile>
  const char* dbFile;
  const char* checksums;   // the checksum file
  const char* signature;   // the checksum file's signature, when the medium is signed
};

inline constexpr MediumNames kUnixMediumNames = {"setup", "setup.hlp", "installf.rom", "isize", "tsize",
                                                 "disks", "pkg_tar.",  "db",           "drvcore.vdb", "sha256",
                                                 "sha256.minisig"};
inline constexpr MediumNames kDosMediumNames = {"SETUP", "SETUP.HLP", "INSTALLF.ROM", "ISIZE", "TSIZE",
                                                "DISKS", "PKG_TAR.",  "DB",           "DRVCORE.VDB", "SHA256",
                                                "SHA256.SIG"};
