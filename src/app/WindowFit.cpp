#include "app/WindowFit.h"

#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>

namespace tavlin {

int WidthForCaptions(const QPushButton& button, const QStringList& captions) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.features = QStyleOptionButton::None;
    int widest = 0;
    for (const QString& caption : captions) {
        option.text = caption;
        const QSize text = button.fontMetrics().size(Qt::TextShowMnemonic, caption);
        const QSize needed =
            button.style()->sizeFromContents(QStyle::CT_PushButton, &option, text, &button);
        widest = std::max(widest, needed.width());
    }
    return widest;
}

void WidenButtonsToCaptions(QWidget& window) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        const int needed = WidthForCaptions(*button, {button->text()});
        if (button->width() < needed) {
            button->resize(needed, button->height());
        }
    }
}

}  // namespace tavlin
