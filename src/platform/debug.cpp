#include "platform/debug.h"

#include <cstdio>
#include <mutex>

#include "platform/text_encoding.h"

namespace platform {
namespace {
std::mutex g_sinkMutex;
std::function<void(const std::string&)> g_sink;
}  // namespace

void OutputDebug(std::string_view sjisText) {
    while (!sjisText.empty() && (sjisText.back() == '\n' || sjisText.back() == '\r')) {
        sjisText.remove_suffix(1);
    }
    const std::string line = SjisToUtf8(sjisText);
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    if (g_sink) {
        g_sink(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

void SetDebugSink(std::function<void(const std::string&)> sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    g_sink = std::move(sink);
}

}  // namespace platform
