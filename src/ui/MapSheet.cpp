#include "MapSheet.h"

#include "MapOps.h"
#include "MapTexts.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace zyrk {

namespace {

constexpr double kSheetPoints = 8.5;

QString Escape(const QString& s) {
    return s.toHtmlEscaped();
}

QString MapTable(const MapSheetData& d, int servo) {
    const ParamImage& image = d.image;
    const bool percent = MapInPercent(image, servo);
    QString html = QStringLiteral("<h3>%1 [%2]</h3>")
                       .arg(Escape(maptext::SheetServoMap.In(d.language).arg(servo + 1)),
                            percent ? QStringLiteral("%") : QStringLiteral("mV"));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\">"
                           "<tr><th>%/RPM</th>");
    for (int c = 0; c < kMapColumns; ++c)
        html += QStringLiteral("<th>%1</th>").arg(image.Rpm(servo, c) * 100);
    html += QStringLiteral("</tr>");
    const bool rows = image.TpEnable(servo) != 0;
    for (int r = 0; r < kMapRows; ++r) {
        // Rows the unit does not use while "TP Enable" is clear are printed grey.
        const QString colour =
            rows || r == 0 ? QStringLiteral("#000000") : QStringLiteral("#909090");
        html += QStringLiteral("<tr><th>%1%</th>").arg(kTpsRows[static_cast<size_t>(r)]);
        for (int c = 0; c < kMapColumns; ++c) {
            html += QStringLiteral("<td align=\"right\"><font color=\"%1\">%2</font></td>")
                        .arg(colour)
                        .arg(ShownFromByte(image.Cell(servo, r, c), percent));
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    return html;
}

QString Row(const QString& name, const QString& value) {
    return QStringLiteral("<tr><td>%1</td><td align=\"right\"><b>%2</b></td></tr>")
        .arg(Escape(name), Escape(value));
}

} // namespace

QString MapSheetHtml(const MapSheetData& d) {
    using namespace maptext;
    const int l = d.language;
    const ParamImage& image = d.image;
    const QLocale system = QLocale::system();
    auto yesNo = [l](bool on) { return (on ? Yes : No).In(l); };

    QString html = QStringLiteral("<html><body style=\"font-family: sans-serif;\">");
    html += QStringLiteral("<h2>%1</h2>").arg(Escape(SheetTitle.In(l)));
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    const bool known = !d.unit.name.isEmpty();
    html += Row(SheetUnit.In(l), known ? d.unit.name : SheetUnknown.In(l));
    if (known) {
        html += Row(SheetFirmware.In(l), d.unit.date + QLatin1Char(' ') + d.unit.time +
                                             QStringLiteral(" / v") +
                                             QString::number(image.UnitVersion()));
    }
    html += Row(SheetFile.In(l), d.file.isEmpty() ? SheetNone.In(l) : d.file);
    html += Row(SheetDate.In(l), system.toString(d.printed.date(), QLocale::ShortFormat) +
                                     QStringLiteral("  ") +
                                     system.toString(d.printed.time(), QLocale::LongFormat));
    html += QStringLiteral("</table>");

    html += QStringLiteral("<h3>%1</h3>").arg(Escape(SheetCalibration.In(l)));
    html += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\">");
    html += Row(SheetTps0.In(l), QStringLiteral("%1 mV").arg(image.Tps0() * 10));
    html += Row(SheetTps100.In(l), QStringLiteral("%1 mV").arg(Tps100ToMv(image.Tps100())));
    const int pulses = image.PocetPulsu();
    html += Row(SheetPulses.In(l), pulses == 0 ? QStringLiteral("1/2") : QString::number(pulses));
    html += QStringLiteral("</table>");

    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr><th></th>"
                           "<th>Servo 1</th><th>Servo 2</th></tr>");
    auto pair = [&](const TextRow& name, auto value) {
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td>"
                               "<td align=\"right\">%3</td></tr>")
                    .arg(Escape(name.In(l)), Escape(value(0)), Escape(value(1)));
    };
    pair(SheetServoEnable, [&](int s) { return yesNo(image.ServoEnable(s) != 0); });
    pair(SheetTpEnable, [&](int s) { return yesNo(image.TpEnable(s) != 0); });
    pair(SheetPercent, [&](int s) { return yesNo(MapInPercent(image, s)); });
    pair(SheetHysterMv, [&](int s) { return QString::number(image.HysterMv(s) * 5); });
    pair(SheetHysterRpm, [&](int s) { return QString::number(image.HysterRpm(s) * 5); });
    pair(SheetHysterOff, [&](int s) { return QString::number(image.HysterOff(s) * 5); });
    html += QStringLiteral("</table>");

    html += MapTable(d, 0);
    html += MapTable(d, 1);
    html += QStringLiteral("</body></html>");
    return html;
}

bool PaintMapSheet(QPagedPaintDevice& device, const MapSheetData& data) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Laid out in the device's own pixels, so that fonts and table widths agree on paper.
    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&device);
    QFont font(QStringLiteral("sans-serif"));
    font.setPointSizeF(kSheetPoints);
    doc.setDefaultFont(font);
    doc.setHtml(MapSheetHtml(data));
    const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    doc.setTextWidth(area.width());
    // One page whatever the paper: a sheet taller than the page is laid out wider and
    // scaled down as a whole.
    double scale = 1.0;
    if (doc.size().height() > area.height()) {
        scale = area.height() / doc.size().height();
        doc.setTextWidth(area.width() / scale);
        scale = std::min(area.width() / doc.size().width(), area.height() / doc.size().height());
    }
    painter.scale(scale, scale);
    doc.drawContents(&painter);
    return painter.end();
}

bool WriteMapSheetPdf(const QString& path, const MapSheetData& data) {
    {
        QPdfWriter writer(path);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setTitle(maptext::SheetTitle.In(data.language));
        if (!PaintMapSheet(writer, data))
            return false;
    }
    return QFile(path).size() > 0;
}

} // namespace zyrk
