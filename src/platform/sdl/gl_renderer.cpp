#include "platform/sdl/gl_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "platform/debug.h"
#include "platform/text_encoding.h"

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

void SetSamplerState() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
}

}  // namespace

void LogLine(const std::string& utf8) { OutputDebug(Utf8ToSjis(utf8)); }

Letterbox ComputeLetterbox(int outWidth, int outHeight, int bbWidth, int bbHeight) {
    Letterbox box;
    if (outWidth <= 0 || outHeight <= 0 || bbWidth <= 0 || bbHeight <= 0) {
        return box;
    }
    // Compare outWidth / bbWidth with outHeight / bbHeight without rounding.
    const int64_t wide = int64_t{outWidth} * bbHeight;
    const int64_t tall = int64_t{outHeight} * bbWidth;
    if (wide >= tall) {  // bars left and right (or none)
        box.height = outHeight;
        box.width = static_cast<int>(tall / bbHeight);
    } else {  // bars top and bottom
        box.width = outWidth;
        box.height = static_cast<int>(wide / bbWidth);
    }
    box.x = (outWidth - box.width) / 2;
    box.y = (outHeight - box.height) / 2;
    return box;
}

namespace {
int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}
}  // namespace

void OutputToBackBuffer(int outX, int outY, int outWidth, int outHeight, int bbWidth, int bbHeight, int& bbX,
                        int& bbY) {
    const Letterbox box = ComputeLetterbox(outWidth, outHeight, bbWidth, bbHeight);
    if (box.width <= 0 || box.height <= 0) {
        bbX = outX;
        bbY = outY;
        return;
    }
    // The back-buffer pixel under the centre of the output pixel.
    bbX = static_cast<int>(FloorDiv((2 * (int64_t{outX} - box.x) + 1) * bbWidth, 2 * int64_t{box.width}));
    bbY = static_cast<int>(FloorDiv((2 * (int64_t{outY} - box.y) + 1) * bbHeight, 2 * int64_t{box.height}));
}

void RequestGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

GlRenderer::~GlRenderer() { Destroy(); }

bool GlRenderer::Create(SDL_Window* window, int width, int height) {
    Destroy();
    if (window == nullptr) {
        LogLine("Error: no window to draw into");
        return false;
    }
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        LogLine("Error: invalid back buffer size " + std::to_string(width) + "x" + std::to_string(height));
        return false;
    }
    RequestGlAttributes();
    context_ = SDL_GL_CreateContext(window);
    if (context_ == nullptr) {
        LogLine(std::string("Error: OpenGL 3.3 core context could not be created: ") + SDL_GetError());
        return false;
    }
    window_ = window;
    width_ = width;
    height_ = height;
    if (SDL_GL_MakeCurrent(window, context_) != 0) {
        LogLine(std::string("Error: OpenGL context could not be made current: ") + SDL_GetError());
        Destroy();
        return false;
    }
    if (epoxy_gl_version() < 33) {
        LogLine("Error: OpenGL 3.3 is not available (version " + std::to_string(epoxy_gl_version()) + ")");
        Destroy();
        return false;
    }
    // Pacing is the frame timer's job; some servers refuse this, which is harmless.
    SDL_GL_SetSwapInterval(0);
    if (!CreateResources()) {
        Destroy();
        return false;
    }
    return true;
}

