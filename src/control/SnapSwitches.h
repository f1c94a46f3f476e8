// The six snap switches of the control center, and the setting that keeps
// their state between runs. All are off at the very first start.
#pragma once

#include <QObject>

#include <array>

class QAbstractButton;

class CSnapSwitches : public QObject {
    Q_OBJECT
public:
    // The checkable buttons in the order of the SNAP_ bits: endpoint,
    // midpoint, centre, quadrant, intersection, grid. They show the stored
    // setting at once.
    CSnapSwitches(const std::array<QAbstractButton*, 6>& buttons, QObject* parent);

    // The SNAP_ bits of the switches that are on.
    unsigned GetKinds() const;

    static unsigned LoadKinds();
    static void SaveKinds(unsigned kinds);

signals:
    // A switch was turned on or off; the new setting is stored already.
    void KindsChanged(unsigned kinds);

private:
    void OnToggled();

    std::array<QAbstractButton*, 6> m_buttons;
};
