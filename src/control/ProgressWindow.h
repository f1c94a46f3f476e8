// The progress dialog of a long load, save, export or print: it shows up once
// the work has taken about half a second, and offers "Abbrechen" for as long
// as stopping still leaves the drawing and the files as they were.
#pragma once

#include "database/Progress.h"

#include <QElapsedTimer>
#include <QString>

class QProgressDialog;
class QWidget;

class CProgressWindow : public IProgress {
public:
    // The work reports to this dialog until it is destroyed; label says what
    // it does ("Lade Grafik...").
    CProgressWindow(QWidget* owner, const QString& label);
    ~CProgressWindow() override;

    bool Report(std::uint64_t done, std::uint64_t total) override;
    void PastReturn() override;

    bool WasCancelled() const { return m_bCancelled; }
    // Whether a long work is under way: events run during its reports, and
    // nothing that reads the drawing (an autosave) may start then.
    static bool AnyRunning() { return s_nRunning > 0; }
    // The work is over: the dialog goes before any message about it.
    void Finish();

    CProgressWindow(const CProgressWindow&) = delete;
    CProgressWindow& operator=(const CProgressWindow&) = delete;

private:
    void Update(std::uint64_t done, std::uint64_t total);

    static int s_nRunning;

    QProgressDialog* m_pDialog;
    QElapsedTimer m_clock;
    qint64 m_nNextUpdateMs = 0;
    bool m_bCancelled = false;
    bool m_bPastReturn = false;
    bool m_bRunning = false;
};