void GlRenderer::Destroy() {
    if (context_ != nullptr) {
        if (window_ != nullptr) {
            SDL_GL_MakeCurrent(window_, context_);
        }
        DestroyResources();
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
    window_ = nullptr;
    textures_.clear();
    freeHandles_.clear();
    batchQuads_ = 0;
    runs_.clear();
    inFrame_ = false;
}

bool GlRenderer::CreateResources() {
    // Shader program.
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, kFragmentShader);
    if (vs == 0 || fs == 0) {
        if (vs != 0) glDeleteShader(vs);
        if (fs != 0) glDeleteShader(fs);
        return false;
    }
    program_ = glCreateProgram();
    glAttachShader(program_, vs);
    glAttachShader(program_, fs);
    glLinkProgram(program_);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint linked = GL_FALSE;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(program_, sizeof(log) - 1, nullptr, log);
        LogLine(std::string("Error: shader link failed: ") + log);
        return false;
    }
    matrixLocation_ = glGetUniformLocation(program_, "uViewProj");
    halfPixelLocation_ = glGetUniformLocation(program_, "uHalfPixel");
    glUseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);
    glUniform2f(halfPixelLocation_, 1.0f / static_cast<float>(width_), 1.0f / static_cast<float>(height_));

    // Vertex layout: position, texture coordinates, colour as normalised bytes.
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(GpuVertex) * kBatchQuads * kVerticesPerQuad, nullptr, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(GpuVertex),
                          reinterpret_cast<const void*>(offsetof(GpuVertex, rgba)));
    glEnableVertexAttribArray(3);
    glVertexAttribIPointer(3, 1, GL_UNSIGNED_BYTE, sizeof(GpuVertex),
                           reinterpret_cast<const void*>(offsetof(GpuVertex, blend)));

    // The back buffer.
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &colourTexture_);
    glBindTexture(GL_TEXTURE_2D, colourTexture_);
    SetSamplerState();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colourTexture_, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status != GL_FRAMEBUFFER_COMPLETE) {
        LogLine("Error: back buffer framebuffer incomplete (status " + std::to_string(status) + ")");
        return false;
    }

    // One white texel stands in for "no texture".
    glGenTextures(1, &whiteTexture_);
    glBindTexture(GL_TEXTURE_2D, whiteTexture_);
    SetSamplerState();
    const uint32_t white = 0xFFFFFFFFu;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);

    // Fixed state: no depth, no culling; sprites are drawn in submission order.
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    blendEnabled_ = true;
    lastBlend_ = 1;

    batch_.assign(static_cast<size_t>(kBatchQuads) * kVerticesPerQuad, GpuVertex{});
    batchQuads_ = 0;
    runs_.clear();
    runs_.reserve(kBatchQuads);
    cameraDirty_ = true;
    CheckErrors("setup");
    return true;
}

void GlRenderer::DestroyResources() {
    for (const TextureSlot& slot : textures_) {
        if (slot.name != 0) {
            glDeleteTextures(1, &slot.name);
        }
    }
    if (fbo_ != 0) glDeleteFramebuffers(1, &fbo_);
    if (colourTexture_ != 0) glDeleteTextures(1, &colourTexture_);
    if (whiteTexture_ != 0) glDeleteTextures(1, &whiteTexture_);
    if (vbo_ != 0) glDeleteBuffers(1, &vbo_);
    if (vao_ != 0) glDeleteVertexArrays(1, &vao_);
    if (program_ != 0) glDeleteProgram(program_);
    fbo_ = colourTexture_ = whiteTexture_ = vbo_ = vao_ = program_ = 0;
    matrixLocation_ = halfPixelLocation_ = -1;
}

void GlRenderer::CheckErrors(const char* where) {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
        if (errorLines_ < 10) {
            ++errorLines_;
            LogLine(std::string("Error: OpenGL error ") + std::to_string(error) + " in " + where);
        }
    }
}

