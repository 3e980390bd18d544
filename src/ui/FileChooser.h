#pragma once
#include <QDir>
#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "base/StringTable.h"

namespace tavlin::ui {

// Picks a file: (start directory, Qt filter) -> the path, empty when cancelled. Tests put one in
// the system's open-file dialog's place.
using FileChooser = std::function<QString(const QString& dir, const QString& filter)>;

// "ini Files(*.bin)|*.bin|all Files(*.*)|*.*||" -> "ini Files(*.bin);;all Files(*.*)": each pair
// is a description, which already carries its pattern, and the pattern.
inline QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i];
    }
    return filters.join(";;");
}

// The windows' one way to ask for a file to open: `filter` is a text of UiTexts.h (translated
// here), `dir` the folder the dialog starts in, `chooser` (when set) stands in for the dialog.
// The working directory is the same afterwards: image and burst files, and the file names in a
// package, are relative to it.
inline QString ChooseFileToOpen(QWidget* parent, const QString& dir, const char* filter,
                                QFileDialog::Options options = {},
                                const FileChooser& chooser = {}) {
    const QString cwd = QDir::currentPath();
    const QString qtFilter = QtFileFilter(Tr(filter));
    const QString chosen =
        chooser ? chooser(dir, qtFilter)
                : QFileDialog::getOpenFileName(parent, QString(), dir, qtFilter, nullptr, options);
    QDir::setCurrent(cwd);
    return chosen;
}

}  // namespace tavlin::ui
