// The window program's command line: the parser in-process, then the built program itself for
// what only the process shows (exit status, streams, the missing language file).
#include "app/AppOptions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "base/StringTable.h"
#include "language/Language.h"
#include "language/QtTranslation.h"

namespace tavlin {
namespace {

ParsedOptions Parse(QStringList args) {
    args.prepend(QStringLiteral("/usr/bin/tavlin"));
    return ParseAppOptions(args);
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

TEST(AppOptions, RunOptionsAreTaken) {
    const ParsedOptions parsed =
        Parse({"--simulate", "--sim-faults=latency=1ms,refuse=0x0E", "--engineering"});
    ASSERT_EQ(parsed.outcome, OptionsOutcome::Run);
    EXPECT_TRUE(parsed.options.engineering);
    EXPECT_TRUE(parsed.options.transport.simulate);
    EXPECT_EQ(parsed.options.transport.simFaults, "latency=1ms,refuse=0x0E");

    const ParsedOptions separate = Parse({"--sim-faults", "noreply=0x2D", "--simulate"});
    ASSERT_EQ(separate.outcome, OptionsOutcome::Run);
    EXPECT_EQ(separate.options.transport.simFaults, "noreply=0x2D");
    EXPECT_FALSE(separate.options.engineering);

    const ParsedOptions logDir = Parse({"--log-dir", "/var/log/station"});
    ASSERT_EQ(logDir.outcome, OptionsOutcome::Run);
    EXPECT_EQ(logDir.options.logDir, "/var/log/station");
    EXPECT_EQ(Parse({"--log-dir=logs"}).options.logDir, "logs");

    const ParsedOptions station = Parse({"--simulate", "--sim-devices=3", "--device", "sim-2"});
    ASSERT_EQ(station.outcome, OptionsOutcome::Run);
    EXPECT_EQ(station.options.transport.simDevices, "3");
    EXPECT_EQ(station.options.device, "sim-2");
    EXPECT_EQ(Parse({"--device="}).outcome, OptionsOutcome::Error);

    // A recording and a replay are two runs: together they are refused (see below).
    EXPECT_EQ(Parse({"--record", "s.trace"}).options.transport.record, "s.trace");
    const ParsedOptions session = Parse({"--replay", "r.trace", "--replay-pace", "recorded"});
    ASSERT_EQ(session.outcome, OptionsOutcome::Run);
    EXPECT_EQ(session.options.transport.replay, "r.trace");
    EXPECT_EQ(session.options.transport.replayPace, "recorded");

    const ParsedOptions none = Parse({});
    ASSERT_EQ(none.outcome, OptionsOutcome::Run);
    EXPECT_TRUE(none.options.logDir.empty());
    EXPECT_FALSE(none.options.transport.simulate);
    EXPECT_FALSE(none.options.engineering);
    EXPECT_TRUE(none.options.results.empty());
}

// The runs' records: where, and for whom, as the CLI takes them.
TEST(AppOptions, RecordOptions) {
    const ParsedOptions given =
        Parse({"--results", "station.sqlite", "--operator=Ana", "--lot", "L-7"});
    ASSERT_EQ(given.outcome, OptionsOutcome::Run) << given.text;
    EXPECT_EQ(given.options.results, "station.sqlite");
    EXPECT_EQ(given.options.operatorName, "Ana");
    EXPECT_EQ(given.options.lot, "L-7");
    EXPECT_EQ(Parse({"--results=none"}).options.results, "none");
    EXPECT_EQ(Parse({"--results="}).outcome, OptionsOutcome::Error);
}

TEST(AppOptions, HelpListsEveryOption) {
    for (const char* flag : {"--help", "-h"}) {
        const ParsedOptions parsed = Parse({flag, "--engineering"});
        ASSERT_EQ(parsed.outcome, OptionsOutcome::Help) << flag;
        EXPECT_EQ(parsed.exitCode, 0);
        for (const char* option :
             {"--help", "--version", "--simulate",
              "--sim-faults=", "--sim-devices=", "--sim-state=", "--device=", "--engineering",
              "--log-dir=", "--record=", "--replay=", "--replay-pace=", "--check-calibration",
              "--check-tolerance=", "--screen-size=", "--results=", "--operator=", "--lot="}) {
            EXPECT_TRUE(Contains(parsed.text, option)) << option << " missing in:\n" << parsed.text;
        }
        EXPECT_TRUE(Contains(parsed.text, "tavlin")) << "the usage line names the program";
    }
}

TEST(AppOptions, CalibrationCheckAndItsTolerance) {
    const ParsedOptions none = Parse({});
    EXPECT_FALSE(none.options.checkCalibration);
    EXPECT_DOUBLE_EQ(none.options.checkToleranceMm, 2.0);
    const ParsedOptions check = Parse({"--check-calibration", "--check-tolerance", "1.5"});
    ASSERT_EQ(check.outcome, OptionsOutcome::Run);
    EXPECT_TRUE(check.options.checkCalibration);
    EXPECT_DOUBLE_EQ(check.options.checkToleranceMm, 1.5);
    // Also for the check offered after a calibration, without --check-calibration.
    EXPECT_DOUBLE_EQ(Parse({"--check-tolerance=3"}).options.checkToleranceMm, 3.0);
    EXPECT_DOUBLE_EQ(Parse({"--check-tolerance=50"}).options.checkToleranceMm, 50.0);
    // A tolerance that is not a number of millimetres above 0 (and sensible) is a usage error.
    for (const char* bad : {"0", "-1", "abc", "", "nan", "inf", "50.1", "2mm"}) {
        const ParsedOptions parsed = Parse({QStringLiteral("--check-tolerance=") + bad});
        EXPECT_EQ(parsed.outcome, OptionsOutcome::Error) << bad;
        EXPECT_EQ(parsed.exitCode, 2) << bad;
        EXPECT_TRUE(Contains(parsed.text, "--check-tolerance")) << parsed.text;
    }
    EXPECT_EQ(Parse({"--check-calibration=yes"}).outcome, OptionsOutcome::Error);
}

// The check's millimetres where the monitor gives none a program may trust.
TEST(AppOptions, ScreenSizeInMillimetres) {
    const ParsedOptions none = Parse({"--check-calibration"});
    EXPECT_EQ(none.options.screenWidthMm, 0.0);
    EXPECT_EQ(none.options.screenHeightMm, 0.0);
    const ParsedOptions given = Parse({"--check-calibration", "--screen-size", "527.5x296"});
    ASSERT_EQ(given.outcome, OptionsOutcome::Run) << given.text;
    EXPECT_EQ(given.options.screenWidthMm, 527.5);
    EXPECT_EQ(given.options.screenHeightMm, 296.0);
    EXPECT_EQ(Parse({"--screen-size=600x340"}).options.screenHeightMm, 340.0);
    for (const char* bad : {"527", "527x", "0x296", "1920x1080px", ""}) {
        const ParsedOptions parsed = Parse({QStringLiteral("--screen-size=") + bad});
        EXPECT_EQ(parsed.outcome, OptionsOutcome::Error) << bad;
        EXPECT_EQ(parsed.exitCode, 2) << bad;
        EXPECT_TRUE(Contains(parsed.text, "--screen-size")) << parsed.text;
        EXPECT_TRUE(Contains(parsed.text, bad)) << parsed.text;
    }
    const ParsedOptions missing = Parse({"--screen-size"});
    EXPECT_EQ(missing.outcome, OptionsOutcome::Error);
    EXPECT_TRUE(Contains(missing.text, "--screen-size")) << missing.text;
}

TEST(AppOptions, VersionIsTheProjectVersion) {
    const ParsedOptions parsed = Parse({"--version"});
    ASSERT_EQ(parsed.outcome, OptionsOutcome::Version);
    EXPECT_EQ(parsed.text, "tavlin " TAVLIN_VERSION "\n");
    EXPECT_EQ(parsed.exitCode, 0);
}

TEST(AppOptions, UnknownOptionsAndStrayArgumentsAreErrorsWithStatus2) {
    struct Case {
        QStringList args;
        const char* named;
    };
    const Case cases[] = {
        {{"--simulate", "--bogus"}, "--bogus"},
        {{"-x"}, "-x"},
        {{"--engineering=yes"}, "--engineering"},
        {{"--sim-faults"}, "--sim-faults"},
        {{"--simulate", "extra"}, "extra"},
        {{"--simulate", "--log-dir"}, "--log-dir"},
        {{"--log-dir="}, "--log-dir"},
        {{"--simulate", "--replay"}, "--replay"},
        // An empty value is refused like a missing one: --record= would record nothing.
        {{"--simulate", "--record="}, "--record"},
        {{"--replay", ""}, "--replay"},
        {{"--simulate", "--sim-faults="}, "--sim-faults"},
        {{"--simulate", "--sim-devices", ""}, "--sim-devices"},
        {{"--replay-pace="}, "--replay-pace"},
        {{"--device", ""}, "--device"},
        // What the values say together, as the CLI checks it.
        {{"--replay-pace=recorded"}, "--replay-pace"},
        {{"--simulate", "--sim-devices=two"}, "--sim-devices"},
        {{"--sim-devices=2"}, "--simulate"},
        {{"--replay=r.trace", "--simulate"}, "--replay"},
    };
    for (const Case& c : cases) {
        const ParsedOptions parsed = Parse(c.args);
        EXPECT_EQ(parsed.outcome, OptionsOutcome::Error) << c.named;
        EXPECT_EQ(parsed.exitCode, 2) << c.named;
        EXPECT_TRUE(Contains(parsed.text, c.named)) << parsed.text;
        EXPECT_TRUE(Contains(parsed.text, "--help")) << parsed.text;
    }
}

class LocaleGuard {
  public:
    explicit LocaleGuard(const char* locale) { qputenv("LC_ALL", locale); }
    ~LocaleGuard() {
        qunsetenv("LC_ALL");
        SetStringTranslator({});
    }
};

TEST(AppOptions, HelpAndErrorsSpeakTheUsersLanguage) {
    LocaleGuard french("fr_FR.UTF-8");
    QTranslator translator;
    ASSERT_TRUE(InstallLanguage(QStringLiteral(TAVLIN_QM_DIR), translator));
    const ParsedOptions help = Parse({"--help"});
    EXPECT_TRUE(Contains(help.text, "Utilisation : tavlin [options]")) << help.text;
    EXPECT_TRUE(Contains(help.text, "afficher la version et quitter")) << help.text;
    EXPECT_FALSE(Contains(help.text, "选项")) << help.text;
    const ParsedOptions error = Parse({"--bogus"});
    EXPECT_TRUE(Contains(error.text, "option inconnue : --bogus")) << error.text;
}

TEST(AppTranslation, InstalledFolderIsLookedInAfterTheProgramsOwn) {
    const QStringList folders = TranslationFolders(QStringLiteral("/usr/bin"));
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], QStringLiteral("/usr/bin"));
    EXPECT_EQ(folders[1], QStringLiteral("/usr/share/tavlin/translations"));

