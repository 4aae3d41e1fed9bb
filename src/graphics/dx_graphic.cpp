#include "graphics/dx_graphic.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/global.h"
#include "core/result.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace {

// Row-vector 4x4 matrices as the original device used them (p' = p * M).
using Matrix = float[16];

void LookAtRH(float ex, float ey, float ez, float tx, float ty, float tz, float ux, float uy, float uz, Matrix out) {
    float zx = ex - tx, zy = ey - ty, zz = ez - tz;
    float zl = std::sqrt(zx * zx + zy * zy + zz * zz);
    zx /= zl, zy /= zl, zz /= zl;
    // x = normalize(cross(up, z))
    float xx = uy * zz - uz * zy, xy = uz * zx - ux * zz, xz = ux * zy - uy * zx;
    float xl = std::sqrt(xx * xx + xy * xy + xz * xz);
    xx /= xl, xy /= xl, xz /= xl;
    // y = cross(z, x)
    const float yx = zy * xz - zz * xy, yy = zz * xx - zx * xz, yz = zx * xy - zy * xx;
    const float m[16] = {xx, yx, zx, 0, xy, yy, zy, 0, xz, yz, zz, 0,
                         -(xx * ex + xy * ey + xz * ez), -(yx * ex + yy * ey + yz * ez),
                         -(zx * ex + zy * ey + zz * ez), 1};
    for (int i = 0; i < 16; ++i) {
        out[i] = m[i];
    }
}

void PerspectiveFovRH(float fovY, float aspect, float zn, float zf, Matrix out) {
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    const float m[16] = {xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zn - zf), -1, 0, 0, zn * zf / (zn - zf), 0};
    for (int i = 0; i < 16; ++i) {
        out[i] = m[i];
    }
}

}  // namespace

bool DxGraphic::WritePng(const char* path, const std::vector<uint32_t>& argb, int width, int height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;  // matches little-endian 0xAARRGGBB words
    // Fast compression: F2 writes a picture every frame while held, and the frame waits for it.
    image.flags = PNG_IMAGE_FLAG_FAST;
    return png_image_write_to_file(&image, path, 0, argb.data(), 0, nullptr) != 0;
}

int DxGraphic::Init(const std::string& captionSjis, int width, int height, bool windowed) {
    width_ = width;
    height_ = height;
    windowed_ = windowed;
    deviceReady_ = false;
    resetPending_ = false;
    platform::Platform& p = platform::Get();

    // Centre the client area on the desktop (a desktop smaller than the window gives a negative
    // left or top edge).
    int dw = 0, dh = 0;
    p.DesktopSize(dw, dh);
    const float hw = static_cast<float>(width) / 2.0f, hh = static_cast<float>(height) / 2.0f;
    const float hdw = static_cast<float>(dw) / 2.0f, hdh = static_cast<float>(dh) / 2.0f;
    const int left = static_cast<int>(hdw - hw);
    const int top = static_cast<int>(hdh - hh);

    if (!p.CreateMainWindow(platform::SjisToUtf8(captionSjis), left, top, width, height, windowed)) {
        platform::OutputDebug(SJ("Error: Direct3D9オブジェクトの作成に失敗"));
        return E_FAIL_RESULT;
    }
    if (!p.CreateRenderer(width, height)) {
        platform::OutputDebug(SJ("Error: HALでのDirect3D9Deviceオブジェクトの作成に失敗"));
        if (!p.CreateRenderer(width, height)) {
            platform::OutputDebug(SJ("Error: HELでのDirect3D9Deviceオブジェクトの作成に失敗"));
            return E_FAIL_RESULT;
        }
    }
    deviceReady_ = true;
    SetupView();
    AddFontResource();
    return S_OK_RESULT;
}

int DxGraphic::SetupView() {
    const float w = static_cast<float>(width_), h = static_cast<float>(height_);
    Matrix view, projection;
    LookAtRH(w / 2, h / 2, -h, w / 2, h / 2, 0, 0, -1, 0, view);
    PerspectiveFovRH(2.0f * std::atan(0.5f), w / h, -1.0f, 200.0f, projection);
    if (!deviceReady_) {
        platform::OutputDebug(SJ("Error: SetTransformに失敗"));
        return E_FAIL_RESULT;
    }
    platform::Get().SetCamera(view, projection);
    return S_OK_RESULT;
}

int DxGraphic::SetBlendMode(int mode) {
    // The blend travels with each quad; the mode is remembered so sprites only switch it when
    // it changes.
    blendMode_ = mode;
    return S_OK_RESULT;
}

