#include "platform/status.h"

namespace dodu {

const char* StatusCodeName(StatusCode code) {
  switch (code) {
    case StatusCode::kOk: return "OK";
    case StatusCode::kNotFound: return "NotFound";
    case StatusCode::kLocked: return "Locked";
    case StatusCode::kCorrupt: return "Corrupt";
    case StatusCode::kIoError: return "IoError";
    case StatusCode::kInvalid: return "Invalid";
    case StatusCode::kCancelled: return "Cancelled";
  }
  return "?";
}

std::string Status::ToString() const {
  if (ok()) return "OK";
  std::string s = StatusCodeName(code_);
  if (!message_.empty()) s += ": " + message_;
  return s;
}

}  // namespace dodu
