#pragma once
#include <QDialog>
#include <QKeyEvent>

namespace tavlin {

// Enter (either key) accepts the dialog and Esc rejects it, with or without modifiers, and true is
// returned; any other key gives false, for the caller to pass on. Called from a dialog's
// keyPressEvent, it sees only the keys the control with the focus did not take. Enter accepts
// even where no button is the default, which QDialog's own handling would not do.
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
