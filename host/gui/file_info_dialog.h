// "文字コードの判定": the file information of every listed file in a table, one row a file,
// sorted by whichever column header the user clicks (again for the other way round).
#pragma once

#include <QDialog>

#include "host/core/tools/file_info_rows.h"

class QTableWidget;

namespace gui {

class FileInfoDialog : public QDialog {
  public:
    FileInfoDialog(const host::FileInfoRows& table, QWidget* parent);

    QTableWidget& table() { return *table_; }

  private:
    QTableWidget* table_ = nullptr;
};

}  // namespace gui
