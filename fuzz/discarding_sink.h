// The fuzz targets' message sink: nobody reads what a run says, so every message is dropped.
#pragma once

#include "platform/messages.h"

namespace slab::fuzz {

class DiscardingSink : public MessageSink {
 public:
  void Show(std::string_view, std::string_view) override {}
};

}  // namespace slab::fuzz
