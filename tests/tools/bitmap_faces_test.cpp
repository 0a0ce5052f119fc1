#include "tools/bitmap_faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The faces are proved against what FreeType draws from the source font itself: each regular face
// must draw every glyph of its strike pixel for pixel as the source does, with the same metrics,
// and each bold face the same glyphs overstruck one pixel to the right.

namespace tarvex {
namespace {

FontBytes ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using Face = std::unique_ptr<FT_FaceRec_, FaceDeleter>;

class BitmapFacesTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists(TARVEX_BITMAP_SANS_SOURCE)) {
            GTEST_SKIP() << "fonts-wine is not installed";
        }
        ASSERT_EQ(FT_Init_FreeType(&m_library), 0);
        m_source = ReadFile(TARVEX_BITMAP_SANS_SOURCE);
        m_faces = MakeBitmapFaces(m_source, "sans_serif");
    }
    void TearDown() override { FT_Done_FreeType(m_library); }

    Face Open(const FontBytes& font) const {
        FT_Face face = nullptr;
        EXPECT_EQ(
            FT_New_Memory_Face(m_library, font.data(), static_cast<FT_Long>(font.size()), 0, &face),
            0);
        return Face(face);
    }

    FT_Library m_library = nullptr;
    FontBytes m_source;
    std::vector<BitmapFace> m_faces;
};

std::string Vertical(FT_GlyphSlot slot) {
    const FT_Glyph_Metrics& metrics = slot->metrics;
    return ", vertically at " + std::to_string(metrics.vertBearingX) + "," +
           std::to_string(metrics.vertBearingY) + " advance " + std::to_string(metrics.vertAdvance);
}

