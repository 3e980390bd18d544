#pragma once
#include <QDialog>

namespace tavlin {

// The about box: the application icon, the version text and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace tavlin
