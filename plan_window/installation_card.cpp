#include "plan_window/installation_card.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <vector>

#include "files/error_reason.h"
#include "plan_text/card_text.h"
#include "plan_text/plan_text.h"
#include "plan_window/card_tiling.h"
#include "plan_window/feed_layout.h"
#include "plan_window/plan_report.h"

namespace tarvex {
namespace {

constexpr double MarginMm = 12;
constexpr double ScaleBarMm = 100;
constexpr double HeaderMm = 11;     // a sheet's heading: the up arrow and the view
constexpr double FooterMm = 6;      // under a sheet: its scale bar
constexpr double GapMm = 4;         // between two sheets on one page
constexpr double PageFootMm = 6;    // the page's label at its foot
constexpr double CutOutsideMm = 3;  // the cut line's distance from the drawing

// The lines that place a feed: black and at least 0.3 mm, as a laser printer keeps them.
constexpr double StrongLineMm = 0.3;

QFont CardFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// One view of the layout on one sheet: a tile of the tiling of the plan seen from that side.
struct Sheet {
    bool front = false;
    std::size_t tile = 0;
    double height_mm = 0;
    int page = 0;  // 1-based, of the whole card
};

class Card {
  public:
    Card(QPdfWriter& writer, const planning::PlanInput& input, const planning::Plan& plan,
         std::string_view place, const JobNotes& notes)
        : m_writer(writer),
          m_painter(&writer),
          m_per_mm(writer.resolution() / 25.4),
          m_page(writer.pageLayout().paintRectPixels(writer.resolution())),
          m_input(input),
          m_place(place),
          m_notes(notes),
          m_rear(plan),
          m_front(MirroredPlan(plan)) {
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.setRenderHint(QPainter::TextAntialiasing);
    }

    bool Active() const { return m_painter.isActive(); }

    void Write() {
        m_room_mm = LabelRoom(CardFont(7), m_painter) / m_per_mm;
        // The layout on pages turned sideways where that takes fewer of them (a wide row of
        // feeds); the words stay upright.
        const QRectF upright = m_page;
        QPageLayout turned = m_writer.pageLayout();
        turned.setOrientation(QPageLayout::Landscape);
        const QRectF sideways = turned.paintRectPixels(m_writer.resolution());
        PlanSheets(sideways);
        const int sideways_pages = m_layout_pages;
        PlanSheets(upright);
        const bool turn = sideways_pages < m_layout_pages;
        if (turn) {
            PlanSheets(sideways);
        }
        QTextDocument words;
        LayOutWords(words);
        m_pages = words.pageCount() + m_layout_pages;
        for (Sheet& sheet : m_sheets) {
            sheet.page += words.pageCount();
        }
        for (int page = 0; page < words.pageCount(); ++page) {
            if (page > 0) {
                m_writer.newPage();
            }
            PaintWordsPage(words, page);
            PageFoot(page + 1);
        }
        if (turn) {
            m_writer.setPageOrientation(QPageLayout::Landscape);  // from the next page on
            m_page = sideways;
        }
        double y = 0;
        int page = 0;
        for (const Sheet& sheet : m_sheets) {
            if (sheet.page != page) {
                if (page != 0) {
                    PageFoot(page);
                }
                m_writer.newPage();
                page = sheet.page;
                y = 0;
            }
            PaintSheet(sheet, y);
            y += sheet.height_mm * m_per_mm;
        }
        PageFoot(page);
    }

  private:
    double Mm(double mm) const { return mm * m_per_mm; }

    const CardTiling& TilingOf(const Sheet& sheet) const {
        return sheet.front ? m_front_tiles : m_rear_tiles;
    }

