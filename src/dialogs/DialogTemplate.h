// Dialog templates: each window's controls (kind, id, caption, rectangle in
// dialog units), its caption and size, read from the JSON tables in
// resources/templates/, and the builder that turns one into Qt widgets.
#pragma once

#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

class QWidget;

struct DialogControl {
    enum Kind { Button, GroupBox, Label, Edit };

    Kind kind = Button;
    int id = -1;              // -1 for controls no handler addresses
    QString text;
    QRect rect;               // dialog units
    bool isDefault = false;   // default-button style
    bool isDisabled = false;
    bool isCheckable = false; // a button that stays pressed, such as a snap switch
};

struct DialogTemplate {
    int id = 0;
    QString caption;
    QSize size;               // client area, dialog units
    bool hasCloseBox = true;
    std::vector<DialogControl> controls;

    // Reads ":/templates/<id>.json" from the program's resources; a template
    // that is missing or unreadable is a build fault and aborts with a message.
    static DialogTemplate Load(int id);
};

// Creates the template's controls as children of window, sets its caption and
// fixed client size, and returns the controls by id. Dialog units become
// pixels with the window font: x * average char width / 4, y * height / 8.
QHash<int, QWidget*> BuildFromTemplate(QWidget* window, const DialogTemplate& dialogTemplate);
