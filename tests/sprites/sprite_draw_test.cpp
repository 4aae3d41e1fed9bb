#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>

#include "archive/archive.h"
#include "core/global.h"
#include "graphics/dds.h"
#include "core/result.h"
#include "widgets/image_font.h"
#include "sprite_fixture.h"
#include "widgets/image.h"

namespace spritetest {
namespace {

using platform::Quad;

constexpr float kEps = 1e-3f;

void ExpectCorner(const Quad& q, int i, float x, float y, float z = 0.0f) {
    EXPECT_NEAR(q.v[i].x, x, kEps) << "corner " << i;
    EXPECT_NEAR(q.v[i].y, y, kEps) << "corner " << i;
    EXPECT_NEAR(q.v[i].z, z, kEps) << "corner " << i;
}

using TextureCacheTest = SpriteTest;
using DrawImageTest = SpriteTest;

TEST_F(TextureCacheTest, PictureSitsInPaddedTextureAndDrawsItsOwnRectangle) {
    Image img;
    img.loadTexture("pic300.png", true);
    EXPECT_EQ(img.textureWidth, 300);
    EXPECT_EQ(img.textureHeight, 200);
    const DxGraphic::CacheEntry* e = gfx().FindTexture("pic300.png");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->textureWidth, 301);
    EXPECT_EQ(e->textureHeight, 201);
    const auto* tex = headless->Texture(e->texture);
    ASSERT_NE(tex, nullptr);
    ASSERT_EQ(tex->width, 301);
    ASSERT_EQ(tex->height, 201);
    // The picture in the top-left corner, a transparent black column and row beside it.
    EXPECT_EQ(tex->pixels[0], PixelAt(0, 0));
    EXPECT_EQ(tex->pixels[199 * 301 + 299], PixelAt(299, 199));
    for (int y = 0; y < 201; ++y) EXPECT_EQ(tex->pixels[static_cast<size_t>(y) * 301 + 300], 0u) << y;
    for (int x = 0; x < 301; ++x) EXPECT_EQ(tex->pixels[200 * 301 + static_cast<size_t>(x)], 0u) << x;

