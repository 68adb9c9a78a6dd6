#pragma once

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>

#include "ui/wrapping_button.h"

namespace vexa::testing {

// How a push button lays out its caption: a wrapping button's own way, any
// other on one line.
inline int captionFlags(const QPushButton& button)
{
    if (qobject_cast<const WrappingButton*>(&button))
        return WrappingButton::kCaptionFlags;
    return Qt::AlignCenter | Qt::TextShowMnemonic;
}

inline bool captionFits(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QFontMetrics metrics = button.fontMetrics();
    const QRect lines = metrics.boundingRect(room, captionFlags(button), button.text());
    // The last line as tall as its glyphs: the room below them may reach into
    // a default button's frame, as on Windows.
    const int height =
        lines.height() - metrics.height() + metrics.tightBoundingRect(button.text()).height();
    return lines.width() <= room.width() && height <= room.height();
}

inline bool labelTextFits(const QLabel& label)
{
    const int wrap = label.wordWrap() ? int(Qt::TextWordWrap) : 0;
    const QRect needed = label.fontMetrics().boundingRect(
        label.contentsRect(), int(label.alignment()) | wrap, label.text());
    return label.contentsRect().contains(needed);
}

// The labels and buttons of a window whose text, laid out as the control
// lays it out, does not fit inside it at its designed size.
inline QStringList textsThatDoNotFit(const QWidget& window)
{
    QStringList overflowing;
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (!label->text().isEmpty() && !labelTextFits(*label))
            overflowing << label->objectName();
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        if (!captionFits(*button))
            overflowing << button->objectName();
    return overflowing;
}

} // namespace vexa::testing
