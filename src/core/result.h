#pragma once
#include <cstdint>

// HRESULT-style integer results used throughout the engine.
constexpr int S_OK_RESULT = 0;
constexpr int E_FAIL_RESULT = static_cast<int>(0x80004005u);
