#pragma once

#include <stdexcept>

namespace builder {

// Any refusal: the command prints the message on stderr and exits with 1.
struct BuilderError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace builder
