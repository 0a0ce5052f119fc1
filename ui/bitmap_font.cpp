#include "ui/bitmap_font.h"

#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cstdint>

namespace tarvex {
namespace {

// Thrown by the readers below on anything that is not a font they understand; the public
// functions turn it into an empty result.
struct MalformedFont {};

constexpr qsizetype TableRecordSize = 16;
constexpr qsizetype SizeTableSize = 48;
constexpr qsizetype EblcHeaderSize = 8;
constexpr quint32 BitmapTablesVersion = 0x00020000;

void Require(bool condition) {
    if (!condition) {
        throw MalformedFont{};
    }
}

void RequireRange(const QByteArray& data, qsizetype at, qsizetype length) {
    Require(at >= 0 && length >= 0 && at <= data.size() && length <= data.size() - at);
}

quint8 U8(const QByteArray& data, qsizetype at) {
    RequireRange(data, at, 1);
    return static_cast<quint8>(data[at]);
}

qint8 I8(const QByteArray& data, qsizetype at) {
    return static_cast<qint8>(U8(data, at));
}

quint16 U16(const QByteArray& data, qsizetype at) {
    RequireRange(data, at, 2);
    return qFromBigEndian<quint16>(data.constData() + at);
}

quint32 U32(const QByteArray& data, qsizetype at) {
    RequireRange(data, at, 4);
    return qFromBigEndian<quint32>(data.constData() + at);
}

void PutU16(QByteArray& data, qsizetype at, quint16 value) {
    RequireRange(data, at, 2);
    qToBigEndian(value, data.data() + at);
}

void PutU32(QByteArray& data, qsizetype at, quint32 value) {
    RequireRange(data, at, 4);
    qToBigEndian(value, data.data() + at);
}

void AppendU8(QByteArray& data, quint8 value) {
    data.append(static_cast<char>(value));
}

void AppendU16(QByteArray& data, quint16 value) {
    char bytes[2];
    qToBigEndian(value, bytes);
    data.append(bytes, 2);
}

void AppendU32(QByteArray& data, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

// ---- The table directory ----

struct Table {
    QByteArray tag;
    QByteArray data;
};

struct FontFile {
    quint32 version = 0;
    std::vector<Table> tables;

    Table* Find(const char* tag) {
        auto found = std::find_if(tables.begin(), tables.end(),
                                  [tag](const Table& table) { return table.tag == tag; });
        return found == tables.end() ? nullptr : &*found;
    }
    Table& Get(const char* tag) {
        Table* table = Find(tag);
        Require(table != nullptr);
        return *table;
    }
    void Remove(const char* tag) {
        std::erase_if(tables, [tag](const Table& table) { return table.tag == tag; });
    }
};

FontFile ReadFontFile(const QByteArray& font) {
    FontFile file;
    file.version = U32(font, 0);
    Require(file.version == 0x00010000 || file.version == 0x74727565);  // 1.0 or 'true'
    const quint16 count = U16(font, 4);
    for (quint16 index = 0; index < count; ++index) {
        const qsizetype record = 12 + TableRecordSize * index;
        RequireRange(font, record, TableRecordSize);
        const quint32 offset = U32(font, record + 8);
        const quint32 length = U32(font, record + 12);
        RequireRange(font, offset, length);
        file.tables.push_back({font.mid(record, 4), font.mid(offset, length)});
    }
    return file;
}

quint32 Checksum(const QByteArray& data) {
    quint32 sum = 0;
    const qsizetype whole_words = data.size() / 4 * 4;
    for (qsizetype at = 0; at < whole_words; at += 4) {
        sum += qFromBigEndian<quint32>(data.constData() + at);
    }
    // The last word is padded with zeros.
    quint32 tail = 0;
    for (qsizetype at = whole_words; at < whole_words + 4; ++at) {
        tail = (tail << 8) | (at < data.size() ? static_cast<quint8>(data[at]) : 0u);
    }
    return sum + tail;
}

QByteArray WriteFontFile(FontFile file) {
    std::sort(file.tables.begin(), file.tables.end(),
              [](const Table& a, const Table& b) { return a.tag < b.tag; });
    if (Table* head = file.Find("head")) {
        PutU32(head->data, 8, 0);  // checkSumAdjustment, computed last
    }
    const auto count = static_cast<quint16>(file.tables.size());
    quint16 power = 1;
    quint16 selector = 0;
    while (power * 2 <= count) {
        power = static_cast<quint16>(power * 2);
        ++selector;
    }
    QByteArray font;
    AppendU32(font, file.version);
    AppendU16(font, count);
    AppendU16(font, static_cast<quint16>(power * 16));
    AppendU16(font, selector);
    AppendU16(font, static_cast<quint16>(count * 16 - power * 16));
    const qsizetype first_offset = font.size() + TableRecordSize * count;
    QByteArray body;
    qsizetype head_offset = -1;
    for (const Table& table : file.tables) {
        const qsizetype offset = first_offset + body.size();
        if (table.tag == "head") {
            head_offset = offset;
        }
        font.append(table.tag);
        AppendU32(font, Checksum(table.data));
        AppendU32(font, static_cast<quint32>(offset));
        AppendU32(font, static_cast<quint32>(table.data.size()));
        body.append(table.data);
        body.append((4 - table.data.size() % 4) % 4, '\0');
    }
    font.append(body);
    if (head_offset >= 0) {
        PutU32(font, head_offset + 8, 0xB1B0AFBAu - Checksum(font));
    }
    return font;
}

// ---- Strikes and glyphs ----

struct Glyph {
    bool present = false;
    int width = 0;
    int height = 0;
    qint8 bearing_x = 0;
    qint8 bearing_y = 0;
    int advance = 0;
    std::vector<std::uint8_t> pixels;  // row by row, 0 or 1 (not vector<bool>: start-up time)

    bool Pixel(int x, int y) const {
        return x >= 0 && x < width && pixels[static_cast<std::size_t>(y * width + x)];
    }
};

struct GlyphRange {
    quint16 first = 0;
    quint16 last = 0;
    std::vector<Glyph> glyphs;
};

struct GlyphMetrics {
    int height = 0;
    int width = 0;
    qint8 bearing_x = 0;
    qint8 bearing_y = 0;
    int advance = 0;
};

GlyphMetrics SmallMetrics(const QByteArray& data, qsizetype at) {
    return {U8(data, at), U8(data, at + 1), I8(data, at + 2), I8(data, at + 3), U8(data, at + 4)};
}

// Big metrics carry vertical metrics as well; only the horizontal ones are kept.
GlyphMetrics BigMetrics(const QByteArray& data, qsizetype at) {
    return {U8(data, at), U8(data, at + 1), I8(data, at + 2), I8(data, at + 3), U8(data, at + 4)};
}

Glyph DecodeImage(const QByteArray& ebdt, qsizetype at, qsizetype length, quint16 image_format,
                  const GlyphMetrics& range_metrics) {
    GlyphMetrics metrics = range_metrics;
    bool byte_aligned = false;
    switch (image_format) {
        case 1:
        case 2:
            metrics = SmallMetrics(ebdt, at);
            at += 5;
            length -= 5;
            byte_aligned = image_format == 1;
            break;
        case 5:
            break;
        case 6:
        case 7:
            metrics = BigMetrics(ebdt, at);
            at += 8;
            length -= 8;
            byte_aligned = image_format == 6;
            break;
        default:
            throw MalformedFont{};
    }
    Glyph glyph;
    glyph.present = true;
    glyph.width = metrics.width;
    glyph.height = metrics.height;
    glyph.bearing_x = metrics.bearing_x;
    glyph.bearing_y = metrics.bearing_y;
    glyph.advance = metrics.advance;
    glyph.pixels.resize(static_cast<std::size_t>(glyph.width * glyph.height));
    const qsizetype row_bits = byte_aligned ? (glyph.width + 7) / 8 * 8 : glyph.width;
    const qsizetype image_bytes = (row_bits * glyph.height + 7) / 8;
    Require(length >= image_bytes);
    RequireRange(ebdt, at, image_bytes);
    const auto* image = reinterpret_cast<const std::uint8_t*>(ebdt.constData() + at);
    auto pixel = glyph.pixels.begin();
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const qsizetype bit = row_bits * y + x;
            *pixel++ = static_cast<std::uint8_t>((image[bit / 8] >> (7 - bit % 8)) & 1);
        }
    }
    return glyph;
}

// The glyphs of one index subtable. Formats 1 and 3 give each glyph's offset (an empty span
// is a missing glyph); format 2 gives one size and one set of metrics for all.
GlyphRange ReadRange(const QByteArray& eblc, qsizetype array_at, qsizetype entry_at,
                     const QByteArray& ebdt) {
    GlyphRange range;
    range.first = U16(eblc, entry_at);
    range.last = U16(eblc, entry_at + 2);
    Require(range.first <= range.last);
    const qsizetype subtable = array_at + U32(eblc, entry_at + 4);
    const quint16 index_format = U16(eblc, subtable);
    const quint16 image_format = U16(eblc, subtable + 2);
    const qsizetype image_data = U32(eblc, subtable + 4);
    const int count = range.last - range.first + 1;
    auto offset_at = [&](int index) -> qsizetype {
        if (index_format == 1) {
            return U32(eblc, subtable + 8 + 4 * index);
        }
        return U16(eblc, subtable + 8 + 2 * index);
    };
    if (index_format == 1 || index_format == 3) {
        for (int index = 0; index < count; ++index) {
            const qsizetype start = offset_at(index);
            const qsizetype end = offset_at(index + 1);
            Require(end >= start);
            if (end == start) {
                range.glyphs.emplace_back();
                continue;
            }
            range.glyphs.push_back(
                DecodeImage(ebdt, image_data + start, end - start, image_format, {}));
        }
        return range;
    }
    Require(index_format == 2);
    const qsizetype image_size = U32(eblc, subtable + 8);
    const GlyphMetrics metrics = BigMetrics(eblc, subtable + 12);
    for (int index = 0; index < count; ++index) {
        range.glyphs.push_back(
            DecodeImage(ebdt, image_data + image_size * index, image_size, image_format, metrics));
    }
    return range;
}

std::vector<GlyphRange> ReadFirstStrike(const QByteArray& eblc, const QByteArray& ebdt) {
    Require(U32(eblc, 4) >= 1);
    const qsizetype size_table = EblcHeaderSize;
    Require(U8(eblc, size_table + 46) == 1);  // bit depth
    const qsizetype array_at = U32(eblc, size_table);
    const quint32 count = U32(eblc, size_table + 8);
    std::vector<GlyphRange> ranges;
    for (quint32 index = 0; index < count; ++index) {
        ranges.push_back(ReadRange(eblc, array_at, array_at + 8 * index, ebdt));
    }
    return ranges;
}

Glyph Embolden(const Glyph& glyph) {
    Glyph bold = glyph;
    bold.advance = std::min(glyph.advance + 1, 255);
    if (glyph.width == 0 || glyph.height == 0) {
        return bold;
    }
    bold.width = glyph.width + 1;
    Require(bold.width <= 255);
    bold.pixels.assign(static_cast<std::size_t>(bold.width * bold.height), 0);
    for (int y = 0; y < bold.height; ++y) {
        for (int x = 0; x < bold.width; ++x) {
            bold.pixels[static_cast<std::size_t>(y * bold.width + x)] =
                glyph.Pixel(x, y) || glyph.Pixel(x - 1, y) ? 1 : 0;
        }
    }
    return bold;
}

// Image format 2: small metrics, then the rows bit-aligned.
void AppendGlyphImage(QByteArray& ebdt, const Glyph& glyph) {
    AppendU8(ebdt, static_cast<quint8>(glyph.height));
    AppendU8(ebdt, static_cast<quint8>(glyph.width));
    AppendU8(ebdt, static_cast<quint8>(glyph.bearing_x));
    AppendU8(ebdt, static_cast<quint8>(glyph.bearing_y));
    AppendU8(ebdt, static_cast<quint8>(glyph.advance));
    quint8 byte = 0;
    int bits = 0;
    for (const std::uint8_t pixel : glyph.pixels) {
        byte = static_cast<quint8>((byte << 1) | pixel);
        if (++bits == 8) {
            AppendU8(ebdt, byte);
            byte = 0;
            bits = 0;
        }
    }
    if (bits > 0) {
        AppendU8(ebdt, static_cast<quint8>(byte << (8 - bits)));
    }
}

// A one-strike EBLC (index format 1, image format 2) with the EBDT it points into; the size
// table keeps everything of `size_table` but its offsets, counts and widest glyph.
std::pair<QByteArray, QByteArray> WriteStrike(const std::vector<GlyphRange>& ranges,
                                              QByteArray size_table) {
    QByteArray ebdt;
    AppendU32(ebdt, BitmapTablesVersion);
    QByteArray subtables;
    QByteArray array;
    const auto array_size = static_cast<qsizetype>(8 * ranges.size());
    int widest = 0;
    for (const GlyphRange& range : ranges) {
        AppendU16(array, range.first);
        AppendU16(array, range.last);
        AppendU32(array, static_cast<quint32>(array_size + subtables.size()));
        const auto image_data = static_cast<quint32>(ebdt.size());
        AppendU16(subtables, 1);
        AppendU16(subtables, 2);
        AppendU32(subtables, image_data);
        for (const Glyph& glyph : range.glyphs) {
            AppendU32(subtables, static_cast<quint32>(ebdt.size()) - image_data);
            if (glyph.present) {
                AppendGlyphImage(ebdt, glyph);
                widest = std::max(widest, glyph.width);
            }
        }
        AppendU32(subtables, static_cast<quint32>(ebdt.size()) - image_data);
    }
    PutU32(size_table, 0, static_cast<quint32>(EblcHeaderSize + SizeTableSize));
    PutU32(size_table, 4, static_cast<quint32>(array.size() + subtables.size()));
    PutU32(size_table, 8, static_cast<quint32>(ranges.size()));
    size_table[16 + 2] = static_cast<char>(std::min(widest, 255));  // hori.widthMax
    QByteArray eblc;
    AppendU32(eblc, BitmapTablesVersion);
    AppendU32(eblc, 1);
    eblc.append(size_table);
    eblc.append(array);
    eblc.append(subtables);
    return {eblc, ebdt};
}

// ---- Naming the bold face ----

QByteArray EncodeName(quint16 platform, const QString& text) {
    if (platform == 1) {
        return text.toLatin1();
    }
    QByteArray utf16;
    for (QChar character : text) {
        AppendU16(utf16, character.unicode());
    }
    return utf16;
}

QString DecodeName(quint16 platform, const QByteArray& bytes) {
    if (platform == 1) {
        return QString::fromLatin1(bytes);
    }
    QString text;
    for (qsizetype at = 0; at + 1 < bytes.size(); at += 2) {
        text.append(QChar(U16(bytes, at)));
    }
    return text;
}

QString BoldName(quint16 name_id, const QString& name) {
    switch (name_id) {
        case 2:   // subfamily
        case 17:  // typographic subfamily
            return QStringLiteral("Bold");
        case 3:  // unique identifier
        case 4:  // full name
            return name + QStringLiteral(" Bold");
        case 6:  // PostScript name
            return name + QStringLiteral("-Bold");
        default:
            return name;
    }
}

QByteArray BoldNameTable(const QByteArray& name) {
    Require(U16(name, 0) == 0);
    const quint16 count = U16(name, 2);
    const qsizetype storage = U16(name, 4);
    QByteArray records;
    QByteArray strings;
    for (quint16 index = 0; index < count; ++index) {
        const qsizetype record = 6 + 12 * index;
        const quint16 platform = U16(name, record);
        const quint16 name_id = U16(name, record + 6);
        const qsizetype length = U16(name, record + 8);
        const qsizetype at = storage + U16(name, record + 10);
        RequireRange(name, at, length);
        const QString text = DecodeName(platform, name.mid(at, length));
        const QByteArray bytes = EncodeName(platform, BoldName(name_id, text));
        records.append(name.mid(record, 8));
        AppendU16(records, static_cast<quint16>(bytes.size()));
        AppendU16(records, static_cast<quint16>(strings.size()));
        strings.append(bytes);
    }
    QByteArray table;
    AppendU16(table, 0);
    AppendU16(table, count);
    AppendU16(table, static_cast<quint16>(6 + records.size()));
    table.append(records);
    table.append(strings);
    return table;
}

void MarkBold(FontFile& file) {
    Table& os2 = file.Get("OS/2");
    PutU16(os2.data, 4, 700);  // usWeightClass
    const quint16 selection = U16(os2.data, 62);
    PutU16(os2.data, 62, static_cast<quint16>((selection | 0x20) & ~0x40));  // BOLD, not REGULAR
    Table& head = file.Get("head");
    PutU16(head.data, 44, U16(head.data, 44) | 1);  // macStyle bold
    Table& name = file.Get("name");
    name.data = BoldNameTable(name.data);
}

}  // namespace

