#include "platform/headless/headless_platform.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::vector<Quad> HeadlessPlatform::LastFrameQuads() const {
    std::vector<Quad> out;
    if (quads_.empty()) {
        return out;
    }
    const int last = quads_.back().frame;
    for (const auto& q : quads_) {
        if (q.frame == last) {
            out.push_back(q.quad);
        }
    }
    return out;
}

const HeadlessPlatform::TextureRecord* HeadlessPlatform::Texture(TextureHandle h) const {
    auto it = textures_.find(h);
    return it != textures_.end() ? &it->second : nullptr;
}

bool HeadlessPlatform::CreateMainWindow(const std::string& titleUtf8, int x, int y, int width, int height,
                                        bool windowed) {
    if (failCreateWindow) {
        return false;
    }
    window_ = true;
    windowVisible_ = true;
    title_ = titleUtf8;
    winX_ = x;
    winY_ = y;
    width_ = width;
    height_ = height;
    windowWidth_ = width;
    windowHeight_ = height;
    fullScreen_ = !windowed;
    return true;
}

void HeadlessPlatform::SetWindowSize(int width, int height) {
    if (!window_ || fullScreen_ || width <= 0 || height <= 0) {
        return;
    }
    windowWidth_ = width;
    windowHeight_ = height;
    winX_ = (desktopWidth - width) / 2;
    winY_ = (desktopHeight - height) / 2;
    // As a real window reports its new size.
    Event e{Event::Type::Resized, KeyCode::Other, false};
    e.width = width;
    e.height = height;
    events_.push_back(e);
}

bool HeadlessPlatform::SetFullScreen(bool on) {
    if (!window_) {
        return false;
    }
    fullScreen_ = on;
    return true;
}

void HeadlessPlatform::ScriptResize(int width, int height) {
    windowWidth_ = width;
    windowHeight_ = height;
    Event e{Event::Type::Resized, KeyCode::Other, false};
    e.width = width;
    e.height = height;
    events_.push_back(e);
}

void HeadlessPlatform::ScriptFocus(bool gained) {
    foreground_ = gained;
    events_.push_back(Event{gained ? Event::Type::FocusGained : Event::Type::FocusLost, KeyCode::Other, false});
}

void HeadlessPlatform::DestroyMainWindow() {
    // The drawing context lives in the window: it goes with it, as in the real platform.
    DestroyRenderer();
    window_ = false;
    windowVisible_ = false;
}

bool HeadlessPlatform::PollEvent(Event& out) {
    if (events_.empty()) {
        if (!TakeQuit()) {
            return false;
        }
        out = Event{Event::Type::Quit, KeyCode::Other, false};
        return true;
    }
    out = events_.front();
    events_.pop_front();
    return true;
}

MessageBoxAnswer HeadlessPlatform::ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                                  MessageBoxButtons buttons, MessageBoxIcon icon, bool owned) {
    boxes_.push_back({textUtf8, captionUtf8, buttons, icon, owned});
    MessageBoxAnswer a = defaultAnswer;
    if (!answers_.empty()) {
        a = answers_.front();
        answers_.pop_front();
    }
    if (buttons == MessageBoxButtons::Ok) {
        a = MessageBoxAnswer::Ok;
    }
    return a;
}

bool HeadlessPlatform::IsKeyDown(KeyCode key) {
    auto it = keys_.find(key);
    return it != keys_.end() && it->second;
}

bool HeadlessPlatform::CreateRenderer(int width, int height) {
    if (failCreateRenderer || !window_) {
        return false;
    }
    renderer_ = true;
    width_ = width;
    height_ = height;
    return true;
}

void HeadlessPlatform::DestroyRenderer() {
    renderer_ = false;
    textures_.clear();
}

TextureHandle HeadlessPlatform::CreateTexture(int width, int height) {
    if (!renderer_ || width <= 0 || height <= 0) {
        return 0;
    }
    TextureRecord rec;
    rec.width = width;
    rec.height = height;
    if (keepTexturePixels) rec.pixels.assign(static_cast<size_t>(width) * height, 0);
    const TextureHandle h = nextTexture_++;
    textures_[h] = std::move(rec);
    return h;
}

void HeadlessPlatform::UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                                     int pitchPixels) {
    auto it = textures_.find(texture);
    if (it == textures_.end() || argb == nullptr) {
        return;
    }
    TextureRecord& t = it->second;
    if (t.pixels.empty()) {
        return;
    }
    // Only the part inside the texture is kept, a row at a time.
    const int x0 = std::max(x, 0), x1 = std::min(x + w, t.width);
    for (int row = 0; row < h && x1 > x0; ++row) {
        const int ty = y + row;
        if (ty < 0 || ty >= t.height) {
            continue;
        }
        const uint32_t* src = argb + static_cast<size_t>(row) * static_cast<size_t>(pitchPixels) + (x0 - x);
        std::copy(src, src + (x1 - x0), t.pixels.begin() + static_cast<ptrdiff_t>(ty) * t.width + x0);
    }
}

void HeadlessPlatform::DestroyTexture(TextureHandle texture) { textures_.erase(texture); }

void HeadlessPlatform::SetCamera(const float view[16], const float projection[16]) {
    std::memcpy(view_, view, sizeof(view_));
    std::memcpy(projection_, projection, sizeof(projection_));
}

bool HeadlessPlatform::BeginFrame(uint32_t clearArgb) {
    if (!renderer_) {
        return false;
    }
    ++begins_;
    clearColour_ = clearArgb;
    if (!recordAllFrames) {
        quads_.clear();
    }
    return true;
}

void HeadlessPlatform::DrawQuad(const Quad& quad) {
    if (renderer_) {
        quads_.push_back({quad, frames_});
    }
}

PresentResult HeadlessPlatform::EndFrame() {
    if (hasNextPresent_ || nextPresent_ != PresentResult::Ok) {
        const PresentResult r = nextPresent_;
        nextPresent_ = PresentResult::Ok;
        hasNextPresent_ = false;
        return r;
    }
    if (!renderer_) {
        return PresentResult::Failed;
    }
    ++frames_;
    return PresentResult::Ok;
}

bool HeadlessPlatform::ResetRenderer() {
    ++resets_;
    textures_.clear();
    if (failResets > 0) {
        --failResets;
        renderer_ = false;
        return false;
    }
    renderer_ = window_;
    return renderer_;
}

bool HeadlessPlatform::ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) {
    if (!renderer_) {
        return false;
    }
    // No rasteriser here: the image is the clear colour, which is enough for file-writing tests.
    width = width_;
    height = height_;
    argb.assign(static_cast<size_t>(width_) * height_, clearColour_);
    return true;
}

}  // namespace platform
