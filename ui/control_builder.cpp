#include "ui/control_builder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/control_layout.h"
#include "ui/twips.h"
#include "ui/wrapping_button.h"

namespace vexa {

QWidget* createControl(const ControlLayout& row, QWidget* parent)
{
    const QString text = QString::fromUtf8(row.text);
    QWidget* control = nullptr;
    switch (row.kind) {
    case ControlKind::Button:
        control = new QPushButton(text, parent);
        break;
    case ControlKind::WrappingButton:
        control = new WrappingButton(text, parent);
        break;
    case ControlKind::TextBox:
        control = new QLineEdit(text, parent);
        break;
    case ControlKind::Label:
        control = new QLabel(text, parent);
        break;
    case ControlKind::Picture:
        control = new QLabel(parent);
        break;
    }
    control->setObjectName(QString::fromLatin1(row.name));
    control->setGeometry(rectFromTwips(row.left, row.top, row.width, row.height));
    return control;
}

QWidget* createLine(const char* name, const QRect& pixels, const QColor& colour, QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setGeometry(pixels);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setAutoFillBackground(true);
    return line;
}

} // namespace vexa
