// The real platform: SDL2 window, events, message boxes, input and clock, drawing through
// GlRenderer.
#include <SDL.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/sdl/gl_renderer.h"

namespace platform {
namespace {

using sdl::LogLine;

// SDL falls back on drivers that show nothing when it finds no display. The game takes one of
// them only when SDL_VIDEODRIVER names it (the scene-shot tool and tests do), never by itself.
bool InvisibleDriverAllowed(const char* driver) {
    if (driver == nullptr) {
        return false;
    }
    if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
        return true;
    }
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked == nullptr) {
        return false;
    }
    // The variable may list several drivers separated by commas.
    const std::string list = std::string(",") + asked + ",";
    return list.find(std::string(",") + driver + ",") != std::string::npos;
}

class SdlPlatform final : public Platform {
public:
    SdlPlatform() = default;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    ~SdlPlatform() override {
        DestroyMainWindow();
        if (videoReady_) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
        }
    }

    // --- Clock ---------------------------------------------------------------------------------
    uint64_t PerformanceCounter() override { return SDL_GetPerformanceCounter(); }
    uint64_t PerformanceFrequency() override { return SDL_GetPerformanceFrequency(); }
    uint32_t Milliseconds() override { return SDL_GetTicks(); }
    void Sleep(uint32_t ms) override { SDL_Delay(ms); }

    // --- Window and events ----------------------------------------------------------------------
    bool CreateMainWindow(const std::string& titleUtf8, int x, int y, int width, int height,
                          bool windowed) override {
        if (window_ != nullptr) {
            LogLine("Error: the main window exists already");
            return false;
        }
        if (width <= 0 || height <= 0) {
            LogLine("Error: invalid window size " + std::to_string(width) + "x" + std::to_string(height));
            return false;
        }
        if (!EnsureVideo()) {
            return false;
        }
        sdl::RequestGlAttributes();
        // Shown at once. The player may resize the window: the back buffer keeps its size and is
        // scaled and letterboxed into whatever the window holds.
        Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
        if (!windowed) {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
            x = SDL_WINDOWPOS_CENTERED;
            y = SDL_WINDOWPOS_CENTERED;
        }
        window_ = SDL_CreateWindow(titleUtf8.c_str(), x, y, width, height, flags);
        if (window_ == nullptr) {
            LogLine(std::string("Error: SDL window could not be created: ") + SDL_GetError());
            return false;
        }
        windowId_ = SDL_GetWindowID(window_);
        bbWidth_ = width;
        bbHeight_ = height;
        TakeFocus();
        return true;
    }

    void ShowMainWindow(bool visible) override {
        if (window_ == nullptr) {
            return;
        }
        if (visible) {
            SDL_ShowWindow(window_);
            TakeFocus();
        } else {
            SDL_HideWindow(window_);
        }
    }

    void DestroyMainWindow() override {
        renderer_.Destroy();
        if (window_ != nullptr) {
            SDL_DestroyWindow(window_);
            window_ = nullptr;
            windowId_ = 0;
        }
    }

    bool HasMainWindow() const override { return window_ != nullptr; }

    void DesktopSize(int& width, int& height) override {
        SDL_DisplayMode mode{};
        if (EnsureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            width = mode.w;
            height = mode.h;
            return;
        }
        LogLine(std::string("Error: desktop size unknown: ") + SDL_GetError());
        width = 1280;
        height = 720;
    }

    void GetWindowSize(int& width, int& height) override {
        width = height = 0;
        if (window_ != nullptr) {
            SDL_GetWindowSize(window_, &width, &height);
        }
    }

    void SetWindowSize(int width, int height) override {
        if (window_ == nullptr || IsFullScreen() || width <= 0 || height <= 0) {
            return;
        }
        SDL_SetWindowSize(window_, width, height);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }

    bool SetFullScreen(bool on) override {
        if (window_ == nullptr) {
            return false;
        }
        if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
            LogLine(std::string("Error: full screen could not be switched: ") + SDL_GetError());
            return false;
        }
        return true;
    }

    bool IsFullScreen() const override {
        return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    }

    bool PollEvent(Event& out) override {
        if (!videoReady_) {
            return QuitEvent(out);
        }
        SDL_Event e;
        while (SDL_PollEvent(&e) != 0) {
            switch (e.type) {
                case SDL_QUIT:
                    out = Event{Event::Type::CloseRequested, KeyCode::Other, false};
                    return true;
                case SDL_WINDOWEVENT:
                    if (e.window.windowID != windowId_) {
                        break;
                    }
                    if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                        out = Event{Event::Type::CloseRequested, KeyCode::Other, false};
                        return true;
                    }
                    if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                        out = Event{Event::Type::FocusGained, KeyCode::Other, false};
                        return true;
                    }
                    if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                        out = Event{Event::Type::FocusLost, KeyCode::Other, false};
                        return true;
                    }
                    if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                        out = Event{Event::Type::Resized, KeyCode::Other, false};
                        out.width = e.window.data1;
                        out.height = e.window.data2;
                        return true;
                    }
                    break;
                case SDL_MOUSEBUTTONDOWN:
                    // Remembered until the next poll of the buttons: a click that goes down and
                    // up between two frames still counts (slow frames, quick fingers).
                    if (e.button.windowID == windowId_) {
                        if (e.button.button == SDL_BUTTON_LEFT) pressedLeft_ = true;
                        if (e.button.button == SDL_BUTTON_RIGHT) pressedRight_ = true;
                    }
                    break;
                case SDL_KEYDOWN: {
                    if (e.key.repeat != 0) {
                        break;  // auto-repeat would ask the same question again and again
                    }
                    const KeyCode key = KeyFromScancode(e.key.keysym.scancode);
                    out = Event{Event::Type::KeyDown, key, (e.key.keysym.mod & KMOD_ALT) != 0};
                    return true;
                }
                default:
                    break;
            }
        }
        return QuitEvent(out);
    }

    bool QuitEvent(Event& out) {
        if (!TakeQuit()) {
            return false;
        }
        out = Event{Event::Type::Quit, KeyCode::Other, false};
        return true;
    }

    MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                    MessageBoxButtons buttons, MessageBoxIcon icon,
                                    bool ownedByMainWindow) override {
        const bool okCancel = buttons == MessageBoxButtons::OkCancel;
        SDL_MessageBoxButtonData data[2] = {
            {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
            {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "Cancel"},
        };
        if (!okCancel) {
            data[0].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        Uint32 flags = SDL_MESSAGEBOX_INFORMATION;
        if (icon == MessageBoxIcon::Warning) {
            flags = SDL_MESSAGEBOX_WARNING;
        } else if (icon == MessageBoxIcon::Error) {
            flags = SDL_MESSAGEBOX_ERROR;
        }
        SDL_MessageBoxData box{};
        box.flags = flags;
        box.window = ownedByMainWindow ? window_ : nullptr;
        box.title = captionUtf8.c_str();
        box.message = textUtf8.c_str();
        box.numbuttons = okCancel ? 2 : 1;
        box.buttons = data;
        int pressed = -1;
        if (SDL_ShowMessageBox(&box, &pressed) != 0) {
            // No way to ask: report it and take the answer that changes nothing.
            LogLine(std::string("Error: message box could not be shown: ") + SDL_GetError() + " [" + captionUtf8 +
                    "] " + textUtf8);
            return okCancel ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
        }
        if (!okCancel) {
            return MessageBoxAnswer::Ok;
        }
        // Closing the box without a button counts as Cancel.
        return pressed == 1 ? MessageBoxAnswer::Ok : MessageBoxAnswer::Cancel;
    }

    // --- Input ---------------------------------------------------------------------------------
    bool IsMainWindowForeground() override {
        if (window_ == nullptr) {
            return false;
        }
        return SDL_GetKeyboardFocus() == window_ || (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
    }

    void GetMouse(int& x, int& y, bool& left, bool& right) override {
        if (window_ == nullptr) {
            x = y = -1;
            left = right = false;
            return;
        }
        int mx = 0, my = 0;
        Uint32 buttons = 0;
        if (SDL_GetMouseFocus() == window_) {
            buttons = SDL_GetMouseState(&mx, &my);
        } else {
            // Outside the window the position keeps following the cursor, as a client-area
            // conversion of the screen position would.
            int gx = 0, gy = 0, wx = 0, wy = 0;
            buttons = SDL_GetGlobalMouseState(&gx, &gy);
            SDL_GetWindowPosition(window_, &wx, &wy);
            mx = gx - wx;
            my = gy - wy;
        }
        int ww = 0, wh = 0;
        SDL_GetWindowSize(window_, &ww, &wh);
        sdl::OutputToBackBuffer(mx, my, ww, wh, bbWidth_, bbHeight_, x, y);
        left = (buttons & SDL_BUTTON_LMASK) != 0 || pressedLeft_;
        right = (buttons & SDL_BUTTON_RMASK) != 0 || pressedRight_;
        pressedLeft_ = pressedRight_ = false;
    }

    bool IsKeyDown(KeyCode key) override {
        if (!videoReady_ || key == KeyCode::Other) {
            return false;
        }
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        const SDL_Scancode code = ScancodeOf(key);
        return state != nullptr && code != SDL_SCANCODE_UNKNOWN && code < count && state[code] != 0;
    }

    static constexpr std::pair<KeyCode, SDL_Scancode> kKeys[] = {
        {KeyCode::F2, SDL_SCANCODE_F2},       {KeyCode::F4, SDL_SCANCODE_F4},
        {KeyCode::LeftControl, SDL_SCANCODE_LCTRL}, {KeyCode::Escape, SDL_SCANCODE_ESCAPE},
        {KeyCode::Return, SDL_SCANCODE_RETURN}, {KeyCode::Space, SDL_SCANCODE_SPACE},
        {KeyCode::Up, SDL_SCANCODE_UP},       {KeyCode::Down, SDL_SCANCODE_DOWN},
        {KeyCode::Left, SDL_SCANCODE_LEFT},   {KeyCode::Right, SDL_SCANCODE_RIGHT},
        {KeyCode::Num1, SDL_SCANCODE_1},      {KeyCode::Num2, SDL_SCANCODE_2},
        {KeyCode::Num3, SDL_SCANCODE_3},      {KeyCode::Num4, SDL_SCANCODE_4},
        {KeyCode::Num5, SDL_SCANCODE_5},      {KeyCode::A, SDL_SCANCODE_A},
        {KeyCode::D, SDL_SCANCODE_D},         {KeyCode::N, SDL_SCANCODE_N},
        {KeyCode::S, SDL_SCANCODE_S},         {KeyCode::Y, SDL_SCANCODE_Y},
        {KeyCode::Backspace, SDL_SCANCODE_BACKSPACE},
    };
    static SDL_Scancode ScancodeOf(KeyCode key) {
        for (const auto& [k, code] : kKeys) {
            if (k == key) return code;
        }
        return SDL_SCANCODE_UNKNOWN;
    }
    static KeyCode KeyFromScancode(SDL_Scancode code) {
        for (const auto& [k, c] : kKeys) {
            if (c == code) return k;
        }
        return KeyCode::Other;
    }

    // --- Drawing -------------------------------------------------------------------------------
    bool CreateRenderer(int width, int height) override {
        if (window_ == nullptr) {
            LogLine("Error: no main window for the renderer");
            return false;
        }
        bbWidth_ = width;
        bbHeight_ = height;
        return renderer_.Create(window_, width, height);
    }
    void DestroyRenderer() override { renderer_.Destroy(); }
    bool HasRenderer() const override { return renderer_.Ready(); }
    TextureHandle CreateTexture(int width, int height) override { return renderer_.CreateTexture(width, height); }
    void UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                       int pitchPixels) override {
        renderer_.UploadTexture(texture, x, y, w, h, argb, pitchPixels);
    }
    void DestroyTexture(TextureHandle texture) override { renderer_.DestroyTexture(texture); }
    void SetCamera(const float view[16], const float projection[16]) override { renderer_.SetCamera(view, projection); }
    bool BeginFrame(uint32_t clearArgb) override { return renderer_.BeginFrame(clearArgb); }
    void DrawQuad(const Quad& quad) override { renderer_.DrawQuad(quad); }
    PresentResult EndFrame() override { return renderer_.EndFrame(); }
    void ShowFinishedFrame() override { renderer_.ShowFinishedFrame(); }
    bool ResetRenderer() override {
        if (window_ == nullptr) {
            return false;
        }
        const int width = renderer_.Ready() ? renderer_.Width() : bbWidth_;
        const int height = renderer_.Ready() ? renderer_.Height() : bbHeight_;
        return renderer_.Create(window_, width, height);
    }
    bool ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) override {
        return renderer_.ReadBackBuffer(argb, width, height);
    }

private:
    // SDL starts on first need. The close button and SIGTERM must not end the program behind the
    // game's back: the game asks first (close button) or simply dies (signals).
    bool EnsureVideo() {
        if (videoReady_) {
            return true;
        }
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_WINDOWS_NO_CLOSE_ON_ALT_F4, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            LogLine(std::string("Error: SDL video could not be initialised (no display?): ") + SDL_GetError());
            return false;
        }
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!InvisibleDriverAllowed(driver)) {
            LogLine(std::string("Error: no display found (SDL offered its \"") + (driver != nullptr ? driver : "?") +
                    "\" driver, which shows nothing; set SDL_VIDEODRIVER to use it on purpose)");
            SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
            return false;
        }
        SDL_StopTextInput();  // the game types nothing; keep input methods out of the way
        videoReady_ = true;
        return true;
    }

    // A new window is the active one, as on the original system. Without a window manager
    // (a bare X server) nobody else would give it the keyboard.
    void TakeFocus() {
        SDL_RaiseWindow(window_);
        if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) != 0) {
            SDL_SetWindowInputFocus(window_);
        }
    }

    bool videoReady_ = false;
    SDL_Window* window_ = nullptr;
    Uint32 windowId_ = 0;
    bool pressedLeft_ = false;   // a button went down since the last GetMouse
    bool pressedRight_ = false;
    int bbWidth_ = 1280;
    int bbHeight_ = 720;
    sdl::GlRenderer renderer_;
};

}  // namespace

std::unique_ptr<Platform> CreateRealPlatform() { return std::make_unique<SdlPlatform>(); }

}  // namespace platform