    LocaleGuard russian("ru_RU.UTF-8");
    QTranslator translator;
    QString missing;
    EXPECT_TRUE(InstallLanguage(QStringList{"/nonexistent", TAVLIN_QM_DIR}, translator, &missing));
    EXPECT_EQ(LoadString(IDS_MODE_WORK), "Рабочий режим");
    EXPECT_FALSE(
        InstallLanguage(QStringList{"/nonexistent", "/nonexistent2"}, translator, &missing));
    EXPECT_EQ(missing, QStringLiteral("RussianRes.qm"));
}

TEST(AppTranslation, QtShipsItsOwnTranslationsForChineseFrenchAndRussian) {
    for (PrimaryLanguage language :
         {PrimaryLanguage::Chinese, PrimaryLanguage::French, PrimaryLanguage::Russian}) {
        QTranslator translator;
        EXPECT_TRUE(translator.load(QString::fromStdString(QtTranslationFileFor(language)),
                                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            << QtTranslationFileFor(language) << ": is qt6-translations-l10n installed?";
    }
    EXPECT_EQ(QtTranslationFileFor(PrimaryLanguage::Other), "");
}

// The built program, as a user starts it.
class TavlinProgram : public ::testing::Test {
  protected:
    struct Outcome {
        int exitCode = -1;
        std::string out;
        std::string err;
    };
    static Outcome Run(const QString& program, const QStringList& args,
                       const QString& locale = QStringLiteral("en_US.UTF-8")) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // these answers need no display
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("LC_ALL"), locale);
        process.setProcessEnvironment(env);
        process.start(program, args);
        Outcome outcome;
        if (!process.waitForFinished(kStartBudgetMs)) {
            process.kill();
            process.waitForFinished();
            return outcome;
        }
        outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = AsWrittenOnLinux(process.readAllStandardOutput());
        outcome.err = AsWrittenOnLinux(process.readAllStandardError());
        return outcome;
    }
    // A Windows console program writes its lines in text mode, ending them with CR LF.
    static std::string AsWrittenOnLinux(QByteArray bytes) {
        return bytes.replace("\r\n", "\n").toStdString();
    }
    // Wine's first start of a program in a fresh prefix takes several seconds.
    static constexpr int kStartBudgetMs = 60000;
    const QString tavlin_ = QStringLiteral(TAVLIN_PROGRAM);
};

TEST_F(TavlinProgram, AnswersHelpAndVersionWithoutADisplay) {
    const Outcome help = Run(tavlin_, {"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.err;
    EXPECT_TRUE(Contains(help.out, "Usage: tavlin [options]")) << help.out;
    const Outcome version = Run(tavlin_, {"--version"});
    EXPECT_EQ(version.exitCode, 0) << version.err;
    EXPECT_EQ(version.out, "tavlin " TAVLIN_VERSION "\n");
}

TEST_F(TavlinProgram, RefusedOptionsEndWithStatus2AndAShortMessage) {
    const std::pair<QStringList, std::string> cases[] = {
        {{"--simulate", "--no-such-option"}, "unknown option: --no-such-option"},
        {{"--simulate", "--record="}, "option --record was given an empty value"},
        {{"--replay", ""}, "option --replay was given an empty value"},
        {{"--simulate", "--replay-pace", "recorded"}, "--replay-pace needs --replay"},
    };
    for (const auto& [args, message] : cases) {
        const Outcome outcome = Run(tavlin_, args);
        EXPECT_EQ(outcome.exitCode, 2) << message;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "tavlin: " + message + "\nSee --help for the options.\n");
    }
}

// The refusal comes before any window: no display is needed to see it. A path under a regular
// file cannot be made, not even by root.
TEST_F(TavlinProgram, ALogFolderThatCannotBeWrittenEndsTheProgramWithStatus2) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString folder = dir.filePath(QStringLiteral("file/sub"));
    const Outcome outcome = Run(tavlin_, {"--simulate", "--log-dir", folder});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(
        Contains(outcome.err,
                 ("tavlin: Cannot write to the log folder " + folder.toStdString() + " (").c_str()))
        << outcome.err;
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("file/sub/Tavlin_log.txt"))));
}

