#pragma once
// The readings of the diagnostic panel.

#include <string>

namespace app {

// "Your CPU speed: %f MHz": time-stamp counter ticks over half a second.
std::string cpuSpeedText();
// "Your TimeZone: GMT n" with the offset from UTC in whole hours.
std::string timeZoneText();
std::string timeZoneTextFor(long offsetSecondsEastOfUtc);
// "Modem" or "LAN" for the last kind of connection the workstation has up;
// empty when none.
std::string connectionKind();

}  // namespace app
