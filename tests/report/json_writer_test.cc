// The JSON text of the results export: stored text made safe as UTF-8
// strings, scores with two decimals, the layout of a document; and the
// panel's mark of the score audit.
#include <gtest/gtest.h>

#include "base/windows_1252.h"
#include "report/json_writer.h"
#include "report/score_audit.h"

namespace tav {
namespace {

TEST(JsonWriterTest, StoredTextBecomesAQuotedUtf8String) {
  const std::pair<std::string, std::string> cases[] = {
      {"Yuzuru HANYU", "\"Yuzuru HANYU\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {std::string("a\0b\n\x1f\x7f", 6), "\"a\\u0000b\\u000a\\u001f\\u007f\""},
      {"Zo\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "\"Zo\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      // Not UTF-8: a lone byte, a cut sequence, an overlong form, a surrogate.
      {"a\xE9z", "\"a\xEF\xBF\xBDz\""},
      {"\xE2\x82", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"</script>", "\"</script>\""},
  };
  for (const auto& c : cases) EXPECT_EQ(jsonString(c.first), c.second) << c.first;
}

TEST(JsonWriterTest, WholeDocument) {
  JsonWriter out(windows1252ToUtf8);
  out.beginObject();
  out.key("name").text("Zo\xE9");
  out.key("scores").beginArray(true);
  out.points(668);
  out.points(-100);
  out.points(-5);
  out.points(0);
  out.null();
  out.endArray();
  out.key("elements").beginArray();
  out.beginObject();
  out.key("number").integer(1);
  out.key("secondHalf").boolean(true);
  out.endObject();
  out.beginObject(true);
  out.key("number").integer(2);
  out.key("judges").beginArray(true);
  out.integer(-1);
  out.null();
  out.endArray();
  out.endObject();
  out.endArray();
  out.key("none").beginArray();
  out.endArray();
  out.key("empty").beginObject();
  out.endObject();
  out.endObject();
  EXPECT_EQ(out.finish(),
            "{\n"
            "  \"name\": \"Zo\xC3\xA9\",\n"
            "  \"scores\": [6.68, -1.00, -0.05, 0.00, null],\n"
            "  \"elements\": [\n"
            "    {\n"
            "      \"number\": 1,\n"
            "      \"secondHalf\": true\n"
            "    },\n"
            "    {\"number\": 2, \"judges\": [-1, null]}\n"
            "  ],\n"
            "  \"none\": [],\n"
            "  \"empty\": {}\n"
            "}\n");
}

TEST(ScoreAuditTest, PanelMark) {
  const std::pair<std::vector<int>, int> cases[] = {
      // Nine judges: the highest and the lowest dropped, 46.75 / 7 = 6.678.
      {{600, 700, 675, 675, 675, 725, 700, 625, 625}, 668},
      // Five marks still drop one each way; a half rounds up.
      {{100, 200, 300, 400, 1000}, 300},
      {{500, 525, 550, 700, 900}, 592},  // 17.75 / 3 = 5.9166
      {{700, 725, 1000, 100, 800, 805}, 758},  // 30.30 / 4 = 7.575 -> 7.58
      // Fewer than five marks: nothing dropped.
      {{100, 200, 300, 1000}, 400},
      {{700, 725, 750}, 725},
      {{700, 725}, 713},  // 7.125 -> 7.13
      {{650}, 650},
      {{}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(panelMark(c.first), c.second) << c.first.size();
}

}  // namespace
}  // namespace tav
