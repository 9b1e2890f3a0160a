#pragma once
// The starting word-processor templates an installation ships: one label,
// one member card (landscape and portrait) and one stock-opname line, each a
// Word document whose placeholders (#KDBARANG# and so on) the printing
// windows fill. Librarians may redesign them in their word processor.

#include <string>

namespace app {

// Writes the four templates into `dotDirectory`; throws core::Error when a
// file cannot be written.
void writeStartingTemplates(const std::string& dotDirectory);

}  // namespace app
