#include "regex_test_util.h"

namespace regex_test {

Record Compile(std::string_view pattern, uint32_t flags, std::string* error) {
    char text[regex::kErrorTextSize] = "garbage";
    Record rx(regex::CompilePattern(pattern.data(), pattern.data() + pattern.size(), &flags, text));
    if (error != nullptr) {
        *error = text;
    }
    return rx;
}

std::string CompileError(std::string_view pattern, uint32_t flags) {
    std::string error;
    Compile(pattern, flags, &error);
    return error;
}

std::string MatchWith(regex::RegexRecord* rx, std::string_view subject, std::size_t start,
                      uint32_t minEnd) {
    // The subject sits in a buffer whose byte after the end is not a NUL.
    std::vector<char> text = Unterminated(subject);
    char error[regex::kErrorTextSize] = "garbage";
    const int found = regex::ExecutePattern(rx, text.data() + start, text.data() + subject.size(),
                                            text.data(), minEnd, 1, error);
    if (error[0] != '\0') {
        return std::string("error: ") + error;
    }
    if (!found) {
        return "no match";
    }
    std::string out;
    for (int i = 0; i <= rx->groupCount; ++i) {
        if (i > 0) {
            out += ' ';
        }
        if (rx->endp[i] == nullptr || rx->startp[i] == nullptr) {
            out += '-';
            continue;
        }
        out += '[' + std::to_string(rx->startp[i] - text.data()) + ',' +
               std::to_string(rx->endp[i] - text.data()) + ')';
    }
    return out;
}

std::string Match(std::string_view pattern, std::string_view subject, uint32_t flags) {
    std::string error;
    Record rx = Compile(pattern, flags, &error);
    if (!rx) {
        return "compile error: " + error;
    }
    return MatchWith(rx.get(), subject);
}

std::vector<char> Unterminated(std::string_view subject) {
    std::vector<char> text(subject.begin(), subject.end());
    text.push_back('x');
    return text;
}

}  // namespace regex_test