// A glyph as FreeType draws it: metrics, then the pixels row by row as '#' and '.'. Nothing where
// the strike lacks it (FreeType then stands in an empty bitmap with an advance of no whole pixel).
std::optional<std::string> Draw(FT_Face face, FT_UInt glyph) {
    if (FT_Load_Glyph(face, glyph, FT_LOAD_SBITS_ONLY | FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) !=
            0 ||
        face->glyph->advance.x % 64 != 0) {
        return std::nullopt;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    std::string text = std::to_string(bitmap.width) + "x" + std::to_string(bitmap.rows) + " at " +
                       std::to_string(slot->bitmap_left) + "," + std::to_string(slot->bitmap_top) +
                       " advance " + std::to_string(slot->advance.x) + Vertical(slot) + "\n";
    for (unsigned int y = 0; y < bitmap.rows; ++y) {
        for (unsigned int x = 0; x < bitmap.width; ++x) {
            const unsigned char byte =
                bitmap.buffer[y * static_cast<unsigned int>(bitmap.pitch) + x / 8];
            text += (byte >> (7 - x % 8) & 1) != 0 ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

// The drawing of `regular` made bold by hand: one pixel wider, each row ORed with itself shifted
// one pixel right, advancing one pixel (64 units) further.
std::string Overstrike(FT_Face regular, FT_UInt glyph) {
    const FT_GlyphSlot slot = regular->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const unsigned int width =
        bitmap.width == 0 || bitmap.rows == 0 ? bitmap.width : bitmap.width + 1;
    std::string text = std::to_string(width) + "x" + std::to_string(bitmap.rows) + " at " +
                       std::to_string(slot->bitmap_left) + "," + std::to_string(slot->bitmap_top) +
                       " advance " + std::to_string(slot->advance.x + 64) + Vertical(slot) + "\n";
    const std::string drawn = *Draw(regular, glyph);
    std::size_t row_at = drawn.find('\n') + 1;
    for (unsigned int y = 0; y < bitmap.rows; ++y) {
        const std::string row = drawn.substr(row_at, bitmap.width);
        row_at += bitmap.width + 1;
        for (unsigned int x = 0; x < width; ++x) {
            const bool on = (x < bitmap.width && row[x] == '#') || (x > 0 && row[x - 1] == '#');
            text += on ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

TEST_F(BitmapFacesTest, EveryStrikeBecomesAFaceWithItsBoldBeside) {
    const struct {
        const char* file_name;
        int cell;
    } expected[] = {{"sans_serif_1.ttf", 13}, {"sans_serif_1_bold.ttf", 13},
                    {"sans_serif_2.ttf", 16}, {"sans_serif_2_bold.ttf", 16},
                    {"sans_serif_3.ttf", 20}, {"sans_serif_3_bold.ttf", 20}};
    ASSERT_EQ(m_faces.size(), std::size(expected));
    for (std::size_t index = 0; index < m_faces.size(); ++index) {
        SCOPED_TRACE(expected[index].file_name);
        EXPECT_EQ(m_faces[index].file_name, expected[index].file_name);
        const Face face = Open(m_faces[index].data);
        ASSERT_EQ(face->num_fixed_sizes, 1);
        EXPECT_EQ(face->available_sizes[0].height, expected[index].cell);
    }
}

// Same strike, same line metrics, same glyphs: what Qt reads from the face is what it would read
// from the strike in the source.
TEST_F(BitmapFacesTest, EachFaceDrawsItsStrikePixelForPixel) {
    const Face source = Open(m_source);
    ASSERT_EQ(m_faces.size(), 2u * static_cast<std::size_t>(source->num_fixed_sizes));
    for (int strike = 0; strike < source->num_fixed_sizes; ++strike) {
        for (const bool bold : {false, true}) {
            const BitmapFace& made = m_faces[static_cast<std::size_t>(2 * strike + (bold ? 1 : 0))];
            SCOPED_TRACE(made.file_name);
            const Face face = Open(made.data);
            ASSERT_EQ(FT_Select_Size(source.get(), strike), 0);
            ASSERT_EQ(FT_Select_Size(face.get(), 0), 0);
            EXPECT_EQ(face->available_sizes[0].y_ppem, source->available_sizes[strike].y_ppem);
            const FT_Size_Metrics& expected = source->size->metrics;
            const FT_Size_Metrics& actual = face->size->metrics;
            EXPECT_EQ(actual.ascender, expected.ascender);
            EXPECT_EQ(actual.descender, expected.descender);
            EXPECT_EQ(actual.height, expected.height);
            ASSERT_EQ(face->num_glyphs, source->num_glyphs);
            int drawn = 0;
            for (FT_UInt glyph = 0; glyph < static_cast<FT_UInt>(source->num_glyphs); ++glyph) {
                SCOPED_TRACE("glyph " + std::to_string(glyph));
                const std::optional<std::string> want = Draw(source.get(), glyph);
                const std::optional<std::string> got = Draw(face.get(), glyph);
                ASSERT_EQ(got.has_value(), want.has_value());
                if (want) {
                    EXPECT_EQ(*got, bold ? Overstrike(source.get(), glyph) : *want);
                    ++drawn;
                }
            }
            EXPECT_GT(drawn, 200);  // Latin and Cyrillic at least
        }
    }
}

TEST_F(BitmapFacesTest, BoldFacesAreTheBoldStyleOfTheSameFamily) {
    const Face source = Open(m_source);
    const auto* source_os2 =
        static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(source.get(), FT_SFNT_OS2));
    ASSERT_NE(source_os2, nullptr);
    for (const BitmapFace& made : m_faces) {
        SCOPED_TRACE(made.file_name);
        const bool bold = made.file_name.ends_with("_bold.ttf");
        const Face face = Open(made.data);
        EXPECT_STREQ(face->family_name, source->family_name);
        EXPECT_STREQ(face->style_name, bold ? "Bold" : source->style_name);
        EXPECT_EQ((face->style_flags & FT_STYLE_FLAG_BOLD) != 0, bold);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face.get(), FT_SFNT_OS2));
        ASSERT_NE(os2, nullptr);
        EXPECT_EQ(os2->usWeightClass, bold ? 700 : source_os2->usWeightClass);
        EXPECT_EQ(os2->fsType, 0);  // installable embedding, as the licence allows
    }
}

TEST_F(BitmapFacesTest, MalformedFontsGiveNoFaces) {
    const std::string gif = "GIF89a, certainly not a TrueType font";
    const FontBytes cases[] = {
        {},
        FontBytes(gif.begin(), gif.end()),
        FontBytes(m_source.begin(), m_source.begin() + 40),
        FontBytes(m_source.begin(),
                  m_source.begin() + static_cast<std::ptrdiff_t>(m_source.size() / 2)),
        {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const FontBytes& malformed : cases) {
        SCOPED_TRACE(malformed.size());
        EXPECT_TRUE(MakeBitmapFaces(malformed, "sans_serif").empty());
    }
}

}  // namespace
}  // namespace tarvex
