// Reports come every few thousand records; the dialog looks at the clock
// only, and updates itself and lets events through a few times a second, so
// it costs the work next to nothing.
#include "control/ProgressWindow.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

const char* const TITLE = "lumen7";
const char* const TEXT_CANCEL = "Abbrechen";
const char* const TEXT_PAST_RETURN = "Die Zeichnung wird aufgebaut...";
constexpr int kShowAfterMs = 500;
constexpr qint64 kUpdateEveryMs = 100;
constexpr int kSteps = 1000;

} // namespace

int CProgressWindow::s_nRunning = 0;

CProgressWindow::CProgressWindow(QWidget* owner, const QString& label)
    : m_pDialog(new QProgressDialog(label, QString::fromUtf8(TEXT_CANCEL), 0, kSteps, owner))
{
    ++s_nRunning;
    m_bRunning = true;
    m_pDialog->setWindowTitle(QString::fromUtf8(TITLE));
    // Application modal: the drawing window, a QWindow of its own, takes no
    // input either while the work runs.
    m_pDialog->setWindowModality(Qt::ApplicationModal);
    // Shown by the clock below: the dialog's own guess from the first
    // reports would bring it up well before the half second.
    m_pDialog->setMinimumDuration(std::numeric_limits<int>::max());
    m_pDialog->setAutoReset(false);
    m_pDialog->setAutoClose(false);
    QObject::connect(m_pDialog, &QProgressDialog::canceled, m_pDialog, [this] {
        if (!m_bPastReturn)
            m_bCancelled = true;
    });
    m_pDialog->setValue(0);
    m_clock.start();
}

CProgressWindow::~CProgressWindow()
{
    Finish();
    delete m_pDialog;
}

bool CProgressWindow::Report(std::uint64_t done, std::uint64_t total)
{
    if (m_bCancelled)
        return false;
    if (m_clock.elapsed() >= m_nNextUpdateMs) {
        Update(done, total);
        m_nNextUpdateMs = m_clock.elapsed() + kUpdateEveryMs;
    }
    return !m_bCancelled;
}

void CProgressWindow::Update(std::uint64_t done, std::uint64_t total)
{
    const int value = total == 0 ? 0 : static_cast<int>(kSteps * std::min(done, total) / total);
    if (!m_pDialog->isVisible() && m_clock.elapsed() >= kShowAfterMs)
        m_pDialog->show();
    // The minimum would restart the dialog's clock.
    m_pDialog->setValue(std::max(value, 1));
    // Until the dialog is up and blocks the other windows, they must not
    // take clicks and keys: the work is not finished yet.
    QCoreApplication::processEvents(m_pDialog->isVisible() ? QEventLoop::AllEvents
                                                           : QEventLoop::ExcludeUserInputEvents);
}

void CProgressWindow::Finish()
{
    m_pDialog->hide();
    if (m_bRunning)
        --s_nRunning;
    m_bRunning = false;
}

void CProgressWindow::PastReturn()
{
    if (m_bCancelled)
        return;
    m_bPastReturn = true;
    m_pDialog->setLabelText(QString::fromUtf8(TEXT_PAST_RETURN));
    if (auto* button = m_pDialog->findChild<QPushButton*>())
        button->setEnabled(false);
}
