#pragma once
#include <string>
#include <vector>

#include "dsp.h"

namespace sf {

struct Effect {
    std::string name;
    bool loop = false;  // played looping by the game: must be seamless end to start
};

// Every effect this program makes, in output order.
const std::vector<Effect>& EffectList();
// Renders one effect (mono, 44100 Hz), already levelled and faded.
std::vector<float> RenderEffect(const std::string& name);

// The voice clips: "<Host>_<word>.wav".
std::vector<std::string> VoiceList();
std::vector<float> RenderVoice(const std::string& name);

// Levels a one-shot sound to the given peak and fades its very ends so it starts and stops
// without a click.
void FinishOneShot(std::vector<float>& x, double peak, double fadeInSecs, double fadeOutSecs);

}  // namespace sf
