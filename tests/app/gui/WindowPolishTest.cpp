// The main window in every language: captions not clipped, nothing cut off, the about entry's
// separator, Qt's own texts translated. Screenshots after a mode switch go to the build folder.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>
#include <memory>

#include "app/AppIcon.h"
#include "app/CTavlinDlg.h"
#include "app/SystemMenu.h"
#include "app/gui/SimulatedMainWindow.h"
#include "base/Log.h"
#include "base/StringTable.h"
#include "language/QtTranslation.h"
#include "sim/SimTransport.h"
#include "ui/ControlLookup.h"

using namespace tavlin;

namespace {

bool HasCjk(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) {
            return true;
        }
    }
    return false;
}

// Texts of the visible widgets a user reads: buttons, labels, frame titles.
QStringList VisibleTexts(QWidget& window) {
    QStringList texts;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window)) {
            continue;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            texts << b->text();
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            texts << l->text();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            texts << g->title();
        }
    }
    texts.removeAll(QString());
    return texts;
}

}  // namespace

class WindowPolishTest : public QObject, private testing::SimulatedMainWindow {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    QTranslator translator_;

    void Open(bool engineering) { OpenWindow(true, engineering); }
    void Close() { CloseWindow(); }
    void UseLanguage(const char* locale) {
        qputenv("LC_ALL", locale);
        QVERIFY(InstallLanguage(QStringLiteral(TAVLIN_QM_DIR), translator_));
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        SetLogFilePath(dir_.filePath("Tavlin_log.txt").toStdString());
    }
    void cleanup() {
        Close();
        qunsetenv("LC_ALL");
        SetStringTranslator({});
    }

