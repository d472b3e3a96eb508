#include "check.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <exception>
#include <iostream>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>
#include <unordered_map>

#include "common.h"
#include "text.h"

namespace urduspell::cli {
namespace {

using Json = nlohmann::ordered_json;  // keeps the fields in the documented order

// One more engine (and thread) for every this many distinct words: a small input is not worth
// the time of loading several engines.
constexpr std::size_t kWordsPerEngine = 2000;
// Words handed to a thread at a time.
constexpr std::size_t kChunk = 64;
// Inputs from this size on show a progress bar (when stderr is a terminal).
constexpr std::size_t kLargeInput = 1 << 20;

struct Input {
  std::string name;
  std::u16string text;
};

struct Occurrence {
  std::uint32_t input;
  std::uint32_t line;    // 1-based
  std::uint32_t column;  // 1-based, in characters
  std::uint32_t word;    // index into the distinct words
};

// Reads a whole file, or standard input for "-". Returns false with a message on failure.
bool ReadAll(const std::string& name, std::string& bytes, std::string& error) {
  const bool standardInput = name == "-";
  const int fd = standardInput ? STDIN_FILENO : open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return false;
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      if (!standardInput) close(fd);
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (!standardInput) close(fd);
  return true;
}

// Distinct words in the order first seen.
class WordTable {
 public:
  std::uint32_t Intern(std::u16string_view word) {
    auto [it, added] =
        ids_.try_emplace(std::u16string(word), static_cast<std::uint32_t>(words_.size()));
    if (added) words_.push_back(it->first);
    return it->second;
  }
  const std::vector<std::u16string>& words() const { return words_; }

 private:
  std::unordered_map<std::u16string, std::uint32_t> ids_;
  std::vector<std::u16string> words_;
};

// Finds the checkable words of one input, line by line (a line ends at LF; a CR before it is
// not part of the line, so Windows line ends count like Unix ones).
void CollectWords(const Input& input, std::uint32_t inputIndex, WordSplitter& splitter,
                  WordTable& table, std::vector<Occurrence>& occurrences) {
  const std::u16string_view text = input.text;
  std::uint32_t lineNumber = 0;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find(u'\n', start);
    const std::size_t next = end == std::u16string_view::npos ? text.size() : end + 1;
    if (end == std::u16string_view::npos) end = text.size();
    if (end > start && text[end - 1] == u'\r') --end;
    ++lineNumber;
    const std::u16string_view line = text.substr(start, end - start);
    std::size_t counted = 0;  // code units already turned into a character count
    std::size_t characters = 0;
    for (const WordSpan& span : splitter.Split(line)) {
      const std::u16string_view word = line.substr(span.begin, span.end - span.begin);
      if (!IsCheckable(word)) continue;
      characters += CodePoints(line.substr(counted, span.begin - counted));
      counted = span.begin;
      occurrences.push_back(
          {inputIndex, lineNumber, static_cast<std::uint32_t>(characters + 1), table.Intern(word)});
    }
    start = next;
  }
}

class ProgressBar {
 public:
  ProgressBar(bool show, std::size_t total) : show_(show), total_(total) {}
  ~ProgressBar() {
    if (shown_) std::cerr << "\r\033[K" << std::flush;
  }
  void Update(std::size_t done) {
    if (!show_ || total_ == 0) return;
    constexpr int kWidth = 30;
    const auto filled = static_cast<int>(kWidth * done / total_);
    std::cerr << "\rurduspell: checking [" << std::string(filled, '#')
              << std::string(kWidth - filled, '.') << "] " << (100 * done / total_) << "% (" << done
              << "/" << total_ << " words)" << std::flush;
    shown_ = true;
  }

 private:
  bool show_;
  std::size_t total_;
  bool shown_ = false;
};

// Asks about every word; accepted words are not sent to the library.
std::vector<Verdict> CheckAll(const std::vector<std::u16string>& words,
                              const CheckSettings& settings, bool showProgress) {
  std::vector<Verdict> verdicts(words.size());
  std::vector<std::size_t> pending;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (settings.accepted == nullptr || !settings.accepted->Contains(words[i]))
      pending.push_back(i);
  }
  if (pending.empty()) return verdicts;

  const std::size_t wanted = (pending.size() + kWordsPerEngine - 1) / kWordsPerEngine;
  const std::size_t workers = std::clamp<std::size_t>(wanted, 1, std::max(1u, settings.jobs));
  std::vector<std::unique_ptr<Engine>> engines;
  for (std::size_t i = 0; i < workers; ++i) engines.push_back(settings.makeEngine());

