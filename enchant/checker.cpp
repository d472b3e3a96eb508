#include "checker.h"

#include <array>
#include <stdexcept>

#include "wordcodec.h"
#include "workdir.h"

namespace urduspell::enchant {
namespace {

// The current directory belongs to the whole process: two dictionaries opened at once from two
// threads must not interleave their visits to their working folders. (Other threads of the host
// still see the working folder as the current directory during an initialisation; that is the
// price of a library that finds its data through the current directory.)
std::mutex& CurrentDirectoryMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

Checker::Checker(const std::filesystem::path& dataDir) {
  std::lock_guard<std::mutex> lock(CurrentDirectoryMutex());
  const std::filesystem::path folder = cli::PrepareWorkFolder(dataDir, /*announce=*/false);
  cli::ScopedCwd cwd(folder);
  if (!handle_.Initialize()) {
    throw std::runtime_error("the library could not initialise the data set in " + folder.string());
  }
}

bool Checker::Check(std::string_view word) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Ask(word).correct;
}

std::vector<std::string> Checker::Suggest(std::string_view word) {
  std::lock_guard<std::mutex> lock(mutex_);
  return Ask(word).suggestions;
}

const Checker::Answer& Checker::Ask(std::string_view word) {
  if (haveLast_ && word == lastWord_) return lastAnswer_;
  haveLast_ = false;
  Answer answer;
  const auto utf16 = Utf8ToUtf16(word);
  const auto prepared = utf16 ? PrepareForLibrary(*utf16) : std::nullopt;
  if (prepared) {
    auto bytes = EncodeWord(*prepared);
    std::array<std::array<char, kWordBytes>, 10> buffers{};
    std::array<char*, 10> pointers{};
    for (std::size_t i = 0; i < buffers.size(); ++i) pointers[i] = buffers[i].data();
    const int result = handle_.SpellCheck(bytes.data(), pointers.data());
    answer.correct = result < 0;
    for (int i = 0; i < result && i < 10; ++i) {
      // A suggestion that is not well-formed UTF-16 cannot be shown; it is left out.
      if (auto utf8 = Utf16ToUtf8(DecodeSuggestion(buffers[i])); utf8 && !utf8->empty()) {
        answer.suggestions.push_back(std::move(*utf8));
      }
    }
  }
  lastWord_.assign(word);
  lastAnswer_ = std::move(answer);
  haveLast_ = true;
  return lastAnswer_;
}

}  // namespace urduspell::enchant
