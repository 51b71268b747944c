#include "compression/LzhState.h"

#include <cstring>
#include <type_traits>

namespace drovak::lzh {

static_assert(std::is_trivially_copyable_v<LzhState>);

void ResetCodecState(LzhState& state) {
    std::memset(&state, 0, sizeof state);
}

} // namespace drovak::lzh
