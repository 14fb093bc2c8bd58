#include "host/core/workbench/conversion_preview.h"

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

#include "host/core/buffers/buffer_pool.h"
#include "host/core/files/whole_file.h"
#include "host/core/run/apply_chain.h"
#include "host/core/tools/tool_texts.h"
#include "host/core/ui/host_texts.h"
#include "platform/message_box.h"
#include "platform/paths.h"

namespace host {
namespace {

std::span<const unsigned char> Bytes(const SourceBytes& bytes) {
    return {bytes.data(), bytes.size()};
}

// The chain over the bytes read, as a run applies it, and both sides set side by side.
void Compare(PreviewResult& result, std::span<const unsigned char> input, const Chain& chain,
             const RunOptions& options) {
    FixedTable table(options.tablePath);
    BufferPool pool;
    // Each step names the result after its conversion, as in a run.
    const ChainOutcome outcome =
        ApplyChain(input, chain, &result.path, table, pool, {}, nullptr,
                   options.convertBinary ? BinaryInput::kConvert : BinaryInput::kPassOn);
    const std::span<const unsigned char> output =
        outcome.converted ? std::span<const unsigned char>(outcome.bytes.data(),
                                                           outcome.bytes.size())
                          : input;
    result.converted = outcome.converted;
    result.same = std::equal(input.begin(), input.end(), output.begin(), output.end());
    result.newName = outcome.newName;
    for (const std::size_t step : outcome.failedSteps) {
        result.failedSteps.push_back(chain[step].title);
    }
    result.passedOnAsBinary = !outcome.binarySkips.empty();
    result.before = DisplayLines::Decode(input);
    result.after = DisplayLines::Decode(output);
    result.rows = AlignLines(result.before, result.after);
    for (std::size_t row = 0; row < result.rows.size(); ++row) {
        if (result.rows[row].changed) {
            result.changedRows.push_back(row);
        }
    }
}

}  // namespace

PreviewCell CellOf(const PreviewResult& result, std::size_t row, PreviewSide side) {
    PreviewCell cell;
    if (row >= result.rows.size()) {
        return cell;
    }
    const bool before = side == PreviewSide::kBefore;
    const std::uint32_t line = before ? result.rows[row].before : result.rows[row].after;
    if (line == AlignedRow::kNoLine) {
        return cell;
    }
    const DisplayLines& lines = before ? result.before : result.after;
    cell.line = line;
    cell.text = ShownLine(lines.Text(line));
    cell.lineBreak = lines.Break(line);
    return cell;
}

DisplayText SideLabel(const PreviewResult& result, PreviewSide side) {
    const bool before = side == PreviewSide::kBefore;
    if (result.error) {
        return before ? texts::PreviewBeforeLabel("") : texts::PreviewAfterLabel("");
    }
    const DisplayLines& lines = before ? result.before : result.after;
    const std::string form = lines.binary() ? texts::PreviewBinaryForm(lines.binaryReason())
                                            : platform::TextFormName(lines.form());
    return before ? texts::PreviewBeforeLabel(form) : texts::PreviewAfterLabel(form);
}

DisplayText PreviewSummary(const PreviewResult& result, std::size_t fileCount) {
    DisplayText summary = texts::PreviewFileOf(result.path, result.fileIndex + 1, fileCount);
    const auto add = [&summary](const DisplayText& part) {
        summary += "  ";
        summary += part;
    };
    if (result.error) {
        add(*result.error);
        return summary;
    }
    add(result.same ? texts::kPreviewUnchanged
                    : texts::PreviewChangedLines(result.changedRows.size()));
    if (result.newName) {
        add(texts::PreviewNewName(std::string(platform::FileNameOf(*result.newName))));
    }
    if (result.passedOnAsBinary) {
        add(texts::kPreviewBinaryPassedOn);
    }
    if (!result.failedSteps.empty()) {
        add(texts::PreviewFailedSteps(result.failedSteps));
    }
    if (const std::size_t faults = result.before.faults() + result.after.faults()) {
        add(texts::PreviewUndecodable(faults));
    }
    return summary;
}

std::optional<std::size_t> FirstPreviewFile(UserInterface& ui, std::size_t fileCount,
                                            const std::vector<std::size_t>& selectedRows) {
    if (fileCount == 0) {
        ui.messageBox(MessageKind::kCommandError, texts::kPreviewNoFiles, texts::kTitleError,
                      platform::kIconStop | platform::kButtonsOk);
        ui.setStatusText(texts::kPreviewNoFiles);
        return std::nullopt;
    }
    std::optional<std::size_t> first;
    for (const std::size_t row : selectedRows) {
        if (row < fileCount && (!first || row < *first)) {
            first = row;
        }
    }
    return first.value_or(0);
}

namespace {
PreviewResult Failed(const std::string& path, std::size_t fileIndex, DisplayText error) {
    PreviewResult result;
    result.fileIndex = fileIndex;
    result.path = path;
    result.error = std::move(error);
    return result;
}
}  // namespace

PreviewResult PreviewFile(const std::string& path, std::size_t fileIndex, const Chain& chain,
                          const RunOptions& options) {
    PreviewResult result;
    result.fileIndex = fileIndex;
    result.path = path;
    try {
        const ReadResult read = ReadWholeFile(path);
        if (read.status == ReadStatus::kTooLarge) {
            result.error = texts::SourceTooLarge(path);
        } else if (read.status != ReadStatus::kOk) {
            result.error = texts::CannotReadSource(path, read.reason);
        } else {
            Compare(result, Bytes(read.bytes), chain, options);
            if (!read.bytes.intact()) {
                result = Failed(path, fileIndex, texts::PreviewFileChanged(path));
            }
        }
    } catch (const std::bad_alloc&) {
        result = Failed(path, fileIndex, texts::PreviewTooLarge(path));
    } catch (const std::length_error&) {
        result = Failed(path, fileIndex, texts::PreviewTooLarge(path));
    }
    return result;
}

ConversionPreview::ConversionPreview(std::vector<std::string> paths, Chain chain,
                                     RunOptions options, std::function<void()> ready)
    : paths_(std::move(paths)),
      chain_(std::move(chain)),
      options_(std::move(options)),
      ready_(std::move(ready)) {}

ConversionPreview::~ConversionPreview() {
    Stop();
    if (worker_.joinable()) {
        worker_.join();
    }
}

void ConversionPreview::Stop() {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    pending_.reset();
}

void ConversionPreview::Show(std::size_t index) {
    if (index >= paths_.size()) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (stopping_) {
        return;
    }
    pending_ = index;
    wanted_ = index;
    if (working_) {
        return;  // the worker takes it when it is done with the file it has
    }
    if (worker_.joinable()) {
        worker_.join();  // ended: it let go of working_ as its last act
    }
    working_ = true;
    worker_ = std::thread([this] { Work(); });
}

void ConversionPreview::ShowNextFile() {
    const std::optional<std::size_t> last = wanted();
    if (paths_.empty()) {
        return;
    }
    Show(last ? (*last + 1) % paths_.size() : 0);
}

bool ConversionPreview::busy() const {
    std::lock_guard lock(mutex_);
    return working_;
}

std::optional<std::size_t> ConversionPreview::wanted() const {
    std::lock_guard lock(mutex_);
    return wanted_;
}

std::shared_ptr<const PreviewResult> ConversionPreview::result() const {
    std::lock_guard lock(mutex_);
    return result_;
}

std::optional<std::size_t> ConversionPreview::NextChangedRow(std::optional<std::size_t> row) const {
    const std::shared_ptr<const PreviewResult> shown = result();
    if (!shown || shown->changedRows.empty()) {
        return std::nullopt;
    }
    const std::vector<std::size_t>& changed = shown->changedRows;
    if (!row) {
        return changed.front();
    }
    const auto next = std::upper_bound(changed.begin(), changed.end(), *row);
    return next == changed.end() ? changed.front() : *next;
}

void ConversionPreview::Work() {
    for (;;) {
        std::size_t index = 0;
        {
            std::lock_guard lock(mutex_);
            if (stopping_ || !pending_) {
                working_ = false;
                return;
            }
            index = *pending_;
            pending_.reset();
        }
        auto made = std::make_shared<const PreviewResult>(
            PreviewFile(paths_[index], index, chain_, options_));
        bool report = false;
        {
            std::lock_guard lock(mutex_);
            // A newer wish replaces this result before anybody sees it.
            if (!stopping_ && !pending_) {
                result_ = std::move(made);
                working_ = false;
                report = true;
            }
        }
        if (report) {
            if (ready_) {
                ready_();
            }
            return;
        }
    }
}

}  // namespace host
