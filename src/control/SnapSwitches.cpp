// Snap switches and their QSettings entries, one boolean per kind, so the
// settings file reads like the buttons.
#include "control/SnapSwitches.h"

#include "snap/SnapTypes.h"

#include <QAbstractButton>
#include <QSettings>

namespace {

const char* const kKeys[] = {"snap/endpoint", "snap/midpoint", "snap/center",
                             "snap/quadrant", "snap/intersection", "snap/grid"};

// Named explicitly, so the setting is found however the application object
// was set up.
QSettings Settings()
{
    return QSettings(QStringLiteral("lumen7"), QStringLiteral("lumen7"));
}

} // namespace

CSnapSwitches::CSnapSwitches(const std::array<QAbstractButton*, 6>& buttons, QObject* parent)
    : QObject(parent), m_buttons(buttons)
{
    const unsigned kinds = LoadKinds();
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i] == nullptr)
            continue;
        m_buttons[i]->setCheckable(true);
        m_buttons[i]->setChecked((kinds & (1u << i)) != 0);
        connect(m_buttons[i], &QAbstractButton::toggled, this, &CSnapSwitches::OnToggled);
    }
}

unsigned CSnapSwitches::GetKinds() const
{
    unsigned kinds = SNAP_NONE;
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i] != nullptr && m_buttons[i]->isChecked())
            kinds |= 1u << i;
    }
    return kinds;
}

void CSnapSwitches::OnToggled()
{
    const unsigned kinds = GetKinds();
    SaveKinds(kinds);
    emit KindsChanged(kinds);
}

unsigned CSnapSwitches::LoadKinds()
{
    const QSettings settings = Settings();
    unsigned kinds = SNAP_NONE;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        if (settings.value(QString::fromLatin1(kKeys[i]), false).toBool())
            kinds |= 1u << i;
    }
    return kinds;
}

void CSnapSwitches::SaveKinds(unsigned kinds)
{
    QSettings settings = Settings();
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        settings.setValue(QString::fromLatin1(kKeys[i]), (kinds & (1u << i)) != 0);
    settings.sync();
}
