#pragma once
#include "composer.h"

namespace sf {

Stereo SongGame();
Stereo SongMenu();
Stereo SongGallery();
Stereo SongCredits();
Stereo TitleJingle();

}  // namespace sf
