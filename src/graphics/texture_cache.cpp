#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/result.h"
#include "archive/archive.h"
#include "graphics/dds.h"
#include "graphics/dx_graphic.h"
#include "platform/debug.h"
#include "platform/text_encoding.h"

namespace {

// Texture side for a picture side n (1 .. 16384, which the DDS reader guarantees): a side that
// is a power of two as it is, any other one texel longer. The extra texel is transparent black,
// so that filtering at the picture's right and bottom edges fades out instead of stopping hard,
// as it does with a power-of-two texture padded the same way, at a fraction of the memory.
int TextureSide(int n) { return (n & (n - 1)) == 0 ? n : n + 1; }

void ReportLoadFailure(const std::string& file, const std::string& reason) {
    std::string line = SJ("DxGraphic : 読込失敗 (") + file + ")";
    if (!reason.empty()) {
        line += " " + reason;
    }
    platform::OutputDebug(line + "\n");
}

// Removes the entries of a cache that `keep` does not keep, destroying their textures (when the
// renderer still holds them). Entries without textures never touch the platform.
template <typename Cache, typename Keep>
void ReleaseEntries(Cache& cache, Keep keep) {
    platform::Platform* p = nullptr;
    bool renderer = false;
    std::erase_if(cache, [&](const auto& item) {
        if (keep(item.second)) {
            return false;
        }
        if (item.second.texture != 0) {
            if (p == nullptr) {
                p = &platform::Get();
                renderer = p->HasRenderer();  // without one the textures are already gone with it
            }
            if (renderer) {
                p->DestroyTexture(item.second.texture);
            }
        }
        return true;
    });
}

template <typename Cache>
void ReleaseCache(Cache& cache) {
    ReleaseEntries(cache, [](const auto&) { return false; });
}

}  // namespace

DxGraphic::~DxGraphic() {
    // Shut-down has already released the textures with the renderer. At process exit the platform
    // may be destroyed before this singleton, so only the bookkeeping is dropped here.
    textures_.clear();
    canvases_.clear();
}

void DxGraphic::GetTexture(std::string_view name, int& width, int& height) {
    auto it = textures_.find(name);
    if (it == textures_.end()) {
        if (releasePending_) {
            ReleaseUnused();  // the new scene's first new picture: make room for it first
        }
        CacheEntry entry;
        LoadTexture(name, entry);  // a failure is cached too, as 0 x 0 without a texture
        it = textures_.emplace(std::string(name), std::move(entry)).first;
    }
    it->second.lastUse = useMark_;
    width = it->second.width;
    height = it->second.height;
}

int DxGraphic::LoadTexture(std::string_view name, CacheEntry& entry) {
    // Pictures are asked for by their ".png" names and stored as ".dds".
    std::string file(name);
    if (const size_t pos = file.find(".png"); pos != std::string::npos) {
        file.replace(pos, 4, ".dds");
    }
    // A failed (re)load leaves no texture; the picture size stays as it was (0 x 0 for a new
    // entry), so a reload after a device reset never changes sizes.
    entry.texture = 0;
    entry.textureWidth = 0;
    entry.textureHeight = 0;

    ArchiveIndex& archive = Archive(ArchiveId::Images);
    if (archive.Open(file) != 0) {
        ReportLoadFailure(file, "");
        return E_FAIL_RESULT;
    }
    // The picture is decoded straight into the texture's memory, in its top-left corner, with
    // the padding (see TextureSide) transparent black.
    int width = 0, height = 0;
    std::string error;
    // The whole file is checked before the texture memory is taken: a damaged header must not
    // make a tiny file claim a gigabyte.
    if (!dds::Check(archive.Data(), archive.Size(), width, height, error)) {
        archive.Close();
        ReportLoadFailure(file, error);
        return E_FAIL_RESULT;
    }
    const int tw = TextureSide(width);
    const int th = TextureSide(height);
    const size_t pitch = static_cast<size_t>(tw);
    std::unique_ptr<uint32_t[]> texels = std::make_unique_for_overwrite<uint32_t[]>(pitch * static_cast<size_t>(th));
    const bool decoded = dds::DecodeInto(archive.Data(), archive.Size(), texels.get(), pitch, error);
    archive.Close();
    if (!decoded) {
        ReportLoadFailure(file, error);
        return E_FAIL_RESULT;
    }
    for (int y = 0; y < height && tw > width; ++y) {
        std::fill_n(texels.get() + static_cast<size_t>(y) * pitch + static_cast<size_t>(width), tw - width, 0u);
    }
    std::fill(texels.get() + static_cast<size_t>(height) * pitch, texels.get() + static_cast<size_t>(th) * pitch, 0u);

    platform::Platform& p = platform::Get();
    const platform::TextureHandle texture = p.CreateTexture(tw, th);
    if (texture == 0) {
        ReportLoadFailure(file, "(texture)");
        return E_FAIL_RESULT;
    }
    p.UploadTexture(texture, 0, 0, tw, th, texels.get(), tw);
    entry.width = width;
    entry.height = height;
    entry.textureWidth = tw;
    entry.textureHeight = th;
    entry.texture = texture;
    return S_OK_RESULT;
}

void DxGraphic::ReleaseAllTextures() { ReleaseCache(textures_); }

void DxGraphic::ReleaseAllCanvases() { ReleaseCache(canvases_); }

void DxGraphic::ReleaseUnused() {
    releasePending_ = false;
    // A picture that failed to load holds nothing: kept, it stays one line per name.
    ReleaseEntries(textures_, [&](const CacheEntry& e) { return e.lastUse == useMark_ || e.texture == 0; });
    ReleaseEntries(canvases_, [&](const CacheEntry& e) { return e.lastUse == useMark_; });
}

std::vector<std::pair<std::string, size_t>> DxGraphic::TextureSizes() const {
    std::vector<std::pair<std::string, size_t>> sizes;
    for (const Cache* cache : {&textures_, &canvases_}) {
        for (const auto& [name, entry] : *cache) {
            if (entry.texture != 0) sizes.emplace_back(name, static_cast<size_t>(entry.textureWidth) * entry.textureHeight * 4);
        }
    }
    std::sort(sizes.begin(), sizes.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return sizes;
}

size_t DxGraphic::TextureBytes() const {
    size_t bytes = 0;
    for (const auto& [name, size] : TextureSizes()) bytes += size;
    return bytes;
}

const DxGraphic::CacheEntry* DxGraphic::FindTexture(std::string_view name) const {
    const auto it = textures_.find(name);
    return it != textures_.end() ? &it->second : nullptr;
}

const DxGraphic::CacheEntry* DxGraphic::FindCanvas(std::string_view name) const {
    const auto it = canvases_.find(name);
    return it != canvases_.end() ? &it->second : nullptr;
}
