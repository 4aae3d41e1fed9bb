#pragma once
#include <epoxy/gl.h>

namespace platform::sdl {

// Compiles and links the one sprite program: uniforms "uViewProj" (the camera), "uHalfPixel"
// (one pixel in clip units) and "uTexture"; vertex attributes 0 position, 1 texture coordinates,
// 2 colour, 3 blend mode. 0 on failure, with the compiler's or linker's log written out.
GLuint BuildSpriteProgram();

}  // namespace platform::sdl
