// Checking words through the exported handle and collecting the answers as transliterated
// strings, for the tests that compare handles with one another.
#ifndef URDUSPELL_TESTS_API_HANDLE_ANSWERS_H_
#define URDUSPELL_TESTS_API_HANDLE_ANSWERS_H_

#include <urduspell/spellcheckerptr.h>

#include <ostream>
#include <string>
#include <vector>

#include "engine/engine_fixture.h"

namespace testutil {

struct HandleAnswer {
  int result = 0;
  std::vector<std::string> suggestions;  // transliterated
  bool operator==(const HandleAnswer&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const HandleAnswer& a) {
  os << a.result << " [";
  for (const auto& s : a.suggestions) os << s << " ";
  return os << "]";
}

// The word (at most 20 units) followed by a zero pair; ten 40-byte buffers.
inline HandleAnswer CheckThrough(SpellCheckerPtr& handle, const std::u16string& word) {
  Bytes bytes = Utf16Le(word.substr(0, 20), false);
  bytes.resize(bytes.size() + 2, 0);
  char buffers[10][40] = {};
  char* pointers[10];
  for (int i = 0; i < 10; ++i) pointers[i] = buffers[i];
  HandleAnswer answer;
  answer.result = handle.SpellCheck(bytes.data(), pointers);
  for (int i = 0; i < answer.result; ++i) {
    std::u16string s;
    for (int k = 0; k + 1 < 40 && buffers[i][k] != 0; k += 2) {
      s.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffers[i][k]) |
                                        (static_cast<unsigned char>(buffers[i][k + 1]) << 8)));
    }
    answer.suggestions.push_back(Latin(s));
  }
  return answer;
}

// A data set with words of one to eight letters and enough near neighbours that most queries
// get several suggestions, and the queries to put to it (found, misspelt, too short, empty).
inline DataSet BusyDataSet() {
  DataSet data;
  data.words = {{"ab", 50},    {"ba", 40},     {"bt", 30},    {"sab", 900},   {"sbt", 40},
                {"Sbt", 35},   {"kalm", 300},  {"ktab", 800}, {"ktb", 60},    {"dwst", 700},
                {"nam", 650},  {"mlk", 500},   {"dyn", 450},  {"sdr", 120},   {"rsm", 90},
                {"zmyn", 400}, {"jhaz", 80},   {"chaj", 20},  {"Tkr", 70},    {"hkm", 110},
                {"xbr", 600},  {"lwgwn", 350}, {"bchwn", 150}, {"pakstan", 990}, {"mhbt", 610},
                {"dnya", 720}, {"shr", 430},   {"ptr", 25},   {"tbr", 26},    {"ktabyn", 210},
                {"dwstwn", 205}, {"zndgy", 340}, {"mwsm", 130}};
  data.soundex = {{'s', 1}, {'S', 1}, {'b', 2}, {'p', 2}, {'k', 3}, {'d', 4}, {'t', 5}, {'T', 5}};
  data.shapex = {{'b', 1}, {'p', 1}, {'t', 1}, {'T', 1}, {'S', 1}, {'j', 2}, {'c', 2}, {'d', 3}};
  return data;
}

inline std::vector<std::u16string> BusyQueries() {
  std::vector<std::u16string> queries;
  for (const char* w : {"ab", "ktab", "ktba", "tkab", "sb", "sbb", "kalmm", "pakstn", "dwsst",
                        "zmyyn", "a", "aa", "lwgwnn", "ttt", "bbb", "mhbbt", "dnay", "ktabny",
                        "shrr", "bchwm", "zndgi", "", "sab", "mwsmm"}) {
    queries.push_back(Ur(w));
  }
  return queries;
}

}  // namespace testutil

#endif  // URDUSPELL_TESTS_API_HANDLE_ANSWERS_H_
