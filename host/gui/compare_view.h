// The preview's two texts side by side, before on the left and after on the right, in a
// Japanese fixed-pitch font. The view paints only the rows that fit, asking the result for
// each (host::CellOf), so a file of millions of lines costs no widget and no layout per line.
// Each side shows its line numbers, its lines and their breaks; changed rows are tinted, the
// current row framed. One vertical and one horizontal bar move both sides together.
#pragma once

#include <QAbstractScrollArea>
#include <cstddef>
#include <memory>
#include <optional>

#include "host/core/workbench/conversion_preview.h"

namespace gui {

class CompareView : public QAbstractScrollArea {
  public:
    explicit CompareView(QWidget* parent);

    void setResult(std::shared_ptr<const host::PreviewResult> result);
    const host::PreviewResult* result() const { return result_.get(); }

    // Frames `row` and scrolls it into view, a few rows below the top.
    void setCurrentRow(std::size_t row);
    std::optional<std::size_t> currentRow() const { return currentRow_; }
    std::size_t topRow() const;
    // How many rows fit, and how many the last paint drew.
    int visibleRows() const;
    int paintedRows() const { return paintedRows_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void UpdateBars();
    void PaintSide(QPainter& painter, std::size_t row, host::PreviewSide side, int left,
                   int width, int y);

    std::shared_ptr<const host::PreviewResult> result_;
    std::optional<std::size_t> currentRow_;
    int paintedRows_ = 0;
    int longestColumns_ = 0;  // of the rows painted so far, for the horizontal bar
};

// The font of the preview's texts: fixed-pitch, with the Japanese characters.
QFont PreviewFont();

}  // namespace gui
