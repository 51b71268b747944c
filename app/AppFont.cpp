#include "app/AppFont.h"

#include <QFontMetrics>
#include <QStringList>

namespace drovak::app {

namespace {

QFont WindowFace() {
    QFont font;
    font.setFamilies({"Calibri", "Carlito"});
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    font.setFixedPitch(false);
    return font;
}

} // namespace

QFont WindowFont(int cellHeight) {
    QFont font = WindowFace();
    for (int pixels = cellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= cellHeight) break;
    }
    return font;
}

QFont BoldButtonFont(int characterHeight) {
    QFont font = WindowFace();
    font.setPixelSize(characterHeight);
    font.setBold(true);
    return font;
}

} // namespace drovak::app
