// Every text of the program (the string table and the window captions) must have a usable
// translation in each shipped .qm file. A text added to the table or to kAllTexts without being
// translated fails here.

#include <QString>
#include <QTranslator>

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "app/HistoryTexts.h"
#include "base/FileTexts.h"
#include "base/FrontEndTexts.h"
#include "base/StringTable.h"
#include "calibration/CalibrationCheckTexts.h"
#include "calibration/CalibrationTexts.h"
#include "calibration/CheckSizeTexts.h"
#include "cli/AllDevicesTexts.h"
#include "cli/PictureTexts.h"
#include "cli/RecordTexts.h"
#include "cli/StationTexts.h"
#include "cli/UsageTexts.h"
#include "console/ConsoleTexts.h"
#include "console/ScriptTexts.h"
#include "firmware/FirmwareTexts.h"
#include "firmware/PackageTexts.h"
#include "leveling/LevelingTexts.h"
#include "station/DeviceChoiceTexts.h"
#include "station/OptionTexts.h"
#include "station/OptionValueTexts.h"
#include "trace/ReplayTexts.h"
#include "trace/TraceTexts.h"
#include "ui/UiTexts.h"

namespace {

constexpr const char* kContext = "Tavlin";

struct Language {
    const char* file;  // .qm file name beside the executables
    const char* code;  // language attribute of the .ts file
    bool cyrillic;     // translations of Chinese texts must be written in Cyrillic
};

const Language kLanguages[] = {
    {"EnglishRes.qm", "en", false},
    {"FrenchRes.qm", "fr", false},
    {"RussianRes.qm", "ru", true},
    {"KazakhRes.qm", "kk", true},
};

void PrintTo(const Language& lang, std::ostream* os) {
    *os << lang.file;
}

// printf conversion specifications in order ("%%" is not one).
std::vector<std::string> PrintfConversions(const std::string& s) {
    std::vector<std::string> out;
    const std::string flags = "-+ #0";
    const std::string lengths = "hlLzjt";
    const std::string conversions = "diouxXeEfFgGaAcspn";
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            continue;
        }
        size_t j = i + 1;
        if (j < s.size() && s[j] == '%') {
            i = j;
            continue;
        }
        while (j < s.size() && flags.find(s[j]) != std::string::npos)
            ++j;
        while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '*'))
            ++j;
        if (j < s.size() && s[j] == '.') {
            ++j;
            while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '*'))
                ++j;
        }
        while (j < s.size() && lengths.find(s[j]) != std::string::npos)
            ++j;
        if (j < s.size() && conversions.find(s[j]) != std::string::npos) {
            out.push_back(s.substr(i, j - i + 1));
            i = j;
        } else {
            out.push_back(s.substr(i, j - i));  // malformed: still counted, so it must match
            i = j - 1;
        }
    }
    return out;
}

bool HasCjk(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF)
            return true;  // CJK, kana, punctuation
        if (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF)
            return true;  // full-width forms
    }
    return false;
}

bool HasCyrillic(const QString& s) {
    for (QChar c : s) {
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
            return true;
    }
    return false;
}

// Number of menu accelerators ("&x"; "&&" is a literal ampersand).
int Accelerators(const QString& s) {
    int n = 0;
    for (qsizetype i = 0; i + 1 < s.size(); ++i) {
        if (s[i] == '&') {
            if (s[i + 1] != '&')
                ++n;
            ++i;
        }
    }
    return n;
}

// ASCII texts between double quotes (key names such as "Esc" the operator must press).
std::vector<std::string> QuotedWords(const std::string& s) {
    std::vector<std::string> out;
    size_t start = s.find('"');
    while (start != std::string::npos) {
        size_t end = s.find('"', start + 1);
        if (end == std::string::npos)
            break;
        out.push_back(s.substr(start, end - start + 1));
        start = s.find('"', end + 1);
    }
    return out;
}

