#include "animation/sylkie_animation.h"

#include <cstring>
#include <vector>

#include "animation/anim_text.h"
#include "core/global.h"
#include "core/result.h"
#include "archive/archive.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"
#include "sound/dx_sound.h"

namespace {

const std::string kNoLabel;

// A float truncated toward zero into an int32, saturating (NaN gives 0).
int32_t TruncToInt(float v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0f) return INT32_MAX;
    if (v <= -2147483648.0f) return INT32_MIN;
    return static_cast<int32_t>(v);
}

}  // namespace

SylkieAnimation::SylkieAnimation() : compositions_(8) {}

SylkieAnimation::~SylkieAnimation() { ReleaseAll(); }

void SylkieAnimation::ReleaseAll() {
    compositions_.clear();
    parsing_ = nullptr;
    current_ = nullptr;
}

const AnimComposition* SylkieAnimation::Find(std::string_view name) const {
    auto it = compositions_.find(name);
    return it != compositions_.end() ? it->second.get() : nullptr;
}

std::vector<std::string> SylkieAnimation::CompositionNames() const {
    std::vector<std::string> names;
    names.reserve(compositions_.size());
    for (const auto& [name, c] : compositions_) {
        names.push_back(name);
    }
    return names;
}

// ---- Reading ---------------------------------------------------------------------------------

int SylkieAnimation::Load(std::string_view name) {
    ReleaseAll();
    headerSeen_ = false;
    ArchiveIndex& archive = Archive(ArchiveId::Animations);
    if (archive.Open(name) != 0) {
        platform::OutputDebug(SJ("SylkieAnimation : 読込失敗"));
        return E_FAIL_RESULT;
    }
    // Copy and release the mapping at once; the texture requests made while reading open the
    // picture archive meanwhile.
    std::vector<uint8_t> bytes(archive.Data(), archive.Data() + archive.Size());
    archive.Close();
    const int result = LoadFromMemory(bytes.data(), bytes.size());
    if (compositions_.empty()) {
        // Nothing readable in it (no header, or damaged past it): still loaded, but say so, since
        // everything it should show will be missing.
        platform::OutputDebug(SJ("SylkieAnimation : コンポジションがありません ") + std::string(name));
    }
    return result;
}

// Lines end at LF; a CR right before the LF belongs to the line ending too, so CR LF files and
// LF-only files read the same. Trailing text without a line ending is a line of its own. A NUL
// byte ends the text of its line (names are C strings everywhere else).
int SylkieAnimation::LoadFromMemory(const uint8_t* data, size_t size) {
    ReleaseAll();
    headerSeen_ = false;
    const char* p = reinterpret_cast<const char*>(data);
    const char* end = p + (data != nullptr ? size : 0);
    while (p < end) {
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* lineEnd = lf != nullptr ? lf : end;
        size_t length = static_cast<size_t>(lineEnd - p);
        if (lf != nullptr && length > 0 && p[length - 1] == '\r') {
            --length;
        }
        if (const void* nul = std::memchr(p, '\0', length)) {
            length = static_cast<size_t>(static_cast<const char*>(nul) - p);
        }
        ParseLine(std::string_view(p, length));
        p = lf != nullptr ? lf + 1 : end;
    }
    parsing_ = nullptr;
    current_ = nullptr;
    return S_OK_RESULT;
}

void SylkieAnimation::ParseLine(std::string_view line) {
    const std::string_view header(kHeader);
    if (line.substr(0, header.size()) == header) {
        // A (second) header starts the file afresh.
        compositions_.clear();
        parsing_ = nullptr;
        current_ = nullptr;
        headerSeen_ = true;
        playing = false;
        return;
    }
    if (!headerSeen_) {
        return;
    }
    std::string_view keyword, args;
    if (!anim::SplitKeyword(line, keyword, args)) {
        return;
    }
    if (keyword == "#COMPOSITION") {
        ParseComposition(args);
        return;
    }
    // Lines that have nothing to attach to (no composition yet, or key lines before the
    // composition's first layer) are ignored.
    if (parsing_ == nullptr) {
        return;
    }
    if (keyword == "#MARKER") {
        ParseMarker(args);
        return;
    }
    if (keyword == "#LAYER") {
        ParseLayer(args);
        return;
    }
    const bool image = keyword == "#IMAGE";
    const bool position = keyword == "#POSITION";
    const bool scale = keyword == "#SCALE";
    const bool rotation = keyword == "#ROTATION";
    const bool alpha = keyword == "#ALPHA";
    if (!(image || position || scale || rotation || alpha) || parsing_->layers.empty()) {
        return;
    }
    AnimLayer& layer = parsing_->layers.back();
    anim::FieldReader f(args);
    const int32_t frame = anim::ZeroBased(anim::ToInt(f.Next()));
    if (image) {
        ParseImage(layer, frame, f.Next());
    } else if (alpha) {
        layer.alphaKeys.push_back(AnimAlphaKey{frame, anim::ToFloat(f.Next())});
    } else {
        AnimVectorKey key;
        key.frame = frame;
        key.x = anim::ToFloat(f.Next());
        key.y = anim::ToFloat(f.Next());
        key.z = anim::ToFloat(f.Next());
        (position ? layer.positionKeys : scale ? layer.scaleKeys : layer.rotationKeys).push_back(key);
    }
}

