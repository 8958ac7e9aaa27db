// mkmedium: the medium signed. The checksum file covers every other file
// of the medium, so one minisign signature of it ("sha256.minisig", made
// as `minisign -S` makes it and checked by `minisign -V`) vouches for the
// whole medium. Keys are minisign's own files; a key protected by a
// password is opened with the password from a file or from the terminal.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "Sha256.h"
#include "mkmedium.h"

namespace mkmedium {

namespace {

// Reads at most limit bytes (and one more, to tell a longer file) of
// path; false after saying why.
bool ReadUpTo(const std::string& path, const char* what, size_t limit, std::string* text) {
  Fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (!fd.ok()) {
    ComplainErrno("cannot read the %s %s", what, path.c_str());
    return false;
  }
  text->clear();
  char buf[4096];
  while (text->size() <= limit) {
    const ssize_t n = read(fd.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ComplainErrno("cannot read the %s %s", what, path.c_str());
      return false;
    }
    if (n == 0) break;
    text->append(buf, static_cast<size_t>(n));
  }
  if (text->size() > limit) {
    Complain("the %s %s is too long", what, path.c_str());
    return false;
  }
  return true;
}

// The first line of text, without its line end.
std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// Asks for a password on the terminal, without echo; false after saying
// why (no terminal, end of input).
bool AskPassword(const char* prompt, std::string* password) {
  Fd tty(open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY));
  if (!tty.ok()) {
    Complain("the key needs a password and there is no terminal to ask it on: give --password-file FILE");
    return false;
  }
  termios saved{};
  const bool quiet = tcgetattr(tty.get(), &saved) == 0;
  if (quiet) {
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(tty.get(), TCSAFLUSH, &silent);
  }
  WriteAll(tty.get(), prompt, std::strlen(prompt));
  password->clear();
  char c;
  bool ended = false;
  while (true) {
    const ssize_t n = read(tty.get(), &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    if (c == '\n') {
      ended = true;
      break;
    }
    if (password->size() < 1024) password->push_back(c);
  }
  if (quiet) tcsetattr(tty.get(), TCSAFLUSH, &saved);
  WriteAll(tty.get(), "\n", 1);
  if (!ended) Complain("no password was given");
  return ended;
}

// The password for a key: the first line of opts.passwordFile, else asked.
bool KeyPassword(const Options& opts, const char* prompt, std::string* password) {
  if (opts.passwordFile.empty()) return AskPassword(prompt, password);
  std::string text;
  if (!ReadUpTo(opts.passwordFile, "password file", kMinisignFileMax, &text)) return false;
  *password = FirstLine(text);
  return true;
}

}  // namespace

bool OpenSigningKey(const Options& opts, MinisignSecretKey* key) {
  std::string text, password, why;
  if (!ReadUpTo(opts.signKey, "secret key", kMinisignFileMax, &text)) return false;
  if (MinisignKeyNeedsPassword(text) && !KeyPassword(opts, "Password for the secret key: ", &password)) return false;
  if (!ReadMinisignSecretKey(text, password, key, &why)) {
    Complain("cannot open the secret key %s: %s", opts.signKey.c_str(), why.c_str());
    return false;
  }
  return true;
}

bool WriteSignature(const Options& opts, const OutputDir& out, const MediumNames& names, unsigned pieces,
                    const MinisignSecretKey& key) {
  std::string checksums;
  if (!ReadUpTo(out.File(names.checksums), "checksum file", size_t{1} << 30, &checksums)) return false;
  Sha256 digest;
  digest.Update(checksums.data(), checksums.size());
  std::string product = opts.product;
  while (product.size() > 1 && product.back() == '/') product.pop_back();
  product = product.substr(product.rfind('/') + 1);
  const std::string comment =
      "product " + product + " pieces " + std::to_string(pieces) + " sha256 " + digest.HexDigest();
  const std::string text =
      MinisignSign(key, checksums, comment, "signature of the medium by key " + MinisignKeyIdText(key.id));
  if (text.empty()) {
    Complain("the product folder's name %s cannot go into a signature", product.c_str());
    return false;
  }
  return WriteTextFile(out.File(names.signature), text, 0644);
}

bool GenerateKeyPair(const Options& opts) {
  std::string password, again, secret, pub, why;
  if (!opts.noPassword) {
    if (!KeyPassword(opts, "Password for the new key: ", &password)) return false;
    if (opts.passwordFile.empty() && !AskPassword("Password again: ", &again)) return false;
    if (opts.passwordFile.empty() && password != again) {
      Complain("the two passwords differ");
      return false;
    }
    if (password.empty()) {
      Complain("an empty password: give --no-password to store the key without one");
      return false;
    }
  }
  if (!MakeMinisignKeyPair(password, &secret, &pub, &why)) {
    Complain("cannot make a key pair: %s", why.c_str());
    return false;
  }
  std::string pubPath = opts.generateKey;
  if (pubPath.size() > 4 && pubPath.compare(pubPath.size() - 4, 4, ".key") == 0) pubPath.resize(pubPath.size() - 4);
  pubPath += ".pub";
  if (!WriteTextFile(opts.generateKey, secret, 0600)) return false;
  if (!WriteTextFile(pubPath, pub, 0644)) {
    unlink(opts.generateKey.c_str());
    return false;
  }
  std::printf("secret key %s\npublic key %s (key id %s)\n", opts.generateKey.c_str(), pubPath.c_str(),
              FirstLine(pub).substr(std::strlen("untrusted comment: minisign public key ")).c_str());
  return true;
}

}  // namespace mkmedium
