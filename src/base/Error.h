// The one exception type of the program: a fixed Shift JIS message that the
// command which called the failing code shows in the error box.
#pragma once

#include <exception>
#include <string>

namespace nuv {

class ENuvError : public std::exception {
 public:
  explicit ENuvError(std::string sjisMessage) : m_message(std::move(sjisMessage)) {}
  const char* what() const noexcept override { return m_message.c_str(); }
  // The message as Shift JIS bytes.
  const std::string& Message() const { return m_message; }

 private:
  std::string m_message;
};

}  // namespace nuv
