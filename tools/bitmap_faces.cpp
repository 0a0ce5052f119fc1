#include "tools/bitmap_faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

namespace tarvex {
namespace {

// Thrown wherever the source is not a font these faces can be made from; MakeBitmapFaces turns
// it into an empty result.
struct MalformedFont {};

constexpr std::size_t TableRecordSize = 16;
constexpr std::size_t EblcHeaderSize = 8;
constexpr std::size_t SizeRecordSize = 48;
constexpr std::uint32_t BitmapTablesVersion = 0x00020000;

void Require(bool condition) {
    if (!condition) {
        throw MalformedFont{};
    }
}

// ---- Big-endian fields ----

std::uint16_t U16(const FontBytes& data, std::size_t at) {
    Require(at + 2 <= data.size());
    return static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]);
}

std::uint32_t U32(const FontBytes& data, std::size_t at) {
    return static_cast<std::uint32_t>(U16(data, at)) << 16 | U16(data, at + 2);
}

void PutU16(FontBytes& data, std::size_t at, std::uint16_t value) {
    Require(at + 2 <= data.size());
    data[at] = static_cast<std::uint8_t>(value >> 8);
    data[at + 1] = static_cast<std::uint8_t>(value);
}

void PutU32(FontBytes& data, std::size_t at, std::uint32_t value) {
    PutU16(data, at, static_cast<std::uint16_t>(value >> 16));
    PutU16(data, at + 2, static_cast<std::uint16_t>(value));
}

void AppendU8(FontBytes& data, int value) {
    data.push_back(static_cast<std::uint8_t>(value));
}

void AppendU16(FontBytes& data, std::size_t value) {
    AppendU8(data, static_cast<int>(value >> 8 & 0xFF));
    AppendU8(data, static_cast<int>(value & 0xFF));
}

void AppendU32(FontBytes& data, std::size_t value) {
    AppendU16(data, value >> 16 & 0xFFFF);
    AppendU16(data, value & 0xFFFF);
}

void Append(FontBytes& data, const FontBytes& more) {
    data.insert(data.end(), more.begin(), more.end());
}

// ---- The source, read by FreeType ----

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Library = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using Face = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

struct Table {
    std::string tag;
    FontBytes data;
};

