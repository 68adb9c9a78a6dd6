#include "about/title_font.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QRect>

namespace vexa {

QFont titleFont()
{
    const QString family = QStringLiteral("Arial Black");
    QFont font(family, 24, QFont::Normal, true);
    if (QFontInfo(font).family() != family) {
        // Arial Black is heavy at its normal weight; a stand-in has to ask for it.
        font.setStyleHint(QFont::SansSerif);
        font.setWeight(QFont::Black);
    }
    return font;
}

QFont fittedFont(QFont font, const QString& text, QSize box)
{
    constexpr int kSmallestPointSize = 6;
    const auto fits = [&] {
        const QRect needed = QFontMetrics(font).boundingRect(
            QRect(QPoint(0, 0), box), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return needed.width() <= box.width() && needed.height() <= box.height();
    };
    while (!fits() && font.pointSize() > kSmallestPointSize)
        font.setPointSize(font.pointSize() - 1);
    return font;
}

} // namespace vexa