int DxGraphic::BeginFrame() {
    Global& g = Global::Instance();
    shakeX_ = 0;
    shakeY_ = 0;
    if (g.Get("shake_enable") == 1) {
        int x = g.Get("shake_x");
        int y = g.Get("shake_y");
        const int t = g.Get("shake_time");
        const int m = g.Get("shake_max");
        if (m > 0) {
            x = static_cast<int>(static_cast<int64_t>(x) * t / m);
            y = static_cast<int>(static_cast<int64_t>(y) * t / m);
            if (t > 0) {
                g.Set(t - 1, "shake_time");
            } else {
                g.Set(0, "shake_enable");
            }
        }
        // rand() % (2a + 1) - a lies in -a .. a; a negative amplitude behaves as its magnitude.
        const int ax = std::min(std::abs(x), 1 << 20), ay = std::min(std::abs(y), 1 << 20);
        shakeX_ = std::rand() % (2 * ax + 1) - ax;
        shakeY_ = std::rand() % (2 * ay + 1) - ay;
    }
    if (frameHidden_) {
        return S_OK_RESULT;
    }
    // Without a device there is nothing to clear; a device that cannot start the frame fails
    // at the begin of the scene.
    if (!deviceReady_) {
        platform::OutputDebug(SJ("Error: Clearに失敗しました。"));
        return E_FAIL_RESULT;
    }
    if (!platform::Get().BeginFrame(0xFF646464u)) {
        platform::OutputDebug(SJ("Error: BeginSceneに失敗しました。"));
        return E_FAIL_RESULT;
    }
    return S_OK_RESULT;
}

int DxGraphic::EndFrame() {
    platform::Platform& p = platform::Get();
    if (frameHidden_) {
        return S_OK_RESULT;
    }
    if (!deviceReady_) {
        platform::OutputDebug(SJ("Error: Presentに失敗しました"));
        // The device is still waiting for a reset that failed: try it again every frame, as a
        // device that reports "not reset" would be.
        if (resetPending_) {
            if (Reset() == S_OK_RESULT) {
                SetupView();
            }
            return S_OK_RESULT;
        }
        return E_FAIL_RESULT;
    }
    if (p.IsKeyDown(platform::KeyCode::F2)) {
        std::vector<uint32_t> pixels;
        int w = 0, h = 0;
        if (p.ReadBackBuffer(pixels, w, h)) {
            const std::time_t now = std::time(nullptr);
            std::tm local{};
            localtime_r(&now, &local);
            char name[64];
            std::snprintf(name, sizeof(name), "ss_%04d%02d%02d%02d%02d%02d.png", local.tm_year + 1900,
                          local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
            WritePng(name, pixels, w, h);
        }
    }
    switch (p.EndFrame()) {
        case platform::PresentResult::Ok:
            return S_OK_RESULT;
        case platform::PresentResult::DeviceLost:
            platform::OutputDebug(SJ("Error: Presentに失敗しました"));
            return S_OK_RESULT;
        case platform::PresentResult::DeviceNotReset:
            platform::OutputDebug(SJ("Error: Presentに失敗しました"));
            Reset();
            SetupView();
            return S_OK_RESULT;
        case platform::PresentResult::Failed:
        default:
            platform::OutputDebug(SJ("Error: Presentに失敗しました"));
            return E_FAIL_RESULT;
    }
}

int DxGraphic::PresentAgain() {
    if (!deviceReady_) {
        return E_FAIL_RESULT;
    }
    // The back buffer still holds the last frame: presenting it again shows the same picture.
    return platform::Get().EndFrame() == platform::PresentResult::Ok ? S_OK_RESULT : E_FAIL_RESULT;
}

void DxGraphic::ShowFrame() {
    if (deviceReady_) {
        platform::Get().ShowFinishedFrame();
    }
}

int DxGraphic::Reset() {
    platform::Platform& p = platform::Get();
    for (auto& [name, entry] : textures_) {
        if (entry.texture != 0) {
            p.DestroyTexture(entry.texture);
            entry.texture = 0;
        }
    }
    for (auto& [name, entry] : canvases_) {
        if (entry.texture != 0) {
            p.DestroyTexture(entry.texture);
            entry.texture = 0;
        }
    }
    if (!p.ResetRenderer()) {
        deviceReady_ = false;
        resetPending_ = true;
        return E_FAIL_RESULT;
    }
    deviceReady_ = true;
    resetPending_ = false;
    for (auto& [name, entry] : textures_) {
        LoadTexture(name, entry);
    }
    for (auto& [name, entry] : canvases_) {
        // A fresh canvas texture holds nothing; only the last text drawn into it comes back.
        entry.texture = p.CreateTexture(entry.width, entry.height);
        entry.textureWidth = entry.width;
        entry.textureHeight = entry.height;
        std::fill(entry.pixels.begin(), entry.pixels.end(), 0u);
        if (entry.text.empty()) {
            UploadCanvas(entry);  // never written into: just the cleared canvas
            continue;
        }
        const std::string text = entry.text;
        DrawText(text, entry.textX, entry.textY, entry.textSize, entry.textColour, name);
    }
    return S_OK_RESULT;
}

void DxGraphic::Shutdown() {
    platform::Platform& p = platform::Get();
    RemoveFontResource();
    if (p.HasRenderer()) {
        p.DestroyRenderer();
    }
    if (p.HasMainWindow()) {
        p.DestroyMainWindow();
    }
    deviceReady_ = false;
    resetPending_ = false;
}