TextureHandle GlRenderer::CreateTexture(int width, int height) {
    if (context_ == nullptr) {
        return 0;
    }
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (width <= 0 || height <= 0 || width > maxSize || height > maxSize) {
        LogLine("Error: invalid texture size " + std::to_string(width) + "x" + std::to_string(height));
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetSamplerState();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    if (glGetError() != GL_NO_ERROR) {
        LogLine("Error: texture storage of " + std::to_string(width) + "x" + std::to_string(height) + " failed");
        glDeleteTextures(1, &name);
        return 0;
    }
    TextureHandle handle = 0;
    if (!freeHandles_.empty()) {
        handle = freeHandles_.back();
        freeHandles_.pop_back();
    } else {
        textures_.emplace_back();
        handle = static_cast<TextureHandle>(textures_.size());
    }
    TextureSlot& slot = textures_[handle - 1];
    slot = TextureSlot{};
    slot.name = name;
    slot.width = width;
    slot.height = height;
    // Nothing is known to be opaque until it is uploaded.
    slot.tilesX = (width + kOpaqueTile - 1) / kOpaqueTile;
    slot.tilesY = (height + kOpaqueTile - 1) / kOpaqueTile;
    slot.tiles.assign(static_cast<size_t>(slot.tilesX) * slot.tilesY, 0);
    slot.nonOpaqueSums.assign(static_cast<size_t>(slot.tilesX + 1) * (slot.tilesY + 1), 0);
    slot.inkedSums.assign(static_cast<size_t>(slot.tilesX + 1) * (slot.tilesY + 1), 0);
    MarkTiles(slot, 0, 0, 0, 0, nullptr, 0);
    return handle;
}

namespace {
// Number of counted tiles in the inclusive tile rectangle of a summed-area table.
int32_t CountIn(const std::vector<int32_t>& sums, int tilesX, int x0, int y0, int x1, int y1) {
    const size_t stride = static_cast<size_t>(tilesX) + 1;
    return sums[(y1 + 1) * stride + x1 + 1] - sums[y0 * stride + x1 + 1] - sums[(y1 + 1) * stride + x0] +
           sums[y0 * stride + x0];
}
}  // namespace

void GlRenderer::MarkTiles(TextureSlot& slot, int x, int y, int w, int h, const uint32_t* argb, int pitch) {
    const int T = kOpaqueTile;
    for (int ty = y / T; w > 0 && h > 0 && ty <= (y + h - 1) / T; ++ty) {
        const int r0 = std::max(y, ty * T), r1 = std::min(y + h, ty * T + T);
        const int tileRows = std::min(T, slot.height - ty * T);
        for (int tx = x / T; tx <= (x + w - 1) / T; ++tx) {
            const int c0 = std::max(x, tx * T), c1 = std::min(x + w, tx * T + T);
            const int tileColumns = std::min(T, slot.width - tx * T);
            bool opaque = true, empty = true;
            for (int r = r0; r < r1 && (opaque || empty); ++r) {
                const uint32_t* row = argb + static_cast<size_t>(r - y) * pitch;
                for (int c = c0; c < c1; ++c) {
                    const uint32_t alpha = row[c - x] >> 24;
                    opaque = opaque && alpha == 0xFFu;
                    empty = empty && alpha == 0u;
                }
            }
            // A tile only partly written keeps a property only if it had it and the new texels
            // have it too.
            uint8_t& tile = slot.tiles[static_cast<size_t>(ty) * slot.tilesX + tx];
            const bool whole = r1 - r0 == tileRows && c1 - c0 == tileColumns;
            const uint8_t before = whole ? (kTileOpaque | kTileEmpty) : tile;
            tile = static_cast<uint8_t>((opaque ? kTileOpaque : 0) | (empty ? kTileEmpty : 0)) & before;
        }
    }
    const size_t stride = static_cast<size_t>(slot.tilesX) + 1;
    for (int ty = 0; ty < slot.tilesY; ++ty) {
        int32_t nonOpaqueRow = 0, inkedRow = 0;
        for (int tx = 0; tx < slot.tilesX; ++tx) {
            const uint8_t tile = slot.tiles[static_cast<size_t>(ty) * slot.tilesX + tx];
            nonOpaqueRow += (tile & kTileOpaque) == 0 ? 1 : 0;
            inkedRow += (tile & kTileEmpty) == 0 ? 1 : 0;
            slot.nonOpaqueSums[(ty + 1) * stride + tx + 1] = slot.nonOpaqueSums[ty * stride + tx + 1] + nonOpaqueRow;
            slot.inkedSums[(ty + 1) * stride + tx + 1] = slot.inkedSums[ty * stride + tx + 1] + inkedRow;
        }
    }
}

void GlRenderer::UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                               int pitchPixels) {
    if (context_ == nullptr || texture == 0 || texture > textures_.size() || textures_[texture - 1].name == 0) {
        LogLine("Error: upload to an unknown texture " + std::to_string(texture));
        return;
    }
    TextureSlot& slot = textures_[texture - 1];
    if (argb == nullptr || w <= 0 || h <= 0 || x < 0 || y < 0 || x > slot.width - w || y > slot.height - h ||
        pitchPixels < w) {
        LogLine("Error: texture upload out of range (" + std::to_string(x) + "," + std::to_string(y) + " " +
                std::to_string(w) + "x" + std::to_string(h) + " pitch " + std::to_string(pitchPixels) +
                " into " + std::to_string(slot.width) + "x" + std::to_string(slot.height) + ")");
        return;
    }
    Flush();  // quads already submitted must see the old contents
    glBindTexture(GL_TEXTURE_2D, slot.name);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pitchPixels);
    // 0xAARRGGBB words are B, G, R, A bytes in memory on this platform: no conversion needed.
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    MarkTiles(slot, x, y, w, h, argb, pitchPixels);
}

