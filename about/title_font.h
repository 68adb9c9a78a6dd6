#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace vexa {

// The title's font: 24-point italic "Arial Black", or where that font is
// missing a heavy italic sans of the same size.
QFont titleFont();

// The font at the largest whole point size, no larger than its own, at which
// the text wrapped at spaces fits the box.
QFont fittedFont(QFont font, const QString& text, QSize box);

} // namespace vexa
