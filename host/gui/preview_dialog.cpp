#include "host/gui/preview_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QThread>
#include <QPushButton>

#include "host/core/tools/tool_texts.h"
#include "host/gui/compare_view.h"
#include "host/gui/dialog_builder.h"
#include "host/layout/tool_dialogs.h"

namespace gui {
namespace {
namespace id = layout::preview_control;

QString Shown(const host::DisplayText& text) {
    return QString::fromStdString(text.utf8());
}
}  // namespace

PreviewDialog::PreviewDialog(std::vector<std::string> paths, const host::Chain& chain,
                             const host::RunOptions& options, std::size_t first,
                             QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, layout::kPreviewDialog);
    view_ = FindControl<CompareView>(*this, id::kView);
    // The worker's report comes on its own thread; the dialog takes the result on its own.
    preview_ = std::make_unique<host::ConversionPreview>(
        std::move(paths), chain, options,
        [this] { QMetaObject::invokeMethod(this, [this] { ShowResult(); }, Qt::QueuedConnection); });
    connect(FindControl<QPushButton>(*this, id::kNextChange), &QPushButton::clicked, this,
            &PreviewDialog::NextChange);
    connect(FindControl<QPushButton>(*this, id::kNextFile), &QPushButton::clicked, this,
            &PreviewDialog::NextFile);
    connect(FindControl<QPushButton>(*this, layout::kIdCancel), &QPushButton::clicked, this,
            &QDialog::reject);
    preview_->Show(first);
    ShowWorking();
}

// The worker is waited for before the view and the labels go. It may be waiting itself for
// a box of a plug-in to be answered, so the events go on meanwhile (the box has its own).
PreviewDialog::~PreviewDialog() {
    preview_->Stop();
    while (preview_->busy()) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        QThread::msleep(5);
    }
    preview_.reset();
}

void PreviewDialog::NextChange() {
    if (preview_->busy()) {
        return;
    }
    if (const auto row = preview_->NextChangedRow(view_->currentRow())) {
        view_->setCurrentRow(*row);
    }
}

void PreviewDialog::NextFile() {
    preview_->ShowNextFile();
    ShowWorking();
}

void PreviewDialog::ShowWorking() {
    if (!preview_->busy()) {
        return;
    }
    FindControl<QPushButton>(*this, id::kNextChange)->setEnabled(false);
    const std::size_t file = preview_->wanted().value_or(0);
    FindControl<QLabel>(*this, id::kSummary)
        ->setText(Shown(host::texts::PreviewFileOf(preview_->paths()[file], file + 1, preview_->fileCount()) + "  " +
                        host::texts::kPreviewWorking));
}

void PreviewDialog::ShowResult() {
    if (preview_->busy()) {
        return;  // a newer file is on its way
    }
    const std::shared_ptr<const host::PreviewResult> result = preview_->result();
    if (!result) {
        return;
    }
    FindControl<QLabel>(*this, id::kBeforeLabel)
        ->setText(Shown(host::SideLabel(*result, host::PreviewSide::kBefore)));
    FindControl<QLabel>(*this, id::kAfterLabel)
        ->setText(Shown(host::SideLabel(*result, host::PreviewSide::kAfter)));
    FindControl<QLabel>(*this, id::kSummary)
        ->setText(Shown(host::PreviewSummary(*result, preview_->fileCount())));
    FindControl<QPushButton>(*this, id::kNextChange)->setEnabled(!result->changedRows.empty());
    view_->setResult(result);
}

}  // namespace gui
