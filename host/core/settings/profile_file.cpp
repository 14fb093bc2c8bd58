#include "host/core/settings/profile_file.h"

#include <limits>

#include "platform/sjis_bytes.h"
#include "platform/text_encoding.h"
#include "platform/utf8_text.h"

namespace host {
namespace {

// Profiles are small; anything larger is not one (and is not read whole into memory).
constexpr std::uint64_t kMaxProfileSize = 64ull << 20;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

using platform::sjis::AsciiLower;

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

// The name of a section line ("[ name ]" gives "name"), or nothing for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() != '[') {
        return std::nullopt;
    }
    std::string_view name = text.substr(1);
    const auto close = name.find(']');
    if (close != std::string_view::npos) {
        name = name.substr(0, close);
    }
    return Trim(name);
}

struct Entry {
    std::string_view key;
    std::string_view value;  // trimmed, quotes not yet removed
};

// The key and value of an entry line, or nothing for other lines (comments, blank lines,
// lines without "=" or with nothing before it).
std::optional<Entry> EntryOf(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';' || text.front() == '[') {
        return std::nullopt;
    }
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = Trim(text.substr(0, equals));
    if (key.empty()) {
        return std::nullopt;
    }
    return Entry{key, Trim(text.substr(equals + 1))};
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool ValidName(std::string_view name) {
    if (Trim(name).empty() || Trim(name).size() != name.size()) {
        return false;
    }
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F || c == '=' || c == '[' || c == ']' || c == ';') {
            return false;
        }
    }
    return true;
}

std::string EntryLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    const bool needsQuotes =
        !value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) ||
         (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
    if (needsQuotes) {
        line += '"';
        line += value;
        line += '"';
    } else {
        line += value;
    }
    return line;
}

}  // namespace

ProfileFile ProfileFile::FromBytes(std::string_view bytes) {
    ProfileFile profile;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        profile.byteOrderMark_ = true;
        bytes.remove_prefix(3);
    }
    profile.cp932_ = !platform::IsWellFormedUtf8(bytes);
    profile.crLf_ = bytes.find("\r\n") != std::string_view::npos;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        profile.lines_.emplace_back(line);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return profile;
}