void GlRenderer::DestroyTexture(TextureHandle texture) {
    if (texture == 0 || texture > textures_.size() || textures_[texture - 1].name == 0) {
        return;
    }
    if (context_ != nullptr) {
        Flush();
        glDeleteTextures(1, &textures_[texture - 1].name);
    }
    textures_[texture - 1] = TextureSlot{};
    freeHandles_.push_back(texture);
}

GLuint GlRenderer::TextureName(TextureHandle texture) const {
    if (texture == 0 || texture > textures_.size() || textures_[texture - 1].name == 0) {
        return whiteTexture_;
    }
    return textures_[texture - 1].name;
}

void GlRenderer::SetCamera(const float view[16], const float projection[16]) {
    if (view == nullptr || projection == nullptr) {
        return;
    }
    Flush();  // quads already submitted keep the previous camera
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += static_cast<double>(view[r * 4 + k]) * projection[k * 4 + c];
            }
            viewProjection_[r * 4 + c] = static_cast<float>(sum);
        }
    }
    cameraDirty_ = true;
}

bool GlRenderer::BeginFrame(uint32_t clearArgb) {
    if (context_ == nullptr || SDL_GL_MakeCurrent(window_, context_) != 0) {
        return false;
    }
    Flush();
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, width_, height_);
    glClearColor(static_cast<float>((clearArgb >> 16) & 0xFF) / 255.0f,
                 static_cast<float>((clearArgb >> 8) & 0xFF) / 255.0f,
                 static_cast<float>(clearArgb & 0xFF) / 255.0f, static_cast<float>(clearArgb >> 24) / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glActiveTexture(GL_TEXTURE0);
    inFrame_ = true;
    return true;
}

bool GlRenderer::IsPixelExact(const Quad& quad, int textureWidth, int textureHeight) const {
    // Where the corners land in window pixels (top-left origin), as the vertex shader puts them.
    const float* m = viewProjection_.data();
    double sx[4], sy[4], tu[4], tv[4];
    for (int i = 0; i < 4; ++i) {
        const Vertex& v = quad.v[i];
        const double cx = double{v.x} * m[0] + double{v.y} * m[4] + double{v.z} * m[8] + m[12];
        const double cy = double{v.x} * m[1] + double{v.y} * m[5] + double{v.z} * m[9] + m[13];
        const double cw = double{v.x} * m[3] + double{v.y} * m[7] + double{v.z} * m[11] + m[15];
        if (!(cw > 0.0)) {
            return false;
        }
        sx[i] = (cx / cw + 1.0) * 0.5 * width_ + 0.5;
        sy[i] = (1.0 - cy / cw) * 0.5 * height_ + 0.5;
        tu[i] = double{v.u} * textureWidth;
        tv[i] = double{v.v} * textureHeight;
    }
    constexpr double kEps = 1e-3;
    auto same = [](double a, double b) { return std::fabs(a - b) < kEps; };
    auto whole = [](double a) { return std::fabs(a - std::round(a)) < kEps; };
    // An upright rectangle on pixel edges, texels on the same edges, one texel per pixel: every
    // pixel centre samples a texel centre, so filtering reaches no neighbour.
    return same(sx[0], sx[2]) && same(sx[1], sx[3]) && same(sy[0], sy[1]) && same(sy[2], sy[3]) &&
           same(tu[0], tu[2]) && same(tu[1], tu[3]) && same(tv[0], tv[1]) && same(tv[2], tv[3]) &&
           same(std::fabs(sx[1] - sx[0]), std::fabs(tu[1] - tu[0])) &&
           same(std::fabs(sy[2] - sy[0]), std::fabs(tv[2] - tv[0])) && whole(sx[0]) && whole(sy[0]) &&
           whole(tu[0]) && whole(tv[0]);
}

