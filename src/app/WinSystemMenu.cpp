#include "app/WinSystemMenu.h"

#include <windows.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

namespace tavlin {

bool AppendAboutToSystemMenu(QWidget& window, const QString& about) {
    // Only Qt's windows platform gives the widget a real window; others (offscreen) do not.
    if (QGuiApplication::platformName() != QLatin1String("windows")) {
        return false;
    }
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(window.winId()), FALSE);
    if (menu == nullptr || about.isEmpty()) {
        return false;
    }
    const std::wstring text = about.toStdWString();
    return AppendMenuW(menu, MF_SEPARATOR, 0, nullptr) &&
           AppendMenuW(menu, MF_STRING, kAboutCommand, text.c_str());
}

bool IsAboutCommand(const QByteArray& eventType, void* message) {
    if (eventType != "windows_generic_MSG" || message == nullptr) {
        return false;
    }
    const MSG* msg = static_cast<const MSG*>(message);
    return msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == kAboutCommand;
}

}  // namespace tavlin
