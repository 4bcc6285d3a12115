// The one small hierarchy of errors the program raises.
//
// Messages are GBK bytes and are the texts the user sees: the general error
// display shows what() as it stands (with its full-stop rule), and the record
// reader's error path logs it. A handler catches only to clean up.
#pragma once

#include <stdexcept>
#include <string>

// Base of every error Lumarin raises itself. what() is GBK.
class LumarinError : public std::runtime_error {
 public:
  explicit LumarinError(const std::string& gbkMessage) : std::runtime_error(gbkMessage) {}
};

// A text that should be a number or a code is not one (a base address that
// is not decimal, a precondition of a conversion rule).
class EConvertError : public LumarinError {
 public:
  using LumarinError::LumarinError;
};

// A file could not be opened, created, read or written.
class EInOutError : public LumarinError {
 public:
  using LumarinError::LumarinError;
};

// The local database refused an operation.
class EDatabaseError : public LumarinError {
 public:
  using LumarinError::LumarinError;
};

// Builds the message for a failed file operation: the action ("无法创建文件"),
// the path (converted to GBK) and the system's reason in Chinese where known.
std::string FileErrorMessage(const std::string& gbkAction, const std::string& path, int err);

// The text the general error display shows for an error message: a full
// stop is appended when the message's last character sorts after ".".
std::string ErrorDisplayText(const std::string& gbkMessage);
