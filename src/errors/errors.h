// Error codes, fixed message texts and the one way every module relays an exception: stamp its
// own module and line into it, append a sentence of context, and raise the same object again.
//
//   try { reader.Open(path, FileMode::Unicode); }
//   catch (IOException& ex) { RelayWithContext(ex, kModule, __LINE__, kNotOpenedText); throw; }
#ifndef URDUSPELL_ERRORS_ERRORS_H_
#define URDUSPELL_ERRORS_ERRORS_H_

#include <string_view>

#include <urduspell/trelvaexception.h>

namespace urduspell {

// The only codes that exist.
inline constexpr int kErrPrecondition = 0x00;  // the caller did not meet a precondition
inline constexpr int kErrOpen = 0x10;          // a file cannot be opened as asked
inline constexpr int kErrRead = 0x11;          // a read failed
inline constexpr int kErrMemory = 0x20;        // memory exhausted

// Context appended by relays (each begins with a blank so the sentences stay apart).
inline constexpr std::string_view kNotOpenedText = " Config file not opened sucessfully.";
inline constexpr std::string_view kReadProblemText = " Config file reading problem occurred.";

// Stamps module and line into ex and appends context to its message. The caller rethrows with
// `throw;` so the exception keeps its type and code.
inline void RelayWithContext(TRELVAException& ex, const char* module, int line,
                             std::string_view context) {
  ex.SetFile(module);
  ex.SetLine(line);
  ex.SetMessage(ex.GetMessage() + std::string(context));
}

}  // namespace urduspell

#endif  // URDUSPELL_ERRORS_ERRORS_H_