std::vector<Table> ReadTables(FT_Face face) {
    FT_ULong count = 0;
    Require(FT_Sfnt_Table_Info(face, 0, nullptr, &count) == 0);
    std::vector<Table> tables;
    for (FT_UInt index = 0; index < count; ++index) {
        FT_ULong tag = 0;
        FT_ULong length = 0;
        Require(FT_Sfnt_Table_Info(face, index, &tag, &length) == 0);
        Table table{std::string{static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                                static_cast<char>(tag >> 8), static_cast<char>(tag)},
                    FontBytes(length)};
        if (length > 0) {
            Require(FT_Load_Sfnt_Table(face, tag, 0, table.data.data(), &length) == 0);
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

const Table& Get(const std::vector<Table>& tables, const std::string& tag) {
    const auto found = std::find_if(tables.begin(), tables.end(),
                                    [&tag](const Table& table) { return table.tag == tag; });
    Require(found != tables.end());
    return *found;
}

Table& Get(std::vector<Table>& tables, const std::string& tag) {
    return const_cast<Table&>(Get(std::as_const(tables), tag));
}

struct Glyph {
    int width = 0;
    int height = 0;
    int bearing_x = 0;
    int bearing_y = 0;
    int advance = 0;
    // For vertical text; kept as the source has them.
    int vertical_bearing_x = 0;
    int vertical_bearing_y = 0;
    int vertical_advance = 0;
    std::vector<std::uint8_t> pixels;  // row by row, 0 or 1

    bool Pixel(int x, int y) const {
        return x >= 0 && x < width && pixels[static_cast<std::size_t>(y * width + x)] != 0;
    }
};

// A strike's glyphs by glyph index, empty where the strike has none.
using Strike = std::vector<std::optional<Glyph>>;

bool FitsAByte(int value, bool is_signed) {
    return is_signed ? value >= -128 && value <= 127 : value >= 0 && value <= 255;
}

Glyph FromSlot(FT_GlyphSlot slot) {
    const FT_Bitmap& bitmap = slot->bitmap;
    Require(bitmap.width == 0 || bitmap.rows == 0 ||
            (bitmap.pixel_mode == FT_PIXEL_MODE_MONO && bitmap.pitch > 0));
    Glyph glyph;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.bearing_x = slot->bitmap_left;
    glyph.bearing_y = slot->bitmap_top;
    glyph.advance = static_cast<int>(slot->advance.x / 64);
    glyph.vertical_bearing_x = static_cast<int>(slot->metrics.vertBearingX / 64);
    glyph.vertical_bearing_y = static_cast<int>(slot->metrics.vertBearingY / 64);
    glyph.vertical_advance = static_cast<int>(slot->metrics.vertAdvance / 64);
    Require(FitsAByte(glyph.width, false) && FitsAByte(glyph.height, false) &&
            FitsAByte(glyph.bearing_x, true) && FitsAByte(glyph.bearing_y, true) &&
            FitsAByte(glyph.advance, false) && FitsAByte(glyph.vertical_bearing_x, true) &&
            FitsAByte(glyph.vertical_bearing_y, true) && FitsAByte(glyph.vertical_advance, false));
    glyph.pixels.reserve(static_cast<std::size_t>(glyph.width * glyph.height));
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + y * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x) {
            glyph.pixels.push_back(static_cast<std::uint8_t>(row[x / 8] >> (7 - x % 8) & 1));
        }
    }
    return glyph;
}

// Where a font without outlines lacks a glyph in the selected strike, FreeType stands in an empty
// bitmap that advances by the glyph's unscaled width from 'hmtx', which is no whole pixel. Left
// out of the face, the glyph gets the same stand-in from the copied 'hmtx'.
bool IsStandIn(FT_GlyphSlot slot) {
    return slot->advance.x % 64 != 0;
}

// Only the strike's own bitmaps, never an outline drawn at its size.
Strike ReadStrike(FT_Face face, int index) {
    Require(FT_Select_Size(face, index) == 0);
    Strike strike(static_cast<std::size_t>(face->num_glyphs));
    for (FT_Long glyph = 0; glyph < face->num_glyphs; ++glyph) {
        const FT_Int32 flags = FT_LOAD_SBITS_ONLY | FT_LOAD_RENDER | FT_LOAD_TARGET_MONO;
        if (FT_Load_Glyph(face, static_cast<FT_UInt>(glyph), flags) == 0 &&
            !IsStandIn(face->glyph)) {
            strike[static_cast<std::size_t>(glyph)] = FromSlot(face->glyph);
        }
    }
    return strike;
}

// The strike's line metrics, sizes and flags as the source has them: FreeType gives only some of
// them, and the faces must keep them all.
FontBytes SizeRecord(const std::vector<Table>& tables, int index) {
    const FontBytes& eblc = Get(tables, "EBLC").data;
    const std::size_t at = EblcHeaderSize + SizeRecordSize * static_cast<std::size_t>(index);
    Require(at + SizeRecordSize <= eblc.size());
    FontBytes record(eblc.begin() + static_cast<std::ptrdiff_t>(at),
                     eblc.begin() + static_cast<std::ptrdiff_t>(at + SizeRecordSize));
    Require(record[46] == 1);  // bit depth
    return record;
}

// ---- Writing the faces ----

Glyph Embolden(const Glyph& glyph) {
    Glyph bold = glyph;
    bold.advance = glyph.advance + 1;
    if (glyph.width > 0 && glyph.height > 0) {
        bold.width = glyph.width + 1;
        bold.pixels.clear();
        for (int y = 0; y < bold.height; ++y) {
            for (int x = 0; x < bold.width; ++x) {
                bold.pixels.push_back(glyph.Pixel(x, y) || glyph.Pixel(x - 1, y) ? 1 : 0);
            }
        }
    }
    Require(FitsAByte(bold.width, false) && FitsAByte(bold.advance, false));
    return bold;
}

// Image format 7: big metrics, then the rows bit-aligned.
void AppendGlyphImage(FontBytes& ebdt, const Glyph& glyph) {
    for (const int metric :
         {glyph.height, glyph.width, glyph.bearing_x, glyph.bearing_y, glyph.advance,
          glyph.vertical_bearing_x, glyph.vertical_bearing_y, glyph.vertical_advance}) {
        AppendU8(ebdt, metric);
    }
    int byte = 0;
    int bits = 0;
    for (const std::uint8_t pixel : glyph.pixels) {
        byte = byte << 1 | pixel;
        if (++bits == 8) {
            AppendU8(ebdt, byte);
            byte = 0;
            bits = 0;
        }
    }
    if (bits > 0) {
        AppendU8(ebdt, byte << (8 - bits));
    }
}

// The glyph index runs with no glyph missing, as [first, last].
std::vector<std::pair<std::size_t, std::size_t>> PresentRuns(const Strike& strike) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t glyph = 0; glyph < strike.size(); ++glyph) {
        if (!strike[glyph]) {
            continue;
        }
        if (!runs.empty() && runs.back().second + 1 == glyph) {
            runs.back().second = glyph;
        } else {
            runs.emplace_back(glyph, glyph);
        }
    }
    return runs;
}

