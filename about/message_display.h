#pragma once

#include <QString>

class QWidget;

namespace vexa {

// Tells the operator something and waits until it is acknowledged.
class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    virtual void showMessage(const QString& caption, const QString& text) = 0;
};

// A modal message box with an OK button and no icon.
class MessageBoxDisplay final : public MessageDisplay {
public:
    explicit MessageBoxDisplay(QWidget* parent) : parent_(parent) {}
    void showMessage(const QString& caption, const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace vexa