    void captionsFitInEveryLanguageAfterAModeSwitch_data() {
        QTest::addColumn<QString>("locale");
        for (const char* locale :
             {"zh_CN.UTF-8", "en_US.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8", "kk_KZ.UTF-8"}) {
            QTest::newRow(locale) << QString::fromLatin1(locale);
        }
    }
    void captionsFitInEveryLanguageAfterAModeSwitch() {
        QFETCH(QString, locale);
        UseLanguage(locale.toLatin1().constData());
        Open(false);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        auto* toggle = findControl<QPushButton>(window_.get(), 1065);
        QTest::mouseClick(toggle, Qt::LeftButton);
        QTRY_COMPARE(toggle->text(), QString::fromStdString(LoadString(IDS_MODE_WORK)));
        QTest::qWait(20);

        const QRect client = window_->rect();
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            if (!button->isVisibleTo(window_.get())) {
                continue;
            }
            const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
            QVERIFY2(textWidth + 8 <= button->width(),
                     qPrintable(QStringLiteral("\"%1\" needs %2 px, the button is %3 px wide")
                                    .arg(button->text())
                                    .arg(textWidth)
                                    .arg(button->width())));
            const QRect at(button->mapTo(window_.get(), QPoint(0, 0)), button->size());
            QVERIFY2(
                client.contains(at),
                qPrintable(
                    QStringLiteral("\"%1\" is cut off by the window's edge").arg(button->text())));
        }
        const QStringList texts = VisibleTexts(*window_);
        if (!locale.startsWith(QStringLiteral("zh"))) {
            for (const QString& text : texts) {
                QVERIFY2(!HasCjk(text), qPrintable(QStringLiteral("untranslated: ") + text));
            }
        }
        const QString name =
            QStringLiteral(TAVLIN_SCREENSHOT_DIR "/main_window_%1_after_mode_switch.png")
                .arg(locale.left(2));
        QVERIFY(window_->grab().save(name));
    }

    // No shown control covers another (a control inside a frame is the frame's, not over it),
    // in every language, with and without the engineering view.
    void noControlOverlapsAnother_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<bool>("engineering");
        for (const char* locale :
             {"zh_CN.UTF-8", "en_US.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8", "kk_KZ.UTF-8"}) {
            for (bool engineering : {false, true}) {
                QTest::addRow("%s%s", locale, engineering ? " engineering" : "")
                    << QString::fromLatin1(locale) << engineering;
            }
        }
    }
    void noControlOverlapsAnother() {
        QFETCH(QString, locale);
        QFETCH(bool, engineering);
        UseLanguage(locale.toLatin1().constData());
        Open(engineering);
        QTRY_COMPARE(state_->g_bDevExist.load(), 1);
        QTest::qWait(20);

        QList<QWidget*> shown;
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (w->property(kControlIdProperty).isValid() && w->isVisibleTo(window_.get())) {
                shown << w;
            }
        }
        const QRect client = window_->rect();
        auto at = [this](const QWidget* w) {
            return QRect(w->mapTo(window_.get(), QPoint(0, 0)), w->size());
        };
        QStringList faults;
        for (int i = 0; i < shown.size(); ++i) {
            const QRect a = at(shown[i]);
            const int idA = shown[i]->property(kControlIdProperty).toInt();
            if (!client.contains(a)) {
                faults << QStringLiteral("%1 leaves the window").arg(idA);
            }
            for (int j = i + 1; j < shown.size(); ++j) {
                if (shown[i]->isAncestorOf(shown[j]) || shown[j]->isAncestorOf(shown[i])) {
                    continue;
                }
                if (a.intersects(at(shown[j]))) {
                    faults << QStringLiteral("%1 and %2 overlap")
                                  .arg(idA)
                                  .arg(shown[j]->property(kControlIdProperty).toInt());
                }
            }
        }
        QVERIFY(window_->grab().save(
            QStringLiteral(TAVLIN_SCREENSHOT_DIR "/main_window_%1%2.png")
                .arg(locale.left(2), engineering ? QStringLiteral("_engineering") : QString())));
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
    }

    void chineseEngineeringFramesAreChinese() {
        UseLanguage("zh_CN.UTF-8");
        Open(true);
        for (int frame : {1059, 1064}) {
            const QString title = findControl<QGroupBox>(window_.get(), frame)->title();
            QVERIFY2(HasCjk(title), qPrintable(title));
        }
        QVERIFY(window_->grab().save(TAVLIN_SCREENSHOT_DIR "/main_window_zh_engineering.png"));
    }

    void windowKeepsItsSize() {
        Open(false);
        const QSize size = window_->size();
        window_->resize(size.width() / 2, size.height() / 2);
        QCoreApplication::processEvents();
        QCOMPARE(window_->size(), size);
        window_->resize(size.width() * 2, size.height());
        QCoreApplication::processEvents();
        QCOMPARE(window_->size(), size);
        auto* exitButton = findControl<QWidget>(window_.get(), 1028);
        QVERIFY(window_->rect().contains(exitButton->geometry()));
    }

    void aboutEntryKeepsItsSeparator() {
        QMenu menu;
        int opened = 0;
        AddAboutEntry(menu, QStringLiteral("About"), [&opened] { ++opened; });
        QCOMPARE(menu.actions().size(), 2);
        QVERIFY(menu.actions()[0]->isSeparator());
        menu.popup(QPoint(10, 10));
        QTRY_VERIFY(menu.isVisible());
        QVERIFY2(menu.actionGeometry(menu.actions()[0]).height() > 0,
                 "the leading separator was collapsed away");
        menu.actions()[1]->trigger();
        QCOMPARE(opened, 1);
        menu.close();
    }

    void iconIsTheInstalledOne() {
        for (int size : {16, 32, 48, 256}) {
            const QPixmap pixmap = AppIcon().pixmap(size, size);
            QVERIFY(!pixmap.isNull());
            QCOMPARE(pixmap.width(), size);
        }
    }

    void qtDialogsSpeakTheUsersLanguage() {
        qputenv("LC_ALL", "fr_FR.UTF-8");
        QTranslator qtTranslator;
        QVERIFY(InstallQtTranslations(qtTranslator));
        // A text of Qt's own message boxes.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("Annuler"));
        QCoreApplication::removeTranslator(&qtTranslator);
        qputenv("LC_ALL", "de_DE.UTF-8");
        QTranslator none;
        QVERIFY(!InstallQtTranslations(none));
    }
};

QTEST_MAIN(WindowPolishTest)
#include "WindowPolishTest.moc"
