#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The small layer between the game and the operating system: window, events, message boxes,
// input, clock and drawing. The shipped game always runs the real implementation (SDL2 + OpenGL);
// tests install the headless one (src/platform/headless/) before anything touches the platform.
namespace platform {

enum class MessageBoxButtons { Ok, OkCancel };
enum class MessageBoxIcon { Information, Warning, Question, Error };
enum class MessageBoxAnswer { Ok, Cancel };

// Keys the game reads. The letters, digits and arrows serve keyboard play.
enum class KeyCode {
    F2, F4, LeftControl, Escape, Return, Space, Up, Down, Left, Right,
    Num1, Num2, Num3, Num4, Num5, A, D, N, S, Y, Backspace, Other
};

struct Event {
    enum class Type {
        CloseRequested,  // the window's close button
        KeyDown,         // a key went down; alt tells whether Alt was held
        FocusGained,
        FocusLost,
        Resized,         // the window's client area changed to width x height
        Quit,            // the program asked itself to end (PostQuit)
    };
    Type type = Type::CloseRequested;
    KeyCode key = KeyCode::Other;
    bool alt = false;
    int width = 0;   // Resized
    int height = 0;
};

using TextureHandle = uint32_t;  // 0 = no texture

// One corner of a sprite quad: world position (pixels, z into the screen) and texture coordinates.
struct Vertex {
    float x, y, z;
    float u, v;
};

// A textured quad as a two-triangle strip: top-left, top-right, bottom-left, bottom-right.
struct Quad {
    Vertex v[4];
    uint32_t argb = 0xFFFFFFFFu;  // vertex colour, modulates the texture
    int blend = 1;                // 0 off, 1 alpha, 2 additive
    TextureHandle texture = 0;
};

enum class PresentResult {
    Ok,
    DeviceLost,      // drawing is impossible for now: try again next frame
    DeviceNotReset,  // the device can be reset now: call ResetRenderer and reload resources
    Failed,
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Clock -------------------------------------------------------------------------------
    virtual uint64_t PerformanceCounter() = 0;    // monotonic ticks; never 0 on a working clock
    virtual uint64_t PerformanceFrequency() = 0;  // ticks per second
    virtual uint32_t Milliseconds() = 0;          // monotonic milliseconds
    virtual void Sleep(uint32_t ms) = 0;

    // --- Window and events --------------------------------------------------------------------
    // Creates the main window with a client area of width x height (windowed, centred by the
    // caller's rectangle) or full screen on the desktop with the back buffer letterboxed.
    virtual bool CreateMainWindow(const std::string& titleUtf8, int x, int y, int width, int height,
                                  bool windowed) = 0;
    virtual void ShowMainWindow(bool visible) = 0;
    virtual void DestroyMainWindow() = 0;
    virtual bool HasMainWindow() const = 0;
    // Desktop size (for centring the window).
    virtual void DesktopSize(int& width, int& height) = 0;
    // Client-area size of the window in its own pixels (the output the back buffer is scaled
    // into). A windowed window can be resized by the player; SetWindowSize sets it from the game
    // (windowed mode only) and keeps it centred on the desktop.
    virtual void GetWindowSize(int& width, int& height) { width = height = 0; }
    virtual void SetWindowSize(int width, int height) { (void)width, (void)height; }
    // Switches between full screen on the desktop and the window; true when the mode is now the
    // one asked for.
    virtual bool SetFullScreen(bool on) { return !on; }
    virtual bool IsFullScreen() const { return false; }
    // Next pending window event; false when the queue is empty.
    virtual bool PollEvent(Event& out) = 0;
    virtual MessageBoxAnswer ShowMessageBox(const std::string& textUtf8, const std::string& captionUtf8,
                                            MessageBoxButtons buttons, MessageBoxIcon icon,
                                            bool ownedByMainWindow) = 0;

    // Asks the main loop to end: PollEvent delivers a Quit event once the events already waiting
    // have been handed out (the quit message).
    void PostQuit() { quitPosted_ = true; }

    // --- Input ----------------------------------------------------------------------------------
    virtual bool IsMainWindowForeground() = 0;
    // Cursor in back-buffer pixels (may lie outside 0..1279 / 0..719) and button states.
    virtual void GetMouse(int& x, int& y, bool& left, bool& right) = 0;
    virtual bool IsKeyDown(KeyCode key) = 0;

    // --- Drawing --------------------------------------------------------------------------------
    // Creates the back buffer of width x height that every frame is drawn into and presented from.
    virtual bool CreateRenderer(int width, int height) = 0;
    virtual void DestroyRenderer() = 0;
    virtual bool HasRenderer() const = 0;
    // Texture of exactly width x height texels, contents undefined until uploaded.
    virtual TextureHandle CreateTexture(int width, int height) = 0;
    // Copies a w x h block of 0xAARRGGBB pixels (rows pitchPixels apart) to texel (x, y).
    virtual void UploadTexture(TextureHandle texture, int x, int y, int w, int h, const uint32_t* argb,
                               int pitchPixels) = 0;
    virtual void DestroyTexture(TextureHandle texture) = 0;
    // Camera as row-vector matrices (a point p is drawn at p * view * projection), right-handed,
    // with the depth range 0..w of the original device.
    virtual void SetCamera(const float view[16], const float projection[16]) = 0;
    virtual bool BeginFrame(uint32_t clearArgb) = 0;
    virtual void DrawQuad(const Quad& quad) = 0;
    // Ends the frame: everything drawn is finished and waits to be shown. A frame still waiting
    // when the next one ends is shown then, so callers that never call ShowFinishedFrame still
    // see every frame, one frame late.
    virtual PresentResult EndFrame() = 0;
    // Shows the finished frame, if one waits. The main loop calls it right after its frame wait,
    // so frames reach the screen at the paced instants however long each took to draw.
    virtual void ShowFinishedFrame() = 0;
    // Recreates the drawing context after DeviceNotReset; all textures must be created again.
    virtual bool ResetRenderer() = 0;
    // The back buffer as 0xAARRGGBB pixels, rows top-down.
    virtual bool ReadBackBuffer(std::vector<uint32_t>& argb, int& width, int& height) = 0;

protected:
    // For PollEvent implementations: true once after PostQuit.
    bool TakeQuit() {
        const bool q = quitPosted_;
        quitPosted_ = false;
        return q;
    }

private:
    bool quitPosted_ = false;
};

// The platform in use. Creates the real one on first use unless a test installed another.
Platform& Get();
// Replaces the platform (tests only). Passing nullptr removes it.
void Install(std::unique_ptr<Platform> platform);
// Creates the real SDL2 + OpenGL platform.
std::unique_ptr<Platform> CreateRealPlatform();

}  // namespace platform
