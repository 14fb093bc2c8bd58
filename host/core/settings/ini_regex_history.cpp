#include "host/core/settings/ini_regex_history.h"

#include "host/core/settings/profile_file.h"
#include "host/core/settings/settings.h"
#include "platform/text_encoding.h"

namespace host {

RegexHistory IniRegexHistoryStore::Load() {
    const ProfileFile profile = ProfileFile::Read(iniPath_);
    const ProfileSection section = profile.Section(kRegExpListSection);
    RegexHistory history;
    for (std::size_t i = 0; i < kRegexHistorySize; ++i) {
        history[i] = section.FindCp932(RegexHistoryKey(i + 1)).value_or("");
    }
    return history;
}

void IniRegexHistoryStore::Save(const RegexHistory& history) {
    ProfileFile profile = ProfileFile::Read(iniPath_);
    std::vector<std::pair<std::string, std::string>> entries;
    for (std::size_t i = 0; i < kRegexHistorySize; ++i) {
        if (!history[i].empty()) {
            entries.emplace_back(RegexHistoryKey(i + 1), platform::Cp932ToUtf8(history[i]));
        }
    }
    profile.DeleteSection(kRegExpListSection);
    if (!entries.empty() && !profile.WriteSection(kRegExpListSection, entries)) {
        return;
    }
    SaveIniFile(profile, iniPath_);
}

}  // namespace host
