#pragma once

// The size of a picture told from its own header, without decoding it: the kinds a model
// may hold inside it (PNG, JPEG) and those a texture file is converted from (BMP, TGA,
// binary PNM, Radiance HDR). A picture is refused on what its header says before anything
// is allocated for its pixels.

#include <cstdint>
#include <string>
#include <string_view>

namespace MyApp {

enum class PictureKind { Unknown, Png, Jpeg, Bmp, Tga, Pnm, Hdr };

struct PictureHeader {
    PictureKind kind = PictureKind::Unknown;
    // Whether the kind was recognised and its header holds both sides; a side may still
    // be zero or negative as written.
    bool readable = false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    // The length of a whole file whose pixels are stored as they are (a BMP, TGA or PNM
    // without compression), counted from its first byte; 0 when it cannot be told that way.
    // A file shorter than this has been cut short.
    std::uint64_t wholeLength = 0;
};

// The largest side any picture may have: the largest texture Direct3D 9 hardware takes.
constexpr std::int64_t kMaxPictureSide = 16384;
// The memory a picture taken from a model, or converted, may need once decoded to four
// bytes a pixel.
constexpr std::uint64_t kPictureBudget = std::uint64_t{256} << 20;

// The kind and size by the header alone. A BMP stored top-down (a negative height) has
// its height as a positive side. TGA, which has no signature, is recognised only when
// `maybeTga` says the file is one (by its name).
PictureHeader ReadPictureHeader(std::string_view bytes, bool maybeTga = false);

// Empty when the picture's sides are both above zero and at most kMaxPictureSide and its
// pixels at four bytes each fit `budget`; otherwise why not in Italian, as the rest of a
// sentence about the picture ("misura 0 × 12 pixel"), with the sizes it states.
std::string PictureSizeProblem(const PictureHeader& header, std::uint64_t budget = kPictureBudget);

} // namespace MyApp