// A one-strike EBLC (an index subtable of format 1 per run of glyphs, images of format 7) and the
// EBDT it points into; the size record keeps everything of `size_record` but its offsets, counts
// and widest glyph.
std::pair<FontBytes, FontBytes> WriteStrike(const Strike& strike, FontBytes size_record) {
    const auto runs = PresentRuns(strike);
    FontBytes ebdt;
    AppendU32(ebdt, BitmapTablesVersion);
    FontBytes array;
    FontBytes subtables;
    int widest = 0;
    for (const auto& [first, last] : runs) {
        AppendU16(array, first);
        AppendU16(array, last);
        AppendU32(array, 8 * runs.size() + subtables.size());
        const std::size_t image_data = ebdt.size();
        AppendU16(subtables, 1);
        AppendU16(subtables, 7);
        AppendU32(subtables, image_data);
        for (std::size_t glyph = first; glyph <= last; ++glyph) {
            AppendU32(subtables, ebdt.size() - image_data);
            AppendGlyphImage(ebdt, *strike[glyph]);
            widest = std::max(widest, strike[glyph]->width);
        }
        AppendU32(subtables, ebdt.size() - image_data);
    }
    PutU32(size_record, 0, static_cast<std::uint32_t>(EblcHeaderSize + SizeRecordSize));
    PutU32(size_record, 4, static_cast<std::uint32_t>(array.size() + subtables.size()));
    PutU32(size_record, 8, static_cast<std::uint32_t>(runs.size()));
    size_record[16 + 2] = static_cast<std::uint8_t>(widest);  // hori.widthMax
    FontBytes eblc;
    AppendU32(eblc, BitmapTablesVersion);
    AppendU32(eblc, 1);
    Append(eblc, size_record);
    Append(eblc, array);
    Append(eblc, subtables);
    return {eblc, ebdt};
}

FontBytes Encode(FT_UShort platform, const std::string& ascii) {
    FontBytes bytes;
    for (const char character : ascii) {
        if (platform != TT_PLATFORM_MACINTOSH) {
            AppendU8(bytes, 0);  // UTF-16BE
        }
        AppendU8(bytes, character);
    }
    return bytes;
}

FontBytes BoldName(const FT_SfntName& name) {
    FontBytes text(name.string, name.string + name.string_len);
    switch (name.name_id) {
        case TT_NAME_ID_FONT_SUBFAMILY:
        case TT_NAME_ID_TYPOGRAPHIC_SUBFAMILY:
            return Encode(name.platform_id, "Bold");
        case TT_NAME_ID_UNIQUE_ID:
        case TT_NAME_ID_FULL_NAME:
            Append(text, Encode(name.platform_id, " Bold"));
            break;
        case TT_NAME_ID_PS_NAME:
            Append(text, Encode(name.platform_id, "-Bold"));
            break;
        default:
            break;
    }
    return text;
}

// A name table of format 0 with the records in FreeType's order, named for the bold style.
FontBytes BoldNameTable(FT_Face face) {
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    FontBytes records;
    FontBytes strings;
    for (FT_UInt index = 0; index < count; ++index) {
        FT_SfntName name{};
        Require(FT_Get_Sfnt_Name(face, index, &name) == 0);
        // Language tags would need the table's format 1.
        Require(name.language_id < 0x8000);
        const FontBytes text = BoldName(name);
        AppendU16(records, name.platform_id);
        AppendU16(records, name.encoding_id);
        AppendU16(records, name.language_id);
        AppendU16(records, name.name_id);
        AppendU16(records, text.size());
        AppendU16(records, strings.size());
        Append(strings, text);
    }
    Require(strings.size() <= 0xFFFF);
    FontBytes table;
    AppendU16(table, 0);
    AppendU16(table, count);
    AppendU16(table, 6 + records.size());
    Append(table, records);
    Append(table, strings);
    return table;
}

void MarkBold(std::vector<Table>& tables, FT_Face face) {
    FontBytes& os2 = Get(tables, "OS/2").data;
    PutU16(os2, 4, 700);  // usWeightClass
    const std::uint16_t selection = U16(os2, 62);
    PutU16(os2, 62, static_cast<std::uint16_t>((selection | 0x20) & ~0x40));  // BOLD, not REGULAR
    FontBytes& head = Get(tables, "head").data;
    PutU16(head, 44, U16(head, 44) | 1);  // macStyle bold
    Get(tables, "name").data = BoldNameTable(face);
}

