#include "report/ReportEngine.h"

#include "core/FrenchText.h"
#include "report/ReportMarkers.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

namespace tav {

namespace {

QString withPageNumbers(const QString& line, int page, int pages)
{
    QString out = line;
    out.replace(kPageMarker, QString::number(page));
    out.replace(kPagesMarker, QString::number(pages));
    return out;
}

} // namespace

QSizeF PreparedReport::pageSizeUnits() const
{
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    return mm * unitsPerMm;
}

QStringList PreparedReport::pageTexts(int page) const
{
    QStringList texts;
    for (const PreparedItem& item : pages.at(page)) {
        if (item.kind != PreparedItem::Kind::Text)
            continue;
        for (const QString& line : item.lines)
            texts.append(withPageNumbers(line, page + 1, pageCount()));
    }
    return texts;
}

void PreparedReport::paintPage(QPainter& painter, int page) const
{
    const QPaintDevice* device = painter.device();
    const QSizeF size = pageSizeUnits();
    const double scale = std::min(device->width() / size.width(), device->height() / size.height());
    std::vector<QFontMetricsF> metrics;
    metrics.reserve(std::size_t(fonts.size()));
    for (const QFont& font : fonts)
        metrics.emplace_back(font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    int currentFont = -1;
    for (const PreparedItem& item : pages.at(page)) {
        QPen pen(item.color, item.pen);
        pen.setCapStyle(Qt::FlatCap);
        switch (item.kind) {
        case PreparedItem::Kind::Line:
            painter.setPen(pen);
            painter.drawLine(item.rect.topLeft(), item.rect.bottomRight());
            break;
        case PreparedItem::Kind::Frame:
            painter.setPen(item.pen > 0 ? pen : QPen(Qt::NoPen));
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(item.rect);
            painter.setBrush(Qt::NoBrush);
            break;
        case PreparedItem::Kind::Picture: {
            if (item.picture < 0)
                break;
            const QImage& picture = pictures.at(item.picture);
            QSizeF shown = QSizeF(picture.size()).scaled(item.rect.size(), Qt::KeepAspectRatio);
            const QRectF target(item.rect.x() + (item.rect.width() - shown.width()) / 2,
                                item.rect.y() + (item.rect.height() - shown.height()) / 2,
                                shown.width(), shown.height());
            painter.drawImage(target, picture);
            break;
        }
        case PreparedItem::Kind::Text: {
            if (item.fill.isValid())
                painter.fillRect(item.rect, item.fill);
            if (item.border) {
                painter.setPen(pen);
                painter.drawRect(item.rect);
            }
            if (item.font != currentFont) {
                painter.setFont(fonts.at(item.font));
                currentFont = item.font;
            }
            painter.setPen(item.color);
            const QFontMetricsF& m = metrics.at(std::size_t(item.font));
            const double lineHeight = m.lineSpacing();
            const QRectF inner = item.rect.adjusted(kTextPadX, 0, -kTextPadX, 0);
            const double block = lineHeight * item.lines.size();
            double y = inner.y() + kTextPadY;
            if (item.align & Qt::AlignVCenter)
                y = inner.y() + (inner.height() - block) / 2;
            else if (item.align & Qt::AlignBottom)
                y = inner.bottom() - kTextPadY - block;
            if (item.clip) {
                painter.save();
                painter.setClipRect(item.rect);
            }
            for (int i = 0; i < item.lines.size(); ++i) {
                const QString& line = item.lines.at(i);
                const QString text =
                    item.pageNumbers ? withPageNumbers(line, page + 1, pageCount()) : line;
                double x = inner.x();
                if (item.align & (Qt::AlignRight | Qt::AlignHCenter)) {
                    const double known = item.pageNumbers ? -1 : item.widths.value(i, -1);
                    const double free =
                        inner.width() - (known >= 0 ? known : m.horizontalAdvance(text));
                    x += (item.align & Qt::AlignRight) ? free : free / 2;
                }
                // On the baseline: no layout pass per line.
                painter.drawText(QPointF(x, y + m.ascent()), text);
                y += lineHeight;
            }
            if (item.clip)
                painter.restore();
            break;
        }
        }
    }
    painter.restore();
}

Result PreparedReport::paint(QPagedPaintDevice& device, int first, int last, int copies) const
{
    first = std::max(first, 1);
    last = std::min(last, pageCount());
    QPainter painter;
    if (!painter.begin(&device))
        return Result::failure(fr("L'impression du rapport n'a pas pu commencer."));
    bool firstPage = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!firstPage && !device.newPage()) {
                painter.end();
                return Result::failure(fr("L'impression du rapport a échoué."));
            }
            firstPage = false;
            paintPage(painter, page - 1);
        }
    }
    painter.end();
    return Result::success();
}

Result PreparedReport::writePdf(const QString& path) const
{
    QSaveFile file(path);
    const QString cannotWrite =
        fr("Le fichier « %1 » ne peut pas être écrit.").arg(QFileInfo(path).fileName());
    if (!file.open(QIODevice::WriteOnly))
        return Result::failure(cannotWrite, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Tavirune"));
        writer.setPageLayout(layout);
        if (const Result painted = paint(writer, 1, pageCount(), 1); !painted)
            return painted;
    }
    if (!file.commit())
        return Result::failure(cannotWrite, file.errorString());
    return Result::success();
}

QImage PreparedReport::renderPage(int page, int dotsPerInch) const
{
    const QSizeF mm = layout.fullRect(QPageLayout::Millimeter).size();
    QImage image(int(std::lround(mm.width() / 25.4 * dotsPerInch)),
                 int(std::lround(mm.height() / 25.4 * dotsPerInch)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page);
    return image;
}

} // namespace tav