  std::atomic<std::size_t> nextChunk{0};
  std::atomic<std::size_t> done{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex failureMutex;
  auto work = [&](Engine& engine) {
    try {
      for (;;) {
        const std::size_t first = nextChunk.fetch_add(kChunk);
        if (first >= pending.size() || failed) return;
        const std::size_t last = std::min(first + kChunk, pending.size());
        for (std::size_t k = first; k < last; ++k) {
          verdicts[pending[k]] = engine.Check(words[pending[k]]);
        }
        done += last - first;
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureMutex);
      if (!failure) failure = std::current_exception();
      failed = true;
    }
  };

  ProgressBar bar(showProgress, pending.size());
  {
    std::vector<std::jthread> threads;
    for (auto& engine : engines) threads.emplace_back(work, std::ref(*engine));
    while (showProgress && done < pending.size() && !failed) {
      bar.Update(done);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  }
  if (failure) std::rethrow_exception(failure);
  bar.Update(done);
  return verdicts;
}

std::string JoinSuggestions(const std::vector<std::u16string>& suggestions) {
  std::string text;
  for (const auto& s : suggestions) text += (text.empty() ? "" : ", ") + ToUtf8(s);
  return text;
}

Json SuggestionArray(const std::vector<std::u16string>& suggestions) {
  Json array = Json::array();
  for (const auto& s : suggestions) array.push_back(ToUtf8(s));
  return array;
}

std::string Dump(const Json& json) {
  // File names need not be UTF-8; replace what is not rather than fail.
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void Print(const Input& input, const Occurrence& at, const std::u16string& word,
           const Verdict& verdict, Report report) {
  switch (report) {
    case Report::kText: {
      std::string suggestions = JoinSuggestions(verdict.suggestions);
      std::cout << input.name << ':' << at.line << ':' << at.column << ": " << ToUtf8(word) << ':'
                << (suggestions.empty() ? "" : " ") << suggestions << '\n';
      break;
    }
    case Report::kJson:
      std::cout << Dump({{"file", input.name},
                         {"line", at.line},
                         {"column", at.column},
                         {"word", ToUtf8(word)},
                         {"suggestions", SuggestionArray(verdict.suggestions)}})
                << '\n';
      break;
    case Report::kList:
      std::cout << ToUtf8(word) << '\n';
      break;
  }
}

}  // namespace

int RunCheck(const std::vector<std::string>& files, Report report, const CheckSettings& settings) {
  std::vector<std::string> names = files;
  if (names.empty()) names.push_back("-");

  bool inputError = false;
  std::size_t totalBytes = 0;
  std::vector<Input> inputs;
  for (const auto& name : names) {
    std::string bytes;
    std::string error;
    const std::string shown = name == "-" ? "<stdin>" : name;
    if (!ReadAll(name, bytes, error)) {
      std::cerr << "urduspell: " << shown << ": " << error << '\n';
      inputError = true;
      continue;
    }
    totalBytes += bytes.size();
    DecodedText decoded = DecodeText(bytes);
    if (!decoded.error.empty()) {
      std::cerr << "urduspell: " << shown << ": " << decoded.error << '\n';
      inputError = true;
      continue;
    }
    inputs.push_back({shown, std::move(decoded.text)});
  }

  WordSplitter splitter;
  WordTable table;
  std::vector<Occurrence> occurrences;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    CollectWords(inputs[i], static_cast<std::uint32_t>(i), splitter, table, occurrences);
  }
  const std::vector<Verdict> verdicts =
      CheckAll(table.words(), settings, settings.progress && totalBytes >= kLargeInput);

  bool misspelled = false;
  for (const Occurrence& at : occurrences) {
    const Verdict& verdict = verdicts[at.word];
    if (verdict.ok) continue;
    misspelled = true;
    Print(inputs[at.input], at, table.words()[at.word], verdict, report);
  }
  std::cout.flush();
  if (inputError) return 2;
  return misspelled && report != Report::kList ? 1 : 0;
}

int RunSuggest(const std::vector<std::string>& words, bool json, const CheckSettings& settings) {
  std::unique_ptr<Engine> engine;
  bool misspelled = false;
  for (const auto& text : words) {
    const std::u16string word = FromUtf8Lossy(text);
    std::string outcome;
    Verdict verdict;
    const bool checked = IsCheckable(word);
    if (!checked) {
      outcome = HasUrduLetter(word) ? "not checked (longer than 20 characters)"
                                    : "not checked (no Urdu letter)";
    } else if (settings.accepted == nullptr || !settings.accepted->Contains(word)) {
      if (!engine) engine = settings.makeEngine();
      verdict = engine->Check(word);
    }
    if (checked) {
      outcome = verdict.ok                    ? "ok"
                : verdict.suggestions.empty() ? "no suggestions"
                                              : JoinSuggestions(verdict.suggestions);
    }
    misspelled = misspelled || !verdict.ok;
    if (json) {
      std::cout << Dump({{"word", text},
                         {"checked", checked},
                         {"ok", verdict.ok},
                         {"suggestions", SuggestionArray(verdict.suggestions)}})
                << '\n';
    } else {
      std::cout << text << ": " << outcome << '\n';
    }
  }
  std::cout.flush();
  return misspelled ? 1 : 0;
}

}  // namespace urduspell::cli
