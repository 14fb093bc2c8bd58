// "変換結果のプレビュー": what the chain would make of one listed file, before anything is
// written. The file is read, the chain applied in memory exactly as a run applies it (the table
// field's table for every step, binary files passed on as the run passes them), and both texts
// decoded for display from the form each is in and set side by side (line_alignment.h).
// Nothing is written, renamed or created.
//
// The work runs on a worker thread of the preview's own, so that a file of hundreds of
// megabytes leaves the window free to paint; the worker only computes and reports: it tells
// `ready` (on its own thread) that a new result can be taken, and the window takes it on its
// own thread with result(). Asking for another file while one is being worked on lets the
// worker go on to the newest wish and drop what it had. The preview waits for its worker when
// it is destroyed, so the chain's functions stay loaded while they are called.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/core/plugins/function_entry.h"
#include "host/core/run/run_options.h"
#include "host/core/tools/display_lines.h"
#include "host/core/tools/line_alignment.h"
#include "host/core/ui/display_text.h"
#include "host/core/ui/user_interface.h"

namespace host {

// What the chain made of one file.
struct PreviewResult {
    std::size_t fileIndex = 0;
    std::string path;
    std::optional<DisplayText> error;  // the file could not be read or set side by side
    DisplayLines before, after;
    std::vector<AlignedRow> rows;
    std::vector<std::size_t> changedRows;  // indices into rows, in order
    bool converted = false;                // some step converted the bytes
    bool same = false;                     // the result's bytes equal the file's
    std::optional<std::string> newName;    // the name a function would give the result
    std::vector<std::string> failedSteps;  // titles (Shift JIS) of steps that failed
    bool passedOnAsBinary = false;         // a text step left the file alone: it is binary
};

// One side of a row as a view draws it.
struct PreviewCell {
    std::optional<std::size_t> line;  // zero-based; none where the side has no line
    std::string text;                 // UTF-8, tabs expanded (ShownLine)
    LineBreak lineBreak = LineBreak::kNone;
};
enum class PreviewSide { kBefore, kAfter };
PreviewCell CellOf(const PreviewResult& result, std::size_t row, PreviewSide side);

// The label above a side: the form its bytes are in.
DisplayText SideLabel(const PreviewResult& result, PreviewSide side);
// The line under both sides: the file, its place in the list of `fileCount`, and what the
// chain did to it (or why it cannot be shown).
DisplayText PreviewSummary(const PreviewResult& result, std::size_t fileCount);

// Which file the preview opens on: the first selected row of the file list, the first file
// when none is selected. An empty list opens no preview: the user is told so (a box and the
// status line), and the answer is nothing.
std::optional<std::size_t> FirstPreviewFile(UserInterface& ui, std::size_t fileCount,
                                            const std::vector<std::size_t>& selectedRows);

// The whole preview of one file, on the calling thread.
PreviewResult PreviewFile(const std::string& path, std::size_t fileIndex, const Chain& chain,
                          const RunOptions& options);

class ConversionPreview {
  public:
    // `paths` are the file list's, `chain` and `options` the window's as they stand (copied);
    // `ready` is called on the worker's thread whenever result() has a new result.
    ConversionPreview(std::vector<std::string> paths, Chain chain, RunOptions options,
                      std::function<void()> ready);
    ConversionPreview(const ConversionPreview&) = delete;
    ConversionPreview& operator=(const ConversionPreview&) = delete;
    ~ConversionPreview();

    std::size_t fileCount() const { return paths_.size(); }
    const std::vector<std::string>& paths() const { return paths_; }
    // Starts work on file `index`; ignored outside the list.
    void Show(std::size_t index);
    // "次のファイル": the file after the one asked for last, the first after the last.
    void ShowNextFile();
    // True from Show until the worker has reported the file asked for last (after Stop: until
    // it has let go of the file it has).
    bool busy() const;
    // Asks for nothing more: the worker drops what it has once the current file's functions
    // return, and reports nothing. A window that closes waits for that while it still answers
    // the boxes the functions may show, since the worker waits for those answers.
    void Stop();
    // The file asked for last.
    std::optional<std::size_t> wanted() const;
    // The newest result; null before the first.
    std::shared_ptr<const PreviewResult> result() const;
    // "次の変更行": the first changed row after `row` (after none: the first one), from the top
    // again after the last; nothing when no row changed.
    std::optional<std::size_t> NextChangedRow(std::optional<std::size_t> row) const;

  private:
    void Work();

    const std::vector<std::string> paths_;
    const Chain chain_;
    const RunOptions options_;
    const std::function<void()> ready_;

    mutable std::mutex mutex_;
    std::optional<std::size_t> pending_;  // asked for, not yet taken by the worker
    std::optional<std::size_t> wanted_;   // asked for last
    bool working_ = false;
    bool stopping_ = false;
    std::shared_ptr<const PreviewResult> result_;
    std::thread worker_;
};

}  // namespace host
