#include "document/picture_header.h"

#include <cctype>

namespace MyApp {
namespace {

// A number past this is as refused as any larger one; it keeps the products in range.
constexpr std::int64_t kHuge = std::int64_t{1} << 40;

std::uint32_t BigEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

PictureHeader Unreadable(PictureKind kind) {
    return {kind, false, 0, 0, 0};
}

PictureHeader Sized(PictureKind kind, std::int64_t width, std::int64_t height) {
    return {kind, true, width, height, 0};
}

// Whether both sides are small enough for the whole length to be counted without overflow.
bool Countable(const PictureHeader& header) {
    return header.width > 0 && header.height > 0 && header.width <= kMaxPictureSide &&
           header.height <= kMaxPictureSide;
}

// A header, then rows of `bits` a pixel each padded to `rowAlign` bytes.
void CountRows(PictureHeader& header, std::uint64_t start, std::uint64_t bits, int rowAlign) {
    if (!Countable(header))
        return;
    const std::uint64_t row = (static_cast<std::uint64_t>(header.width) * bits + 7) / 8;
    const std::uint64_t padded = (row + rowAlign - 1) / rowAlign * rowAlign;
    header.wholeLength = start + padded * static_cast<std::uint64_t>(header.height);
}

PictureHeader Png(std::string_view bytes) {
    // The first chunk is IHDR: its length (13), its type, then width and height.
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR")
        return Unreadable(PictureKind::Png);
    return Sized(PictureKind::Png, BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4));
}

bool IsFrameMarker(unsigned char marker) {
    // SOF0 to SOF15, less DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the segments to the first frame header. A height of zero there means one given
// later by a DNL segment, which is not looked for: the side stays unknown.
PictureHeader Jpeg(std::string_view bytes) {
    std::size_t at = 2;
    while (at + 1 < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF)
            break;
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { // no length follows
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA || at + 4 > bytes.size())
            break;
        const std::size_t length = BigEndian(bytes, at + 2, 2);
        if (length < 2)
            break;
        if (IsFrameMarker(marker)) {
            if (length < 8 || at + 9 > bytes.size())
                break;
            const std::int64_t height = BigEndian(bytes, at + 5, 2);
            const std::int64_t width = BigEndian(bytes, at + 7, 2);
            if (height == 0)
                break;
            return Sized(PictureKind::Jpeg, width, height);
        }
        at += 2 + length;
    }
    return Unreadable(PictureKind::Jpeg);
}

PictureHeader Bmp(std::string_view bytes) {
    if (bytes.size() < 26)
        return Unreadable(PictureKind::Bmp);
    const std::uint32_t infoSize = LittleEndian(bytes, 14, 4);
    const std::uint32_t pixelsAt = LittleEndian(bytes, 10, 4);
    if (infoSize == 12) { // the OS/2 header: unsigned 16-bit sides, never compressed
        PictureHeader header =
            Sized(PictureKind::Bmp, LittleEndian(bytes, 18, 2), LittleEndian(bytes, 20, 2));
        CountRows(header, pixelsAt, LittleEndian(bytes, 24, 2), 4);
        return header;
    }
    if (infoSize < 40 || bytes.size() < 34)
        return Unreadable(PictureKind::Bmp);
    const auto width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
    const auto height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
    PictureHeader header =
        Sized(PictureKind::Bmp, width, height < 0 ? -std::int64_t{height} : height);
    const std::uint32_t compression = LittleEndian(bytes, 30, 4);
    if (compression == 0 || compression == 3) // plain rows, or rows with bit fields
        CountRows(header, pixelsAt, LittleEndian(bytes, 28, 2), 4);
    return header;
}

PictureHeader Tga(std::string_view bytes) {
    if (bytes.size() < 18)
        return {};
    const auto colorMap = static_cast<unsigned char>(bytes[1]);
    const auto type = static_cast<unsigned char>(bytes[2]);
    const auto depth = static_cast<unsigned char>(bytes[16]);
    const bool knownType =
        type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    if (colorMap > 1 || !knownType || !knownDepth)
        return {};
    PictureHeader header =
        Sized(PictureKind::Tga, LittleEndian(bytes, 12, 2), LittleEndian(bytes, 14, 2));
    if (type <= 3) { // not run-length encoded
        const std::uint64_t entryBytes = (static_cast<unsigned char>(bytes[7]) + 7u) / 8;
        const std::uint64_t colorMapBytes = colorMap * LittleEndian(bytes, 5, 2) * entryBytes;
        CountRows(header, 18 + static_cast<unsigned char>(bytes[0]) + colorMapBytes,
                  (depth + 7u) / 8 * 8, 1);
    }
    return header;
}

// The next decimal field of a PNM header, past blanks and # comments; -1 when none.
std::int64_t PnmField(std::string_view bytes, std::size_t& at) {
    while (at < bytes.size()) {
        if (bytes[at] == '#') {
            while (at < bytes.size() && bytes[at] != '\n' && bytes[at] != '\r')
                ++at;
        } else if (std::isspace(static_cast<unsigned char>(bytes[at]))) {
            ++at;
        } else {
            break;
        }
    }
    if (at >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[at])))
        return -1;
    std::int64_t value = 0;
    for (; at < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[at])); ++at)
        value = value >= kHuge ? kHuge : value * 10 + (bytes[at] - '0');
    return value;
}

