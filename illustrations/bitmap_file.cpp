#include "illustrations/bitmap_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <system_error>

#include "conversions/runtime_error.h"
#include "files/app_folder.h"

namespace tarvex {
namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;  // the old OS/2 header: 16-bit width and height
constexpr std::size_t InfoHeaderSize = 40;  // and every later header starting the same way
// Far above any illustration; keeps a stray huge file from being read into memory.
constexpr off_t MaxBitmapFileSize = 64 * 1024 * 1024;

enum Compression : std::uint32_t {
    Uncompressed = 0,
    Rle8 = 1,
    Rle4 = 2,
    BitFields = 3,
    AlphaBitFields = 6,
};

std::uint32_t Unsigned(std::string_view bytes, std::size_t offset, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    }
    return value;
}

std::uint32_t U16(std::string_view bytes, std::size_t offset) {
    return Unsigned(bytes, offset, 2);
}

std::uint32_t U32(std::string_view bytes, std::size_t offset) {
    return Unsigned(bytes, offset, 4);
}

std::int64_t I32(std::string_view bytes, std::size_t offset) {
    return static_cast<std::int32_t>(U32(bytes, offset));
}

struct BitmapLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative for a bitmap stored top row first
    std::uint32_t bit_count = 0;
    std::uint32_t compression = Uncompressed;
    std::uint32_t image_size = 0;  // bytes of pixel data; may be 0 when uncompressed
};

std::string CutShort(std::size_t size, std::uint64_t needed) {
    return "the file is cut short: " + std::to_string(size) + " of " + std::to_string(needed) +
           " bytes";
}

// The byte just after the pixel data the headers announce, or the largest value when it lies
// beyond any file.
std::uint64_t PixelDataEnd(std::uint64_t pixel_offset, const BitmapLayout& layout) {
    const bool uncompressed = layout.compression == Uncompressed ||
                              layout.compression == BitFields ||
                              layout.compression == AlphaBitFields;
    if (!uncompressed) {
        return pixel_offset + layout.image_size;
    }
    const std::uint64_t row_bytes =
        (static_cast<std::uint64_t>(layout.width) * layout.bit_count + 31) / 32 * 4;
    const std::uint64_t rows =
        static_cast<std::uint64_t>(layout.height < 0 ? -layout.height : layout.height);
    if (rows > (std::numeric_limits<std::uint64_t>::max() - pixel_offset) / row_bytes) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return pixel_offset + row_bytes * rows;
}

[[noreturn]] void ThrowUnreadable(const std::filesystem::path& path, int error) {
    throw RuntimeError(ErrorKind::Picture,
                       "Cannot read picture: " + path.string() + " (" +
                           std::generic_category().message(error) + ")",
                       error);
}

std::string Invalid(const std::filesystem::path& path, const std::string& reason) {
    return "Invalid picture: " + path.string() + " (" + reason + ")";
}

struct OpenFile {
    explicit OpenFile(int fd) : descriptor(fd) {}
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
    int descriptor;
};

// The file's bytes, by the file system's own name (which need not be UTF-8). Opened without
// waiting, so that a FIFO is refused rather than waited on; only a regular file is read.
QByteArray ReadPictureBytes(const std::filesystem::path& path) {
    const OpenFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    const int descriptor = file.descriptor;
    if (descriptor < 0) {
        ThrowUnreadable(path, errno);
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        ThrowUnreadable(path, errno);
    }
    if (!S_ISREG(status.st_mode)) {
        throw RuntimeError(ErrorKind::NotAFile, "Not a picture file: " + path.string() + " (" +
                                                    NonFileAt(path).value_or("not a file") + ")");
    }
    if (status.st_size > MaxBitmapFileSize) {
        throw RuntimeError(ErrorKind::Picture,
                           Invalid(path, "the file is too large for a picture"));
    }
    QByteArray bytes(static_cast<qsizetype>(status.st_size), Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t count = ::read(descriptor, bytes.data() + filled,
                                     static_cast<std::size_t>(bytes.size() - filled));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            ThrowUnreadable(path, errno);
        }
        if (count == 0) {
            break;  // shorter than it was a moment ago: BitmapDefect judges what is there
        }
        filled += count;
    }
    bytes.truncate(filled);
    return bytes;
}

}  // namespace

std::optional<std::string> BitmapDefect(std::string_view bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return "not a Windows bitmap";
    }
    if (bytes.size() < FileHeaderSize + 4) {
        return CutShort(bytes.size(), FileHeaderSize + 4);
    }
    const std::uint32_t header_size = U32(bytes, FileHeaderSize);
    if (header_size != CoreHeaderSize && header_size < InfoHeaderSize) {
        return "the bitmap header is damaged";
    }
    const std::uint64_t headers_end = std::uint64_t{FileHeaderSize} + header_size;
    if (bytes.size() < headers_end) {
        return CutShort(bytes.size(), headers_end);
    }
    BitmapLayout layout;
    if (header_size == CoreHeaderSize) {
        layout.width = U16(bytes, 18);
        layout.height = U16(bytes, 20);
        layout.bit_count = U16(bytes, 24);
    } else {
        layout.width = I32(bytes, 18);
        layout.height = I32(bytes, 22);
        layout.bit_count = U16(bytes, 28);
        layout.compression = U32(bytes, 30);
        layout.image_size = U32(bytes, 34);
    }
    const std::uint64_t pixel_offset = U32(bytes, 10);
    if (layout.width <= 0 || layout.height == 0 || layout.bit_count == 0 ||
        pixel_offset < headers_end) {
        return "the bitmap header is damaged";
    }
    const std::uint64_t needed = PixelDataEnd(pixel_offset, layout);
    if (bytes.size() < needed) {
        return CutShort(bytes.size(), needed);
    }
    return std::nullopt;
}

QImage ReadBitmapFile(const std::filesystem::path& path) {
    const QByteArray bytes = ReadPictureBytes(path);
    if (const auto defect = BitmapDefect(std::string_view(bytes.constData(), bytes.size()))) {
        throw RuntimeError(ErrorKind::Picture, Invalid(path, *defect));
    }
    QImage image;
    if (!image.loadFromData(bytes, "BMP")) {
        throw RuntimeError(ErrorKind::Picture, Invalid(path, "the bitmap cannot be decoded"));
    }
    return image;
}

}  // namespace tarvex
