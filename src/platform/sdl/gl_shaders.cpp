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
// The blend mode travels with each vertex: the output is premultiplied and blended with
// (ONE, ONE_MINUS_SRC_ALPHA) for all modes, which gives src (mode 0), src * a + dst * (1 - a)
// (mode 1) and src * a + dst (mode 2) without changing blend state between quads; state changes
// are expensive on some drivers. The one change made is switching blending off for runs of quads
// that cover what is under them (DrawsOpaque), which gives the same pixels for less work.
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
layout(location = 3) in uint aBlend;
uniform mat4 uViewProj;
uniform vec2 uHalfPixel;
out vec2 vUv;
out vec4 vColour;
flat out vec3 vBlend;  // (premultiply, alpha from source, constant alpha)
void main() {
    vec4 p = uViewProj * vec4(aPosition, 1.0);
    p.z = 2.0 * p.z - p.w;
    p.x += uHalfPixel.x * p.w;
    p.y -= uHalfPixel.y * p.w;
    gl_Position = p;
    vUv = aUv;
    vColour = aColour;
    vBlend = aBlend == 0u ? vec3(0.0, 0.0, 1.0) : (aBlend == 1u ? vec3(1.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0));
}
)";

// Texture modulated by the vertex colour; untextured quads sample a white texel.
const char* const kFragmentShader = R"(#version 330 core
in vec2 vUv;
in vec4 vColour;
flat in vec3 vBlend;
uniform sampler2D uTexture;
out vec4 fragColour;
void main() {
    vec4 c = texture(uTexture, vUv) * vColour;
    fragColour = vec4(mix(c.rgb, c.rgb * c.a, vBlend.x), c.a * vBlend.y + vBlend.z);
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

GLuint BuildSpriteProgram() {
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
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