// The source says "editable embedding only" (fsType 2), a restriction its licence (the LGPL, as
// the rest of Wine) does not make: the faces say "installable" (0), as the fonts Debian ships do.
void MarkInstallable(std::vector<Table>& tables) {
    PutU16(Get(tables, "OS/2").data, 8, 0);  // fsType
}

std::uint32_t Checksum(const FontBytes& data) {
    std::uint32_t sum = 0;
    for (std::size_t at = 0; at < data.size(); at += 4) {
        std::uint32_t word = 0;
        for (std::size_t byte = at; byte < at + 4; ++byte) {
            word = word << 8 | (byte < data.size() ? data[byte] : 0u);  // zeros pad the last
        }
        sum += word;
    }
    return sum;
}

FontBytes WriteFontFile(std::uint32_t version, std::vector<Table> tables) {
    std::sort(tables.begin(), tables.end(),
              [](const Table& a, const Table& b) { return a.tag < b.tag; });
    Table& head = Get(tables, "head");
    PutU32(head.data, 8, 0);  // checkSumAdjustment, computed last
    const std::size_t count = tables.size();
    std::size_t power = 1;
    std::size_t selector = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++selector;
    }
    FontBytes font;
    AppendU32(font, version);
    AppendU16(font, count);
    AppendU16(font, power * 16);
    AppendU16(font, selector);
    AppendU16(font, count * 16 - power * 16);
    const std::size_t first_offset = font.size() + TableRecordSize * count;
    FontBytes body;
    std::size_t head_offset = 0;
    for (const Table& table : tables) {
        const std::size_t offset = first_offset + body.size();
        if (table.tag == "head") {
            head_offset = offset;
        }
        font.insert(font.end(), table.tag.begin(), table.tag.end());
        AppendU32(font, Checksum(table.data));
        AppendU32(font, offset);
        AppendU32(font, table.data.size());
        Append(body, table.data);
        body.resize((body.size() + 3) / 4 * 4, 0);
    }
    Append(font, body);
    PutU32(font, head_offset + 8, 0xB1B0AFBAu - Checksum(font));
    return font;
}

// `tables` with the strike's own bitmap tables; the scaling table, which names strikes by their
// sizes, is of no use with one strike left.
FontBytes WriteFace(std::uint32_t version, std::vector<Table> tables, const Strike& strike,
                    const FontBytes& size_record) {
    std::erase_if(tables, [](const Table& table) { return table.tag == "EBSC"; });
    auto [eblc, ebdt] = WriteStrike(strike, size_record);
    Get(tables, "EBLC").data = std::move(eblc);
    Get(tables, "EBDT").data = std::move(ebdt);
    return WriteFontFile(version, std::move(tables));
}

std::vector<BitmapFace> MakeFaces(const FontBytes& font, const std::string& stem) {
    FT_Library library_handle = nullptr;
    Require(FT_Init_FreeType(&library_handle) == 0);
    const Library library(library_handle);
    FT_Face face_handle = nullptr;
    Require(FT_New_Memory_Face(library.get(), font.data(), static_cast<FT_Long>(font.size()), 0,
                               &face_handle) == 0);
    const Face face(face_handle);
    Require(FT_IS_SFNT(face.get()) && face->num_fixed_sizes > 0);
    const std::uint32_t version = U32(font, 0);
    std::vector<Table> tables = ReadTables(face.get());
    MarkInstallable(tables);
    std::vector<Table> bold_tables = tables;
    MarkBold(bold_tables, face.get());
    std::vector<BitmapFace> faces;
    for (int index = 0; index < face->num_fixed_sizes; ++index) {
        const FontBytes size_record = SizeRecord(tables, index);
        Strike strike = ReadStrike(face.get(), index);
        const std::string name = stem + "_" + std::to_string(index + 1);
        faces.push_back({name + ".ttf", WriteFace(version, tables, strike, size_record)});
        for (std::optional<Glyph>& glyph : strike) {
            if (glyph) {
                glyph = Embolden(*glyph);
            }
        }
        faces.push_back({name + "_bold.ttf", WriteFace(version, bold_tables, strike, size_record)});
    }
    return faces;
}

}  // namespace

std::vector<BitmapFace> MakeBitmapFaces(const FontBytes& font, const std::string& stem) {
    try {
        return MakeFaces(font, stem);
    } catch (const MalformedFont&) {
        return {};
    }
}

}  // namespace tarvex
