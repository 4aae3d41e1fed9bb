#include "archive/resources.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace archive {
namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::pair<std::string, int>, ResourceView> entries;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterResource(std::string_view type, int id, const uint8_t* data, size_t size) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.entries[{std::string(type), id}] = ResourceView{data, size};
}

void UnregisterResource(std::string_view type, int id) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.entries.erase({std::string(type), id});
}

bool FindResource(std::string_view type, int id, ResourceView& out) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.entries.find({std::string(type), id});
    if (it == r.entries.end()) {
        return false;
    }
    out = it->second;
    return true;
}

}  // namespace archive
