// Reading scale ratios and page names.
#include "output/PaperScale.h"

#include <cmath>

QStringList CPaperScale::Choices()
{
    return {QString::fromUtf8("An Seite anpassen"), QStringLiteral("1:1"), QStringLiteral("1:2"),
            QStringLiteral("1:5"), QStringLiteral("1:10"), QStringLiteral("1:20"), QStringLiteral("1:50"),
            QStringLiteral("1:100"), QStringLiteral("2:1"), QStringLiteral("5:1"), QStringLiteral("10:1")};
}

bool CPaperScale::ParseRatio(const QString& text, double& ratio)
{
    const QString trimmed = text.trimmed();
    if (trimmed == QString::fromUtf8("An Seite anpassen") || trimmed.compare(QStringLiteral("fit"), Qt::CaseInsensitive) == 0) {
        ratio = 0.0;
        return true;
    }
    const QStringList parts = trimmed.split(QLatin1Char(':'));
    if (parts.size() != 2)
        return false;
    bool paperOk = false, drawingOk = false;
    const double paper = parts[0].trimmed().toDouble(&paperOk);
    const double drawing = parts[1].trimmed().toDouble(&drawingOk);
    if (!paperOk || !drawingOk || !(paper > 0.0) || !(drawing > 0.0) || !std::isfinite(paper / drawing))
        return false;
    ratio = paper / drawing;
    return true;
}

namespace {

const struct {
    const char* name;
    QPageSize::PageSizeId id;
} kPages[] = {{"A0", QPageSize::A0}, {"A1", QPageSize::A1}, {"A2", QPageSize::A2}, {"A3", QPageSize::A3},
              {"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"Letter", QPageSize::Letter},
              {"Legal", QPageSize::Legal}};

} // namespace

QStringList CPaperScale::PageNames()
{
    QStringList names;
    for (const auto& entry : kPages)
        names << QLatin1String(entry.name);
    return names;
}

bool CPaperScale::ParsePage(const QString& text, QPageSize::PageSizeId& page)
{
    for (const auto& entry : kPages) {
        if (text.trimmed().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            page = entry.id;
            return true;
        }
    }
    return false;
}

QPageLayout::Orientation CPaperScale::OrientationFor(bool wideDrawing) const
{
    if (orientation == ORIENTATION_PORTRAIT)
        return QPageLayout::Portrait;
    if (orientation == ORIENTATION_LANDSCAPE)
        return QPageLayout::Landscape;
    return wideDrawing ? QPageLayout::Landscape : QPageLayout::Portrait;
}
