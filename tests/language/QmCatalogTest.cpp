// The .qm reader the Windows CLI loads its language files with.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "language/QmCatalog.h"

namespace tavlin {
namespace {

// A .qm file put together by hand: magic, then one messages section.
class QmBuilder {
  public:
    QmBuilder& Message(const std::string& context, const std::string& source,
                       const std::u16string& translation) {
        Tag(7, context);
        Tag(6, source);
        std::string utf16;
        for (char16_t c : translation) {
            utf16.push_back(static_cast<char>(c >> 8));
            utf16.push_back(static_cast<char>(c & 0xFF));
        }
        Tag(3, utf16);
        messages_.push_back(1);  // end of message
        return *this;
    }
    QmBuilder& Raw(const std::string& bytes) {
        messages_ += bytes;
        return *this;
    }
    std::string Bytes() const {
        std::string out("\x3C\xB8\x64\x18\xCA\xEF\x9C\x95\xCD\x21\x1C\xBF\x60\xA1\xBD\xDD", 16);
        out.push_back('\x42');  // a hashes section, which the reader passes over
        out += Word(4) + std::string(4, '\0');
        out.push_back('\x69');
        out += Word(static_cast<uint32_t>(messages_.size())) + messages_;
        return out;
    }

  private:
    static std::string Word(uint32_t v) {
        return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                static_cast<char>(v)};
    }
    void Tag(char tag, const std::string& value) {
        messages_.push_back(tag);
        messages_ += Word(static_cast<uint32_t>(value.size())) + value;
    }
    std::string messages_;
};

TEST(QmCatalog, FindsTranslationsByContextAndSourceText) {
    QmCatalog catalog;
    ASSERT_TRUE(
        catalog.LoadBytes(QmBuilder()
                              .Message("Tavlin", "设备检测完成。\n", u"Détection terminée.\n")
                              .Message("Other", "设备检测完成。\n", u"wrong context")
                              .Bytes()));
    EXPECT_EQ(catalog.Translate("Tavlin", "设备检测完成。\n"), "Détection terminée.\n");
    EXPECT_EQ(catalog.Translate("Tavlin", "设备检测完成。"), std::nullopt);  // byte for byte
    EXPECT_EQ(catalog.Translate("Tavlin", "unknown"), std::nullopt);
}

TEST(QmCatalog, DecodesCharactersBeyondTheBasicPlane) {
    QmCatalog catalog;
    ASSERT_TRUE(catalog.LoadBytes(QmBuilder()
                                      .Message("Tavlin", "a", u"\U0001F600\u0416")
                                      .Message("Tavlin", "b", u"\xD800x")
                                      .Bytes()));
    EXPECT_EQ(catalog.Translate("Tavlin", "a"), "\xF0\x9F\x98\x80\xD0\x96");
    EXPECT_EQ(catalog.Translate("Tavlin", "b"), "\xEF\xBF\xBDx");  // lone surrogate: U+FFFD
}

TEST(QmCatalog, EmptyTranslationFallsBackToTheBuiltInText) {
    QmCatalog catalog;
    ASSERT_TRUE(catalog.LoadBytes(QmBuilder().Message("Tavlin", "a", u"").Bytes()));
    EXPECT_EQ(catalog.Translate("Tavlin", "a"), std::nullopt);
}

TEST(QmCatalog, DamagedFilesAreRefusedWithoutReadingPastTheEnd) {
    const std::string good = QmBuilder().Message("Tavlin", "a", u"A").Bytes();
    QmCatalog catalog;
    ASSERT_TRUE(catalog.LoadBytes(good));
    // Cut anywhere: a cut between sections leaves a well-formed file without messages, any
    // other cut is refused; no message is ever taken from a cut file.
    const size_t messagesSection = 16 + 5 + 4;
    for (size_t cut = 0; cut < good.size(); ++cut) {
        const bool loaded = catalog.LoadBytes(good.substr(0, cut));
        EXPECT_EQ(loaded, cut == 16 || cut == messagesSection) << "cut at " << cut;
        EXPECT_EQ(catalog.size(), 0u);
    }
    // A length far beyond the file.
    EXPECT_FALSE(
        catalog.LoadBytes(QmBuilder().Raw(std::string("\x06\x7F\xFF\xFF\xFF", 5)).Bytes()));
    // A translation of an odd number of bytes is not UTF-16.
    EXPECT_FALSE(catalog.LoadBytes(QmBuilder().Raw(std::string("\x03\0\0\0\x01x\x01", 7)).Bytes()));
    // Not a .qm file at all.
    EXPECT_FALSE(catalog.LoadBytes("<?xml version=\"1.0\"?><TS></TS>"));
    EXPECT_FALSE(catalog.Load("no-such-file.qm"));
}

#ifndef _WIN32
// A FIFO in the language file's place is no language file, and is not waited on.
TEST(QmCatalog, AFifoIsNoLanguageFile) {
    const auto fifo = std::filesystem::temp_directory_path() /
                      ("tavlin-qm-" + std::to_string(::getpid()) + ".qm");
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    QmCatalog catalog;
    auto loaded = std::async(std::launch::async, [&] { return catalog.Load(fifo); });
    if (loaded.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the catalog waits on the FIFO";
        std::_Exit(1);
    }
    EXPECT_FALSE(loaded.get());
    std::filesystem::remove(fifo);
}
#endif

#ifdef TAVLIN_QM_DIR
// The files lrelease writes, as the CLI ships them.
TEST(QmCatalog, ReadsTheBuiltLanguageFiles) {
    QmCatalog catalog;
    ASSERT_TRUE(catalog.Load((std::filesystem::path(TAVLIN_QM_DIR) / "FrenchRes.qm").string()));
    EXPECT_EQ(
        catalog.Translate("Tavlin", "未检测到相应设备，请确认连接情况。\n"),
        "Aucun périphérique correspondant n'a été détecté. Veuillez vérifier la connexion.\n");
    ASSERT_TRUE(catalog.Load((std::filesystem::path(TAVLIN_QM_DIR) / "RussianRes.qm").string()));
    EXPECT_EQ(catalog.Translate("Tavlin", "正在检测设备，请稍候...\n"),
              "Идёт обнаружение устройства, подождите...\n");
}
#endif

}  // namespace
}  // namespace tavlin
