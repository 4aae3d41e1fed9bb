#include "sound/volume.h"

#include <cmath>

namespace sound {

int VolumeToAttenuation(int percent) {
    if (percent == 0) {
        return -10000;
    }
    const float quotient = 100.0f / static_cast<float>(percent);
    const float value = -1000.0f * std::log(quotient) / std::log(2.0f);
    if (std::isnan(value) || value < -10000.0f) {
        return -10000;
    }
    return static_cast<int>(value);
}

int32_t FractionalVolumeToAttenuation(float percent) {
    const float quotient = 100.0f / percent;
    const float value = -1000.0f * std::log(quotient) / std::log(2.0f);
    // 0 (or a negative product) has no finite attenuation, and the buffers refuse anything
    // below -10000 (which would leave the last audible volume in place): silent.
    if (!std::isfinite(value) || value < -10000.0f) {
        return -10000;
    }
    if (value > 2147483520.0f) {
        return 2147483520;
    }
    return static_cast<int32_t>(value);
}

}  // namespace sound