bool GlRenderer::Footprint(const Quad& quad, const TextureSlot& slot, TileRange& range) const {
    const double W = slot.width, H = slot.height;
    double u0 = std::numeric_limits<double>::infinity(), u1 = -u0, v0 = u0, v1 = -u0;
    for (const Vertex& v : quad.v) {
        u0 = std::min(u0, v.u * W);
        u1 = std::max(u1, v.u * W);
        v0 = std::min(v0, v.v * H);
        v1 = std::max(v1, v.v * H);
    }
    if (!std::isfinite(u0) || !std::isfinite(u1) || !std::isfinite(v0) || !std::isfinite(v1)) {
        return false;
    }
    // Texels that can be sampled: inside the coordinate rectangle when pixels meet texel centres,
    // else everything bilinear filtering can reach from it (edges clamp).
    double first[2], last[2];
    if (IsPixelExact(quad, slot.width, slot.height)) {
        first[0] = std::round(u0), last[0] = std::round(u1) - 1.0;
        first[1] = std::round(v0), last[1] = std::round(v1) - 1.0;
    } else {
        first[0] = std::floor(u0 - 0.5), last[0] = std::floor(u1 - 0.5) + 1.0;
        first[1] = std::floor(v0 - 0.5), last[1] = std::floor(v1 - 0.5) + 1.0;
    }
    if (last[0] < first[0] || last[1] < first[1]) {
        return false;
    }
    range.x0 = static_cast<int>(std::clamp(first[0], 0.0, W - 1.0)) / kOpaqueTile;
    range.x1 = static_cast<int>(std::clamp(last[0], 0.0, W - 1.0)) / kOpaqueTile;
    range.y0 = static_cast<int>(std::clamp(first[1], 0.0, H - 1.0)) / kOpaqueTile;
    range.y1 = static_cast<int>(std::clamp(last[1], 0.0, H - 1.0)) / kOpaqueTile;
    return true;
}

bool GlRenderer::DrawsOpaque(const Quad& quad, int blend) const {
    if (blend == 0) {
        return true;  // written as it is, whatever its alpha
    }
    if (blend != 1 || (quad.argb >> 24) != 0xFFu) {
        return false;
    }
    if (quad.texture == 0 || quad.texture > textures_.size() || textures_[quad.texture - 1].name == 0) {
        return true;  // the white texel
    }
    const TextureSlot& slot = textures_[quad.texture - 1];
    if (slot.nonOpaqueSums.back() == slot.tilesX * slot.tilesY) {
        return false;  // nothing opaque in it at all
    }
    TileRange r{};
    return Footprint(quad, slot, r) && CountIn(slot.nonOpaqueSums, slot.tilesX, r.x0, r.y0, r.x1, r.y1) == 0;
}

