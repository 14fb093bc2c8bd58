#include "host/gui/compare_view.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace gui {
namespace {

constexpr int kRowsAboveCurrent = 3;

const QColor kRemovedTint(255, 225, 225);
const QColor kAddedTint(220, 245, 220);
const QColor kNoLineTint(236, 236, 236);
const QColor kQuiet(140, 140, 140);

int Digits(std::size_t n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

QFont PreviewFont() {
    QFont font;
    font.setFamilies({QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    return font;
}

CompareView::CompareView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(PreviewFont());
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
}

void CompareView::setResult(std::shared_ptr<const host::PreviewResult> result) {
    result_ = std::move(result);
    currentRow_.reset();
    longestColumns_ = 0;
    if (result_) {
        const std::size_t longest =
            std::max(result_->before.longestLine(), result_->after.longestLine());
        longestColumns_ = static_cast<int>(std::min<std::size_t>(longest, 100000));
    }
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    UpdateBars();
    viewport()->update();
}

int CompareView::visibleRows() const {
    const int lineHeight = QFontMetrics(font()).lineSpacing();
    return std::max(1, viewport()->height() / lineHeight);
}

std::size_t CompareView::topRow() const {
    return static_cast<std::size_t>(verticalScrollBar()->value());
}

void CompareView::setCurrentRow(std::size_t row) {
    if (!result_ || row >= result_->rows.size()) {
        return;
    }
    currentRow_ = row;
    const std::size_t top = row > kRowsAboveCurrent ? row - kRowsAboveCurrent : 0;
    verticalScrollBar()->setValue(static_cast<int>(std::min<std::size_t>(top, INT_MAX)));
    viewport()->update();
}

void CompareView::UpdateBars() {
    const std::size_t rows = result_ ? result_->rows.size() : 0;
    const int page = visibleRows();
    const std::size_t last = rows > static_cast<std::size_t>(page) ? rows - page : 0;
    verticalScrollBar()->setRange(0, static_cast<int>(std::min<std::size_t>(last, INT_MAX)));
    verticalScrollBar()->setPageStep(page);
    const QFontMetrics metrics(font());
    const int paneWidth = viewport()->width() / 2;
    const int textWidth = longestColumns_ * metrics.horizontalAdvance(QLatin1Char('M')) +
                          6 * metrics.horizontalAdvance(QLatin1Char('M'));
    horizontalScrollBar()->setRange(0, std::max(0, textWidth - paneWidth / 2));
    horizontalScrollBar()->setPageStep(std::max(1, paneWidth / 2));
    horizontalScrollBar()->setSingleStep(metrics.horizontalAdvance(QLatin1Char('M')));
}

void CompareView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateBars();
}

void CompareView::keyPressEvent(QKeyEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return;
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return;
        case Qt::Key_Home:
            bar->setValue(bar->minimum());
            return;
        case Qt::Key_End:
            bar->setValue(bar->maximum());
            return;
        case Qt::Key_Left:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_Right:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        default:
            QAbstractScrollArea::keyPressEvent(event);
    }
}

void CompareView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    paintedRows_ = 0;
    const int width = viewport()->width();
    const int half = width / 2;
    painter.setPen(kQuiet);
    painter.drawLine(half, 0, half, viewport()->height());
    if (!result_) {
        return;
    }
    const int lineHeight = QFontMetrics(font()).lineSpacing();
    const std::size_t rows = result_->rows.size();
    for (std::size_t row = topRow(); row < rows; ++row) {
        const int y = static_cast<int>(row - topRow()) * lineHeight;
        if (y >= viewport()->height()) {
            break;
        }
        PaintSide(painter, row, host::PreviewSide::kBefore, 0, half, y);
        PaintSide(painter, row, host::PreviewSide::kAfter, half + 1, width - half - 1, y);
        if (currentRow_ == row) {
            painter.setClipping(false);
            painter.setPen(palette().color(QPalette::Highlight));
            painter.drawRect(0, y, width - 1, lineHeight - 1);
        }
        ++paintedRows_;
    }
}

void CompareView::PaintSide(QPainter& painter, std::size_t row, host::PreviewSide side,
                            int left, int width, int y) {
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.lineSpacing();
    const host::PreviewCell cell = host::CellOf(*result_, row, side);
    const QRect band(left, y, width, lineHeight);
    painter.setClipRect(band);
    const bool before = side == host::PreviewSide::kBefore;
    if (!cell.line) {
        painter.fillRect(band, kNoLineTint);
        return;
    }
    if (result_->rows[row].changed) {
        painter.fillRect(band, before ? kRemovedTint : kAddedTint);
    }
    const std::size_t lines = before ? result_->before.size() : result_->after.size();
    const int gutter = (Digits(lines) + 1) * metrics.horizontalAdvance(QLatin1Char('0'));
    const int baseline = y + metrics.ascent();
    painter.setPen(kQuiet);
    painter.drawText(QRect(left, y, gutter - metrics.horizontalAdvance(QLatin1Char('0')) / 2,
                           lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(*cell.line + 1));
    painter.setClipRect(QRect(left + gutter, y, width - gutter, lineHeight));
    const int x = left + gutter + 2 - horizontalScrollBar()->value();
    const QString text = QString::fromStdString(cell.text);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(x, baseline, text);
    if (cell.lineBreak != host::LineBreak::kNone) {
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.7);
        painter.setFont(small);
        painter.setPen(kQuiet);
        painter.drawText(x + metrics.horizontalAdvance(text) + 2, baseline,
                         QString::fromLatin1(host::LineBreakName(cell.lineBreak)));
        painter.setFont(font());
    }
}

}  // namespace gui
