// The real main window on the simulated device, headless: buttons are pressed and controls read
// by their ids.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <csignal>
#include <fstream>
#include <memory>
#include <utility>

#include "app/CTavlinDlg.h"
#include "app/QuitSignals.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/Requests.h"
#include "language/QtTranslation.h"
#include "sim/FpgaScrambling.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

QString Utf8(const char* s) {
    return QString::fromUtf8(s);
}

std::string Slurp(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int CountReports(sim::SimTransport& sim, uint8_t command) {
    int n = 0;
    for (const auto& r : sim.recorder().outReports()) {
        if (r[1] == command) {
            ++n;
        }
    }
    return n;
}

}  // namespace

class MainWindowTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;

    QString LogPath() const { return dir_.filePath("Tavlin_log.txt"); }
    std::string Log() const { return Slurp(LogPath()); }

    void Open(bool attached = true) { OpenWindow(attached, true); }
    void Close() { CloseWindow(); }
    QString Status() const { return findControl<QLabel>(window_.get(), 1060)->text(); }
    QString Version() const { return findControl<QLabel>(window_.get(), 1061)->text(); }
    QString Pane() const { return findControl<QPlainTextEdit>(window_.get(), 1005)->toPlainText(); }
    void Click(int id) {
        QTest::mouseClick(findControl<QAbstractButton>(window_.get(), id), Qt::LeftButton);
    }
    void Type(int id, const QString& text) {
        auto* edit = findControl<QLineEdit>(window_.get(), id);
        edit->clear();
        QTest::keyClicks(edit, text);
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(LogPath().toStdString());
    }
    void cleanup() { Close(); }

    void detectionTexts() {
        Open(true);
        QCOMPARE(Status(), Utf8("正在检测设备，请稍候...\n"));
        QTRY_COMPARE(Status(), Utf8("设备检测完成。\n"));
        QCOMPARE(findControl<QPushButton>(window_.get(), 1065)->text(), Utf8("标定模式"));
        QVERIFY(Log().find("Tavlin log start!\n") != std::string::npos);
        QTRY_VERIFY(Log().find("Open hid device success!\n") != std::string::npos);

        sim_->Detach();
        QTRY_COMPARE(Status(), Utf8("未检测到相应设备，请确认连接情况。\n"));
        QCOMPARE(Version(), QString());
        QCOMPARE(state_->g_bDevExist.load(), 0);
        sim_->Attach(kProductIdUpdate);
        QTRY_COMPARE(Status(), Utf8("设备未准备好，请先更新固件.\n"));
        QCOMPARE(state_->g_isFwUpdateMode.load(), 1);
    }

    void startWithoutDevice() {
        Open(false);
        QTRY_COMPARE(Status(), Utf8("未检测到相应设备，请确认连接情况。\n"));
        QTRY_VERIFY(Log().find("Open hid device failed!\n") != std::string::npos);
        Click(1017);
        QCOMPARE(Status(), Utf8("未检测到相应设备，请确认连接情况。\n"));
    }

    void toggleBothWaysVersionsOnceAndRefused() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        sim_->firmware().setImageVersion(0, 0x12);
        Click(1065);
        QTRY_COMPARE(Status(), Utf8("当前模式为标定模式！\n"));
        QCOMPARE(findControl<QPushButton>(window_.get(), 1065)->text(), Utf8("工作模式"));
        QTRY_VERIFY(Version().startsWith("IMAGE Version: M--00000012, S--"));
        QCOMPARE(sim_->firmware().mode(), 0xFF);
        Click(1065);
        QTRY_COMPARE(Status(), Utf8("当前模式为工作模式！\n"));
        QCOMPARE(sim_->firmware().mode(), 0x22);
        Click(1065);
        QTRY_COMPARE(Status(), Utf8("当前模式为标定模式！\n"));
        QCOMPARE(CountReports(*sim_, 0x2D), 1);  // the versions are read once per connection

        sim_->faults().Refuse(0x0E);
        Click(1065);
        QTRY_COMPARE(Status(), Utf8("模式转换失败，请重新尝试！\n"));
        QCOMPARE(findControl<QPushButton>(window_.get(), 1065)->text(), Utf8("工作模式"));
        QTRY_VERIFY(Pane().contains("Switch work model failed, please try again!"));
    }

    void stepDebugReadAndWrite() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        Type(1011, "0x10001234");
        Type(1014, "0x5a");
        Click(1016);
        QTRY_VERIFY(Pane().contains("Slave: FPGAPortWrite Addr: 0x1234  value: 0x5a"));
        Type(1014, "");
        Click(1017);
        QTRY_COMPARE(findControl<QLineEdit>(window_.get(), 1014)->text(), QString("0x5a"));
        QVERIFY(Pane().contains("Slave: FPGASingleRead Addr: 0x1234  value: 0x5a"));
        Type(1011, "");
        Click(1016);
        QTRY_VERIFY(Pane().contains("The register address can't be NULL!"));
    }

    void scriptWithBurstsAndDelay() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        const QString burst = "gui_burst.bin";
        const QString script = dir_.filePath("run.ini");
        std::ofstream(script.toStdString())
            << "; burst test\n1 pwd 20 1 7E\n1 brd 20 3 " << burst.toStdString()
            << "\n1 # 100\n1 brd 20 2 " << burst.toStdString() << "\n1 srd 20\n";
        Type(1007, script);
        QElapsedTimer timer;
        timer.start();
        Click(1009);
        QTRY_VERIFY(Pane().contains("Success!"));
        QVERIFY(timer.elapsed() >= 100);
        QVERIFY(Pane().contains("delay 100 ms"));
        QVERIFY(Pane().contains("Master: FPGASingleRead Addr: 0x0020  value: 0x7e"));
        const std::string bytes = Slurp(burst);
        QCOMPARE(bytes.size(), size_t(5));  // the second burst appended to the first
        QFile::remove(burst);
    }

    // The window keeps the script's reading (the typo writes nothing, "0xZZ" writes 0x00) but
    // names each such line in the pane, in the user's language, and in the log.
    void scriptLinesNotReadAsWrittenAreNamed() {
        qputenv("LC_ALL", "en_US.UTF-8");
        QTranslator translator;
        QVERIFY(InstallLanguage(TAVLIN_QM_DIR, translator));
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        const QString script = dir_.filePath("typo.ini");
        std::ofstream(script.toStdString()) << "1 pwr 20 1 7E\n1 pwd 20 1 0xZZ\n";
        Type(1007, script);
        Click(1009);
        QTRY_VERIFY(Pane().contains("Success!"));
        QVERIFY2(Pane().contains("Script line 1: unknown command 'pwr'\n"
                                 "Script line 2: operand '0xZZ' is not a number\n"),
                 qPrintable(Pane()));
        QCOMPARE(sim_->firmware().fpgaRegister(0, 0x20), uint8_t(0));
        QVERIFY(Log().find("Script line 2: operand '0xZZ' is not a number\n") != std::string::npos);
        Close();
        QCoreApplication::removeTranslator(&translator);
        SetStringTranslator({});
        qunsetenv("LC_ALL");
    }

    void fpgaDownloadByteForByte() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        std::vector<uint8_t> code(5000);
        for (size_t i = 0; i < code.size(); ++i) {
            code[i] = static_cast<uint8_t>(i * 7 + 3);
        }
        const QString path = dir_.filePath("code.bin");
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(code.data()), code.size());
        Type(1003, path);
        Click(1004);
        QTRY_VERIFY(Pane().contains("Write FPGA Code 4KB Success!"));
        const auto transfer = sim_->firmware().completedTransfer(0, sim::CodeTarget::Packet);
        auto received = sim::UnscrambleFpgaCode(transfer.bytes);
        QVERIFY(received.size() >= code.size());
        received.resize(code.size());
        QVERIFY(received == code);
        QTRY_VERIFY(!findControl<QWidget>(window_.get(), 1004)->isVisible());
    }

    void exitWhileAScriptRuns() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        const QString script = dir_.filePath("long.ini");
        std::ofstream(script.toStdString()) << "1 # 30000\n";
        Type(1007, script);
        Click(1009);
        QTRY_VERIFY(Pane().contains("delay 30000 ms"));
        // The exit stops the script in its delay: it neither waits the delay out nor gives up
        // on the script after the wait limit.
        QElapsedTimer exit;
        exit.start();
        Click(1028);
        QVERIFY2(exit.elapsed() < 2000, qPrintable(QString::number(exit.elapsed())));
        QVERIFY(!window_->isVisible());
        QCOMPARE(state_->g_CmdThread.load(), nullptr);
        QCOMPARE(state_->g_ScriptThread.load(), nullptr);
        QVERIFY(Log().rfind("Tavlin log end!\n") == Log().size() - 16);
    }

    // Enter is OK and Esc is Cancel whichever control has the focus; both leave through the
    // exit path.
    void enterAndEscLeaveThroughTheExitPath_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void enterAndEscLeaveThroughTheExitPath() {
        QFETCH(int, key);
        Open();
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        const int mode = sim_->firmware().mode();
        // The key reaches a button first; it is not the button's to take.
        auto* leveling = findControl<QPushButton>(window_.get(), 1022);
        leveling->setFocus();
        QTest::keyClick(leveling, static_cast<Qt::Key>(key));
        QVERIFY(!window_->isVisible());
        QCOMPARE(state_->g_CmdThread.load(), nullptr);
        QVERIFY(Log().rfind("Tavlin log end!\n") == Log().size() - 16);
        QCOMPARE(sim_->firmware().mode(), mode);  // the focused leveling button was not pressed
    }

