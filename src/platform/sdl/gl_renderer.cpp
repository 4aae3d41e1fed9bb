#include "platform/sdl/gl_renderer.h"

#include <algorithm>
#include <cstddef>

#include "platform/debug.h"
#include "platform/sdl/gl_shaders.h"
#include "platform/text_encoding.h"

namespace platform::sdl {
namespace {

// Unsized, so the driver stores texels in the order they are uploaded (B, G, R, A): uploads are
// plain copies, and software rasterisers keep their fast copy and blend paths for such textures.
constexpr GLint kTexelFormat = GL_RGBA;

// Texels premultiplied per glTexSubImage2D call while uploading (256 KiB).
constexpr int kUploadBandTexels = 65536;

// Texels as the sprite programs read them: colour multiplied by alpha, rounded.
void Premultiply(const uint32_t* argb, int w, int h, int pitch, uint32_t* out) {
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = argb + static_cast<size_t>(y) * pitch;
        uint32_t* dst = out + static_cast<size_t>(y) * w;
        for (int x = 0; x < w; ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            if (a == 0xFFu) {
                dst[x] = p;
                continue;
            }
            if (a == 0) {
                dst[x] = 0;
                continue;
            }
            // c * a / 255 rounded, without a division: exact for every c, a in 0..255.
            auto scale = [a](uint32_t c) {
                const uint32_t v = c * a + 128u;
                return (v + (v >> 8)) >> 8;
            };
            dst[x] = (a << 24) | (scale((p >> 16) & 0xFFu) << 16) | (scale((p >> 8) & 0xFFu) << 8) | scale(p & 0xFFu);
        }
    }
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
    swapPending_ = false;
}

bool GlRenderer::CreateResources() {
    for (int i = 0; i < kPrograms; ++i) {
        Program& program = programs_[i];
        program = Program{};
        program.name = BuildSpriteProgram(static_cast<SpriteProgram>(i));
        if (program.name == 0) {
            return false;
        }
        program.matrix = glGetUniformLocation(program.name, "uViewProj");
        program.factor = glGetUniformLocation(program.name, "uFactor");
        glUseProgram(program.name);
        glUniform1i(glGetUniformLocation(program.name, "uTexture"), 0);
        glUniform2f(glGetUniformLocation(program.name, "uHalfPixel"), 1.0f / static_cast<float>(width_),
                    1.0f / static_cast<float>(height_));
    }
    // Sampler objects override the textures' own filtering: linear for scaled or turned quads,
    // nearest where texels land one to one on pixels (the same pixels, much cheaper in software).
    glGenSamplers(2, samplers_);
    for (int i = 0; i < 2; ++i) {
        const GLint filter = i == 0 ? GL_LINEAR : GL_NEAREST;
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MIN_FILTER, filter);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_MAG_FILTER, filter);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    }

    // Vertex layout: position, texture coordinates.
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

    // The back buffer.
    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, &colourTexture_);
    glBindTexture(GL_TEXTURE_2D, colourTexture_);
    SetSamplerState();
    glTexImage2D(GL_TEXTURE_2D, 0, kTexelFormat, width_, height_, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
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
    glTexImage2D(GL_TEXTURE_2D, 0, kTexelFormat, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &white);

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
    boxes_.assign(kBatchQuads, ScreenBox{});
    batchQuads_ = 0;
    runs_.clear();
    runs_.reserve(kBatchQuads);
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
    for (Program& program : programs_) {
        if (program.name != 0) glDeleteProgram(program.name);
        program = Program{};
    }
    if (samplers_[0] != 0) glDeleteSamplers(2, samplers_);
    samplers_[0] = samplers_[1] = 0;
    fbo_ = colourTexture_ = whiteTexture_ = vbo_ = vao_ = 0;
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
    glTexImage2D(GL_TEXTURE_2D, 0, kTexelFormat, width, height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
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
    slot.coverage.Reset(width, height);
    return handle;
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
    // Premultiplied and handed over a band of rows at a time: the band stays in the cache
    // between the two passes, and the scratch buffer stays small whatever the texture's size.
    const int bandRows = std::max(1, std::min(h, kUploadBandTexels / w));
    const size_t bandTexels = static_cast<size_t>(w) * static_cast<size_t>(bandRows);
    if (premultiplied_.size() < bandTexels) {
        premultiplied_.resize(bandTexels);
    }
    for (int row = 0; row < h; row += bandRows) {
        const int rows = std::min(bandRows, h - row);
        Premultiply(argb + static_cast<size_t>(row) * static_cast<size_t>(pitchPixels), w, rows, pitchPixels,
                    premultiplied_.data());
        // 0xAARRGGBB words are B, G, R, A bytes in memory on this platform.
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + row, w, rows, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                        premultiplied_.data());
    }
    slot.coverage.Mark(x, y, w, h, argb, pitchPixels);
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
    for (Program& program : programs_) {
        program.cameraDirty = true;
    }
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
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glActiveTexture(GL_TEXTURE0);
    inFrame_ = true;
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
    return textures_[quad.texture - 1].coverage.SamplesOnlyOpaque(quad, Camera());
}

