#include "host/cli/terminal_ui.h"

#include "platform/message_box.h"
#include "platform/text_encoding.h"

namespace cli {
namespace {

const char* AnswerWord(int answer) {
    switch (answer) {
        case platform::kAnswerYes:
            return "はい";
        case platform::kAnswerNo:
            return "いいえ";
        case platform::kAnswerCancel:
            return "キャンセル";
        default:
            return "OK";
    }
}

}  // namespace

TerminalUi::TerminalUi(std::FILE* out, bool answerOverwriteYes, bool drawProgress)
    : out_(out), answerOverwriteYes_(answerOverwriteYes), drawProgress_(drawProgress) {}

TerminalUi::~TerminalUi() { ClearProgress(); }

int TerminalUi::showMessage(const host::Message& message) {
    const int answer = AnswerFor(message.kind, message.style);
    ClearProgress();
    std::string line = message.title.utf8() + ": " + message.text.utf8();
    const unsigned buttons = message.style & platform::kButtonsMask;
    if (buttons == platform::kButtonsYesNo || buttons == platform::kButtonsYesNoCancel) {
        line += std::string(" -> ") + AnswerWord(answer);
        if (message.kind == host::MessageKind::kOverwriteQuestion && !answerOverwriteYes_) {
            line += " (-y answers はい)";
        }
    }
    line += '\n';
    std::fputs(line.c_str(), out_);
    DrawProgress();
    return answer;
}

host::PresetAnswers TerminalUi::answers() const {
    return [this](host::MessageKind kind, unsigned style) { return AnswerFor(kind, style); };
}

int TerminalUi::AnswerFor(host::MessageKind kind, unsigned style) const {
    // The command itself started the run, which goes on past errors; only overwriting
    // depends on -y. Anything else takes the box's default button.
    switch (kind) {
        case host::MessageKind::kRunConfirmation:
            return platform::kAnswerYes;
        case host::MessageKind::kOverwriteQuestion:
            return answerOverwriteYes_ ? platform::kAnswerYes : platform::kAnswerNo;
        case host::MessageKind::kInputError:
        case host::MessageKind::kOutputError:
            return platform::kAnswerOk;
        default:
            return platform::DefaultAnswer(style);
    }
}

void TerminalUi::setProgressRange(int low, int high) {
    low_ = low;
    high_ = high;
    position_ = low;
    DrawProgress();
}

void TerminalUi::setProgressPosition(int position) {
    position_ = position;
    DrawProgress();
}

std::optional<std::string> TerminalUi::selectTableFile(const std::string& functionTitle,
                                                       const std::string& /*currentPath*/) {
    ClearProgress();
    const std::string line = "polyshift-cli: \"" + platform::Cp932ToUtf8(functionTitle) +
                             "\" needs a conversion table (-t TABLE); running it without one\n";
    std::fputs(line.c_str(), out_);
    DrawProgress();
    return std::nullopt;
}

void TerminalUi::note(const host::DisplayText& text) {
    ClearProgress();
    const std::string line = "polyshift-cli: " + text.utf8() + "\n";
    std::fputs(line.c_str(), out_);
    DrawProgress();
}

void TerminalUi::DrawProgress() {
    if (!drawProgress_ || high_ <= low_) {
        return;
    }
    constexpr int kWidth = 40;
    const long long span = static_cast<long long>(high_) - low_;
    const long long done = static_cast<long long>(position_) - low_;
    const int filled = static_cast<int>(done * kWidth / span);
    std::string bar = "\r[";
    bar.append(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), ' ');
    bar += "] " + std::to_string(done) + "/" + std::to_string(span);
    std::fputs(bar.c_str(), out_);
    std::fflush(out_);
    progressShown_ = true;
}

void TerminalUi::ClearProgress() {
    if (progressShown_) {
        std::fputs("\r\x1b[K", out_);
        progressShown_ = false;
    }
}

}  // namespace cli
