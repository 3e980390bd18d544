#pragma once
// Whether a text is drawn whole inside the control that shows it: its bounding box, laid out as
// the control lays it out (alignment, word wrap, a button's frame), must lie inside the room the
// control has for text. Shared by the window tests of every language.
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTranslator>
#include <QtTest>

#include "base/StringTable.h"
#include "language/QtTranslation.h"

namespace tavlin::testing {

// The locales of the five languages the program speaks.
inline const char* const kLocales[] = {"zh_CN.UTF-8", "en_US.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8",
                                       "kk_KZ.UTF-8"};

inline void AddLocaleRows() {
    QTest::addColumn<QByteArray>("locale");
    for (const char* locale : kLocales) {
        QTest::newRow(locale) << QByteArray(locale);
    }
}

// The language of one locale for as long as it lives; texts built while it lives are translated.
class ScopedLanguage {
  public:
    explicit ScopedLanguage(const QByteArray& locale) {
        qputenv("LC_ALL", locale);
        installed_ = InstallLanguage(QStringLiteral(TAVLIN_QM_DIR), translator_);
    }
    ~ScopedLanguage() {
        QCoreApplication::removeTranslator(&translator_);
        SetStringTranslator({});
        qunsetenv("LC_ALL");
    }
    ScopedLanguage(const ScopedLanguage&) = delete;
    ScopedLanguage& operator=(const ScopedLanguage&) = delete;
    bool installed() const { return installed_; }

  private:
    QTranslator translator_;
    bool installed_ = false;
};

// Empty when `text` would be drawn whole inside `control`; otherwise what sticks out where.
inline QString TextOverflow(const QWidget* control, const QString& text) {
    QRect room;
    int flags = 0;
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        room = label->contentsRect();
        flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = text;
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    } else {
        return QStringLiteral("control %1 shows no text").arg(control->objectName());
    }
    const QRect box = control->fontMetrics().boundingRect(room, flags, text);
    if (room.contains(box)) {
        return {};
    }
    return QStringLiteral("control %1 (%2x%3 at %4,%5) cuts \"%6\": it needs %7x%8 at %9,%10")
        .arg(control->property("controlId").toInt())
        .arg(room.width())
        .arg(room.height())
        .arg(control->x())
        .arg(control->y())
        .arg(text)
        .arg(box.width())
        .arg(box.height())
        .arg(box.x())
        .arg(box.y());
}

// Every text of `texts` that `control` would cut, one line each.
inline QStringList CutTexts(const QWidget* control, const QStringList& texts) {
    QStringList cut;
    for (const QString& text : texts) {
        if (QString overflow = TextOverflow(control, text); !overflow.isEmpty()) {
            cut << overflow;
        }
    }
    return cut;
}

// Fails the test with every cut text, each on its own line (one message would be truncated).
#define TAVLIN_VERIFY_WHOLE(cut)                                                    \
    do {                                                                            \
        for (const QString& line : (cut)) {                                         \
            qWarning().noquote() << line;                                           \
        }                                                                           \
        QVERIFY2((cut).isEmpty(),                                                   \
                 qPrintable(QStringLiteral("%1 texts are cut").arg((cut).size()))); \
    } while (false)

// The text the string table gives `id` in the current language.
inline QString StringText(int id) {
    return QString::fromStdString(LoadString(id));
}
inline QString Translated(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

// The same window on whichever screen the run configures, named by language and size.
inline QString ScreenshotName(const QString& window, const QByteArray& locale,
                              const QSize& screen) {
    return QStringLiteral(TAVLIN_SCREENSHOT_DIR "/%1_%2_%3x%4.png")
        .arg(window, QString::fromLatin1(locale.left(2)))
        .arg(screen.width())
        .arg(screen.height());
}

}  // namespace tavlin::testing
