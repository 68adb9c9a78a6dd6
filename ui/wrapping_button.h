#pragma once

#include <QPushButton>

namespace vexa {

// A push button whose caption wraps at blanks onto further lines when it is
// wider than the button, as a native button of the original small layout does.
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    using QPushButton::QPushButton;

    // How the caption is laid out in the room the style leaves for it.
    static constexpr int kCaptionFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vexa
