#include "language/QmCatalog.h"

#include <cstdint>
#include <optional>

#include "platform/FilePath.h"
#include "platform/RegularFile.h"

namespace tavlin {
namespace {

constexpr unsigned char kMagic[16] = {0x3C, 0xB8, 0x64, 0x18, 0xCA, 0xEF, 0x9C, 0x95,
                                      0xCD, 0x21, 0x1C, 0xBF, 0x60, 0xA1, 0xBD, 0xDD};
constexpr uint8_t kSectionMessages = 0x69;

enum MessageTag : uint8_t {
    kTagEnd = 1,
    kTagTranslation = 3,
    kTagObsolete1 = 5,
    kTagSourceText = 6,
    kTagContext = 7,
    kTagComment = 8,
};
constexpr uint32_t kNullTranslation = 0xFFFFFFFFu;

// Reads big-endian fields and never past the end: every read says whether it fitted.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool done() const { return pos_ >= bytes_.size(); }
    bool Byte(uint8_t* out) {
        if (pos_ + 1 > bytes_.size()) {
            return false;
        }
        *out = static_cast<uint8_t>(bytes_[pos_++]);
        return true;
    }
    bool Word(uint32_t* out) {
        if (pos_ > bytes_.size() || bytes_.size() - pos_ < 4) {
            return false;
        }
        *out = 0;
        for (int i = 0; i < 4; ++i) {
            *out = (*out << 8) | static_cast<uint8_t>(bytes_[pos_++]);
        }
        return true;
    }
    bool Bytes(uint32_t length, std::string_view* out) {
        if (length > bytes_.size() - pos_) {
            return false;
        }
        *out = bytes_.substr(pos_, length);
        pos_ += length;
        return true;
    }

  private:
    std::string_view bytes_;
    size_t pos_ = 0;
};

void AppendUtf8(uint32_t c, std::string* out) {
    if (c < 0x80) {
        out->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (c >> 6)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(static_cast<char>(0xE0 | (c >> 12)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xF0 | (c >> 18)));
        out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Translations are stored as UTF-16 big-endian; an unpaired surrogate becomes U+FFFD.
std::string Utf16BeToUtf8(std::string_view bytes) {
    std::string out;
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>((static_cast<uint8_t>(bytes[i]) << 8) |
                                     static_cast<uint8_t>(bytes[i + 1]));
    };
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
            unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(c, &out);
    }
    return out;
}

struct Message {
    std::string context;
    std::string source;
    std::optional<std::string> translation;
};

// One message up to its end tag. False when the bytes do not form one.
bool ReadMessage(Reader& r, Message* message) {
    for (;;) {
        uint8_t tag = 0;
        if (!r.Byte(&tag)) {
            return false;
        }
        if (tag == kTagEnd) {
            return true;
        }
        if (tag == kTagObsolete1) {
            std::string_view skipped;
            if (!r.Bytes(4, &skipped)) {
                return false;
            }
            continue;
        }
        uint32_t length = 0;
        std::string_view value;
        if (!r.Word(&length)) {
            return false;
        }
        if (tag == kTagTranslation && length == kNullTranslation) {
            continue;
        }
        if (!r.Bytes(length, &value)) {
            return false;
        }
        switch (tag) {
            case kTagTranslation:
                if (length % 2 != 0) {
                    return false;
                }
                // Plural forms follow the first; an empty translation is no translation.
                if (!message->translation && length > 0) {
                    message->translation = Utf16BeToUtf8(value);
                }
                break;
            case kTagSourceText:
                message->source = std::string(value);
                break;
            case kTagContext:
                message->context = std::string(value);
                break;
            case kTagComment:
                break;
            default:
                return false;  // a tag of an older or newer format
        }
    }
}

}  // namespace

bool QmCatalog::Load(const std::filesystem::path& path) {
    // A FIFO in the language file's place reads as a missing file, not as a wait at start.
    const std::optional<std::string> bytes = ReadRegularFile(Utf8FromPath(path));
    if (!bytes) {
        messages_.clear();
        return false;
    }
    return LoadBytes(*bytes);
}

bool QmCatalog::LoadBytes(std::string_view bytes) {
    messages_.clear();
    if (bytes.size() < sizeof kMagic ||
        bytes.substr(0, sizeof kMagic) !=
            std::string_view(reinterpret_cast<const char*>(kMagic), sizeof kMagic)) {
        return false;
    }
    Reader sections(bytes.substr(sizeof kMagic));
    decltype(messages_) found;
    while (!sections.done()) {
        uint8_t tag = 0;
        uint32_t length = 0;
        std::string_view body;
        if (!sections.Byte(&tag) || !sections.Word(&length) || !sections.Bytes(length, &body)) {
            return false;
        }
        if (tag != kSectionMessages) {
            continue;  // hashes, numerus rules, dependencies: not needed for a lookup by text
        }
        Reader r(body);
        while (!r.done()) {
            Message message;
            if (!ReadMessage(r, &message)) {
                return false;
            }
            if (message.translation) {
                found.emplace(std::make_pair(message.context, message.source),
                              std::move(*message.translation));
            }
        }
    }
    messages_ = std::move(found);
    return true;
}

std::optional<std::string> QmCatalog::Translate(std::string_view context,
                                                std::string_view source) const {
    auto it = messages_.find(std::make_pair(std::string(context), std::string(source)));
    if (it == messages_.end()) {
        return std::nullopt;
    }
    return it->second;
}

}  // namespace tavlin
