#pragma once
#include <cstdint>

namespace sound {

// Attenuation in hundredths of a decibel for a volume in percent: -10000 for 0 (and for anything
// without a finite value), otherwise trunc(-1000 * ln(100 / v) / ln 2) in single precision,
// raised to -10000 when lower. 100 gives 0, 50 gives -999; above 100 the result is positive.
int VolumeToAttenuation(int percent);

// The same for a fractional volume (the title jingle's fade); values above 100 are kept as
// they come (the buffers refuse positive attenuations).
int32_t FractionalVolumeToAttenuation(float percent);

}  // namespace sound
