// Pictures of the drawing: SVG and PDF as vectors, PNG as pixels, all drawn
// by CDrawingPainter over the exported area and written to their file as a
// whole or not at all.
#pragma once

#include "exchange/FileFormat.h"
#include "output/PaperScale.h"
#include "view/scene/ViewRange.h"

#include <QByteArray>
#include <QString>

class CGO_Database;
class IProgress;

class CDrawingExport {
public:
    // The pen of SVG and PNG pictures, in pixels, and of pages, in mm.
    static constexpr double PICTURE_PEN = 1.0;
    static constexpr double PAGE_PEN_MM = 0.25;
    // The margin of a PDF page, in mm.
    static constexpr double PAGE_MARGIN_MM = 10.0;

    // Writes a picture of the drawing as format to path. visible is shown
    // when the drawing is empty. False, with the old file kept and the reason
    // in GetLastError(), on failure; also when the reporter says stop, and
    // then the reason is progress::kCancelled.
    bool Write(const CGO_Database& database, const WorldCoordinates& visible, const QString& path,
               exchange::FileFormat format, IProgress* progress = nullptr);

    // The file's bytes; empty for a format that is not a picture. A PDF
    // goes onto its page as paper says; cutOff, when given, tells whether
    // part of the drawing lies beyond the page at the chosen ratio. Empty
    // as well when the reporter says stop.
    static QByteArray Render(const CGO_Database& database, const WorldCoordinates& visible,
                             exchange::FileFormat format, const CPaperScale& paper = CPaperScale(),
                             bool* cutOff = nullptr, IProgress* progress = nullptr);

    // Whether a PDF page at paper would cut part of the drawing off.
    static bool PdfCutsOff(const CGO_Database& database, const WorldCoordinates& visible, const CPaperScale& paper);

    // How PDF pages are laid out; fitted to an A4 page until set.
    void SetPaper(const CPaperScale& paper) { m_paper = paper; }
    // Whether the last Write cut part of the drawing off its page.
    bool WasCutOff() const { return m_bCutOff; }

    const QString& GetLastError() const { return m_strLastError; }

private:
    QString m_strLastError;
    CPaperScale m_paper;
    bool m_bCutOff = false;
};
