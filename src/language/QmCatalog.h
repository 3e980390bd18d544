#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace tavlin {

// The translations of a compiled Qt translation file (.qm), read without Qt: the Windows CLI has
// no Qt to load them with. Only what our files use is kept: context, source text and the first
// translation of each message; a message without a translation falls back to its source text.
class QmCatalog {
  public:
    // False, and the catalog left empty, when the file is missing or not a well-formed .qm file.
    bool Load(const std::filesystem::path& path);
    bool LoadBytes(std::string_view bytes);

    std::optional<std::string> Translate(std::string_view context, std::string_view source) const;
    size_t size() const { return messages_.size(); }

  private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> messages_;
};

}  // namespace tavlin
