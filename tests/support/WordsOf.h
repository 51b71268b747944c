#pragma once

#include "words/RomProblemWords.h"

#include <string>

namespace drovak::test {

// The words the window and the terminal show for the E that action throws (its message, or
// the words for the ROM problem it carries); "" when it throws nothing.
template <class E, class F> std::string WordsOf(F&& action) {
    try {
        action();
    } catch (const E& e) {
        return ErrorText(e);
    }
    return "";
}

} // namespace drovak::test