std::vector<QByteArray> SplitBitmapStrikes(const QByteArray& font) {
    try {
        const FontFile file = ReadFontFile(font);
        FontFile strike_file = file;
        // The scaling table names strikes by their sizes; with one strike left it is of no use.
        strike_file.Remove("EBSC");
        const QByteArray& eblc = strike_file.Get("EBLC").data;
        strike_file.Get("EBDT");
        const quint32 count = U32(eblc, 4);
        RequireRange(eblc, EblcHeaderSize, SizeTableSize * count);
        std::vector<QByteArray> strikes;
        for (quint32 index = 0; index < count; ++index) {
            FontFile single = strike_file;
            QByteArray& single_eblc = single.Get("EBLC").data;
            PutU32(single_eblc, 4, 1);
            single_eblc.replace(EblcHeaderSize, SizeTableSize,
                                eblc.mid(EblcHeaderSize + SizeTableSize * index, SizeTableSize));
            strikes.push_back(WriteFontFile(std::move(single)));
        }
        return strikes;
    } catch (const MalformedFont&) {
        return {};
    }
}

QByteArray EmboldenBitmapFont(const QByteArray& font) {
    try {
        FontFile file = ReadFontFile(font);
        file.Remove("EBSC");
        Table& eblc = file.Get("EBLC");
        Table& ebdt = file.Get("EBDT");
        std::vector<GlyphRange> ranges = ReadFirstStrike(eblc.data, ebdt.data);
        for (GlyphRange& range : ranges) {
            for (Glyph& glyph : range.glyphs) {
                if (glyph.present) {
                    glyph = Embolden(glyph);
                }
            }
        }
        auto [bold_eblc, bold_ebdt] =
            WriteStrike(ranges, eblc.data.mid(EblcHeaderSize, SizeTableSize));
        eblc.data = bold_eblc;
        ebdt.data = bold_ebdt;
        MarkBold(file);
        return WriteFontFile(std::move(file));
    } catch (const MalformedFont&) {
        return {};
    }
}

}  // namespace tarvex
