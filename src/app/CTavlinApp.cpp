#include "app/CTavlinApp.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>
#include <iostream>

#include "app/AppOptions.h"
#include "app/CTavlinDlg.h"
#include "app/QuitSignals.h"
#include "base/Unexpected.h"
#include "device/HidDevice.h"
#include "device/SharedState.h"
#include "language/Language.h"
#include "language/QtTranslation.h"
#include "platform/CommandLine.h"
#include "station/Station.h"

namespace tavlin {
namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
#ifdef _WIN32
    // The narrow arguments are in the ANSI code page, which cannot hold every file name: the
    // options are read from the wide command line, as UTF-8.
    (void)argc;
    (void)argv;
    const Utf8Arguments wide = Utf8Arguments::OfProcess();
    for (const std::string& argument : wide.all()) {
        arguments << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
    }
#else
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
#endif
    return arguments;
}

// Qt does not let an exception pass through its event dispatch: one thrown by a handler of
// ours ends the run here, in words (see base/Unexpected.h).
class Application : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (...) {
            EndOnUnexpected();
        }
    }
};

}  // namespace

int CTavlinApp::Run(int argc, char** argv) {
    // The language comes first so that --help answers in it, and both come before the window
    // system: --help, --version and option errors need no display.
    QTranslator translator;
    const QStringList folders = TranslationFolders(ProgramFolder(argv[0]));
    QString missingFile;
    const bool languageLoaded = InstallLanguage(folders, translator, &missingFile);

    const ParsedOptions parsed = ParseAppOptions(Arguments(argc, argv));
    switch (parsed.outcome) {
        case OptionsOutcome::Help:
        case OptionsOutcome::Version:
            std::cout << parsed.text << std::flush;
            return parsed.exitCode;
        case OptionsOutcome::Error:
            std::cerr << parsed.text << std::flush;
            return parsed.exitCode;
        case OptionsOutcome::Run:
            break;
    }
    // Before the window and its log start: a folder that cannot take the log ends the program
    // rather than letting it run without one.
    // A log name that is no regular file (a FIFO would hold the window's first entry for ever)
    // ends it too, in the folder asked for or the current one.
    if (std::string refusal; !station::PrepareRunLog(parsed.options.logDir, &refusal)) {
        std::cerr << "tavlin: " << refusal << std::flush;
        return 2;
    }

    Application app(argc, argv);
    if (!languageLoaded) {
        std::cerr << "tavlin: " << MissingLanguageFileMessage(missingFile, folders).toStdString()
                  << std::flush;
        QMessageBox::critical(nullptr, QString(), QString::fromLatin1(kLanguageFileNeeded));
        return 1;
    }
    QTranslator qtTranslator;
    InstallQtTranslations(qtTranslator);

    // One device of several: the one on the port asked for (or the one a replay's recorded run
    // chose); else the first the system lists, and the log names the ports seen.
    station::Station station;
    if (std::string error;
        !station::OpenStation(parsed.options.transport, parsed.options.device,
                              station::SeveralDevices::TakeFirst, &station, &error)) {
        std::cerr << "tavlin: " << error << "\n";
        return 2;
    }
    station::CreatedTransport& transport = station.transport;
    MainWindowOptions options;
    options.startNote = station.device.startNote;
    SharedState state;
    HidDevice device(*transport.transport);
    device.setKeptPort(station.device.keptPort);
    options.engineering = parsed.options.engineering;
    options.recording = transport.recording.get();
    options.recordPath = parsed.options.transport.record;
    options.replay = transport.replay;
    options.checkCalibration = parsed.options.checkCalibration;
    options.records = {parsed.options.results, parsed.options.logDir, parsed.options.operatorName,
                       parsed.options.lot, parsed.options.resultsServer};
    options.packages = parsed.options.packages;
    options.check = {parsed.options.checkToleranceMm, parsed.options.screenWidthMm,
                     parsed.options.screenHeightMm};
    // Listening before the window exists: a SIGTERM during start-up (the detection already
    // runs in the window's constructor) waits in the pipe and closes the window once it runs.
    CTavlinDlg* window = nullptr;
    QuitSignals quit([&window] {
        if (window != nullptr) {
            window->QuitFromSignal();
        }
    });
    CTavlinDlg dialog(state, device, options);
    window = &dialog;
    dialog.exec();
    return 0;
}

}  // namespace tavlin
