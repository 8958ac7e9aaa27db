// A small JSON writer for what programs read (setup's --json output and
// its history lines): objects whose members keep the order they are added.
// Every byte below 0x20, the " and the \, and every byte from 0x80 up is
// written as \u00XX, so that a name in ISO 8859-1 (or any other bytes)
// comes back as the same bytes when each \u00XX is read as one byte.
#pragma once

#include <string>
#include <vector>

// text as a JSON string, quotes included.
std::string JsonString(const std::string& text);

// One JSON object, its members in the order they are added.
class JsonObject {
 public:
  JsonObject& Add(const char* key, const std::string& text);
  JsonObject& Add(const char* key, const char* text) { return Add(key, std::string(text)); }
  JsonObject& Add(const char* key, long long number);
  JsonObject& Add(const char* key, const std::vector<std::string>& texts);
  JsonObject& Add(const char* key, const std::vector<JsonObject>& objects);
  JsonObject& Add(const char* key, const JsonObject& object) { return AddRaw(key, object.Text()); }
  // The object's text, braces included.
  std::string Text() const { return "{" + members_ + "}"; }

 private:
  JsonObject& AddRaw(const char* key, const std::string& json);
  std::string members_;
};
