// The Enchant-2 provider "urduspell": serves the language tags ur, ur_PK and ur_IN with the
// library and the default Urdu data set.
//
// Enchant loads this module from its provider folder and calls init_enchant_provider. Each
// dictionary Enchant requests gets a Checker of its own (one library handle). Enchant itself keeps
// the session word list and the personal and exclude word lists (<tag>.dic and <tag>.exc in its
// user configuration folder) and consults them before asking the provider, so the dictionary
// leaves add_to_session, add_to_personal and add_to_exclude unset, as Enchant's own providers do.
//
// The data set is looked for, first one with a config.ini wins:
//   1. $XDG_DATA_HOME/urduspell/ur (~/.local/share/urduspell/ur): the user's own, as for the
//      command-line tool, so both check alike;
//   2. the installed one, found from where this module is (share/urduspell/ur of the same
//      prefix, wherever the tree was installed or moved to);
//   3. the installed one at the prefix configured at build time.
#include <dlfcn.h>
#include <enchant-provider.h>
#include <glib.h>
#include <urduspell/trelvaexception.h>

#include <array>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "checker.h"
#include "common.h"

namespace urduspell::enchant {
namespace fs = std::filesystem;
namespace {

constexpr char kProviderName[] = "urduspell";
constexpr char kProviderDescription[] = "urduspell Urdu spell checker";
constexpr char kDataSetName[] = "ur";
// Urdu as written in Pakistan and in India; the same data set serves both.
constexpr std::array<const char*, 3> kTags = {"ur", "ur_PK", "ur_IN"};
constexpr char32_t kZeroWidthNonJoiner = 0x200C;
constexpr char32_t kZeroWidthJoiner = 0x200D;

bool IsServedTag(const char* tag) {
  if (tag == nullptr) return false;
  for (const char* served : kTags) {
    if (std::strcmp(tag, served) == 0) return true;
  }
  return false;
}

bool HasConfig(const fs::path& dir) {
  std::error_code ec;
  return !dir.empty() && fs::is_regular_file(dir / "config.ini", ec);
}

// The folder this module was loaded from, with symbolic links resolved (a distribution may link
// the module into Enchant's folder from elsewhere).
fs::path ModuleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) == 0 || info.dli_fname == nullptr) {
    return {};
  }
  std::error_code ec;
  fs::path module = fs::canonical(info.dli_fname, ec);
  return ec ? fs::path() : module.parent_path();
}

std::optional<fs::path> FindDataSet() {
  std::vector<fs::path> candidates;
  try {
    candidates.push_back(cli::UserDataDir() / kDataSetName);
  } catch (const std::exception&) {
    // No home folder: only the installed data set can serve.
  }
  if (fs::path folder = ModuleFolder(); !folder.empty()) {
    candidates.push_back((folder / URDUSPELL_MODULE_TO_DATASET).lexically_normal());
  }
  candidates.emplace_back(URDUSPELL_INSTALL_FULL_DATASET_DIR);
  for (const auto& dir : candidates) {
    if (HasConfig(dir)) return dir;
  }
  return std::nullopt;
}

std::string Describe(const std::exception& e) { return e.what(); }
std::string Describe(const TRELVAException& e) { return e.GetFormattedMessage(); }

// Runs `body`, turning any exception into `onError(message)`: nothing may unwind into Enchant.
template <typename Body, typename OnError>
auto Guarded(Body body, OnError onError) -> decltype(body()) {
  try {
    return body();
  } catch (const TRELVAException& e) {
    return onError(Describe(e));
  } catch (const std::exception& e) {
    return onError(Describe(e));
  } catch (...) {
    return onError(std::string("unknown failure"));
  }
}

// A message Enchant accepts (it must be valid UTF-8).
std::string Utf8Message(const std::string& text) {
  return g_utf8_validate(text.c_str(), -1, nullptr) ? "urduspell: " + text
                                                    : std::string("urduspell: failure");
}

Checker* CheckerOf(EnchantDict* dict) { return static_cast<Checker*>(dict->user_data); }

// --- dictionary --------------------------------------------------------------------------------

int DictCheck(EnchantDict* me, const char* const word, size_t len) {
  return Guarded([&] { return CheckerOf(me)->Check(std::string_view(word, len)) ? 0 : 1; },
                 [&](const std::string& message) {
                   enchant_dict_set_error(me, Utf8Message(message).c_str());
                   return -1;
                 });
}

