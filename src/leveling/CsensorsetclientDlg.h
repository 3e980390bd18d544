#pragma once
#include <QDialog>
#include <QFont>

namespace tavlin {

// The client leveling window: a bare full-screen window without caption that talks to no
// device. Enter and Esc close it; it deletes itself once closed.
class CsensorsetclientDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CsensorsetclientDlg(QWidget* parent = nullptr);

  public slots:
    void accept() override;
    void reject() override;

  protected:
    // Its buttons are hidden, and Qt presses only a visible default button on Enter.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QFont font_;
};

}  // namespace tavlin