bool GlRenderer::TrimToInk(Quad& quad, int blend) const {
    if ((blend != 1 && blend != 2) || quad.texture == 0 || quad.texture > textures_.size() ||
        textures_[quad.texture - 1].name == 0) {
        return true;
    }
    const TextureSlot& slot = textures_[quad.texture - 1];
    if (slot.inkedSums.back() == slot.tilesX * slot.tilesY) {
        return true;  // no empty tile anywhere
    }
    TileRange r{};
    if (!Footprint(quad, slot, r)) {
        return true;
    }
    const auto& sums = slot.inkedSums;
    if (CountIn(sums, slot.tilesX, r.x0, r.y0, r.x1, r.y1) == 0) {
        return false;  // alpha 0 everywhere: blending it changes nothing
    }
    // The tiles with ink within reach.
    TileRange ink = r;
    while (CountIn(sums, slot.tilesX, ink.x0, r.y0, ink.x0, r.y1) == 0) ++ink.x0;
    while (CountIn(sums, slot.tilesX, ink.x1, r.y0, ink.x1, r.y1) == 0) --ink.x1;
    while (CountIn(sums, slot.tilesX, r.x0, ink.y0, r.x1, ink.y0) == 0) ++ink.y0;
    while (CountIn(sums, slot.tilesX, r.x0, ink.y1, r.x1, ink.y1) == 0) --ink.y1;
    if (ink.x0 == r.x0 && ink.x1 == r.x1 && ink.y0 == r.y0 && ink.y1 == r.y1) {
        return true;
    }
    // Only an upright texture rectangle on a parallelogram can be cut by moving its corners: the
    // shape the game's sprites have.
    const Vertex* v = quad.v;
    if (v[0].u != v[2].u || v[1].u != v[3].u || v[0].v != v[1].v || v[2].v != v[3].v || v[0].u == v[1].u ||
        v[0].v == v[2].v) {
        return true;
    }
    const float ex = v[1].x + v[2].x - v[0].x, ey = v[1].y + v[2].y - v[0].y, ez = v[1].z + v[2].z - v[0].z;
    const float tolerance = 1e-4f * (1.0f + std::fabs(v[3].x) + std::fabs(v[3].y) + std::fabs(v[3].z));
    if (std::fabs(ex - v[3].x) > tolerance || std::fabs(ey - v[3].y) > tolerance || std::fabs(ez - v[3].z) > tolerance) {
        return true;
    }
    // Texel coordinates to keep: the ink tiles and one texel around them, which filtering at
    // their edges can reach. A sample outside that band reaches only empty tiles.
    const double W = slot.width, H = slot.height, T = kOpaqueTile;
    const double keepU0 = ink.x0 > r.x0 ? ink.x0 * T - 1.0 : -1e30, keepU1 = ink.x1 < r.x1 ? (ink.x1 + 1) * T + 1.0 : 1e30;
    const double keepV0 = ink.y0 > r.y0 ? ink.y0 * T - 1.0 : -1e30, keepV1 = ink.y1 < r.y1 ? (ink.y1 + 1) * T + 1.0 : 1e30;
    // Positions along the edges (0 .. 1) where those coordinates lie.
    auto along = [](double from, double to, double keep0, double keep1, double& a0, double& a1) {
        double p = (keep0 - from) / (to - from), q = (keep1 - from) / (to - from);
        if (p > q) std::swap(p, q);
        a0 = std::clamp(p, 0.0, 1.0);
        a1 = std::clamp(q, 0.0, 1.0);
    };
    double a0, a1, b0, b1;
    along(v[0].u * W, v[1].u * W, keepU0, keepU1, a0, a1);
    along(v[0].v * H, v[2].v * H, keepV0, keepV1, b0, b1);
    if (!(a1 > a0) || !(b1 > b0) || (a0 == 0.0 && a1 == 1.0 && b0 == 0.0 && b1 == 1.0)) {
        return true;
    }
    const Vertex o = v[0];
    const double dx[3] = {double{v[1].x} - o.x, double{v[1].y} - o.y, double{v[1].z} - o.z};
    const double dy[3] = {double{v[2].x} - o.x, double{v[2].y} - o.y, double{v[2].z} - o.z};
    const double du = double{v[1].u} - o.u, dv = double{v[2].v} - o.v;
    auto corner = [&](double a, double b) {
        return Vertex{static_cast<float>(o.x + a * dx[0] + b * dy[0]), static_cast<float>(o.y + a * dx[1] + b * dy[1]),
                      static_cast<float>(o.z + a * dx[2] + b * dy[2]), static_cast<float>(o.u + a * du),
                      static_cast<float>(o.v + b * dv)};
    };
    quad.v[0] = corner(a0, b0);
    quad.v[1] = corner(a1, b0);
    quad.v[2] = corner(a0, b1);
    quad.v[3] = corner(a1, b1);
    return true;
}

