// The outcome of a step that may fail inside the PE layer and the codecs:
// empty when it went well, else an error code and a message that gathers
// context as it travels up ("dialog 101, control 3: title runs past the end").
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace ulk {

class [[nodiscard]] Status {
 public:
  Status() = default;
  static Status Fail(int code, std::string message) { return Status(code, std::move(message)); }

  bool ok() const { return code_ == 0; }
  explicit operator bool() const { return ok(); }
  int code() const { return code_; }
  const std::string& message() const { return message_; }

  // Prefixes the message with "context: ".
  Status& Context(std::string_view context) {
    if (!ok()) message_ = std::string(context) + ": " + message_;
    return *this;
  }

 private:
  Status(int code, std::string message) : code_(code), message_(std::move(message)) {}
  int code_ = 0;
  std::string message_;
};

}  // namespace ulk