#ifndef _WIN32
    // Windows has no SIGTERM to send: raising it there ends the process at once.
    void terminationSignalLeavesThroughTheExitPath() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        QuitSignals quit([this] { window_->reject(); });
        ::raise(SIGTERM);
        QTRY_VERIFY(!window_->isVisible());
        QCOMPARE(state_->g_CmdThread.load(), nullptr);
        QVERIFY(Log().rfind("Tavlin log end!\n") == Log().size() - 16);
    }
#endif

    // The title bar's close button, Alt+F4, or Windows ending the session.
    void closeRequestLeavesThroughTheExitPath() {
        Open(true);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        QVERIFY(window_->close());
        QVERIFY(!window_->isVisible());
        QCOMPARE(state_->g_CmdThread.load(), nullptr);
        QVERIFY(Log().rfind("Tavlin log end!\n") == Log().size() - 16);
    }

    void screenshots() {
        QImage previous;
        const std::pair<const char*, QString> languages[] = {{"zh_CN.UTF-8", "退出"},
                                                             {"en_US.UTF-8", "Exit"}};
        for (const auto& [lang, exitCaption] : languages) {
            qputenv("LC_ALL", lang);
            QTranslator translator;
            QVERIFY(InstallLanguage(TAVLIN_QM_DIR, translator));
            Open(true);
            QTRY_COMPARE(state_->g_bDevExist.load(), 1);
            QTest::qWait(50);
            const QString name =
                QString(TAVLIN_SCREENSHOT_DIR "/main_window_%1.png").arg(QString(lang).left(2));
            const QImage shot = window_->grab().toImage();
            QCOMPARE(shot.size(), window_->size());
            QVERIFY(shot.save(name));
            // The picture shows the window in the language asked for, not a blank or the other.
            QVERIFY2(shot != previous, lang);
            QCOMPARE(findControl<QPushButton>(window_.get(), 1028)->text(), exitCaption);
            previous = shot;
            Close();
            QCoreApplication::removeTranslator(&translator);
            SetStringTranslator({});
        }
        qunsetenv("LC_ALL");
    }

    void missingLanguageFileIsRefused() {
        qputenv("LC_ALL", "de_DE.UTF-8");
        QTranslator translator;
        QVERIFY(!InstallLanguage("/nonexistent", translator));
        qputenv("LC_ALL", "zh_CN.UTF-8");
        QVERIFY(InstallLanguage("/nonexistent", translator));
        qunsetenv("LC_ALL");
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
