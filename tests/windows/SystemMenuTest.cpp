// The main window's real system menu on Qt's windows platform, read from inside the program:
// Wine does not show a window's system menu to another process, so the driver that starts
// tavlin.exe cannot read it there. Needs a display (scripts/test-windows starts a virtual one).
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <string>

#include "app/AboutDialog.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/StringTable.h"

namespace {
// Before <windows.h>, whose LoadString macro takes our function's name.
std::string AboutEntryText() {
    return tavlin::LoadString(tavlin::IDS_ABOUTBOX);
}
}  // namespace

// After our headers: its macros take the names of our wait results.
#include <windows.h>

namespace tavlin {
namespace {

class SystemMenuTest : public QObject, public testing::SimulatedMainWindow {
    Q_OBJECT

  private slots:
    void init() { OpenWindow(true, false); }
    void cleanup() { CloseWindow(); }

    void endsWithASeparatorAndTheAboutEntry() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("windows"));
        HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window_->winId()), FALSE);
        QVERIFY(menu != nullptr);
        const int count = GetMenuItemCount(menu);
        QVERIFY(count >= 2);
        QCOMPARE(GetMenuItemID(menu, count - 1), 0x10u);
        wchar_t text[128] = {};
        GetMenuStringW(menu, count - 1, text, 128, MF_BYPOSITION);
        QCOMPARE(QString::fromWCharArray(text), QString::fromStdString(AboutEntryText()));
        QVERIFY((GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0);
    }

    void theEntryOpensTheAboutBox() {
        // The about box runs modally inside the message's handler: it is seen and closed from
        // within its own event loop.
        bool opened = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* about = window_->findChild<AboutDialog*>(); about && about->isVisible()) {
                opened = true;
                about->reject();
            }
        });
        poll.start(50);
        PostMessageW(reinterpret_cast<HWND>(window_->winId()), WM_SYSCOMMAND, 0x10, 0);
        QTRY_VERIFY_WITH_TIMEOUT(opened, 20000);
    }
};

}  // namespace
}  // namespace tavlin

QTEST_MAIN(tavlin::SystemMenuTest)
#include "SystemMenuTest.moc"
