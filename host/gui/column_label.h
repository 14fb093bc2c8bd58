// A static text whose lines fall into two columns at their tabs: the tab stops are laid out
// for this font so that the second column of every line starts at one place.
#pragma once

#include <QLabel>
#include <optional>

namespace gui {

class ColumnLabel : public QLabel {
  public:
    ColumnLabel(const QString& text, QWidget* parent);

    // The tab stop distance in pixels that lines the columns up in the label's font; nothing
    // when no distance does (the text is then drawn with the default stops).
    std::optional<int> tabStopDistance() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace gui
