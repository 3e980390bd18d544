#pragma once
#include <QDialog>
#include <QKeyEvent>

namespace tavlin {

// Enter is OK and Esc is Cancel in every window of the program, whichever control has the focus,
// so a window can be confirmed or left from the keyboard alone. Returns false for any other key.
inline bool HandleDialogKey(QDialog& dialog, const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            dialog.accept();
            return true;
        case Qt::Key_Escape:
            dialog.reject();
            return true;
        default:
            return false;
    }
}

}  // namespace tavlin
