#pragma once
#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "platform/platform.h"

namespace sceneshot {

// Wraps the real platform: drawing, window and events go to it, while the mouse, the keys, the
// focus and message-box answers come from the script, and (unless real time is asked for) the
// clock is virtual so that frames run as fast as they can be drawn.
class ScriptedPlatform : public platform::Platform {
public:
    ScriptedPlatform(std::unique_ptr<platform::Platform> real, bool realTime);

    void SetMouse(int x, int y, bool left, bool right) {
        mouseX_ = x;
        mouseY_ = y;
        left_ = left;
        right_ = right;
    }
    void SetKey(platform::KeyCode key, bool down) { keys_[key] = down; }
    void SetAnswer(platform::MessageBoxAnswer a) { answer_ = a; }
    // With drawing off the frames run their logic only: nothing reaches the GPU (fast passes
    // between the screens a script looks at).
    void SetDrawing(bool on) { drawing_ = on; }
    int mouseX() const { return mouseX_; }
    int mouseY() const { return mouseY_; }

    uint64_t PerformanceCounter() override;
    uint64_t PerformanceFrequency() override;
    uint32_t Milliseconds() override;
    void Sleep(uint32_t ms) override;
    bool CreateMainWindow(const std::string& titleUtf8, int x, int y, int width, int height, bool windowed) override {
        return real_->CreateMainWindow(titleUtf8, x, y, width, height, windowed);
    }
    void ShowMainWindow(bool visible) override { real_->ShowMainWindow(visible); }
    void DestroyMainWindow() override { real_->DestroyMainWindow(); }
    bool HasMainWindow() const override { return real_->HasMainWindow(); }
    void DesktopSize(int& width, int& height) override { real_->DesktopSize(width, height); }
    void GetWindowSize(int& width, int& height) override { real_->GetWindowSize(width, height); }
    void SetWindowSize(int width, int height) override { real_->SetWindowSize(width, height); }
    bool SetFullScreen(bool on) override { return real_->SetFullScreen(on); }
    bool IsFullScreen() const override { return real_->IsFullScreen(); }
    bool PollEvent(platform::Event& out) override;
    platform::MessageBoxAnswer ShowMessageBox(const std::string&, const std::string&, platform::MessageBoxButtons,
                                              platform::MessageBoxIcon, bool) override {
        return answer_;
    }
    bool IsMainWindowForeground() override { return true; }
    void GetMouse(int& x, int& y, bool& left, bool& right) override {
        x = mouseX_;
        y = mouseY_;
        left = left_;
        right = right_;
    }
    bool IsKeyDown(platform::KeyCode key) override {
        auto it = keys_.find(key);
        return it != keys_.end() && it->second;
    }
    bool CreateRenderer(int width, int height) override { return real_->CreateRenderer(width, height); }
    void DestroyRenderer() override { real_->DestroyRenderer(); }
    bool HasRenderer() const override { return real_->HasRenderer(); }
    platform::TextureHandle CreateTexture(int width, int height) override { return real_->CreateTexture(width, height); }
    void UploadTexture(platform::TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                       int pitchPixels) override {
        real_->UploadTexture(texture, x, y, w, h, argb, pitchPixels);
    }
    void DestroyTexture(platform::TextureHandle texture) override { real_->DestroyTexture(texture); }
    void SetCamera(const float view[16], const float projection[16]) override { real_->SetCamera(view, projection); }
    bool BeginFrame(uint32_t clearArgb) override {
        lastClear_ = clearArgb;
        return !drawing_ || real_->BeginFrame(clearArgb);
    }
    void DrawQuad(const platform::Quad& quad) override {
        if (record_ != nullptr) record_->push_back(quad);
        if (drawing_) real_->DrawQuad(quad);
    }
    // Quads drawn from now on are also appended here (null: no longer).
    void Record(std::vector<platform::Quad>* into) { record_ = into; }
    uint32_t lastClear() const { return lastClear_; }
    platform::PresentResult EndFrame() override { return drawing_ ? real_->EndFrame() : platform::PresentResult::Ok; }
    void ShowFinishedFrame() override {
        real_->ShowFinishedFrame();
        lastShown_ = std::chrono::steady_clock::now();
    }
    // When the last frame went on screen (the swap returned).
    std::chrono::steady_clock::time_point lastShown() const { return lastShown_; }
    bool ResetRenderer() override { return real_->ResetRenderer(); }
    bool ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) override {
        return real_->ReadBackBuffer(argb, width, height);
    }

private:
    std::unique_ptr<platform::Platform> real_;
    bool realTime_;
    bool drawing_ = true;
    std::chrono::steady_clock::time_point lastShown_{};
    uint64_t clockNs_ = 1;
    int mouseX_ = -1, mouseY_ = -1;
    bool left_ = false, right_ = false;
    std::map<platform::KeyCode, bool> keys_;
    platform::MessageBoxAnswer answer_ = platform::MessageBoxAnswer::Ok;
    std::vector<platform::Quad>* record_ = nullptr;
    uint32_t lastClear_ = 0xFF000000u;
};

}  // namespace sceneshot
