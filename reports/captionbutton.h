#pragma once

#include <QPushButton>

// A push button whose caption wraps onto a second line where it is wider
// than the button, as the menu's long captions need at their fixed size.
class CaptionButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};
