#pragma once
#include <QStringList>

class QPushButton;
class QWidget;

namespace tavlin {

// The width a button needs to show the widest of `captions` unclipped in its own font and
// style (a caption that changes at run time, such as the mode toggle, needs the widest).
int WidthForCaptions(const QPushButton& button, const QStringList& captions);

// Widens every push button of `window` that is narrower than its caption needs; translated
// captions are often longer than the Chinese ones the sizes were chosen for.
void WidenButtonsToCaptions(QWidget& window);

}  // namespace tavlin