char** DictSuggest(EnchantDict* me, const char* const word, size_t len, size_t* out_n_suggs) {
  *out_n_suggs = 0;
  return Guarded(
      [&]() -> char** {
        const auto suggestions = CheckerOf(me)->Suggest(std::string_view(word, len));
        if (suggestions.empty()) return nullptr;
        // Enchant frees the list with g_strfreev.
        char** list = g_new0(char*, suggestions.size() + 1);
        for (std::size_t i = 0; i < suggestions.size(); ++i) {
          list[i] = g_strdup(suggestions[i].c_str());
        }
        *out_n_suggs = suggestions.size();
        return list;
      },
      [&](const std::string& message) -> char** {
        enchant_dict_set_error(me, Utf8Message(message).c_str());
        return nullptr;
      });
}

const char* DictExtraWordCharacters(EnchantDict*) {
  // The zero-width non-joiner and joiner shape letters inside Urdu words.
  return "\u200C\u200D";
}

// Enchant's own notion of a word character (letters, marks, digits, inner hyphens and
// apostrophes), plus the zero-width non-joiner and joiner inside a word: Urdu writes them within
// words (ZWNJ keeps a letter from joining the next one), so they must not split a word in two.
// `n`: 0 at the start of a word, 1 inside it, 2 at its end.
int DictIsWordCharacter(EnchantDict*, uint32_t uc, size_t n) {
  if (uc == kZeroWidthNonJoiner || uc == kZeroWidthJoiner) return n == 1;
  if (uc == '\'' || uc == 0x2019) return n < 2;
  switch (g_unichar_type(static_cast<gunichar>(uc))) {
    case G_UNICODE_MODIFIER_LETTER:
    case G_UNICODE_LOWERCASE_LETTER:
    case G_UNICODE_TITLECASE_LETTER:
    case G_UNICODE_UPPERCASE_LETTER:
    case G_UNICODE_OTHER_LETTER:
    case G_UNICODE_SPACING_MARK:
    case G_UNICODE_ENCLOSING_MARK:
    case G_UNICODE_NON_SPACING_MARK:
    case G_UNICODE_DECIMAL_NUMBER:
    case G_UNICODE_LETTER_NUMBER:
    case G_UNICODE_OTHER_NUMBER:
    case G_UNICODE_CONNECT_PUNCTUATION:
      return 1;
    case G_UNICODE_DASH_PUNCTUATION:
      return n == 1;  // hyphens only inside a word
    default:
      return 0;
  }
}

// --- provider ------------------------------------------------------------------------------------

EnchantDict* ProviderRequestDict(EnchantProvider* me, const char* const tag) {
  if (!IsServedTag(tag)) return nullptr;
  return Guarded(
      [&]() -> EnchantDict* {
        const auto dataDir = FindDataSet();
        if (!dataDir) {
          enchant_provider_set_error(me, "urduspell: the default Urdu data set is not installed");
          return nullptr;
        }
        auto* checker = new Checker(*dataDir);
        EnchantDict* dict = g_new0(EnchantDict, 1);
        dict->user_data = checker;
        dict->check = DictCheck;
        dict->suggest = DictSuggest;
        dict->get_extra_word_characters = DictExtraWordCharacters;
        dict->is_word_character = DictIsWordCharacter;
        return dict;
      },
      [&](const std::string& message) -> EnchantDict* {
        enchant_provider_set_error(me, Utf8Message(message).c_str());
        return nullptr;
      });
}

void ProviderDisposeDict(EnchantProvider*, EnchantDict* dict) {
  delete CheckerOf(dict);
  g_free(dict);
}

int ProviderDictionaryExists(EnchantProvider*, const char* const tag) {
  return IsServedTag(tag) && FindDataSet().has_value();
}

char** ProviderListDicts(EnchantProvider*, size_t* out_n_dicts) {
  *out_n_dicts = 0;
  if (!FindDataSet()) return nullptr;
  char** list = g_new0(char*, kTags.size() + 1);
  for (std::size_t i = 0; i < kTags.size(); ++i) list[i] = g_strdup(kTags[i]);
  *out_n_dicts = kTags.size();
  return list;
}

const char* ProviderIdentify(EnchantProvider*) { return kProviderName; }

const char* ProviderDescribe(EnchantProvider*) { return kProviderDescription; }

void ProviderDispose(EnchantProvider* me) { g_free(me); }

}  // namespace
}  // namespace urduspell::enchant

extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider();

extern "C" EnchantProvider* init_enchant_provider() {
  using namespace urduspell::enchant;
  EnchantProvider* provider = g_new0(EnchantProvider, 1);
  provider->dispose = ProviderDispose;
  provider->request_dict = ProviderRequestDict;
  provider->dispose_dict = ProviderDisposeDict;
  provider->dictionary_exists = ProviderDictionaryExists;
  provider->identify = ProviderIdentify;
  provider->describe = ProviderDescribe;
  provider->list_dicts = ProviderListDicts;
  return provider;
}
