// Messages shown while one file is read or written. Some of the fixed message texts do not say
// which file they are about ("Unknown TR version!", "No TR4 Level!", "BAD Room!"); they keep
// their text, and the file goes in the detail under it.
#pragma once

#include <string>
#include <string_view>

#include "platform/messages.h"

namespace slab {

class FileMessages : public MessageSink {
 public:
  // path: the file as the user gave it; messages that already hold its bare name pass as they
  // are.
  FileMessages(MessageSink& messages, const std::string& path);

  void Show(std::string_view text, std::string_view title = {}) override;
  void ShowDetailed(std::string_view text, std::string_view detail) override;
  Answer Ask(std::string_view text, std::string_view title = {}) override {
    return messages_.Ask(text, title);
  }
  Answer AskDiscard(std::string_view text) override { return messages_.AskDiscard(text); }
  void Beep() override { messages_.Beep(); }

 private:
  bool NamesFile(std::string_view text) const;

  MessageSink& messages_;
  std::string name_;      // the bare name
  std::string fileLine_;  // "File: " and the path
};

}  // namespace slab
