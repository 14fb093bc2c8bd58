// A private-profile file: the ini format that the settings and the regular-expression tool's
// history are kept in, read and written the way the Windows profile
// functions do it.
//
// Format: section lines "[Name]", entry lines "key=value", comment lines beginning with ";",
// anything else kept as it stands. Section and key names are matched without regard to the
// case of ASCII letters, and with blanks around them ignored; where a section or key appears
// twice, the first one counts. A value is read without the blanks (spaces, tabs) around it,
// and a value enclosed in a pair of double (or single) quotes is read without them.
//
// Writing a key, deleting a key and deleting a section change only the lines concerned: every
// other section, key, comment, blank line and the order of the lines stay as they were. A new
// key goes after the last line of its section that is not blank; a new section goes at the
// end of the file, after a blank line.
//
// Text encoding. Every name and value crosses this interface in UTF-8. The file's own bytes
// are UTF-8 when they are valid UTF-8 (a leading byte-order mark is allowed and kept), else
// Shift JIS (code page 932), as a file written by the Windows profile functions on a Japanese
// system is. A Shift JIS file stays byte for byte as read until something is written to it.
// How a changed or new file is saved depends on the system (ProfileForm):
// - on Windows, as the profile functions write it, in code page 932 with CR LF, when every
//   line fits the code page; otherwise in UTF-8 with a byte-order mark and CR LF, so that no
//   name or path is ever written with "?" in place of a character;
// - elsewhere in UTF-8 (a byte-order mark the file had is kept); a file that has a CR LF keeps
//   CR LF, every other file is written with LF.
// Either system reads what the other writes.
//
// One file in memory at a time: read it, look up and change what is needed, save it. The
// files are small; nothing is cached between operations.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/core/files/whole_file.h"

namespace host {

class ProfileSection;

enum class ProfileForm { kUtf8, kWindows };
#ifdef _WIN32
constexpr ProfileForm kSystemProfileForm = ProfileForm::kWindows;
#else
constexpr ProfileForm kSystemProfileForm = ProfileForm::kUtf8;
#endif

class ProfileFile {
  public:
    // An empty profile: every lookup gives the caller's default.
    ProfileFile() = default;

    // The profile held by the file at `path`. A file that does not exist or cannot be read
    // gives an empty profile; `failure`, when given, then receives the system's reason (and
    // is emptied when the file was read).
    static ProfileFile Read(const std::string& path, std::string* failure = nullptr);

    // The profile held by `bytes`, as if read from a file.
    static ProfileFile FromBytes(std::string_view bytes);

    // The value of `key` in `section` (UTF-8), or nothing when there is no such key.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // The value of `key` in `section`, or `defaultValue` when there is no such key.
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) const;
    // The value in Shift JIS (code page 932): the file's own bytes when the file is Shift
    // JIS, else the UTF-8 value converted. This is how function titles are compared.
    std::optional<std::string> FindCp932(std::string_view section, std::string_view key) const;
    // The value read as an integer the way the Windows profile functions read one: a missing
    // key or an empty value gives `defaultValue`; otherwise an optional sign and the decimal
    // digits that follow it ("12abc" is 12, "abc" is 0); values beyond the 64-bit range are
    // clamped to it.
    long long GetInteger(std::string_view section, std::string_view key,
                         long long defaultValue) const;

    // Writes `key`=`value` into `section`, replacing the key's value when it exists and adding
    // the section when it does not. A value with blanks at either end, or enclosed in
    // matching quotes, is written within double quotes so that it reads back unchanged.
    // Returns false, and changes nothing, when the value cannot be kept in a profile: it holds
    // a line break or a zero byte, or it is not valid UTF-8. Names must be non-empty ASCII
    // without line breaks, "=", "[" or "]" (false otherwise).
    bool SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInteger(std::string_view section, std::string_view key, long long value);
    // Writes many keys at once (each as SetString would); a section that does not exist yet
    // is added at the end with the keys in the order given, in one pass. Returns false, and
    // changes nothing, when any name or value cannot be kept (see SetString).
    bool WriteSection(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& entries);

    // Every key of `section` at once, for reading many keys without going through the file
    // for each (a list of thousands of files).
    ProfileSection Section(std::string_view section) const;

    // Remove one key / every occurrence of a section with all its lines (comments included).
    // Return whether anything was removed.
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

    bool HasSection(std::string_view section) const;
    // The key names of `section` in file order (UTF-8, as written in the file), duplicates
    // included; empty when there is no such section.
    std::vector<std::string> KeyNames(std::string_view section) const;
    // How many entry lines `section` has (what KeyNames(section).size() would give).
    std::size_t KeyCount(std::string_view section) const;

    // True while the profile holds the Shift JIS text of a file that has not been written to.
    bool IsCp932() const { return cp932_; }

    // The file's bytes as they would be saved in `form`.
    std::string Bytes(ProfileForm form = kSystemProfileForm) const;

    // Saves the profile to `path` through a temporary file in the same folder and a rename:
    // the file is either replaced whole or left as it was. The folder must exist.
    WriteResult Save(const std::string& path) const;

  private:
    // [first, last) of the lines after the header of the first `section`; nothing without one.
    struct Range {
        std::size_t header;
        std::size_t first;
        std::size_t last;
    };
    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKeyLine(const Range& range, std::string_view key) const;
    std::optional<std::string_view> RawValue(std::string_view section, std::string_view key) const;
    void MakeUtf8();

    std::vector<std::string> lines_;  // without their line ends
    bool cp932_ = false;
    bool byteOrderMark_ = false;
    bool crLf_ = false;
};

// The keys and values of one section, as ProfileFile::Section took them.
class ProfileSection {
  public:
    // As ProfileFile::Find and ProfileFile::FindCp932, for a key of this section.
    std::optional<std::string> Find(std::string_view key) const;
    std::optional<std::string> FindCp932(std::string_view key) const;
    // Number of entry lines of the section, duplicates included.
    std::size_t keyCount() const { return keyCount_; }
    // Number of entry lines of the section with the name `key` (0 when there is none).
    std::size_t Occurrences(std::string_view key) const;
    // The distinct key names, ASCII letters in lower case, in no particular order.
    std::vector<std::string> FoldedKeys() const;

  private:
    friend class ProfileFile;
    struct Value {
        std::string raw;  // of the first occurrence, in the file's encoding
        std::size_t occurrences = 0;
    };
    const Value* Lookup(std::string_view key) const;
    const std::string* Raw(std::string_view key) const;

    std::unordered_map<std::string, Value> values_;  // by folded key
    std::size_t keyCount_ = 0;
    bool cp932_ = false;
};

}  // namespace host
