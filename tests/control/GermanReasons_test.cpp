// Reasons of failed file tasks: English for the log under any locale, German
// in the message boxes.
#include "control/GermanReasons.h"

#include "database/FileIO.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <string>

TEST(GermanReasons, TheLogReasonStaysEnglishUnderAGermanLocale)
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr)
        GTEST_SKIP() << "no German locale on this machine";
    const std::string reason = fileio::ErrnoReason("cannot open the file", ENOENT);
    std::setlocale(LC_ALL, before.c_str());
    EXPECT_EQ(reason, "cannot open the file: No such file or directory");
}

TEST(GermanReasons, EveryKindOfReasonIsShownInGerman)
{
    const struct {
        std::string reason;
        FileTask task;
        const char* shown;
    } cases[] = {
        {"not a regular file", FileTask::Load, "keine gewöhnliche Datei"},
        {fileio::ErrnoReason("cannot open the file", ENOENT), FileTask::Load,
         "die Datei lässt sich nicht öffnen: Datei oder Ordner nicht gefunden"},
        {fileio::ErrnoReason("cannot write the file", ENOSPC), FileTask::Save,
         "die Datei lässt sich nicht schreiben: kein Platz mehr auf dem Datenträger"},
        {fileio::ErrnoReason("cannot create a temporary file in the folder", EACCES), FileTask::Export,
         "im Ordner lässt sich keine temporäre Datei anlegen: keine Berechtigung"},
        {"cannot replace the file: not a regular file", FileTask::Save,
         "die Datei lässt sich nicht ersetzen: keine gewöhnliche Datei"},
        // An errno without a German text keeps the system's.
        {fileio::ErrnoReason("cannot read the file", EPROTO), FileTask::Load,
         "die Datei lässt sich nicht lesen: Protocol error"},
        // The details of a malformed file are the format's own terms.
        {"line 7: the file ends before its EOF marker", FileTask::Load,
         "der Inhalt ist fehlerhaft (line 7: the file ends before its EOF marker)"},
        {"something new", FileTask::Save, "unerwarteter Fehler (something new)"},
        {"object #6 has a coordinate that is not finite (-nan); a file holding it could not be loaded",
         FileTask::Save, "Objekt #6 hat eine Koordinate, die keine endliche Zahl ist; eine Datei damit ließe sich nicht laden"},
        {"object 12 of the drawing is of a kind DXF cannot hold", FileTask::Save,
         "Objekt 12 der Zeichnung ist von einer Art, die DXF nicht aufnehmen kann"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        EXPECT_EQ(GermanReason(c.reason, c.task).toStdString(), c.shown);
    }
}
