// The platform's exception classes. `Exception` is the base of every error
// the library raises; the library's own family (EKYNError) derives from it,
// the platform errors below stand beside that family.
#pragma once

#include <stdexcept>
#include <string>

#include "kyn/platform/string.h"

namespace kyn {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const String& message)
      : std::runtime_error(StringToUtf8(message)), FMessage(message) {}
  explicit Exception(const std::string& utf8)
      : std::runtime_error(utf8), FMessage(Utf8ToString(utf8)) {}
  explicit Exception(const char* utf8) : Exception(std::string(utf8)) {}
  const String& Message() const noexcept { return FMessage; }

 private:
  String FMessage;
};

// Assign/AssignTo between classes that cannot copy each other.
class EConvertError : public Exception { using Exception::Exception; };
// Input and output failures of files (open, read, write, format of a token).
class EInOutError : public Exception { using Exception::Exception; };
// Stream failures.
class EStreamError : public Exception { using Exception::Exception; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
// A variant that cannot be converted to the kind asked for.
class EVariantError : public Exception { using Exception::Exception; };
// Index out of range in the platform's containers.
class EListError : public Exception { using Exception::Exception; };

}  // namespace kyn