#ifndef _WIN32
// A FIFO as the log (in the folder asked for or the current one) or as the recording: opening
// it would wait for a reader for ever, the window not even shown. The program ends at once with
// status 2 and says which file it refused.
TEST_F(TavlinProgram, AFifoAsTheLogOrTheRecordingEndsTheProgramWithStatus2) {
    struct Case {
        const char* fifo;
        QStringList args;
        const char* said;
    };
    const Case cases[] = {
        {"logs/Tavlin_log.txt", {"--log-dir", "logs"}, "The log file logs/Tavlin_log.txt is not"},
        {"Tavlin_log.txt", {}, "The log file Tavlin_log.txt is not a regular file"},
        {"rec.trace", {"--record", "rec.trace"}, "the recording rec.trace is not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fifo);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("logs")));
        ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QString::fromUtf8(c.fifo))), 0600), 0);
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(tavlin_, QStringList{QStringLiteral("--simulate")} + c.args);
        if (!process.waitForFinished(15000)) {
            process.kill();
            process.waitForFinished();
            ADD_FAILURE() << "still running after 15 s: it waits on the FIFO";
            continue;
        }
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 2);
        const std::string err = AsWrittenOnLinux(process.readAllStandardError());
        EXPECT_TRUE(Contains(err, c.said)) << err;
    }
}
#endif