void SylkieAnimation::ParseComposition(std::string_view args) {
    anim::FieldReader f(args);
    const std::string_view name = f.Next();
    auto it = compositions_.find(name);
    if (it == compositions_.end()) {
        auto c = std::make_unique<AnimComposition>();
        c->width = anim::ToInt(f.Next());
        c->height = anim::ToInt(f.Next());
        c->length = anim::ToInt(f.Next());
        c->frameRate = anim::ToInt(f.Next());
        // A frame rate of 0 has no step; playback never reads either value.
        c->frameStep = c->frameRate != 0 ? 60 / c->frameRate : 0;
        it = compositions_.emplace(std::string(name), std::move(c)).first;
    }
    // A repeated name keeps the first composition and adds the following lines to it.
    parsing_ = it->second.get();
}

void SylkieAnimation::ParseMarker(std::string_view args) {
    anim::FieldReader f(args);
    const int32_t frame = anim::ZeroBased(anim::ToInt(f.Next()));
    const std::string_view kind = f.Next();
    AnimComposition& c = *parsing_;
    if (anim::EqualsIgnoreCase(kind, "LOOP")) {
        c.loopEnabled = true;
        c.loopFrame = frame;
    } else if (anim::EqualsIgnoreCase(kind, "SOUND")) {
        c.sounds.try_emplace(frame, f.Next());
    } else if (anim::EqualsIgnoreCase(kind, "SHAKE")) {
        AnimShakeMarker m;
        m.frame = frame;
        m.x = static_cast<float>(anim::ToInt(f.Next()));
        m.y = static_cast<float>(anim::ToInt(f.Next()));
        m.time = static_cast<float>(anim::ToInt(f.Next()));
        c.shakes.push_back(m);
    } else {
        c.labels.try_emplace(frame, kind);
    }
}

void SylkieAnimation::ParseLayer(std::string_view args) {
    anim::FieldReader f(args);
    AnimLayer& layer = parsing_->layers.emplace_back();
    layer.id = anim::ToInt(f.Next());
    layer.start = anim::ZeroBased(anim::ToInt(f.Next()));
    layer.width = anim::ToInt(f.Next());
    layer.height = anim::ToInt(f.Next());
    layer.duration = anim::ToInt(f.Next());
    // Unknown types draw as textured sprites and unknown blends as normal alpha blending: the
    // layer still shows its pictures, and nothing is drawn additively by accident.
    const std::string_view type = f.Next();
    layer.type = type == "PlaneLayer" ? AnimLayer::kTypePlane : AnimLayer::kTypeImage;
    const std::string_view blend = f.Next();
    layer.blend = blend == "Add" ? AnimLayer::kBlendAdd : AnimLayer::kBlendNormal;
}

void SylkieAnimation::ParseImage(AnimLayer& layer, int32_t frame, std::string_view text) {
    AnimImageKey key;
    key.frame = frame;
    key.text = text;
    if (layer.type == AnimLayer::kTypePlane) {
        // A plain rectangle in the colour 0xRRGGBB, drawn without a texture.
        const uint32_t rgb = static_cast<uint32_t>(anim::ToIntAutoBase(key.text));
        layer.sprite.textureName.clear();
        layer.sprite.useSourceRect = true;
        layer.sprite.sourceRect = Image::Rect{0, 0, layer.width, layer.height};
        layer.sprite.red = static_cast<float>((rgb >> 16) & 0xFFu) / 255.0f;
        layer.sprite.green = static_cast<float>((rgb >> 8) & 0xFFu) / 255.0f;
        layer.sprite.blue = static_cast<float>(rgb & 0xFFu) / 255.0f;
    }
    layer.sprite.blendMode = layer.blend;
    // Load the picture now so that playback finds it cached.
    int w = 0, h = 0;
    DxGraphic::Instance().GetTexture(key.text, w, h);
    layer.imageKeys.push_back(std::move(key));
}

// ---- Playback --------------------------------------------------------------------------------

int SylkieAnimation::Play(std::string_view name) {
    auto it = compositions_.find(name);
    if (it == compositions_.end()) {
        current_ = nullptr;
        return E_FAIL_RESULT;
    }
    AnimComposition& c = *it->second;
    current_ = &c;
    c.frame = 0;
    c.shakeCursor = 0;
    for (AnimLayer& layer : c.layers) {
        layer.cursors = AnimLayerCursors{};
    }
    playing = true;
    return S_OK_RESULT;
}

