#pragma once
#include <SDL.h>
#include <epoxy/gl.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/sdl/letterbox.h"
#include "platform/sdl/texel_coverage.h"

namespace platform::sdl {

// Asks SDL for the OpenGL 3.3 core context the renderer needs. Call before creating the window,
// since the window's visual depends on these attributes.
void RequestGlAttributes();

// One diagnostic line (UTF-8) through the game's debug output.
void LogLine(const std::string& utf8);

// The OpenGL side of the real platform: one context on the main window, an offscreen back buffer
// (framebuffer object with an RGBA8 colour texture) that every frame is drawn into, sprite quads
// batched into one dynamic vertex buffer, and presentation by a scaled copy to the window: the
// frame is finished when it ends and swapped in when the main loop says it is time to show it.
class GlRenderer {
public:
    GlRenderer() = default;
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;
    ~GlRenderer();

    bool Create(SDL_Window* window, int width, int height);
    void Destroy();
    bool Ready() const { return context_ != nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    TextureHandle CreateTexture(int width, int height);
    void UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb, int pitchPixels);
    void DestroyTexture(TextureHandle texture);

    void SetCamera(const float view[16], const float projection[16]);
    bool BeginFrame(uint32_t clearArgb);
    void DrawQuad(const Quad& quad);
    PresentResult EndFrame();
    void ShowFinishedFrame();
    bool ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height);

private:
    struct GpuVertex {
        float x, y, z;
        float u, v;
    };
    struct TextureSlot {
        GLuint name = 0;
        int width = 0;
        int height = 0;
        TexelCoverage coverage;
    };

    // A run of consecutive quads that share one texture, whether they blend, the program, the
    // sampler and the colour factor.
    struct DrawRun {
        GLuint texture;
        bool blend;
        bool nearest;   // every quad maps texels one to one onto pixels: nearest sampling is exact
        int program;    // index into programs_ (SpriteProgram)
        uint64_t tint;  // blend mode << 32 | colour: the factor's source
        int firstQuad;
        int quadCount;
    };
    struct Program {
        GLuint name = 0;
        GLint matrix = -1;
        GLint factor = -1;
        bool cameraDirty = true;
        uint64_t tint = ~uint64_t{0};  // factor last set; none yet
    };
    static constexpr int kPrograms = 3;

    static constexpr int kBatchQuads = 8192;
    static constexpr int kVerticesPerQuad = 6;

    bool CreateResources();
    // True when blending the quad could change no pixel compared with writing it: it replaces
    // (mode 0), or it is alpha-blended at full vertex alpha and every texel it can sample is opaque.
    bool DrawsOpaque(const Quad& quad, int blend) const;
    // For a blended quad (mode 1 or 2): false when every texel it can sample is empty, so it
    // changes no pixel; otherwise true, with the quad cut down to the part whose texels are not
    // all empty when that is smaller.
    bool TrimToInk(Quad& quad, int blend) const;
    CameraView Camera() const { return CameraView{viewProjection_.data(), width_, height_}; }
    void DestroyResources();
    void Flush();
    // Drops the queued quads that an opaque quad landing on `cover` hides completely.
    void DropHidden(const ScreenBox& cover);
    GLuint TextureName(TextureHandle texture) const;
    void CheckErrors(const char* where);

    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    int width_ = 0;
    int height_ = 0;

    Program programs_[kPrograms];  // by SpriteProgram
    GLuint samplers_[2] = {0, 0};  // linear, nearest
    GLuint vao_ = 0;
    GLuint vbo_ = 0;
    GLuint fbo_ = 0;
    GLuint colourTexture_ = 0;
    GLuint whiteTexture_ = 0;

    std::array<float, 16> viewProjection_{};
    bool blendEnabled_ = true;  // GL_BLEND as last set

    bool inFrame_ = false;
    bool swapPending_ = false;  // the window's back buffer holds a finished frame not yet shown

    // Quads queued since the last flush, uploaded in one piece and drawn run by run in submission
    // order. Both stores are sized once; a full store is flushed.
    std::vector<GpuVertex> batch_;
    std::vector<ScreenBox> boxes_;   // where each queued quad lands; x0 > x1 once hidden or unknown
    int batchQuads_ = 0;
    std::vector<DrawRun> runs_;
    int lastBlend_ = 1;  // an unknown mode keeps the one before, as the device's state would

    std::vector<TextureSlot> textures_;  // handle = index + 1
    std::vector<TextureHandle> freeHandles_;
    std::vector<uint32_t> premultiplied_;  // upload scratch, grown as needed
    int errorLines_ = 0;
};

}  // namespace platform::sdl