    // Every tile of both views on pages of the printable size `page`, stacked; pages counted
    // from the first layout page.
    void PlanSheets(const QRectF& page) {
        const double width = page.width() / m_per_mm - m_room_mm - CutOutsideMm - 3;
        const double height =
            page.height() / m_per_mm - PageFootMm - HeaderMm - m_room_mm - FooterMm - CutOutsideMm;
        m_rear_tiles = TileCard(m_rear, width, height);
        m_front_tiles = TileCard(m_front, width, height);
        m_sheets.clear();
        const double page_mm = page.height() / m_per_mm - PageFootMm + GapMm;
        std::vector<double> heights;
        for (const bool front : {false, true}) {
            const CardTiling& tiling = front ? m_front_tiles : m_rear_tiles;
            for (std::size_t tile = 0; tile < tiling.tiles.size(); ++tile) {
                const LayoutBounds& region = tiling.tiles[tile].region;
                // A tiled view takes a page per tile, so that a sheet's number is its page's.
                const double height = tiling.tiles.size() > 1
                                          ? page_mm
                                          : HeaderMm + (region.top - region.bottom) + m_room_mm +
                                                CutOutsideMm + FooterMm + GapMm;
                m_sheets.push_back({front, tile, height, 0});
                heights.push_back(height);
            }
        }
        const std::vector<int> pages = PackOnPages(heights, page_mm);
        for (std::size_t index = 0; index < m_sheets.size(); ++index) {
            m_sheets[index].page = pages[index] + 1;
        }
        m_layout_pages = pages.empty() ? 0 : pages.back() + 1;
    }

    int PageOfTile(bool front, int row, int column) const {
        for (const Sheet& sheet : m_sheets) {
            const CardTile& tile = TilingOf(sheet).tiles[sheet.tile];
            if (sheet.front == front && tile.row == row && tile.column == column) {
                return sheet.page;
            }
        }
        return 0;
    }

    void LayOutWords(QTextDocument& words) {
        words.documentLayout()->setPaintDevice(&m_writer);
        words.setDefaultFont(CardFont(9));
        words.setDocumentMargin(0);
        words.setPageSize(QSizeF(m_page.width(), m_page.height() - Mm(PageFootMm)));
        QString html = QStringLiteral("<h2>%1</h2>").arg(Text(CardTitle()).toHtmlEscaped());
        html += QStringLiteral("<p>%1</p>").arg(Text(CardMadeBy(TARVEX_VERSION)).toHtmlEscaped());
        for (const std::string& line : CardJobLines(m_notes.customer, m_notes.note)) {
            html += QStringLiteral("<p style='margin:0; white-space:pre-wrap'><b>%1</b></p>")
                        .arg(Text(line).toHtmlEscaped());
        }
        for (const std::string& line : ReportLines(m_input, m_rear, m_place)) {
            html += line.empty()
                        ? QStringLiteral("<p style='margin:0'>&nbsp;</p>")
                        : QStringLiteral("<p style='margin:0; white-space:pre-wrap'>%1</p>")
                              .arg(Text(line).toHtmlEscaped());
        }
        html += QStringLiteral("<p><i>%1</i></p>").arg(Text(ExplanationText()).toHtmlEscaped());
        for (const int index : m_rear_tiles.unplaced) {
            html +=
                QStringLiteral("<p><b>%1</b></p>")
                    .arg(Text(UnplacedFeedText(index + 1, m_rear.feeds[index])).toHtmlEscaped());
        }
        html += QStringLiteral("<p>%1</p>").arg(Text(CardHowToUse()).toHtmlEscaped());
        if (m_rear_tiles.tiles.size() > 1) {
            html += QStringLiteral("<p>%1</p>")
                        .arg(Text(CardTilingNote(static_cast<int>(m_rear_tiles.tiles.size()),
                                                 m_rear_tiles.rows, m_rear_tiles.columns,
                                                 CardOverlapMm))
                                 .toHtmlEscaped());
        }
        words.setHtml(html);
    }

    void PaintWordsPage(QTextDocument& words, int page) {
        const double height = words.pageSize().height();
        m_painter.save();
        m_painter.translate(0, -page * height);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, page * height, m_page.width(), height);
        context.palette.setColor(QPalette::Text, Qt::black);
        words.documentLayout()->draw(&m_painter, context);
        m_painter.restore();
    }

