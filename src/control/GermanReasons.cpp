#include "control/GermanReasons.h"

#include "database/FileIO.h"

#include <cerrno>
#include <cstring>

namespace {

struct Phrase {
    const char* english;
    const char* german;
};

// Whole reasons, and the part of "what: why" before the colon.
const Phrase kPhrases[] = {
    {"no file name given", "kein Dateiname angegeben"},
    {"not a regular file", "keine gewöhnliche Datei"},
    {"the file is empty", "die Datei ist leer"},
    {"the file is larger than 1 GiB", "die Datei ist größer als 1 GiB"},
    {"the file does not fit into memory", "die Datei passt nicht in den Arbeitsspeicher"},
    {"the file was not opened", "die Datei wurde nicht geöffnet"},
    {"not enough memory for the file's contents", "nicht genug Arbeitsspeicher für den Inhalt der Datei"},
    {"not enough memory for the drawing's records", "nicht genug Arbeitsspeicher für die Zeichnung"},
    {"not enough memory for the drawing's slots", "nicht genug Arbeitsspeicher für die Zeichnung"},
    {"not enough memory for the file's entities", "nicht genug Arbeitsspeicher für die Objekte der Datei"},
    {"too many objects for a drawing file", "zu viele Objekte für eine Zeichnungsdatei"},
    {"too many slots for a drawing file", "zu viele Plätze für eine Zeichnungsdatei"},
    {"a drawing is saved as .dat or .dxf", "eine Zeichnung wird als .dat oder .dxf gespeichert"},
    {"a picture is exported as .svg, .pdf or .png", "ein Bild wird als .svg, .pdf oder .png exportiert"},
    {"the picture could not be drawn", "das Bild konnte nicht gezeichnet werden"},
    {"cannot open the file", "die Datei lässt sich nicht öffnen"},
    {"cannot read the file", "die Datei lässt sich nicht lesen"},
    {"cannot write the file", "die Datei lässt sich nicht schreiben"},
    {"cannot close the file", "die Datei lässt sich nicht schließen"},
    {"cannot truncate the file", "die Datei lässt sich nicht kürzen"},
    {"cannot replace the file", "die Datei lässt sich nicht ersetzen"},
    {"cannot flush the file to the disk", "die Datei lässt sich nicht auf den Datenträger schreiben"},
    {"cannot set the file's permissions", "die Zugriffsrechte der Datei lassen sich nicht setzen"},
    {"cannot create a temporary file in the folder", "im Ordner lässt sich keine temporäre Datei anlegen"},
    {"cannot give the temporary file a name", "die temporäre Datei lässt sich nicht benennen"},
    {"cannot read the symbolic link", "die symbolische Verknüpfung lässt sich nicht lesen"},
    {"cannot follow the symbolic link", "der symbolischen Verknüpfung lässt sich nicht folgen"},
};

// The errno values a file operation meets in practice.
const struct {
    int error;
    const char* german;
} kErrors[] = {
    {ENOENT, "Datei oder Ordner nicht gefunden"},
    {EACCES, "keine Berechtigung"},
    {EPERM, "Vorgang nicht erlaubt"},
    {ENOSPC, "kein Platz mehr auf dem Datenträger"},
    {EDQUOT, "Speicherkontingent überschritten"},
    {EROFS, "schreibgeschütztes Dateisystem"},
    {EISDIR, "ist ein Ordner"},
    {ENOTDIR, "ein Teil des Pfades ist kein Ordner"},
    {ELOOP, "zu viele symbolische Verknüpfungen hintereinander"},
    {ENAMETOOLONG, "Dateiname zu lang"},
    {EFBIG, "Datei zu groß"},
    {EIO, "Ein-/Ausgabefehler"},
    {ENOMEM, "nicht genug Arbeitsspeicher"},
    {EMFILE, "zu viele offene Dateien"},
    {EBUSY, "Gerät oder Ressource belegt"},
    {ETXTBSY, "Datei wird gerade ausgeführt"},
};

// Reasons that name an object: the English text up to the number, what
// follows the number, and the German text with %1 for it.
const struct {
    const char* before;
    const char* after;
    const char* german;
} kObjectReasons[] = {
    {"object #", " has a coordinate that is not finite",
     "Objekt #%1 hat eine Koordinate, die keine endliche Zahl ist; eine Datei damit ließe sich nicht laden"},
    {"object ", " of the drawing has a coordinate that is not a finite number",
     "Objekt %1 der Zeichnung hat eine Koordinate, die keine endliche Zahl ist; DXF kann sie nicht aufnehmen"},
    {"object ", " of the drawing is of a kind DXF cannot hold",
     "Objekt %1 der Zeichnung ist von einer Art, die DXF nicht aufnehmen kann"},
};

const char* GermanPhrase(const std::string& english)
{
    for (const Phrase& phrase : kPhrases) {
        if (english == phrase.english)
            return phrase.german;
    }
    return nullptr;
}

const char* GermanErrorText(const std::string& english)
{
    for (const auto& entry : kErrors) {
        if (english == fileio::EnglishErrorText(entry.error))
            return entry.german;
    }
    return nullptr;
}

bool GermanObjectReason(const std::string& english, QString& german)
{
    for (const auto& entry : kObjectReasons) {
        const std::size_t start = std::strlen(entry.before);
        if (english.compare(0, start, entry.before) != 0)
            continue;
        std::size_t end = start;
        while (end < english.size() && english[end] >= '0' && english[end] <= '9')
            ++end;
        if (end == start || english.compare(end, std::strlen(entry.after), entry.after) != 0)
            continue;
        german = QString::fromUtf8(entry.german).arg(QString::fromStdString(english.substr(start, end - start)));
        return true;
    }
    return false;
}

} // namespace

QString GermanReason(const std::string& reason, FileTask task)
{
    if (const char* whole = GermanPhrase(reason))
        return QString::fromUtf8(whole);
    const std::size_t colon = reason.find(": ");
    if (colon != std::string::npos) {
        if (const char* what = GermanPhrase(reason.substr(0, colon))) {
            const std::string why = reason.substr(colon + 2);
            const char* germanWhy = GermanPhrase(why);
            if (germanWhy == nullptr)
                germanWhy = GermanErrorText(why);
            return QString::fromUtf8(what) + QStringLiteral(": ") +
                   (germanWhy != nullptr ? QString::fromUtf8(germanWhy) : QString::fromStdString(why));
        }
    }
    QString objectReason;
    if (GermanObjectReason(reason, objectReason))
        return objectReason;
    // What else a load meets is a fault of the file's contents, told in the
    // terms of its format; anything else behind a German lead as well.
    if (task == FileTask::Load)
        return QString::fromUtf8("der Inhalt ist fehlerhaft (%1)").arg(QString::fromStdString(reason));
    return QString::fromUtf8("unerwarteter Fehler (%1)").arg(QString::fromStdString(reason));
}
