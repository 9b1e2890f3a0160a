#pragma once
// A field value as it travels between the engine and the program.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace store {

struct Blob {
    std::vector<unsigned char> bytes;
    bool operator==(const Blob&) const = default;
};

// Null is only seen in picture fields; every other field holds a value.
using Value = std::variant<std::monostate, std::int64_t, double, std::string, Blob>;

}  // namespace store
