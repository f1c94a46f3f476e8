// The control center's file work: choosing a file for saving, opening or
// exporting (with the type filters), saving and loading in the chosen format,
// export and print, and telling the user what failed or was left out.
#pragma once

#include "control/LossGuard.h"
#include "output/DrawingPrint.h"
#include "exchange/FileFormat.h"

#include <QString>

#include <functional>

class CGraphics;
class CSkippedEntities;
class QWidget;

class CDrawingFiles {
public:
    // What a file is chosen for; a chooser that only tells a save from an
    // open (a bool) sees an export as a save.
    enum { PURPOSE_OPEN = 0, PURPOSE_SAVE = 1, PURPOSE_EXPORT = 2 };
    // Asks for the path of a file for the purpose; an empty result means the
    // user cancelled.
    using FileChooser = std::function<QString(int purpose)>;

    // The dialogs and message boxes open over owner (the control center),
    // not over the drawing.
    CDrawingFiles(CGraphics& graphics, QWidget* owner) : m_graphics(graphics), m_pOwner(owner) {}

    // Replace the file dialogs and the print dialog (tests do).
    void SetFileChooser(FileChooser chooser) { m_fnChooseFile = std::move(chooser); }
    void SetPrintDialog(CDrawingPrint::PrintDialog dialog) { m_fnPrintDialog = std::move(dialog); }
    // Asks for the scale, page size and orientation of a PDF export; false
    // when cancelled. Without one, a replaced file chooser exports fitted.
    using PaperDialog = std::function<bool(CPaperScale& paper)>;
    void SetPaperDialog(PaperDialog dialog) { m_fnPaperDialog = std::move(dialog); }

    // Asks for a file and saves the drawing as .dat or .dxf. False when
    // cancelled or failed; a failure is shown.
    bool Save();
    // Saves to path without asking, in the format its name gives. False when
    // failed; a failure is shown.
    bool SaveTo(const QString& path);
    // Ctrl+S: saves to path without asking, unless path is a DXF file whose
    // load left entities out (then the user chooses).
    bool SaveToCurrent(const QString& path);
    // The file last saved to or loaded from; empty before.
    const QString& LastPath() const { return m_lastPath; }
    // A new drawing has no file.
    void ForgetPath() { m_lastPath.clear(); }
    // A recovered drawing belongs to the file it was autosaved from.
    // Makes path the drawing's file without loading it (a recovered
    // drawing): a DXF there is read once more to learn what a save over it
    // would lose.
    void AdoptPath(const QString& path);
    // Asks for a file to open; empty when cancelled.
    QString ChooseFileToOpen();
    // Loads a .dat or .dxf file. A failure is shown and keeps the drawing.
    // Once the drawing is replaced, loaded runs (the control center's own
    // follow-up and redraw), and only then are a DXF file's entities that the
    // drawing cannot hold listed in one message. True when it was replaced.
    bool Load(const QString& path, const std::function<void()>& loaded);
    // Asks for a file and writes a picture (.svg, .pdf, .png); a PDF asks
    // for its scale as well, starting from the last one chosen. False when
    // cancelled or failed; a failure is shown.
    bool Export();
    // Asks for a printer and prints. False when cancelled or failed.
    bool Print();
    // After a save, load, export or print that the user stopped in its
    // progress dialog: what the status line says ("Laden abgebrochen.");
    // empty otherwise. A stop is neither a success nor an error.
    const QString& CancelNote() const { return m_strCancelNote; }

private:
    QString Choose(int purpose);
    bool AskPdfPaper();
    void ShowError(const QString& text) const;
    void ShowSkipped(const QString& path, const CSkippedEntities& skipped) const;

    CGraphics& m_graphics;
    QWidget* m_pOwner;
    FileChooser m_fnChooseFile;
    CDrawingPrint::PrintDialog m_fnPrintDialog;
    PaperDialog m_fnPaperDialog;
    CPaperScale m_pdfPaper;
    QString m_lastPath;
    QString m_strCancelNote;
    CLossGuard m_guard;
};
