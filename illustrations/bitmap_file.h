#pragma once

#include <QImage>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Reading the illustration bitmaps. A Windows bitmap cut short still decodes (the missing rows
// come out black), so the file is measured against its own headers before it is decoded.

namespace tarvex {

// What makes the bytes of a Windows bitmap file unusable, judged from its headers alone; none
// when the headers describe a bitmap and the file holds all the pixel data they announce.
//   a complete 24-bit 585 x 396 file     -> none
//   the same file without its last byte  -> "the file is cut short: 695429 of 695430 bytes"
//   "GIF89a..."                          -> "not a Windows bitmap"
//   a header giving a width of 0         -> "the bitmap header is damaged"
std::optional<std::string> BitmapDefect(std::string_view bytes);

// The Windows bitmap at `path`, at its own size.
// Throws RuntimeError naming the file and the reason when it cannot be opened or read, is
// damaged or cut short (BitmapDefect), or does not decode as a bitmap; NotAFile "Not a picture
// file: <path> (a FIFO)" for anything but a regular file, which is never waited on.
QImage ReadBitmapFile(const std::filesystem::path& path);

}  // namespace tarvex
