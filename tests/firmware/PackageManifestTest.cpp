#include "firmware/PackageManifest.h"

#include <gtest/gtest.h>

namespace tavlin {
namespace {

const std::string kHash(64, 'a');

// "<hash><separator><path>\n", built by appending (GCC 12 warns wrongly on a chain of +).
std::string Line(const std::string& path, const std::string& hash = kHash,
                 const char* separator = "  ") {
    std::string line = hash;
    line.append(separator).append(path).append("\n");
    return line;
}

TEST(PackageManifestTest, ReadsWhatSha256sumWritesInBothModes) {
    const std::string upper(64, 'B');
    std::vector<ManifestEntry> entries;
    std::string text = Line("PKG.ini\r");
    text.append(Line("img/h.bin", upper, " *")).append("\n").append(kHash).append("  ./l bin.bin");
    ASSERT_TRUE(ParseManifest(text, &entries).ok());
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].path, "PKG.ini");
    EXPECT_EQ(entries[1].sha256, std::string(64, 'b'));
    EXPECT_EQ(entries[1].path, "img/h.bin");
    EXPECT_EQ(entries[2].path, "./l bin.bin");
    EXPECT_EQ(ManifestLine(entries[1]), std::string(64, 'b') + "  img/h.bin\n");
}

// A path that could name a file outside the package's folder, or be read otherwise on another
// system, and lines that are not the tool's: refused with the line and the reason.
TEST(PackageManifestTest, RefusesPathsThatLeaveTheFolderAndLinesThatAreNotTheTools) {
    struct Case {
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {Line("../h.bin"), "leaves"},
        {Line("img/../../h.bin"), "leaves"},
        {Line(".."), "leaves"},
        {Line("/etc/passwd"), "absolute"},
        {Line("\\\\server\\share\\h.bin"), "backslash"},
        {Line("img\\..\\h.bin"), "backslash"},
        {Line("C:h.bin"), "drive letter"},
        {Line("c:/h.bin"), "drive letter"},
        {Line("h.bin:stream"), "colon"},
        {Line("a\tb"), "control character"},
        {Line("img/"), "folder"},
        {"\\" + Line("h\\nb.bin"), "escaped"},
        {Line(""), "no file name"},
        {Line("h.bin", kHash.substr(1)), "not \"<SHA-256>  <file>\""},
        {Line("h.bin", std::string(64, 'g')), "not \"<SHA-256>  <file>\""},
        {Line("h.bin", kHash, " "), "not \"<SHA-256>  <file>\""},
        {Line("h.bin", kHash, "\t"), "not \"<SHA-256>  <file>\""},
        {Line("h.bin") + Line("h.bin", kHash, " *"), "listed twice"},
        {"", "lists no file"},
        {"\n\r\n", "lists no file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<ManifestEntry> entries;
        const Result parsed = ParseManifest(c.text, &entries);
        EXPECT_EQ(parsed.code(), ResultCode::BadInput);
        EXPECT_NE(parsed.reason().find(c.reason), std::string::npos) << parsed.reason();
    }
}

TEST(PackageManifestTest, ARefusalNamesItsLine) {
    std::vector<ManifestEntry> entries;
    const Result parsed = ParseManifest(Line("a") + Line("b") + Line("/c"), &entries);
    EXPECT_NE(parsed.reason().find("manifest line 3"), std::string::npos) << parsed.reason();
}

// A caller may read one list after another into the same vector: only the last list is kept,
// and a name of the first does not count as listed twice in the second.
TEST(PackageManifestTest, ReadingAgainKeepsOnlyTheNewList) {
    std::vector<ManifestEntry> entries;
    ASSERT_TRUE(ParseManifest(Line("a.bin") + Line("b.bin"), &entries).ok());
    ASSERT_TRUE(ParseManifest(Line("b.bin"), &entries).ok());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].path, "b.bin");
}

}  // namespace
}  // namespace tavlin
