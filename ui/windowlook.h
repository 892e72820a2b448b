#pragma once

#include <QColor>

class QWidget;

namespace shelvio {

// The light blue of every window of both programs.
inline constexpr QColor windowBlue{192, 192, 255};

// Gives the window (and the frames, check boxes and options it holds) the
// light-blue background; text boxes and lists keep their own white.
void paintWindowBlue(QWidget* window);

// The mouse pointer shows that the program is busy for as long as this
// lives, however the work ends.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace shelvio
