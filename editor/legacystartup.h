#pragma once

#include <QString>

namespace shelvio {

class Prompter;

// Start-up on a catalogue in the older program's Jet format. Asks once
// whether to convert it: No leaves the file as it is and returns false (the
// program then ends). Yes converts it in place, keeps the original file next
// to it, and tells the user what came over or what went wrong. True only when
// the catalogue at catalogPath is now ready to open.
bool offerLegacyConversion(const QString& catalogPath, Prompter& prompter);

} // namespace shelvio
