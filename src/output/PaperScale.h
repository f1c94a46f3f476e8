// How a drawing goes onto paper: fitted to the page ("An Seite anpassen") or
// at a ratio where one drawing unit is one millimetre at 1:1, on a chosen
// page size and orientation. Read from the command line and the dialogs.
#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>

struct CPaperScale {
    enum Orientation { ORIENTATION_AUTO, ORIENTATION_PORTRAIT, ORIENTATION_LANDSCAPE };

    // Paper millimetres per drawing unit; 0 fits the drawing to the page.
    double ratio = 0.0;
    QPageSize::PageSizeId page = QPageSize::A4;
    Orientation orientation = ORIENTATION_AUTO;

    bool FitsToPage() const { return ratio <= 0.0; }

    // "An Seite anpassen" and the usual ratios, as the dialogs offer them.
    static QStringList Choices();
    // "1:2" is 0.5, "2:1" is 2, "An Seite anpassen" or "fit" is 0. False for
    // anything else, ratio unchanged.
    static bool ParseRatio(const QString& text, double& ratio);
    // "A4", "A3", "Letter", ...: false for an unknown name.
    static bool ParsePage(const QString& text, QPageSize::PageSizeId& page);
    // The page names ParsePage knows, smallest A size last.
    static QStringList PageNames();
    // The page turned as chosen; automatic turns it to the drawing's shape.
    QPageLayout::Orientation OrientationFor(bool wideDrawing) const;
};
