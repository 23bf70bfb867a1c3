// The message-box seam. The core reports through it and never calls a toolkit: the
// desktop program shows boxes, the command-line tools print, tests record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace slab {

enum class Answer { Yes, No, Cancel };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // An OK-only box.
  virtual void Show(std::string_view text, std::string_view title = {}) = 0;
  // An OK-only box whose text stays exactly as given, with a second paragraph that says more
  // (which file, what was found there). Sinks without a place for it print it after the text.
  virtual void ShowDetailed(std::string_view text, std::string_view detail) {
    Show(detail.empty() ? std::string(text) : std::string(text) + " " + std::string(detail));
  }
  // A Yes/No/Cancel question.
  virtual Answer Ask(std::string_view text, std::string_view title = {}) {
    (void)text;
    (void)title;
    return Answer::Cancel;
  }
  // A question with two answers: `act` (answers Yes) or Cancel. Sinks without such a box ask
  // their Yes/No/Cancel question; only Yes acts.
  virtual Answer Confirm(std::string_view text, std::string_view title, std::string_view act) {
    (void)act;
    return Ask(text, title);
  }
  // A question about changes that cannot be kept (the level cannot be saved): Discard
  // answers No (go on without them), anything else Cancel.
  virtual Answer AskDiscard(std::string_view text) {
    (void)text;
    return Answer::Cancel;
  }
  virtual void Beep() {}
};

// Writes each message as a line to standard error; answers questions with Cancel.
class StderrSink : public MessageSink {
 public:
  void Show(std::string_view text, std::string_view title = {}) override;
};

// Keeps what was shown and answers as told; for tests and for callers that decide later.
class RecordingSink : public MessageSink {
 public:
  void Show(std::string_view text, std::string_view title = {}) override {
    Shown.emplace_back(text);
    Titles.emplace_back(title);
    Details.emplace_back();
  }
  void ShowDetailed(std::string_view text, std::string_view detail) override {
    Show(text);
    Details.back() = detail;
  }
  Answer Ask(std::string_view text, std::string_view title = {}) override {
    Asked.emplace_back(text);
    Titles.emplace_back(title);
    return NextAnswer;
  }
  Answer AskDiscard(std::string_view text) override {
    Asked.emplace_back(text);
    Titles.emplace_back();
    return NextAnswer == Answer::No ? Answer::No : Answer::Cancel;
  }
  void Beep() override { ++Beeps; }
  // Shows what was shown here, in order, through another sink (for a caller that decides
  // afterwards which attempt's messages the user hears).
  void ShowAgain(MessageSink& to) const {
    for (size_t i = 0; i < Shown.size(); ++i) {
      if (Details[i].empty())
        to.Show(Shown[i]);
      else
        to.ShowDetailed(Shown[i], Details[i]);
    }
  }

  std::vector<std::string> Shown;
  std::vector<std::string> Details;  // one per shown message, empty where none was given
  std::vector<std::string> Asked;
  std::vector<std::string> Titles;
  Answer NextAnswer = Answer::Cancel;
  int Beeps = 0;
};

}  // namespace slab
