#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

// The platform for tests: no window system, no GPU. It records every drawn quad, takes scripted
// input and message-box answers, and runs on a virtual clock that only moves when told to (or by
// Sleep). Install it with platform::Install(std::make_unique<HeadlessPlatform>()) and keep a
// pointer to script it.
namespace platform {

class HeadlessPlatform : public Platform {
public:
    struct DrawnQuad {
        Quad quad;
        int frame = 0;  // index of the frame it was drawn in
    };
    struct MessageBoxRecord {
        std::string text;
        std::string caption;
        MessageBoxButtons buttons;
        MessageBoxIcon icon;
        bool owned;
    };
    struct TextureRecord {
        int width = 0;
        int height = 0;
        std::vector<uint32_t> pixels;
    };

    // ---- Scripting ----------------------------------------------------------------------------
    void PushEvent(const Event& e) { events_.push_back(e); }
    // Answers for the next message boxes, in order; when none is queued the answer is `defaultAnswer`.
    void QueueMessageBoxAnswer(MessageBoxAnswer a) { answers_.push_back(a); }
    MessageBoxAnswer defaultAnswer = MessageBoxAnswer::Ok;
    void SetMouse(int x, int y, bool left, bool right = false) {
        mouseX_ = x;
        mouseY_ = y;
        left_ = left;
        right_ = right;
    }
    bool MouseLeft() const { return left_; }
    bool MouseRight() const { return right_; }
    void SetForeground(bool fg) { foreground_ = fg; }
    void SetKeyDown(KeyCode k, bool down) { keys_[k] = down; }
    // Virtual clock: nanoseconds since an arbitrary start (never 0).
    void AdvanceClockNs(uint64_t ns) { clockNs_ += ns; }
    void AdvanceClockMs(double ms) { clockNs_ += static_cast<uint64_t>(ms * 1e6); }
    uint64_t ClockNs() const { return clockNs_; }
    // Extra virtual time each Sleep takes beyond the asked milliseconds (models oversleeping).
    uint64_t sleepOvershootNs = 0;
    uint64_t clockReadCostNs = 1000;
    // Makes PerformanceCounter report 0 (no high-resolution counter).
    bool noPerformanceCounter = false;
    // Calls of ShowFinishedFrame so far.
    int framesShown = 0;
    // Makes the next EndFrame report this result once (device loss tests).
    void FailNextPresent(PresentResult r) { nextPresent_ = r; }
    // False: each BeginFrame forgets the quads of earlier frames (long scene runs).
    bool recordAllFrames = true;
    // False: textures keep only their size, not their texels (long runs that never look at them).
    bool keepTexturePixels = true;
    bool failCreateWindow = false;
    bool failCreateRenderer = false;
    // The next this many ResetRenderer calls fail (the renderer stays gone until one succeeds).
    int failResets = 0;
    int desktopWidth = 1920;
    int desktopHeight = 1080;

    // The player drags the window to width x height: the size changes and a Resized event waits.
    void ScriptResize(int width, int height);
    // The window loses or gains the keyboard: the foreground flag follows and the event waits.
    void ScriptFocus(bool gained);

    // ---- Inspection -----------------------------------------------------------------------------
    const std::vector<DrawnQuad>& Quads() const { return quads_; }
    // Quads drawn in the last completed (or current) frame.
    std::vector<Quad> LastFrameQuads() const;
    void ClearQuads() { quads_.clear(); }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return boxes_; }
    int FrameCount() const { return frames_; }
    int BeginCount() const { return begins_; }
    uint32_t LastClearColour() const { return clearColour_; }
    bool WindowVisible() const { return windowVisible_; }
    bool WindowCreated() const { return window_; }
    std::string WindowTitle() const { return title_; }
    int WindowX() const { return winX_; }
    int WindowY() const { return winY_; }
    const float* View() const { return view_; }
    const float* Projection() const { return projection_; }
    const TextureRecord* Texture(TextureHandle h) const;
    size_t LiveTextureCount() const { return textures_.size(); }
    int SleepCalls() const { return sleeps_; }
    int ResetCount() const { return resets_; }

    // ---- Platform -----------------------------------------------------------------------------
    // Every clock read costs clockReadCostNs of virtual time, so that a spinning wait ends.
    uint64_t PerformanceCounter() override {
        clockNs_ += clockReadCostNs;
        return noPerformanceCounter ? 0 : clockNs_;
    }
    uint64_t PerformanceFrequency() override { return 1000000000ull; }
    uint32_t Milliseconds() override {
        clockNs_ += clockReadCostNs;
        return static_cast<uint32_t>(clockNs_ / 1000000ull);
    }
    void Sleep(uint32_t ms) override {
        ++sleeps_;
        clockNs_ += static_cast<uint64_t>(ms) * 1000000ull + sleepOvershootNs;
    }

    bool CreateMainWindow(const std::string& titleUtf8, int x, int y, int width, int height,
                          bool windowed) override;
    void ShowMainWindow(bool visible) override { windowVisible_ = visible; }
    void DestroyMainWindow() override;
    bool HasMainWindow() const override { return window_; }
    void DesktopSize(int& width, int& height) override {
        width = desktopWidth;
        height = desktopHeight;
    }
    bool PollEvent(Event& out) override;
    void GetWindowSize(int& width, int& height) override {
        width = windowWidth_;
        height = windowHeight_;
    }
    void SetWindowSize(int width, int height) override;
    bool SetFullScreen(bool on) override;
    bool IsFullScreen() const override { return fullScreen_; }
    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    MessageBoxButtons buttons, MessageBoxIcon icon, bool owned) override;

    bool IsMainWindowForeground() override { return window_ && foreground_; }
    void GetMouse(int& x, int& y, bool& left, bool& right) override {
        x = mouseX_;
        y = mouseY_;
        left = left_;
        right = right_;
    }
    bool IsKeyDown(KeyCode key) override;

    bool CreateRenderer(int width, int height) override;
    void DestroyRenderer() override;
    bool HasRenderer() const override { return renderer_; }
    TextureHandle CreateTexture(int width, int height) override;
    void UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                       int pitchPixels) override;
    void DestroyTexture(TextureHandle texture) override;
    void SetCamera(const float view[16], const float projection[16]) override;
    bool BeginFrame(uint32_t clearArgb) override;
    void DrawQuad(const Quad& quad) override;
    PresentResult EndFrame() override;
    void ShowFinishedFrame() override { ++framesShown; }
    bool ResetRenderer() override;
    bool ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) override;

private:
    std::deque<Event> events_;
    std::deque<MessageBoxAnswer> answers_;
    std::vector<MessageBoxRecord> boxes_;
    std::vector<DrawnQuad> quads_;
    std::map<KeyCode, bool> keys_;
    std::map<TextureHandle, TextureRecord> textures_;
    TextureHandle nextTexture_ = 1;
    uint64_t clockNs_ = 1000000000ull;
    int mouseX_ = 0, mouseY_ = 0;
    bool left_ = false, right_ = false;
    bool foreground_ = true;
    bool window_ = false;
    bool windowVisible_ = false;
    bool renderer_ = false;
    std::string title_;
    int winX_ = 0, winY_ = 0, width_ = 0, height_ = 0;
    int windowWidth_ = 0, windowHeight_ = 0;
    bool fullScreen_ = false;
    int frames_ = 0;
    int begins_ = 0;
    int sleeps_ = 0;
    int resets_ = 0;
    uint32_t clearColour_ = 0;
    float view_[16] = {};
    float projection_[16] = {};
    bool hasNextPresent_ = false;
    PresentResult nextPresent_ = PresentResult::Ok;
};

}  // namespace platform
