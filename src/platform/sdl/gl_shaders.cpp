#include "platform/sdl/gl_shaders.h"

#include <string>

#include "platform/sdl/gl_renderer.h"

namespace platform::sdl {
namespace {

// The camera arrives as row-vector matrices (p * view * projection). Uploaded untransposed, GLSL
// reads each row as a column, so "uViewProj * p" computes exactly that product. The original
// device clips depth to 0..w where GL clips to -w..w, hence z' = 2z - w. Its pixel centres lie on
// integer coordinates where GL's lie at +0.5, and the game offsets its corners by -0.5 for that:
// shifting everything by half a pixel right and down (y is flipped in clip space) puts texel
// centres back on pixel centres.
// Textures hold premultiplied texels (the renderer premultiplies on upload) and everything is
// blended with (ONE, ONE_MINUS_SRC_ALPHA). A quad's colour and blend mode become one factor the
// texel is multiplied by, set per run of quads: (rgb * a, a) gives src * a + dst * (1 - a)
// (mode 1), (rgb * a, 0) gives src * a + dst (mode 2), and mode 0, drawn with blending off, writes
// the texel in straight colour times (rgb, a). The colour is a uniform rather than a vertex
// attribute because software rasterisers run such shaders on whole rows of 8-bit pixels; a
// constant factor keeps them there. No blend state changes between quads: state changes are
// expensive on some drivers. The one change made is switching blending off for runs of quads that
// cover what is under them (DrawsOpaque), which gives the same pixels for less work.
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
uniform mat4 uViewProj;
uniform vec2 uHalfPixel;
out vec2 vUv;
void main() {
    vec4 p = uViewProj * vec4(aPosition, 1.0);
    p.z = 2.0 * p.z - p.w;
    p.x += uHalfPixel.x * p.w;
    p.y -= uHalfPixel.y * p.w;
    gl_Position = p;
    vUv = aUv;
}
)";

// The texel as it is: white alpha-blended quads, the commonest sprite by far.
const char* const kCopyFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
out vec4 fragColour;
void main() {
    fragColour = texture(uTexture, vUv);
}
)";

// The texel times the run's factor.
const char* const kTintFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
uniform vec4 uFactor;
out vec4 fragColour;
void main() {
    fragColour = texture(uTexture, vUv) * uFactor;
}
)";

// Mode 0 over texels that are not all opaque: the straight colour is written as it is.
const char* const kStraightFragmentShader = R"(#version 330 core
in vec2 vUv;
uniform sampler2D uTexture;
uniform vec4 uFactor;
out vec4 fragColour;
void main() {
    vec4 t = texture(uTexture, vUv);
    if (t.a > 0.0) {
        t.rgb /= t.a;
    }
    fragColour = t * uFactor;
}
)";

GLuint CompileShader(GLenum type, const char* source) {
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof(log) - 1, nullptr, log);
        LogLine(std::string("Error: shader compilation failed: ") + log);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint BuildSpriteProgram(SpriteProgram kind) {
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
    const char* const fragment = kind == SpriteProgram::Copy   ? kCopyFragmentShader
                                 : kind == SpriteProgram::Tint ? kTintFragmentShader
                                                               : kStraightFragmentShader;
    const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragment);
    if (vs == 0 || fs == 0) {
        if (vs != 0) glDeleteShader(vs);
        if (fs != 0) glDeleteShader(fs);
        return 0;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof(log) - 1, nullptr, log);
        LogLine(std::string("Error: shader link failed: ") + log);
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

}  // namespace platform::sdl