bool GlRenderer::TrimToInk(Quad& quad, int blend) const {
    if ((blend != 1 && blend != 2) || quad.texture == 0 || quad.texture > textures_.size() ||
        textures_[quad.texture - 1].name == 0) {
        return true;
    }
    return textures_[quad.texture - 1].coverage.TrimToInk(quad, Camera());
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
    // White alpha-blended quads need no colour work; mode 0 needs the straight colour back unless
    // every texel is opaque (then premultiplied and straight agree); quads whose texels land one
    // to one on pixels sample the same texels with nearest filtering.
    int program = static_cast<int>(SpriteProgram::Tint);
    if (lastBlend_ == 1 && quad.argb == 0xFFFFFFFFu) {
        program = static_cast<int>(SpriteProgram::Copy);
    } else if (lastBlend_ == 0 && !DrawsOpaque(quad, 1)) {
        program = static_cast<int>(SpriteProgram::Straight);
    }
    const uint64_t tint = program == static_cast<int>(SpriteProgram::Copy)
                              ? 0
                              : (uint64_t{static_cast<uint32_t>(lastBlend_)} << 32) | quad.argb;
    bool nearest = true;
    if (quad.texture != 0 && quad.texture <= textures_.size() && textures_[quad.texture - 1].name != 0) {
        const TextureSlot& slot = textures_[quad.texture - 1];
        nearest = IsPixelExact(trimmed, Camera(), slot.width, slot.height);
    }
    if (runs_.empty() || runs_.back().texture != texture || runs_.back().blend != blendOn ||
        runs_.back().program != program || runs_.back().nearest != nearest || runs_.back().tint != tint) {
        runs_.push_back(DrawRun{texture, blendOn, nearest, program, tint, batchQuads_, 0});  // reserved
    }
    ScreenBox box{1.0f, 0.0f, 0.0f, 0.0f, false};  // unknown until measured
    if (ScreenBounds(trimmed, Camera(), box)) {
        // An opaque quad replaces every pixel it covers: what it hides need not be drawn at all.
        // Large ones only, so the search pays for itself.
        constexpr float kLargeArea = 128.0f * 128.0f;
        if (!blendOn && batchQuads_ > 0 && (box.x1 - box.x0) * (box.y1 - box.y0) >= kLargeArea) {
            DropHidden(box);
        }
    } else {
        box = ScreenBox{1.0f, 0.0f, 0.0f, 0.0f, false};
    }
    boxes_[batchQuads_] = box;
    ++runs_.back().quadCount;
    // The strip top-left, top-right, bottom-left, bottom-right as two triangles.
    static constexpr int kOrder[kVerticesPerQuad] = {0, 1, 2, 2, 1, 3};
    GpuVertex* out = batch_.data() + static_cast<size_t>(batchQuads_) * kVerticesPerQuad;
    for (int i = 0; i < kVerticesPerQuad; ++i) {
        const Vertex& v = trimmed.v[kOrder[i]];
        out[i] = GpuVertex{v.x, v.y, v.z, v.u, v.v};
    }
    ++batchQuads_;
}

void GlRenderer::DropHidden(const ScreenBox& cover) {
    for (int i = 0; i < batchQuads_; ++i) {
        ScreenBox& box = boxes_[i];
        if (box.x0 <= box.x1 && Hides(cover, box)) {
            // Collapsed to a point: no pixel left to rasterise.
            GpuVertex* quad = batch_.data() + static_cast<size_t>(i) * kVerticesPerQuad;
            for (int k = 1; k < kVerticesPerQuad; ++k) {
                quad[k] = quad[0];
            }
            box.x0 = 1.0f;
            box.x1 = 0.0f;
        }
    }
}

