#pragma once

#include <QFont>

namespace drovak::app {

// The window's font: face "Calibri" (or a metric-compatible face where the system maps it so;
// the toolkit's sans-serif otherwise), the largest pixel size whose character cell (ascent +
// descent) is at most cellHeight pixels, regular weight.
QFont WindowFont(int cellHeight = 16);

// A face like the window's with a character height (em size) of characterHeight pixels, bold.
QFont BoldButtonFont(int characterHeight = 18);

} // namespace drovak::app
