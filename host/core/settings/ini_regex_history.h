// The regular-expression tool's history in the ini file, section "RegExp List".
#pragma once

#include <string>

#include "host/core/settings/regex_history.h"

namespace host {

class IniRegexHistoryStore : public RegexHistoryStore {
  public:
    explicit IniRegexHistoryStore(std::string iniPath) : iniPath_(std::move(iniPath)) {}

    // Each entry read in Shift JIS; a missing key (or ini file) gives an empty entry.
    RegexHistory Load() override;
    // Replaces the whole section by the non-empty entries, each under its own key; the rest
    // of the file stays as it was. A file that cannot be written is left alone.
    void Save(const RegexHistory& history) override;

  private:
    std::string iniPath_;
};

}  // namespace host
