#include "platform/messages.h"

#include <iostream>

namespace slab {

void StderrSink::Show(std::string_view text, std::string_view title) {
  if (!title.empty()) std::cerr << title << ": ";
  std::cerr << text << '\n';
}

}  // namespace slab
