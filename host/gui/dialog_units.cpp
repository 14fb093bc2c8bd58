#include "host/gui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

#include "host/gui/main_window_layout.h"

namespace gui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = metrics.horizontalAdvance(letters) / 52.0;
    baseHeight_ = metrics.height();
}

QFont DialogFont() {
    const QString family = QString::fromUtf8(kDialogFontFamily);
    QFont::insertSubstitutions(
        family, QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont font(family);
    font.setPointSize(kDialogFontPoints);
    return font;
}

}  // namespace gui
