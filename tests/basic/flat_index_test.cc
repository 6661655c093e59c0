// The register's flat indexes against standard maps: random additions (one
// at a time and in bulk) and removals over few slots, so that runs of
// colliding keys are entered and broken up again, must answer every find as
// the standard map does.
#include "basic/flat_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace tav {
namespace {

std::vector<int> idsOf(const IdList* list) {
  std::vector<int> ids;
  if (list != nullptr) list->appendTo(&ids);
  return ids;
}

TEST(FlatIndexTest, AgreesWithStandardMaps) {
  std::mt19937 random(7);
  std::vector<std::string> texts;
  for (int i = 0; i < 300; ++i) texts.push_back("NAME " + std::to_string(i * 7919 % 1000));
  KeyArena arena;
  FlatIndex<std::string_view, TextKeyHash> names;
  FlatIndex<int, IntKeyHash> numbers;
  FlatIdMap ids;
  std::map<std::string, std::vector<int>> expectedNames;
  std::map<int, std::vector<int>> expectedNumbers;
  std::map<int, int> expectedIds;

  std::vector<FlatIndex<std::string_view, TextKeyHash>::Pending> pending;
  for (int id = 1; id <= 200; ++id) {  // a bulk start, in order
    const std::string& text = texts[random() % 40];
    pending.push_back(names.pending(arena.keep(text), id));
    expectedNames[text].push_back(id);
  }
  names.addAll(pending);

  for (int step = 0; step < 20000; ++step) {
    const int id = static_cast<int>(random() % 500) + 1;
    const std::string& text = texts[random() % texts.size()];
    const int number = static_cast<int>(random() % 64) - 8;
    if (random() % 3 != 0) {
      names.add(arena.keep(text), id);
      expectedNames[text].push_back(id);
      numbers.add(number, id);
      expectedNumbers[number].push_back(id);
      ids.set(id, step);
      expectedIds[id] = step;
    } else {
      auto erase = [id](std::vector<int>* list) {
        for (auto at = list->begin(); at != list->end(); ++at) {
          if (*at == id) {
            list->erase(at);
            return;
          }
        }
      };
      names.erase(text, id);
      erase(&expectedNames[text]);
      numbers.erase(number, id);
      erase(&expectedNumbers[number]);
      ids.erase(id);
      expectedIds.erase(id);
    }
  }
  for (const std::string& text : texts) {
    EXPECT_EQ(idsOf(names.find(text)), expectedNames[text]) << text;
  }
  for (int number = -10; number < 60; ++number) {
    EXPECT_EQ(idsOf(numbers.find(number)), expectedNumbers[number]) << number;
  }
  for (int id = 0; id <= 501; ++id) {
    const int* found = ids.find(id);
    auto expected = expectedIds.find(id);
    ASSERT_EQ(found != nullptr, expected != expectedIds.end()) << id;
    if (found != nullptr) {
      EXPECT_EQ(*found, expected->second) << id;
    }
  }
  std::size_t keys = 0;
  for (const auto& [text, list] : expectedNames) keys += list.empty() ? 0 : 1;
  EXPECT_EQ(names.entries().size(), keys);
}

}  // namespace
}  // namespace tav
