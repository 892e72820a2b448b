#pragma once

#include <QString>

namespace shelvio {

class Prompter;

// What the editor says, before it closes, about a file in the catalogue's
// place that is not a catalogue; `why` names the cause.
QString notACatalogueMessage(const QString& catalogPath, const QString& why);

// Start-up on a catalogue in the older program's Jet format. A Jet file that
// is not the older program's catalogue is refused at once, without a
// question. Otherwise asks once whether to convert it: No leaves the file as it is and returns false (the
// program then ends). Yes converts it in place, keeps the original file next
// to it, and tells the user what came over or what went wrong. True only when
// the catalogue at catalogPath is now ready to open.
bool offerLegacyConversion(const QString& catalogPath, Prompter& prompter);

} // namespace shelvio
