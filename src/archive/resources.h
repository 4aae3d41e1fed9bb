#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// Binary resources compiled into the executable (the archive lists, ids 103..106, of type
// "RT_LIST"). The build generates a source file that registers them before main runs; tests
// register their own.
namespace archive {

struct ResourceView {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Registers (or replaces) a resource. The bytes must outlive every lookup.
void RegisterResource(std::string_view type, int id, const uint8_t* data, size_t size);
// Removes a resource (tests).
void UnregisterResource(std::string_view type, int id);
// Finds a resource; false when there is none.
bool FindResource(std::string_view type, int id, ResourceView& out);

}  // namespace archive
