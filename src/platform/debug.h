#pragma once
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Writes one diagnostic line to stderr, converted from Shift-JIS to UTF-8. A trailing line feed
// in the text is dropped, so every call yields exactly one line.
void OutputDebug(std::string_view sjisText);

// Tests capture the lines instead (UTF-8, without the line feed). An empty function restores
// stderr.
void SetDebugSink(std::function<void(const std::string& utf8Line)> sink);

}  // namespace platform
