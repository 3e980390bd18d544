#pragma once
#include <QFont>

namespace tavlin {

// The text line of the calibration windows: "宋体" 20 pixels high; where that face is not
// installed, one that has the glyphs.
inline QFont CalibrationTextFont() {
    QFont font;
    font.setFamilies(
        {QString::fromUtf8("宋体"), "SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    font.setPixelSize(20);
    return font;
}

}  // namespace tavlin
