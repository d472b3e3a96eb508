// The measuring part shared by the three comparison drivers (urduspell, Hunspell, nuspell). Each
// driver supplies a System with
//
//   using Word = ...;                            the word in the system's own input form
//   void Load(const std::string& dictionary);    timed: ready to check afterwards
//   Word Prepare(const std::string& utf8);       untimed: UTF-8 to the input form
//   bool Correct(Word& word);                    timed: true when the word is accepted
//   bool Suggest(Word& word);                    timed: check, and suggest when misspelled;
//                                                true when misspelled
//   std::vector<std::string> Suggestions();      untimed: the last suggestions, UTF-8, best first
//
// and calls RunDriver<System>(argc, argv):
//
//   driver --dict D --tokens T --misspellings M [--passes N] [--latencies FILE]
//          [--answers FILE] [--load-only]
//
// T holds one correct word per line (UTF-8); M is "misspelling TAB correct word ..." per line
// ('#' starts a comment line). The driver loads the dictionary, checks every token N times over
// (throughput; the first pass also counts false alarms), then checks and suggests for every
// misspelling once, timing each word on its own, and prints "key value" lines. --latencies writes
// one line per misspelling, "cpu_us wall_us", in input order; --answers one line per misspelling,
// "word TAB - (accepted) or + (misspelled) TAB suggestions separated by TAB", so that runs can be
// compared answer for answer. --load-only stops after loading and one check (for the peak memory
// of a loaded dictionary).
//
// Times are taken twice: on the wall clock and on this thread's CPU clock. On a machine shared
// with other work the CPU clock leaves out the time the process waited for a processor.
#ifndef URDUSPELL_BENCH_COMPARE_DRIVER_H_
#define URDUSPELL_BENCH_COMPARE_DRIVER_H_

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace compare {

struct Clock {
  double wall = 0;  // seconds
  double cpu = 0;   // seconds of this thread

  static Clock Now() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {std::chrono::duration<double>(wall).count(),
            static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_nsec) * 1e-9};
  }
  Clock operator-(const Clock& other) const { return {wall - other.wall, cpu - other.cpu}; }
};

struct Options {
  std::string dictionary;
  std::string tokens;
  std::string misspellings;
  std::string latencies;
  std::string answers;
  int passes = 20;
  bool loadOnly = false;
};

inline Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::runtime_error("missing value after " + arg);
      return argv[++i];
    };
    if (arg == "--dict") {
      options.dictionary = value();
    } else if (arg == "--tokens") {
      options.tokens = value();
    } else if (arg == "--misspellings") {
      options.misspellings = value();
    } else if (arg == "--latencies") {
      options.latencies = value();
    } else if (arg == "--answers") {
      options.answers = value();
    } else if (arg == "--passes") {
      options.passes = std::max(1, std::atoi(value().c_str()));
    } else if (arg == "--load-only") {
      options.loadOnly = true;
    } else {
      throw std::runtime_error("unknown option " + arg);
    }
  }
  if (options.dictionary.empty()) throw std::runtime_error("--dict is required");
  // Loading may change the current directory (urduspell reads config.ini from there).
  for (std::string* path : {&options.dictionary, &options.tokens, &options.misspellings,
                            &options.latencies, &options.answers}) {
    if (!path->empty()) *path = std::filesystem::absolute(*path).string();
  }
  if (!options.loadOnly && (options.tokens.empty() || options.misspellings.empty())) {
    throw std::runtime_error("--tokens and --misspellings are required");
  }
  return options;
}

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

