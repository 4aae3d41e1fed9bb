#pragma once
#include <epoxy/gl.h>

namespace platform::sdl {

// The sprite programs, all reading premultiplied textures: Copy outputs the texel alone (white,
// alpha-blended quads), Tint multiplies it by the uniform "uFactor", Straight turns it back to
// straight colour first (blend mode 0 over texels that are not all opaque).
enum class SpriteProgram { Copy, Tint, Straight };

// Compiles and links a sprite program: uniforms "uViewProj" (the camera), "uHalfPixel" (one pixel
// in clip units), "uTexture" and, but for Copy, "uFactor"; vertex attributes 0 position and
// 1 texture coordinates. 0 on failure, with the compiler's or linker's log written out.
GLuint BuildSpriteProgram(SpriteProgram kind);

}  // namespace platform::sdl
