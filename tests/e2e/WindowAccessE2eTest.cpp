// The window on a station without the udev rules, on the real Linux device stack: the device is
// plugged in but its node refuses the user. The status line must say so and name the remedy,
// from the first detection and from the buttons that need the device, and never ask for the
// connection to be checked.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <chrono>
#include <memory>
#include <thread>

#include "NodeRefusal.h"
#include "UmockdevFixture.h"
#include "app/CTavlinDlg.h"
#include "base/ControlIds.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "device/HidDevice.h"
#include "device/HidapiTransport.h"
#include "device/SharedState.h"
#include "ui/ControlLookup.h"

namespace tavlin::e2e {
namespace {

using namespace std::chrono_literals;

// The status line's text once it reads `want`, or what it reads when `limit` has passed.
std::string AwaitStatus(const QWidget& window, const std::string& want,
                        std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    auto* status = findControl<QLabel>(&window, control::kStatusLine);
    for (;;) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        const std::string now = status != nullptr ? status->text().toStdString() : "";
        if (now == want || std::chrono::steady_clock::now() > deadline) {
            return now;
        }
        std::this_thread::sleep_for(5ms);
    }
}

TEST(WindowAccessE2eTest, TheStatusLineSaysTheNodeIsRefusedAndNamesTheRemedy) {
    if (const std::string why = MockEnvironmentMissing(); !why.empty()) {
        GTEST_SKIP() << "umockdev not available: " << why;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "e2e_window_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    UmockdevBed bed;
    const int plug = bed.PlugOurs(kProductIdWork);
    const NodeRefusal refusal(bed, plug);
    ASSERT_EQ(refusal.problem(), "");
    SetLogFilePath((refusal.workDir() / "Tavlin_log.txt").string());
    const std::string noAccess = LoadString(IDS_NO_ACCESS);

    HidapiTransport transport;
    HidDevice device(transport);
    device.setTimeoutMs(200);
    SharedState state;
    std::string shown;
    std::string afterButton;
    {
        const NodeRefusal::Unprivileged unprivileged(refusal);
        if (!unprivileged.ok()) {
            GTEST_SKIP() << "running as root without the right to change the effective user";
        }
        MainWindowOptions options;
        options.watchDevices = false;
        CTavlinDlg window(state, device, options);
        window.show();
        shown = AwaitStatus(window, noAccess, 5s);
        // The leveling button checks for the device before anything else and says why not.
        findControl<QLabel>(&window, control::kStatusLine)->clear();
        if (auto* leveling = findControl<QPushButton>(&window, control::kLeveling)) {
            leveling->click();
        }
        afterButton = AwaitStatus(window, noAccess, 1s);
    }
    EXPECT_EQ(shown, noAccess);
    EXPECT_EQ(afterButton, noAccess);
    EXPECT_EQ(state.g_bDevExist, 0);
}

// The text is long for a status line: it must be whole there in every language.
TEST(WindowAccessE2eTest, TheTextIsWholeInTheStatusLineInEveryLanguage) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "e2e_window_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    SharedState state;
    HidapiTransport transport;
    HidDevice device(transport);
    MainWindowOptions options;
    options.watchDevices = false;
    CTavlinDlg window(state, device, options);
    window.show();
    auto* status = findControl<QLabel>(&window, control::kStatusLine);
    ASSERT_NE(status, nullptr);
    for (const char* file :
         {"", "EnglishRes.qm", "FrenchRes.qm", "RussianRes.qm", "KazakhRes.qm"}) {
        QTranslator translator;
        if (*file != '\0') {
            ASSERT_TRUE(translator.load(QStringLiteral(TAVLIN_QM_DIR "/") + QLatin1String(file)))
                << file;
        }
        const QString text = *file == '\0'
                                 ? QString::fromUtf8(BuiltInString(IDS_NO_ACCESS))
                                 : translator.translate("Tavlin", BuiltInString(IDS_NO_ACCESS));
        ASSERT_FALSE(text.isEmpty()) << file;
        status->setText(text);
        const QRect room = status->contentsRect();
        const QRect needed = status->fontMetrics().boundingRect(
            room, static_cast<int>(status->alignment()) | Qt::TextWordWrap, text);
        EXPECT_TRUE(room.contains(needed))
            << file << ": needs " << needed.width() << " x " << needed.height() << ", has "
            << room.width() << " x " << room.height();
    }
}

}  // namespace
}  // namespace tavlin::e2e
