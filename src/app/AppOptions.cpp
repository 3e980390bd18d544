#include "app/AppOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include "app/OptionTexts.h"
#include "base/FillText.h"
#include "base/StringTable.h"
#include "calibration/CheckScreenSize.h"
#include "calibration/CheckSizeTexts.h"
#include "trace/OptionValueTexts.h"

namespace tavlin {
namespace {

constexpr int kExitUsage = 2;
constexpr int kOptionColumn = 26;
// Beyond this a "tolerance" would pass any touch on the screen: a typing error, not a choice.
constexpr double kMaxToleranceMm = 50.0;

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

QString Fill(const char* builtIn, const QString& value) {
    return QString::fromStdString(FillText(Tr(builtIn), {value.toStdString()}));
}

struct OptionLine {
    QString name;
    QString description;
};

std::string HelpText(const QString& program) {
    const QString plan = QStringLiteral("--sim-faults=<%1>").arg(Text(options::kPlan));
    const QString logDir = QStringLiteral("--log-dir=<%1>").arg(Text(options::kFolder));
    const OptionLine lines[] = {
        {QStringLiteral("-h, --help"), Text(options::kHelp)},
        {QStringLiteral("--version"), Text(options::kVersion)},
        {QStringLiteral("--simulate"), Text(options::kSimulate)},
        {plan, Text(options::kSimFaults)},
        {QStringLiteral("--record=<%1>").arg(Text(options::kFile)), Text(options::kRecord)},
        {QStringLiteral("--replay=<%1>").arg(Text(options::kFile)), Text(options::kReplay)},
        {QStringLiteral("--replay-pace=<%1>").arg(Text(options::kPace)),
         Text(options::kReplayPace)},
        {QStringLiteral("--sim-devices=<%1>").arg(Text(options::kCount)),
         Text(options::kSimDevices)},
        {QStringLiteral("--device=<%1>").arg(Text(options::kPort)), Text(options::kDevice)},
        {QStringLiteral("--engineering"), Text(options::kEngineering)},
        {logDir, Text(options::kLogDir)},
        {QStringLiteral("--check-calibration"), Text(options::kCheckCalibration)},
        {QStringLiteral("--check-tolerance=<%1>").arg(Text(options::kMm)),
         Text(options::kCheckTolerance)},
        {QStringLiteral("--screen-size=<%1>").arg(Text(checksizetext::kWxH)),
         Text(checksizetext::kScreenSizeHelp)},
    };
    QString out =
        Fill(options::kUsage, program) + QLatin1Char('\n') + Text(options::kOptionsHeading);
    for (const OptionLine& line : lines) {
        QString name = QStringLiteral("  ") + line.name;
        out += name.size() < kOptionColumn
                   ? name.leftJustified(kOptionColumn)
                   : name + QLatin1Char('\n') + QString(kOptionColumn, QLatin1Char(' '));
        out += line.description + QLatin1Char('\n');
    }
    return out.toStdString();
}

ParsedOptions Failure(const QString& message) {
    ParsedOptions parsed;
    parsed.outcome = OptionsOutcome::Error;
    parsed.exitCode = kExitUsage;
    parsed.text = (QStringLiteral("tavlin: ") + message + Text(options::kSeeHelp)).toStdString();
    return parsed;
}

}  // namespace

ParsedOptions ParseAppOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption simulate(QStringLiteral("simulate"));
    const QCommandLineOption simFaults(QStringLiteral("sim-faults"), QString(),
                                       QStringLiteral("plan"));
    const QCommandLineOption simDevices(QStringLiteral("sim-devices"), QString(),
                                        QStringLiteral("n"));
    const QCommandLineOption device(QStringLiteral("device"), QString(), QStringLiteral("port"));
    const QCommandLineOption engineering(QStringLiteral("engineering"));
    const QCommandLineOption logDir(QStringLiteral("log-dir"), QString(), QStringLiteral("dir"));
    const QCommandLineOption record(QStringLiteral("record"), QString(), QStringLiteral("file"));
    const QCommandLineOption replay(QStringLiteral("replay"), QString(), QStringLiteral("file"));
    const QCommandLineOption replayPace(QStringLiteral("replay-pace"), QString(),
                                        QStringLiteral("pace"));
    const QCommandLineOption checkCalibration(QStringLiteral("check-calibration"));
    const QCommandLineOption checkTolerance(QStringLiteral("check-tolerance"), QString(),
                                            QStringLiteral("mm"));
    const QCommandLineOption screenSize(QStringLiteral("screen-size"), QString(),
                                        QStringLiteral("wxh"));
    parser.addOptions({help, version, simulate, simFaults, simDevices, device, engineering, logDir,
                       record, replay, replayPace, checkCalibration, checkTolerance, screenSize});
    const QStringList valued{QStringLiteral("--sim-faults"),  QStringLiteral("--sim-devices"),
                             QStringLiteral("--device"),      QStringLiteral("--log-dir"),
                             QStringLiteral("--record"),      QStringLiteral("--replay"),
                             QStringLiteral("--replay-pace"), QStringLiteral("--check-tolerance"),
                             QStringLiteral("--screen-size")};

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString dashes =
                unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--");
            return Failure(Fill(options::kUnknownOption, dashes + unknown.first()));
        }
        // The other two errors Qt knows: a value given to a switch, or none to an option that
        // takes one (which then stands last).
        for (const QString& argument : arguments.mid(1)) {
            const QString name = argument.section(QLatin1Char('='), 0, 0);
            if (argument.contains(QLatin1Char('=')) && !valued.contains(name)) {
                return Failure(Fill(options::kTakesNoValue, name));
            }
        }
        const QString last = arguments.isEmpty() ? QString() : arguments.last();
        return Failure(Fill(options::kMissingValue, valued.contains(last) ? last : valued.first()));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Failure(Fill(options::kUnexpectedArgument, parser.positionalArguments().first()));
    }

    // An empty value is a station script's variable that came out empty: --record= would record
    // nothing, --replay= would work on the attached device instead.
    for (const QString& name : valued) {
        if (parser.isSet(name.mid(2)) && parser.value(name.mid(2)).isEmpty()) {
            return Failure(Fill(optiontext::kEmptyValue, name) + QLatin1Char('\n'));
        }
    }

    double toleranceMm = kDefaultCheckToleranceMm;
    if (parser.isSet(checkTolerance)) {
        bool number = false;
        const QString given = parser.value(checkTolerance);
        toleranceMm = given.toDouble(&number);
        if (!number || !(toleranceMm > 0) || toleranceMm > kMaxToleranceMm) {
            return Failure(Fill(options::kBadTolerance, given));
        }
    }

    double screenWidthMm = 0;
    double screenHeightMm = 0;
    if (parser.isSet(screenSize) && !ParseScreenSizeMm(parser.value(screenSize).toStdString(),
                                                       &screenWidthMm, &screenHeightMm)) {
        return Failure(Fill(checksizetext::kBadScreenSize, parser.value(screenSize)));
    }

    trace::TransportOptions transport;
    transport.simulate = parser.isSet(simulate);
    transport.simFaults = parser.value(simFaults).toStdString();
    transport.simDevices = parser.value(simDevices).toStdString();
    transport.record = parser.value(record).toStdString();
    transport.replay = parser.value(replay).toStdString();
    transport.replayPace = parser.value(replayPace).toStdString();
    if (std::string refusal; !trace::CheckTransportOptions(transport, &refusal)) {
        return Failure(QString::fromStdString(refusal) + QLatin1Char('\n'));
    }

    ParsedOptions parsed;
    if (parser.isSet(help)) {
        // On Windows as a user types it: "tavlin", not "tavlin.exe".
#ifdef _WIN32
        const QString program = arguments.isEmpty() ? QStringLiteral("tavlin")
                                                    : QFileInfo(arguments[0]).completeBaseName();
#else
        const QString program =
            arguments.isEmpty() ? QStringLiteral("tavlin") : QFileInfo(arguments[0]).fileName();
#endif
        parsed.outcome = OptionsOutcome::Help;
        parsed.text = HelpText(program);
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.outcome = OptionsOutcome::Version;
        parsed.text = "tavlin " TAVLIN_VERSION "\n";
        return parsed;
    }
    parsed.options.engineering = parser.isSet(engineering);
    parsed.options.logDir = parser.value(logDir).toStdString();
    parsed.options.checkCalibration = parser.isSet(checkCalibration);
    parsed.options.checkToleranceMm = toleranceMm;
    parsed.options.screenWidthMm = screenWidthMm;
    parsed.options.screenHeightMm = screenHeightMm;
    parsed.options.device = parser.value(device).toStdString();
    parsed.options.transport = transport;
    return parsed;
}

}  // namespace tavlin
