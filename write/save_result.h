// What a save or a finishing step came to: done, or the reason it failed. Marked nodiscard so
// a failed save can never pass for a successful one unread.
#pragma once

#include <string>
#include <utility>

namespace slab {

class [[nodiscard]] SaveResult {
 public:
  static SaveResult Done() { return SaveResult(); }
  static SaveResult Failed(std::string reason) {
    SaveResult result;
    result.ok_ = false;
    result.reason_ = std::move(reason);
    return result;
  }

  bool Ok() const { return ok_; }
  // Empty when Ok.
  const std::string& Reason() const { return reason_; }

 private:
  SaveResult() = default;
  bool ok_ = true;
  std::string reason_;
};

}  // namespace slab
