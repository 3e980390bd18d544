// The firmware update window on the simulated device, headless: opened by the main window's
// launcher or on its own, buttons pressed and controls read by their ids.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <fstream>
#include <memory>

#include "app/CTavlinDlg.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/DeviceProtocol.h"
#include "firmware/CfirmwareUpdateDlg.h"
#include "firmware/FirmwareControlIds.h"
#ifdef TAVLIN_SIGNED_PACKAGES
#include "firmware/PackageSigner.h"
#include "firmware/PackageTrust.h"
#include "platform/KeyFolder.h"
#endif
#include "language/QtTranslation.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;
using namespace std::chrono_literals;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

CfirmwareUpdateDlg* OpenFirmwareWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<CfirmwareUpdateDlg*>(w); d != nullptr && d->isVisible()) {
            return d;
        }
    }
    return nullptr;
}

}  // namespace

class FirmwareWindowTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<ModeSwitcher> modes_;

    void Open(bool engineering) {
        OpenWindow({.engineering = engineering, .reenumeration = 20ms});
        modes_ = std::make_unique<ModeSwitcher>(*state_, window_->bridge());
    }
    void Close() {
        modes_.reset();
        CloseWindow();
    }
    QString Text(QWidget* w, int id) const {
        if (auto* label = findControl<QLabel>(w, id)) {
            return label->text();
        }
        return findControl<QLineEdit>(w, id)->text();
    }
    void Click(QWidget* w, int id) {
        QTest::mouseClick(findControl<QAbstractButton>(w, id), Qt::LeftButton);
    }
    // The package and its image in a folder of the test's, by default one named in Chinese as a
    // station's folders often are: on Windows only the wide file API finds them.
    std::string WritePackage(uint32_t lVersion, size_t imageSize,
                             const QString& folder = Utf8("固件包")) {
        const QString image = dir_.filePath(folder + "/l.bin");
        const QString package = dir_.filePath(folder + "/pkg.ini");
        const QString text = QStringLiteral(
                                 "[Tavlin LInfo]\nImage_en=1\nImage_version=%1\n"
                                 "Image_name=%2\n")
                                 .arg(lVersion)
                                 .arg(image);
        if (!QDir(dir_.path()).mkpath(folder) ||
            !WriteBytes(image, QByteArray(static_cast<int>(imageSize), 'L')) ||
            !WriteBytes(package, text.toUtf8())) {
            QTest::qFail("cannot write the package", __FILE__, __LINE__);
        }
        return package.toStdString();
    }
    static bool WriteBytes(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    // Runs `scenario` inside the window's modal loop once the launcher opened it; a scenario
    // that fails part-way still lets the modal loop end.
    void WithFirmwareWindow(const std::function<void(CfirmwareUpdateDlg*)>& scenario) {
        QTimer::singleShot(0, this, [scenario] {
            CfirmwareUpdateDlg* dialog = nullptr;
            if (QTest::qWaitFor([&] { return (dialog = OpenFirmwareWindow()) != nullptr; }, 5000)) {
                scenario(dialog);
                if (dialog->isVisible()) {
                    dialog->done(QDialog::Rejected);
                }
            }
        });
        Click(window_.get(), 1027);
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() { Close(); }

    void templateLayoutAndHiddenControls() {
        Open(false);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        state_->g_isFwUpdateMode = 1;  // opens at once, with no request to the device
        bool checked = false;
        WithFirmwareWindow([&](CfirmwareUpdateDlg* d) {
            QCOMPARE(d->windowTitle(), Utf8("更新固件"));
            QCOMPARE(d->size(), QSize(560, 400));
            QVERIFY(d->isModal());
            const QLabel* status = findControl<QLabel>(d, 1067);
            QCOMPARE(status->x(), d->width() / 2 - status->width() / 2);
            QCOMPARE(status->y(), d->height() / 6);
            QCOMPARE(status->text(), Utf8("环境准备完毕，请选择配置文件进行更新！\n"));
            for (int id : {1, 1065, 1071, 1072, 1073, 1074, 1075, 1076, 1077}) {
                QVERIFY2(!findControl(d, id)->isVisible(), qPrintable(QString::number(id)));
            }
            for (int id : {2, 1067, 1068, 1069, 1070, 1078}) {
                QVERIFY2(findControl(d, id)->isVisible(), qPrintable(QString::number(id)));
            }
            QCOMPARE(findControl<QProgressBar>(d, 1078)->maximum(), 100);
            QTest::keyClick(d, Qt::Key_Escape);
            QVERIFY(!d->isVisible());
            checked = true;
        });
        QVERIFY(checked);
        QCOMPARE(sim_->recorder().outReports().size(), size_t{1});  // only the exit's 0x55
    }

    void wholeUpdateThroughTheReenumerationAndBack() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        const std::string package = WritePackage(0x12345678, 300);
        bool done = false;
        WithFirmwareWindow([&](CfirmwareUpdateDlg* d) {
            QTRY_COMPARE(Text(d, 1067), Utf8("环境准备完毕，请选择配置文件进行更新！\n"));
            QCOMPARE(sim_->productId(), kProductIdUpdate);
            Click(d, 1070);
            QTRY_COMPARE(Text(d, 1067), Utf8("请先打开配置文件(.ini格式)!\n"));  // nothing chosen
            d->SetFileChooser(
                [&](const QString&, const QString&) { return QString::fromStdString(package); });
            Click(d, 1069);
            d->SetFileChooser([](const QString&, const QString&) { return QString(); });
            Click(d, 1069);  // a cancelled second choice keeps the first
            QCOMPARE(Text(d, 1068).toStdString(), package);
            Click(d, 1070);
            QTRY_COMPARE(Text(d, 1067), Utf8("固件更新成功，请退出!\n"));
            QTRY_COMPARE(findControl<QProgressBar>(d, 1078)->value(), 100);
            QTRY_COMPARE(Text(window_.get(), 1061),
                         Utf8("IMAGE Version: M--12345678, S--00010204\n"));
            Click(d, 2);
            QVERIFY(!d->isVisible());
            done = true;
        });
        QVERIFY(done);
        QCOMPARE(state_->g_isFwDlgOpen.load(), 0);
        QVERIFY(sim_->WaitForAttached(kProductIdWork, 2s));
        QCOMPARE(sim_->firmware().imageVersion(0), 0x12345678u);
        QTRY_COMPARE(state_->g_isFwUpdateMode.load(), 0);
        // A second opening shows the package of the first.
        state_->g_isFwUpdateMode = 1;
        WithFirmwareWindow(
            [&](CfirmwareUpdateDlg* d) { QCOMPARE(Text(d, 1068).toStdString(), package); });
    }

#ifdef TAVLIN_SIGNED_PACKAGES
    // A chosen package is checked at once: its signer shows beside it; a package that fails its
    // check is refused with the reason, and its update never starts. What goes to the device is
    // what was checked, whatever the disk holds by then.
    void aChosenPackageShowsItsSignerAndATamperedOneNeverStarts() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        // A folder of its own: the other cases' packages stay unsigned.
        const std::string package = WritePackage(0x12345678, 300, Utf8("签名"));
        std::string manifest;
        QVERIFY(WritePackageManifest(package, &manifest).ok());
        const testing::PackageSigner signer(3);
        std::ifstream list(manifest, std::ios::binary);
        const std::string listed((std::istreambuf_iterator<char>(list)),
                                 std::istreambuf_iterator<char>());
        std::ofstream(package + kSignatureSuffix, std::ios::binary)
            << signer.Sign(listed, "release 9");
        QVERIFY(QDir(dir_.path()).mkpath("keys"));
        signer.WritePublicKey(dir_.filePath("keys/line.pub").toStdString());
        qputenv(kKeyFolderVariable, dir_.filePath("keys").toUtf8());
        const QString image = dir_.filePath(Utf8("签名") + "/l.bin");
        bool done = false;
        WithFirmwareWindow([&](CfirmwareUpdateDlg* d) {
            QTRY_COMPARE(Text(d, 1067), Utf8("环境准备完毕，请选择配置文件进行更新！\n"));
            d->SetFileChooser(
                [&](const QString&, const QString&) { return QString::fromStdString(package); });
            QVERIFY(WriteBytes(image, QByteArray(300, 'X')));
            Click(d, 1069);
            QVERIFY(Text(d, 1067).startsWith(Utf8("固件包校验失败: ")));
            QVERIFY(Text(d, 1067).contains("l.bin: its SHA-256 is not"));
            QVERIFY(Text(d, fwcontrol::kPackageSigner).startsWith(Utf8("固件包校验失败")));
            sim_->recorder().Clear();
            Click(d, 1070);
            QTest::qWait(100);
            QVERIFY(Text(d, 1067).startsWith(Utf8("固件包校验失败: ")));
            QCOMPARE(sim_->recorder().outReports().size(), size_t{0});

            QVERIFY(WriteBytes(image, QByteArray(300, 'L')));
            Click(d, 1069);
            QVERIFY(Text(d, fwcontrol::kPackageSigner).startsWith(Utf8("签名密钥 ")));
            QVERIFY(Text(d, fwcontrol::kPackageSigner).endsWith(": release 9"));
            QVERIFY(WriteBytes(image, QByteArray(300, 'Y')));  // after the check
            Click(d, 1070);
            QTRY_COMPARE(Text(d, 1067), Utf8("固件更新成功，请退出!\n"));
            const auto sent = sim_->firmware().completedTransfer(0, sim::CodeTarget::Packet2);
            QCOMPARE(std::string(sent.bytes.begin(), sent.bytes.begin() + 300),
                     std::string(300, 'L'));
            Click(d, 2);
            done = true;
        });
        QVERIFY(done);
        qunsetenv(kKeyFolderVariable);
    }

    // The station's policy comes as the window opens: a package chosen earlier that it refuses
    // is marked beside the package, and the status line still tells where the window stands.
    void aPolicyGivenAtOpeningMarksTheChosenPackageQuietly() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        state_->g_FwPackagePath = WritePackage(3, 300, Utf8("未签名"));
        state_->g_isFwUpdateMode = 1;  // opens at once, with no request to the device
        CfirmwareUpdateDlg d(*state_, window_->bridge(), *modes_, true, window_.get());
        d.SetPackagePolicy(PackagePolicy{{}, true});
        d.show();
        QCOMPARE(Text(&d, 1067), Utf8("环境准备完毕，请选择配置文件进行更新！\n"));
        QVERIFY(Text(&d, fwcontrol::kPackageSigner).startsWith(Utf8("本工位只接受签名的固件包")));
        d.done(QDialog::Rejected);
    }
