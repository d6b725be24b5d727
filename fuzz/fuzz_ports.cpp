#include "fuzz_ports.h"

#include <cstdio>
#include <cstdlib>

namespace vitrolux::fuzz {

void fail(const char* what, const std::string& input) {
  std::fprintf(stderr, "property broken: %s (input of %zu bytes)\n", what, input.size());
  std::abort();
}

}  // namespace vitrolux::fuzz
