#include "app/AboutDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppIcon.h"
#include "base/StringTable.h"
#include "ui/ControlLookup.h"
#include "ui/UiTexts.h"

namespace tavlin {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromStdString(Tr(ui::kAboutCaption)));
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon().pixmap(32, 32));
    auto* text = new QLabel(QString::fromStdString(Tr(ui::kAboutText)), this);
    auto* ok = new QPushButton(QString::fromStdString(Tr(ui::kOk)), this);
    SetControlId(ok, 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    row->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
}

}  // namespace tavlin