    void PageFoot(int page) {
        m_painter.setFont(CardFont(8));
        m_painter.setPen(Qt::black);
        const QRectF foot(0, m_page.height() - Mm(PageFootMm - 1), m_page.width(),
                          Mm(PageFootMm - 1));
        // Every page says which job it belongs to, should the pages be parted.
        std::vector<double> satellites;
        for (const planning::FeedPlan& feed : m_rear.feeds) {
            satellites.push_back(feed.satellite_deg);
        }
        m_painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom,
                           Text(CardFoot(TARVEX_VERSION, m_input.site_longitude_deg,
                                         m_input.site_latitude_deg, satellites)));
        m_painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom,
                           Text(CardPageLabel(page, m_pages)));
    }

    void PaintUpArrow(QPointF foot, double length) {
        const QPointF tip = foot - QPointF(0, length);
        m_painter.setPen(QPen(Qt::black, Mm(0.5), Qt::SolidLine, Qt::FlatCap));
        m_painter.drawLine(foot, tip + QPointF(0, Mm(2)));
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(Qt::black);
        m_painter.drawPolygon(
            QPolygonF{tip, tip + QPointF(-Mm(1.5), Mm(3)), tip + QPointF(Mm(1.5), Mm(3))});
        m_painter.setBrush(Qt::NoBrush);
    }

    void PaintSheet(const Sheet& sheet, double top) {
        const CardTiling& tiling = TilingOf(sheet);
        const CardTile& tile = tiling.tiles[sheet.tile];
        const LayoutBounds& region = tile.region;

        PaintUpArrow(QPointF(Mm(2), top + Mm(HeaderMm - 2)), Mm(HeaderMm - 3));
        m_painter.setPen(Qt::black);
        m_painter.setFont(CardFont(9, true));
        m_painter.drawText(QPointF(Mm(5), top + Mm(5)), Text(CardUpWord()));
        m_painter.setFont(CardFont(10, true));
        m_painter.drawText(QPointF(Mm(22), top + Mm(5)), Text(CardViewTitle(sheet.front)));
        std::vector<int> missing;
        for (const int index : m_rear_tiles.unplaced) {
            missing.push_back(index + 1);
        }
        QStringList notes;
        for (const std::string& note :
             CardSheetNotes(tile.row + 1, tile.column + 1, tiling.columns, tiling.rows, missing)) {
            notes << Text(note);
        }
        m_painter.setFont(CardFont(8));
        m_painter.drawText(QPointF(Mm(22), top + Mm(9.5)), notes.join(QStringLiteral(" · ")));

        const double region_top = top + Mm(HeaderMm + CutOutsideMm);
        const double left = Mm(m_room_mm);
        FeedLayoutView layout{region, {}, m_per_mm, CardFont(7), true};
        layout.origin = QPointF(left - region.left * m_per_mm, region_top + region.top * m_per_mm);
        const planning::Plan& plan = sheet.front ? m_front : m_rear;
        PaintFeedLayout(m_painter, layout, plan, std::nullopt);
        PaintOverlapMarks(sheet, layout);

        // Round the drawing and its figures, so that the cut-out keeps them.
        const QRectF drawn(ToDevice(layout, region.left, region.top),
                           ToDevice(layout, region.right, region.bottom));
        const QRectF cut =
            drawn.adjusted(-Mm(m_room_mm), -Mm(CutOutsideMm), Mm(CutOutsideMm + 2), Mm(m_room_mm));
        m_painter.setPen(QPen(Qt::black, Mm(StrongLineMm), Qt::DashLine));
        m_painter.drawRect(cut);
        const QRectF scissors(cut.left() + Mm(4), cut.top() - Mm(2.5), Mm(6), Mm(5));
        m_painter.fillRect(scissors, Qt::white);
        m_painter.setFont(CardFont(12));
        m_painter.drawText(scissors, Qt::AlignCenter, QStringLiteral("✂"));

        ScaleBar(cut.bottom() + Mm(2));
    }

    // Where each neighbouring sheet's edge falls on this one, named by its page.
    void PaintOverlapMarks(const Sheet& sheet, const FeedLayoutView& layout) {
        const CardTiling& tiling = TilingOf(sheet);
        const CardTile& tile = tiling.tiles[sheet.tile];
        const LayoutBounds& r = tile.region;
        m_painter.setPen(QPen(Qt::black, Mm(StrongLineMm), Qt::DashDotLine));
        m_painter.setFont(CardFont(7, true));
        const auto mark = [&](int row, int column, bool vertical, double at, bool after) {
            if (row < 0 || column < 0 || row >= tiling.rows || column >= tiling.columns) {
                return;
            }
            const QString label = Text(SheetEdgeText(PageOfTile(sheet.front, row, column)));
            const QPointF from =
                vertical ? ToDevice(layout, at, r.top) : ToDevice(layout, r.left, at);
            const QPointF to =
                vertical ? ToDevice(layout, at, r.bottom) : ToDevice(layout, r.right, at);
            m_painter.drawLine(from, to);
            const QFontMetricsF metrics(m_painter.font(), m_painter.device());
            const double width = metrics.horizontalAdvance(label) + Mm(1);
            // On the overlapping side of the line, at its start.
            const QRectF box =
                vertical ? QRectF(after ? from.x() + Mm(1) : from.x() - width - Mm(1),
                                  from.y() + Mm(1), width, metrics.height())
                         : QRectF(from.x() + Mm(1),
                                  after ? from.y() + Mm(1) : from.y() - metrics.height() - Mm(1),
                                  width, metrics.height());
            m_painter.fillRect(box, Qt::white);
            m_painter.drawText(box, Qt::AlignCenter, label);
        };
        const auto region_of = [&](int row, int column) -> const LayoutBounds* {
            for (const CardTile& other : tiling.tiles) {
                if (other.row == row && other.column == column) {
                    return &other.region;
                }
            }
            return nullptr;
        };
        if (const LayoutBounds* left = region_of(tile.row, tile.column - 1)) {
            mark(tile.row, tile.column - 1, true, left->right, false);
        }
        if (const LayoutBounds* right = region_of(tile.row, tile.column + 1)) {
            mark(tile.row, tile.column + 1, true, right->left, true);
        }
        if (const LayoutBounds* above = region_of(tile.row - 1, tile.column)) {
            mark(tile.row - 1, tile.column, false, above->bottom, false);
        }
        if (const LayoutBounds* below = region_of(tile.row + 1, tile.column)) {
            mark(tile.row + 1, tile.column, false, below->top, true);
        }
    }

    void ScaleBar(double top) {
        const double left = Mm(m_room_mm);
        m_painter.fillRect(QRectF(left, top, Mm(ScaleBarMm), Mm(2)), Qt::black);
        m_painter.setPen(Qt::black);
        m_painter.setFont(CardFont(8));
        m_painter.drawText(QPointF(left + Mm(ScaleBarMm + 3), top + Mm(2)), Text(ScaleBarText()));
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    double m_per_mm;
    QRectF m_page;  // the printable part, in device pixels from the margins' corner
    const planning::PlanInput& m_input;
    std::string_view m_place;
    const JobNotes& m_notes;
    planning::Plan m_rear;
    planning::Plan m_front;
    CardTiling m_rear_tiles;
    CardTiling m_front_tiles;
    std::vector<Sheet> m_sheets;
    double m_room_mm = 0;
    int m_layout_pages = 0;
    int m_pages = 0;
};

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral(
               "Не удалось сохранить карточку в файл «%1»: %2. Проверьте, что папка "
               "существует, доступна для записи и на диске есть место.")
        .arg(path, reason);
}

// The reason in Russian words from the failing call's errno; Qt's own text only without one.
QString Reason(const QSaveFile& file, int system_error) {
    return system_error != 0 ? QString::fromStdString(FileErrorReason(system_error))
                             : file.errorString();
}

}  // namespace

QString SaveInstallationCard(const QString& path, const planning::PlanInput& input,
                             const planning::Plan& plan, std::string_view place,
                             const JobNotes& notes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return Failure(path, Reason(file, errno));
    }
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(MarginMm, MarginMm, MarginMm, MarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(Text(CardTitle()));
        writer.setCreator(QStringLiteral("Tarvex %1").arg(QStringLiteral(TARVEX_VERSION)));
        Card card(writer, input, plan, place, notes);
        if (!card.Active()) {
            file.cancelWriting();
            return Failure(path, QStringLiteral("PDF не создаётся"));
        }
        card.Write();
    }
    errno = 0;
    if (!file.commit()) {
        return Failure(path, Reason(file, errno));
    }
    return {};
}

}  // namespace tarvex