// The window's log in a folder made for it; SIGTERM closes the window through its exit path,
// whose end line must land there too.
// With several devices attached the window takes the first, and its log names the ports seen.
TEST_F(TavlinProgram, TheLogLandsInTheFolderGivenAndNamesThePortsSeen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath(QStringLiteral("station/logs/Tavlin_log.txt"));
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(dir.path());
    process.start(tavlin_, {"--simulate", "--sim-devices", "3", "--log-dir",
                            dir.filePath(QStringLiteral("station/logs"))});
    ASSERT_TRUE(process.waitForStarted(kStartBudgetMs));
    auto logText = [&log] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
    };
    // Bounded: the window writes its start line as it comes up.
    for (int i = 0; i < 200 && !Contains(logText(), "Open hid device success!"); ++i) {
        process.waitForFinished(50);
    }
    EXPECT_TRUE(Contains(logText(), "Devices on ports sim-1, sim-2, sim-3; taking the first"))
        << logText();
#ifdef _WIN32
    // A close request reaches a Windows program through its windows, and the offscreen
    // platform gives it none: the start line in the folder given is what can be seen here.
    EXPECT_TRUE(Contains(logText(), "Tavlin log start!")) << logText();
    process.kill();
    ASSERT_TRUE(process.waitForFinished(kStartBudgetMs));
