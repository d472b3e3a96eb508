// Test-only, loaded with LD_PRELOAD into Enchant's own programs (enchant-2, enchant-lsmod-2).
//
// Enchant loads providers from one folder fixed when it was built (Debian's enchant 2.3 has no
// environment variable or setting to change it, and its enchant_set_prefix_dir does nothing in a
// non-relocatable build). To test the installed provider without writing into the system's
// folder, this library wraps the two GLib calls with which Enchant lists and opens providers and
// sends every path under URDUSPELL_ENCHANT_SYSTEM_DIR to URDUSPELL_ENCHANT_TEST_DIR instead:
// Enchant then sees exactly the providers of the test folder. Everything else passes through.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Returns `path` moved from the system's provider folder to the test folder, or unchanged.
std::string Redirect(const char* path) {
  const char* from = std::getenv("URDUSPELL_ENCHANT_SYSTEM_DIR");
  const char* to = std::getenv("URDUSPELL_ENCHANT_TEST_DIR");
  if (path == nullptr || from == nullptr || to == nullptr || *from == '\0') {
    return path == nullptr ? std::string() : std::string(path);
  }
  const std::size_t n = std::strlen(from);
  if (std::strncmp(path, from, n) == 0 && (path[n] == '\0' || path[n] == '/')) {
    return std::string(to) + (path + n);
  }
  return path;
}

template <typename Fn>
Fn Next(const char* name) {
  return reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
}

}  // namespace

// The GLib signatures, with opaque pointers for GLib's types.
extern "C" __attribute__((visibility("default"))) void* g_dir_open(const char* path, unsigned flags,
                                                                   void** error) {
  using Fn = void* (*)(const char*, unsigned, void**);
  static const Fn next = Next<Fn>("g_dir_open");
  if (path == nullptr) return next(path, flags, error);
  return next(Redirect(path).c_str(), flags, error);
}

extern "C" __attribute__((visibility("default"))) void* g_module_open(const char* file, int flags) {
  using Fn = void* (*)(const char*, int);
  static const Fn next = Next<Fn>("g_module_open");
  if (file == nullptr) return next(file, flags);
  return next(Redirect(file).c_str(), flags);
}
