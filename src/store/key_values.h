#pragma once
// Named values kept one per row: the workstation settings (SISTEM: VAR/ISI
// under iVAR) and the shared counters (umum: KASUS/KATA under iKasus). A
// variable exists only as a delivered row; these functions never insert or
// delete one.

#include <optional>
#include <string>

namespace store {

class Table;

struct KeyValueLayout {
    const char* index;
    const char* valueField;
};

inline constexpr KeyValueLayout kSettingsLayout{"iVAR", "ISI"};
inline constexpr KeyValueLayout kCountersLayout{"iKasus", "KATA"};

// The value when the row exists (the table is opened under the index if closed).
std::optional<std::string> readVariable(Table& table, const KeyValueLayout& layout,
                                        const std::string& name);

// Writes the value when the row exists and returns true; returns false and
// writes nothing when it does not.
bool writeVariable(Table& table, const KeyValueLayout& layout, const std::string& name,
                   const std::string& value);

}  // namespace store