inline std::string Field(const std::string& line, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = line.find('\t', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  const std::size_t end = line.find('\t', start);
  return line.substr(start, end == std::string::npos ? end : end - start);
}

// Nearest-rank percentile of sorted values.
inline double Percentile(const std::vector<double>& sorted, double p) {
  if (sorted.empty()) return 0;
  auto rank = static_cast<std::size_t>(p / 100.0 * static_cast<double>(sorted.size()) + 0.999999);
  rank = std::clamp<std::size_t>(rank, 1, sorted.size());
  return sorted[rank - 1];
}

inline void PrintLatencies(const char* prefix, std::vector<double> micros) {
  std::sort(micros.begin(), micros.end());
  std::printf("%s_p50_us %.3f\n%s_p90_us %.3f\n%s_p99_us %.3f\n%s_max_us %.3f\n", prefix,
              Percentile(micros, 50), prefix, Percentile(micros, 90), prefix,
              Percentile(micros, 99), prefix, micros.empty() ? 0.0 : micros.back());
}

template <typename System>
void Measure(System& system, const Options& options) {
  const Clock loadStart = Clock::Now();
  system.Load(options.dictionary);
  const Clock load = Clock::Now() - loadStart;
  std::printf("load_wall_ms %.3f\nload_cpu_ms %.3f\n", load.wall * 1e3, load.cpu * 1e3);
  if (options.loadOnly) {
    auto word = system.Prepare("\xD8\xA7\xD9\x88\xD8\xB1");  // one common word
    std::printf("load_only_check %d\n", system.Correct(word) ? 1 : 0);
    return;
  }

  // Throughput over correct words.
  std::vector<typename System::Word> tokens;
  for (const std::string& line : ReadLines(options.tokens)) tokens.push_back(system.Prepare(line));
  long falseAlarms = 0;
  for (auto& token : tokens) falseAlarms += system.Correct(token) ? 0 : 1;
  long accepted = 0;
  const Clock checkStart = Clock::Now();
  for (int pass = 0; pass < options.passes; ++pass) {
    for (auto& token : tokens) accepted += system.Correct(token) ? 1 : 0;
  }
  const Clock check = Clock::Now() - checkStart;
  const double checks = static_cast<double>(tokens.size()) * options.passes;
  std::printf("tokens %zu\nfalse_alarms %ld\nchecks %.0f\naccepted %ld\n", tokens.size(),
              falseAlarms, checks, accepted);
  std::printf("check_wall_words_per_s %.0f\ncheck_cpu_words_per_s %.0f\n", checks / check.wall,
              checks / check.cpu);

  // Latency and accuracy over misspellings.
  const std::vector<std::string> lines = ReadLines(options.misspellings);
  std::vector<typename System::Word> words;
  for (const std::string& line : lines) words.push_back(system.Prepare(Field(line, 0)));
  std::vector<double> cpuMicros;
  std::vector<double> wallMicros;
  long detected = 0;
  long top[3] = {0, 0, 0};  // top-1, top-5, top-10
  std::string answers;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Clock start = Clock::Now();
    const bool misspelled = system.Suggest(words[i]);
    const Clock took = Clock::Now() - start;
    cpuMicros.push_back(took.cpu * 1e6);
    wallMicros.push_back(took.wall * 1e6);
    const std::vector<std::string> suggestions =
        misspelled ? system.Suggestions() : std::vector<std::string>();
    if (!options.answers.empty()) {
      answers += Field(lines[i], 0) + (misspelled ? "\t+" : "\t-");
      for (const std::string& s : suggestions) answers += "\t" + s;
      answers += "\n";
    }
    if (!misspelled) continue;
    ++detected;
    const std::string correct = Field(lines[i], 1);
    const auto at = std::find(suggestions.begin(), suggestions.end(), correct);
    const auto rank = static_cast<std::size_t>(at - suggestions.begin());
    if (at == suggestions.end()) continue;
    top[0] += rank < 1;
    top[1] += rank < 5;
    top[2] += rank < 10;
  }
  std::printf("misspellings %zu\ndetected %ld\ntop1 %ld\ntop5 %ld\ntop10 %ld\n", words.size(),
              detected, top[0], top[1], top[2]);
  if (!options.answers.empty()) std::ofstream(options.answers, std::ios::trunc) << answers;
  if (!options.latencies.empty()) {
    std::ofstream out(options.latencies, std::ios::trunc);
    char line[64];
    for (std::size_t i = 0; i < cpuMicros.size(); ++i) {
      std::snprintf(line, sizeof line, "%.3f %.3f\n", cpuMicros[i], wallMicros[i]);
      out << line;
    }
  }
  PrintLatencies("latency_cpu", cpuMicros);
  PrintLatencies("latency_wall", wallMicros);
}

template <typename System>
int RunDriver(int argc, char** argv) {
  try {
    const Options options = ParseOptions(argc, argv);
    System system;
    Measure(system, options);
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
}

}  // namespace compare

#endif  // URDUSPELL_BENCH_COMPARE_DRIVER_H_
