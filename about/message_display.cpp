#include "about/message_display.h"

#include <QMessageBox>

namespace vexa {

void MessageBoxDisplay::showMessage(const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
    box.exec();
}

} // namespace vexa