// File dialog filters "description|pattern|description|pattern||": the patterns (odd fields)
// and the number of separators must stay as they are.
std::vector<std::string> FilterSkeleton(const std::string& s) {
    std::vector<std::string> out;
    size_t field = 0;
    size_t begin = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '|') {
            out.push_back(field % 2 == 1 ? s.substr(begin, i - begin) : std::string("<text>"));
            ++field;
            begin = i + 1;
        }
    }
    return out;
}

struct Text {
    std::string where;  // "id 107" or "kAllTexts[3]", for the failure message
    std::string source;
};

std::vector<Text> AllProgramTexts() {
    std::vector<Text> texts;
    size_t count = 0;
    const int* ids = tavlin::AllStringIds(&count);
    for (size_t i = 0; i < count; ++i) {
        texts.push_back({"id " + std::to_string(ids[i]), tavlin::BuiltInString(ids[i])});
    }
    // Every table of texts a front end shows, each named for the failure message.
    const struct {
        const char* name;
        std::span<const char* const> texts;
    } tables[] = {
        {"kAllTexts", tavlin::ui::kAllTexts},
        {"fw::kAllTexts", tavlin::fw::kAllTexts},
        {"pkg::kAllTexts", tavlin::pkg::kAllTexts},
        {"leveling kAllTexts", tavlin::leveling::text::kAllTexts},
        {"options::kAllTexts", tavlin::options::kAllTexts},
        {"console::kAllTexts", tavlin::console::kAllTexts},
        {"cli::kAllTexts", tavlin::cli::kAllTexts},
        {"cli::picture::kAllTexts", tavlin::cli::picture::kAllTexts},
        {"cli::alltext::kAllTexts", tavlin::cli::alltext::kAllTexts},
        {"filetext::kAllTexts", tavlin::filetext::kAllTexts},
        {"frontend::kAllTexts", tavlin::frontend::kAllTexts},
        {"trace::kAllTexts", tavlin::trace::kAllTexts},
        {"replay::kAllTexts", tavlin::replay::kAllTexts},
        {"caltext::kAllTexts", tavlin::caltext::kAllTexts},
        {"checktext::kAllTexts", tavlin::checktext::kAllTexts},
        {"scripttext::kAllTexts", tavlin::scripttext::kAllTexts},
        {"checksizetext::kAllTexts", tavlin::checksizetext::kAllTexts},
        {"usage::kAllTexts", tavlin::cli::usage::kAllTexts},
        {"optiontext::kAllTexts", tavlin::optiontext::kAllTexts},
        {"choicetext::kAllTexts", tavlin::station::choicetext::kAllTexts},
        {"recordtext::kAllTexts", tavlin::cli::recordtext::kAllTexts},
        {"historytext::kAllTexts", tavlin::historytext::kAllTexts},
    };
    for (const auto& table : tables) {
        for (size_t i = 0; i < table.texts.size(); ++i) {
            texts.push_back(
                {std::string(table.name) + "[" + std::to_string(i) + "]", table.texts[i]});
        }
    }
    return texts;
}

// Problems of one translation; empty when it is fine.
std::vector<std::string> Problems(const std::string& source, const QString& translation,
                                  const Language& lang) {
    std::vector<std::string> p;
    const std::string tr = translation.toStdString();
    if (translation.isEmpty()) {
        p.push_back("missing or empty translation");
        return p;
    }
    if (PrintfConversions(source) != PrintfConversions(tr)) {
        p.push_back("printf conversions differ");
    }
    if (!source.empty() && source.back() == '\n' && tr.back() != '\n') {
        p.push_back("source ends in a line feed, translation does not");
    }
    if (!source.empty() && source.back() != '\n' && tr.back() == '\n') {
        p.push_back("translation ends in a line feed, source does not");
    }
    const QString src = QString::fromUtf8(source.c_str());
    if (HasCjk(translation)) {
        p.push_back("translation still contains Chinese text");
    }
    if (lang.cyrillic && HasCjk(src) && !HasCyrillic(translation)) {
        p.push_back("translation is not in Cyrillic script");
    }
    if (Accelerators(src) > 0 && Accelerators(translation) != 1) {
        p.push_back("source has a menu accelerator, translation needs exactly one");
    }
    for (const std::string& q : QuotedWords(source)) {
        if (tr.find(q) == std::string::npos)
            p.push_back("quoted " + q + " is missing");
    }
    if (source.find('|') != std::string::npos && FilterSkeleton(source) != FilterSkeleton(tr)) {
        p.push_back("file filter patterns or separators differ");
    }
    return p;
}

