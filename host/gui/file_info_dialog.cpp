#include "host/gui/file_info_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "host/core/tools/cell_order.h"
#include "host/gui/dialog_builder.h"
#include "host/layout/tool_dialogs.h"

namespace gui {
namespace {

namespace id = layout::info_control;

// A cell that sorts as the core orders cells: numbers by their value, before the words.
class Cell : public QTableWidgetItem {
  public:
    explicit Cell(std::string text)
        : QTableWidgetItem(QString::fromStdString(text)), text_(std::move(text)) {}
    bool operator<(const QTableWidgetItem& other) const override {
        return host::CellLess(text_, static_cast<const Cell&>(other).text_);
    }

  private:
    std::string text_;
};

}  // namespace

FileInfoDialog::FileInfoDialog(const host::FileInfoRows& table, QWidget* parent)
    : QDialog(parent) {
    BuildDialog(*this, layout::kFileInfoDialog);
    table_ = FindControl<QTableWidget>(*this, id::kTable);
    table_->setColumnCount(static_cast<int>(table.headers.size()));
    QStringList headers;
    for (const std::string& header : table.headers) {
        headers << QString::fromStdString(header);
    }
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(static_cast<int>(table.rows.size()));
    for (std::size_t row = 0; row < table.rows.size(); ++row) {
        for (std::size_t column = 0; column < table.rows[row].size(); ++column) {
            table_->setItem(static_cast<int>(row), static_cast<int>(column),
                            new Cell(table.rows[row][column]));
        }
    }
    table_->resizeColumnsToContents();
    // The rows stand in list order until the user sorts them.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->setSortingEnabled(true);
    FindControl<QLabel>(*this, id::kSummary)
        ->setText(QString::fromStdString(host::FileInfoSummary(table).utf8()));
    connect(FindControl<QPushButton>(*this, layout::kIdCancel), &QPushButton::clicked, this,
            &QDialog::reject);
}

}  // namespace gui
