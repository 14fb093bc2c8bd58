#include "host/gui/column_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextOption>
#include <string>

#include "host/layout/text_columns.h"

namespace gui {

ColumnLabel::ColumnLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

std::optional<int> ColumnLabel::tabStopDistance() const {
    const QFontMetrics metrics(font());
    const std::string text = this->text().toStdString();
    return layout::AligningTabDistance(
        text,
        [&metrics](std::string_view piece) {
            return metrics.horizontalAdvance(
                QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size())));
        },
        metrics.horizontalAdvance(QChar(0x3000)));  // a full-width space between the columns
}

void ColumnLabel::paintEvent(QPaintEvent* /*event*/) {
    QTextOption option(alignment());
    option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    if (const auto distance = tabStopDistance()) {
        option.setTabStopDistance(*distance);
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(QRectF(contentsRect()), text(), option);
}

}  // namespace gui