PictureHeader Pnm(std::string_view bytes) {
    std::size_t at = 2;
    const std::int64_t width = PnmField(bytes, at);
    const std::int64_t height = PnmField(bytes, at);
    const std::int64_t levels = PnmField(bytes, at);
    if (width < 0 || height < 0 || levels <= 0 || levels > 65535)
        return Unreadable(PictureKind::Pnm);
    // One blank ends the header; the samples follow, of one byte or two.
    PictureHeader header = Sized(PictureKind::Pnm, width, height);
    const std::uint64_t channels = bytes[1] == '5' ? 1 : 3;
    CountRows(header, at + 1, channels * (levels > 255 ? 16 : 8), 1);
    return header;
}

// The header's lines end at an empty line; the next gives the size as "-Y h +X w", the
// only order of rows stb_image reads.
PictureHeader Hdr(std::string_view bytes) {
    const std::size_t end = bytes.find("\n\n");
    if (end == std::string_view::npos)
        return Unreadable(PictureKind::Hdr);
    std::size_t at = end + 2;
    if (bytes.compare(at, 3, "-Y ") != 0)
        return Unreadable(PictureKind::Hdr);
    at += 3;
    const std::int64_t height = PnmField(bytes, at);
    if (bytes.compare(at, 4, " +X ") != 0)
        return Unreadable(PictureKind::Hdr);
    at += 4;
    const std::int64_t width = PnmField(bytes, at);
    if (width < 0 || height < 0)
        return Unreadable(PictureKind::Hdr);
    return Sized(PictureKind::Hdr, width, height);
}

} // namespace

PictureHeader ReadPictureHeader(std::string_view bytes, bool maybeTga) {
    if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8))
        return Png(bytes);
    if (bytes.substr(0, 3) == "\xFF\xD8\xFF")
        return Jpeg(bytes);
    if (bytes.substr(0, 2) == "BM")
        return Bmp(bytes);
    if (bytes.substr(0, 2) == "P5" || bytes.substr(0, 2) == "P6")
        return Pnm(bytes);
    if (bytes.substr(0, 11) == "#?RADIANCE\n" || bytes.substr(0, 7) == "#?RGBE\n")
        return Hdr(bytes);
    return maybeTga ? Tga(bytes) : PictureHeader{};
}

std::string PictureSizeProblem(const PictureHeader& header, std::uint64_t budget) {
    if (!header.readable)
        return "non ha un'intestazione che ne dica la misura";
    const std::string size = "misura " + std::to_string(header.width) + " \xC3\x97 " +
                             std::to_string(header.height) + " pixel";
    if (header.width <= 0 || header.height <= 0)
        return size + ", e un lato vuoto o negativo non \xC3\xA8 un'immagine";
    if (header.width > kMaxPictureSide || header.height > kMaxPictureSide)
        return size + ", oltre il massimo di " + std::to_string(kMaxPictureSide) + " per lato";
    const std::uint64_t bytes =
        static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height) * 4;
    if (bytes > budget)
        return size + ", oltre i " + std::to_string(budget >> 20) +
               " MB di memoria che un'immagine pu\xC3\xB2 occupare";
    return "";
}

} // namespace MyApp