void GlRenderer::DrawQuad(const Quad& quad) {
    if (!inFrame_) {
        return;  // as on the original device, drawing outside a frame has no effect
    }
    if (batchQuads_ == kBatchQuads) {
        Flush();
    }
    if (quad.blend >= 0 && quad.blend <= 2) {
        lastBlend_ = quad.blend;
    }
    // A quad that covers what is under it is drawn with blending off: the same pixels, without
    // reading the back buffer, and the rasteriser may drop what it hides.
    const GLuint texture = TextureName(quad.texture);
    const bool blendOn = !DrawsOpaque(quad, lastBlend_);
    // Pixels where a blended quad has only empty texels cannot change: they are left out.
    Quad trimmed = quad;
    if (blendOn && !TrimToInk(trimmed, lastBlend_)) {
        return;
    }
    if (runs_.empty() || runs_.back().texture != texture || runs_.back().blend != blendOn) {
        runs_.push_back(DrawRun{texture, blendOn, batchQuads_, 0});  // capacity reserved: no allocation
    }
    const uint8_t blend = static_cast<uint8_t>(lastBlend_);
    ++runs_.back().quadCount;
    const uint8_t rgba[4] = {static_cast<uint8_t>(quad.argb >> 16), static_cast<uint8_t>(quad.argb >> 8),
                             static_cast<uint8_t>(quad.argb), static_cast<uint8_t>(quad.argb >> 24)};
    // The strip top-left, top-right, bottom-left, bottom-right as two triangles.
    static constexpr int kOrder[kVerticesPerQuad] = {0, 1, 2, 2, 1, 3};
    GpuVertex* out = batch_.data() + static_cast<size_t>(batchQuads_) * kVerticesPerQuad;
    for (int i = 0; i < kVerticesPerQuad; ++i) {
        const Vertex& v = trimmed.v[kOrder[i]];
        out[i] = GpuVertex{v.x, v.y, v.z, v.u, v.v, {rgba[0], rgba[1], rgba[2], rgba[3]}, {blend, 0, 0, 0}};
    }
    ++batchQuads_;
}

void GlRenderer::Flush() {
    if (batchQuads_ == 0 || context_ == nullptr) {
        batchQuads_ = 0;
        runs_.clear();
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glUseProgram(program_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    if (cameraDirty_) {
        glUniformMatrix4fv(matrixLocation_, 1, GL_FALSE, viewProjection_.data());
        cameraDirty_ = false;
    }
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(sizeof(GpuVertex)) * batchQuads_ * kVerticesPerQuad,
                 batch_.data(), GL_STREAM_DRAW);
    glActiveTexture(GL_TEXTURE0);
    for (const DrawRun& run : runs_) {
        if (run.blend != blendEnabled_) {
            if (run.blend) {
                glEnable(GL_BLEND);
            } else {
                glDisable(GL_BLEND);
            }
            blendEnabled_ = run.blend;
        }
        glBindTexture(GL_TEXTURE_2D, run.texture);
        glDrawArrays(GL_TRIANGLES, run.firstQuad * kVerticesPerQuad, run.quadCount * kVerticesPerQuad);
    }
    batchQuads_ = 0;
    runs_.clear();
}

PresentResult GlRenderer::EndFrame() {
    if (context_ == nullptr || window_ == nullptr) {
        return PresentResult::Failed;
    }
    Flush();
    inFrame_ = false;
    int outWidth = 0, outHeight = 0;
    SDL_GL_GetDrawableSize(window_, &outWidth, &outHeight);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (outWidth == width_ && outHeight == height_) {
        glBlitFramebuffer(0, 0, width_, height_, 0, 0, width_, height_, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    } else {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        const Letterbox box = ComputeLetterbox(outWidth, outHeight, width_, height_);
        const int bottom = outHeight - (box.y + box.height);  // GL counts rows from the bottom
        glBlitFramebuffer(0, 0, width_, height_, box.x, bottom, box.x + box.width, bottom + box.height,
                          GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    CheckErrors("EndFrame");
    return PresentResult::Ok;
}

bool GlRenderer::ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) {
    if (context_ == nullptr) {
        return false;
    }
    Flush();
    argb.resize(static_cast<size_t>(width_) * height_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, width_, height_, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, argb.data());
    // GL rows run bottom-up; the caller wants the top row first. The back buffer of the original
    // device has no alpha channel, so every pixel reads as opaque.
    const size_t w = static_cast<size_t>(width_);
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(argb.begin() + static_cast<ptrdiff_t>(top * w),
                         argb.begin() + static_cast<ptrdiff_t>((top + 1) * w),
                         argb.begin() + static_cast<ptrdiff_t>(bottom * w));
    }
    for (uint32_t& p : argb) {
        p |= 0xFF000000u;
    }
    width = width_;
    height = height_;
    CheckErrors("ReadBackBuffer");
    return true;
}

}  // namespace platform::sdl
