// Encoding record databases in either layout and writing them to a file,
// for the database tool. The reader in Dbm.cpp reads back what this writes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>

#include "Dbm.h"

namespace {

void PutLength(std::string* image, uint16_t value, bool bigEndian) {
  unsigned char b[2];
  if (bigEndian) {
    b[0] = static_cast<unsigned char>(value >> 8);
    b[1] = static_cast<unsigned char>(value & 0xFF);
  } else {
    std::memcpy(b, &value, 2);  // the host's order
  }
  image->append(reinterpret_cast<const char*>(b), 2);
}

void PutScrambled(std::string* image, const std::string& block) {
  size_t at = image->size();
  image->append(block);
  DbXorEncode(block.data(), image->data() + at, static_cast<int>(block.size()));
}

bool CheckRecord(const DbRecordIn& record, std::set<std::string>* seen, std::string* err) {
  const std::string& key = record.key;
  if (key.empty()) {
    *err = "empty key";
    return false;
  }
  if (key.find('\0') != std::string::npos) {
    *err = "key holds a NUL byte";
    return false;
  }
  if (key.size() >= static_cast<size_t>(kDbKeyBufSize)) {
    *err = "key \"" + key.substr(0, 20) + "...\" has " + std::to_string(key.size()) +
           " characters; keys must be shorter than " + std::to_string(kDbKeyBufSize);
    return false;
  }
  size_t recLen = 2 + key.size() + 1 + record.value.size();
  if (recLen > static_cast<size_t>(kDbMaxRecLen)) {
    *err = "record \"" + key + "\" is " + std::to_string(recLen) +
           " bytes long; a record holds at most " + std::to_string(kDbMaxRecLen);
    return false;
  }
  if (!seen->insert(key).second) {
    *err = "key \"" + key + "\" appears twice";
    return false;
  }
  return true;
}

}  // namespace

bool DbEncodeImage(int type, const std::vector<DbRecordIn>& records, std::string* image,
                   std::string* err) {
  if (type != kDbTypePlain && type != kDbTypeHeadered) {
    *err = "unknown database layout " + std::to_string(type);
    return false;
  }
  if (records.size() > 999999999u) {
    *err = "too many records for the header's count";
    return false;
  }
  image->clear();
  const bool headered = type == kDbTypeHeadered;
  if (headered) {
    // NUL filler rather than random bytes: the same records give the same file.
    char header[kDbHeaderSize] = {};
    std::snprintf(header, sizeof header, "%s%zu", kDbMagic, records.size());
    image->append(header, sizeof header);
  }
  std::set<std::string> seen;
  for (const DbRecordIn& record : records) {
    if (!CheckRecord(record, &seen, err)) return false;
    std::string key(record.key);
    key.push_back('\0');
    const auto keyLen = static_cast<uint16_t>(key.size());
    const auto recLen = static_cast<uint16_t>(2 + key.size() + record.value.size());
    if (headered) {
      PutLength(image, recLen, true);
      PutLength(image, keyLen, true);
      PutScrambled(image, key);
      PutScrambled(image, record.value);
    } else {
      std::string block;
      PutLength(&block, keyLen, false);
      block += key;
      block += record.value;
      PutLength(image, recLen, false);
      PutScrambled(image, block);
    }
    if (image->size() > static_cast<size_t>(INT_MAX)) {
      *err = "database larger than 2 GiB";
      return false;
    }
  }
  // The reader takes any image starting with the magic's first five
  // characters for the headered layout.
  if (!headered && image->size() >= 5 && std::memcmp(image->data(), kDbMagic, 5) == 0) {
    *err = "these records would read as the headered layout; reorder them or write it headered";
    return false;
  }
  return true;
}

bool DbWriteFile(const char* path, int type, const std::vector<DbRecordIn>& records,
                 std::string* err) {
  std::string image;
  if (!DbEncodeImage(type, records, &image, err)) return false;
  std::string temp = std::string(path) + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) {
    *err = std::string("cannot create ") + temp + ": " + std::strerror(errno);
    return false;
  }
  const char* p = image.data();
  size_t left = image.size();
  bool ok = fchmod(fd, 0644) == 0;
  while (ok && left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  int saved = errno;
  if (close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && rename(temp.c_str(), path) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    unlink(temp.c_str());
    *err = std::string("cannot write ") + path + ": " + std::strerror(saved);
  }
  return ok;
}