    img.position = {10.0f, 20.0f, 0.0f};
    gfx().DrawImage(img, 0.0f, 0.0f, 0.0f);
    ASSERT_EQ(quads().size(), 1u);
    const Quad& q = quads()[0].quad;
    EXPECT_EQ(q.texture, e->texture);
    EXPECT_EQ(q.argb, 0xFFFFFFFFu);
    EXPECT_EQ(q.blend, 1);
    ExpectCorner(q, 0, 9.5f, 19.5f);
    ExpectCorner(q, 1, 309.5f, 19.5f);
    ExpectCorner(q, 2, 9.5f, 219.5f);
    ExpectCorner(q, 3, 309.5f, 219.5f);
    EXPECT_FLOAT_EQ(q.v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(q.v[0].v, 0.0f);
    EXPECT_FLOAT_EQ(q.v[3].u, 300.0f / 301.0f);
    EXPECT_FLOAT_EQ(q.v[3].v, 200.0f / 201.0f);
    EXPECT_FLOAT_EQ(q.v[1].u, 300.0f / 301.0f);
    EXPECT_FLOAT_EQ(q.v[1].v, 0.0f);
    EXPECT_FLOAT_EQ(q.v[2].u, 0.0f);
    EXPECT_FLOAT_EQ(q.v[2].v, 200.0f / 201.0f);

    // A source rectangle of an atlas, with the caller's offset.
    headless->ClearQuads();
    img.useSourceRect = true;
    img.sourceRect = {80, 120, 160, 240};
    gfx().DrawImage(img, 100.0f, 0.0f, 5.0f);
    const Quad& s = quads().at(0).quad;
    ExpectCorner(s, 0, 109.5f, 19.5f, 5.0f);
    ExpectCorner(s, 3, 189.5f, 139.5f, 5.0f);
    EXPECT_FLOAT_EQ(s.v[0].u, 80.0f / 301.0f);
    EXPECT_FLOAT_EQ(s.v[0].v, 120.0f / 201.0f);
    EXPECT_FLOAT_EQ(s.v[3].u, 160.0f / 301.0f);
    EXPECT_FLOAT_EQ(s.v[3].v, 240.0f / 201.0f);
    EXPECT_TRUE(debugLines.empty());
}

TEST_F(TextureCacheTest, NamesAreRewrittenOnceAndSharedUntilTheCacheIsEmptied) {
    Image a, b;
    a.loadTexture("table.png", true);
    b.loadTexture("table.png", true);
    EXPECT_EQ(headless->LiveTextureCount(), 1u);
    gfx().DrawImage(a, 0, 0, 0);
    gfx().DrawImage(b, 0, 0, 0);
    ASSERT_EQ(quads().size(), 2u);
    EXPECT_NE(quads()[0].quad.texture, 0u);
    EXPECT_EQ(quads()[0].quad.texture, quads()[1].quad.texture);

    // Only the first ".png" becomes ".dds"; a name without it is used as it is.
    int w = 0, h = 0;
    gfx().GetTexture("x.png.png", w, h);
    EXPECT_EQ(w, 16);
    EXPECT_EQ(h, 8);
    gfx().GetTexture("pow.dds", w, h);
    EXPECT_EQ(w, 128);
    EXPECT_EQ(gfx().FindTexture("pow.dds")->textureWidth, 128);
    EXPECT_EQ(headless->LiveTextureCount(), 3u);

    gfx().ReleaseAllTextures();
    EXPECT_EQ(headless->LiveTextureCount(), 0u);
    EXPECT_EQ(gfx().FindTexture("table.png"), nullptr);
    Image c;
    c.loadTexture("table.png", true);
    EXPECT_EQ(c.textureWidth, 64);
    EXPECT_EQ(headless->LiveTextureCount(), 1u);
    EXPECT_TRUE(debugLines.empty());
}

// After a scene change, what the new scene neither loaded nor drew nor wrote is released; what it
// uses keeps its texture; a released picture drawn later comes back.
TEST_F(TextureCacheTest, ASceneChangeReleasesWhatTheNewSceneDoesNotUse) {
    Image kept, handedOn, drawnOnly;
    kept.loadTexture("table.png", true);
    handedOn.loadTexture("pic300.png", true);
    drawnOnly.loadTexture("pow.dds", false);
    gfx().CreateCanvas("old_text", 32, 16);
    gfx().CreateCanvas("new_text", 32, 16);
    const platform::TextureHandle table = gfx().FindTexture("table.png")->texture;
    EXPECT_EQ(headless->LiveTextureCount(), 5u);
    int w = 0, h = 0;
    gfx().GetTexture("nothing.png", w, h);  // missing: one line, cached empty
    ASSERT_EQ(debugLines.size(), 1u);

    gfx().BeginSceneUse();
    Image again;
    again.loadTexture("table.png", true);  // asked for again: kept as it is
    gfx().DrawImage(drawnOnly, 0, 0, 0);   // kept to be drawn, though hidden for now
    gfx().DrawText("\x82\xa0", 0, 0, 12, 0xFFFFFF, "new_text");
    gfx().ReleaseUnused();
    EXPECT_EQ(headless->LiveTextureCount(), 3u);
    ASSERT_NE(gfx().FindTexture("table.png"), nullptr);
    EXPECT_EQ(gfx().FindTexture("table.png")->texture, table);
    EXPECT_NE(gfx().FindTexture("pow.dds"), nullptr);
    EXPECT_NE(gfx().FindCanvas("new_text"), nullptr);
    EXPECT_EQ(gfx().FindTexture("pic300.png"), nullptr);
    EXPECT_EQ(gfx().FindCanvas("old_text"), nullptr);
    EXPECT_NE(gfx().FindTexture("nothing.png"), nullptr);  // holds nothing, so it stays

    // Drawn after its release, the picture is loaded again rather than drawn as a plain rectangle.
    gfx().DrawImage(handedOn, 0, 0, 0);
    ASSERT_EQ(quads().size(), 1u);
    EXPECT_NE(quads()[0].quad.texture, 0u);
    EXPECT_EQ(headless->LiveTextureCount(), 4u);

    // The next scene's first picture that is not loaded yet releases the unused ones before it
    // is loaded: what the scene claimed until then stays.
    gfx().BeginSceneUse();
    again.loadTexture("table.png", true);
    EXPECT_EQ(headless->LiveTextureCount(), 4u);
    Image fresh;
    fresh.loadTexture("x.png.png", true);
    EXPECT_EQ(headless->LiveTextureCount(), 2u);
    EXPECT_EQ(gfx().FindTexture("table.png")->texture, table);
    EXPECT_EQ(gfx().FindTexture("pic300.png"), nullptr);
    gfx().GetTexture("nothing.png", w, h);
    EXPECT_EQ(debugLines.size(), 1u);  // still the one line of its first load
}

TEST_F(TextureCacheTest, FailedNamesAreCachedEmptyWithOneLineAndDrawUntextured) {
    Image img;
    img.loadTexture("nothing.png", true);
    img.loadTexture("nothing.png", true);
    EXPECT_EQ(img.textureWidth, 0);
    ASSERT_EQ(debugLines.size(), 1u);
    EXPECT_EQ(debugLines[0], "DxGraphic : 読込失敗 (nothing.dds)");
    const DxGraphic::CacheEntry* e = gfx().FindTexture("nothing.png");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->texture, 0u);