ProfileFile ProfileFile::Read(const std::string& path, std::string* failure) {
    ReadResult read = ReadWholeFile(path, kMaxProfileSize);
    if (failure != nullptr) {
        failure->clear();
    }
    if (read.status != ReadStatus::kOk) {
        if (failure != nullptr) {
            *failure =
                read.status == ReadStatus::kTooLarge ? std::string("File too large") : read.reason;
        }
        return ProfileFile();
    }
    return FromBytes(
        std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
}

std::optional<ProfileFile::Range> ProfileFile::FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = SectionName(lines_[i]);
        if (name && SameName(*name, section)) {
            std::size_t last = i + 1;
            while (last < lines_.size() && !SectionName(lines_[last])) {
                ++last;
            }
            return Range{i, i + 1, last};
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileFile::FindKeyLine(const Range& range,
                                                    std::string_view key) const {
    for (std::size_t i = range.first; i < range.last; ++i) {
        const auto entry = EntryOf(lines_[i]);
        if (entry && SameName(entry->key, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> ProfileFile::RawValue(std::string_view section,
                                                      std::string_view key) const {
    const auto range = FindSection(section);
    if (!range) {
        return std::nullopt;
    }
    const auto line = FindKeyLine(*range, key);
    if (!line) {
        return std::nullopt;
    }
    return Unquote(EntryOf(lines_[*line])->value);
}

std::optional<std::string> ProfileFile::Find(std::string_view section, std::string_view key) const {
    const auto raw = RawValue(section, key);
    if (!raw) {
        return std::nullopt;
    }
    return cp932_ ? platform::Cp932ToUtf8(*raw) : std::string(*raw);
}

std::string ProfileFile::GetString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    auto value = Find(section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::optional<std::string> ProfileFile::FindCp932(std::string_view section,
                                                  std::string_view key) const {
    const auto raw = RawValue(section, key);
    if (!raw) {
        return std::nullopt;
    }
    return cp932_ ? std::string(*raw) : platform::Utf8ToCp932(*raw);
}

long long ProfileFile::GetInteger(std::string_view section, std::string_view key,
                                  long long defaultValue) const {
    const auto raw = RawValue(section, key);
    if (!raw || raw->empty()) {
        return defaultValue;
    }
    std::string_view text = *raw;
    bool negative = false;
    if (text.front() == '-' || text.front() == '+') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    constexpr unsigned long long kLimit = std::numeric_limits<long long>::max();
    unsigned long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > kLimit) {
            return negative ? std::numeric_limits<long long>::min()
                            : std::numeric_limits<long long>::max();
        }
    }
    return negative ? -static_cast<long long>(value) : static_cast<long long>(value);
}

void ProfileFile::MakeUtf8() {
    if (!cp932_) {
        return;
    }
    for (auto& line : lines_) {
        line = platform::Cp932ToUtf8(line);
    }
    cp932_ = false;
}

bool ProfileFile::SetString(std::string_view section, std::string_view key,
                            std::string_view value) {
    if (!ValidName(section) || !ValidName(key) ||
        value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos ||
        !platform::IsWellFormedUtf8(value)) {
        return false;
    }
    MakeUtf8();
    const auto range = FindSection(section);
    if (!range) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(EntryLine(key, value));
        return true;
    }
    if (const auto line = FindKeyLine(*range, key)) {
        // Keep the key as the file spells it, and whatever blanks lead the line.
        const std::string& old = lines_[*line];
        const std::size_t indent = old.find_first_not_of(" \t\r\f\v");
        const std::string spelled(EntryOf(old)->key);
        lines_[*line] = old.substr(0, indent) + EntryLine(spelled, value);
        return true;
    }
    std::size_t at = range->last;
    while (at > range->first && Trim(lines_[at - 1]).empty()) {
        --at;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), EntryLine(key, value));
    return true;
}

bool ProfileFile::WriteSection(std::string_view section,
                               const std::vector<std::pair<std::string, std::string>>& entries) {
    if (!ValidName(section)) {
        return false;
    }
    for (const auto& [key, value] : entries) {
        if (!ValidName(key) ||
            value.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
            !platform::IsWellFormedUtf8(value)) {
            return false;
        }
    }
    if (HasSection(section)) {
        for (const auto& [key, value] : entries) {
            SetString(section, key, value);
        }
        return true;
    }
    MakeUtf8();
    if (!lines_.empty() && !Trim(lines_.back()).empty()) {
        lines_.emplace_back();
    }
    lines_.push_back("[" + std::string(section) + "]");
    for (const auto& [key, value] : entries) {
        lines_.push_back(EntryLine(key, value));
    }
    return true;
}

ProfileSection ProfileFile::Section(std::string_view section) const {
    ProfileSection result;
    result.cp932_ = cp932_;
    if (const auto range = FindSection(section)) {
        for (std::size_t i = range->first; i < range->last; ++i) {
            if (const auto entry = EntryOf(lines_[i])) {
                ++result.keyCount_;
                std::string folded(entry->key);
                for (char& c : folded) {
                    c = AsciiLower(c);
                }
                auto& value = result.values_[std::move(folded)];
                if (value.occurrences++ == 0) {
                    value.raw = Unquote(entry->value);
                }
            }
        }
    }
    return result;
}

std::optional<std::string> ProfileSection::Find(std::string_view key) const {
    const auto raw = Raw(key);
    if (!raw) {
        return std::nullopt;
    }
    return cp932_ ? platform::Cp932ToUtf8(*raw) : std::string(*raw);
}

std::optional<std::string> ProfileSection::FindCp932(std::string_view key) const {
    const auto raw = Raw(key);
    if (!raw) {
        return std::nullopt;
    }
    return cp932_ ? std::string(*raw) : platform::Utf8ToCp932(*raw);
}

const ProfileSection::Value* ProfileSection::Lookup(std::string_view key) const {
    std::string folded(key);
    for (char& c : folded) {
        c = AsciiLower(c);
    }
    const auto found = values_.find(folded);
    return found == values_.end() ? nullptr : &found->second;
}

const std::string* ProfileSection::Raw(std::string_view key) const {
    const Value* value = Lookup(key);
    return value == nullptr ? nullptr : &value->raw;
}

std::vector<std::string> ProfileSection::FoldedKeys() const {
    std::vector<std::string> keys;
    keys.reserve(values_.size());
    for (const auto& [key, value] : values_) {
        keys.push_back(key);
    }
    return keys;
}

std::size_t ProfileSection::Occurrences(std::string_view key) const {
    const Value* value = Lookup(key);
    return value == nullptr ? 0 : value->occurrences;
}

void ProfileFile::SetInteger(std::string_view section, std::string_view key, long long value) {
    SetString(section, key, std::to_string(value));
}

bool ProfileFile::DeleteKey(std::string_view section, std::string_view key) {
    const auto range = FindSection(section);
    if (!range) {
        return false;
    }
    const auto line = FindKeyLine(*range, key);
    if (!line) {
        return false;
    }
    MakeUtf8();
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
    return true;
}

bool ProfileFile::DeleteSection(std::string_view section) {
    bool removed = false;
    while (const auto range = FindSection(section)) {
        MakeUtf8();
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->last));
        removed = true;
    }
    return removed;
}

bool ProfileFile::HasSection(std::string_view section) const {
    return FindSection(section).has_value();
}

std::vector<std::string> ProfileFile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const auto range = FindSection(section)) {
        for (std::size_t i = range->first; i < range->last; ++i) {
            if (const auto entry = EntryOf(lines_[i])) {
                names.push_back(cp932_ ? platform::Cp932ToUtf8(entry->key)
                                       : std::string(entry->key));
            }
        }
    }
    return names;
}

std::size_t ProfileFile::KeyCount(std::string_view section) const {
    std::size_t count = 0;
    if (const auto range = FindSection(section)) {
        for (std::size_t i = range->first; i < range->last; ++i) {
            if (EntryOf(lines_[i])) {
                ++count;
            }
        }
    }
    return count;
}

std::string ProfileFile::Bytes(ProfileForm form) const {
    const bool windows = form == ProfileForm::kWindows && !cp932_;
    // The Windows form is code page 932 unless some line holds a character it lacks, which
    // would not read back as it was.
    std::vector<std::string> encoded;
    if (windows) {
        encoded.reserve(lines_.size());
        for (const auto& line : lines_) {
            encoded.push_back(platform::Utf8ToCp932(line));
            if (platform::Cp932ToUtf8(encoded.back()) != line) {
                encoded.clear();
                break;
            }
        }
    }
    const bool inCp932 = windows && encoded.size() == lines_.size();
    const bool mark = windows ? !inCp932 : byteOrderMark_;
    const std::vector<std::string>& lines = inCp932 ? encoded : lines_;
    std::string bytes = mark ? "\xEF\xBB\xBF" : "";
    const char* end = crLf_ || windows ? "\r\n" : "\n";
    for (const auto& line : lines) {
        bytes += line;
        bytes += end;
    }
    return bytes;
}

WriteResult ProfileFile::Save(const std::string& path) const {
    const std::string bytes = Bytes();
    return ReplaceFileContent(path, reinterpret_cast<const unsigned char*>(bytes.data()),
                              bytes.size());
}

}  // namespace host
