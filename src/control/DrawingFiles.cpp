// File dialogs with the German type filters, the dispatch by file type, and
// the message boxes of saving, loading, exporting and printing.
#include "control/DrawingFiles.h"

#include "control/GermanReasons.h"
#include "control/ProgressWindow.h"

#include "database/FileIO.h"
#include "exchange/DrawingExchange.h"
#include "exchange/DxfReader.h"
#include "exchange/FileFormat.h"
#include "output/DrawingExport.h"
#include "output/PaperScaleChoice.h"
#include "exchange/SkippedEntities.h"
#include "view/scene/Graphics.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinter>
#include <QStringList>

#include <vector>

namespace {

const char* const MESSAGE_BOX_TITLE = "lumen7";
// The progress dialogs' labels, with the file's name.
const char* const TEXT_SAVING = "Speichere %1...";
const char* const TEXT_LOADING = "Lade %1...";
const char* const TEXT_EXPORTING = "Exportiere %1...";
const char* const TEXT_PRINTING = "Drucke die Zeichnung...";
// Longer type names are cut short in the box of what a load left out.
constexpr int kMostShownChars = 60;

struct Filter {
    const char* text;
    exchange::FileFormat format;
};

using Filters = std::vector<Filter>;

const Filters kSaveFilters = {{"Zeichnung (*.dat)", exchange::FORMAT_DAT}, {"DXF (*.dxf)", exchange::FORMAT_DXF}};
const Filters kOpenFilters = {{"Zeichnung oder DXF (*.dat *.dxf)", exchange::FORMAT_UNKNOWN},
                              {"Zeichnung (*.dat)", exchange::FORMAT_DAT},
                              {"DXF (*.dxf)", exchange::FORMAT_DXF}};
const Filters kExportFilters = {{"SVG (*.svg)", exchange::FORMAT_SVG},
                                {"PDF (*.pdf)", exchange::FORMAT_PDF},
                                {"PNG (*.png)", exchange::FORMAT_PNG}};

QStringList FilterTexts(const Filters& filters)
{
    QStringList texts;
    for (const Filter& filter : filters)
        texts << QString::fromUtf8(filter.text);
    return texts;
}

exchange::FileFormat FormatOfFilter(const Filters& filters, const QString& text)
{
    for (const Filter& filter : filters) {
        if (text == QString::fromUtf8(filter.text))
            return filter.format;
    }
    return exchange::FORMAT_UNKNOWN;
}

QString RunFileDialog(const Filters& filters, bool save, QWidget* owner)
{
    QFileDialog dialog(owner);
    // Qt's own dialog speaks German with the program's translations; a
    // desktop's native one would follow LANG instead.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setNameFilters(FilterTexts(filters));
    // A name typed without an extension gets the one of the chosen type.
    const auto suffixFor = [&filters](const QString& text) {
        const exchange::FileFormat format = FormatOfFilter(filters, text);
        return QString::fromLatin1(exchange::ExtensionOf(format == exchange::FORMAT_UNKNOWN ? exchange::FORMAT_DAT
                                                                                           : format));
    };
    dialog.setDefaultSuffix(suffixFor(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&dialog, suffixFor](const QString& text) { dialog.setDefaultSuffix(suffixFor(text)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().constFirst();
    if (!save)
        return path;
    const exchange::FileFormat format = FormatOfFilter(filters, dialog.selectedNameFilter());
    return QFile::decodeName(exchange::PathForFilter(QFile::encodeName(path).toStdString(), format).c_str());
}

exchange::FileFormat FormatOf(const QString& path)
{
    return exchange::FormatOfPath(QFile::encodeName(path).toStdString());
}

} // namespace

QString CDrawingFiles::Choose(int purpose)
{
    if (m_fnChooseFile)
        return m_fnChooseFile(purpose);
    switch (purpose) {
    case PURPOSE_SAVE:
        return RunFileDialog(kSaveFilters, true, m_pOwner);
    case PURPOSE_EXPORT:
        return RunFileDialog(kExportFilters, true, m_pOwner);
    default:
        return RunFileDialog(kOpenFilters, false, m_pOwner);
    }
}

void CDrawingFiles::ShowError(const QString& text) const
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(MESSAGE_BOX_TITLE), text, QMessageBox::Ok, m_pOwner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool CDrawingFiles::Save()
{
    m_strCancelNote.clear();
    for (;;) {
        const QString path = Choose(PURPOSE_SAVE);
        if (path.isEmpty())
            return false;
        switch (m_guard.Ask(path, m_pOwner)) {
        case CLossGuard::Answer::SaveUnderNewName: continue;
        case CLossGuard::Answer::Cancel: return false;
        default: return SaveTo(path);
        }
    }
}

bool CDrawingFiles::SaveToCurrent(const QString& path)
{
    m_strCancelNote.clear();
    switch (m_guard.Ask(path, m_pOwner)) {
    case CLossGuard::Answer::SaveUnderNewName: return Save();
    case CLossGuard::Answer::Cancel: return false;
    default: return SaveTo(path);
    }
}

bool CDrawingFiles::SaveTo(const QString& path)
{
    // Any name but one ending in .dxf is saved as a drawing file, as always.
    const exchange::FileFormat format = FormatOf(path) == exchange::FORMAT_DXF ? exchange::FORMAT_DXF
                                                                              : exchange::FORMAT_DAT;
    const QByteArray localPath = QFile::encodeName(path);
    CDrawingExchange files(*m_graphics.GetDatabase());
    CProgressWindow progress(m_pOwner, QString::fromUtf8(TEXT_SAVING).arg(QFileInfo(path).fileName()));
    // On failure the old file is untouched, and why has been logged.
    const bool saved = files.Save(localPath.constData(), format, &progress);
    progress.Finish();
    if (!saved) {
        if (progress.WasCancelled()) {
            m_strCancelNote = QString::fromUtf8("Speichern abgebrochen.");
            return false;
        }
        ShowError(QString::fromUtf8("Die Datei '%1' konnte nicht gespeichert werden: %2")
                      .arg(path, GermanReason(files.GetLastError(), FileTask::Save)));
        return false;
    }
    m_lastPath = path;
    if (m_guard.Guards(path))
        m_guard.Forget();
    return true;
}

QString CDrawingFiles::ChooseFileToOpen()
{
    return Choose(PURPOSE_OPEN);
}

bool CDrawingFiles::Load(const QString& path, const std::function<void()>& loaded)
{
    m_strCancelNote.clear();
    const QByteArray localPath = QFile::encodeName(path);
    CDrawingExchange files(*m_graphics.GetDatabase());
    CProgressWindow progress(m_pOwner, QString::fromUtf8(TEXT_LOADING).arg(QFileInfo(path).fileName()));
    const bool replaced = files.Load(localPath.constData(), &progress) >= 0;
    progress.Finish();
    if (!replaced) {
        if (progress.WasCancelled()) {
            m_strCancelNote = QString::fromUtf8("Laden abgebrochen.");
            return false;
        }
        // The drawing is kept as it was, and why has been logged.
        ShowError(QString::fromUtf8("Die Datei '%1' konnte nicht geladen werden: %2")
                      .arg(path, GermanReason(files.GetLastError(), FileTask::Load)));
        return false;
    }
    m_lastPath = path;
    m_guard.Remember(path, files.GetSkipped());
    if (loaded)
        loaded();
    if (!files.GetSkipped().IsEmpty())
        ShowSkipped(path, files.GetSkipped());
    return true;
}

void CDrawingFiles::ShowSkipped(const QString& path, const CSkippedEntities& skipped) const
{
    // Only the most frequent kinds, and names and path cut short, so that
    // the box fits on the screen whatever the file holds.
    const auto shortened = [](const QString& text, int most) {
        return text.size() <= most ? text : text.left(most / 2) + QString::fromUtf8("…") + text.right(most / 2);
    };
    QString list;
    for (const auto& entry : skipped.MostFrequent())
        list += QString::fromUtf8("\n    %1 × %2")
                    .arg(entry.second)
                    .arg(shortened(QString::fromStdString(entry.first), kMostShownChars));
    if (skipped.KindsLeftOut() > 0)
        list += QString::fromUtf8("\n    und %1 weitere Arten").arg(skipped.KindsLeftOut());
    if (skipped.PaperSpace() > 0)
        list += QString::fromUtf8("\n    %1 im Papierbereich").arg(skipped.PaperSpace());
    const QString text = QString::fromUtf8("Die Datei '%1' wurde geladen. lumen7 übernimmt Linien, Kreise, Bögen, "
                                           "Polylinien und Blöcke des Modellbereichs, ohne Layer, Farben und "
                                           "Linientypen; nicht übernommen wurden:%2")
                             .arg(shortened(path, 2 * kMostShownChars), list);
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(MESSAGE_BOX_TITLE), text, QMessageBox::Ok, m_pOwner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool CDrawingFiles::Export()
{
    m_strCancelNote.clear();
    const QString path = Choose(PURPOSE_EXPORT);
    if (path.isEmpty())
        return false;
    CDrawingExport picture;
    const exchange::FileFormat format = FormatOf(path);
    if (!exchange::IsPictureFormat(format)) {
        ShowError(QString::fromUtf8("Die Datei '%1' konnte nicht exportiert werden: "
                                    "exportiert wird als SVG (*.svg), PDF (*.pdf) oder PNG (*.png).")
                      .arg(path));
        return false;
    }
    if (format == exchange::FORMAT_PDF) {
        if (!AskPdfPaper())
            return false;
        picture.SetPaper(m_pdfPaper);
    }
    CProgressWindow progress(m_pOwner, QString::fromUtf8(TEXT_EXPORTING).arg(QFileInfo(path).fileName()));
    const bool written = picture.Write(*m_graphics.GetDatabase(), m_graphics.GetWorldCoordinates(), path, format,
                                       &progress);
    progress.Finish();
    if (!written) {
        if (progress.WasCancelled()) {
            m_strCancelNote = QString::fromUtf8("Export abgebrochen.");
            return false;
        }
        ShowError(QString::fromUtf8("Die Datei '%1' konnte nicht exportiert werden: %2")
                      .arg(path, GermanReason(picture.GetLastError().toStdString(), FileTask::Export)));
        return false;
    }
    return true;
}

bool CDrawingFiles::AskPdfPaper()
{
    if (m_fnPaperDialog)
        return m_fnPaperDialog(m_pdfPaper);
    // Replaced file dialogs come without a scale dialog: the page is fitted.
    if (m_fnChooseFile)
        return true;
    const CGO_Database& database = *m_graphics.GetDatabase();
    const WorldCoordinates visible = m_graphics.GetWorldCoordinates();
    return CPaperScaleChoice::AskForPdf(m_pOwner, m_pdfPaper, [&database, visible](const CPaperScale& paper) {
        return CDrawingExport::PdfCutsOff(database, visible, paper);
    });
}

bool CDrawingFiles::Print()
{
    m_strCancelNote.clear();
    const CGO_Database& database = *m_graphics.GetDatabase();
    const WorldCoordinates visible = m_graphics.GetWorldCoordinates();
    QPrinter printer(QPrinter::HighResolution);
    CDrawingPrint::SetUp(printer, database, visible);
    if (!(m_fnPrintDialog ? m_fnPrintDialog(printer) : CDrawingPrint::Ask(printer, database, visible)))
        return false;
    bool cutOff = false;
    const CPaperScale paper = m_fnPrintDialog ? CPaperScale() : CDrawingPrint::ChosenScale();
    CProgressWindow progress(m_pOwner, QString::fromUtf8(TEXT_PRINTING));
    const bool printed = CDrawingPrint::PrintOn(printer, database, visible, paper, &cutOff, &progress);
    progress.Finish();
    if (!printed) {
        if (progress.WasCancelled()) {
            m_strCancelNote = QString::fromUtf8("Drucken abgebrochen.");
            return false;
        }
        ShowError(QString::fromUtf8("Die Zeichnung konnte nicht gedruckt werden: der Drucker ist nicht verfügbar."));
        return false;
    }
    if (cutOff)
        ShowError(QString::fromUtf8("Die Zeichnung passt in diesem Maßstab nicht auf die Seite; was darüber "
                                    "hinausreicht, wurde abgeschnitten."));
    return true;
}

void CDrawingFiles::AdoptPath(const QString& path)
{
    m_lastPath = path;
    m_guard.Forget();
    const std::string name = QFile::encodeName(path).toStdString();
    if (path.isEmpty() || exchange::FormatOfPath(name) != exchange::FORMAT_DXF)
        return;
    std::vector<unsigned char> bytes;
    std::string error;
    CDxfReader reader;
    if (fileio::ReadWholeFile(name.c_str(), bytes, error) && reader.Read(bytes))
        m_guard.Remember(path, reader.GetSkipped());
}