    // A file that is not a picture behaves the same (one line, cached empty).
    int w = -1, h = -1;
    gfx().GetTexture("broken.png", w, h);
    gfx().GetTexture("broken.png", w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    ASSERT_EQ(debugLines.size(), 2u);
    EXPECT_EQ(debugLines[1].rfind("DxGraphic : 読込失敗 (broken.dds)", 0), 0u);

    // Without a source rectangle the plane covers the whole back buffer in the image's colour.
    img.alpha = 0.5f;
    img.red = 0.0f;
    img.green = 0.0f;
    img.blue = 1.0f;
    gfx().DrawImage(img, 0, 0, 0);
    ASSERT_EQ(quads().size(), 1u);
    const Quad& q = quads()[0].quad;
    EXPECT_EQ(q.texture, 0u);
    EXPECT_EQ(q.argb, 0x7F0000FFu);
    ExpectCorner(q, 0, -0.5f, -0.5f);
    ExpectCorner(q, 3, 1279.5f, 719.5f);
    for (const auto& v : q.v) {
        EXPECT_EQ(v.u, 0.0f);
        EXPECT_EQ(v.v, 0.0f);
    }
    // With one, it covers the rectangle's size at the image's position.
    img.useSourceRect = true;
    img.sourceRect = {10, 20, 110, 70};
    img.position = {5.0f, 6.0f, 0.0f};
    gfx().DrawImage(img, 0, 0, 0);
    ExpectCorner(quads()[1].quad, 0, 4.5f, 5.5f);
    ExpectCorner(quads()[1].quad, 3, 104.5f, 55.5f);
}

// A damaged header claiming a picture far larger than its file is refused before any memory is
// taken for it: one line with the reason, no texture, and the process does not grow.
TEST_F(TextureCacheTest, AHeaderLargerThanItsFileIsRefusedBeforeAllocating) {
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    const size_t texturesBefore = headless->LiveTextureCount();
    int w = -1, h = -1;
    gfx().GetTexture("huge.png", w, h);
    EXPECT_EQ(w, 0);
    ASSERT_EQ(debugLines.size(), 1u);
    EXPECT_NE(debugLines[0].find("pixel data truncated"), std::string::npos) << debugLines[0];
    EXPECT_EQ(headless->LiveTextureCount(), texturesBefore);

    ArchiveIndex& archive = Archive(ArchiveId::Images);
    ASSERT_EQ(archive.Open("huge.dds"), 0);
    dds::Image picture;
    std::string error;
    EXPECT_FALSE(dds::Decode(archive.Data(), archive.Size(), picture, error));
    archive.Close();
    EXPECT_EQ(error, "pixel data truncated");
    EXPECT_TRUE(picture.argb.empty());
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "kB";  // 16384 x 16384 x 4 is 1 GiB
}

TEST_F(TextureCacheTest, ResetReloadsTexturesInPlace) {
    Image img;
    img.loadTexture("pic300.png", true);
    const platform::TextureHandle before = gfx().FindTexture("pic300.png")->texture;
    ASSERT_EQ(gfx().Reset(), S_OK_RESULT);
    const DxGraphic::CacheEntry* e = gfx().FindTexture("pic300.png");
    ASSERT_NE(e, nullptr);
    EXPECT_NE(e->texture, 0u);
    EXPECT_NE(e->texture, before);
    EXPECT_EQ(e->width, 300);
    EXPECT_EQ(e->textureWidth, 301);
    const auto* tex = headless->Texture(e->texture);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->pixels[5 * 301 + 7], PixelAt(7, 5));
}

TEST_F(DrawImageTest, InvisibleOrTransparentCostsNoDrawAndColoursAreClamped) {
    Image img;  // no texture name: a plane
    img.visible = false;
    gfx().DrawImage(img, 0, 0, 0);
    img.visible = true;
    img.alpha = 0.0f;
    gfx().DrawImage(img, 0, 0, 0);
    EXPECT_TRUE(quads().empty());

    img.alpha = 1.2f;
    img.red = -0.5f;
    img.green = 0.5f;
    img.blue = 2.0f;
    gfx().DrawImage(img, 0, 0, 0);
    img.alpha = -0.5f;  // below 0 but not exactly 0: drawn with alpha 0
    img.red = 1.0f;
    img.green = std::nanf("");
    img.blue = 0.999f;
    gfx().DrawImage(img, 0, 0, 0);
    ASSERT_EQ(quads().size(), 2u);
    EXPECT_EQ(quads()[0].quad.argb, 0xFF007FFFu);
    EXPECT_EQ(quads()[1].quad.argb, 0x00FF00FEu);
}

TEST_F(DrawImageTest, ScaleAndRotationTurnAboutTheirPivots) {
    Image img;
    img.loadTexture("table.png", true);  // 64 x 64
    img.useSourceRect = true;
    img.sourceRect = {0, 0, 80, 40};
    img.position = {100.0f, 100.0f, 0.0f};

    // Scale 2 about the centre (140, 120).
    img.scaleEnabled = true;
    img.scale = {2.0f, 2.0f, 1.0f};
    gfx().DrawImage(img, 0, 0, 0);
    ExpectCorner(quads()[0].quad, 0, 60.0f - 0.5f, 80.0f - 0.5f);
    ExpectCorner(quads()[0].quad, 3, 220.0f - 0.5f, 160.0f - 0.5f);

    // A quarter turn about Z is clockwise on screen: the top-left corner goes to the top right of
    // the turned rectangle (centre (140, 120), now 40 wide and 80 high).
    img.scaleEnabled = false;
    img.rotationEnabled = true;
    img.rotation = {0.0f, 0.0f, 90.0f};
    gfx().DrawImage(img, 0, 0, 0);
    const Quad& r = quads()[1].quad;
    ExpectCorner(r, 0, 160.0f - 0.5f, 80.0f - 0.5f);   // was top left
    ExpectCorner(r, 1, 160.0f - 0.5f, 160.0f - 0.5f);  // was top right
    ExpectCorner(r, 2, 120.0f - 0.5f, 80.0f - 0.5f);   // was bottom left
    ExpectCorner(r, 3, 120.0f - 0.5f, 160.0f - 0.5f);  // was bottom right
    EXPECT_FLOAT_EQ(r.v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(r.v[3].u, 80.0f / 64.0f);

    // The rotation pivot moves with the scaling: scale 2 about the top-left, then a half turn
    // about the centre of the scaled rectangle maps it onto itself, corners swapped.
    img.scaleEnabled = true;
    img.scalePivot = {0.0f, 0.0f, 0.0f};
    img.rotation = {0.0f, 0.0f, 180.0f};
    gfx().DrawImage(img, 0, 0, 0);
    const Quad& h = quads()[2].quad;
    ExpectCorner(h, 0, 260.0f - 0.5f, 180.0f - 0.5f);
    ExpectCorner(h, 3, 100.0f - 0.5f, 100.0f - 0.5f);
}

TEST_F(DrawImageTest, TurnsAboutXAndYTiltTheQuadInDepth) {
    Image img;
    img.useSourceRect = true;
    img.sourceRect = {0, 0, 100, 60};
    img.visible = true;
    img.position = {200.0f, 100.0f, 10.0f};
    img.rotationEnabled = true;
    img.rotation = {0.0f, 60.0f, 0.0f};
    gfx().DrawImage(img, 0, 0, 0);
    // About Y around x = 250: half-width 50 becomes 25 on screen; the left edge goes into the
    // screen (+z) and the right edge out; heights and y stay; the camera does the perspective.
    const float dz = 50.0f * std::sin(60.0f * 3.1415927f / 180.0f);
    const Quad& q = quads()[0].quad;
    ExpectCorner(q, 0, 225.0f - 0.5f, 99.5f, 10.0f + dz);
    ExpectCorner(q, 1, 275.0f - 0.5f, 99.5f, 10.0f - dz);
    ExpectCorner(q, 2, 225.0f - 0.5f, 159.5f, 10.0f + dz);
    ExpectCorner(q, 3, 275.0f - 0.5f, 159.5f, 10.0f - dz);

    // X first, then Y: a quarter turn about X flattens the quad onto its middle row.
    img.rotation = {90.0f, 0.0f, 0.0f};
    gfx().DrawImage(img, 0, 0, 0);
    const Quad& x = quads()[1].quad;
    ExpectCorner(x, 0, 199.5f, 129.5f, 10.0f - 30.0f);
    ExpectCorner(x, 3, 299.5f, 129.5f, 10.0f + 30.0f);
}

TEST_F(DrawImageTest, BlendModeAndShakeTravelWithTheSprite) {
    Image img;
    img.visible = true;
    img.useSourceRect = true;
    img.sourceRect = {0, 0, 10, 10};
    img.blendMode = 2;
    gfx().DrawImage(img, 0, 0, 0);
    EXPECT_EQ(gfx().CurrentBlendMode(), 2);
    img.blendMode = 0;
    gfx().DrawImage(img, 0, 0, 0);
    EXPECT_EQ(gfx().CurrentBlendMode(), 0);
    EXPECT_EQ(quads()[0].quad.blend, 2);
    EXPECT_EQ(quads()[1].quad.blend, 0);

    // Shake: only sprites that follow it move, by this frame's offsets.
    Global& g = Global::Instance();
    g.Set(1, "shake_enable");
    g.Set(40, "shake_x");
    g.Set(30, "shake_y");
    g.Set(10, "shake_time");
    g.Set(10, "shake_max");
    int sx = 0, sy = 0;
    for (int i = 0; i < 20 && sx == 0 && sy == 0; ++i) {
        ASSERT_EQ(gfx().BeginFrame(), S_OK_RESULT);
        sx = gfx().ShakeX();
        sy = gfx().ShakeY();
    }
    g.Set(0, "shake_enable");
    ASSERT_TRUE(sx != 0 || sy != 0);
    headless->ClearQuads();
    gfx().DrawImage(img, 0, 0, 0);
    img.followShake = true;
    gfx().DrawImage(img, 0, 0, 0);
    EXPECT_FLOAT_EQ(quads()[1].quad.v[0].x - quads()[0].quad.v[0].x, static_cast<float>(sx));
    EXPECT_FLOAT_EQ(quads()[1].quad.v[0].y - quads()[0].quad.v[0].y, static_cast<float>(sy));
}

TEST_F(DrawImageTest, TextImagesDrawFromTheCanvasCacheOnly) {
    ImageFont text;
    ASSERT_EQ(text.CreateCanvas("font_sprite_test", 200, 50), S_OK_RESULT);
    EXPECT_TRUE(text.visible);
    EXPECT_EQ(text.textureWidth, 200);
    EXPECT_EQ(text.textureHeight, 50);
    const DxGraphic::CacheEntry* canvas = gfx().FindCanvas("font_sprite_test");
    ASSERT_NE(canvas, nullptr);
    text.position = {30.0f, 40.0f, 0.0f};
    text.draw(0, 0, 0);
    ASSERT_EQ(quads().size(), 1u);
    EXPECT_EQ(quads()[0].quad.texture, canvas->texture);
    ExpectCorner(quads()[0].quad, 3, 229.5f, 89.5f);
    EXPECT_FLOAT_EQ(quads()[0].quad.v[3].u, 200.0f / static_cast<float>(canvas->textureWidth));

    // An ordinary image of the same name does not see the canvas: a full-screen plane.
    Image plain;
    plain.textureName = "font_sprite_test";
    plain.visible = true;
    plain.draw(0, 0, 0);
    EXPECT_EQ(quads()[1].quad.texture, 0u);
    ExpectCorner(quads()[1].quad, 3, 1279.5f, 719.5f);

    gfx().ReleaseAllCanvases();
    EXPECT_EQ(gfx().FindCanvas("font_sprite_test"), nullptr);
    EXPECT_EQ(text.Clear(), E_FAIL_RESULT);
    // Without its canvas a text image draws nothing (rather than a full-screen plane).
    text.draw(0, 0, 0);
    EXPECT_EQ(quads().size(), 2u);
}

TEST_F(DrawImageTest, ImageFontDrawsIntoItsCanvasAndClearsOnlyWhenAsked) {
    ImageFont text;
    ASSERT_EQ(text.CreateCanvas("font_clear_test", 120, 40), S_OK_RESULT);
    const DxGraphic::CacheEntry* canvas = gfx().FindCanvas("font_clear_test");
    ASSERT_NE(canvas, nullptr);
    auto inked = [&](int x0, int x1) {
        int n = 0;
        for (int y = 0; y < canvas->height; ++y) {
            for (int x = x0; x < x1; ++x) {
                n += canvas->pixels[static_cast<size_t>(y) * canvas->width + x] != 0u;
            }
        }
        return n;
    };
    EXPECT_GT(text.DrawText("A", 0, 0, 24, 0xFFFFFF, true), 0);
    const int left = inked(0, 40);
    EXPECT_GT(left, 0);
    // Without clearing, the second text joins the first; with clearing only the new one stays.
    EXPECT_GT(text.DrawText("B", 60, 0, 24, 0xFFFFFF, false), 0);
    EXPECT_EQ(inked(0, 40), left);
    EXPECT_GT(inked(60, 120), 0);
    EXPECT_GT(text.DrawText("B", 60, 0, 24, 0xFFFFFF, true), 0);
    EXPECT_EQ(inked(0, 40), 0);
    EXPECT_GT(inked(60, 120), 0);
    EXPECT_EQ(text.Clear(), S_OK_RESULT);
    EXPECT_EQ(inked(0, 120), 0);

    // Asking again for an existing canvas keeps it, but the widget's own CreateCanvas clears it.
    text.DrawText("A", 0, 0, 24, 0xFFFFFF, false);
    ImageFont again;
    again.CreateCanvas("font_clear_test", 300, 300);
    EXPECT_EQ(gfx().FindCanvas("font_clear_test"), canvas);
    EXPECT_EQ(canvas->width, 120);
    EXPECT_EQ(inked(0, 120), 0);
}

}  // namespace
}  // namespace spritetest
