// The errors that stop a level from being read, converted or saved, and the one place that
// turns them into what the user is told.
#pragma once

#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/messages.h"

namespace slab {

// Every error a level can stop with; ForUser is the message shown for the file fileName
// (its bare name), or empty when the message was shown where the error arose.
class LevelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  virtual std::string ForUser(const std::string& fileName) const {
    (void)fileName;
    return what();
  }
  // What was found, shown under the message (empty: nothing more to say).
  virtual std::string Detail() const { return {}; }
};

// A file the reader cannot accept for a reason other than its end (a bad room marker, a
// damaged level-data chunk...): the message is shown as it stands, with its detail under it.
class LevelRefused : public LevelError {
 public:
  explicit LevelRefused(const std::string& text, std::string detail = {})
      : LevelError(text), detail_(std::move(detail)) {}
  std::string Detail() const override { return detail_; }

 private:
  std::string detail_;
};

// Runs body and turns a LevelError or a failed allocation into the one message the user sees
// (fileName is the bare name; tooLargeTo says what could not be done: "open", "convert").
// Returns whether body ran to its end.
template <typename Body>
bool ShowingFailures(MessageSink& messages, const std::string& fileName,
                     std::string_view tooLargeTo, Body&& body) {
  try {
    body();
    return true;
  } catch (const LevelError& e) {
    std::string text = e.ForUser(fileName);
    std::string detail = e.Detail();
    if (!text.empty()) {
      if (detail.empty())
        messages.Show(text);
      else
        messages.ShowDetailed(text, detail);
    }
  } catch (const std::bad_alloc&) {
    messages.Show(fileName + " is too large to " + std::string(tooLargeTo) + ".");
  }
  return false;
}

}  // namespace slab
