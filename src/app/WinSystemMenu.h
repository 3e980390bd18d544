#pragma once
#include <QString>

class QByteArray;
class QWidget;

namespace tavlin {

// The command id of the about entry in the window's system menu.
inline constexpr unsigned kAboutCommand = 0x10;

// Windows: appends a separator and the about entry to the window's real system menu (the one
// the title bar's icon and Alt+Space open). False when the window has no system menu (or no
// real window: the offscreen platform).
bool AppendAboutToSystemMenu(QWidget& window, const QString& about);

// Windows: whether a native message of the window is the about entry's WM_SYSCOMMAND. The
// system adds its own flags to the low four bits, so they are masked off.
bool IsAboutCommand(const QByteArray& eventType, void* message);

}  // namespace tavlin