void GlRenderer::Flush() {
    if (batchQuads_ == 0 || context_ == nullptr) {
        batchQuads_ = 0;
        runs_.clear();
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    int program = -1;
    int sampler = -1;
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
        if (program != run.program) {
            program = run.program;
            glUseProgram(programs_[program].name);
        }
        Program& current = programs_[program];
        if (current.cameraDirty) {
            glUniformMatrix4fv(current.matrix, 1, GL_FALSE, viewProjection_.data());
            current.cameraDirty = false;
        }
        if (current.factor >= 0 && current.tint != run.tint) {
            current.tint = run.tint;
            const uint32_t argb = static_cast<uint32_t>(run.tint);
            const int mode = static_cast<int>(run.tint >> 32);
            const float a = static_cast<float>(argb >> 24) / 255.0f;
            const float r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
            const float g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
            const float b = static_cast<float>(argb & 0xFF) / 255.0f;
            if (mode == 0) {
                glUniform4f(current.factor, r, g, b, a);
            } else {
                glUniform4f(current.factor, r * a, g * a, b * a, mode == 1 ? a : 0.0f);
            }
        }
        if (sampler != (run.nearest ? 1 : 0)) {
            sampler = run.nearest ? 1 : 0;
            glBindSampler(0, samplers_[sampler]);
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
    ShowFinishedFrame();  // nobody showed the last one: show it before its buffer is drawn over
    int outWidth = 0, outHeight = 0;
    SDL_GL_GetDrawableSize(window_, &outWidth, &outHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const Letterbox box = ComputeLetterbox(outWidth, outHeight, width_, height_);
    if (box.width != outWidth || box.height != outHeight) {
        glViewport(0, 0, outWidth, outHeight);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The back buffer goes to the window as one textured quad through the copy program, blending
    // off: software rasterisers copy (or stretch) it row by row, where a framebuffer blit runs a
    // shader per pixel. Same size or a whole-number enlargement repeats pixels exactly, so it is
    // sampled nearest; other sizes are filtered.
    const bool whole = box.width % width_ == 0 && box.height % height_ == 0 &&
                       box.width / width_ == box.height / height_;
    const int bottom = outHeight - (box.y + box.height);  // GL counts rows from the bottom
    glViewport(box.x, bottom, box.width, box.height);
    // Clip-space corners, moved back by the half pixel the vertex shader adds for sprites.
    const float hx = 1.0f / static_cast<float>(width_), hy = 1.0f / static_cast<float>(height_);
    const GpuVertex quad[kVerticesPerQuad] = {
        {-1 - hx, 1 + hy, 0, 0, 1}, {1 - hx, 1 + hy, 0, 1, 1}, {-1 - hx, -1 + hy, 0, 0, 0},
        {-1 - hx, -1 + hy, 0, 0, 0}, {1 - hx, 1 + hy, 0, 1, 1}, {1 - hx, -1 + hy, 0, 1, 0}};
    static constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    Program& copy = programs_[static_cast<int>(SpriteProgram::Copy)];
    glUseProgram(copy.name);
    glUniformMatrix4fv(copy.matrix, 1, GL_FALSE, kIdentity);
    copy.cameraDirty = true;  // the sprites' camera goes back in at the next flush
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STREAM_DRAW);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, colourTexture_);
    glBindSampler(0, samplers_[whole ? 1 : 0]);
    glDisable(GL_BLEND);
    blendEnabled_ = false;
    glDrawArrays(GL_TRIANGLES, 0, kVerticesPerQuad);
    glViewport(0, 0, width_, height_);
    // Drawing finishes here, not in the swap: a software rasteriser does all of a frame's work
    // when it is flushed, and a swap that waited for it would reach the screen late by however
    // long that took. Finished now, the frame is shown by ShowFinishedFrame at the paced instant.
    glFinish();
    swapPending_ = true;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    CheckErrors("EndFrame");
    return PresentResult::Ok;
}

void GlRenderer::ShowFinishedFrame() {
    if (!swapPending_ || window_ == nullptr) {
        return;
    }
    swapPending_ = false;
    SDL_GL_SwapWindow(window_);
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
