#pragma once

#include <QString>

namespace testing {

class TestCatalogue;

// Fills an empty catalogue with a few thousand books whose names try every
// way two texts can tie or nearly tie in an ordering: letter case, accents,
// compatibility forms (ligatures, full-width letters), letters beyond the
// first 65,536, blanks at the ends, empty and Null names and titles, equal
// titles, a title stored as a number, categories equal but for case or
// repeated exactly, and links to books or categories that are gone.
// The same books every time.
void fillStressCatalogue(TestCatalogue& file, int books = 3000);

} // namespace testing
