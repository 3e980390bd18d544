#pragma once
#include <map>

namespace tavlin {

struct ControlRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

// Where the leveling window's visible controls go on a screen of W x H pixels. From 1152 pixels
// wide the status texts stand to the right of the pictures, below them on narrower screens.
std::map<int, ControlRect> LevelingLayout(int W, int H);

}  // namespace tavlin
