// A package chosen in the firmware window through its file dialog, from a folder named in
// Chinese and from one named in Cyrillic, updates the simulated device. The Windows build runs
// it under Wine in a Chinese and in a Russian locale too, whose ANSI code pages cannot hold
// every such name: only the wide file API finds the files there.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace std::chrono_literals;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

template <typename Window>
Window* Shown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(w); window != nullptr && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

QString Text(QWidget* w, int id) {
    if (auto* label = findControl<QLabel>(w, id)) {
        return label->text();
    }
    return findControl<QLineEdit>(w, id)->text();
}

void Click(QWidget* w, int id) {
    QTest::mouseClick(findControl<QAbstractButton>(w, id), Qt::LeftButton);
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class FirmwarePackageFolderTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    // The package and its image, both named in the folder's script; the package names the
    // image by its full path, in UTF-8.
    QString WritePackage(const QString& folder, const QString& package, const QString& image) {
        const QString imagePath = dir_.filePath(folder + "/" + image);
        const QString packagePath = dir_.filePath(folder + "/" + package);
        const QString text =
            QStringLiteral("[Tavlin LInfo]\nImage_en=1\nImage_version=305419896\nImage_name=%1\n")
                .arg(imagePath);
        if (!QDir(dir_.path()).mkpath(folder) || !WriteBytes(imagePath, QByteArray(300, 'L')) ||
            !WriteBytes(packagePath, text.toUtf8())) {
            return QString();
        }
        return packagePath;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { CloseWindow(); }

    void updatesFromTheChosenPackage_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("package");
        QTest::addColumn<QString>("image");
        QTest::newRow("Chinese") << Utf8("固件包") << Utf8("配置.ini") << Utf8("镜像.bin");
        QTest::newRow("Cyrillic") << Utf8("прошивка") << Utf8("пакет.ini") << Utf8("образ.bin");
    }
    void updatesFromTheChosenPackage() {
        QFETCH(QString, folder);
        QFETCH(QString, package);
        QFETCH(QString, image);
        const QString packagePath = WritePackage(folder, package, image);
        QVERIFY(!packagePath.isEmpty());
        OpenWindow({.engineering = true, .reenumeration = 20ms});
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);

        bool updated = false;
        QTimer::singleShot(0, this, [&] {
            CfirmwareUpdateDlg* d = nullptr;
            if (!QTest::qWaitFor([&] { return (d = Shown<CfirmwareUpdateDlg>()) != nullptr; },
                                 5000)) {
                return;
            }
            [&] {
                QTRY_COMPARE(Text(d, 1067), Utf8("环境准备完毕，请选择配置文件进行更新！\n"));
                // The operator picks the package in the file dialog (Qt's own on this platform).
                bool picked = false;
                QTimer::singleShot(0, this, [&] {
                    QFileDialog* dialog = nullptr;
                    if (QTest::qWaitFor([&] { return (dialog = Shown<QFileDialog>()) != nullptr; },
                                        5000)) {
                        dialog->selectFile(packagePath);
                        static_cast<QDialog*>(dialog)->accept();  // as its Open button does
                        picked = true;
                    }
                });
                Click(d, fwcontrol::kChoosePackage);
                QVERIFY(picked);
                QCOMPARE(QDir::fromNativeSeparators(Text(d, fwcontrol::kPackagePath)), packagePath);
                Click(d, fwcontrol::kOneKeyUpdate);
                QTRY_COMPARE(Text(d, 1067), Utf8("固件更新成功，请退出!\n"));
                QTRY_COMPARE(Text(window_.get(), 1061),
                             Utf8("IMAGE Version: M--12345678, S--00010204\n"));
                updated = true;
            }();
            if (d->isVisible()) {
                Click(d, 2);
            }
        });
        Click(window_.get(), 1027);
        QVERIFY(updated);
        QCOMPARE(sim_->firmware().imageVersion(0), 0x12345678u);
    }
};

QTEST_MAIN(FirmwarePackageFolderTest)
#include "FirmwarePackageFolderTest.moc"
