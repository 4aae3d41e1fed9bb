#pragma once
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/singleton.h"
#include "graphics/sprite_desc.h"
#include "platform/platform.h"

// The graphics service: the main window, the drawing device, the camera, the frame (begin with
// screen shake, end with screenshot and present, recovery from a lost device), the texture cache
// with sprite drawing, and the text canvases.
class DxGraphic : public Singleton<DxGraphic> {
    friend class Singleton<DxGraphic>;

public:
    // One cached texture or text canvas.
    struct CacheEntry {
        int width = 0;            // picture (or canvas) size
        int height = 0;
        int textureWidth = 0;     // size of the device texture (pictures: a side one texel longer unless a power of two)
        int textureHeight = 0;
        platform::TextureHandle texture = 0;
        // Canvases only: pixel store and the last text drawn, to redraw it after a reset.
        std::vector<uint32_t> pixels;
        std::string text;
        int textX = 0, textY = 0, textSize = 0;
        uint32_t textColour = 0;
        uint32_t lastUse = 0;  // scene-use mark when last loaded, created, written or drawn
    };

    // ---- Device and frame ----------------------------------------------------------------------
    int Init(const std::string& captionSjis, int width, int height, bool windowed);
    int SetupView();
    int SetBlendMode(int mode);
    int BeginFrame();
    int EndFrame();
    int Reset();
    void Shutdown();  // releases the device and destroys the window
    // A hidden frame runs Begin/EndFrame and every sprite draw as logic only: nothing reaches the
    // device and nothing is presented (fast play draws one frame of two).
    void SetFrameHidden(bool hidden) { frameHidden_ = hidden; }
    bool FrameHidden() const { return frameHidden_; }
    // Presents the last drawn frame again without drawing (a paused game keeps its picture).
    int PresentAgain();
    // Puts the last finished frame on screen; the main loop calls it right after its frame wait.
    void ShowFrame();

    bool Windowed() const { return windowed_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int ShakeX() const { return shakeX_; }
    int ShakeY() const { return shakeY_; }
    int CurrentBlendMode() const { return blendMode_; }
    // Writes 0xAARRGGBB pixels (rows top-down) as a PNG file; false on failure.
    static bool WritePng(const char* path, const std::vector<uint32_t>& argb, int width, int height);

    // ---- Textures and sprites ------------------------------------------------------------------
    // Picture size for the name, loading it on first use (a failed load is cached as 0 x 0).
    void GetTexture(std::string_view name, int& width, int& height);
    int LoadTexture(std::string_view name, CacheEntry& entry);
    void ReleaseAllTextures();
    void ReleaseAllCanvases();
    // Draws one sprite at position plus the offset (and the shake when it follows the shake).
    int DrawSprite(const SpriteDesc& sprite, const SpriteVec3& position, float offsetX, float offsetY, float offsetZ);
    // The same for any sprite that carries its own position (an Image).
    template <class Sprite>
        requires std::derived_from<Sprite, SpriteDesc>
    int DrawImage(const Sprite& sprite, float offsetX, float offsetY, float offsetZ) {
        return DrawSprite(sprite, sprite.position, offsetX, offsetY, offsetZ);
    }

    // ---- Text canvases --------------------------------------------------------------------------
    int CreateCanvas(std::string_view name, int width, int height);
    int ClearCanvas(std::string_view name);
    // Draws Shift-JIS text into the canvas; the total advance in pixels, or E_FAIL.
    int DrawText(std::string_view textSjis, int x, int y, int size, uint32_t colourRgb, std::string_view name);
    // Loads the embedded game font (at start-up); removes it again at shut-down.
    int AddFontResource();
    void RemoveFontResource();

    // After a scene change: the manager calls BeginSceneUse before it makes the new scene and
    // ReleaseUnused after the scene's first frame. Pictures and canvases the new scene did not load,
    // create, write or draw by then are released, so a scene that leaves the caches alone does
    // not hand its pictures on to a scene that never shows them. The release comes earlier when
    // the new scene first loads a picture that is not in the cache, so that the old pictures
    // are gone before the new ones take memory. A released picture drawn later is loaded again.
    void BeginSceneUse() {
        ++useMark_;
        releasePending_ = true;
    }
    void ReleaseUnused();

    const CacheEntry* FindTexture(std::string_view name) const;
    const CacheEntry* FindCanvas(std::string_view name) const;
    // Device memory of the loaded pictures and canvases (4 bytes a texel), for memory figures.
    size_t TextureBytes() const;
    // The loaded pictures and canvases with their device bytes, largest first.
    std::vector<std::pair<std::string, size_t>> TextureSizes() const;

private:
    DxGraphic() = default;
    ~DxGraphic() override;

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Cache = std::unordered_map<std::string, CacheEntry, Hash, std::equal_to<>>;

    void UploadCanvas(CacheEntry& canvas);

    bool windowed_ = true;
    int width_ = 1280;
    int height_ = 720;
    bool deviceReady_ = false;
    bool resetPending_ = false;  // a reset failed: EndFrame tries again each frame
    int blendMode_ = 0;
    int shakeX_ = 0;
    int shakeY_ = 0;
    bool fontLoaded_ = false;
    uint32_t useMark_ = 0;
    bool releasePending_ = false;  // a scene began and ReleaseUnused has not run since
    bool frameHidden_ = false;
    Cache textures_;
    Cache canvases_;
};
