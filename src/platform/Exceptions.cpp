// The class library's stock error messages.
#include "platform/Exceptions.h"

namespace kv {

void RaiseListIndexError(long long AIndex) {
  throw EListError("List index out of bounds (" + std::to_string(AIndex) + ")");
}

}  // namespace kv
