#include "host/gui/dialog_units.h"

#include <QFontMetrics>
#include <QStringList>

namespace gui {

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = metrics.horizontalAdvance(letters) / 52.0;
    baseHeight_ = metrics.height();
}

QFont DialogFont(const layout::Font& dialogFont) {
    const QString family = QString::fromUtf8(dialogFont.face);
    QFont::insertSubstitutions(
        family, QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont font(family);
    font.setPointSize(dialogFont.points);
    return font;
}

}  // namespace gui
