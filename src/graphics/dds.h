#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The DDS container as our packer writes it and the texture loader reads it: a 128-byte header
// followed by level 0 as 32-bit A8R8G8B8 pixels (little-endian: B, G, R, A bytes), rows top-down.
namespace dds {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;  // width * height, 0xAARRGGBB
};

// Encodes straight (non-premultiplied) RGBA8 rows into a DDS file.
std::vector<uint8_t> EncodeArgb(int width, int height, const uint32_t* argb);

// Decodes a DDS file. Accepts uncompressed 32-bit RGB(A) with any channel masks. On failure
// returns false and sets error to a short reason; never reads past size.
bool Decode(const uint8_t* data, size_t size, Image& out, std::string& error);

// Checks the header and that the file holds all its pixels, without decoding; on success gives
// the picture size (call it before allocating for DecodeInto). False with a short reason.
bool Check(const uint8_t* data, size_t size, int& width, int& height, std::string& error);

// Decodes into caller memory: row y of the picture goes to out + y * pitchPixels (pitchPixels at
// least the width PeekSize reports; out holds height rows). Same checks and results as Decode.
bool DecodeInto(const uint8_t* data, size_t size, uint32_t* out, size_t pitchPixels, std::string& error);

// Reads only the picture size from the header; false when the header is not valid.
bool PeekSize(const uint8_t* data, size_t size, int& width, int& height);

}  // namespace dds
