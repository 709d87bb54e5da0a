#include "resolve/resolver_base.h"

namespace quorvane {

Text DefaultResolverBase() {
  return QUORVANE_RESOLVER_BASE;
}

}  // namespace quorvane
