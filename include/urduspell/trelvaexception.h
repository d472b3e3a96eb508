// The library's exception family. Every failure that is not a false result leaves the library as
// one of these, raised by value and caught by reference:
//   TRELVAException            the base; raised directly only for an unmet precondition (code 0)
//   ├── IOException            a file could not be opened as asked (0x10) or read (0x11)
//   └── MemoryAllocationException   memory ran out while loading a posting-list index (0x20)
// A handler for TRELVAException sees all three; a handler for IOException sees only IOException.
// The types are plain values: copying one gives an independent exception.
#ifndef URDUSPELL_TRELVAEXCEPTION_H_
#define URDUSPELL_TRELVAEXCEPTION_H_

#include <string>

#include <urduspell/export.h>

class URDUSPELL_EXPORT TRELVAException {
 public:
  TRELVAException(std::string file, int line, int code, std::string message);

  std::string GetFile() const;
  int GetLine() const;
  int GetCode() const;
  std::string GetMessage() const;

  void SetFile(std::string file);
  void SetLine(int line);
  void SetCode(int code);
  void SetMessage(std::string message);

  // "Error Code (0x<code in hex>) in <file> (<line>): <message>"
  std::string GetFormattedMessage() const;

 private:
  std::string file_;     // module that raised the error or relayed it last
  int line_ = 0;         // source line of that raise or relay
  int code_ = 0;         // set once by the raiser
  std::string message_;  // each relay appends a sentence of context
};

class URDUSPELL_EXPORT IOException : public TRELVAException {
 public:
  IOException(std::string file, int line, int code, std::string message);
};

class URDUSPELL_EXPORT MemoryAllocationException : public TRELVAException {
 public:
  MemoryAllocationException(std::string file, int line, int code, std::string message);
};

#endif  // URDUSPELL_TRELVAEXCEPTION_H_
