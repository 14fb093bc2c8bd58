// 'info': what each file is (host/core/tools/file_info.h), one line per file, tab-separated
// in the table's column order, or one JSON object per line.
#include <cstdio>
#include <string>

#include "host/cli/commands.h"
#include "host/cli/file_arguments.h"
#include "host/core/tools/file_info.h"
#include "platform/utf8_text.h"

namespace cli {
namespace {

// `text` as a JSON string. Bytes that are no UTF-8 (a path in another encoding) become
// U+FFFD, since JSON cannot carry them.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = platform::Utf8SequenceLength(text, i);
            out += length == 0 ? "\xEF\xBF\xBD" : text.substr(i, length);
            i += length == 0 ? 1 : length;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

std::string JsonCount(std::uint64_t value) {
    return std::to_string(value);
}

// Every key is always there; what does not apply to the file is null.
std::string JsonLine(const host::FileInfo& info) {
    const bool text = info.readable && !info.binary;
    const std::vector<std::string> cells = host::FileInfoCells(info);
    std::string line = "{\"path\":" + JsonString(info.path);
    line += ",\"encoding\":" + (info.readable ? JsonString(cells[1]) : std::string("null"));
    line += ",\"encswap\":" +
            (info.encswapGuess ? JsonString(platform::LegacyGuessName(*info.encswapGuess))
                               : std::string("null"));
    const auto counted = [&](std::uint64_t value) {
        return text ? JsonCount(value) : std::string("null");
    };
    line += ",\"lineBreaks\":" + (text ? JsonString(cells[3]) : std::string("null"));
    line += ",\"crlf\":" + counted(info.breaks.crlf) + ",\"lf\":" + counted(info.breaks.lf) +
            ",\"cr\":" + counted(info.breaks.cr);
    line += ",\"halfWidthKana\":" +
            (text ? std::string(info.halfWidthKana ? "true" : "false") : std::string("null"));
    line += ",\"nec\":" + counted(info.nec) + ",\"ibm\":" + counted(info.ibm) +
            ",\"mac\":" + counted(info.mac);
    line += ",\"notInShiftJis\":" +
            (info.notInShiftJis ? JsonCount(*info.notInShiftJis) : std::string("null"));
    line += ",\"size\":" + (info.readable ? JsonCount(info.size) : std::string("null"));
    line += ",\"binary\":" + (info.readable ? std::string(info.binary ? "true" : "false")
                                            : std::string("null"));
    line += ",\"binaryReason\":" +
            (info.binary ? JsonString(info.binaryReason) : std::string("null"));
    line += ",\"error\":" + (info.readable ? std::string("null") : JsonString(info.error));
    return line + "}\n";
}

std::string TableLine(const host::FileInfo& info) {
    std::string line;
    for (const std::string& cell : host::FileInfoCells(info)) {
        line += (line.empty() ? "" : "\t") + cell;
    }
    return line + "\n";
}

}  // namespace

int RunInfo(const Arguments& arguments, std::FILE* out, std::FILE* err) {
    const host::FileList files = CollectFiles(arguments.paths);
    int status = kExitOk;
    for (const std::string& path : files.paths()) {
        const host::FileInfo info = host::ReadAndDescribeFile(path);
        if (!info.readable) {
            std::fprintf(err, "polyshift-cli: cannot read '%s': %s\n", path.c_str(),
                         info.error.c_str());
            status = kExitFilesFailed;
        }
        const std::string line = arguments.json ? JsonLine(info) : TableLine(info);
        std::fwrite(line.data(), 1, line.size(), out);
    }
    return status;
}

}  // namespace cli
