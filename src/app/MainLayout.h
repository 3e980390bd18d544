#pragma once
#include <map>

namespace tavlin {

struct Size {
    int w = 0;
    int h = 0;
};
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Where the visible controls of the main window go for a client area of W x H pixels. Each
// control keeps its own size; divisions truncate. The mode toggle (1065) and its label (1066)
// sit at the top right corner so an operator can reach them. No control covers another: the
// version line moves below a status line that reaches past a third of the height, and the
// engineering view's client buttons (1024, 1025) take a third row under the left and right
// columns. The history button (1110) takes the top left corner, a record's warning (1111) the
// space under the version line.
std::map<int, Point> MainWindowLayout(int clientWidth, int clientHeight,
                                      const std::map<int, Size>& controlSizes);

}  // namespace tavlin
