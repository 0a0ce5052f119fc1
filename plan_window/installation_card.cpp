#include "plan_window/installation_card.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>

#include "files/error_reason.h"
#include "plan_window/feed_layout.h"
#include "plan_window/plan_report.h"

namespace tarvex {
namespace {

constexpr double MarginMm = 15;
constexpr double ScaleBarMm = 100;

QFont CardFont(double points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

class CardPainter {
  public:
    explicit CardPainter(QPdfWriter& writer)
        : m_writer(writer),
          m_painter(&writer),
          m_per_mm(writer.resolution() / 25.4),
          m_page(writer.pageLayout().paintRectPixels(writer.resolution())) {
        m_painter.setRenderHint(QPainter::Antialiasing);
    }

    bool Active() const { return m_painter.isActive(); }

    // Lines of text from the top down, each `points` high.
    void Text(const QString& text, double points, bool bold = false) {
        const QFont font = CardFont(points, bold);
        const QFontMetricsF metrics(font, &m_writer);
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        const QRectF box(0, m_y, m_page.width(), m_page.height() - m_y);
        const QRectF used = m_painter.boundingRect(box, Qt::TextWordWrap, text);
        m_painter.drawText(box, Qt::TextWordWrap, text);
        m_y += std::max(used.height(), metrics.height());
    }

    // The layout at 1:1 under the text, or on a page of its own where the rest of this one is too
    // small; cut at the page's edges where it is larger than a page.
    void Layout(const planning::Plan& plan) {
        FeedLayoutView view{FeedLayoutBounds(plan, std::nullopt, false), {}, m_per_mm, CardFont(7)};
        const double room = LabelRoom(view.label_font, m_painter);
        const double below = room + 14 * m_per_mm;  // the scale bar and its figure
        const double caption = 12 * m_per_mm;
        const double needed = (view.bounds.top - view.bounds.bottom) * m_per_mm + below + caption;
        if (m_y + needed > m_page.height()) {
            m_writer.newPage();
            m_y = 0;
        }
        Text(QStringLiteral("Облучатели в натуральную величину, вид сзади на антенну. Печатайте "
                            "в масштабе 100 %: шкала внизу должна быть длиной 100 мм."),
             9);
        m_y += 3 * m_per_mm;
        FitOnPage(view.bounds, room, below);
        const double width = (view.bounds.right - view.bounds.left) * m_per_mm + room;
        const double left = (m_page.width() - width) / 2 + room;
        view.origin = QPointF(left - view.bounds.left * m_per_mm, m_y + view.bounds.top * m_per_mm);
        PaintFeedLayout(m_painter, view, plan, std::nullopt);
        m_y += (view.bounds.top - view.bounds.bottom) * m_per_mm + room;
        ScaleBar(left);
    }

  private:
    // Whole tens of millimetres of the region that fit on the page, feed 1's side kept.
    void FitOnPage(LayoutBounds& bounds, double room, double below) {
        const double across = std::floor((m_page.width() - room) / m_per_mm / 10) * 10;
        const double down = std::floor((m_page.height() - m_y - below) / m_per_mm / 10) * 10;
        bounds.right = std::min(bounds.right, std::max(bounds.left + across, 30.0));
        bounds.left = std::max(bounds.left, bounds.right - across);
        bounds.bottom = std::max(bounds.bottom, std::min(bounds.top - down, -30.0));
        bounds.top = std::min(bounds.top, bounds.bottom + down);
    }

    void ScaleBar(double left) {
        m_y += 4 * m_per_mm;
        m_painter.fillRect(QRectF(left, m_y, ScaleBarMm * m_per_mm, 2 * m_per_mm), Qt::black);
        m_painter.setFont(CardFont(8));
        m_painter.drawText(QPointF(left + (ScaleBarMm + 3) * m_per_mm, m_y + 2 * m_per_mm),
                           QStringLiteral("100 мм"));
        m_y += 6 * m_per_mm;
    }

    QPdfWriter& m_writer;
    QPainter m_painter;
    double m_per_mm;
    QRectF m_page;  // the printable part, in device pixels from the margins' corner
    double m_y = 0;
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
                             const planning::Plan& plan) {
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
        writer.setTitle(QStringLiteral("Карточка установки мультифида"));
        writer.setCreator(QStringLiteral("Tarvex"));
        CardPainter card(writer);
        if (!card.Active()) {
            file.cancelWriting();
            return Failure(path, QStringLiteral("PDF не создаётся"));
        }
        card.Text(QStringLiteral("Карточка установки мультифида"), 15, true);
        for (const std::string& line : ReportLines(input, plan)) {
            card.Text(QString::fromStdString(line.empty() ? " " : line), 9);
        }
        card.Layout(plan);
    }
    errno = 0;
    if (!file.commit()) {
        return Failure(path, Reason(file, errno));
    }
    return {};
}

}  // namespace tarvex
