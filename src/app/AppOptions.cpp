#include "app/AppOptions.h"

#include <cstdlib>

#include <QFileInfo>
#include <optional>
#include <vector>

#include "base/FillText.h"
#include "base/StringTable.h"
#include "calibration/CheckScreenSize.h"
#include "calibration/CheckSizeTexts.h"
#include "station/CheckTolerance.h"
#include "station/GivenOptions.h"
#include "station/OptionTexts.h"
#include "station/OptionValueTexts.h"

namespace tavlin {
namespace {

constexpr int kExitUsage = 2;
constexpr int kOptionColumn = 26;

QString Text(const char* builtIn) {
    return QString::fromStdString(Tr(builtIn));
}

QString Fill(const char* builtIn, const QString& value) {
    return QString::fromStdString(FillText(Tr(builtIn), {value.toStdString()}));
}

using station::OptionId;
using station::OptionProblem;

std::string HelpText(const QString& program) {
    QString out =
        Fill(options::kUsage, program) + QLatin1Char('\n') + Text(options::kOptionsHeading);
    for (const station::OptionRow& option : station::OptionTable()) {
        if ((option.frontEnds & station::kWindow) == 0) {
            continue;
        }
        QString name = QStringLiteral("  ");
        if (!option.shortName.empty()) {
            name += QString::fromUtf8(option.shortName.data(), option.shortName.size()) +
                    QStringLiteral(", ");
        }
        name += QString::fromUtf8(option.name.data(), option.name.size());
        if (option.takesValue()) {
            name += QStringLiteral("=<%1>").arg(Text(option.valueName));
        }
        out += name.size() < kOptionColumn
                   ? name.leftJustified(kOptionColumn)
                   : name + QLatin1Char('\n') + QString(kOptionColumn, QLatin1Char(' '));
        out += Text(option.help) + QLatin1Char('\n');
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

// The first problem of the kind a reader of the line would fix first: a word that is no option,
// a value where none belongs, a missing value, then a stray argument, then an empty or bad value.
std::optional<ParsedOptions> Refusal(const std::vector<OptionProblem>& problems,
                                     const std::vector<std::string>& stray) {
    const auto first = [&problems](OptionProblem::Kind kind) -> const OptionProblem* {
        for (const OptionProblem& problem : problems) {
            if (problem.kind == kind) {
                return &problem;
            }
        }
        return nullptr;
    };
    const auto named = [](const OptionProblem& problem) {
        return QString::fromStdString(problem.option != nullptr ? std::string(problem.option->name)
                                                                : problem.word);
    };
    if (const OptionProblem* unknown = first(OptionProblem::Kind::Unknown)) {
        return Failure(Fill(options::kUnknownOption, named(*unknown)));
    }
    if (const OptionProblem* switchValue = first(OptionProblem::Kind::TakesNoValue)) {
        return Failure(Fill(options::kTakesNoValue, named(*switchValue)));
    }
    if (const OptionProblem* missing = first(OptionProblem::Kind::NoValue)) {
        return Failure(Fill(options::kMissingValue, named(*missing)));
    }
    if (!stray.empty()) {
        return Failure(Fill(options::kUnexpectedArgument, QString::fromStdString(stray.front())));
    }
    // An empty value is a station script's variable that came out empty: --record= would record
    // nothing, --replay= would work on the attached device instead.
    if (const OptionProblem* empty = first(OptionProblem::Kind::EmptyValue)) {
        return Failure(Fill(optiontext::kEmptyValue, named(*empty)) + QLatin1Char('\n'));
    }
    if (const OptionProblem* bad = first(OptionProblem::Kind::BadValue)) {
        return Failure(Fill(bad->option->badValue, QString::fromStdString(bad->word)));
    }
    return std::nullopt;
}

}  // namespace

ParsedOptions ParseAppOptions(const QStringList& arguments) {
    std::vector<std::string> words;
    for (const QString& argument : arguments.mid(1)) {
        words.push_back(argument.toStdString());
    }
    station::GivenOptions given;
    const std::vector<OptionProblem> problems =
        station::TakeOptions(words, station::kWindow, &given);
    if (auto refused = Refusal(problems, given.rest())) {
        return *refused;
    }

    double screenWidthMm = 0;
    double screenHeightMm = 0;
    if (given.has(OptionId::ScreenSize)) {
        ParseScreenSizeMm(given.value(OptionId::ScreenSize), &screenWidthMm, &screenHeightMm);
    }
    const station::TransportOptions transport = station::TransportOptionsFrom(given);
    if (std::string refusal; !station::CheckTransportOptions(transport, &refusal)) {
        return Failure(QString::fromStdString(refusal) + QLatin1Char('\n'));
    }

    ParsedOptions parsed;
    if (given.has(OptionId::Help)) {
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
    if (given.has(OptionId::Version)) {
        parsed.outcome = OptionsOutcome::Version;
        parsed.text = "tavlin " TAVLIN_VERSION "\n";
        return parsed;
    }
    parsed.options.engineering = given.has(OptionId::Engineering);
    parsed.options.logDir = given.value(OptionId::LogDir);
    parsed.options.checkCalibration = given.has(OptionId::CheckCalibration);
    parsed.options.checkToleranceMm =
        station::ParseCheckToleranceMm(given.value(OptionId::CheckTolerance))
            .value_or(kDefaultCheckToleranceMm);
    parsed.options.screenWidthMm = screenWidthMm;
    parsed.options.screenHeightMm = screenHeightMm;
    parsed.options.device = given.value(OptionId::Device);
    parsed.options.results = given.value(OptionId::Results);
    parsed.options.operatorName = given.value(OptionId::Operator);
    parsed.options.lot = given.value(OptionId::Lot);
    parsed.options.resultsServer = given.value(OptionId::ResultsServer);
    if (parsed.options.resultsServer.empty()) {
        // As the CLI: a station's service or login sets the line's server once for both.
        const char* server = std::getenv("TAVLIN_RESULTS_SERVER");
        parsed.options.resultsServer = server == nullptr ? "" : server;
    }
    parsed.options.packages = {given.values(OptionId::TrustedKey),
                               given.has(OptionId::RequireSigned)};
    parsed.options.transport = transport;
    return parsed;
}

}  // namespace tavlin
