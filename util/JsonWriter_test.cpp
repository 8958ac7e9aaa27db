#include "JsonWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every byte a name may hold survives: control bytes, quote, backslash and
// ISO 8859-1 letters are \u00XX; the rest is as it is.
TEST(Json, StringsAreEscapedByteByByte) {
  const struct {
    std::string text, json;
  } cases[] = {
      {"", "\"\""},
      {"/opt/Vexla vpxx", "\"/opt/Vexla vpxx\""},
      {"a\"b\\c", "\"a\\u0022b\\u005cc\""},
      {std::string("\n\t\x01\x1f", 4), "\"\\u000a\\u0009\\u0001\\u001f\""},
      {std::string("\0", 1), "\"\\u0000\""},
      {"caf\xe9\x7f\xff", "\"caf\\u00e9\x7f\\u00ff\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.text;
}

TEST(Json, ObjectsKeepTheirOrderAndNest) {
  JsonObject inner;
  inner.Add("kind", "mode").Add("path", "/a");
  JsonObject o;
  o.Add("status", 1LL).Add("lines", std::vector<std::string>{"x", "y\n"}).Add("none", std::vector<std::string>{});
  o.Add("differences", std::vector<JsonObject>{inner, JsonObject()});
  EXPECT_EQ(o.Text(),
            "{\"status\":1,\"lines\":[\"x\",\"y\\u000a\"],\"none\":[],"
            "\"differences\":[{\"kind\":\"mode\",\"path\":\"/a\"},{}]}");
}

}  // namespace
