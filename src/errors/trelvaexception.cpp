#include <urduspell/trelvaexception.h>

#include <cstdint>
#include <cstdio>
#include <utility>

TRELVAException::TRELVAException(std::string file, int line, int code, std::string message) {
  SetFile(std::move(file));
  SetLine(line);
  SetCode(code);
  SetMessage(std::move(message));
}

std::string TRELVAException::GetFile() const { return file_; }
int TRELVAException::GetLine() const { return line_; }
int TRELVAException::GetCode() const { return code_; }
std::string TRELVAException::GetMessage() const { return message_; }

void TRELVAException::SetFile(std::string file) { file_ = std::move(file); }
void TRELVAException::SetLine(int line) { line_ = line; }
void TRELVAException::SetCode(int code) { code_ = code; }
void TRELVAException::SetMessage(std::string message) { message_ = std::move(message); }

std::string TRELVAException::GetFormattedMessage() const {
  char code[20];
  char line[20];
  std::snprintf(code, sizeof code, "%x", static_cast<unsigned>(static_cast<std::uint32_t>(code_)));
  std::snprintf(line, sizeof line, "%d", line_);
  return "Error Code (0x" + std::string(code) + ") in " + file_ + " (" + line + "): " + message_;
}

IOException::IOException(std::string file, int line, int code, std::string message)
    : TRELVAException(std::move(file), line, code, std::move(message)) {}

MemoryAllocationException::MemoryAllocationException(std::string file, int line, int code,
                                                     std::string message)
    : TRELVAException(std::move(file), line, code, std::move(message)) {}
