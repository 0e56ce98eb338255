// Status and Result<T>: how every operation that touches a file, a lock or an
// outside program reports its outcome. The codes are the ones the screens need to
// choose a message and decide whether to retry; the message names the file (and
// the record, where there is one). Exceptions are kept for programming errors.
#ifndef DODU_PLATFORM_STATUS_H_
#define DODU_PLATFORM_STATUS_H_

#include <cassert>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace dodu {

enum class StatusCode {
  kOk = 0,
  kNotFound,   // file, folder, record or key absent
  kLocked,     // held by another station (share mode, record or file lock)
  kCorrupt,    // the bytes on disk are not a valid file of that kind
  kIoError,    // the operating system refused a read, write, rename...
  kInvalid,    // the caller's value does not fit (a number too wide for its field...)
  kCancelled,  // the operator pressed Esc / answered no
};

const char* StatusCodeName(StatusCode code);

class [[nodiscard]] Status {
 public:
  Status() = default;
  Status(StatusCode code, std::string message) : code_(code), message_(std::move(message)) {}

  static Status Ok() { return Status(); }
  static Status NotFound(std::string m) { return {StatusCode::kNotFound, std::move(m)}; }
  static Status Locked(std::string m) { return {StatusCode::kLocked, std::move(m)}; }
  static Status Corrupt(std::string m) { return {StatusCode::kCorrupt, std::move(m)}; }
  static Status IoError(std::string m) { return {StatusCode::kIoError, std::move(m)}; }
  static Status Invalid(std::string m) { return {StatusCode::kInvalid, std::move(m)}; }
  static Status Cancelled(std::string m = "") { return {StatusCode::kCancelled, std::move(m)}; }

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }
  bool IsNotFound() const { return code_ == StatusCode::kNotFound; }
  bool IsLocked() const { return code_ == StatusCode::kLocked; }
  bool IsCorrupt() const { return code_ == StatusCode::kCorrupt; }
  bool IsCancelled() const { return code_ == StatusCode::kCancelled; }

  // "IoError: IMP0920.DBF: ..." — for logs and test failures, not for the operator.
  std::string ToString() const;

 private:
  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

// A value or the Status that explains its absence. Built from either.
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}  // NOLINT: implicit on purpose
  Result(Status status) : v_(std::move(status)) {  // NOLINT
    assert(!std::get<Status>(v_).ok() && "Result built from an OK status");
  }

  bool ok() const { return std::holds_alternative<T>(v_); }
  const Status& status() const {
    static const Status kOk;
    return ok() ? kOk : std::get<Status>(v_);
  }
  T& value() & { return std::get<T>(v_); }
  const T& value() const& { return std::get<T>(v_); }
  T&& value() && { return std::get<T>(std::move(v_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T value_or(T other) const { return ok() ? value() : std::move(other); }

 private:
  std::variant<T, Status> v_;
};

}  // namespace dodu

// Early return on failure, for functions returning Status or Result<U>.
#define DODU_RETURN_IF_ERROR(expr)          \
  do {                                      \
    ::dodu::Status dodu_st_ = (expr);       \
    if (!dodu_st_.ok()) return dodu_st_;    \
  } while (0)

#define DODU_CONCAT_INNER_(a, b) a##b
#define DODU_CONCAT_(a, b) DODU_CONCAT_INNER_(a, b)
#define DODU_ASSIGN_OR_RETURN(lhs, expr) \
  DODU_ASSIGN_OR_RETURN_IMPL_(DODU_CONCAT_(dodu_res_, __LINE__), lhs, expr)
#define DODU_ASSIGN_OR_RETURN_IMPL_(tmp, lhs, expr) \
  auto tmp = (expr);                                \
  if (!tmp.ok()) return tmp.status();               \
  lhs = std::move(tmp).value()

#endif  // DODU_PLATFORM_STATUS_H_
