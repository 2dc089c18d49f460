// The library's exception family. Catch EKYNError for every library error, or
// one module's class for its errors. Errors raised by a component carry the
// message form produced by ComponentMessage.
#pragma once

#include "kyn/platform/classes.h"
#include "kyn/platform/exceptions.h"

namespace kyn {

class EKYNError : public Exception { using Exception::Exception; };
class EKYNColArrayError : public EKYNError { using EKYNError::EKYNError; };
class EKYNStringlError : public EKYNError { using EKYNError::EKYNError; };
class EKYNDStructError : public EKYNError { using EKYNError::EKYNError; };
class EKYNCpuIdError : public EKYNError { using EKYNError::EKYNError; };
class EKYNFileSysError : public EKYNError { using EKYNError::EKYNError; };

// Component "<Name>": <Text>
inline String ComponentMessage(const TComponent& C, const String& Text) {
  return u"Component \"" + C.Name() + u"\": " + Text;
}

}  // namespace kyn
