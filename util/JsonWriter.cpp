#include "JsonWriter.h"

#include <cstdio>

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x80 || c == '"' || c == '\\') {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", b);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

JsonObject& JsonObject::AddRaw(const char* key, const std::string& json) {
  if (!members_.empty()) members_ += ",";
  members_ += JsonString(key) + ":" + json;
  return *this;
}

JsonObject& JsonObject::Add(const char* key, const std::string& text) { return AddRaw(key, JsonString(text)); }

JsonObject& JsonObject::Add(const char* key, long long number) { return AddRaw(key, std::to_string(number)); }

JsonObject& JsonObject::Add(const char* key, const std::vector<std::string>& texts) {
  std::string list;
  for (const std::string& t : texts) list += (list.empty() ? "" : ",") + JsonString(t);
  return AddRaw(key, "[" + list + "]");
}

JsonObject& JsonObject::Add(const char* key, const std::vector<JsonObject>& objects) {
  std::string list;
  for (const JsonObject& o : objects) list += (list.empty() ? "" : ",") + o.Text();
  return AddRaw(key, "[" + list + "]");
}
