#pragma once

#include <QFont>

namespace shelvio {

// The calligraphic display font of the title labels: the original face when
// the system has it, else a free chancery face (URW's Z003, from Debian's
// fonts-urw-base35), else any cursive family.
QFont scriptFont(qreal pointSize);

// The small dialog font of the original windows, falling back to the
// system's sans-serif face.
QFont dialogFont(qreal pointSize);

} // namespace shelvio