#endif

    // While preparing neither key leaves; after the deadline either does.
    void exitWhilePreparingAndAfterTheDeadline_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void exitWhilePreparingAndAfterTheDeadline() {
        QFETCH(int, key);
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        state_->g_isFwDlgOpen = 1;
        CfirmwareUpdateDlg d(*state_, window_->bridge(), *modes_, true, window_.get());
        d.show();
        QCOMPARE(Text(&d, 1067), Utf8("正在准备环境，请稍候...\n"));
        QTest::keyClick(&d, Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QTRY_COMPARE(Text(&d, 1067), Utf8("正在准备环境，请稍候...\n"));
        d.SetPreparationDeadline(30ms);
        QTRY_COMPARE(Text(&d, 1067), Utf8("环境配置失败，请退出重试!\n"));
        QTest::keyClick(&d, static_cast<Qt::Key>(key));
        QVERIFY(!d.isVisible());
        QCOMPARE(state_->g_isFwDlgOpen.load(), 0);
        QCOMPARE(sim_->firmware().mode(), 0x22);
    }

    void exitDuringAnUpdateStopsItAndLeaves() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        state_->g_FwPackagePath = WritePackage(5, 62 * 2000);
        state_->g_isFwUpdateMode = 1;
        sim_->faults().SetLatency(1ms);
        WithFirmwareWindow([&](CfirmwareUpdateDlg* d) {
            Click(d, 1070);
            QTRY_COMPARE(Text(d, 1067), Utf8("开始烧写配置文件,请稍候...\n"));
            Click(d, 2);
            QVERIFY(!d->isVisible());
        });
        QCOMPARE(state_->g_ImageUpdateThread.load(), nullptr);
        QCOMPARE(sim_->firmware().completedTransferCount(0, sim::CodeTarget::Packet2), 0);
        QVERIFY(sim_->WaitForAttached(kProductIdWork, 2s));
    }

    void screenshots() {
        for (const char* lang : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
            qputenv("LC_ALL", lang);
            QTranslator translator;
            QVERIFY(InstallLanguage(TAVLIN_QM_DIR, translator));
            Open(false);
            QTRY_COMPARE(state_->g_bDevExist.load(), 1);
            state_->g_isFwUpdateMode = 1;
            {
                CfirmwareUpdateDlg d(*state_, window_->bridge(), *modes_, false, window_.get());
                d.show();
                d.SetProgress(40);
                QTest::qWait(20);
                const QString name = QString(TAVLIN_SCREENSHOT_DIR "/firmware_window_%1.png")
                                         .arg(QString(lang).left(2));
                QVERIFY(d.grab().save(name));
                d.done(QDialog::Rejected);
            }
            Close();
            QCoreApplication::removeTranslator(&translator);
            SetStringTranslator({});
        }
        qunsetenv("LC_ALL");
    }
};

QTEST_MAIN(FirmwareWindowTest)
#include "FirmwareWindowTest.moc"
