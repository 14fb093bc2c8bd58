// "変換結果のプレビュー": the dialog over a host::ConversionPreview. It names the form of each
// side above it, shows both in the compare view, says under them which file it is and what the
// chain did, and steps to the next changed line and to the next file. The preview's worker
// reports through a queued call, so the dialog keeps painting while a large file is worked on.
#pragma once

#include <QDialog>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "host/core/workbench/conversion_preview.h"

namespace gui {

class CompareView;

class PreviewDialog : public QDialog {
  public:
    // Opens on file `first` of `paths`.
    PreviewDialog(std::vector<std::string> paths, const host::Chain& chain,
                  const host::RunOptions& options, std::size_t first, QWidget* parent);
    ~PreviewDialog() override;

    const host::ConversionPreview& preview() const { return *preview_; }
    CompareView& view() { return *view_; }

    // "次の変更行(&N)" and "次のファイル(&F)".
    void NextChange();
    void NextFile();

  private:
    // What the window shows while the worker is busy, and once it has reported.
    void ShowWorking();
    void ShowResult();

    CompareView* view_ = nullptr;
    std::unique_ptr<host::ConversionPreview> preview_;
};

}  // namespace gui
