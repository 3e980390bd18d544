#include "app/CTavlinApp.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>
#include <cstring>
#include <iostream>

#include "app/AppTranslation.h"
#include "app/CTavlinDlg.h"
#include "app/Language.h"
#include "app/QuitSignals.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "sim/TransportFactory.h"

namespace tavlin {
namespace {

bool ConsumeFlag(int* argc, char** argv, const char* flag) {
    for (int i = 1; i < *argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0) {
            for (int j = i; j < *argc; ++j) {
                argv[j] = argv[j + 1];
            }
            --*argc;
            return true;
        }
    }
    return false;
}

}  // namespace

int CTavlinApp::Run(int argc, char** argv) {
    const sim::TransportOptions transportOptions = sim::ConsumeTransportOptions(&argc, argv);
    const bool engineering = ConsumeFlag(&argc, argv, "--engineering");
    QApplication app(argc, argv);

    QTranslator translator;
    if (!InstallLanguage(QCoreApplication::applicationDirPath(), translator)) {
        QMessageBox::critical(nullptr, QString(), QString::fromLatin1(kLanguageFileNeeded));
        return 1;
    }

    std::string error;
    sim::CreatedTransport transport = sim::CreateTransport(transportOptions, &error);
    if (!transport) {
        std::cerr << "tavlin: " << error << "\n";
        return 2;
    }

    SharedState state;
    HidDevice device(*transport.transport);
    MainWindowOptions options;
    options.engineering = engineering;
    options.sim = transport.sim;
    options.watchDevices = transport.sim == nullptr;
    CTavlinDlg dialog(state, device, options);
    QuitSignals quit([&dialog] { dialog.reject(); });
    dialog.exec();
    return 0;
}

}  // namespace tavlin