#else
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_TRUE(Contains(logText(), "Tavlin log end!")) << logText();
#endif
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Tavlin_log.txt"))));
}

// The offscreen screen's size is Qt's guess: the check opened by --check-calibration takes
// --screen-size instead, and says so in the log; without it, it says the size is unknown.
TEST_F(TavlinProgram, TheCalibrationCheckTakesItsMillimetresFromTheOption) {
    struct Row {
        QStringList extra;
        const char* line;
    };
    const Row rows[] = {
        {{"--screen-size=600x340"}, " px, 600.0 x 340.0 mm from --screen-size\n"},
        {{}, " px, size in mm unknown"},
    };
    for (const Row& row : rows) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(dir.path());
        process.start(tavlin_, QStringList{"--simulate", "--check-calibration"} + row.extra);
        ASSERT_TRUE(process.waitForStarted(kStartBudgetMs));
        const QString log = dir.filePath(QStringLiteral("Tavlin_log.txt"));
        auto logText = [&log] {
            QFile file(log);
            return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
        };
        for (int i = 0; i < 200 && !Contains(logText(), "Calibration check screen"); ++i) {
            process.waitForFinished(50);
        }
        EXPECT_TRUE(Contains(logText(), row.line)) << logText();
        process.kill();
        ASSERT_TRUE(process.waitForFinished(10000));
    }
}

TEST_F(TavlinProgram, MissingLanguageFileIsNamedOnStderr) {
    // A copy of the program in a folder with no language files beside it or in share/.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin")));
    const QString copy = dir.filePath(QStringLiteral("bin/") + QFileInfo(tavlin_).fileName());
    ASSERT_TRUE(QFile::copy(tavlin_, copy));
#ifdef _WIN32
    // What Windows looks for beside the program: the Qt and runtime DLLs and the plugins.
    const QDir built = QFileInfo(tavlin_).dir();
    for (const QString& dll : built.entryList({QStringLiteral("*.dll")}, QDir::Files)) {
        ASSERT_TRUE(QFile::copy(built.filePath(dll), dir.filePath(QStringLiteral("bin/") + dll)));
    }
    for (const QString& plugins : {QStringLiteral("platforms"), QStringLiteral("styles")}) {
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("bin/") + plugins));
        for (const QString& dll : QDir(built.filePath(plugins)).entryList(QDir::Files)) {
            ASSERT_TRUE(QFile::copy(built.filePath(plugins + QLatin1Char('/') + dll),
                                    dir.filePath(QStringLiteral("bin/%1/%2").arg(plugins, dll))));
        }
    }
#endif

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("de_DE.UTF-8"));
    process.setProcessEnvironment(env);
    process.start(copy, {"--simulate"});
    ASSERT_TRUE(process.waitForStarted(kStartBudgetMs));
    // The message box that follows waits for the operator; the diagnostic comes before it.
    const std::string binFolder = QDir(dir.path()).filePath("bin").toStdString();
    const std::string shareFolder =
        QDir(dir.path()).filePath("share/tavlin/translations").toStdString();
    const std::string expected =
        "\ntavlin: language file EnglishRes.qm not found; looked in: " + binFolder + ", " +
        shareFolder + "\n";
    std::string err = "\n";  // Qt may write lines of its own before ours
    for (int i = 0; i < kStartBudgetMs / 100 && !Contains(err, expected.c_str()); ++i) {
        process.waitForReadyRead(100);
        err += AsWrittenOnLinux(process.readAllStandardError());
    }
    process.kill();
    process.waitForFinished();
    EXPECT_TRUE(Contains(err, expected.c_str())) << err;
}

}  // namespace
}  // namespace tavlin