const std::string& SylkieAnimation::CurrentLabel() const {
    if (compositions_.empty() || current_ == nullptr) {
        return kNoLabel;
    }
    auto it = current_->labels.find(current_->frame);
    return it != current_->labels.end() ? it->second : kNoLabel;
}

void SylkieAnimation::draw(float, float, float) {
    if (!playing || current_ == nullptr) {
        return;
    }
    // The widget's own sprite is never drawn; its opacity scales the layers' alpha tracks.
    if (!StepComposition(*current_, alpha)) {
        playing = false;
    }
    // The widget's own children follow at the origin, like the layers: key positions and the
    // children's positions are screen coordinates. drawTree leaves them to this draw.
    for (DrawBase* c : children) {
        drawTree(c, 0.0f, 0.0f, 0.0f);
    }
}

bool SylkieAnimation::StepComposition(AnimComposition& c, float hostAlpha) {
    const int32_t f = c.frame;
    if (!c.sounds.empty()) {
        if (auto it = c.sounds.find(f); it != c.sounds.end()) {
            DxSound::Instance().PlaySe(it->second, false, 0);
        }
    }
    if (c.shakeCursor < c.shakes.size() && c.shakes[c.shakeCursor].frame == f) {
        const AnimShakeMarker& m = c.shakes[c.shakeCursor];
        Global& g = Global::Instance();
        g.Set(1, "shake_enable");
        g.Set(TruncToInt(m.x), "shake_x");
        g.Set(TruncToInt(m.y), "shake_y");
        g.Set(TruncToInt(m.time), "shake_time");
        g.Set(TruncToInt(m.time), "shake_max");
        ++c.shakeCursor;
    }
    // Last declared first, so the first declared layer ends up on top.
    for (size_t i = c.layers.size(); i-- > 0;) {
        StepLayer(c.layers[i], f, hostAlpha);
    }

    int64_t next = static_cast<int64_t>(f) + 1;
    // The end is reached at length, or beyond it for a length of 0 or less, so that every
    // non-looping composition finishes after its last frame instead of counting on for ever.
    if (next >= c.length) {
        if (!c.loopEnabled) {
            c.frame = static_cast<int32_t>(next > c.length ? c.length : next);
            return false;
        }
        next = c.loopFrame;
        c.shakeCursor = c.savedShakeCursor;
        for (AnimLayer& layer : c.layers) {
            layer.cursors = layer.saved;
        }
    }
    c.frame = static_cast<int32_t>(next);
    if (c.frame == c.loopFrame) {
        c.savedShakeCursor = c.shakeCursor;
        for (AnimLayer& layer : c.layers) {
            layer.saved = layer.cursors;
        }
    }
    return true;
}

void SylkieAnimation::StepLayer(AnimLayer& layer, int32_t frame, float hostAlpha) {
    const int64_t f = frame;
    if (f < layer.start || f > static_cast<int64_t>(layer.start) + layer.duration) {
        return;
    }
    const int64_t r = f - layer.start;
    Image& s = layer.sprite;
    AnimLayerCursors& cur = layer.cursors;

    if (cur.image < layer.imageKeys.size() && layer.imageKeys[cur.image].frame == r) {
        s.loadTexture(layer.imageKeys[cur.image].text, true);
        ++cur.image;
    }
    if (cur.position < layer.positionKeys.size() && layer.positionKeys[cur.position].frame == r) {
        const AnimVectorKey& k = layer.positionKeys[cur.position];
        s.position.x = k.x - static_cast<float>(layer.width / 2);
        s.position.y = k.y - static_cast<float>(layer.height / 2);
        s.position.z = k.z;
        ++cur.position;
    }
    if (cur.scale < layer.scaleKeys.size() && layer.scaleKeys[cur.scale].frame == r) {
        const AnimVectorKey& k = layer.scaleKeys[cur.scale];
        s.scaleEnabled = true;
        s.scale = {k.x / 100.0f, k.y / 100.0f, k.z / 100.0f};
        ++cur.scale;
    }
    if (cur.rotation < layer.rotationKeys.size() && layer.rotationKeys[cur.rotation].frame == r) {
        const AnimVectorKey& k = layer.rotationKeys[cur.rotation];
        s.rotationEnabled = true;
        s.rotation = {k.x, k.y, k.z};
        ++cur.rotation;
    }
    // The opacity follows the host's while the alpha track runs; once its last key has been
    // applied it is left alone.
    if (cur.alpha < layer.alphaKeys.size()) {
        if (layer.alphaKeys[cur.alpha].frame == r) {
            s.alpha = layer.alphaKeys[cur.alpha].value / 100.0f * hostAlpha;
            cur.lastAlpha = cur.alpha;
            ++cur.alpha;
        } else {
            s.alpha = layer.alphaKeys[cur.lastAlpha].value / 100.0f * hostAlpha;
        }
    }
    drawTree(&s, 0.0f, 0.0f, 0.0f);
}