// ---------------------------------------------------------------------------
// Text source.

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlankLine(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

// Unescapes text into *value; false with *err (without the line prefix).
bool Unescape(const std::string& text, std::string* value, std::string* err) {
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      *err = "carriage return in the value (DOS line ends?)";
      return false;
    }
    if (c == '\0') {
      *err = "NUL byte in the value";
      return false;
    }
    if (c != '\\') {
      value->push_back(c);
      continue;
    }
    if (++i == text.size()) {
      *err = "backslash at the end of the line (write \\\\ for a backslash)";
      return false;
    }
    switch (text[i]) {
      case 'n': value->push_back('\n'); break;
      case 't': value->push_back('\t'); break;
      case '\\': value->push_back('\\'); break;
      case 'x': {
        int hi = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0 || (hi == 0 && lo == 0)) {
          *err = "\\x needs two hexadecimal digits, not 00";
          return false;
        }
        value->push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
        break;
      }
      default:
        *err = std::string("unknown escape \\") + text[i] + " (use \\n, \\t, \\\\ or \\xHH)";
        return false;
    }
  }
  return true;
}

}  // namespace

bool DbParseSource(const std::string& text, std::vector<DbRecordIn>* records, std::string* err) {
  std::map<std::string, int> keyLines;  // key -> line it was given on
  size_t start = 0;
  int lineNo = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (line.empty() || line[0] == '#' || IsBlankLine(line)) continue;
    auto fail = [&](const std::string& why) {
      *err = "line " + std::to_string(lineNo) + ": " + why;
      return false;
    };
    size_t sep = line.find_first_of(" \t");
    if (sep == 0) return fail("the line starts with a blank; a record starts with its key");
    if (sep == std::string::npos) return fail("key \"" + line + "\" has no value (put a tab or blank after it)");
    DbRecordIn record;
    record.key = line.substr(0, sep);
    if (record.key.find_first_of(std::string("\r\0", 2)) != std::string::npos)
      return fail("control character in the key");
    if (record.key.size() >= static_cast<size_t>(kDbKeyBufSize))
      return fail("key has " + std::to_string(record.key.size()) + " characters; keys must be shorter than " +
                  std::to_string(kDbKeyBufSize));
    std::string why;
    if (!Unescape(line.substr(sep + 1), &record.value, &why)) return fail(why);
    record.value.push_back('\0');
    auto [it, isNew] = keyLines.emplace(record.key, lineNo);
    if (!isNew)
      return fail("key \"" + record.key + "\" already given on line " + std::to_string(it->second));
    records->push_back(std::move(record));
  }
  return true;
}

std::string DbEscapeValue(const std::string& value) {
  size_t n = value.size();
  if (n > 0 && value[n - 1] == '\0') --n;
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    auto c = static_cast<unsigned char>(value[i]);
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out;
}

bool DbLatin1FromUtf8(const std::string& utf8, std::string* latin1, std::string* err) {
  latin1->clear();
  int lineNo = 1;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead == '\n') ++lineNo;
    if (lead < 0x80) {
      latin1->push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    // The length of the sequence and the bits its lead byte carries; C0 and
    // C1 would only spell characters below 0x80 again.
    size_t len = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    unsigned long code = len == 2 ? lead & 0x1F : len == 3 ? lead & 0x0F : lead & 0x07;
    for (size_t k = 1; k < len; ++k) {
      const auto next = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
      if ((next & 0xC0) != 0x80) {
        len = 0;
        break;
      }
      code = code << 6 | (next & 0x3F);
    }
    const bool overlong = (len == 3 && code < 0x800) || (len == 4 && code < 0x10000);
    if (len == 0 || overlong || code > 0x10FFFF) {
      *err = "line " + std::to_string(lineNo) + ": bytes that are not UTF-8 (write the file in UTF-8)";
      return false;
    }
    if (code > 0xFF) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "U+%04lX", code);
      *err = "line " + std::to_string(lineNo) + ": \"" + utf8.substr(i, len) + "\" (" + hex +
             ") is not in ISO 8859-1; write it with other characters";
      return false;
    }
    latin1->push_back(static_cast<char>(code));
    i += len;
  }
  return true;
}

std::string DbUtf8FromLatin1(const std::string& latin1) {
  std::string out;
  for (char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}
