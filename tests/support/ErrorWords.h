#pragma once

// The words a user reads for what an action throws (the window's box, the terminal's line).

#include "words/RomProblemWords.h"

#include <string>

namespace drovak::test {

// The words for the E that `action` throws; "" when it throws nothing.
template <class E, class F> std::string WordsOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return ErrorText(e);
    }
    return "";
}

} // namespace drovak::test
