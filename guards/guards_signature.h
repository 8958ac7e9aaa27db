// The medium's signature (guards_signature.cpp): "sha256.minisig" ("SHA256.SIG" on a DOS
// diskette), minisign's signature of the checksum file, checked against
// the public keys root keeps in /etc/Vexla/keys. The folder and every key
// in it count only when root alone could have written them (RootFile.h);
// once it holds a key, only a medium signed by one of them installs.
#pragma once

#include <string>

#include "MediumLayout.h"
#include "setup_extensions.h"

constexpr const char* kKeyFolder = "/etc/Vexla/keys";
constexpr const char* kSignatureFile = kUnixMediumNames.signature;
constexpr const char* kSignatureFileDos = kDosMediumNames.signature;

// The signer as preview prints it, one line without its end: the key, the
// state and the trusted comment, control characters shown as '?'.
std::string SignerLine(const MediumSigner& s);
// Judges the signature in dir of checksums, the very bytes the checksum
// check then uses; its messages name the file in shownDir, the medium's
// own directory (dir may hold a copy). With a key kept, a medium without a signature, signed
// by another key (named by its id) or with a bad signature ends the run
// with status 1, and so does a signature file that is not a regular file
// or cannot be read as one, a damaged key, a key folder that is not
// root's alone, or a way to it that root may not take. With no key kept,
// a signed medium is said once to be unchecked.
void CheckMediumSignature(const char* dir, const char* shownDir, const std::string& checksums);

// Whether the host keeps a key: a medium without a checksum file is then
// unsigned, and refused.
bool KeysKept();

// Who signed the medium, as the last check found it.
const MediumSigner& LastMediumSigner();

// Whether name is the medium's signature file (either spelling).
bool IsSignatureFile(const char* name);