class TranslationFile : public ::testing::TestWithParam<Language> {};

TEST_P(TranslationFile, LoadsWithItsLanguage) {
    QTranslator translator;
    ASSERT_TRUE(translator.load(QString::fromUtf8(GetParam().file), QStringLiteral(TAVLIN_QM_DIR)))
        << GetParam().file << " in " << TAVLIN_QM_DIR;
    EXPECT_EQ(translator.language().toStdString(), GetParam().code);
    EXPECT_FALSE(translator.isEmpty());
}

TEST_P(TranslationFile, EveryProgramTextIsTranslated) {
    QTranslator translator;
    ASSERT_TRUE(translator.load(QString::fromUtf8(GetParam().file), QStringLiteral(TAVLIN_QM_DIR)));
    const auto texts = AllProgramTexts();
    ASSERT_FALSE(texts.empty());
    for (const Text& t : texts) {
        const QString tr = translator.translate(kContext, t.source.c_str());
        for (const std::string& problem : Problems(t.source, tr, GetParam())) {
            ADD_FAILURE() << GetParam().file << ", " << t.where << " \"" << t.source
                          << "\": " << problem << " (translation \"" << tr.toStdString() << "\")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, TranslationFile, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) { return std::string(info.param.code); });

// The checks above must be able to fail; a checker that accepts everything hides untranslated
// texts.
TEST(TranslationChecks, CatchTypicalTranslatorMistakes) {
    const Language ru{"RussianRes.qm", "ru", true};
    const std::string src = "当前光学参数为:%d，%d，%d;\n\n0x%02x，0x%02x。\n";
    EXPECT_TRUE(Problems(src, QString::fromUtf8("Параметры: %d, %d, %d;\n\n0x%02x, 0x%02x.\n"), ru)
                    .empty());
    // Lost, reordered or altered conversions.
    EXPECT_FALSE(
        Problems(src, QString::fromUtf8("Параметры: %d, %d;\n\n0x%02x, 0x%02x.\n"), ru).empty());
    EXPECT_FALSE(
        Problems(src, QString::fromUtf8("Параметры: %d, %d, %d;\n\n0x%x, 0x%02x.\n"), ru).empty());
    EXPECT_FALSE(
        Problems(src, QString::fromUtf8("Параметры: 0x%02x, %d, %d, %d, 0x%02x.\n"), ru).empty());
    // "%%" is a literal percent sign, not a conversion.
    EXPECT_TRUE(Problems("曝光 50%%\n", QString::fromUtf8("Экспозиция 50%%\n"), ru).empty());
    // Lost trailing line feed; untranslated copy; Latin instead of Cyrillic.
    EXPECT_FALSE(
        Problems("请先调节曝光参数！\n", QString::fromUtf8("Настройте экспозицию!"), ru).empty());
    EXPECT_FALSE(Problems("标定模式", QString::fromUtf8("标定模式"), ru).empty());
    EXPECT_FALSE(Problems("标定模式", QString::fromUtf8("Calibration mode"), ru).empty());
    // Accelerator, quoted key name, file filter pattern.
    EXPECT_FALSE(
        Problems("关于 Tavlin(&A)...", QString::fromUtf8("О программе Tavlin..."), ru).empty());
    EXPECT_FALSE(
        Problems("请点击\"Esc\"退出调平.\n", QString::fromUtf8("Нажмите Esc.\n"), ru).empty());
    EXPECT_FALSE(Problems("ini Files(*.ini)|*.ini|all Files(*.*)|*.*||",
                          QString::fromUtf8("Файлы INI|*.ini|Все файлы|*||"), ru)
                     .empty());
    EXPECT_FALSE(Problems("标定", QString(), ru).empty());
}

}  // namespace
