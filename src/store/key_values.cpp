#include "store/key_values.h"

#include "store/table.h"

namespace store {

namespace {
bool locate(Table& table, const KeyValueLayout& layout, const std::string& name) {
    table.setIndexName(layout.index);
    if (!table.isOpen()) table.open();
    return table.findKey({name});
}
}  // namespace

std::optional<std::string> readVariable(Table& table, const KeyValueLayout& layout,
                                        const std::string& name) {
    if (!locate(table, layout, name)) return std::nullopt;
    return table.asString(layout.valueField);
}

bool writeVariable(Table& table, const KeyValueLayout& layout, const std::string& name,
                   const std::string& value) {
    if (!locate(table, layout, name)) return false;
    table.edit();
    table.setString(layout.valueField, value);
    table.post();
    return true;
}

}  // namespace store
